// The LZSS decoder alone: the first four bytes (little-endian) choose how many bytes to make,
// within what packed data of this size can make at all (the limit the archive reader and the
// "bma" reader hold their data to); the rest is the packed data. And the packer's
// output of the same bytes must decode to them exactly.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "sdk/framework/little_endian.h"
#include "sdk/framework/lzss_decoder.h"
#include "sdk/framework/lzss_encoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size >= 4) {
    const std::span<const unsigned char> packed(data + 4, size - 4);
    const uint64_t most = packed.size() * CLzssDecoder::kMaxRatio;
    const uint32_t want = static_cast<uint32_t>(LoadLe32(data) % (most + 1));
    CLzssDecoder decoder;
    unsigned char* out = nullptr;
    if (decoder.Decode(packed.data(), static_cast<uint32_t>(packed.size()), out, want, true) == 0) {
      unsigned sum = 0;
      for (uint32_t i = 0; i < want; ++i) sum += out[i];
      volatile unsigned keep = sum;
      (void)keep;
    }
    ::operator delete(out);
    // Into a caller's block of exactly the size asked.
    std::vector<unsigned char> block(want);
    unsigned char* into = block.data();
    decoder.Decode(packed.data(), static_cast<uint32_t>(packed.size()), into, want, false);
  }

  const std::span<const unsigned char> plain(data, size);
  const std::vector<unsigned char> packed = LzssEncode(plain);
  std::vector<unsigned char> back(size);
  unsigned char* out = back.data();
  const int r = CLzssDecoder().Decode(packed.data(), static_cast<uint32_t>(packed.size()), out,
                                      static_cast<uint32_t>(size), false);
  if (size != 0 && (r != 0 || back != std::vector<unsigned char>(plain.begin(), plain.end()))) std::abort();
  return 0;
}
