#include "game/text/text_box.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "game/app/config.h"
#include "game/app/run_state.h"
#include "game/script/script_executor.h"
#include "game/stage/layer_module.h"
#include "game/text/no_line_start.h"
#include "platform/sjis_literal.h"
#include "sdk/graphics/mem_plane_impl.h"

std::array<TextBox, kTextBoxCount> TextBoxes;

namespace {

TextBox* Box(int index) {
  if (index < 0 || index >= kTextBoxCount) return nullptr;
  return &TextBoxes[static_cast<size_t>(index)];
}

// Where the key-wait prompt goes: after the last glyph, or at the start of the next line when the
// last line is full.
void PlaceEnd(TextBox& box) {
  const std::vector<RECT>& glyphs = box.renderer->Glyphs();
  if (glyphs.empty()) {
    box.endX = box.x;
    box.endY = box.y;
    return;
  }
  const int32_t size = box.settings.size;
  box.endX = box.x + glyphs.back().left + size;
  box.endY = box.y + glyphs.back().top;
  if (static_cast<int64_t>(box.endX) + size > static_cast<int64_t>(box.x) + box.settings.width) {
    box.endX = box.x;
    box.endY += size;
  }
}

int32_t GlyphCount(const TextBox& box) {
  return box.renderer ? static_cast<int32_t>(box.renderer->Glyphs().size()) : 0;
}

// One frame's reveal: the step is (60 / fps) × speed × 0.1 progress units, its fraction carried.
void Reveal(TextBox& box, int32_t speed, int32_t fps) {
  if (speed > 95) {
    box.progress = kTextBoxShowAll;
    box.progressCarry = 0.0;
    return;
  }
  if (speed <= 0 || box.progress >= kTextBoxShowAll) return;
  const double step = (60.0 / (fps > 0 ? fps : 60)) * speed * 0.1;
  const double total = box.progress + box.progressCarry + step;
  if (total >= kTextBoxShowAll) {
    box.progress = kTextBoxShowAll;
    box.progressCarry = 0.0;
    return;
  }
  box.progress = static_cast<int32_t>(total);
  box.progressCarry = total - box.progress;
}

}  // namespace

void CTextBoxRenderer::CreateSurface(int32_t width, int32_t height) {
  m_canvas.Create(width, height, 0);
  if (CMemPlaneImpl* impl = m_canvas.GetImpl()) *impl->GetHasAlphaPtr() = true;
}

void InitTextBoxes() {
  for (TextBox& box : TextBoxes) {
    box.renderer.reset();
    box.visible = false;
    box.text.clear();
    box.laidOut = false;
  }
}

void ReleaseTextBoxes() {
  for (int i = 0; i < kTextBoxCount; ++i) DeleteTextBox(i);
}

bool CreateTextBox(int index, int32_t size, COLORREF color, COLORREF shadow, int32_t spacing) {
  TextBox* box = Box(index);
  if (!box) return false;
  DeleteTextBox(index);
  box->renderer = std::make_unique<CTextBoxRenderer>();
  box->settings.lineSpacing = spacing;
  box->settings.SetFontSize(size);
  box->progress = 0;
  box->progressCarry = 0.0;
  box->x = box->y = 0;
  box->renderer->SetNoLineStartChars(kNoLineStartChars);
  box->settings.color = color;
  box->settings.shadowColor = shadow;
  box->settings.width = Config.screenWidth;
  box->visible = false;
  box->endX = box->endY = 0;
  box->opacity = 255;
  box->laidOut = false;
  return true;
}

int32_t TextBoxLinePitch(int index) {
  TextBox* box = Box(index);
  if (!box || !box->renderer) return 0;
  return TextBoxLinePitchOf(box->settings);
}

int32_t TextBoxLinePitchOf(const CTextDrawContext& settings) {
  // Two lines of one ideographic space each, laid out under the box's own settings and not drawn.
  CTextBoxRenderer renderer;
  renderer.settings = settings;
  renderer.settings.SetText("　<BR>　<HR>"_sj);
  const int32_t fallback = settings.size + 2 * settings.lineSpacing;
  if (renderer.Layout(false) != 0 || renderer.Glyphs().size() != 2) return fallback;
  return renderer.Glyphs()[1].top - renderer.Glyphs()[0].top;
}

void DeleteTextBox(int index) {
  TextBox* box = Box(index);
  if (!box) return;
  box->renderer.reset();
  box->visible = false;
  box->laidOut = false;
}

void SetTextBoxText(int index, std::string_view text) {
  TextBox* box = Box(index);
  if (!box || !box->renderer) return;
  std::string withEnd(text.substr(0, text.find('\0')));
  withEnd += "<HR>";
  // The message window sets the name box's text every frame: the same text under the same settings
  // lays out to the same glyphs, so the work is kept.
  if (!box->laidOut || withEnd != box->text) {
    box->text = std::move(withEnd);
    box->settings.SetText(box->text.c_str());
    box->renderer->settings = box->settings;
    box->renderer->Layout(true);
    box->laidOut = true;
  }
  box->visible = true;
  box->progress = 0;
  box->progressCarry = 0.0;
  box->opacity = 255;
  PlaceEnd(*box);
}

void SetTextBoxPos(int index, int32_t x, int32_t y, int32_t width, int32_t /*height*/) {
  TextBox* box = Box(index);
  if (!box) return;
  box->x = x;
  box->y = y;
  if (box->settings.width != width) box->laidOut = false;
  box->settings.width = width;
}

void SetTextBoxProgress(int index, int32_t progress) {
  TextBox* box = Box(index);
  if (!box) return;
  box->progress = progress;
  box->progressCarry = 0.0;
}

void SetTextBoxAlpha(int index, int32_t opacity) {
  if (TextBox* box = Box(index)) box->opacity = opacity;
}

void ShowTextBoxAll(int index) { SetTextBoxProgress(index, kTextBoxShowAll); }

void HideTextBox(int index) {
  if (TextBox* box = Box(index)) box->visible = false;
}

bool IsTextBoxDone(int index) {
  const TextBox* box = Box(index);
  if (!box) return true;
  return static_cast<int64_t>(box->progress) > 10 * (static_cast<int64_t>(GlyphCount(*box)) - 1);
}

namespace {

// The boxes a frame draws: the backlog hides the message boxes, a system screen the choices too.
int FirstBoxDrawn(const TextBoxFrame& frame) {
  if (frame.systemScreenOpen) return 3;
  if (frame.backlogOpen) return 2;
  return 0;
}

bool BoxShown(const TextBox& box) { return box.renderer && box.visible; }

}  // namespace

bool DrawTextBoxesOnto(CDrawTarget& target, const TextBoxFrame& frame) {
  bool drew = false;
  for (int i = FirstBoxDrawn(frame); i < kTextBoxCount; ++i) {
    TextBox& box = TextBoxes[static_cast<size_t>(i)];
    if (!BoxShown(box)) continue;
    if (i == 1 || i == 2) box.progress = kTextBoxShowAll;
    Reveal(box, frame.messageSpeed, frame.fps);
    CMemPlane& canvas = box.renderer->Canvas();
    const std::vector<RECT>& glyphs = box.renderer->Glyphs();
    for (size_t g = 0; g < glyphs.size() && box.progress >= 10 * static_cast<int64_t>(g); ++g) {
      const RECT& r = glyphs[g];
      const int x = static_cast<int>(static_cast<int64_t>(box.x) + r.left);
      const int y = static_cast<int>(static_cast<int64_t>(box.y) + r.top);
      if (box.opacity >= 255)
        target.BltAlpha(&canvas, x, y, &r, nullptr, nullptr);
      else
        target.BlendBltNatural(&canvas, x, y, box.opacity, &r, nullptr, nullptr);
      drew = true;
    }
  }
  return drew;
}

void DrawTextBoxes() {
  const TextBoxFrame frame{Config.messageSpeed, Config.fps, BacklogOpen, SystemScreenOpen()};
  // The back buffer is asked for only when a box shows: asking keeps the game picture aside.
  const auto shown = std::span(TextBoxes).subspan(static_cast<size_t>(FirstBoxDrawn(frame)));
  if (std::none_of(shown.begin(), shown.end(), BoxShown)) return;
  CMemPlane* backBuffer = LayerDrawTarget();
  if (!backBuffer) return;
  if (DrawTextBoxesOnto(*backBuffer, frame)) MarkDisplayDirty();
}
