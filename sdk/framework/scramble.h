// The scrambled form of data files: the magic "QPK1", then every byte with its two 4-bit halves
// exchanged and XORed with a one-byte key whose halves are equal, which makes the same operation
// scramble and unscramble.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

inline constexpr unsigned char kScrambleKey = 0x99;
static_assert((kScrambleKey >> 4) == (kScrambleKey & 0x0F), "equal halves keep the operation its own inverse");

inline constexpr std::string_view kScrambleMagic = "QPK1";

constexpr unsigned char ScrambleByte(unsigned char b) {
  return static_cast<unsigned char>(((b << 4) | (b >> 4)) ^ kScrambleKey);
}

// Scrambles or unscrambles bytes in place.
inline void ScrambleBytes(std::span<unsigned char> bytes) {
  for (unsigned char& b : bytes) b = ScrambleByte(b);
}

// True when the data begins with the magic.
inline bool HasScrambleMagic(std::span<const unsigned char> data) {
  return data.size() >= kScrambleMagic.size() &&
         std::string_view(reinterpret_cast<const char*>(data.data()), kScrambleMagic.size()) == kScrambleMagic;
}

// The scrambled file of plain data: the magic and the scrambled bytes.
inline std::vector<unsigned char> ScrambledFile(std::span<const unsigned char> plain) {
  std::vector<unsigned char> out(kScrambleMagic.begin(), kScrambleMagic.end());
  out.reserve(kScrambleMagic.size() + plain.size());
  for (unsigned char b : plain) out.push_back(ScrambleByte(b));
  return out;
}
