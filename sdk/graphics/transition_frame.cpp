#include "sdk/graphics/transition_frame.h"

#include <climits>

namespace {

bool FitsInt(int64_t v) { return v >= INT_MIN && v <= INT_MAX; }

}  // namespace

int TransitionDraw(const TransitionCall& call, const RECT* sourceRect, int x, int y,
                   const int* destSize) {
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

void TransitionPieces::Draw(int64_t left, int64_t top, int64_t right, int64_t bottom,
                            int64_t destX, int64_t destY) {
  if (right <= left || bottom <= top) return;
  if (!FitsInt(destX) || !FitsInt(destY)) return;
  RECT r;
  SetRect(&r, static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
          static_cast<int>(bottom));
  TransitionDraw(m_call, &r, static_cast<int>(destX), static_cast<int>(destY), nullptr);
}

void TransitionPieces::DrawStretched(int64_t left, int64_t top, int64_t right, int64_t bottom,
                                     int64_t destX, int64_t destY, int64_t destW, int64_t destH) {
  if (right <= left || bottom <= top) return;
  if (destW <= 0 || destH <= 0 || destW > INT_MAX || destH > INT_MAX) return;
  if (!FitsInt(destX) || !FitsInt(destY)) return;
  RECT r;
  SetRect(&r, static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
          static_cast<int>(bottom));
  const int size[2] = {static_cast<int>(destW), static_cast<int>(destH)};
  TransitionDraw(m_call, &r, static_cast<int>(destX), static_cast<int>(destY), size);
}
