// A splitter window in a plain top-level window (offscreen) over four pane objects of one document.
// The pane objects have no windows: stand-in child windows of the splitter take their places, so
// the layout shows in the stand-ins' rectangles and visibility, while the pane objects (sized where
// their stand-ins are) carry the caret and scroll states the splitter copies. A stand-in answers a
// split request and an activation as a pane window does.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "editor/foundation/document/edit_doc.h"
#include "editor/view/pane/edit_view.h"
#include "editor/view/pane/splitter_wnd.h"
#include "platform/window.h"
#include "platform/window_tree.h"
#include "view_fixture.h"

namespace splitter_test {

// What the stand-ins were sent, in order.
struct PaneMessage {
  int pane;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

inline std::vector<PaneMessage>& PaneMessages() {
  static std::vector<PaneMessage> seen;
  return seen;
}

// A pane window's answers: a split request goes on to the splitter; an activation is answered
// with the pane's index (its child id).
inline LRESULT StandInProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const int index = static_cast<int>(platform::GetWindowLongPtr(hwnd, GWLP_ID));
  if (message == MYWM_DOSPLIT || message == MYWM_SETACTIVEPANE) {
    PaneMessages().push_back({index, message, wParam, lParam});
  }
  if (message == MYWM_DOSPLIT) return platform::SendMessage(platform::GetParent(hwnd), message, wParam, lParam);
  if (message == MYWM_SETACTIVEPANE) {
    platform::PostMessage(platform::GetParent(hwnd), MYWM_SETACTIVEPANE, static_cast<WPARAM>(index), 0);
    return 0;
  }
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

inline const char* StandInClass() {
  static const char* const name = [] {
    WNDCLASSEX wc;
    wc.lpfnWndProc = StandInProc;
    wc.lpszClassName = "SplitterTestPane";
    wc.style = CS_DBLCLKS;
    wc.background = RGB(255, 255, 255);
    platform::RegisterClassEx(&wc);
    return "SplitterTestPane";
  }();
  return name;
}

inline const char* FrameClass() {
  static const char* const name = [] {
    WNDCLASSEX wc;
    wc.lpfnWndProc = platform::DefWindowProc;
    wc.lpszClassName = "SplitterTestFrame";
    platform::RegisterClassEx(&wc);
    return "SplitterTestFrame";
  }();
  return name;
}

// A plain top-level window (offscreen) at (20, 20) to hold the windows under test.
inline HWND MakeFrame(const char* title, int width, int height) {
  return platform::CreateWindowEx(0, FrameClass(), title, WS_CAPTION | WS_VISIBLE, 20, 20, width, height, nullptr,
                                  nullptr, nullptr, nullptr);
}

inline void Pump() {
  MSG msg;
  while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) platform::DispatchMessage(&msg);
}

inline RECT PlaceOf(HWND child) {
  RECT pane{};
  RECT parent{};
  platform::GetWindowRect(child, &pane);
  platform::GetWindowRect(platform::GetParent(child), &parent);
  return RECT{pane.left - parent.left, pane.top - parent.top, pane.right - parent.left, pane.bottom - parent.top};
}

class SplitterFixture : public ViewFixture {
 protected:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;

  void SetUp() override {
    ViewFixture::SetUp();
    Pump();
    PaneMessages().clear();
    frame = MakeFrame("frame", kWidth + 40, kHeight + 40);
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(splitter.Create(nullptr, frame, &editWindow), nullptr);
    splitter.Move(0, 0, kWidth, kHeight);
    panes[0] = view.get();
    for (int i = 1; i < 4; ++i) {
      owned[static_cast<size_t>(i)] = std::make_unique<CEditView>();
      panes[static_cast<size_t>(i)] = owned[static_cast<size_t>(i)].get();
      panes[static_cast<size_t>(i)]->SetEditWindow(&editWindow);
      panes[static_cast<size_t>(i)]->AttachDocument(doc.get(), i);
    }
    DocPorts ports;
    ports.splitter = &splitter;
    for (int i = 0; i < 4; ++i) ports.panes[static_cast<size_t>(i)] = panes[static_cast<size_t>(i)];
    doc->SetPorts(ports);
    for (int i = 0; i < 4; ++i) {
      windows[static_cast<size_t>(i)] =
          platform::CreateWindowEx(0, StandInClass(), "pane", WS_CHILD | (i == 0 ? WS_VISIBLE : 0), 0, 0, 10, 10,
                                   splitter.GetHwnd(), reinterpret_cast<HMENU>(intptr_t{i}), nullptr, nullptr);
      ASSERT_NE(windows[static_cast<size_t>(i)], nullptr);
    }
    splitter.AttachPanes(windows, panes);
    splitter.SplitAt(0, 0);
    Pump();
    PaneMessages().clear();
  }
  void TearDown() override {
    doc->SetPorts(DocPorts{});
    if (platform::IsWindow(frame)) platform::DestroyWindow(frame);
    Pump();
    PaneMessages().clear();
    for (auto& pane : owned) pane.reset();
    ViewFixture::TearDown();
  }

  CEditView& Pane(int i) { return *panes[static_cast<size_t>(i)]; }
  HWND PaneWindow(int i) const { return windows[static_cast<size_t>(i)]; }
  // The indexes of the stand-ins shown.
  std::vector<int> Shown() const {
    std::vector<int> out;
    for (int i = 0; i < 4; ++i) {
      if (platform::IsWindowVisible(windows[static_cast<size_t>(i)])) out.push_back(i);
    }
    return out;
  }
  // The layout, the activation answered and every state copy done.
  void SplitAndSettle(int x, int y) {
    splitter.SplitAt(x, y);
    Pump();
  }

  HWND frame = nullptr;
  CSplitterWnd splitter;
  std::array<std::unique_ptr<CEditView>, 4> owned;
  std::array<CEditView*, 4> panes{};
  std::array<HWND, 4> windows{};
};

}  // namespace splitter_test
