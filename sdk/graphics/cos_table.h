// The process-wide table of cosines that every routine turning an angle into a displacement reads:
// 512 steps per full turn, entries in 16.16 fixed point (65536 = 1.0). The table is built by the
// first construction of a CCosTable and then stays; reading goes through an instance, so no read
// can come before the build. Built and read on the drawing thread only: the build takes no lock.
#pragma once

#include <array>
#include <cstdint>

class CCosTable {
 public:
  static constexpr int kSteps = 512;
  static constexpr int kQuarterTurn = kSteps / 4;

  // Builds the table when no instance has built it yet.
  CCosTable();

  // cos(index * pi / 256) * 65536, truncated toward zero; the index is taken modulo 512.
  int32_t operator[](int index) const { return Table()[static_cast<unsigned>(index) & (kSteps - 1)]; }
  int32_t Cos(int index) const { return (*this)[index]; }
  // The sine is the cosine a quarter turn earlier.
  int32_t Sin(int index) const { return (*this)[index - kQuarterTurn]; }

 private:
  static std::array<int32_t, kSteps>& Table();
};
