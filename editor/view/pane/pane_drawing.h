// Small drawing steps the pane's frame and highlights share: a filled box in one colour and a
// one-pixel pen that copies its colour, both undone when they go out of scope.
#pragma once

#include <optional>

#include "platform/dc_draw.h"
#include "platform/mem_dc.h"

namespace pane_drawing {

// Fills [left, right) x [top, bottom); nothing for an empty box.
inline void FillBox(HDC hdc, int left, int top, int right, int bottom, COLORREF colour) {
  if (right <= left || bottom <= top) return;
  platform::Brush brush = platform::CreateSolidBrush(colour);
  const RECT box{left, top, right, bottom};
  platform::FillRect(hdc, &box, &brush);
}

// Selects a solid one-pixel pen that draws its own colour (whatever mix the context had) and puts
// the former pen and mix back.
class ScopedPen {
 public:
  ScopedPen(HDC hdc, COLORREF colour) : m_hdc(hdc), m_pen(platform::CreatePen(platform::PS_SOLID, 1, colour)) {
    m_oldPen = platform::SelectObject(m_hdc, m_pen ? &*m_pen : nullptr);
    m_oldMix = platform::SetROP2(m_hdc, platform::R2_COPYPEN);
  }
  ~ScopedPen() {
    if (m_oldMix != 0) platform::SetROP2(m_hdc, m_oldMix);
    platform::SelectObject(m_hdc, m_oldPen);
  }
  ScopedPen(const ScopedPen&) = delete;
  ScopedPen& operator=(const ScopedPen&) = delete;

 private:
  HDC m_hdc;
  std::optional<platform::Pen> m_pen;
  HPEN m_oldPen = nullptr;
  int m_oldMix = 0;
};

}  // namespace pane_drawing
