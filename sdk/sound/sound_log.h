// Formats a failure text for the library's error log.
#pragma once

#include <cstdarg>
#include <cstdio>

#include "sdk/framework/error_log.h"

__attribute__((format(printf, 1, 2))) inline void SoundLog(const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  ErrorLog::Out(text);
}
