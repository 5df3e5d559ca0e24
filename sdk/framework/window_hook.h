// A watcher of the main window's messages.
#pragma once

#include "platform/win_types.h"

class IWindowHook {
 public:
  virtual ~IWindowHook() = default;
  // 0: not handled, the message goes on to the next hook; anything else ends the dispatch and is
  // the window procedure's result.
  virtual LRESULT OnWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};
