// A top-level window holding one child window of a class whose procedure records every message it
// is given, for the tests of input that reaches child windows.
#pragma once

#include <vector>

#include "platform/window.h"

namespace platform_test {

struct Seen {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

inline std::vector<Seen>& SeenMessages() {
  static std::vector<Seen> seen;
  return seen;
}

// What the recording procedure passes on to the default procedure afterwards (DefWindowProc's
// answers, such as WM_IME_CHAR for WM_IME_COMPOSITION, are part of what a test looks at).
inline LRESULT RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  SeenMessages().push_back({hwnd, message, wParam, lParam});
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

inline const char* RecordingClass() {
  static const char* const name = [] {
    WNDCLASSEX wc;
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = "RecordingInputChild";
    wc.style = CS_DBLCLKS;
    platform::RegisterClassEx(&wc);
    return "RecordingInputChild";
  }();
  return name;
}

// The pump of a program: translated, then dispatched.
inline void PumpTranslated() {
  MSG msg;
  while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    platform::TranslateMessage(&msg);
    platform::DispatchMessage(&msg);
  }
}

// The messages of one window that a filter keeps, in order.
template <class Keep>
std::vector<Seen> SeenBy(HWND hwnd, Keep keep) {
  std::vector<Seen> out;
  for (const Seen& s : SeenMessages()) {
    if (s.hwnd == hwnd && keep(s.message)) out.push_back(s);
  }
  return out;
}

class ChildWindowFixture {
 public:
  ChildWindowFixture() {
    PumpTranslated();
    parent = platform::CreateWindowEx(0, RecordingClass(), "parent", WS_CAPTION | WS_VISIBLE, 40, 40, 320, 240,
                                      nullptr, nullptr, nullptr, nullptr);
    child = platform::CreateWindowEx(0, RecordingClass(), "child", WS_CHILD | WS_VISIBLE, 10, 10, 200, 120, parent,
                                     reinterpret_cast<HMENU>(intptr_t{5}), nullptr, nullptr);
    platform::SetFocus(child);
    PumpTranslated();
    SeenMessages().clear();
  }
  ~ChildWindowFixture() {
    if (platform::IsWindow(parent)) platform::DestroyWindow(parent);
    PumpTranslated();
    SeenMessages().clear();
  }
  ChildWindowFixture(const ChildWindowFixture&) = delete;
  ChildWindowFixture& operator=(const ChildWindowFixture&) = delete;

  HWND parent = nullptr;
  HWND child = nullptr;
};

}  // namespace platform_test
