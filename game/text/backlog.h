// The backlog: past messages wrapped to lines, each message's voice on its first line, shown a page
// at a time in a window that glides up, from which a voice can be heard again.
#pragma once

#include <cstdint>
#include <string_view>

constexpr int kBacklogRecords = 500;  // the last one is working space
constexpr int kBacklogMaxLines = kBacklogRecords - 1;
constexpr int kBacklogVoiceBytes = 32;
constexpr int kBacklogTextBytes = 44;
constexpr int kBacklogLineBytes = 42;
constexpr int kBacklogTextBox = 2;
// The config does not give text box 2 a line spacing: 3 keeps its lines level with the voice icons,
// which are placed size + 3 apart.
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
extern BacklogState Backlog;

void InitBacklog();
void ReleaseBacklog();
// Appends a message; the voice path is kept only when it fits its field whole.
void BacklogAddText(std::string_view text, std::string_view voice);
// Opens only while the message window is open.
void OpenBacklog();
void CloseBacklog();
void BacklogDraw();
