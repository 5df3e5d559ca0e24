// Per-pixel arithmetic of the memory-surface kernels, written plainly: these functions are the
// reference that every faster version must reproduce bit for bit. Pixels are 0xAARRGGBB.
//
// Two kernel classes exist. The plain class works on whole 32-bit pixels with carry masks, so its
// alpha byte wraps in additions and subtractions; the packed-SIMD class works per byte with
// saturation. Everything else gives the same pixels in both.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

namespace pixel {

constexpr uint32_t kColorMask = 0x00FFFFFF;
constexpr uint32_t kAlphaMask = 0xFF000000;

constexpr uint32_t Byte(uint32_t p, int index) { return (p >> (8 * index)) & 0xFF; }
constexpr uint32_t Alpha(uint32_t p) { return p >> 24; }

// Builds a pixel from three colour values already within 0..255 (blue, green, red), alpha 0.
constexpr uint32_t Rgb(uint32_t b, uint32_t g, uint32_t r) { return b | (g << 8) | (r << 16); }

// c * w / 256 rounded down: the scaling every blend applies to each product on its own.
constexpr uint32_t Scale(uint32_t c, uint32_t w) { return (c * w) >> 8; }

// ---- plain class: whole-pixel arithmetic ---------------------------------------------------

// Average of the colour bytes rounded down; the alpha byte becomes S_A AND D_A.
constexpr uint32_t PlainAverage(uint32_t s, uint32_t d) {
  return (s & d) + (((s ^ d) >> 1) & 0x7F7F7F);
}

// 0xFF in each colour byte where x + y carries out of that byte.
constexpr uint32_t PlainCarryMask(uint32_t x, uint32_t y) {
  const uint32_t carries = ((((x & y) << 1) + ((x ^ y) & 0xFEFEFE)) & 0x1010100) >> 8;
  return (carries + 0x7F7F7F) ^ 0x7F7F7F;
}

// Colour bytes min(255, x + y); the alpha byte wraps.
constexpr uint32_t PlainAddSat(uint32_t x, uint32_t y) {
  const uint32_t m = PlainCarryMask(x, y);
  return ((x + y) - m) | m;
}

// Colour bytes max(0, d - s); the alpha byte wraps.
constexpr uint32_t PlainSubSat(uint32_t d, uint32_t s) {
  const uint32_t m = PlainCarryMask(s, ~d);
  return (d | m) - (s | m);
}

// ---- packed-SIMD class: per-byte saturation on all four bytes --------------------------------

constexpr uint32_t SatAddBytes(uint32_t a, uint32_t b) {
  uint32_t out = 0;
  for (int i = 0; i < 4; ++i) out |= std::min(255u, Byte(a, i) + Byte(b, i)) << (8 * i);
  return out;
}

constexpr uint32_t SatSubBytes(uint32_t a, uint32_t b) {
  uint32_t out = 0;
  for (int i = 0; i < 4; ++i)
    out |= (Byte(a, i) > Byte(b, i) ? Byte(a, i) - Byte(b, i) : 0u) << (8 * i);
  return out;
}

// ---- blends (both classes) --------------------------------------------------------------------

// Each colour channel min(255, floor(S_c * ws_c / 256) + floor(D_c * wd_c / 256)), alpha 0; the
// two products are floored separately, so a single combined shift would be off by one.
constexpr uint32_t WeightedSum(uint32_t s, uint32_t d, const uint32_t (&ws)[3],
                               const uint32_t (&wd)[3]) {
  uint32_t out = 0;
  for (int i = 0; i < 3; ++i)
    out |= std::min(255u, Scale(Byte(s, i), ws[i]) + Scale(Byte(d, i), wd[i])) << (8 * i);
  return out;
}

// Two-factor blend: factors are 0x00RRGGBB with one weight 0..255 per channel.
constexpr uint32_t FactorBlend(uint32_t s, uint32_t d, uint32_t fd, uint32_t fs) {
  const uint32_t ws[3] = {Byte(fs, 0), Byte(fs, 1), Byte(fs, 2)};
  const uint32_t wd[3] = {Byte(fd, 0), Byte(fd, 1), Byte(fd, 2)};
  return WeightedSum(s, d, ws, wd);
}

// The plain class scales both pixels on their own and adds them with its carry masks.
constexpr uint32_t PlainFactorBlend(uint32_t s, uint32_t d, uint32_t fd, uint32_t fs) {
  const uint32_t ss = Rgb(Scale(Byte(s, 0), Byte(fs, 0)), Scale(Byte(s, 1), Byte(fs, 1)),
                          Scale(Byte(s, 2), Byte(fs, 2)));
  const uint32_t sd = Rgb(Scale(Byte(d, 0), Byte(fd, 0)), Scale(Byte(d, 1), Byte(fd, 1)),
                          Scale(Byte(d, 2), Byte(fd, 2)));
  return PlainAddSat(ss, sd);
}

// ---- per-pixel alpha --------------------------------------------------------------------------

// Source weight of an alpha value: a, but 256 at 255 so that opaque copies the source exactly.
constexpr uint32_t AlphaSourceWeight(uint32_t a) { return a == 255 ? 256 : a; }
// Destination weights: the plain class uses 255 - a (256 at 0), the packed class 256 - a'.
constexpr uint32_t PlainAlphaDestWeight(uint32_t a) { return a == 0 ? 256 : 255 - a; }
constexpr uint32_t PackedAlphaDestWeight(uint32_t a) { return 256 - AlphaSourceWeight(a); }

constexpr uint32_t AlphaBlend(uint32_t s, uint32_t d, uint32_t ws, uint32_t wd) {
  const uint32_t sw[3] = {ws, ws, ws};
  const uint32_t dw[3] = {wd, wd, wd};
  return WeightedSum(s, d, sw, dw);
}

constexpr uint32_t PlainBltAlpha(uint32_t s, uint32_t d) {
  const uint32_t a = Alpha(s);
  return AlphaBlend(s, d, AlphaSourceWeight(a), PlainAlphaDestWeight(a));
}

constexpr uint32_t PackedBltAlpha(uint32_t s, uint32_t d) {
  const uint32_t a = Alpha(s);
  return AlphaBlend(s, d, AlphaSourceWeight(a), PackedAlphaDestWeight(a));
}

// Per-alpha weights of the alpha-weighted two-factor blend, built once per call:
// ws_c = floor(a' * fs_c / 256), wd_c = 255 - floor(a' * (255 - fd_c) / 256).
struct AlphaBlendWeights {
  uint32_t ws[3];
  uint32_t wd[3];
};

constexpr AlphaBlendWeights AlphaBlendWeightsFor(uint32_t a, uint32_t fd, uint32_t fs) {
  const uint32_t w = AlphaSourceWeight(a);
  AlphaBlendWeights out{};
  for (int i = 0; i < 3; ++i) {
    out.ws[i] = Scale(w, Byte(fs, i));
    out.wd[i] = 255 - Scale(w, 255 - Byte(fd, i));
  }
  return out;
}

using AlphaBlendTable = std::array<AlphaBlendWeights, 256>;

constexpr AlphaBlendTable MakeAlphaBlendTable(uint32_t fd, uint32_t fs) {
  AlphaBlendTable t{};
  for (uint32_t a = 0; a < 256; ++a) t[a] = AlphaBlendWeightsFor(a, fd, fs);
  return t;
}

constexpr uint32_t BlendAlpha(uint32_t s, uint32_t d, const AlphaBlendTable& table) {
  const AlphaBlendWeights& w = table[Alpha(s)];
  return WeightedSum(s, d, w.ws, w.wd);
}

// ---- whole-surface effects ---------------------------------------------------------------------

// Each colour channel floor(c * ratio / 256), alpha 0; ratio within 0..256.
constexpr uint32_t Fade(uint32_t p, uint32_t ratio) {
  return Rgb(Scale(Byte(p, 0), ratio), Scale(Byte(p, 1), ratio), Scale(Byte(p, 2), ratio));
}

}  // namespace pixel
