// What every transition effect shares: the ends of the phase, the blit modes and the drawing of
// one piece. An effect hands its geometry to RunTransition as a body over TransitionPieces; the
// frame answers the phase ends and the null and empty cases before the body sees anything.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "sdk/graphics/draw_target.h"

class CMemPlane;
class CMemPlaneImpl;

// The arguments every effect takes, in the catalogue's order.
struct TransitionCall {
  CDrawTarget* dest;
  CDrawTarget* source;
  int x;
  int y;
  int phase;
  int mode;
  int alpha;
  RECT* clip;
};

inline bool TransitionModeValid(int mode) { return mode >= 0 && mode <= 3; }

// One drawing call with the mode's operation; an unknown mode draws nothing and gives 0.
int TransitionDraw(const TransitionCall& call, const RECT* sourceRect, int x, int y, const int* destSize);

// Geometry helpers shared by the effects.
inline int64_t TransitionMin(int64_t a, int64_t b) { return a < b ? a : b; }
inline int64_t TransitionMax(int64_t a, int64_t b) { return a > b ? a : b; }

// The pieces of one call in the drawing range (phase 1..255) over a w x h source, w and h >= 1.
// Geometry is handed in 64 bits: a piece that is empty or inverted, or whose destination point or
// size leaves the int range, is skipped, so no effect has to guard its sums at the ends of int.
class TransitionPieces {
 public:
  TransitionPieces(const TransitionCall& call, int w, int h);

  const TransitionCall& Call() const { return m_call; }
  int W() const { return m_w; }
  int H() const { return m_h; }
  int P() const { return m_call.phase; }
  int64_t X() const { return m_call.x; }
  int64_t Y() const { return m_call.y; }

  // The source rectangle (left, top, right, bottom) at destination (destX, destY), 1:1.
  void Draw(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t destX, int64_t destY) {
    if (right <= left || bottom <= top) return;
    if (m_copy.on && left >= 0 && top >= 0 && right <= m_w && bottom <= m_h) {
      Copy(left, top, right, bottom, destX, destY);
      return;
    }
    DrawChecked(left, top, right, bottom, destX, destY);
  }
  // The same at its own place.
  void DrawInPlace(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    Draw(left, top, right, bottom, X() + left, Y() + top);
  }
  // The same moved by (dx, dy) from its own place.
  void DrawMoved(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t dx, int64_t dy) {
    Draw(left, top, right, bottom, X() + left + dx, Y() + top + dy);
  }
  // The one-pixel pieces (x, y) of source row y for which shown(x) holds, left to right. Between
  // two memory surfaces the row is copied under the mask in one pass (mode 0) or drawn as runs of
  // neighbouring pixels (the other modes).
  template <class Shown>
  void DrawRowPixels(int64_t y, Shown&& shown) {
    if (m_directDest != nullptr && !m_copy.on) {
      // The surface's blits work pixel by pixel and these pieces never overlap, so a run of
      // neighbouring pixels drawn as one piece leaves the same pixels.
      for (int64_t x = 0; x < m_w;) {
        if (!shown(x)) {
          ++x;
          continue;
        }
        int64_t end = x + 1;
        while (end < m_w && shown(end)) ++end;
        Draw(x, y, end, y + 1, X() + x, Y() + y);
        x = end;
      }
      return;
    }
    if (!m_copy.on) {
      for (int64_t x = 0; x < m_w; ++x)
        if (shown(x)) Draw(x, y, x + 1, y + 1, X() + x, Y() + y);
      return;
    }
    const int64_t dy = Y() + y;
    if (dy < INT32_MIN || dy > INT32_MAX) return;
    // Columns whose destination point lies in int: the others are never blitted.
    const int64_t first = TransitionMax(0, int64_t{INT32_MIN} - X());
    const int64_t last = TransitionMin(m_w, int64_t{INT32_MAX} - X() + 1);
    if (!m_clipWritten) {
      for (int64_t x = first; x < last; ++x)
        if (shown(x)) {
          if (m_call.clip != nullptr) *m_call.clip = m_directClip;
          m_clipWritten = true;
          break;
        }
    }
    if (dy < m_directClip.top || dy >= m_directClip.bottom) return;
    const int64_t from = TransitionMax(first, m_directClip.left - X());
    const int64_t to = TransitionMin(last, m_directClip.right - X());
    const uint32_t* s = m_copy.source + y * m_copy.sourcePitch;
    const int64_t rowBase = dy * m_copy.destPitch + X();
    for (int64_t x = from; x < to; ++x)
      if (shown(x)) m_copy.dest[rowBase + x] = s[x];
  }

  // The source rectangle stretched to destW x destH; a size of 0 or less draws nothing.
  void DrawStretched(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t destX, int64_t destY,
                     int64_t destW, int64_t destH);

  // Visits the cells of a cw x ch grid laid from the source's top-left corner, row by row, with
  // each cell's corner and its size cut to the source: f(x, y, cellW, cellH).
  template <class F>
  void ForEachCell(int cw, int ch, F&& f) const {
    for (int64_t y = 0; y < m_h; y += ch)
      for (int64_t x = 0; x < m_w; x += cw)
        f(static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + cw <= m_w ? cw : m_w - x),
          static_cast<int>(y + ch <= m_h ? ch : m_h - y));
  }

 private:
  void DrawChecked(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t destX, int64_t destY);
  void DrawPiece(const RECT& r, int x, int y, const int* destSize);

  // The opaque copy of a 1:1 piece inside the source between two memory surfaces, cut to the
  // clip: what the surface's own opaque blit does with it, without its general set-up, so that
  // effects of a few hundred thousand pieces stay within a frame.
  void Copy(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t destX, int64_t destY) {
    // A point outside int is skipped before any blit, so it does not write the clip back.
    if (destX < INT32_MIN || destX > INT32_MAX || destY < INT32_MIN || destY > INT32_MAX) return;
    if (!m_clipWritten) {
      if (m_call.clip != nullptr) *m_call.clip = m_directClip;
      m_clipWritten = true;
    }
    const int64_t l = TransitionMax(destX, m_directClip.left);
    const int64_t t = TransitionMax(destY, m_directClip.top);
    const int64_t r = TransitionMin(destX + (right - left), m_directClip.right);
    const int64_t b = TransitionMin(destY + (bottom - top), m_directClip.bottom);
    if (l >= r || t >= b) return;
    const uint32_t* s = m_copy.source + (top + (t - destY)) * m_copy.sourcePitch + left + (l - destX);
    uint32_t* d = m_copy.dest + t * m_copy.destPitch + l;
    const int64_t n = r - l;
    for (int64_t row = t; row < b; ++row, s += m_copy.sourcePitch, d += m_copy.destPitch) {
      // Cells are a few pixels wide: a plain loop beats a call for them.
      if (n <= 8) {
        for (int64_t i = 0; i < n; ++i) d[i] = s[i];
      } else {
        std::memcpy(d, s, static_cast<size_t>(n) * sizeof(uint32_t));
      }
    }
  }

  struct DirectCopy {
    bool on = false;  // mode 0 between two exact memory surfaces
    uint32_t* dest = nullptr;
    int64_t destPitch = 0;
    const uint32_t* source = nullptr;
    int64_t sourcePitch = 0;
  };

  const TransitionCall& m_call;
  int m_w;
  int m_h;
  // Both targets plain memory surfaces: the pieces go straight to the destination's kernels.
  CMemPlaneImpl* m_directDest = nullptr;
  CMemPlane* m_directSource = nullptr;
  // The clip as the surface narrows it to itself, written back on the first piece as the
  // surface's own blits do.
  RECT m_directClip{};
  bool m_clipWritten = false;
  DirectCopy m_copy;
};

// The common frame: phase 0 or less gives 0 untouched (the source is not asked for its size); a
// null target -1; phase 256 or more one whole-source call with the mode and its result (0 for an
// unknown mode); else the source's size is read and an empty source gives 0. Only then does the
// caller go on to draw; *result is what the effect gives when it does not.
bool BeginTransition(const TransitionCall& call, int* result, int* w, int* h);

// Runs the frame and then the body over the pieces. A body that returns nothing makes the effect
// return 0; one that returns an int (mosaic, invert, cross-fade) gives that.
template <class Body>
int RunTransition(const TransitionCall& call, Body&& body) {
  int result = 0, w = 0, h = 0;
  if (!BeginTransition(call, &result, &w, &h)) return result;
  TransitionPieces pieces(call, w, h);
  if constexpr (std::is_void_v<std::invoke_result_t<Body, TransitionPieces&>>) {
    body(pieces);
    return 0;
  } else {
    return body(pieces);
  }
}

// Defines a catalogue entry whose pieces are the given statements over TransitionPieces& p.
#define VREL_TRANSITION_ENTRY(name, ...)                                                                    \
  int name(CDrawTarget* d, CDrawTarget* s, int x, int y, int phase, int mode, int alpha, RECT* clip) {      \
    return RunTransition({d, s, x, y, phase, mode, alpha, clip}, [](TransitionPieces& p) { __VA_ARGS__; }); \
  }
