#include "game/script/message_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

MessageLogRecord MessageLog = {};

namespace {

void Append(const char* text, size_t length) {
  if (MessageLog.count >= kMessageLogLines) return;
  char* line = MessageLog.lines[MessageLog.count];
  length = length < kMessageLogLineBytes - 1 ? length : kMessageLogLineBytes - 1;
  std::memcpy(line, text, length);
  line[length] = '\0';
  ++MessageLog.count;
}

}  // namespace

void DebugPrint(const char* format, ...) {
  char buffer[kMessageLogLineBytes];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n < 0) return;
  Append(buffer, std::strlen(buffer));
}

void DebugPrintText(std::string_view text) { Append(text.data(), text.size()); }

void AgeMessageLog(int fps) {
  if (MessageLog.count <= 0) return;
  ++MessageLog.ageCounter;
  // 1000 / (60 / fps) in floating point, as the frame-rate scaling everywhere else; a frame rate of
  // 0 never ages (there are no frames).
  if (fps <= 0) return;
  double limit = 1000.0 / (60.0 / fps);
  if (MessageLog.ageCounter > limit) {
    std::memmove(MessageLog.lines[0], MessageLog.lines[1],
                 static_cast<size_t>(MessageLog.count - 1) * kMessageLogLineBytes);
    --MessageLog.count;
    MessageLog.ageCounter = 0;
  }
}

void ClearMessageLog() {
  MessageLog.count = 0;
  MessageLog.ageCounter = 0;
}
