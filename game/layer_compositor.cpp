// The per-frame compositor and the sprite drawer. A frame whose layer records and fading opacities
// equal those of the last full composition costs one copy of the composed picture; any change (a
// load, a cross-fade, a motion, a wave) composes all 64 layers again.
#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "game/keyframe_curve.h"
#include "game/layer_module.h"
#include "game/picture_layers.h"
#include "game/saturate.h"
#include "platform/clock.h"
#include "sdk/graphics/cos_table.h"

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
    target.BlendBltNatural(&surface, x + swing, y + r, opacity, &row, size, nullptr);
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
// every such rectangle.
class SpanComposer {
 public:
  explicit SpanComposer(CMemPlane& target) : m_target(target), m_pending(static_cast<size_t>(target.GetImpl()->Height())) {}

  void Draw(LayerSide& side, CMemPlane& surface, int x, int y, int opacity, int effect) {
    if (opacity > 254) opacity = 256;
    if (effect == 0 && opacity > 0 && surface.HasAlpha()) {
      DrawSpans(side, surface, x, y, opacity);
      return;
    }
    // Only the wave can leave an alpha byte that is not 0 (a stretched keyed copy); the pending
    // clearing must come before it.
    if (effect == 1) Flush();
    DrawSpriteOn(m_target, &surface, x, y, opacity, effect);
  }

  void Flush() {
    CMemPlaneImpl& t = *m_target.GetImpl();
    for (size_t row = 0; row < m_pending.size(); ++row) {
      std::vector<std::pair<int32_t, int32_t>>& spans = m_pending[row];
      if (spans.empty()) continue;
      std::sort(spans.begin(), spans.end());
      uint32_t* px = t.GetRow(static_cast<int>(row));
      int32_t done = 0;
      for (const auto& [from, to] : spans) {
        for (int32_t i = std::max(from, done); i < to; ++i) px[i] &= 0x00FFFFFFu;
        done = std::max(done, to);
      }
      spans.clear();
    }
  }

 private:
  static const SurfaceSpans& Spans(LayerSide& side, const CMemPlane& surface) {
    SurfaceSpans& s = side.spans;
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
      if (b < e) {
        s.bounds.left = std::min(s.bounds.left, b);
        s.bounds.right = std::max(s.bounds.right, e);
        s.bounds.top = std::min(s.bounds.top, r);
        s.bounds.bottom = r + 1;
      }
    }
    return s;
  }

  // The kernel's blend of the pixels [from, to) of source row r, drawn at (x + from, dy).
  void Blend(CMemPlane& surface, int x, int dy, int r, int from, int to, int opacity) {
    if (from >= to) return;
    const RECT piece{from, r, to, r + 1};
    CMemPlaneImpl& t = *m_target.GetImpl();
    if (opacity >= 256) {
      t.BltAlpha(&surface, x + from, dy, &piece, nullptr, nullptr);
    } else {
      const uint32_t f = static_cast<uint32_t>(opacity) * 0x010101u;
      t.BlendBltAlpha(&surface, x + from, dy, 0xFFFFFFu - f, f, &piece, nullptr, nullptr);
    }
  }

  void DrawSpans(LayerSide& side, CMemPlane& surface, int x, int y, int opacity) {
    CMemPlaneImpl& t = *m_target.GetImpl();
    const CMemPlaneImpl& s = *surface.GetImpl();
    const SurfaceSpans& spans = Spans(side, surface);
    // The part of the surface on the target, in source columns and target rows.
    const int64_t left = std::max<int64_t>(x, 0);
    const int64_t right = std::min<int64_t>(int64_t{x} + s.Width(), t.Width());
    const int64_t top = std::max<int64_t>(y, 0);
    const int64_t bottom = std::min<int64_t>(int64_t{y} + s.Height(), t.Height());
    if (left >= right || top >= bottom) return;
    const auto firstColumn = static_cast<int32_t>(left - x);
    const auto lastColumn = static_cast<int32_t>(right - x);
    const bool opaque = opacity >= 256;
    const RECT& box = spans.bounds;
    for (int64_t dy = top; dy < bottom; ++dy) {
      const auto r = static_cast<size_t>(dy - y);
      uint32_t* dstRow = t.GetRow(static_cast<int>(dy));
      const auto dst = [dstRow, x](int32_t column) -> uint32_t& { return dstRow[int64_t{x} + column]; };
      if (opaque) {
        const uint32_t* src = s.GetRow(static_cast<int>(r));
        const int32_t b = std::clamp(spans.begin[r], firstColumn, lastColumn);
        const int32_t e = std::clamp(spans.end[r], b, lastColumn);
        const int32_t ob = std::clamp(spans.opaqueBegin[r], b, e);
        const int32_t oe = std::clamp(spans.opaqueEnd[r], ob, e);
        m_pending[static_cast<size_t>(dy)].emplace_back(static_cast<int32_t>(left), static_cast<int32_t>(right));
        if (ob < oe) CopyColour(&dst(ob), src + ob, oe - ob);
        Blend(surface, x, static_cast<int>(dy), static_cast<int>(r), b, ob, opacity);
        Blend(surface, x, static_cast<int>(dy), static_cast<int>(r), oe, e, opacity);
      } else {
        // Outside the rectangle that holds the picture's alpha only the cheap dimming is left.
        const bool inBox = static_cast<int32_t>(r) >= box.top && static_cast<int32_t>(r) < box.bottom;
        const int32_t b = inBox ? std::clamp(box.left, firstColumn, lastColumn) : lastColumn;
        const int32_t e = inBox ? std::clamp(box.right, b, lastColumn) : lastColumn;
        if (firstColumn < b) DimByOne(&dst(firstColumn), b - firstColumn);
        if (e < lastColumn) DimByOne(&dst(e), lastColumn - e);
      }
    }
    if (!opaque && box.left < box.right) {
      const uint32_t f = static_cast<uint32_t>(opacity) * 0x010101u;
      t.BlendBltAlpha(&surface, x + box.left, y + box.top, 0xFFFFFFu - f, f, &box, nullptr, nullptr);
    }
    MarkDisplayDirty();
  }

  // An opaque source pixel drawn opaque: its colour, alpha 0.
  static void CopyColour(uint32_t* dst, const uint32_t* src, int32_t n) {
    int32_t i = 0;
#if defined(__SSE2__)
    const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
    for (; i + 4 <= n; i += 4) {
      const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_and_si128(s, colour));
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
      const uint32_t nonZero = static_cast<uint32_t>((d & 0xFFu) != 0) | static_cast<uint32_t>(((d >> 8) & 0xFFu) != 0) << 8 |
                               static_cast<uint32_t>(((d >> 16) & 0xFFu) != 0) << 16;
      dst[i] = (d & 0x00FFFFFFu) - nonZero;
    }
  }

  CMemPlane& m_target;
  std::vector<std::vector<std::pair<int32_t, int32_t>>> m_pending;
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
        side.previous.reset();
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
    if (LayerModule.previousLevelsSeen[static_cast<size_t>(i)] != LayerModule.sides[static_cast<size_t>(i)].previousLevel)
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
    if (r.levels[0].level != 0) composer.Draw(side, *side.current, r.drawX, r.drawY, r.levels[0].level, r.effect);
    if (side.previous) {
      LayerSide scratch;  // the fading picture is drawn once or twice; its spans are not kept
      composer.Draw(scratch, *side.previous, r.drawX, r.drawY, side.previousLevel, 0);
    }
  }
  composer.Flush();
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
