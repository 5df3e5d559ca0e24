// What every transition effect shares: the ends of the phase, the blit modes and the drawing of
// one piece. An effect hands its geometry to RunTransition as a body over TransitionPieces; the
// frame answers the phase ends and the null and empty cases before the body sees anything.
#pragma once

#include <cstdint>
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
int TransitionDraw(const TransitionCall& call, const RECT* sourceRect, int x, int y,
                   const int* destSize);

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
  void Draw(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t destX,
            int64_t destY);
  // The same at its own place.
  void DrawInPlace(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    Draw(left, top, right, bottom, X() + left, Y() + top);
  }
  // The same moved by (dx, dy) from its own place.
  void DrawMoved(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t dx,
                 int64_t dy) {
    Draw(left, top, right, bottom, X() + left + dx, Y() + top + dy);
  }
  // The source rectangle stretched to destW x destH; a size of 0 or less draws nothing.
  void DrawStretched(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t destX,
                     int64_t destY, int64_t destW, int64_t destH);

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
  void DrawPiece(const RECT& r, int x, int y, const int* destSize);
  bool CopyDirect(const RECT& r, int x, int y);

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

// Geometry helpers shared by the effects.
inline int64_t TransitionMin(int64_t a, int64_t b) { return a < b ? a : b; }
inline int64_t TransitionMax(int64_t a, int64_t b) { return a > b ? a : b; }

// Defines a catalogue entry whose pieces are the given statements over TransitionPieces& p.
#define VREL_TRANSITION_ENTRY(name, ...)                                                     \
  int name(CDrawTarget* d, CDrawTarget* s, int x, int y, int phase, int mode, int alpha,    \
           RECT* clip) {                                                                     \
    return RunTransition({d, s, x, y, phase, mode, alpha, clip},                             \
                         [](TransitionPieces& p) { __VA_ARGS__; });                          \
  }
