// The keyword tip and the hourglass: the tip's lines and sizes with glyphs of known shape (boxes: a
// single-byte character half the height wide, a double-byte one the height), its pixels, and nested
// wait cursors.
#include "editor/foundation/ui/tip_wnd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "box_font_engine.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/ui/hourglass_cursor.h"
#include "platform/cursor.h"
#include "platform/mouse_capture.h"
#include "platform/presenter.h"
#include "platform/simulated_input.h"
#include "platform/sjis_literal.h"
#include "platform/sys_color.h"
#include "scoped_named_objects.h"

namespace {

using namespace platform;

std::vector<std::pair<HWND, UINT>> mouseSeen;

LRESULT RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) mouseSeen.emplace_back(hwnd, message);
  return DefWindowProc(hwnd, message, wParam, lParam);
}

HWND MakeWindow(int x) {
  static const bool registered = [] {
    WNDCLASSEX wc;
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = "TipTestOwner";
    return RegisterClassEx(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  return CreateWindowEx(0, "TipTestOwner", "owner", WS_CAPTION | WS_VISIBLE, x, 40, 200, 150, nullptr, nullptr,
                        nullptr, nullptr);
}

void Pump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

// A shared record whose keyword-help font is 16 pixels high, boxes drawing it.
class TipTest : public testing::Test {
 protected:
  void SetUp() override {
    record = std::make_unique<SharedSettings>();
    CShareData::InitDefaults(*record);
    record->Common.khlf.lfHeight = -16;
    share.Attach(record.get(), names.c_str());
    owner = MakeWindow(40);
    ASSERT_NE(owner, nullptr);
    tip.Create(nullptr, owner);
    ASSERT_NE(tip.GetHwnd(), nullptr);
    ASSERT_TRUE(tip.m_hFont.has_value());
  }
  void TearDown() override {
    if (IsWindow(owner)) DestroyWindow(owner);
    Pump();
  }
  RECT Measure(const std::string& text) {
    tip.m_cInfo.AssignString(text.c_str());
    RECT r;
    tip.MeasureText(&r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    return r;
  }

  BoxFontScope boxes;
  const ScopedNamedObjects names{"CTipWnd-test"};
  std::unique_ptr<SharedSettings> record;
  CShareData share;
  HWND owner = nullptr;
  CTipWnd tip;
};

TEST_F(TipTest, LinesSplitAtBackslashNOnly) {
  struct Case {
    const char* name;
    std::string text;
    int width;   // the widest line + 4
    int height;  // the lines' heights + 2
  };
  const Case cases[] = {
      {"backslash n makes two lines", "abc\\ndef", 24 + 4, 32 + 2},
      {"a line feed does not split (nor add a line at the end)", "abc\n", 24 + 4, 16 + 2},
      {"a backslash that ends a double-byte character does not count", "表n"_sj, 16 + 8 + 4, 16 + 2},
      {"a text that ends with the separator has an empty last line, a blank", "abcd\\n", 32 + 4, 32 + 2},
      {"an empty text is one blank", "", 8 + 4, 16 + 2},
      {"lines are as wide as the widest", "a\\nabcde\\nab", 40 + 4, 48 + 2},
  };
  for (const Case& c : cases) {
    const RECT r = Measure(c.text);
    EXPECT_EQ(r.right, c.width) << c.name;
    EXPECT_EQ(r.bottom, c.height) << c.name;
  }
}

TEST_F(TipTest, TheFontIsTheKeywordHelpFont) {
  record->Common.khlf.lfHeight = -20;
  CTipWnd other;
  other.Create(nullptr, owner);
  other.m_cInfo.AssignString("a\\nb");
  RECT r;
  other.MeasureText(&r);
  EXPECT_EQ(r.bottom, 40 + 2);
  EXPECT_EQ(r.right, 10 + 4);
}

TEST_F(TipTest, ShownWithAnExplicitSizeIgnoresTheText) {
  const RECT size{0, 0, 50, 20};
  tip.ShowTip(300, 310, "a very long text that would be wider", &size);
  Pump();
  RECT rect;
  ASSERT_TRUE(GetWindowRect(tip.GetHwnd(), &rect));
  EXPECT_EQ(rect.left, 300);
  EXPECT_EQ(rect.top, 310);
  EXPECT_EQ(rect.right - rect.left, 58);
  EXPECT_EQ(rect.bottom - rect.top, 28);
  EXPECT_TRUE(IsWindowVisible(tip.GetHwnd()));
  tip.HideTip();
  EXPECT_FALSE(IsWindowVisible(tip.GetHwnd()));
  // A null text keeps the text shown before.
  EXPECT_EQ(tip.m_cInfo.View(), "a very long text that would be wider");
  tip.ShowTip(0, 0, nullptr, nullptr);
  EXPECT_EQ(tip.m_cInfo.View(), "a very long text that would be wider");
}

TEST_F(TipTest, RenderedTipShowsItsLinesInTheTooltipColours) {
  tip.ShowTip(100, 100, "ab\\n\\n表"_sj, nullptr);
  Pump();
  std::vector<uint32_t> pixels;
  int w = 0, h = 0;
  ASSERT_TRUE(CaptureClientArea(tip.GetHwnd(), &pixels, &w, &h));
  // Measured 16 + 4 by 48 + 2; the window 8 more, its border a pixel on each side.
  ASSERT_EQ(w, 20 + 8 - 2);
  ASSERT_EQ(h, 50 + 8 - 2);
  const auto at = [&](int x, int y) {
    const uint32_t p = pixels[static_cast<size_t>(y) * w + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  };
  const COLORREF text = GetSysColor(COLOR_INFOTEXT);
  const COLORREF back = GetSysColor(COLOR_INFOBK);
  ASSERT_NE(text, back);
  // Text from x = 4; each box is inked from its cell's second pixel, with a hole at (3, 3).
  EXPECT_EQ(at(4 + 1, 1), text);        // "a"
  EXPECT_EQ(at(4 + 3, 3), back);        // its hole
  EXPECT_EQ(at(4 + 8 + 1, 1), text);    // "b"
  EXPECT_EQ(at(4 + 1, 16 + 1), text);   // the empty line is drawn as one blank (a box here)
  EXPECT_EQ(at(4 + 8 + 1, 16 + 1), back);
  EXPECT_EQ(at(4 + 1, 32 + 1), text);   // "表" on the third line
  EXPECT_EQ(at(4 + 14, 32 + 8), text);  // a full-width box
  EXPECT_EQ(at(0, 0), back);
  EXPECT_EQ(at(w - 1, h - 1), back);
}

TEST(HourglassCursor, NestedHourglassesUnwindInReverseOrder) {
  HWND a = MakeWindow(40);
  HWND b = MakeWindow(300);
  ASSERT_TRUE(a && b);
  HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
  ASSERT_EQ(GetCursor(), arrow);
  {
    CHourglassCursor outer(a);
    EXPECT_TRUE(WaitCursorShown());
    EXPECT_EQ(GetCapture(), a);
    {
      CHourglassCursor inner(b);
      EXPECT_EQ(GetCapture(), b);
      {
        CHourglassCursor cursorOnly(nullptr);  // only the cursor
        EXPECT_EQ(GetCapture(), b);
      }
      EXPECT_TRUE(WaitCursorShown());
      EXPECT_EQ(GetCapture(), b);
    }
    // The inner one's end leaves the outer one waiting, with its capture.
    EXPECT_TRUE(WaitCursorShown());
    EXPECT_EQ(GetCapture(), a);
    // Mouse input over the other window comes to the captured one.
    mouseSeen.clear();
    SimulateMouseMove(b, 5, 5);
    Pump();
    ASSERT_EQ(mouseSeen.size(), 1u);
    EXPECT_EQ(mouseSeen[0].first, a);
  }
  EXPECT_FALSE(WaitCursorShown());
  EXPECT_EQ(GetCursor(), arrow);
  EXPECT_EQ(GetCapture(), nullptr);
  DestroyWindow(a);
  DestroyWindow(b);
  Pump();
}

}  // namespace
