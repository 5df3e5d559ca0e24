// The camera and the screen quake: offsets added to every layer's position, each driven by its own
// keyframe curves. Their records are EngineState.presentation.camera and .quake.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "game/app/config.h"
#include "game/app/frame_scale.h"
#include "game/stage/keyframe_curve.h"
#include "game/stage/layer_module.h"
#include "game/stage/picture_layers.h"
#include "game/script/saturate.h"

namespace {

constexpr float kFrameTime = 1.0f / 30.0f;
// A quake of more keys than this is cut to it; the command asks for 20.
constexpr int kMaxQuakeKeys = 1000;

CameraState& Camera() { return EngineState.presentation.camera; }
QuakeState& Quake() { return EngineState.presentation.quake; }

void ReleaseCameraCurves() {
  CameraState& c = Camera();
  CurveRelease(c.curveX);
  CurveRelease(c.curveY);
  CurveRelease(c.curveZ);
  c.curveX = c.curveY = c.curveZ = kNoCurve;
}

void ReleaseQuakeCurves() {
  QuakeState& q = Quake();
  CurveRelease(q.curveX);
  CurveRelease(q.curveY);
  q.curveX = q.curveY = kNoCurve;
}

int QuakeRandom() { return LayerModule.quakeRandom ? LayerModule.quakeRandom() : std::rand(); }

int TwoKeyCurve(float from, float duration) {
  const int slot = CurveCreate(2);
  CurveSetKey(slot, 0, 0.0f, from);
  CurveSetKey(slot, 1, duration, 0.0f);
  CurveComputeCoefficients(slot);
  return slot;
}

}  // namespace

void ResetCameraAndQuake() {
  // Both records are rebuilt from zero bytes: they are compared and saved whole.
  CameraState camera;
  std::memset(&camera, 0, sizeof camera);
  camera.curveX = camera.curveY = camera.curveZ = kNoCurve;
  Camera() = camera;
  QuakeState quake;
  std::memset(&quake, 0, sizeof quake);
  quake.curveX = quake.curveY = kNoCurve;
  Quake() = quake;
}

void StopCameraAndQuake() {
  // The handles of a loaded block name slots of another run: they are dropped, not released.
  CameraState& c = Camera();
  c.curveX = c.curveY = c.curveZ = kNoCurve;
  c.moving = 0;
  c.time = 0.0f;
  c.offsetX = c.offsetY = c.offsetZ = 0;
  std::memset(c.pad, 0, sizeof c.pad);
  QuakeState& q = Quake();
  q.curveX = q.curveY = kNoCurve;
  q.running = 0;
  q.time = 0.0f;
  std::memset(q.pad, 0, sizeof q.pad);
}

void MoveCamera(float duration, int curveMode, int x, int y, int z) {
  CameraState& c = Camera();
  if (duration == 0.0f) {
    ReleaseCameraCurves();
    c.x = c.setX = x;
    c.y = c.setY = y;
    c.z = c.setZ = z;
    c.moving = 0;
    c.offsetX = c.offsetY = c.offsetZ = 0;
    return;
  }
  float ox = 0, oy = 0, oz = 0;
  if (c.moving) {
    ox = CurveEvaluate(c.curveX, c.time, c.curveMode);
    oy = CurveEvaluate(c.curveY, c.time, c.curveMode);
    oz = CurveEvaluate(c.curveZ, c.time, c.curveMode);
  }
  ReleaseCameraCurves();
  const auto length = static_cast<float>(duration / FrameScale());
  // The glide starts where the picture stands now, so the view never jumps.
  c.curveX = TwoKeyCurve(static_cast<float>(int64_t{x} - c.x) + ox, length);
  c.curveY = TwoKeyCurve(static_cast<float>(int64_t{y} - c.y) + oy, length);
  c.curveZ = TwoKeyCurve(static_cast<float>(int64_t{z} - c.z) + oz, length);
  c.x = x;
  c.y = y;
  c.z = z;
  c.curveMode = curveMode;
  c.time = 0.0f;
  c.moving = 1;
  c.duration = length;
}

void StartQuake(float duration, int keyCount, float amplitude) {
  if (!Config.effectsOn) return;
  ReleaseQuakeCurves();
  QuakeState& q = Quake();
  // No amplitude or no keys: the remainders below would be taken by 0. Nothing shakes.
  if (!(amplitude > 0.0f) || keyCount < 0 || !std::isfinite(duration)) {
    q.running = 0;
    return;
  }
  const int n = std::min(keyCount, kMaxQuakeKeys);
  const double f = n + 1.0;
  const double scale = FrameScale();
  q.curveX = CurveCreate(n + 2);
  q.curveY = CurveCreate(n + 2);
  for (int k = 0; k <= n; ++k) {
    const auto time = static_cast<float>(k * (duration / f) / scale);
    const double reach = amplitude * (f - k) / f;
    const auto dx = static_cast<float>(std::fmod(static_cast<double>(QuakeRandom()), reach));
    const auto dy = static_cast<float>(std::fmod(static_cast<double>(QuakeRandom()), reach) / 2.0);
    CurveSetKey(q.curveX, k, time, dx);
    CurveSetKey(q.curveY, k, time, dy);
  }
  const auto end = static_cast<float>(duration / scale);
  CurveSetKey(q.curveX, n + 1, end, 0.0f);
  CurveSetKey(q.curveY, n + 1, end, 0.0f);
  CurveComputeCoefficients(q.curveX);
  CurveComputeCoefficients(q.curveY);
  q.time = 0.0f;
  q.running = 1;
  q.duration = end;
}

void AdvanceCameraAndQuake() {
  CameraState& c = Camera();
  QuakeState& q = Quake();
  float ox = 0, oy = 0, oz = 0;
  if (c.moving) {
    ox = CurveEvaluate(c.curveX, c.time, c.curveMode);
    oy = CurveEvaluate(c.curveY, c.time, c.curveMode);
    oz = CurveEvaluate(c.curveZ, c.time, c.curveMode);
    c.time += kFrameTime;
    if (c.time > c.duration) {
      c.moving = 0;
      ox = oy = oz = 0;
      ReleaseCameraCurves();
    }
  }
  if (q.running) {
    q.time += kFrameTime;
    if (!(q.time < q.duration)) {
      q.running = 0;
      ReleaseQuakeCurves();
    } else {
      ox += CurveEvaluate(q.curveX, q.time, kCurveHermite);
      oy += CurveEvaluate(q.curveY, q.time, kCurveHermite);
    }
  }
  c.offsetX = SaturateToInt32(ox);
  c.offsetY = SaturateToInt32(oy);
  c.offsetZ = SaturateToInt32(oz);
}
