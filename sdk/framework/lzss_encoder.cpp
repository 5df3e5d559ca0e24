#include "sdk/framework/lzss_encoder.h"

#include <algorithm>
#include <cstdint>

#include "sdk/framework/lzss_decoder.h"

namespace {

constexpr size_t kMinMatch = CLzssDecoder::kThreshold + 1;
constexpr size_t kMaxMatch = CLzssDecoder::kMaxMatch;
// The decoder reads a reference from its ring before writing the byte it produces, so a match may
// reach back the whole ring.
constexpr size_t kWindow = CLzssDecoder::kRingSize;
constexpr int kMaxChain = 256;
constexpr unsigned kHashBits = 16;

unsigned Hash3(const unsigned char* p) {
  return ((p[0] << 16 | p[1] << 8 | p[2]) * 2654435761u) >> (32 - kHashBits);
}

}  // namespace

std::vector<unsigned char> LzssEncode(std::span<const unsigned char> data) {
  std::vector<unsigned char> out;
  out.reserve(data.size() + data.size() / 8 + 1);
  std::vector<int64_t> head(size_t{1} << kHashBits, -1);
  std::vector<int64_t> previous(data.size(), -1);
  const size_t n = data.size();
  auto insert = [&](size_t i) {
    if (i + kMinMatch > n) return;
    unsigned h = Hash3(&data[i]);
    previous[i] = head[h];
    head[h] = static_cast<int64_t>(i);
  };
  size_t i = 0;
  while (i < n) {
    const size_t flagsAt = out.size();
    out.push_back(0);
    for (unsigned bit = 0; bit < 8 && i < n; ++bit) {
      size_t bestLength = 0;
      size_t bestFrom = 0;
      const size_t limit = std::min(kMaxMatch, n - i);
      if (limit >= kMinMatch) {
        int64_t j = head[Hash3(&data[i])];
        for (int chain = 0; j >= 0 && i - static_cast<size_t>(j) <= kWindow && chain < kMaxChain; ++chain) {
          size_t length = 0;
          while (length < limit && data[static_cast<size_t>(j) + length] == data[i + length]) ++length;
          if (length > bestLength) {
            bestLength = length;
            bestFrom = static_cast<size_t>(j);
            if (length == limit) break;
          }
          j = previous[static_cast<size_t>(j)];
        }
      }
      if (bestLength >= kMinMatch) {
        const unsigned position = static_cast<unsigned>((CLzssDecoder::kRingStart + bestFrom) & (CLzssDecoder::kRingSize - 1));
        out.push_back(static_cast<unsigned char>(position & 0xFF));
        out.push_back(static_cast<unsigned char>(((position >> 4) & 0xF0) | (bestLength - kMinMatch)));
        for (size_t k = 0; k < bestLength; ++k) insert(i + k);
        i += bestLength;
      } else {
        out[flagsAt] |= static_cast<unsigned char>(1u << bit);
        out.push_back(data[i]);
        insert(i);
        ++i;
      }
    }
  }
  return out;
}
