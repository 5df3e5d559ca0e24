#include "game/text/backlog.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "game/app/config.h"
#include "game/text/cursor_prompt.h"
#include "game/script/engine_state.h"
#include "game/text/fixed_text.h"
#include "game/app/frame_input.h"
#include "game/app/frame_scale.h"
#include "game/stage/image_cache.h"
#include "game/stage/picture_layers.h"
#include "game/app/run_state.h"
#include "game/sound/sound_channels.h"
#include "game/text/text_box.h"
#include "sdk/graphics/mem_plane.h"

BacklogState Backlog{};

namespace {

std::unique_ptr<CMemPlane> backlogWindowImage;
std::unique_ptr<CMemPlane> voiceIcon;

constexpr int32_t kWindowOpen = 1;
constexpr int kMenuClickSound = 7;

// A lead byte as the backlog takes it: its trail byte always comes with it.
bool IsBacklogLead(unsigned char c) { return (c >= 0x80 && c <= 0x9F) || c >= 0xE0; }

int32_t Width(const CMemPlane* p) {
  int w = 0, h = 0;
  if (p) p->GetSize(&w, &h);
  return w;
}
int32_t Height(const CMemPlane* p) {
  int w = 0, h = 0;
  if (p) p->GetSize(&w, &h);
  return h;
}

// Room for one more line: the oldest goes when every line is used.
void MakeRoom() {
  if (Backlog.count < kBacklogMaxLines) return;
  std::memmove(&Backlog.lines[0], &Backlog.lines[1], sizeof(BacklogLine) * (kBacklogRecords - 1));
  Backlog.count = kBacklogMaxLines - 1;
}

}  // namespace

void InitBacklog() {
  backlogWindowImage = LoadImageCached(Config.backlogWindowFile, 100);
  voiceIcon = LoadImageCached(Config.backlogVoiceFile, 100);
  CreateTextBox(kBacklogTextBox, Config.backlogText.size, Config.fontColor, Config.fontShadow, kBacklogLineSpacing);
  SetTextBoxPos(kBacklogTextBox, Config.backlogWindowX + Config.backlogText.x,
                Config.backlogWindowY + Config.backlogText.y, Config.backlogText.width, Config.backlogText.height);
  std::memset(&Backlog, 0, sizeof Backlog);
  Backlog.filledPosition = -1;
  BacklogOpen = false;
}

void ReleaseBacklog() {
  DeleteTextBox(kBacklogTextBox);
  DeleteIfAny(backlogWindowImage);
  DeleteIfAny(voiceIcon);
}

void BacklogAddText(std::string_view text, std::string_view voice) {
  MakeRoom();
  BacklogLine* record = &Backlog.lines[Backlog.count];
  // A cut path would replay another file, or none: a voice that does not fit has no icon.
  std::memset(record->voice, 0, sizeof record->voice);
  if (voice.size() < sizeof record->voice) CopyFixedText(record->voice, voice);
  size_t at = 0;
  while (at < text.size() && text[at] != '\0') {
    MakeRoom();
    char line[kBacklogLineBytes + 1];
    size_t filled = 0;
    while (filled < kBacklogLineBytes && at < text.size()) {
      const unsigned char c = static_cast<unsigned char>(text[at]);
      if (c == '\0') break;
      if (c == '\n') {
        ++at;
        break;
      }
      if (IsBacklogLead(c)) {
        if (at + 1 >= text.size() || text[at + 1] == '\0') {
          at = text.size();  // a lead byte without its trail byte ends the text
          break;
        }
        line[filled++] = text[at];
        line[filled++] = text[at + 1];
        at += 2;
      } else {
        ++at;  // ASCII, half-width katakana and markup are not kept
      }
    }
    if (filled == 0) continue;
    line[filled] = '\0';
    CopyFixedText(Backlog.lines[Backlog.count].text, std::string_view(line, filled));
    ++Backlog.count;
    std::memset(Backlog.lines[Backlog.count].voice, 0, kBacklogVoiceBytes);
  }
  MakeRoom();
  std::memset(Backlog.lines[Backlog.count].text, 0, kBacklogTextBytes);
  ++Backlog.count;
  std::memset(Backlog.lines[Backlog.count].voice, 0, kBacklogVoiceBytes);
  Backlog.position = Backlog.count;
}

void OpenBacklog() {
  if (EngineState.presentation.window.state != kWindowOpen) return;
  BacklogOpen = true;
  Backlog.slide = static_cast<float>(Config.backlogWindowY);
}

void CloseBacklog() {
  StopVoice();
  PlaySystemSe(kMenuClickSound);
  BacklogOpen = false;
  HideTextBox(kBacklogTextBox);
  Backlog.filledPosition = -1;
}

void BacklogDraw() {
  if (!BacklogOpen) return;
  const int32_t size = Config.backlogText.size;
  const int32_t visible = Config.backlogText.height / std::max(1, size + 2);
  Backlog.slide = static_cast<float>(Backlog.slide / (1 + 0.4 * FrameScale()));
  if (FrameInput.rightClick) {
    CloseBacklog();
    ResetInputEdges();
    return;
  }
  if (FrameInput.scrollDown) {
    Backlog.position += 2;
    if (Backlog.position > Backlog.count - 1) {
      Backlog.position = Backlog.count - 1;
      CloseBacklog();
      return;
    }
  } else if (FrameInput.scrollUp) {
    Backlog.position = std::max(Backlog.position - 2, visible - 1);
  }
  const int32_t windowX = Config.backlogWindowX;
  const int32_t top = Config.backlogWindowY + static_cast<int32_t>(Backlog.slide);
  if (backlogWindowImage) DrawSprite(backlogWindowImage.get(), windowX, top, 256, 0, 1);
  const int32_t iconW = Width(voiceIcon.get());
  const int32_t iconH = Height(voiceIcon.get());
  const int32_t textX = windowX + Config.backlogText.x;
  std::string page;
  int32_t row = 0;
  for (int32_t i = Backlog.position - visible + 1; i <= Backlog.position && i < Backlog.count; ++i) {
    if (i < 0) continue;
    const BacklogLine& line = Backlog.lines[i];
    if (line.voice[0] != '\0') {
      const int32_t x = textX - iconW;
      const int32_t y = top + Config.backlogText.y + row;
      if (voiceIcon) DrawSprite(voiceIcon.get(), x, y, 256, 0, 1);
      const int32_t cx = FrameInput.cursorX;
      const int32_t cy = FrameInput.cursorY;
      if (cx >= x && cx < x + iconW && cy >= y && cy < y + iconH) {
        SetCursorKind(1);
        if (FrameInput.click) PlayVoice(line.voice, 0);
      }
    }
    row += size + 3;
    page.append(FixedText(line.text)).append("<BR>");
  }
  SetTextBoxPos(kBacklogTextBox, textX, top + Config.backlogText.y, Config.backlogText.width,
                Config.backlogText.height);
  page.append("<HR>");
  if (Backlog.position != Backlog.filledPosition) {
    SetTextBoxText(kBacklogTextBox, page);
    Backlog.filledPosition = Backlog.position;
  }
}
