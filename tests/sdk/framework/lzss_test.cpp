#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "sdk/framework/lzss_decoder.h"
#include "sdk/framework/lzss_encoder.h"

namespace {

std::vector<unsigned char> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

std::vector<unsigned char> Decode(const std::vector<unsigned char>& packed, uint32_t size, int& result) {
  unsigned char* out = nullptr;
  CLzssDecoder decoder;
  result = decoder.Decode(packed.data(), static_cast<uint32_t>(packed.size()), out, size, true);
  std::vector<unsigned char> bytes;
  if (out) {
    bytes.assign(out, out + size);
    ::operator delete(out);
  }
  return bytes;
}

// The decoder as a 4096-byte ring: the reference the fast decoder must match byte for byte.
int RingDecode(const std::vector<unsigned char>& packed, std::vector<unsigned char>& out, size_t size) {
  unsigned char ring[4096] = {};
  unsigned r = 4078;
  unsigned flags = 0;
  size_t in = 0;
  out.clear();
  for (;;) {
    flags >>= 1;
    if ((flags & 0x100) == 0) {
      if (in == packed.size()) return 2;
      flags = packed[in++] | 0xFF00u;
    }
    if (flags & 1) {
      if (in == packed.size()) return 2;
      const unsigned char c = packed[in++];
      out.push_back(c);
      if (out.size() == size) return 0;
      ring[r] = c;
      r = (r + 1) & 4095;
    } else {
      if (packed.size() - in < 2) return 2;
      const unsigned position = packed[in] | ((packed[in + 1] & 0xF0u) << 4);
      const unsigned length = (packed[in + 1] & 0x0Fu) + 3;
      in += 2;
      for (unsigned k = 0; k < length; ++k) {
        const unsigned char c = ring[(position + k) & 4095];
        out.push_back(c);
        if (out.size() == size) return 0;
        ring[r] = c;
        r = (r + 1) & 4095;
      }
    }
  }
}

TEST(Lzss, MatchesTheRingOnRandomStreams) {
  std::mt19937 random(5);
  for (int round = 0; round < 300; ++round) {
    const size_t size = 1 + random() % 20000;
    std::vector<unsigned char> packed(random() % 6000);
    // Mostly references, so that every distance, the ring's untouched zeros and the whole ring
    // length are reached.
    for (auto& b : packed) b = static_cast<unsigned char>(random() % 4 == 0 ? 0 : random());
    std::vector<unsigned char> expected;
    const int expectedResult = RingDecode(packed, expected, size);
    int result = -1;
    const std::vector<unsigned char> got = Decode(packed, static_cast<uint32_t>(size), result);
    ASSERT_EQ(result, expectedResult) << round;
    if (result == 0) {
      ASSERT_EQ(got, expected) << round;
    }
  }
}

TEST(Lzss, DecodesLiteralsAndReferencesIntoTheRing) {
  // Three literals, then a reference of 6 bytes to ring position 4078, where the first literal
  // went: the copy overlaps the bytes it is writing.
  const std::vector<unsigned char> packed = {0x07, 'A', 'B', 'C', 0xEE, 0xF3};
  int result = -1;
  EXPECT_EQ(Decode(packed, 9, result), Bytes("ABCABCABC"));
  EXPECT_EQ(result, 0);
  // A reference into the untouched ring reads its zeros; decoding stops inside the reference.
  const std::vector<unsigned char> zeros = {0x00, 0x00, 0x0F};
  EXPECT_EQ(Decode(zeros, 5, result), std::vector<unsigned char>(5, 0));
  EXPECT_EQ(result, 0);
}

TEST(Lzss, ExhaustedInputFails) {
  const std::vector<std::vector<unsigned char>> cases = {
      {},                          // no flags
      {0xFF, 'a'},                 // one literal short
      {0x00, 0x12},                // half a reference
      {0xFF, 'a', 'b', 'c', 'd'},  // ends before the size
  };
  for (const auto& packed : cases) {
    int result = -1;
    EXPECT_TRUE(Decode(packed, 6, result).empty());
    EXPECT_EQ(result, 2);
  }
  unsigned char* out = nullptr;
  EXPECT_EQ(CLzssDecoder().Decode(nullptr, 0, out, 0, true), 1);  // nothing to do
  EXPECT_EQ(out, nullptr);
}

TEST(Lzss, EncoderRoundTrips) {
  std::mt19937 random(7);
  std::vector<std::vector<unsigned char>> inputs;
  inputs.push_back(Bytes("a"));
  inputs.push_back(Bytes("abababababababababababababababababab"));
  inputs.push_back(std::vector<unsigned char>(100000, 0));
  inputs.push_back(std::vector<unsigned char>(4097, 0x41));
  std::vector<unsigned char> noise(50000);
  for (auto& b : noise) b = static_cast<unsigned char>(random());
  inputs.push_back(noise);
  // Text-like data with repeats at every distance up to beyond the ring.
  std::vector<unsigned char> text;
  while (text.size() < 60000) {
    const size_t back = random() % 5000 + 1;
    if (text.size() > back && random() % 2) {
      const size_t from = text.size() - back;
      const size_t length = random() % 30 + 1;
      for (size_t k = 0; k < length; ++k) text.push_back(text[from + k]);
    } else {
      text.push_back(static_cast<unsigned char>('a' + random() % 26));
    }
  }
  inputs.push_back(text);
  for (const auto& input : inputs) {
    const std::vector<unsigned char> packed = LzssEncode(input);
    int result = -1;
    EXPECT_EQ(Decode(packed, static_cast<uint32_t>(input.size()), result), input) << input.size();
    EXPECT_EQ(result, 0);
  }
  EXPECT_LT(LzssEncode(inputs[2]).size(), 100000u / 8);
  EXPECT_TRUE(LzssEncode({}).empty());
}

}  // namespace
