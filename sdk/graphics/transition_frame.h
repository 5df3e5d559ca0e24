// What every transition effect shares: the ends of the phase, the blit modes and the drawing of
// one piece. An effect hands its geometry to RunTransition as a body over TransitionPieces; the
// frame answers the phase ends and the null and empty cases before the body sees anything.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

#include "sdk/graphics/draw_target.h"
#include "sdk/graphics/mem_plane_impl.h"

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
//
// Between two memory surfaces the pieces do not go through a blit call each: they are cut to the
// clip here and drawn through one PieceBlitter of the destination, which made the mode's operation
// once. A piece that continues the one before it (same rows, same shift) joins it, so runs of
// neighbouring cells are drawn with the row function. Copied pieces are drawn inline; blended
// ones are queued, in order, for the row kernels' block function. Pieces one pixel wide
// (mirrored, interlaced, blinds, bulging columns) are collected while they fall on different
// destination columns, where their order does not matter, and drawn in tiles a row at a time:
// a column drawn down the frame would blend one pixel per row. Flush draws what waits;
// RunTransition flushes after the effect's body.
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
    if (m_blitter != nullptr && left >= 0 && top >= 0 && right <= m_w && bottom <= m_h) {
      Put(left, top, right, bottom, destX, destY);
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
  // two memory surfaces the row's part inside the clip is blended once into a copy of the
  // destination, and the shown pixels of the copy are written back: the pieces never overlap, so
  // that leaves what they leave drawn one by one.
  template <class Shown>
  void DrawRowPixels(int64_t y, Shown&& shown) {
    if (m_blitter == nullptr) {
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
          WriteClip();
          break;
        }
    }
    if (dy < m_clip.top || dy >= m_clip.bottom) return;
    const int64_t from = TransitionMax(first, m_clip.left - X());
    const int64_t to = TransitionMin(last, m_clip.right - X());
    if (from >= to) return;
    Flush();
    const size_t n = static_cast<size_t>(to - from);
    uint32_t* d = m_direct.dest + dy * m_direct.destPitch + X() + from;
    const uint32_t* s = m_direct.source + y * m_direct.sourcePitch + from;
    if (m_opaque) {
      for (size_t i = 0; i < n; ++i)
        if (shown(from + static_cast<int64_t>(i))) d[i] = s[i];
      return;
    }
    uint32_t* out = RowBuffer(n);
    std::memcpy(out, d, n * sizeof(uint32_t));
    m_blitter->Row(out, s, n);
    for (size_t i = 0; i < n; ++i)
      if (shown(from + static_cast<int64_t>(i))) d[i] = out[i];
  }

  // The cells of grid row y (height h) from source column x0 on, cw wide (the last cut to the
  // source), cell k drawn at (X() + at[k].x, Y() + at[k].y): Draw of each in turn. Between two
  // memory surfaces a copying mode runs a loop over the cells compiled for its operation; a
  // blending mode queues them for the block function.
  template <class Point>
  void DrawCellRow(int64_t x0, int64_t y, int cw, int h, const Point* at, int count) {
    if (m_blitter == nullptr) {
      for (int k = 0; k < count; ++k) {
        const int64_t left = x0 + int64_t{k} * cw;
        Draw(left, y, TransitionMin(left + cw, m_w), y + h, X() + at[k].x, Y() + at[k].y);
      }
      return;
    }
    if (m_blends) {
      if (!m_columns.empty()) FlushColumns();
      for (int k = 0; k < count; ++k) {
        const int64_t left = x0 + int64_t{k} * cw;
        Piece piece;
        if (Cut(left, y, TransitionMin(left + cw, m_w), y + h, X() + at[k].x, Y() + at[k].y, &piece))
          QueueBlock(piece);
      }
      return;
    }
    Flush();
    m_blitter->Visit([&](const auto& op) {
      Piece run{};
      for (int k = 0; k < count; ++k) {
        const int64_t left = x0 + int64_t{k} * cw;
        Piece piece;
        if (!Cut(left, y, TransitionMin(left + cw, m_w), y + h, X() + at[k].x, Y() + at[k].y, &piece)) continue;
        if (run.w > 0 && Continues(run, piece)) {
          run.w += piece.w;
          continue;
        }
        if (run.w > 0) DrawCut(op, run);
        run = piece;
      }
      if (run.w > 0) DrawCut(op, run);
    });
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

  // Draws what waits to be drawn.
  void Flush() {
    if (m_pending.w > 0) DrawPending();
    if (m_queued > 0) FlushBlocks();
    if (!m_columns.empty()) FlushColumns();
  }

 private:
  // A one-pixel-wide piece: source column sx drawn into destination column dx over destination
  // rows [top, bottom) (inside the clip), starting at source row `row` and stepping down the
  // source as a stretched blit steps (1:1: one row per row), never below lastRow.
  struct Column {
    int32_t sx, dx, top, bottom;
    int64_t row, lastRow;
    int32_t ey, qy, ry, dy;
  };

  void DrawChecked(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t destX, int64_t destY);
  void DrawPiece(const RECT& r, int x, int y, const int* destSize);
  void WriteClip() {
    if (m_call.clip != nullptr) *m_call.clip = m_clip;
    m_clipWritten = true;
  }
  void Collect(const Column& column);
  void FlushColumns();
  // Room for a row of n pixels.
  uint32_t* RowBuffer(size_t n);

  // A piece cut to both surfaces: source corner, destination corner, size.
  struct Piece {
    int64_t sx, sy, dx, dy, w, h;
  };

  // A 1:1 piece inside the source cut to the clip as the surface's blit cuts it (and the clip
  // written back as the blit writes it); false when nothing is left.
  [[gnu::always_inline]] bool Cut(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t destX,
                                  int64_t destY, Piece* piece) {
    // Wholly inside the clip (the common case; the point then lies in int).
    if (destX >= m_clip.left && destY >= m_clip.top && destX + (right - left) <= m_clip.right &&
        destY + (bottom - top) <= m_clip.bottom) {
      if (!m_clipWritten) WriteClip();
      *piece = Piece{left, top, destX, destY, right - left, bottom - top};
      return true;
    }
    // A point outside int is skipped before any blit, so it does not write the clip back.
    if (destX < INT32_MIN || destX > INT32_MAX || destY < INT32_MIN || destY > INT32_MAX) return false;
    if (!m_clipWritten) WriteClip();
    const int64_t l = TransitionMax(destX, m_clip.left);
    const int64_t t = TransitionMax(destY, m_clip.top);
    const int64_t r = TransitionMin(destX + (right - left), m_clip.right);
    const int64_t b = TransitionMin(destY + (bottom - top), m_clip.bottom);
    if (l >= r || t >= b) return false;
    *piece = Piece{left + (l - destX), top + (t - destY), l, t, r - l, b - t};
    return true;
  }

  // Side by side, on the same rows, moved alike: one piece, drawn with the row function.
  static bool Continues(const Piece& a, const Piece& b) {
    return a.sy == b.sy && a.dy == b.dy && a.h == b.h && a.sx + a.w == b.sx && a.dx + a.w == b.dx;
  }

  // A 1:1 piece inside the source, cut and drawn. A copied piece waits a moment, as the next
  // may continue it; a blended one is queued for the block function.
  [[gnu::always_inline]] void Put(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t destX,
                                  int64_t destY) {
    Piece piece;
    if (!Cut(left, top, right, bottom, destX, destY, &piece)) return;
    if (right - left == 1 && piece.h > 1) {
      Collect(Column{static_cast<int32_t>(piece.sx), static_cast<int32_t>(piece.dx), static_cast<int32_t>(piece.dy),
                     static_cast<int32_t>(piece.dy + piece.h), piece.sy, INT64_MAX, -1, 1, 0, 1});
      return;
    }
    if (!m_columns.empty()) FlushColumns();
    if (m_blends) {
      QueueBlock(piece);
      return;
    }
    if (m_pending.w > 0) {
      if (Continues(m_pending, piece)) {
        m_pending.w += piece.w;
        return;
      }
      DrawPending();
    }
    m_pending = piece;
  }

  void QueueBlock(const Piece& piece) {
    uint32_t* const d = m_direct.dest + piece.dy * m_direct.destPitch + piece.dx;
    const uint32_t* const s = m_direct.source + piece.sy * m_direct.sourcePitch + piece.sx;
    if (m_queued > 0) {
      // The same rows of both surfaces, side by side: one block.
      blit_rows::Block& last = m_queue[m_queued - 1];
      const QueuedRows& rows = m_queueRows[m_queued - 1];
      if (rows.sy == piece.sy && rows.dy == piece.dy && last.h == piece.h && last.d + last.w == d &&
          last.s + last.w == s) {
        last.w += static_cast<uint32_t>(piece.w);
        return;
      }
      if (m_queued == kQueueSize) FlushBlocks();
    }
    m_queue[m_queued] = blit_rows::Block{d, s, static_cast<uint32_t>(piece.w), static_cast<uint32_t>(piece.h)};
    m_queueRows[m_queued++] = QueuedRows{piece.sy, piece.dy};
  }
  void FlushBlocks() {
    m_blitter->DrawBlocks(m_queue, m_queued, m_direct.destPitch, m_direct.sourcePitch);
    m_queued = 0;
  }

  template <class Op>
  void DrawCut(const Op& op, const Piece& p) const {
    m_blitter->Draw(op, m_direct.dest + p.dy * m_direct.destPitch + p.dx, m_direct.destPitch,
                    m_direct.source + p.sy * m_direct.sourcePitch + p.sx, m_direct.sourcePitch,
                    static_cast<size_t>(p.w), static_cast<size_t>(p.h));
  }
  void DrawPending() {
    m_blitter->Visit([&](const auto& op) { DrawCut(op, m_pending); });
    m_pending.w = 0;
  }

  // The pixels of both surfaces, for the rows and columns drawn here.
  struct DirectPixels {
    uint32_t* dest = nullptr;
    int64_t destPitch = 0;
    const uint32_t* source = nullptr;
    int64_t sourcePitch = 0;
  };

  const TransitionCall& m_call;
  int m_w;
  int m_h;
  // Both targets plain memory surfaces, apart: the pieces go to the destination's blitter.
  std::unique_ptr<PieceBlitter> m_blitter;
  DirectPixels m_direct;
  bool m_opaque = false;  // mode 0: a drawn pixel is the source pixel
  // The clip as the surface narrows it to itself, written back on the first piece as the
  // surface's own blits do.
  RECT m_clip{};
  bool m_clipWritten = false;
  Piece m_pending{};  // w 0: none
  // The blending modes' pieces, drawn in order by the block function; the rows they start on tell
  // neighbours on one row from blocks that merely meet in memory.
  struct QueuedRows {
    int64_t sy, dy;
  };
  static constexpr size_t kQueueSize = 128;
  bool m_blends = false;
  size_t m_queued = 0;
  blit_rows::Block m_queue[kQueueSize];
  QueuedRows m_queueRows[kQueueSize];
  std::vector<Column> m_columns;
  std::vector<uint8_t> m_columnTaken;  // per destination column: a collected column draws there
  std::vector<uint32_t> m_rowBuffer;   // a row blended aside, a tile of column samples
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
    pieces.Flush();
    return 0;
  } else {
    const int r = body(pieces);
    pieces.Flush();
    return r;
  }
}

// Defines a catalogue entry whose pieces are the given statements over TransitionPieces& p.
#define VREL_TRANSITION_ENTRY(name, ...)                                                                    \
  int name(CDrawTarget* d, CDrawTarget* s, int x, int y, int phase, int mode, int alpha, RECT* clip) {      \
    return RunTransition({d, s, x, y, phase, mode, alpha, clip}, [](TransitionPieces& p) { __VA_ARGS__; }); \
  }
