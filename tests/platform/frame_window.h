// A top-level window standing in for an edit window's frame: its procedure records the commands,
// notifications and owner-draw requests its bars send it (copying what the pointers show, which
// lives only during the send) and answers tips and owner-drawn parts as a test sets.
#pragma once

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "platform/mem_dc.h"
#include "platform/status_bar.h"
#include "platform/toolbar.h"
#include "platform/window.h"

namespace platform_test {

struct FrameSeen {
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  UINT code = 0;         // WM_NOTIFY's
  uintptr_t idFrom = 0;  // WM_NOTIFY's
  HWND from = nullptr;   // WM_NOTIFY's
  int item = 0;          // TBN_DROPDOWN's command, NM_ part
  RECT rect{};           // TBN_DROPDOWN's button, WM_DRAWITEM's item
  POINT pt{};            // NM_ point
  uintptr_t itemData = 0;
  UINT ctlId = 0;
};

struct FrameState {
  std::vector<FrameSeen> seen;
  std::string tip;  // the answer to TTN_NEEDTEXT
  // Draws an owner-drawn part; empty draws nothing.
  std::function<void(const DRAWITEMSTRUCT&)> draw;
};

inline FrameState& Frame() {
  static FrameState state;
  return state;
}

inline LRESULT FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  FrameSeen s{message, wParam, lParam};
  if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    s.code = header->code;
    s.idFrom = header->idFrom;
    s.from = header->hwndFrom;
    if (header->code == TBN_DROPDOWN) {
      const auto* tb = reinterpret_cast<const NMTOOLBAR*>(lParam);
      s.item = tb->iItem;
      s.rect = tb->rcButton;
    } else if (header->code == TTN_NEEDTEXT) {
      reinterpret_cast<NMTTDISPINFO*>(lParam)->lpszText = Frame().tip.data();
    } else if (header->code == NM_DBLCLK || header->code == NM_RCLICK) {
      const auto* mouse = reinterpret_cast<const NMMOUSE*>(lParam);
      s.item = static_cast<int>(static_cast<intptr_t>(mouse->dwItemSpec));
      s.pt = mouse->pt;
    }
  } else if (message == WM_DRAWITEM) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    s.item = static_cast<int>(item->itemID);
    s.rect = item->rcItem;
    s.itemData = item->itemData;
    s.ctlId = item->CtlID;
    if (Frame().draw) Frame().draw(*item);
    Frame().seen.push_back(s);
    return 1;
  }
  Frame().seen.push_back(s);
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

inline std::vector<FrameSeen> FrameSeenOf(UINT message) {
  std::vector<FrameSeen> out;
  for (const FrameSeen& s : Frame().seen)
    if (s.message == message) out.push_back(s);
  return out;
}

inline void PumpFrame() {
  MSG msg;
  for (int i = 0; i < 3; ++i)
    while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      platform::TranslateMessage(&msg);
      platform::DispatchMessage(&msg);
    }
}

// A press and release of a mouse button on a widget at a point of its own.
inline void ClickWidget(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
  QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), button, button, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), button, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &release);
}

class FrameFixture {
 public:
  FrameFixture() {
    static const bool registered = [] {
      WNDCLASSEX wc;
      wc.lpfnWndProc = FrameProc;
      wc.lpszClassName = "FrameControlsTestFrame";
      return platform::RegisterClassEx(&wc) != 0;
    }();
    (void)registered;
    PumpFrame();
    frame = platform::CreateWindowEx(0, "FrameControlsTestFrame", "frame", WS_CAPTION | WS_VISIBLE, 40, 40, 400, 200,
                                     nullptr, nullptr, nullptr, nullptr);
    PumpFrame();
    Frame() = FrameState{};
  }
  ~FrameFixture() {
    if (platform::IsWindow(frame)) platform::DestroyWindow(frame);
    PumpFrame();
    Frame() = FrameState{};
  }
  FrameFixture(const FrameFixture&) = delete;
  FrameFixture& operator=(const FrameFixture&) = delete;

  HWND frame = nullptr;
};

}  // namespace platform_test
