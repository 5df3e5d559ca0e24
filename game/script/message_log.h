// The on-screen message log: debug output and script errors, one line each, shown over the game
// picture and aged out one line at a time.
#pragma once

#include <cstdint>
#include <string_view>

constexpr int kMessageLogLines = 200;
constexpr int kMessageLogLineBytes = 1024;
constexpr int kMessageLogDrawnLines = 40;

struct MessageLogRecord {
  char lines[kMessageLogLines][kMessageLogLineBytes];
  int32_t count;
  int32_t ageCounter;
};

extern MessageLogRecord MessageLog;

// Appends one formatted line (cut at 1023 bytes); when the log is full the line is dropped.
void DebugPrint(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Appends a text as it stands: a per-cent sign in it is text, not a format.
void DebugPrintText(std::string_view text);

// One frame of ageing at the given frame rate: the oldest line goes once the counter passes
// 1000 / (60 / fps) frames.
void AgeMessageLog(int fps);

void ClearMessageLog();
