// The per-frame compositor and the sprite drawer. A frame whose layer records and fading opacities
// equal those of the last full composition costs one copy of the composed picture; any change (a
// load, a cross-fade, a motion, a wave) composes all 64 layers again.
#include <algorithm>
#include <cstring>
#include <vector>

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

// Opaque drawing of a surface with per-pixel alpha touches only the pixels whose alpha is not 0:
// elsewhere the alpha blit leaves the colour exactly as it was and only clears the alpha byte.
// That byte is cleared later for the whole rectangle the blit would have covered, through the
// pending intervals below, so the picture is the same bit for bit.
class SpanComposer {
 public:
  explicit SpanComposer(CMemPlane& target) : m_target(target), m_pending(static_cast<size_t>(target.GetImpl()->Height())) {}

  void Draw(LayerSide& side, CMemPlane& surface, int x, int y, int opacity, int effect) {
    if (effect == 0 && opacity > 254 && surface.HasAlpha()) {
      DrawSpans(side, surface, x, y);
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
    for (int r = 0; r < h; ++r) {
      const uint32_t* row = p.GetRow(r);
      int b = 0;
      while (b < w && (row[b] >> 24) == 0) ++b;
      int e = w;
      while (e > b && (row[e - 1] >> 24) == 0) --e;
      s.begin[static_cast<size_t>(r)] = b;
      s.end[static_cast<size_t>(r)] = e;
    }
    return s;
  }

  void DrawSpans(LayerSide& side, CMemPlane& surface, int x, int y) {
    CMemPlaneImpl& t = *m_target.GetImpl();
    const CMemPlaneImpl& s = *surface.GetImpl();
    const SurfaceSpans& spans = Spans(side, surface);
    const int64_t left = std::max<int64_t>(x, 0);
    const int64_t right = std::min<int64_t>(int64_t{x} + s.Width(), t.Width());
    const int64_t top = std::max<int64_t>(y, 0);
    const int64_t bottom = std::min<int64_t>(int64_t{y} + s.Height(), t.Height());
    if (left >= right || top >= bottom) return;
    for (int64_t dy = top; dy < bottom; ++dy) {
      const auto r = static_cast<size_t>(dy - y);
      m_pending[static_cast<size_t>(dy)].emplace_back(static_cast<int32_t>(left), static_cast<int32_t>(right));
      if (spans.begin[r] >= spans.end[r]) continue;
      const RECT piece{spans.begin[r], static_cast<int32_t>(r), spans.end[r], static_cast<int32_t>(r) + 1};
      t.BltAlpha(&surface, x + piece.left, static_cast<int>(dy), &piece, nullptr, nullptr);
    }
    MarkDisplayDirty();
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
