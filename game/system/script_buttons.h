// Script buttons: up to 32 picture buttons that glide in from the left, light up under the cursor
// with a sound, and report the one clicked.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

class CMemPlane;

constexpr int kScriptButtonCount = 32;

struct ScriptButton {
  int32_t state;   // 0 free; 2 defined by SETBUTTON
  int32_t hidden;  // hit-tested but not drawn
  float x;
  float y;
  float scale;
  int32_t highlight;  // 0..255
  int32_t width;      // of the highlight picture: the hit size
  int32_t height;
  float slide;  // drawn this far left of its place
  // Shared with the image cache: a button never writes into its pictures.
  std::shared_ptr<CMemPlane> first;   // the highlight picture
  std::shared_ptr<CMemPlane> second;  // the normal picture
};

extern ScriptButton ScriptButtons[kScriptButtonCount];
extern bool ButtonsActive;
extern int32_t HoveredButton;

void InitButtons();
void ReleaseButtons();
void ButtonSet(int32_t index, float x, float y, int32_t hidden, std::string_view highlightImage,
               std::string_view normalImage);
// -1 when the button was freed; the index when there was nothing to do.
int32_t ClearButton(int32_t index);
void ButtonUpdate();
int32_t GetClickedButton();
// The clicked result, also for the scene gallery's choice.
void SetClickedButton(int32_t result);
