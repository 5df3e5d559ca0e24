// The other process of the ipc tests: it makes its window, reports the window's ipc id on
// descriptor 3 and serves requests until its standard input closes; and the pump both sides use.
#pragma once

#include <csignal>
#include <cstdio>
#include <poll.h>
#include <string_view>
#include <sys/prctl.h>

#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/window.h"

namespace ipc_test {

inline void Pump() {
  MSG msg;
  while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) platform::DispatchMessage(&msg);
}

// make: the window, made once the toolkit is there (prepare: anything to do to it before it is
// registered).
template <typename MakeWindow, typename Prepare>
void ServeWindowUntilInputCloses(std::string_view className, MakeWindow make, Prepare prepare) {
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  platform::EnsureGuiApp();
  HWND hwnd = make();
  prepare(hwnd);
  Pump();
  dprintf(3, "%u\n", platform::ipc::RegisterWindow(hwnd, className));
  for (;;) {
    Pump();
    pollfd p{0, POLLIN, 0};
    if (::poll(&p, 1, 2) > 0) break;
  }
}

}  // namespace ipc_test
