#include "game/text/tool_tip.h"

#include <algorithm>
#include <cmath>

#include "game/app/config.h"
#include "game/app/frame_scale.h"
#include "game/stage/image_cache.h"
#include "game/stage/layer_module.h"
#include "game/text/text_box.h"
#include "sdk/graphics/mem_plane.h"

namespace {

constexpr int kShowAfter = 100;
constexpr int kTimerMax = 200;

int Scaled(int perFrame) { return static_cast<int>(perFrame * FrameScale()); }

}  // namespace

CToolTip::CToolTip() : m_background(LoadImageCached(Config.tipsFile, 100.0)) {}

CToolTip::~CToolTip() = default;

void CToolTip::Show(std::string_view text, float x, float y) {
  if (!Config.tipsOn || text.empty()) return;
  m_timer = std::min(m_timer + Scaled(8), kTimerMax);
  m_opacity = 192;
  if (m_timer < kShowAfter || text == m_text) return;

  m_renderer = std::make_unique<CTextBoxRenderer>();
  m_layoutText = std::string(text) + "<HR>";
  m_renderer->settings.width = 138;
  m_renderer->settings.SetFontSize(12);
  m_renderer->settings.shadowColor = RGB(192, 192, 192);
  m_renderer->settings.SetText(m_layoutText.c_str());
  m_renderer->Layout(true);
  m_opacity = 255;
  m_text = text;
  m_timer = 0;

  // A missing background counts as 0 x 0: the text is still shown.
  int width = 0, height = 0;
  if (m_background) m_background->GetSize(&width, &height);
  m_x = std::max(0, static_cast<int>(std::trunc(x)) - width / 3);
  m_y = std::max(0, static_cast<int>(std::trunc(y)) - height);
  if (m_x + width > Config.screenWidth) m_x = Config.screenWidth - width;
}

void CToolTip::Draw() {
  if (m_timer > 0) {
    m_timer -= Scaled(2);
    if (m_timer < 0) {
      m_timer = 0;
      m_renderer.reset();
      m_text.clear();
    }
  }
  if (m_timer < kShowAfter || !m_renderer) return;
  if (CMemPlane* target = LayerDrawTarget()) {
    if (m_background) target->BlendBltNatural(m_background.get(), m_x, m_y, m_opacity, nullptr, nullptr, nullptr);
    target->BlendBltNatural(&m_renderer->Canvas(), m_x + 8, m_y + 8, m_opacity + 20, nullptr, nullptr, nullptr);
    MarkDisplayDirty();
  }
  m_opacity = std::max(0, m_opacity - Scaled(4));
}
