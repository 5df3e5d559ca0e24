// The ten text boxes that draw all game text: the message (0), the speaker's name (1), the backlog
// page (2), the six slot captions (3-8) and the page number (9) of the save and load screens. A box
// lays its text out once into a canvas; every frame then copies as many glyphs as its reveal progress
// allows, which reveals a message character by character.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/win_types.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/text_draw.h"

class CDrawTarget;

// The renderer of a text box: the tag-marked layout, drawn into a canvas with per-pixel alpha.
class CTextBoxRenderer : public CTextDraw {
 public:
  CDrawTarget* GetSurface() override { return &m_canvas; }
  void CreateSurface(int32_t width, int32_t height) override;
  CMemPlane& Canvas() { return m_canvas; }

 private:
  CMemPlane m_canvas;
};

constexpr int kTextBoxCount = 10;
constexpr int32_t kTextBoxShowAll = 99999;

struct TextBox {
  CTextDrawContext settings;
  std::unique_ptr<CTextBoxRenderer> renderer;
  int32_t progress = 0;
  // The part of a frame's step below one progress unit, carried to the next frame so that slow
  // speeds still move and the reveal takes the same time at every frame rate.
  double progressCarry = 0.0;
  int32_t x = 0, y = 0;
  int32_t endX = 0, endY = 0;
  int32_t opacity = 255;
  bool visible = false;
  // The text with "<HR>" appended, which the settings and the renderer point into.
  std::string text;
  // The glyph list and canvas stand for `text` under the current settings.
  bool laidOut = false;
};

// The boxes, indexed 0..9. Indices outside that range name no box: every operation ignores them.
extern std::array<TextBox, kTextBoxCount> TextBoxes;

void InitTextBoxes();
void ReleaseTextBoxes();
bool CreateTextBox(int index, int32_t size, COLORREF color, COLORREF shadow, int32_t spacing);
void DeleteTextBox(int index);
void SetTextBoxText(int index, std::string_view text);
void SetTextBoxPos(int index, int32_t x, int32_t y, int32_t width, int32_t height);
void SetTextBoxProgress(int index, int32_t progress);
void SetTextBoxAlpha(int index, int32_t opacity);
void ShowTextBoxAll(int index);
void HideTextBox(int index);
bool IsTextBoxDone(int index);
// How far apart the box lays out two lines that hold characters; 0 for no box. (A line without any
// character advances less: the size and spacing alone.)
int32_t TextBoxLinePitch(int index);
// The same for settings kept from a box: the measure opens the font, so a caller that needs it only
// later keeps the box's settings and measures then.
int32_t TextBoxLinePitchOf(const CTextDrawContext& settings);

// What the frame's drawing of the boxes depends on besides the boxes themselves.
struct TextBoxFrame {
  int32_t messageSpeed = 0;
  int32_t fps = 60;
  bool backlogOpen = false;
  bool systemScreenOpen = false;
};

// The per-frame reveal and drawing of every box onto target. True when anything was drawn.
bool DrawTextBoxesOnto(CDrawTarget& target, const TextBoxFrame& frame);
// The same onto the game's back buffer, with the configuration and run state of the frame.
void DrawTextBoxes();
