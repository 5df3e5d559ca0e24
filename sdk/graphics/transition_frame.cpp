#include "sdk/graphics/transition_frame.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <typeinfo>

#include "sdk/graphics/mem_plane.h"

namespace {

bool FitsInt(int64_t v) { return v >= INT_MIN && v <= INT_MAX; }

}  // namespace

int TransitionDraw(const TransitionCall& call, const RECT* sourceRect, int x, int y, const int* destSize) {
  CDrawTarget& d = *call.dest;
  switch (call.mode) {
    case 0:
      return d.BltFast(call.source, x, y, sourceRect, destSize, call.clip);
    case 1:
      return d.Blt(call.source, x, y, sourceRect, destSize, call.clip);
    case 2:
      return d.BlendBltAlphaRatio(call.source, x, y, call.alpha, sourceRect, destSize, call.clip);
    case 3:
      return d.BltNatural(call.source, x, y, sourceRect, destSize, call.clip);
    default:
      return 0;
  }
}

bool BeginTransition(const TransitionCall& call, int* result, int* w, int* h) {
  *result = 0;
  if (call.phase <= 0) return false;
  if (call.dest == nullptr || call.source == nullptr) {
    *result = -1;
    return false;
  }
  if (call.phase >= 256) {
    if (TransitionModeValid(call.mode)) *result = TransitionDraw(call, nullptr, call.x, call.y, nullptr);
    return false;
  }
  *w = 0;
  *h = 0;
  call.source->GetSize(w, h);
  return *w > 0 && *h > 0;
}

// Between two memory surfaces a piece is the kernel call the surface itself would make; resolving
// the surfaces once per effect rather than once per piece matters when a frame is a few hundred
// thousand pieces. Only the exact surface class qualifies: a derived one may draw differently.
TransitionPieces::TransitionPieces(const TransitionCall& call, int w, int h) : m_call(call), m_w(w), m_h(h) {
  if (typeid(*call.dest) != typeid(CMemPlane)) return;
  m_directSource = CMemPlane::AsMemPlane(call.source);
  if (m_directSource == nullptr) return;
  m_directDest = static_cast<CMemPlane*>(call.dest)->GetImpl();
  const RECT& surface = m_directDest->GetSurfaceRect();
  m_directClip = call.clip != nullptr ? *call.clip : surface;
  m_directClip.left = std::max<LONG>(m_directClip.left, 0);
  m_directClip.top = std::max<LONG>(m_directClip.top, 0);
  m_directClip.right = std::min(m_directClip.right, surface.right);
  m_directClip.bottom = std::min(m_directClip.bottom, surface.bottom);
  if (call.mode != 0) return;
  const CMemPlaneImpl& src = *m_directSource->GetImpl();
  m_copy = DirectCopy{true, m_directDest->GetPixels(), m_directDest->Width(), src.GetPixels(), src.Width()};
  // The copy reads pieces inside w x h straight from the pixels: the surface must be that size.
  if (m_copy.dest == nullptr || m_copy.source == nullptr || src.Width() != w || src.Height() != h) m_copy.on = false;
}

void TransitionPieces::DrawPiece(const RECT& r, int x, int y, const int* destSize) {
  if (m_directDest == nullptr) {
    TransitionDraw(m_call, &r, x, y, destSize);
    return;
  }
  CMemPlaneImpl& d = *m_directDest;
  CMemPlane* s = m_directSource;
  switch (m_call.mode) {
    case 0:
      d.BltFast(s, x, y, &r, destSize, m_call.clip);
      break;
    case 1:
      d.Blt(s, x, y, &r, destSize, m_call.clip);
      break;
    case 2:
      d.BlendBltAlpha(s, x, y, CDrawTarget::RatioDestFactor(m_call.alpha), CDrawTarget::RatioSourceFactor(m_call.alpha),
                      &r, destSize, m_call.clip);
      break;
    case 3:
      d.BltNatural(s, x, y, &r, destSize, m_call.clip);
      break;
    default:
      break;
  }
}

void TransitionPieces::DrawChecked(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t destX,
                                   int64_t destY) {
  if (!FitsInt(destX) || !FitsInt(destY)) return;
  RECT r;
  SetRect(&r, static_cast<int>(left), static_cast<int>(top), static_cast<int>(right), static_cast<int>(bottom));
  DrawPiece(r, static_cast<int>(destX), static_cast<int>(destY), nullptr);
}

void TransitionPieces::DrawStretched(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t destX,
                                     int64_t destY, int64_t destW, int64_t destH) {
  if (right <= left || bottom <= top) return;
  if (destW <= 0 || destH <= 0 || destW > INT_MAX || destH > INT_MAX) return;
  if (!FitsInt(destX) || !FitsInt(destY)) return;
  RECT r;
  SetRect(&r, static_cast<int>(left), static_cast<int>(top), static_cast<int>(right), static_cast<int>(bottom));
  const int size[2] = {static_cast<int>(destW), static_cast<int>(destH)};
  DrawPiece(r, static_cast<int>(destX), static_cast<int>(destY), size);
}
