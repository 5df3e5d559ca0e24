// The editor's own cursors: pictures of its own, each different, and SetCursor showing them over a
// window whose class has no cursor.
#include <QCoreApplication>
#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>
#include <vector>

#include "platform/cursor.h"
#include "platform/simulated_input.h"
#include "platform/window_qt.h"

namespace {

using namespace platform;

HINSTANCE ProgramInstance() { return reinterpret_cast<HINSTANCE>(0x400000); }

QImage PictureOf(HCURSOR cursor) { return QtCursor(cursor).pixmap().toImage().convertToFormat(QImage::Format_ARGB32); }

// The editor's four cursors are its own pictures, each different; the system's named shapes are
// the toolkit's.
TEST(EditorCursor, TheEditorsCursorsLoadAndDiffer) {
  const int ids[] = {kCursorLink, kCursorLineNumbers, kCursorSearchForward, kCursorSearchBackward};
  std::vector<QImage> pictures;
  for (int id : ids) {
    SCOPED_TRACE(id);
    HCURSOR cursor = LoadCursor(ProgramInstance(), MAKEINTRESOURCE(id));
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(LoadCursor(nullptr, MAKEINTRESOURCE(id)), cursor);
    const QImage picture = PictureOf(cursor);
    ASSERT_FALSE(picture.isNull());
    // Some black, some white, and clear around them.
    bool black = false, white = false, clear = false;
    for (int y = 0; y < picture.height(); ++y) {
      for (int x = 0; x < picture.width(); ++x) {
        const QRgb p = picture.pixel(x, y);
        black |= p == 0xFF000000u;
        white |= p == 0xFFFFFFFFu;
        clear |= qAlpha(p) == 0;
      }
    }
    EXPECT_TRUE(black && white && clear);
    for (const QImage& other : pictures) EXPECT_NE(picture, other);
    pictures.push_back(picture);
  }
  // The hot spots: the finger's tip, the arrow's tip at the top right, the I-beam's middle.
  EXPECT_EQ(QtCursor(LoadCursor(ProgramInstance(), MAKEINTRESOURCE(kCursorLink))).hotSpot(), QPoint(6, 0));
  const QCursor right = QtCursor(LoadCursor(ProgramInstance(), MAKEINTRESOURCE(kCursorLineNumbers)));
  EXPECT_EQ(right.hotSpot(), QPoint(right.pixmap().width() - 1, 0));
  EXPECT_EQ(right.pixmap().toImage().pixel(right.hotSpot()), 0xFF000000u);

  const struct {
    const char* name;
    Qt::CursorShape shape;
  } system[] = {{IDC_ARROW, Qt::ArrowCursor}, {IDC_IBEAM, Qt::IBeamCursor}, {IDC_WAIT, Qt::WaitCursor}};
  for (const auto& s : system) {
    HCURSOR cursor = LoadCursor(nullptr, s.name);
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(QtCursor(cursor).shape(), s.shape);
    EXPECT_EQ(LoadCursor(ProgramInstance(), s.name), nullptr);
  }
  EXPECT_EQ(LoadCursor(ProgramInstance(), MAKEINTRESOURCE(222)), nullptr);
}

LRESULT QuietProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(hwnd, message, wParam, lParam);
}

HWND MakeWindowOfClass(const char* name, HCURSOR classCursor) {
  WNDCLASSEX wc;
  wc.lpfnWndProc = QuietProc;
  wc.lpszClassName = name;
  wc.hCursor = classCursor;
  RegisterClassEx(&wc);
  return CreateWindowEx(0, name, "", WS_CAPTION | WS_VISIBLE, 0, 0, 80, 60, nullptr, nullptr, nullptr, nullptr);
}

void PumpToolkit() {
  QCoreApplication::processEvents();
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

// A window without a class cursor shows what the program sets while the mouse is over it; one
// with a class cursor keeps it.
TEST(EditorCursor, SetCursorShapesAWindowWithoutAClassCursor) {
  HWND bare = MakeWindowOfClass("CursorTestBare", nullptr);
  HWND beam = MakeWindowOfClass("CursorTestBeam", LoadCursor(nullptr, IDC_IBEAM));
  ASSERT_NE(bare, nullptr);
  ASSERT_NE(beam, nullptr);
  HCURSOR link = LoadCursor(ProgramInstance(), MAKEINTRESOURCE(kCursorLink));
  HCURSOR search = LoadCursor(ProgramInstance(), MAKEINTRESOURCE(kCursorSearchBackward));

  SimulateMouseMove(bare, 10, 10);
  PumpToolkit();
  SetCursor(link);
  EXPECT_EQ(WindowFromHandle(bare)->canvas()->cursor().pixmap().toImage(), QtCursor(link).pixmap().toImage());
  SetCursor(search);
  EXPECT_EQ(WindowFromHandle(bare)->canvas()->cursor().pixmap().toImage(), QtCursor(search).pixmap().toImage());
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  EXPECT_EQ(WindowFromHandle(bare)->canvas()->cursor().shape(), Qt::ArrowCursor);

  SimulateMouseMove(beam, 10, 10);
  PumpToolkit();
  SetCursor(link);
  EXPECT_EQ(WindowFromHandle(beam)->canvas()->cursor().shape(), Qt::IBeamCursor);
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  DestroyWindow(bare);
  DestroyWindow(beam);
}

}  // namespace
