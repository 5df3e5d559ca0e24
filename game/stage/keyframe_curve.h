// Keyframe curves: a small table of one-dimensional curves (x = time, y = value) that animate the
// camera, the screen quake and the layer motions. Curves are addressed by their slot; -1 stands for
// "no curve" everywhere, and every operation accepts it (setting keys on it does nothing, evaluating
// it yields 0), so an animation that found no free slot simply does not move.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

constexpr int kCurveSlots = 16;
constexpr int kNoCurve = -1;
// More keys than this are refused: counts come from saved games and callers' arithmetic.
constexpr int kMaxCurveKeys = 4096;

// The interpolation modes of CurveEvaluate.
enum CurveMode : int32_t {
  kCurveStep = 0,
  kCurveLinear = 1,
  kCurveNewton = 2,
  kCurveOvershoot = 3,
  kCurveUndershoot = 4,
  kCurveEaseOut = 5,
  kCurveEaseIn = 6,
  kCurveHermite = 7,
};

// One key. The keys of a slot are linked in index order by index, -1 at either end.
struct CurveKey {
  float x;
  float y;
  int32_t prev;
  int32_t next;
};

struct CurveSlot {
  uint8_t inUse;
  std::vector<float> coefficients;  // Newton divided differences over keys 0..k
  std::vector<float> work;
  std::vector<CurveKey> keys;
  int32_t keyCount;
  float firstX;
  float lastX;
};

// Empties all 16 slots. True.
bool CurveTableInit();
// Frees every slot.
void CurveTableFree();
// The first free slot, now marked in use; -1 when all are in use.
int CurveFindFree();
// A slot with n zeroed keys linked in order; -1 when none is free or n is outside 1..kMaxCurveKeys.
int CurveCreate(int keyCount);
// Frees a slot in use; false for -1, a slot out of range or one not in use.
bool CurveFree(int slot);
// CurveFree when the slot names one in use.
void CurveRelease(int slot);
// Key (index mod n) = (x, y); the first and last x are refreshed.
void CurveSetKey(int slot, int index, float x, float y);
// Prepares the Newton coefficients of the slot's keys.
void CurveComputeCoefficients(int slot);
// The key whose interval holds x: at or before the first key, key 0; at or after the last, the
// last; between, the last key whose x is not above x. Keys out of order still give an index in
// range.
int CurveSearchKey(std::span<const CurveKey> keys, float x);
// The curve's value at x (wrapped into the curve's length) in the given mode; 0 for -1.
float CurveEvaluate(int slot, float x, int mode);

struct HermiteWeights {
  float h00, h01, h10, h11;
};
HermiteWeights HermiteBasis(float t);
// The tangent at key k (toward its next key) and at its next key, scaled to the interval k..next.
float CurveTangentOut(std::span<const CurveKey> keys, int k);
float CurveTangentIn(std::span<const CurveKey> keys, int k);
float Bezier2(float a, float b, float c, float t);
float SplineBlend(float a, float b, float c, float t);

// Slots in use (for the overlay of tests and for leak checks).
int CurvesInUse();
