#include "game/stage/picture_layers.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "game/app/config.h"
#include "game/app/frame_scale.h"
#include "game/app/script_app.h"
#include "game/script/saturate.h"
#include "game/stage/image_cache.h"
#include "game/stage/keyframe_curve.h"
#include "game/stage/layer_module.h"
#include "game/text/fixed_text.h"
#include "game/text/message_window.h"

LayerModuleState LayerModule;

namespace {

void ReleaseMotionCurves(PictureLayer& r) {
  CurveRelease(r.curveX);
  CurveRelease(r.curveY);
  CurveRelease(r.curveZ);
  r.curveX = r.curveY = r.curveZ = kNoCurve;
}

// A record as ClearPicture leaves it, built on zero bytes so that change detection, which compares
// whole records, never sees stale padding.
PictureLayer EmptyRecord() {
  PictureLayer r;
  std::memset(&r, 0, sizeof r);
  r.mode = 2;
  r.auxFactor = 1.0f;
  r.curveX = r.curveY = r.curveZ = kNoCurve;
  r.unused320 = r.unused324 = -1;
  for (LayerLevel& level : r.levels) level = {255, 0};
  return r;
}

// Names longer than the record holds are refused: a load would reload another file.
bool NameFits(std::string_view name) { return name.size() <= kLayerNameMax; }

void StoreName(PictureLayer& r, std::string_view name) {
  std::memset(r.fileName, 0, sizeof r.fileName);
  std::memcpy(r.fileName, name.data(), name.size());
}

void SetSurface(int layer, std::shared_ptr<CMemPlane> surface) {
  LayerSide& side = LayerModule.sides[static_cast<size_t>(layer)];
  side.current = std::move(surface);
  side.spans = SurfaceSpans{};
}

// Three curves through the layer's keys; -1 handles where no slot was free.
void BuildMotion(PictureLayer& r) {
  const int n = r.keyCount;
  r.curveX = CurveCreate(n);
  r.curveY = CurveCreate(n);
  r.curveZ = CurveCreate(n);
  for (int i = 0; i < n; ++i) {
    const LayerKey& k = r.keys[i];
    CurveSetKey(r.curveX, i, k.time, k.x);
    CurveSetKey(r.curveY, i, k.time, k.y);
    CurveSetKey(r.curveZ, i, k.time, k.z);
  }
  CurveComputeCoefficients(r.curveX);
  CurveComputeCoefficients(r.curveY);
  CurveComputeCoefficients(r.curveZ);
}

float Finite(float v) { return std::isfinite(v) ? v : 0.0f; }

}  // namespace

CMemPlane* LayerPictureTarget() {
  if (LayerModule.drawTarget) return LayerModule.drawTarget;
  return RunningScriptApp ? RunningScriptApp->GetScreenSurface() : nullptr;
}

CMemPlane* LayerDrawTarget() {
  if (CScriptApp* game = std::exchange(LayerModule.pictureWaiting, nullptr)) game->KeepGamePicture();
  return LayerPictureTarget();
}

void SetWaitingGamePicture(CScriptApp* game) { LayerModule.pictureWaiting = game; }

void MarkDisplayDirty() {
  if (!LayerModule.drawTarget && RunningScriptApp) RunningScriptApp->Display().SetDirty();
}

void InitLayers() {
  CurveTableInit();
  ResetCameraAndQuake();
  for (int i = 0; i < kLayerCount; ++i) {
    LayerSide& side = LayerModule.sides[static_cast<size_t>(i)];
    side.current.reset();
    DropPrevious(side);
    side.previousLevel = 255;
    side.previousStep = 0;
    side.spans = SurfaceSpans{};
    side.previousSpans = SurfaceSpans{};
    EngineState.layers[i] = EmptyRecord();
  }
  FlushImageCache();
  LayerModule.composition = std::make_unique<CMemPlane>();
  LayerModule.composition->Create(Config.screenWidth, Config.screenHeight, 0);
  LayerModule.valid = false;
  ResetTransition();
  LayerModule.movie.reset();
}

void ReleaseLayers() {
  for (int i = 0; i < kLayerCount; ++i) ClearPicture(i);
  ResetCameraAndQuake();
  LayerModule.composition.reset();
  LayerModule.valid = false;
  FlushImageCache();
  ResetTransition();
  LayerModule.movie.reset();
  CurveTableFree();
}

int ClearPicture(int layer) {
  if (!ValidLayer(layer)) return 255;
  PictureLayer& r = LayerRecord(layer);
  ReleaseMotionCurves(r);
  LayerSide& side = LayerModule.sides[static_cast<size_t>(layer)];
  SetSurface(layer, nullptr);
  DropPrevious(side);
  r = EmptyRecord();
  return 255;
}

bool LoadPicture(int layer, float x, float y, float z, std::string_view fileName) {
  if (!ValidLayer(layer)) return false;
  InvalidateComposition();
  ClearPicture(layer);
  PictureLayer& r = LayerRecord(layer);
  r.x = x;
  r.y = y;
  r.z = z;
  if (!NameFits(fileName)) return false;
  std::shared_ptr<CMemPlane> surface = LoadImageShared(fileName, 100);
  if (!surface) return false;
  SetSurface(layer, std::move(surface));
  StoreName(r, fileName);
  r.inUse = 1;
  return true;
}

bool OverlapPicture(int layer, float x, float y, float z, std::string_view fileName) {
  if (!ValidLayer(layer) || !NameFits(fileName)) return false;
  InvalidateComposition();
  PictureLayer& r = LayerRecord(layer);
  LayerSide& side = LayerModule.sides[static_cast<size_t>(layer)];
  r.effect = 0;
  StoreName(r, fileName);
  r.x = x;
  r.y = y;
  r.z = z;
  const int32_t fadeStep = SaturateToInt32(16.0 * FrameScale());
  LayerLevel& opacity = r.levels[0];
  if (!IsSkipping() && Config.effectsOn) {
    if (side.previous) {
      DropPrevious(side);
    } else if (side.current) {
      opacity = {255, 0};
    } else {
      opacity = {0, fadeStep};
    }
    side.previous = std::move(side.current);
    side.previousSpans = std::move(side.spans);
    side.spans = SurfaceSpans{};
    side.previousLevel = 255;
    side.previousStep = -fadeStep;
    std::shared_ptr<CMemPlane> surface = LoadImageShared(fileName, 100);
    if (!surface) return false;
    SetSurface(layer, std::move(surface));
  } else {
    DropPrevious(side);
    SetSurface(layer, nullptr);
    side.previousLevel = 255;
    side.previousStep = 0;
    std::shared_ptr<CMemPlane> surface = LoadImageShared(fileName, 100);
    if (!surface) return false;
    SetSurface(layer, std::move(surface));
    opacity = {255, 0};
  }
  r.inUse = 1;
  return true;
}

void SetLayerKey(int layer, int time, float x, float y, float z) {
  if (!ValidLayer(layer)) return;
  PictureLayer& r = LayerRecord(layer);
  if (r.keyCount < 0 || r.keyCount >= kLayerKeyCount) return;
  const auto keyTime = static_cast<float>(time / FrameScale());
  r.keys[r.keyCount] = {keyTime, x, y, z};
  ++r.keyCount;
  r.lastKeyTime = keyTime;
}

void MoveLayer(int layer, int curveMode, bool loop) {
  if (!ValidLayer(layer)) return;
  PictureLayer& r = LayerRecord(layer);
  if (r.keyCount <= 0) return;
  // A new motion gives back the old one's curves first: a few MOVEs must not use up the table.
  ReleaseMotionCurves(r);
  BuildMotion(r);
  r.curveMode = curveMode;
  r.motionLoops = loop ? 1 : 0;
  r.motionTime = 0.0f;
  r.motionRunning = 1;
}

void SetEffect(int layer, int value) {
  if (!ValidLayer(layer)) return;
  LayerRecord(layer).effect = value;
}

bool PlayMovie(std::string_view fileName) {
  LayerModule.movie.reset();
  LayerModule.movie = MakeMoviePlayer();
  // A film that could not be opened at all is dropped, so the layers go on.
  if (LayerModule.movie && !LayerModule.movie->OpenAndPlay(fileName)) LayerModule.movie.reset();
  return true;
}

void StopMovie() {
  if (LayerModule.movie) LayerModule.movie->Stop();
  LayerModule.movie.reset();
}

void ReloadPictures() {
  // The block came from a file: its curve handles name slots of another run, and anything in it
  // may be hostile. Every slot is given back and every motion rebuilt from its own keys.
  CurveTableFree();
  CurveTableInit();
  StopCameraAndQuake();
  for (int i = 0; i < kLayerCount; ++i) {
    PictureLayer& r = EngineState.layers[i];
    LayerSide& side = LayerModule.sides[static_cast<size_t>(i)];
    r.fileName[kLayerNameMax] = '\0';
    r.inUse = r.inUse ? 1 : 0;
    r.motionRunning = r.motionRunning ? 1 : 0;
    r.motionLoops = r.motionLoops ? 1 : 0;
    std::memset(r.pad293, 0, sizeof r.pad293);
    std::memset(r.pad305, 0, sizeof r.pad305);
    r.keyCount = std::clamp(r.keyCount, 0, kLayerKeyCount);
    r.curveX = r.curveY = r.curveZ = kNoCurve;
    r.motionTime = Finite(r.motionTime);
    r.lastKeyTime = Finite(r.lastKeyTime);
    if (r.motionRunning) {
      if (r.keyCount > 0) {
        BuildMotion(r);
      } else {
        r.motionRunning = 0;
      }
    }
    DropPrevious(side);
    side.previousLevel = 255;
    side.previousStep = 0;
    SetSurface(i, r.inUse ? LoadImageShared(FixedText(r.fileName), 100) : nullptr);
  }
  InvalidateComposition();
}

CMemPlane* LayerSurface(int layer) {
  return ValidLayer(layer) ? LayerModule.sides[static_cast<size_t>(layer)].current.get() : nullptr;
}

CMemPlane* LayerPreviousSurface(int layer) {
  return ValidLayer(layer) ? LayerModule.sides[static_cast<size_t>(layer)].previous.get() : nullptr;
}

int32_t LayerPreviousLevel(int layer) {
  return ValidLayer(layer) ? LayerModule.sides[static_cast<size_t>(layer)].previousLevel : 0;
}

bool TransitionRunning() { return LayerModule.transitionRunning; }

void SetLayerDrawTarget(CMemPlane* target) { LayerModule.drawTarget = target; }
void SetFullCompositionHook(void (*hook)()) { LayerModule.compositionHook = hook; }
void SetQuakeRandom(int (*random)()) { LayerModule.quakeRandom = random; }
