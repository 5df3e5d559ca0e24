#include "game/stage/keyframe_curve.h"

#include <array>
#include <cmath>

namespace {

std::array<CurveSlot, kCurveSlots> curveTable{};

CurveSlot* Used(int slot) {
  if (slot < 0 || slot >= kCurveSlots) return nullptr;
  CurveSlot& s = curveTable[static_cast<size_t>(slot)];
  return s.inUse && s.keyCount > 0 ? &s : nullptr;
}

// A divisor of 0 (keys at the same time) leaves the value as it is instead of making it inf/NaN.
float SafeRatio(float num, float den, float fallback) { return den != 0.0f ? num / den : fallback; }

}  // namespace

bool CurveTableInit() {
  CurveTableFree();
  return true;
}

void CurveTableFree() {
  for (CurveSlot& s : curveTable) s = CurveSlot{};
}

int CurveFindFree() {
  for (int i = 0; i < kCurveSlots; ++i) {
    if (!curveTable[static_cast<size_t>(i)].inUse) {
      curveTable[static_cast<size_t>(i)].inUse = 1;
      return i;
    }
  }
  return kNoCurve;
}

int CurveCreate(int keyCount) {
  if (keyCount < 1 || keyCount > kMaxCurveKeys) return kNoCurve;
  const int slot = CurveFindFree();
  if (slot == kNoCurve) return kNoCurve;
  CurveSlot& s = curveTable[static_cast<size_t>(slot)];
  const auto n = static_cast<size_t>(keyCount);
  s.keys.assign(n, CurveKey{0.0f, 0.0f, -1, -1});
  for (int i = 0; i < keyCount; ++i) {
    s.keys[static_cast<size_t>(i)].prev = i - 1;
    s.keys[static_cast<size_t>(i)].next = i + 1 < keyCount ? i + 1 : -1;
  }
  s.coefficients.assign(n, 0.0f);
  s.work.assign(n, 0.0f);
  s.keyCount = keyCount;
  s.firstX = 0.0f;
  s.lastX = 0.0f;
  return slot;
}

bool CurveFree(int slot) {
  if (slot < 0 || slot >= kCurveSlots || !curveTable[static_cast<size_t>(slot)].inUse) return false;
  curveTable[static_cast<size_t>(slot)] = CurveSlot{};
  return true;
}

void CurveRelease(int slot) {
  if (slot != kNoCurve) CurveFree(slot);
}

void CurveSetKey(int slot, int index, float x, float y) {
  CurveSlot* s = Used(slot);
  if (!s) return;
  // The index wraps like the original table did, but never goes negative.
  const int n = s->keyCount;
  const int i = ((index % n) + n) % n;
  s->keys[static_cast<size_t>(i)].x = x;
  s->keys[static_cast<size_t>(i)].y = y;
  s->firstX = s->keys.front().x;
  s->lastX = s->keys.back().x;
}

void CurveComputeCoefficients(int slot) {
  CurveSlot* s = Used(slot);
  if (!s) return;
  const int n = s->keyCount;
  for (int k = 0; k < n; ++k) {
    s->work[static_cast<size_t>(k)] = s->keys[static_cast<size_t>(k)].y;
    for (int i = k - 1; i >= 0; --i) {
      const float den = s->keys[static_cast<size_t>(k)].x - s->keys[static_cast<size_t>(i)].x;
      float& w = s->work[static_cast<size_t>(i)];
      if (den != 0.0f) w = (s->work[static_cast<size_t>(i) + 1] - w) / den;
    }
    s->coefficients[static_cast<size_t>(k)] = s->work[0];
  }
}

int CurveSearchKey(std::span<const CurveKey> keys, float x) {
  const int n = static_cast<int>(keys.size());
  if (n <= 1 || !(x > keys.front().x)) return 0;
  if (x >= keys.back().x) return n - 1;
  // keys[lo].x <= x < keys[hi].x holds throughout, whatever the order of the keys between.
  int lo = 0;
  int hi = n - 1;
  while (hi - lo > 1) {
    const int mid = lo + (hi - lo) / 2;
    if (keys[static_cast<size_t>(mid)].x <= x) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  return lo;
}

HermiteWeights HermiteBasis(float t) {
  const float t2 = t * t;
  const float t3 = t2 * t;
  const float h01 = 3.0f * t2 - 2.0f * t3;
  return {1.0f - h01, h01, t - 2.0f * t2 + t3, t3 - t2};
}

float CurveTangentOut(std::span<const CurveKey> keys, int k) {
  const CurveKey& key = keys[static_cast<size_t>(k)];
  const CurveKey& next = keys[static_cast<size_t>(key.next)];
  const float plain = next.y - key.y;
  if (key.prev < 0) return plain;
  const CurveKey& prev = keys[static_cast<size_t>(key.prev)];
  return SafeRatio(next.x - key.x, next.x - prev.x, 1.0f) * (next.y - prev.y);
}

float CurveTangentIn(std::span<const CurveKey> keys, int k) {
  const CurveKey& key = keys[static_cast<size_t>(k)];
  const CurveKey& next = keys[static_cast<size_t>(key.next)];
  const float plain = next.y - key.y;
  if (next.next < 0) return plain;
  const CurveKey& after = keys[static_cast<size_t>(next.next)];
  return SafeRatio(next.x - key.x, after.x - key.x, 1.0f) * (after.y - key.y);
}

float Bezier2(float a, float b, float c, float t) {
  const float u = 1.0f - t;
  return u * u * a + 2.0f * t * u * b + t * t * c;
}

float SplineBlend(float a, float b, float c, float t) {
  const float e = 2.0f * t;
  const float g = c + (e - 2.0f) * (c - b);
  const float h = b + (b - a) * (e - 1.0f);
  return g + (e - 2.0f) * (g - h) / 2.0f;
}

float CurveEvaluate(int slot, float x, int mode) {
  const CurveSlot* s = Used(slot);
  if (!s) return 0.0f;
  const std::span<const CurveKey> keys(s->keys);
  const float last = keys.back().x;
  // Times beyond the last key wrap around; a time that is no number stands at the start.
  x = last > 0.0f && std::isfinite(x) ? std::fmod(x, last) : 0.0f;
  const int k = CurveSearchKey(keys, x);
  const CurveKey& key = keys[static_cast<size_t>(k)];
  if (key.next < 0) return key.y;
  const CurveKey& next = keys[static_cast<size_t>(key.next)];
  const float y0 = key.y;
  const float y1 = next.y;
  const float width = next.x - key.x;
  const float t = (y0 == y1 || width == 0.0f) ? 0.0f : (x - key.x) / width;
  switch (mode) {
    case kCurveStep:
      return y0;
    case kCurveLinear:
      return y0 + t * (y1 - y0);
    case kCurveNewton: {
      const int n = s->keyCount;
      float r = s->coefficients[static_cast<size_t>(n - 1)];
      for (int i = n - 2; i >= 0; --i)
        r = r * (x - keys[static_cast<size_t>(i)].x) + s->coefficients[static_cast<size_t>(i)];
      return r;
    }
    case kCurveOvershoot:
      return SplineBlend(y0, y1, y1, t);
    case kCurveUndershoot:
      return SplineBlend(y0, y0, y1, t);
    case kCurveEaseOut:
      return Bezier2(y0, y1, y1, t);
    case kCurveEaseIn:
      return Bezier2(y0, y0, y1, t);
    case kCurveHermite: {
      const HermiteWeights h = HermiteBasis(t);
      return h.h00 * y0 + h.h01 * y1 + h.h10 * CurveTangentOut(keys, k) + h.h11 * CurveTangentIn(keys, k);
    }
    default:
      return 0.0f;
  }
}

int CurvesInUse() {
  int n = 0;
  for (const CurveSlot& s : curveTable) n += s.inUse ? 1 : 0;
  return n;
}
