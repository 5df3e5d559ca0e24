#include "game/system/script_buttons.h"

#include <algorithm>

#include "game/app/config.h"
#include "game/app/frame_input.h"
#include "game/app/frame_scale.h"
#include "game/script/saturate.h"
#include "game/sound/sound_channels.h"
#include "game/stage/image_cache.h"
#include "game/stage/picture_layers.h"
#include "game/text/cursor_prompt.h"
#include "sdk/graphics/mem_plane.h"

ScriptButton ScriptButtons[kScriptButtonCount];
bool ButtonsActive = false;
int32_t HoveredButton = -1;

namespace {

int32_t clickedButton = -1;

constexpr int kHoverSound = 3;
constexpr int kPressSound = 4;

bool InRange(int32_t index) { return index >= 0 && index < kScriptButtonCount; }

bool Inside(const ScriptButton& b, double cx, double cy) {
  return b.x < cx && cx < b.x + b.width && b.y < cy && cy < b.y + b.height;
}

void Draw(CMemPlane* picture, const ScriptButton& b, int opacity) {
  if (picture) DrawSprite(picture, SaturateToInt32(b.x - b.slide), SaturateToInt32(b.y), opacity, 0, b.scale);
}

}  // namespace

void InitButtons() {
  for (ScriptButton& b : ScriptButtons) b = ScriptButton{};
  HoveredButton = -1;
  clickedButton = -1;
  ButtonsActive = false;
}

void ReleaseButtons() {
  for (ScriptButton& b : ScriptButtons) {
    DeleteIfAny(b.first);
    DeleteIfAny(b.second);
  }
}

void ButtonSet(int32_t index, float x, float y, int32_t hidden, std::string_view highlightImage,
               std::string_view normalImage) {
  if (!InRange(index)) return;
  ScriptButton& b = ScriptButtons[index];
  b.state = 2;
  b.x = x;
  b.y = y;
  b.hidden = hidden;
  b.first = LoadImageShared(highlightImage, 100);
  b.second = LoadImageShared(normalImage, 100);
  // A missing picture is 0 x 0: nothing is drawn or hit.
  int width = 0, height = 0;
  if (b.first) b.first->GetSize(&width, &height);
  b.width = width;
  b.height = height;
  b.scale = 1.0f;
  b.highlight = 255;
  HoveredButton = -1;
  clickedButton = -1;
  ButtonsActive = true;
  b.slide = static_cast<float>(Config.screenWidth + index * 640.0 / FrameScale());
}

int32_t ClearButton(int32_t index) {
  if (!InRange(index) || ScriptButtons[index].state == 0) return index;
  ScriptButton& b = ScriptButtons[index];
  b.state = 0;
  DeleteIfAny(b.first);
  DeleteIfAny(b.second);
  ButtonsActive = false;
  HoveredButton = -1;
  clickedButton = -1;
  return -1;
}

void ButtonUpdate() {
  const double cx = FrameInput.cursorX;
  const double cy = FrameInput.cursorY;
  bool any = false;
  for (int32_t i = 0; i < kScriptButtonCount; ++i) {
    if (ScriptButtons[i].state <= 0 || !Inside(ScriptButtons[i], cx, cy)) continue;
    any = true;
    if (FrameInput.click) {
      clickedButton = i;
      ResetInputEdges();
      // The press sounds with the click that was taken, once.
      PlaySystemSe(kPressSound);
    }
    if (HoveredButton != i) {
      PlaySystemSe(kHoverSound);
      HoveredButton = i;
    }
  }
  if (any) {
    SetCursorKind(1);
  } else {
    HoveredButton = -1;
  }
  ResetInputEdges();

  const double c = FrameScale();
  for (int32_t i = 0; i < kScriptButtonCount; ++i) {
    ScriptButton& b = ScriptButtons[i];
    if (b.state <= 0 || b.hidden != 0) continue;
    if (i == HoveredButton) {
      b.slide = static_cast<float>(b.slide / (1 + 0.05 * c));
      b.highlight = 192;
      b.scale = static_cast<float>(1 + 0.1 * c);
      b.slide = static_cast<float>(b.slide / (1 + 0.003 * c));
      Draw(b.first.get(), b, 192);
    } else {
      b.slide = static_cast<float>(b.slide / (1 + 0.1 * c));
      b.highlight = std::max(0, b.highlight - SaturateToInt32(4 * c));
      b.scale = std::max(1.0f, static_cast<float>(b.scale - 0.003 * c));
      Draw(b.state == 2 ? b.second.get() : b.first.get(), b, 255 - b.highlight);
      Draw(b.first.get(), b, b.highlight);
    }
  }
  if (ButtonsActive) ResetInputEdges();
}

int32_t GetClickedButton() { return clickedButton; }
void SetClickedButton(int32_t result) { clickedButton = result; }
