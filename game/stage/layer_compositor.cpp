// The per-frame compositor and the sprite drawer. A frame whose layer records and fading opacities
// equal those of the last full composition costs one copy of the composed picture; any change (a
// load, a cross-fade, a motion, a wave) composes all 64 layers again.
#include <algorithm>
#include <cstring>
#include <span>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "game/stage/keyframe_curve.h"
#include "game/stage/layer_module.h"
#include "game/stage/picture_layers.h"
#include "game/script/saturate.h"
#include "platform/clock.h"
#include "sdk/graphics/blit_rows.h"
#include "sdk/graphics/cos_table.h"
#include "sdk/graphics/mem_plane_mmx.h"
#include "sdk/graphics/mem_plane_x86.h"
#include "sdk/graphics/pixel_math.h"

namespace {

constexpr float kFrameTime = 1.0f / 30.0f;

int32_t ClampLevel(int64_t level) { return static_cast<int32_t>(std::clamp<int64_t>(level, 0, 255)); }

void DrawWave(CMemPlane& target, CMemPlane& surface, int x, int y, int opacity) {
  static const CCosTable cosines;
  int w = 0, h = 0;
  surface.GetSize(&w, &h);
  // Unsigned: near the clock's start t / 8 - 128 is negative, and the index must still wrap.
  const uint32_t t = platform::NowMs();
  const int size[2] = {w + 32, 1};
  for (int r = 0; r < h; ++r) {
    const uint32_t index = (t / 8 + static_cast<uint32_t>(r) / 2 - 128u) & (CCosTable::kSteps - 1);
    const int swing = cosines[static_cast<int>(index)] >> 14;
    const RECT row{0, r, w, r + 1};
    // Positions come from saved records and may stand anywhere: the sums saturate.
    const int atX = SaturateToInt32(static_cast<double>(x) + swing);
    const int atY = SaturateToInt32(static_cast<double>(y) + r);
    target.BlendBltNatural(&surface, atX, atY, opacity, &row, size, nullptr);
  }
  InvalidateComposition();
}

void DrawSpriteOn(CMemPlane& target, CMemPlane* surface, int x, int y, int opacity, int effect) {
  if (!surface || opacity <= 0) return;
  if (opacity > 254) opacity = 256;
  if (effect == 0) {
    if (surface->HasAlpha() || opacity < 256) {
      target.BlendBltNatural(surface, x, y, opacity, nullptr, nullptr, nullptr);
    } else {
      target.GetImpl()->BltFastKeepAlpha(surface, x, y, nullptr, nullptr, nullptr);
    }
    MarkDisplayDirty();
  } else if (effect == 1) {
    DrawWave(target, *surface, x, y, opacity);
    MarkDisplayDirty();
  }
}

// Drawing a surface with per-pixel alpha need not run the blend kernel over every pixel of it.
// Where the alpha is 0 the opaque blit leaves the colour exactly as it was and the blend at an
// opacity lowers each non-zero channel by one; where it is 255 the opaque blit copies the colour.
// Both clear the alpha byte. These cheap cases are done here and only the rest goes through the
// kernels, so the picture is the same bit for bit. The alpha byte that an opaque blit would have
// cleared over transparent pixels is cleared later, through the pending intervals, for the union of
// every such rectangle. And what the opaque core of a higher layer covers is not drawn at all: the
// core's copy replaces colour and alpha alike.
class SpanComposer {
 public:
  explicit SpanComposer(CMemPlane& target)
      : m_target(target),
        m_height(target.GetImpl()->Height()),
        m_pending(static_cast<size_t>(m_height)),
        // The soft edges are short runs on every row: they are blended here with the formula of
        // the target's kernel class, without a blit's set-up for each. Another class goes
        // through its kernels.
        m_class(dynamic_cast<CMemPlaneMMX*>(target.GetImpl())   ? KernelClass::kPacked
                : dynamic_cast<CMemPlaneX86*>(target.GetImpl()) ? KernelClass::kPlain
                                                                : KernelClass::kOther) {}

  void Add(SurfaceSpans& spans, CMemPlane& surface, int x, int y, int opacity, int effect) {
    if (opacity > 254) opacity = 256;
    m_items.push_back(Item{&spans, &surface, x, y, opacity, effect});
  }

  // Draws every item added, in order.
  void Compose() {
    PlanVisible();
    for (size_t i = 0; i < m_items.size(); ++i) {
      const Item& item = m_items[i];
      if (SpanPath(item)) {
        DrawSpans(i);
      } else {
        // Only the wave can leave an alpha byte that is not 0 (a stretched keyed copy); the pending
        // clearing must come before it.
        if (item.effect == 1) Flush();
        DrawSpriteOn(m_target, item.surface, item.x, item.y, item.opacity, item.effect);
      }
    }
    Flush();
  }

 private:
  struct Item {
    SurfaceSpans* spans;
    CMemPlane* surface;
    int x, y, opacity, effect;
  };
  // A run of target columns [left, right) of one row.
  struct Run {
    int32_t left = 0;
    int32_t right = 0;
  };

  static bool SpanPath(const Item& item) { return item.effect == 0 && item.opacity > 0 && item.surface->HasAlpha(); }

  void Flush() {
    CMemPlaneImpl& t = *m_target.GetImpl();
    for (size_t row = 0; row < m_pending.size(); ++row) {
      std::vector<Run>& runs = m_pending[row];
      if (runs.empty()) continue;
      std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.left < b.left; });
      uint32_t* px = t.GetRow(static_cast<int>(row));
      int32_t done = 0;
      for (const Run& r : runs) {
        for (int32_t i = std::max(r.left, done); i < r.right; ++i) px[i] &= 0x00FFFFFFu;
        done = std::max(done, r.right);
      }
      runs.clear();
    }
  }

  static const SurfaceSpans& Spans(SurfaceSpans& s, const CMemPlane& surface) {
    if (s.surface == &surface) return s;
    const CMemPlaneImpl& p = *surface.GetImpl();
    const int w = p.Width();
    const int h = p.Height();
    s.surface = &surface;
    s.begin.assign(static_cast<size_t>(h), w);
    s.end.assign(static_cast<size_t>(h), 0);
    s.opaqueBegin.assign(static_cast<size_t>(h), 0);
    s.opaqueEnd.assign(static_cast<size_t>(h), 0);
    s.bounds = RECT{w, h, 0, 0};
    s.soft.clear();
    s.softStart.assign(static_cast<size_t>(h), 0);
    for (int r = 0; r < h; ++r) {
      const uint32_t* row = p.GetRow(r);
      const auto i = static_cast<size_t>(r);
      int b = 0;
      while (b < w && (row[b] >> 24) == 0) ++b;
      int e = w;
      while (e > b && (row[e - 1] >> 24) == 0) --e;
      int ob = b;
      while (ob < e && (row[ob] >> 24) != 255) ++ob;
      int oe = ob;
      while (oe < e && (row[oe] >> 24) == 255) ++oe;
      s.begin[i] = b;
      s.end[i] = e;
      s.opaqueBegin[i] = ob;
      s.opaqueEnd[i] = oe;
      s.softStart[i] = s.soft.size();
      s.soft.insert(s.soft.end(), row + b, row + ob);
      s.soft.insert(s.soft.end(), row + oe, row + e);
      if (b < e) {
        s.bounds.left = std::min(s.bounds.left, b);
        s.bounds.right = std::max(s.bounds.right, e);
        s.bounds.top = std::min(s.bounds.top, r);
        s.bounds.bottom = r + 1;
      }
    }
    return s;
  }

  // From the top item down: for each item and row, the runs of target columns that the opaque cores
  // of the items above it leave uncovered. Only those are drawn.
  void PlanVisible() {
    m_visible.assign(m_items.size(), {});
    std::vector<std::vector<Run>> covered(static_cast<size_t>(m_height));
    const int width = m_target.GetImpl()->Width();
    for (size_t i = m_items.size(); i-- > 0;) {
      const Item& item = m_items[i];
      if (!SpanPath(item)) continue;
      const SurfaceSpans& spans = Spans(*item.spans, *item.surface);
      const int64_t x = item.x;
      const int64_t left = std::max<int64_t>(x, 0);
      const int64_t right = std::min<int64_t>(x + item.surface->GetImpl()->Width(), width);
      const int64_t top = std::max<int64_t>(item.y, 0);
      const int64_t bottom = std::min<int64_t>(int64_t{item.y} + static_cast<int64_t>(spans.begin.size()), m_height);
      if (left >= right || top >= bottom) continue;
      const bool opaque = item.opacity >= 256;
      const auto column = [&](int32_t c) { return static_cast<int32_t>(std::clamp<int64_t>(x + c, left, right)); };
      Visible& v = m_visible[i];
      v.start.reserve(static_cast<size_t>(bottom - top) + 1);
      for (int64_t dy = top; dy < bottom; ++dy) {
        const auto r = static_cast<size_t>(dy - item.y);
        v.start.push_back(static_cast<uint32_t>(v.pieces.size()));
        std::vector<Run>& cover = covered[static_cast<size_t>(dy)];
        const Run extent = opaque ? Run{column(spans.begin[r]), std::max(column(spans.begin[r]), column(spans.end[r]))}
                                  : Run{static_cast<int32_t>(left), static_cast<int32_t>(right)};
        Subtract(extent, cover, v.pieces);
        if (opaque) Insert(cover, Run{column(spans.opaqueBegin[r]), column(spans.opaqueEnd[r])});
      }
      v.start.push_back(static_cast<uint32_t>(v.pieces.size()));
    }
  }

  // The parts of extent outside the sorted, separate runs of cover.
  static void Subtract(Run extent, const std::vector<Run>& cover, std::vector<Run>& out) {
    int32_t at = extent.left;
    for (const Run& c : cover) {
      if (at >= extent.right || c.left >= extent.right) break;
      if (c.right <= at) continue;
      if (c.left > at) out.push_back(Run{at, c.left});
      at = c.right;
    }
    if (at < extent.right) out.push_back(Run{at, extent.right});
  }

  // Adds a run to sorted, separate runs, merging those it meets.
  static void Insert(std::vector<Run>& runs, Run n) {
    if (n.left >= n.right) return;
    size_t i = 0;
    while (i < runs.size() && runs[i].right < n.left) ++i;
    size_t j = i;
    while (j < runs.size() && runs[j].left <= n.right) {
      n.left = std::min(n.left, runs[j].left);
      n.right = std::max(n.right, runs[j].right);
      ++j;
    }
    runs.erase(runs.begin() + static_cast<std::ptrdiff_t>(i), runs.begin() + static_cast<std::ptrdiff_t>(j));
    runs.insert(runs.begin() + static_cast<std::ptrdiff_t>(i), n);
  }

  // The kernel's blend of the pixels [from, to) of source row r, drawn at (x + from, dy); soft holds
  // the same pixels in a row of their own.
  void Blend(const Item& item, int dy, int r, int32_t from, int32_t to, const uint32_t* soft) {
    if (from >= to) return;
    const RECT piece{from, r, to, r + 1};
    CMemPlaneImpl& t = *m_target.GetImpl();
    if (item.opacity >= 256 && m_class != KernelClass::kOther) {
      // Only called for columns inside the target.
      uint32_t* d = t.GetRow(dy) + (int64_t{item.x} + from);
      const int32_t n = to - from;
      if (m_class == KernelClass::kPacked) {
        // The packed class's row function: the same bits as its formula, several pixels a step.
        blit_rows::ActiveRows().alpha(d, soft, static_cast<size_t>(n));
      } else {
        for (int32_t i = 0; i < n; ++i) d[i] = pixel::PlainBltAlpha(soft[i], d[i]);
      }
    } else if (item.opacity >= 256) {
      t.BltAlpha(item.surface, item.x + from, dy, &piece, nullptr, nullptr);
    } else {
      const uint32_t f = static_cast<uint32_t>(item.opacity) * 0x010101u;
      t.BlendBltAlpha(item.surface, item.x + from, dy, 0xFFFFFFu - f, f, &piece, nullptr, nullptr);
    }
  }

  void DrawSpans(size_t index) {
    const Item& item = m_items[index];
    CMemPlane& surface = *item.surface;
    const int x = item.x;
    const int y = item.y;
    CMemPlaneImpl& t = *m_target.GetImpl();
    const CMemPlaneImpl& s = *surface.GetImpl();
    const SurfaceSpans& spans = Spans(*item.spans, surface);
    // The part of the surface on the target, in source columns and target rows.
    const int64_t left = std::max<int64_t>(x, 0);
    const int64_t right = std::min<int64_t>(int64_t{x} + s.Width(), t.Width());
    const int64_t top = std::max<int64_t>(y, 0);
    const int64_t bottom = std::min<int64_t>(int64_t{y} + s.Height(), t.Height());
    if (left >= right || top >= bottom) return;
    const auto firstColumn = static_cast<int32_t>(left - x);
    const auto lastColumn = static_cast<int32_t>(right - x);
    const bool opaque = item.opacity >= 256;
    const RECT& box = spans.bounds;
    const Visible& visible = m_visible[index];
    if (visible.start.empty()) return;
    for (int64_t dy = top; dy < bottom; ++dy) {
      const auto r = static_cast<size_t>(dy - y);
      uint32_t* dstRow = t.GetRow(static_cast<int>(dy));
      const auto dst = [dstRow, x](int32_t column) -> uint32_t& { return dstRow[int64_t{x} + column]; };
      const auto k = static_cast<size_t>(dy - top);
      const std::span<const Run> pieces(visible.pieces.data() + visible.start[k],
                                        visible.start[k + 1] - visible.start[k]);
      if (opaque) {
        m_pending[static_cast<size_t>(dy)].push_back(Run{static_cast<int32_t>(left), static_cast<int32_t>(right)});
        const int32_t b = std::clamp(spans.begin[r], firstColumn, lastColumn);
        const int32_t e = std::clamp(spans.end[r], b, lastColumn);
        const int32_t ob = std::clamp(spans.opaqueBegin[r], b, e);
        const int32_t oe = std::clamp(spans.opaqueEnd[r], ob, e);
        const Row row{s.GetRow(static_cast<int>(r)),
                      spans.soft.data() + spans.softStart[r],
                      spans.begin[r],
                      spans.opaqueBegin[r],
                      spans.opaqueEnd[r],
                      static_cast<int>(dy),
                      static_cast<int>(r)};
        for (const Run& piece : pieces) DrawPiece(item, dst, row, piece.left - x, piece.right - x, ob, oe);
      } else {
        // Outside the rectangle that holds the picture's alpha only the cheap dimming is left.
        const bool inBox = static_cast<int32_t>(r) >= box.top && static_cast<int32_t>(r) < box.bottom;
        const int32_t bl = inBox ? std::clamp(box.left, firstColumn, lastColumn) : lastColumn;
        const int32_t br = inBox ? std::clamp(box.right, bl, lastColumn) : lastColumn;
        const uint32_t* src = s.GetRow(static_cast<int>(r));
        for (const Run& piece : pieces) SeeThroughPiece(item, dst, src, piece.left - x, piece.right - x, bl, br);
      }
    }
    MarkDisplayDirty();
  }

  // Source columns [from, to) of a row drawn at an opacity: dimmed outside the columns [bl, br) of
  // the picture's alpha, blended inside them.
  template <class Dst>
  void SeeThroughPiece(const Item& item, const Dst& dst, const uint32_t* src, int32_t from, int32_t to, int32_t bl,
                       int32_t br) {
    if (from >= to) return;
    const int32_t dimTo = std::min(to, bl);
    if (from < dimTo) DimByOne(&dst(from), dimTo - from);
    const int32_t blendFrom = std::max(from, bl), blendTo = std::min(to, br);
    if (blendFrom < blendTo) {
      // The alpha-weighted blend gives the same pixels in both kernel classes, and the row
      // function needs no set-up per call.
      const uint32_t f = static_cast<uint32_t>(item.opacity) * 0x010101u;
      blit_rows::ActiveRows().blendAlpha(&dst(blendFrom), src + blendFrom, static_cast<size_t>(blendTo - blendFrom),
                                         0xFFFFFFu - f, f);
    }
    const int32_t dimFrom = std::max(from, br);
    if (dimFrom < to) DimByOne(&dst(dimFrom), to - dimFrom);
  }

  // One source row as the spans describe it (unclipped columns), and where it lands.
  struct Row {
    const uint32_t* pixels;
    const uint32_t* soft;
    int32_t begin, opaqueBegin, opaqueEnd;
    int dy, r;
    // The soft copy of source column c (outside the opaque run).
    const uint32_t* Soft(int32_t c) const {
      return c < opaqueBegin ? soft + (c - begin) : soft + (opaqueBegin - begin) + (c - opaqueEnd);
    }
  };

  // Source columns [from, to) of a row drawn opaque: the soft parts blended, the core copied. ob
  // and oe are the opaque run cut to the columns on the target.
  template <class Dst>
  void DrawPiece(const Item& item, const Dst& dst, const Row& row, int32_t from, int32_t to, int32_t ob, int32_t oe) {
    if (from >= to) return;
    const int32_t leftTo = std::min(to, ob);
    if (from < leftTo) Blend(item, row.dy, row.r, from, leftTo, row.Soft(from));
    const int32_t copyFrom = std::max(from, ob), copyTo = std::min(to, oe);
    if (copyFrom < copyTo) CopyColour(&dst(copyFrom), row.pixels + copyFrom, copyTo - copyFrom);
    const int32_t rightFrom = std::max(from, oe);
    if (rightFrom < to) Blend(item, row.dy, row.r, rightFrom, to, row.Soft(rightFrom));
  }

  // An opaque source pixel drawn opaque: its colour, alpha 0.
  static void CopyColour(uint32_t* dst, const uint32_t* src, int32_t n) {
    int32_t i = 0;
#if defined(__SSE2__)
    const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
    for (; i + 4 <= n; i += 4) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_and_si128(v, colour));
    }
#endif
    for (; i < n; ++i) dst[i] = src[i] & 0x00FFFFFFu;
  }

  // A transparent source pixel blended at an opacity: each channel D becomes D * 255 / 256 rounded
  // down, that is D - 1 for every D above 0 (a saturating subtraction); the alpha byte becomes 0.
  static void DimByOne(uint32_t* dst, int32_t n) {
    int32_t i = 0;
#if defined(__SSE2__)
    const __m128i one = _mm_set1_epi32(0x00010101);
    const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
    for (; i + 4 <= n; i += 4) {
      const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_and_si128(_mm_subs_epu8(d, one), colour));
    }
#endif
    for (; i < n; ++i) {
      const uint32_t d = dst[i];
      const uint32_t nonZero = static_cast<uint32_t>((d & 0xFFu) != 0) |
                               static_cast<uint32_t>(((d >> 8) & 0xFFu) != 0) << 8 |
                               static_cast<uint32_t>(((d >> 16) & 0xFFu) != 0) << 16;
      dst[i] = (d & 0x00FFFFFFu) - nonZero;
    }
  }

  CMemPlane& m_target;
  int m_height;
  std::vector<std::vector<Run>> m_pending;
  enum class KernelClass { kPacked, kPlain, kOther };
  KernelClass m_class;
  std::vector<Item> m_items;
  // Per item: the uncovered runs of its rows on the target, pieces[start[k] .. start[k + 1]) for its
  // k-th row there; no rows for an item drawn by its kernels or off the target.
  struct Visible {
    std::vector<uint32_t> start;
    std::vector<Run> pieces;
  };
  std::vector<Visible> m_visible;
};

// Step 5: positions of the frame, with the camera, the quake and the layer's own motion.
void PlaceLayers() {
  const CameraState& c = EngineState.presentation.camera;
  for (int i = 0; i < kLayerCount; ++i) {
    if (!LayerModule.sides[static_cast<size_t>(i)].current) continue;
    PictureLayer& r = LayerRecord(i);
    float x = r.x - static_cast<float>(c.x) + static_cast<float>(c.offsetX);
    float y = r.y - static_cast<float>(c.y) + static_cast<float>(c.offsetY);
    float z = r.z - static_cast<float>(c.z) + static_cast<float>(c.offsetZ);
    if (r.motionRunning) {
      x += CurveEvaluate(r.curveX, r.motionTime, r.curveMode);
      y += CurveEvaluate(r.curveY, r.motionTime, r.curveMode);
      z += CurveEvaluate(r.curveZ, r.motionTime, r.curveMode);
      r.motionTime += kFrameTime;
      if (r.motionTime > r.lastKeyTime) {
        if (r.motionLoops) {
          r.motionTime = 0.0f;
        } else {
          // A finished motion gives its curves back.
          r.motionRunning = 0;
          CurveRelease(r.curveX);
          CurveRelease(r.curveY);
          CurveRelease(r.curveZ);
          r.curveX = r.curveY = r.curveZ = kNoCurve;
        }
      }
    }
    r.drawX = SaturateToInt32(x);
    r.drawY = SaturateToInt32(y);
    r.drawZ = SaturateToInt32(z);
  }
}

// Step 6: the cross-fades and the layer fades move on.
void AdvanceOpacities() {
  for (int i = 0; i < kLayerCount; ++i) {
    LayerSide& side = LayerModule.sides[static_cast<size_t>(i)];
    if (!side.current) continue;
    if (side.previous && side.previousStep != 0) {
      const int64_t level = int64_t{side.previousLevel} + side.previousStep;
      if (level < 0) {
        DropPrevious(side);
        side.previousStep = 0;
        side.previousLevel = 0;
      } else {
        side.previousLevel = static_cast<int32_t>(std::min<int64_t>(level, INT32_MAX));
      }
    }
    LayerLevel& opacity = LayerRecord(i).levels[0];
    if (opacity.step != 0) {
      const int64_t level = int64_t{opacity.level} + opacity.step;
      opacity.level = ClampLevel(level);
      if (level <= 0 || level >= 255) opacity.step = 0;
    }
  }
}

bool Unchanged() {
  if (!LayerModule.valid) return false;
  if (std::memcmp(LayerModule.recordsSeen.data(), EngineState.layers, sizeof EngineState.layers) != 0) return false;
  for (int i = 0; i < kLayerCount; ++i) {
    if (LayerModule.previousLevelsSeen[static_cast<size_t>(i)] !=
        LayerModule.sides[static_cast<size_t>(i)].previousLevel)
      return false;
  }
  return true;
}

void ComposeAll(CMemPlane& target) {
  if (LayerModule.compositionHook) LayerModule.compositionHook();
  LayerModule.valid = true;
  SpanComposer composer(target);
  for (int i = 0; i < kLayerCount; ++i) {
    LayerSide& side = LayerModule.sides[static_cast<size_t>(i)];
    if (!side.current) continue;
    const PictureLayer& r = LayerRecord(i);
    if (r.levels[0].level > 0) composer.Add(side.spans, *side.current, r.drawX, r.drawY, r.levels[0].level, r.effect);
    if (side.previous && side.previousLevel > 0)
      composer.Add(side.previousSpans, *side.previous, r.drawX, r.drawY, side.previousLevel, 0);
  }
  composer.Compose();
  std::memcpy(LayerModule.recordsSeen.data(), EngineState.layers, sizeof EngineState.layers);
  for (int i = 0; i < kLayerCount; ++i)
    LayerModule.previousLevelsSeen[static_cast<size_t>(i)] = LayerModule.sides[static_cast<size_t>(i)].previousLevel;
  MarkDisplayDirty();
  if (LayerModule.composition) LayerModule.composition->GetImpl()->BltFast(&target, 0, 0, nullptr, nullptr, nullptr);
}

}  // namespace

void InvalidateComposition() { LayerModule.valid = false; }

void DrawSprite(CMemPlane* surface, int x, int y, int opacity, int effect, float /*flag*/) {
  if (CMemPlane* target = LayerDrawTarget()) DrawSpriteOn(*target, surface, x, y, opacity, effect);
}

void DrawSpriteClipped(CMemPlane* surface, int x, int y, int width) {
  CMemPlane* target = LayerDrawTarget();
  if (!target || !surface || width <= 0) return;
  RECT clip{x, y, static_cast<int32_t>(std::min<int64_t>(int64_t{x} + width, INT32_MAX)),
            static_cast<int32_t>(std::min<int64_t>(int64_t{y} + 32, INT32_MAX))};
  target->BltNatural(surface, x, y, nullptr, nullptr, &clip);
  MarkDisplayDirty();
}

void DrawLayers() {
  CMemPlane* target = LayerDrawTarget();
  if (LayerModule.movie) {
    if (target) {
      if (CMemPlane* frame = LayerModule.movie->FrameSurface())
        target->GetImpl()->BltFast(frame, 0, 0, nullptr, nullptr, nullptr);
      MarkDisplayDirty();
    }
    if (!LayerModule.movie->IsPlaying()) LayerModule.movie.reset();
    return;
  }
  AdvanceCameraAndQuake();
  PlaceLayers();
  AdvanceOpacities();
  if (!target) return;
  if (Unchanged() && LayerModule.composition) {
    target->GetImpl()->BltFastKeepAlpha(LayerModule.composition.get(), 0, 0, nullptr, nullptr, nullptr);
    MarkDisplayDirty();
  } else {
    ComposeAll(*target);
  }
  DrawTransition(*target);
}
