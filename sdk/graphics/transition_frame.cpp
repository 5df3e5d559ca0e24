#include "sdk/graphics/transition_frame.h"

#include <algorithm>
#include <climits>
#include <typeinfo>

#include "sdk/graphics/blit_clip.h"
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

// Between two memory surfaces the pieces go to the destination's blitter, made once per effect:
// resolving the surfaces and the operation once rather than once per piece matters when a frame
// is a few hundred thousand pieces. Only the exact surface class qualifies: a derived one may
// draw differently.
TransitionPieces::TransitionPieces(const TransitionCall& call, int w, int h) : m_call(call), m_w(w), m_h(h) {
  if (typeid(*call.dest) != typeid(CMemPlane)) return;
  CMemPlane* source = CMemPlane::AsMemPlane(call.source);
  if (source == nullptr) return;
  CMemPlaneImpl& dest = *static_cast<CMemPlane*>(call.dest)->GetImpl();
  const CMemPlaneImpl& src = *source->GetImpl();
  // Pieces inside w x h are read straight from the pixels: the surface must be that size,
  // and a source drawn onto itself keeps the blit's own order of reads and writes.
  if (dest.GetPixels() == nullptr || src.GetPixels() == nullptr || src.Width() != w || src.Height() != h ||
      dest.GetPixels() == src.GetPixels())
    return;
  using Op = CMemPlaneImpl::PieceOp;
  switch (call.mode) {
    case 0:
      m_blitter = dest.MakePieceBlitter(Op::kBltFast, source, 0, 0);
      break;
    case 1:
      m_blitter = dest.MakePieceBlitter(Op::kBlt, source, 0, 0);
      break;
    case 2:
      m_blitter = dest.MakePieceBlitter(Op::kBlendBltAlpha, source, CDrawTarget::RatioDestFactor(call.alpha),
                                        CDrawTarget::RatioSourceFactor(call.alpha));
      break;
    case 3:
      m_blitter = dest.MakePieceBlitter(Op::kBltNatural, source, 0, 0);
      break;
    default:
      return;
  }
  m_direct = DirectPixels{dest.GetPixels(), dest.Width(), src.GetPixels(), src.Width()};
  m_opaque = call.mode == 0;
  m_blends = m_blitter != nullptr && m_blitter->Blends();
  const RECT& surface = dest.GetSurfaceRect();
  m_clip = call.clip != nullptr ? *call.clip : surface;
  m_clip.left = std::max<LONG>(m_clip.left, 0);
  m_clip.top = std::max<LONG>(m_clip.top, 0);
  m_clip.right = std::min(m_clip.right, surface.right);
  m_clip.bottom = std::min(m_clip.bottom, surface.bottom);
}

void TransitionPieces::DrawPiece(const RECT& r, int x, int y, const int* destSize) {
  if (m_blitter == nullptr) {
    TransitionDraw(m_call, &r, x, y, destSize);
    return;
  }
  Flush();
  m_blitter->Blit(x, y, &r, destSize, m_call.clip);
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
  if (m_blitter != nullptr && right - left == 1 && destW == 1 && left >= 0 && right <= m_w && top >= 0 &&
      bottom <= m_h) {
    // A column stretched down: the blit's own geometry, its rows stepped in FlushColumns.
    BlitGeometry g;
    const CMemPlaneImpl& dest = *static_cast<CMemPlane*>(m_call.dest)->GetImpl();
    const RECT source{0, 0, m_w, m_h};
    const int failed = ClipBlt(g, dest.GetSurfaceRect(), source, static_cast<int>(destX), static_cast<int>(destY), &r,
                               size, m_call.clip, false);
    m_clipWritten = true;
    if (failed != 0) return;
    if (g.oneToOne) {
      Collect(Column{g.s.left, g.d.left, g.d.top, g.d.bottom, g.s.top, INT64_MAX, -1, 1, 0, 1});
    } else {
      const int64_t sx = TransitionMin(g.s.left, int64_t{g.limit.right} - 1);
      if (sx < 0 || sx >= m_w) return;
      Collect(Column{static_cast<int32_t>(sx), g.d.left, g.d.top, g.d.bottom, g.s.top, int64_t{g.limit.bottom} - 1,
                     g.ey, g.qy, g.ry, g.dy});
    }
    return;
  }
  DrawPiece(r, static_cast<int>(destX), static_cast<int>(destY), size);
}

void TransitionPieces::Collect(const Column& column) {
  if (m_pending.w > 0) DrawPending();
  if (m_queued > 0) FlushBlocks();
  if (m_columnTaken.empty()) m_columnTaken.assign(static_cast<size_t>(m_clip.right), 0);
  uint8_t& taken = m_columnTaken[static_cast<size_t>(column.dx)];
  if (taken) FlushColumns();
  taken = 1;
  m_columns.push_back(column);
}

uint32_t* TransitionPieces::RowBuffer(size_t n) {
  if (m_rowBuffer.size() < n) m_rowBuffer.resize(n);
  return m_rowBuffer.data();
}

// The columns lie on different destination columns, so they may be drawn in any order: in tiles
// of up to 64 neighbouring destination columns by 64 rows. Each column's samples are gathered
// down the tile (its rows stepped as the blit steps them) into a buffer held row by row; then
// each run of neighbouring covered pixels is drawn from the buffer, through the block function,
// and the pixels no column covers stay as they are.
void TransitionPieces::FlushColumns() {
  constexpr int32_t kTile = 64;
  constexpr size_t kBlocks = 256;
  std::sort(m_columns.begin(), m_columns.end(), [](const Column& a, const Column& b) { return a.dx < b.dx; });
  if (m_rowBuffer.size() < 2 * kTile * kTile) m_rowBuffer.resize(2 * kTile * kTile);
  uint32_t* const tile = m_rowBuffer.data();
  uint8_t covered[kTile * kTile];
  blit_rows::Block blocks[kBlocks];
  size_t queued = 0;
  const auto drawBlocks = [&] {
    m_blitter->DrawBlocks(blocks, queued, m_direct.destPitch, kTile);
    queued = 0;
  };
  // The runs of covered pixels in a tile row, for `rows` rows covered alike, as blocks.
  const auto blockRuns = [&](const uint8_t* mask, size_t n, uint32_t* d, const uint32_t* samples, uint32_t rows) {
    for (size_t k = 0; k < n;) {
      if (!mask[k]) {
        ++k;
        continue;
      }
      size_t end = k + 1;
      while (end < n && mask[end]) ++end;
      if (queued == kBlocks) drawBlocks();
      blocks[queued++] = blit_rows::Block{d + k, samples + k, static_cast<uint32_t>(end - k), rows};
      k = end;
    }
  };
  for (size_t first = 0; first < m_columns.size();) {
    const int32_t x0 = m_columns[first].dx;
    size_t last = first;
    int32_t top = INT32_MAX, bottom = INT32_MIN;
    // Whether every column runs 1:1 on the source over the same rows: then every row of the
    // tile is covered alike.
    bool uniform = true;
    for (; last < m_columns.size() && m_columns[last].dx < x0 + kTile; ++last) {
      const Column& c = m_columns[last];
      top = std::min(top, c.top);
      bottom = std::max(bottom, c.bottom);
      uniform = uniform && c.top == m_columns[first].top && c.bottom == m_columns[first].bottom && c.qy == 1 &&
                c.ry == 0 && c.row >= 0 && c.row + (c.bottom - c.top) <= TransitionMin(m_h, c.lastRow);
    }
    const auto n = static_cast<size_t>(m_columns[last - 1].dx - x0 + 1);
    if (uniform) {
      std::fill_n(covered, n, 0);
      for (size_t i = first; i < last; ++i) covered[m_columns[i].dx - x0] = 1;
    }
    for (int32_t ty = top; ty < bottom; ty += kTile) {
      const int32_t rows = std::min(kTile, bottom - ty);
      if (!uniform) std::fill_n(covered, static_cast<size_t>(rows) * kTile, 0);
      for (size_t i = first; i < last; ++i) {
        Column& c = m_columns[i];
        const int32_t k = c.dx - x0;
        const int32_t from = std::max(ty, c.top);
        const int32_t to = std::min(ty + rows, c.bottom);
        if (from >= to) continue;
        // The stepping in locals: the stores into the tile could otherwise touch the column.
        int64_t row = c.row;
        int32_t ey = c.ey;
        const uint32_t* const source = m_direct.source + c.sx;
        const int64_t pitch = m_direct.sourcePitch;
        if (c.qy == 1 && c.ry == 0 && row >= 0 && row + (to - from) <= TransitionMin(m_h, c.lastRow)) {
          // 1:1 and on the source all the way.
          const uint32_t* at = source + row * pitch;
          for (int32_t y = from; y < to; ++y, at += pitch) tile[(y - ty) * kTile + k] = *at;
          if (!uniform)
            for (int32_t y = from; y < to; ++y) covered[(y - ty) * kTile + k] = 1;
          row += to - from;
        } else {
          for (int32_t y = from; y < to; ++y) {
            const int64_t sy = std::min(row, c.lastRow);
            if (sy >= 0 && sy < m_h) {
              tile[(y - ty) * kTile + k] = source[sy * pitch];
              covered[(y - ty) * kTile + k] = 1;
            }
            row += c.qy;
            ey += c.ry;
            if (ey >= 0) {
              ++row;
              ey -= c.dy;
            }
          }
        }
        c.row = row;
        c.ey = ey;
      }
      uint32_t* const d = m_direct.dest + int64_t{ty} * m_direct.destPitch + x0;
      if (uniform) {
        blockRuns(covered, n, d, tile, static_cast<uint32_t>(rows));
      } else {
        // Rows covered alike (most of them: a column's range ends at a few rows) share blocks.
        for (int32_t band = 0; band < rows;) {
          int32_t end = band + 1;
          while (end < rows && std::memcmp(covered + end * kTile, covered + band * kTile, n) == 0) ++end;
          blockRuns(covered + band * kTile, n, d + band * m_direct.destPitch, tile + band * kTile,
                    static_cast<uint32_t>(end - band));
          band = end;
        }
      }
      // The next tile reuses the buffer.
      if (queued > 0) drawBlocks();
    }
    first = last;
  }
  for (const Column& c : m_columns) m_columnTaken[static_cast<size_t>(c.dx)] = 0;
  m_columns.clear();
}
