#include "platform/acm.h"

#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

#include "g711.h"

namespace {

using namespace platform;

std::vector<uint8_t> FormatBlock(uint16_t tag, uint16_t channels, uint32_t rate, uint32_t avg, uint16_t align,
                                 uint16_t bits, uint16_t cbSize, size_t realSize = sizeof(WAVEFORMATEX)) {
  WAVEFORMATEX f{tag, channels, rate, avg, align, bits, cbSize};
  std::vector<uint8_t> b(realSize, 0);
  std::memcpy(b.data(), &f, std::min(realSize, sizeof f));
  return b;
}

std::vector<int16_t> ConvertAll(AcmStream& s, const std::vector<uint8_t>& in, size_t room,
                                uint32_t* usedOut = nullptr) {
  std::vector<uint8_t> out(room);
  uint32_t used = 0, produced = 0;
  EXPECT_EQ(s.Convert(in, out, used, produced), MMSYSERR_NOERROR);
  if (usedOut) *usedOut = used;
  std::vector<int16_t> samples(produced / 2);
  if (!samples.empty()) std::memcpy(samples.data(), out.data(), samples.size() * 2);
  return samples;
}

TEST(Acm, LawFormatsExpandByTheStandardTables) {
  struct Case {
    const char* name;
    uint16_t tag;
    int (*expand)(uint8_t);
  };
  for (const Case& c :
       {Case{"A-law", WAVE_FORMAT_ALAW, ALawToLinear}, Case{"mu-law", WAVE_FORMAT_MULAW, MuLawToLinear}}) {
    SCOPED_TRACE(c.name);
    const auto block = FormatBlock(c.tag, 1, 8000, 8000, 1, 8, 0);
    WAVEFORMATEX pcm;
    ASSERT_EQ(AcmFormatSuggest(block, pcm), MMSYSERR_NOERROR);
    EXPECT_EQ(pcm.wBitsPerSample, 16);
    EXPECT_EQ(pcm.nAvgBytesPerSec, 16000u);
    AcmStream s;
    ASSERT_EQ(s.Open(block, pcm), MMSYSERR_NOERROR);
    std::vector<uint8_t> in(256);
    for (int i = 0; i < 256; ++i) in[i] = static_cast<uint8_t>(i);
    uint32_t used = 0;
    const auto out = ConvertAll(s, in, 512, &used);
    EXPECT_EQ(used, 256u);
    ASSERT_EQ(out.size(), 256u);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(out[i], c.expand(static_cast<uint8_t>(i))) << i;
    uint32_t n = 0;
    EXPECT_EQ(s.Size(100, n, ACM_STREAMSIZEF_SOURCE), MMSYSERR_NOERROR);
    EXPECT_EQ(n, 200u);
    EXPECT_EQ(s.Size(100, n, ACM_STREAMSIZEF_DESTINATION), MMSYSERR_NOERROR);
    EXPECT_EQ(n, 50u);
    // Output room limits the input taken.
    EXPECT_EQ(ConvertAll(s, in, 21, &used).size(), 10u);
    EXPECT_EQ(used, 10u);
  }
}

TEST(Acm, ImaAdpcmCountsWholeBlocks) {
  // Mono blocks of 36 bytes: a 4-byte header and 64 four-bit codes, 65 samples.
  const auto block = FormatBlock(WAVE_FORMAT_IMA_ADPCM, 1, 22050, 11100, 36, 4, 2);
  WAVEFORMATEX pcm;
  ASSERT_EQ(AcmFormatSuggest(block, pcm), MMSYSERR_NOERROR);
  AcmStream s;
  ASSERT_EQ(s.Open(block, pcm), MMSYSERR_NOERROR);
  uint32_t n = 0;
  EXPECT_EQ(s.Size(36, n, ACM_STREAMSIZEF_SOURCE), MMSYSERR_NOERROR);
  EXPECT_EQ(n, 130u);
  EXPECT_EQ(s.Size(80, n, ACM_STREAMSIZEF_SOURCE), MMSYSERR_NOERROR);
  EXPECT_EQ(n, 260u);
  EXPECT_EQ(s.Size(35, n, ACM_STREAMSIZEF_SOURCE), ACMERR_NOTPOSSIBLE);
  EXPECT_EQ(s.Size(300, n, ACM_STREAMSIZEF_DESTINATION), MMSYSERR_NOERROR);
  EXPECT_EQ(n, 72u);
  EXPECT_EQ(s.Size(129, n, ACM_STREAMSIZEF_DESTINATION), ACMERR_NOTPOSSIBLE);

  // Predictor 1000, step index 0, codes 0: the step is too small to move, every sample is 1000.
  std::vector<uint8_t> in(36 * 2 + 10, 0);
  for (int b = 0; b < 2; ++b) {
    in[b * 36] = 1000 & 0xFF;
    in[b * 36 + 1] = 1000 >> 8;
  }
  uint32_t used = 0;
  auto out = ConvertAll(s, in, 1000, &used);
  EXPECT_EQ(used, 72u);
  ASSERT_EQ(out.size(), 130u);
  for (int16_t v : out) EXPECT_EQ(v, 1000);
  // Room for one block only.
  out = ConvertAll(s, in, 200, &used);
  EXPECT_EQ(used, 36u);
  EXPECT_EQ(out.size(), 65u);
}

TEST(Acm, PcmPassesThroughAndEmptyInputGivesNothing) {
  const auto block = FormatBlock(WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0, 16);
  WAVEFORMATEX pcm;
  ASSERT_EQ(AcmFormatSuggest(block, pcm), MMSYSERR_NOERROR);
  AcmStream s;
  ASSERT_EQ(s.Open(block, pcm), MMSYSERR_NOERROR);
  std::vector<uint8_t> in = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  std::vector<uint8_t> out(16);
  uint32_t used = 9, produced = 9;
  EXPECT_EQ(s.Convert({}, out, used, produced), MMSYSERR_NOERROR);
  EXPECT_EQ(used, 0u);
  EXPECT_EQ(produced, 0u);
  EXPECT_EQ(s.Convert(in, out, used, produced), MMSYSERR_NOERROR);
  EXPECT_EQ(produced, 8u);
  EXPECT_EQ(0, std::memcmp(out.data(), in.data(), 8));
}

TEST(Acm, RefusesUnknownTagsAndUnusableFormats) {
  struct Case {
    const char* name;
    std::vector<uint8_t> block;
    int32_t expected;
  };
  const Case cases[] = {
      {"unknown tag", FormatBlock(0x161, 2, 44100, 16000, 2048, 16, 0), ACMERR_NOTPOSSIBLE},
      {"too short", FormatBlock(WAVE_FORMAT_ALAW, 1, 8000, 8000, 1, 8, 0, 14), MMSYSERR_INVALPARAM},
      {"no channels", FormatBlock(WAVE_FORMAT_ALAW, 0, 8000, 8000, 1, 8, 0), ACMERR_NOTPOSSIBLE},
      {"rate 0", FormatBlock(WAVE_FORMAT_MULAW, 1, 0, 8000, 1, 8, 0), ACMERR_NOTPOSSIBLE},
      {"MPEG without a byte rate", FormatBlock(WAVE_FORMAT_MPEGLAYER3, 2, 44100, 0, 1, 0, 12, 30), ACMERR_NOTPOSSIBLE},
      {"MPEG at a rate no stream has", FormatBlock(WAVE_FORMAT_MPEGLAYER3, 2, 400000, 16000, 1, 0, 12, 30),
       ACMERR_NOTPOSSIBLE},
      {"ADPCM block smaller than its header", FormatBlock(WAVE_FORMAT_ADPCM, 2, 22050, 11000, 14, 4, 0),
       ACMERR_NOTPOSSIBLE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WAVEFORMATEX pcm{};
    EXPECT_EQ(AcmFormatSuggest(c.block, pcm), c.expected);
  }
}

TEST(Acm, MpegSizesGoByTheByteRatesAndRefuseLessThanAFrame) {
  // 128 kbit/s, 44,100 Hz stereo; cbSize claims 12 bytes the block does not hold.
  const auto shortBlock = FormatBlock(WAVE_FORMAT_MPEGLAYER3, 2, 44100, 16000, 1, 0, 12);
  WAVEFORMATEX pcm;
  ASSERT_EQ(AcmFormatSuggest(shortBlock, pcm), MMSYSERR_NOERROR);
  AcmStream s;
  ASSERT_EQ(s.Open(shortBlock, pcm), MMSYSERR_NOERROR);
  uint32_t n = 0;
  EXPECT_EQ(s.Size(1, n, ACM_STREAMSIZEF_SOURCE), ACMERR_NOTPOSSIBLE) << "the minimum block stays unknown";
  EXPECT_EQ(s.Size(16000, n, ACM_STREAMSIZEF_SOURCE), MMSYSERR_NOERROR);
  EXPECT_EQ(n, 176400u);
  EXPECT_EQ(s.Size(176400, n, ACM_STREAMSIZEF_DESTINATION), MMSYSERR_NOERROR);
  EXPECT_EQ(n, 16000u);
  EXPECT_EQ(s.Size(4607, n, ACM_STREAMSIZEF_DESTINATION), ACMERR_NOTPOSSIBLE);
  // Garbage and a frame header cut short convert to nothing, successfully.
  std::vector<uint8_t> junk = {0x00, 0x12, 0xFF, 0xFB, 0x90};
  uint32_t used = 0;
  EXPECT_TRUE(ConvertAll(s, junk, 4096, &used).empty());
  EXPECT_EQ(used, junk.size());
}

// Frames of the given headers, each padded with zeros to its length.
std::vector<uint8_t> MpegFrameBytes(std::initializer_list<std::array<uint8_t, 4>> headers) {
  std::vector<uint8_t> out;
  for (const auto& b : headers) {
    MpegHeader h;
    EXPECT_TRUE(ParseMpegHeader(b.data(), h));
    const size_t at = out.size();
    out.resize(at + h.frameBytes, 0);
    std::memcpy(out.data() + at, b.data(), 4);
  }
  return out;
}

TEST(Acm, MpegFramesAreFoundAsTheDecoderFindsThem) {
  constexpr std::array<uint8_t, 4> k128{0xFF, 0xFB, 0x90, 0x00}, k128Padded{0xFF, 0xFB, 0x92, 0x00},
      k320{0xFF, 0xFB, 0xE0, 0x00}, k48kHz{0xFF, 0xFB, 0x94, 0x00};
  std::vector<uint8_t> data = {0x12, 0xFF, 0x00};  // junk before the first frame
  const auto frames = MpegFrameBytes({k128, k128Padded, k320});
  data.insert(data.end(), frames.begin(), frames.end());
  data.insert(data.end(), {0xFF, 0xFB, 0x90, 0x00, 1, 2, 3});  // a frame cut short
  MpegFrames f = ScanMpegFrames(data);
  EXPECT_EQ(f.count, 3u);
  EXPECT_EQ(f.samples, 3u * 1152);
  EXPECT_EQ(f.bytes, 3u + 417 + 418 + 1044);
  EXPECT_EQ(f.sampleRate, 44100u);
  EXPECT_EQ(f.ByteRate(), (f.bytes * 44100 + 3455) / 3456);
  EXPECT_EQ(ScanMpegFrames(MpegFrameBytes({k128, k48kHz})).samples, 0u) << "no one rate to play them at";
  EXPECT_EQ(ScanMpegFrames(std::vector<uint8_t>(1000, 0)).count, 0u);
}

TEST(Acm, MpegFormatsAreFittedToTheirFramesOrRefused) {
  // 128 kbit/s frames at 44,100 Hz: 1,252 bytes for 3,456 samples.
  const auto data = MpegFrameBytes({{0xFF, 0xFB, 0x90, 0x00}, {0xFF, 0xFB, 0x92, 0x00}, {0xFF, 0xFB, 0x90, 0x00}});
  const uint32_t own = ScanMpegFrames(data).ByteRate();
  ASSERT_EQ(own, 15977u);
  struct Case {
    const char* name;
    uint32_t rate, avg;
    std::span<const uint8_t> frames;
    int32_t result;
  };
  const Case cases[] = {
      {"states the frames' rate", 44100, 16000, data, MMSYSERR_NOERROR},
      {"states no byte rate", 44100, 0, data, MMSYSERR_NOERROR},
      {"states the lowest rate of the kind", 44100, 4000, data, MMSYSERR_NOERROR},
      {"a byte rate of 1", 44100, 1, data, ACMERR_NOTPOSSIBLE},
      {"a byte rate beyond any frame's", 44100, 40001, data, ACMERR_NOTPOSSIBLE},
      {"another sample rate", 48000, 16000, data, ACMERR_NOTPOSSIBLE},
      {"no whole frame", 44100, 16000, std::span(data).first(416), ACMERR_NOTPOSSIBLE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto block = FormatBlock(WAVE_FORMAT_MPEGLAYER3, 2, c.rate, c.avg, 16384, 0, 0);
    const auto before = block;
    ASSERT_EQ(AcmFitMpegFormat(block, ScanMpegFrames(c.frames)), c.result);
    if (c.result != MMSYSERR_NOERROR) {
      EXPECT_EQ(block, before) << "a refused block is left as it was";
      continue;
    }
    WAVEFORMATEX fitted;
    std::memcpy(&fitted, block.data(), sizeof fitted);
    EXPECT_EQ(fitted.nAvgBytesPerSec, own);
    // Sizes then follow the frames' rate, whatever rate the block stated.
    WAVEFORMATEX pcm;
    ASSERT_EQ(AcmFormatSuggest(block, pcm), MMSYSERR_NOERROR);
    AcmStream s;
    ASSERT_EQ(s.Open(block, pcm), MMSYSERR_NOERROR);
    uint32_t minimum = 0;
    ASSERT_EQ(s.Size(16384, minimum, ACM_STREAMSIZEF_SOURCE), MMSYSERR_NOERROR);
    EXPECT_EQ(minimum, 16384u * 176400 / own / 4 * 4);
  }
}

TEST(Acm, MpegHeaders) {
  struct Case {
    const char* name;
    uint8_t b[4];
    bool ok;
    int version, layer;
    uint32_t bitrate, rate, channels, frameBytes;
  };
  const Case cases[] = {
      {"MPEG-1 III 128k 44.1k stereo", {0xFF, 0xFB, 0x90, 0x00}, true, 1, 3, 128, 44100, 2, 417},
      {"padded", {0xFF, 0xFB, 0x92, 0x00}, true, 1, 3, 128, 44100, 2, 418},
      {"48 kHz mono", {0xFF, 0xFB, 0x94, 0xC0}, true, 1, 3, 128, 48000, 1, 384},
      {"MPEG-2 III 64k 22.05k", {0xFF, 0xF3, 0x80, 0x00}, true, 2, 3, 64, 22050, 2, 208},
      {"MPEG-2.5 III 32k 11.025k", {0xFF, 0xE3, 0x40, 0x00}, true, 25, 3, 32, 11025, 2, 208},
      {"MPEG-1 II 192k 48k", {0xFF, 0xFD, 0xA4, 0x00}, true, 1, 2, 192, 48000, 2, 576},
      {"MPEG-1 I 32k 32k", {0xFF, 0xFF, 0x18, 0x00}, true, 1, 1, 32, 32000, 2, 48},
      {"free format", {0xFF, 0xFB, 0x00, 0x00}, false, 0, 0, 0, 0, 0, 0},
      {"bit-rate index 15", {0xFF, 0xFB, 0xF0, 0x00}, false, 0, 0, 0, 0, 0, 0},
      {"reserved rate", {0xFF, 0xFB, 0x9C, 0x00}, false, 0, 0, 0, 0, 0, 0},
      {"reserved layer", {0xFF, 0xF9, 0x90, 0x00}, false, 0, 0, 0, 0, 0, 0},
      {"reserved version", {0xFF, 0xEB, 0x90, 0x00}, false, 0, 0, 0, 0, 0, 0},
      {"no sync", {0xFF, 0x1B, 0x90, 0x00}, false, 0, 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MpegHeader h;
    ASSERT_EQ(ParseMpegHeader(c.b, h), c.ok);
    if (!c.ok) continue;
    EXPECT_EQ(h.version, c.version);
    EXPECT_EQ(h.layer, c.layer);
    EXPECT_EQ(h.bitrate, c.bitrate);
    EXPECT_EQ(h.sampleRate, c.rate);
    EXPECT_EQ(h.channels, c.channels);
    EXPECT_EQ(h.frameBytes, c.frameBytes);
  }
}

}  // namespace
