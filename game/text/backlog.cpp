#include "game/text/backlog.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
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
#include "game/text/no_line_start.h"
#include "game/text/text_box.h"
#include "platform/sjis_literal.h"
#include "sdk/graphics/mem_plane.h"

BacklogState Backlog{};

namespace {

// Read when the backlog first shows, not at start: many runs never open it, and its window is a
// picture the size of the screen.
std::unique_ptr<CMemPlane> backlogWindowImage;
std::unique_ptr<CMemPlane> voiceIcon;
bool picturesRead = false;
// The page is measured when it is first needed: measuring lays text out, which opens the font, and
// the first frames of a game seldom show the backlog. What the measure depends on is kept as
// InitBacklog found it.
BacklogPage measuredPage{1, 1};
std::optional<CTextDrawContext> pageSettings;  // text box 2's; none when the box was not made
int64_t pageRoom = 0;                          // the height a page may fill
bool pageMeasured = true;

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

// The next byte the line filling keeps, at or after at: a lead byte, or the byte that ends the line
// or the text; text.size() when none is left.
size_t NextKept(std::string_view text, size_t at) {
  while (at < text.size() && text[at] != '\0' && text[at] != '\n' &&
         !IsBacklogLead(static_cast<unsigned char>(text[at])))
    ++at;
  return at;
}

// Room for one more line: the oldest goes when every line is used.
void MakeRoom() {
  if (Backlog.count < kBacklogMaxLines) return;
  std::memmove(&Backlog.lines[0], &Backlog.lines[1], sizeof(BacklogLine) * (kBacklogRecords - 1));
  Backlog.count = kBacklogMaxLines - 1;
}

void ReadPictures() {
  if (picturesRead) return;
  picturesRead = true;
  backlogWindowImage = LoadImageCached(Config.backlogWindowFile, 100);
  voiceIcon = LoadImageCached(Config.backlogVoiceFile, 100);
}

const BacklogPage& Page() {
  if (pageMeasured) return measuredPage;
  pageMeasured = true;
  // The icons stand on the rows the text box lays its lines out on, and the newest line of a page
  // must not run past the area or off the bottom of the screen.
  measuredPage.rowPitch = std::max(1, pageSettings ? TextBoxLinePitchOf(*pageSettings) : 0);
  measuredPage.rows = static_cast<int32_t>(std::max<int64_t>(1, pageRoom / measuredPage.rowPitch));
  return measuredPage;
}

}  // namespace

void InitBacklog() {
  DeleteIfAny(backlogWindowImage);
  DeleteIfAny(voiceIcon);
  picturesRead = false;
  CreateTextBox(kBacklogTextBox, Config.backlogText.size, Config.fontColor, Config.fontShadow, kBacklogLineSpacing);
  const int32_t textTop = Config.backlogWindowY + Config.backlogText.y;
  SetTextBoxPos(kBacklogTextBox, Config.backlogWindowX + Config.backlogText.x, textTop, Config.backlogText.width,
                Config.backlogText.height);
  pageSettings.reset();
  if (TextBoxes[kBacklogTextBox].renderer) pageSettings = TextBoxes[kBacklogTextBox].settings;
  pageRoom = std::min<int64_t>(Config.backlogText.height, int64_t{Config.screenHeight} - textTop);
  pageMeasured = false;
  std::memset(&Backlog, 0, sizeof Backlog);
  Backlog.filledPosition = -1;
  BacklogOpen = false;
}

void ReleaseBacklog() {
  DeleteTextBox(kBacklogTextBox);
  DeleteIfAny(backlogWindowImage);
  DeleteIfAny(voiceIcon);
  picturesRead = false;
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
    char line[kBacklogTextBytes];
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
    // A full line keeps the characters that may not begin the next one.
    if (filled == kBacklogLineBytes) {
      for (int hung = 0; hung < kBacklogHangingChars; ++hung) {
        const size_t next = NextKept(text, at);
        if (next + 1 >= text.size() || !IsBacklogLead(static_cast<unsigned char>(text[next])) ||
            !StartsWithNoLineStartChar(text.substr(next, 2)))
          break;
        line[filled++] = text[next];
        line[filled++] = text[next + 1];
        at = next + 2;
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

BacklogPage BacklogPageLayout() { return Page(); }

void BacklogDraw() {
  if (!BacklogOpen) return;
  ReadPictures();
  const BacklogPage& page = Page();
  const int32_t visible = page.rows;
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
  // The icon in the middle of its line's height (the row less the spacing below it).
  const int32_t iconDown = (page.rowPitch - kBacklogLineSpacing - iconH) / 2;
  std::string text;
  int32_t row = 0;
  for (int32_t i = Backlog.position - visible + 1; i <= Backlog.position && i < Backlog.count; ++i) {
    if (i < 0) continue;
    const BacklogLine& line = Backlog.lines[i];
    if (line.voice[0] != '\0') {
      const int32_t x = textX - iconW;
      const int32_t y = top + Config.backlogText.y + row + iconDown;
      if (voiceIcon) DrawSprite(voiceIcon.get(), x, y, 256, 0, 1);
      const int32_t cx = FrameInput.cursorX;
      const int32_t cy = FrameInput.cursorY;
      if (cx >= x && cx < x + iconW && cy >= y && cy < y + iconH) {
        SetCursorKind(1);
        if (FrameInput.click) PlayVoice(line.voice, 0);
      }
    }
    row += page.rowPitch;
    // An empty line gets an ideographic space: a line without characters would advance less than
    // the others and put every line after it off its icon's row.
    const std::string_view words = FixedText(line.text);
    text.append(words.empty() ? std::string_view("　"_sj) : words).append("<BR>");
  }
  SetTextBoxPos(kBacklogTextBox, textX, top + Config.backlogText.y, Config.backlogText.width,
                Config.backlogText.height);
  text.append("<HR>");
  if (Backlog.position != Backlog.filledPosition) {
    SetTextBoxText(kBacklogTextBox, text);
    Backlog.filledPosition = Backlog.position;
  }
}
