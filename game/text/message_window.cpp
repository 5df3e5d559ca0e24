#include "game/text/message_window.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "game/text/backlog.h"
#include "game/app/config.h"
#include "game/script/engine_state.h"
#include "game/text/fixed_text.h"
#include "game/app/frame_input.h"
#include "game/app/frame_scale.h"
#include "game/stage/image_cache.h"
#include "game/stage/picture_layers.h"
#include "game/app/run_state.h"
#include "game/script/saturate.h"
#include "game/system/scene_gallery.h"
#include "game/stage/screen_fade.h"
#include "game/app/script_app.h"
#include "game/system/script_buttons.h"
#include "game/script/script_executor.h"
#include "game/script/script_lexer.h"
#include "game/script/script_symbol_table.h"
#include "game/script/script_text.h"
#include "game/sound/sound_channels.h"
#include "game/system/system_menu.h"
#include "game/text/text_box.h"
#include "platform/message_box.h"
#include "platform/sjis_literal.h"
#include "sdk/framework/window_application.h"
#include "sdk/graphics/mem_plane.h"

bool SkipMode = false;
bool CurrentTextRead = true;
double AutoPlayCounter = 10;
double ConfiguredAutoCounter = 10;
bool KeyWaitStarted = false;
bool SceneReplay = false;
SelectChoice Choices[kChoiceCount] = {};
int32_t ChoiceCount = 0;

namespace {

// Read when the window first shows rather than at start: a game's first frames are often a title
// without it.
std::unique_ptr<CMemPlane> windowPicture;
bool windowPictureDue = false;

constexpr int32_t kWindowClosed = 0;
constexpr int32_t kWindowOpen = 1;
constexpr int32_t kWindowOpening = 2;
constexpr int32_t kWindowClosing = 3;

MessageState& Message() { return EngineState.presentation.message; }
MessageWindowState& Window() { return EngineState.presentation.window; }

// One frame's time less: the counters are in sixtieths of a second, whatever the frame rate.
bool CountDown(double& counter) {
  counter -= FrameScale();
  return counter <= 0;
}

// The six buttons on the message window belong to the system interface: a click on one of them is
// the button's, not the page's.
bool CursorOverWindowButton() {
  const CSystemMenu* menu = RunningScriptApp ? RunningScriptApp->SystemMenu() : nullptr;
  return menu && menu->CursorOverWindowButton();
}

bool AskYesNo(const char* question) {
  return platform::MessageBox(GetAppWindowHandle(), question, "確認"_sj, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace

void ResetMessageWindowFlags() {
  AutoPlayCounter = 10;
  ConfiguredAutoCounter = 10;
  KeyWaitStarted = false;
  SceneReplay = false;
  ClearChoices();
}

void SetAutoCounters(int64_t bytes) {
  // Counted in time rather than frames: a count of frames scaled by the rate would grow as the rate
  // falls, and each of those frames lasts longer too.
  const double base = static_cast<double>(bytes) * 100.0;
  const int64_t playWait = std::max<int64_t>(1, int64_t{Message().autoPlayWait} + 1);
  const int64_t autoSpeed = std::max<int64_t>(1, int64_t{Config.autoSpeed} + 1);
  AutoPlayCounter = std::trunc(base / static_cast<double>(playWait));
  ConfiguredAutoCounter = std::trunc(base / static_cast<double>(autoSpeed));
}

bool IsSkipping() {
  return (CurrentTextRead || Config.skipUnread) && !WindowHidden && (FrameInput.skipKey || SkipMode);
}

bool WaitKey() {
  if (SystemScreenOpen() || WindowHidden) return false;
  if (Message().autoPlay) {
    // Clicks do not count while the script plays by itself.
    if (!IsTextBoxDone(0)) return false;
    if (!CountDown(AutoPlayCounter)) return false;
    return !IsVoicePlaying();
  }
  if (Config.autoOn && IsTextBoxDone(0)) {
    if (CountDown(ConfiguredAutoCounter) && !IsVoicePlaying()) return true;
  }
  if (Window().state != kWindowClosed && !BacklogOpen && CursorOverWindowButton()) return false;
  if (FrameInput.click) return true;
  if (!BacklogOpen) {
    if (FrameInput.scrollDown) return true;
    if (FrameInput.scrollUp) OpenBacklog();
  }
  return false;
}

bool HitWindowButton(int32_t x, int32_t y, int32_t width, int32_t height) {
  const int64_t left = int64_t{Window().originX} + x;
  const int64_t top = int64_t{Window().originY} + y;
  const int64_t cx = FrameInput.cursorX;
  const int64_t cy = FrameInput.cursorY;
  return left < cx && cx < left + width && top < cy && cy < top + height;
}

void LoadMessageWindowPicture() {
  DeleteIfAny(windowPicture);
  windowPictureDue = true;
}
void FreeMessageWindowPicture() {
  DeleteIfAny(windowPicture);
  windowPictureDue = false;
}

void OpenMessageWindow() {
  if (Config.effectsOn && !IsSkipping()) {
    Window().state = kWindowOpening;
    Window().opacity = 0;
  } else {
    Window().state = kWindowOpen;
    Window().opacity = Config.messageWindowAlpha;
  }
}

void CloseMessageWindow() {
  Window().state = kWindowClosing;
  HideTextBox(0);
  HideTextBox(1);
  Message().namePresent = 0;
}

void DrawMessageWindow() {
  MessageWindowState& window = Window();
  const double step = 16.0 * FrameScale();
  bool draw = true;
  switch (window.state) {
    case kWindowOpening:
      window.opacity = std::min(SaturateToInt32(window.opacity + step), Config.messageWindowAlpha);
      if (window.opacity >= Config.messageWindowAlpha) window.state = kWindowOpen;
      break;
    case kWindowClosing:
      window.opacity = SaturateToInt32(window.opacity - step);
      if (window.opacity < 0) {
        window.opacity = 0;
        window.state = kWindowClosed;
      }
      break;
    case kWindowOpen:
      break;
    default:
      draw = false;
  }
  // A window drawn at no opacity draws nothing: it needs no picture yet.
  if (draw && window.opacity > 0 && windowPictureDue) {
    windowPictureDue = false;
    windowPicture = LoadImageCached(Config.messageWindowFile, 100);
  }
  if (draw && windowPicture) DrawSprite(windowPicture.get(), window.originX, window.originY, window.opacity, 0, 1);
  if (Message().namePresent) {
    SetTextBoxPos(1, Config.nameX + window.originX, Config.nameY + window.originY, Config.screenWidth,
                  Config.screenHeight);
    SetTextBoxText(1, FixedText(Message().speakerName));
  }
}

void ReturnToGame() {
  InterpreterState& interp = EngineState.interpreter;
  if (interp.gosubDepth <= 0) return;
  if (!AskYesNo("ゲームに戻りますか？"_sj)) return;
  char name[kSymbolNameBytes];
  std::snprintf(name, sizeof name, "GS:%d", interp.gosubDepth);
  // A missing frame is reported by the lookup; the replay then goes on where it was.
  const ScriptSymbol* frame = DefineSymbol(name, kSymbolFind);
  if (!frame) return;
  --interp.gosubDepth;
  SeekScript(PositionOfLine(SaturateToInt32(frame->value)));
  Message().prompt = 0;
  Message().namePresent = 0;
  SceneReplay = false;
  StopVoice();
}

void ReturnToTitle() {
  if (!AskYesNo("本当にタイトルに戻りますか？"_sj)) return;
  for (int layer = 0; layer < kLayerCount; ++layer) ClearPicture(layer);
  for (int button = 0; button < kScriptButtonCount; ++button) ClearButton(button);
  FadeOutBgm();
  StopVoice();
  for (int channel = 0; channel < kSeChannelCount; ++channel) StopSe(channel);
  Message().prompt = 0;
  Message().namePresent = 0;
  SceneReplay = false;
  if (SceneGallery.active) EndSceneMode();
  SaveScreenOpen = false;
  LoadScreenOpen = false;
  LoadScreenByScript = false;
  SettingsScreenOpen = false;
  Fades() = {};
  Window().state = kWindowClosed;
  HideTextBox(0);
  HideTextBox(1);
  ResetInputEdges();
  SeekScript(0);
}

void ClearChoices() { ChoiceCount = 0; }

void AddChoice(std::string_view text) {
  if (ChoiceCount < 0 || ChoiceCount >= kChoiceCount) return;
  CopyFixedText(Choices[ChoiceCount].text, text);
  ++ChoiceCount;
}

int32_t GetChoiceDefault() { return -1; }
