// What an application asks of its main window.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win_types.h"

struct CWindowOption {
  std::string caption;    // Shift-JIS
  std::string className;
  int32_t width = 0;      // client area, pixels
  int32_t height = 0;
  uint32_t style = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
};
