#include "game/text/cursor_prompt.h"

#include <memory>

#include "game/app/config.h"
#include "game/script/engine_state.h"
#include "game/stage/image_cache.h"
#include "game/stage/picture_layers.h"
#include "game/app/run_state.h"
#include "game/script/script_executor.h"
#include "game/text/text_box.h"
#include "platform/cursor.h"
#include "sdk/framework/window_application.h"

namespace {

int cursorKind = 0;
std::unique_ptr<CMemPlane> promptImage;
// Only (4 × counter) mod 127 is used, so the counter wraps there instead of growing for ever.
int promptCounter = 0;

}  // namespace

void SetCursorKind(int kind) { cursorKind = kind; }
int CursorKind() { return cursorKind; }

void LoadPromptImage() {
  promptImage = LoadImageCached(Config.nextPromptFile, 100.0);
  cursorKind = 0;
  promptCounter = 0;
}

void FreePromptImage() { promptImage.reset(); }

int DrawPrompt(const PromptFrame& frame) {
  int opacity = -1;
  if (!frame.systemScreenOpen && !frame.backlogOpen && !frame.windowHidden && frame.waitingWithPrompt &&
      !frame.autoOn) {
    const int fps = frame.fps > 0 ? frame.fps : 60;
    opacity = 255 - static_cast<int>(((promptCounter * 4) % 127) * (60.0 / fps));
    DrawSprite(promptImage.get(), TextBoxes[0].endX, TextBoxes[0].endY, opacity, 0, 0.0f);
  }
  promptCounter = (promptCounter + 1) % 127;
  return opacity;
}

void ShowCursorKind() {
  if (HWND window = GetAppWindowHandle())
    platform::SetWindowCursor(window,
                              cursorKind == 1 ? platform::CursorShape::kPointingHand : platform::CursorShape::kArrow);
}

void DrawCursorAndPrompt() {
  ShowCursorKind();
  PromptFrame frame;
  frame.systemScreenOpen = SystemScreenOpen();
  frame.backlogOpen = BacklogOpen;
  frame.windowHidden = WindowHidden;
  frame.waitingWithPrompt = EngineState.presentation.message.prompt != 0;
  frame.autoOn = Config.autoOn;
  frame.fps = Config.fps;
  DrawPrompt(frame);
}

void SetSunEffect() { EngineState.presentation.sunEffect = 1; }
void SetFilmEffect() { EngineState.presentation.filmEffect = 1; }
