// Waiting, from a test, for what the editor's processes show in the shared record.
#pragma once

#include <chrono>
#include <string>
#include <thread>

#include "editor/foundation/settings/share_data.h"

// The edit window that has the file open, once one has (10 s at most); 0 when none came.
inline EditWindowId WaitForWindowOn(CShareData& share, const std::string& path) {
  using namespace std::chrono_literals;
  const auto end = std::chrono::steady_clock::now() + 10s;
  EditWindowId window = 0;
  while (!share.FindEditWindowByPath(path.c_str(), &window) && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(50ms);
  return window;
}
