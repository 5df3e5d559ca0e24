// The backlog: past messages wrapped to lines, each message's voice on its first line, shown a page
// at a time in a window that glides up, from which a voice can be heard again.
#pragma once

#include <cstdint>
#include <string_view>

constexpr int kBacklogRecords = 500;  // the last one is working space
constexpr int kBacklogMaxLines = kBacklogRecords - 1;
constexpr int kBacklogVoiceBytes = 32;
constexpr int kBacklogLineBytes = 42;
// Characters that may not begin a line stay with the full line before them, up to three of them
// ("。」」"), as the message window's renderer lets them hang past its width.
constexpr int kBacklogHangingChars = 3;
constexpr int kBacklogTextBytes = kBacklogLineBytes + 2 * kBacklogHangingChars + 2;
constexpr int kBacklogTextBox = 2;
// The config does not give text box 2 a line spacing.
constexpr int kBacklogLineSpacing = 3;

struct BacklogLine {
  char voice[kBacklogVoiceBytes];  // empty: no voice
  char text[kBacklogTextBytes];
};

struct BacklogState {
  BacklogLine lines[kBacklogRecords];
  int32_t count;
  int32_t position;        // the last visible line
  float slide;             // the window's offset while it glides in
  int32_t filledPosition;  // the position text box 2 was last filled for; -1 none
};

// How a page of the backlog stands on the screen: the lines are rowPitch apart (the distance text
// box 2 lays its lines out at), and as many of them as fit both the configured text area and the
// screen below its top make a page.
struct BacklogPage {
  int32_t rowPitch;
  int32_t rows;
};
extern BacklogState Backlog;

void InitBacklog();
void ReleaseBacklog();
// Appends a message; the voice path is kept only when it fits its field whole.
void BacklogAddText(std::string_view text, std::string_view voice);
// Opens only while the message window is open.
void OpenBacklog();
void CloseBacklog();
void BacklogDraw();
// The page as measured for the settings InitBacklog found (measured on first use).
BacklogPage BacklogPageLayout();
