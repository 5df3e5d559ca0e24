#include <cmath>
#include <cstring>
#include <optional>
#include <gtest/gtest.h>

#include "g711.h"
#include "platform/acm.h"
#include "sdk/framework/path_functions.h"
#include "sdk/sound/acm_reader.h"
#include "sdk/sound/mmio_file.h"
#include "sdk/sound/mp3_file.h"
#include "sdk/sound/pcm_reader_factory.h"
#include "sdk/sound/raw_wave_reader.h"
#include "sdk/sound/sound_base.h"
#include "sound_fixtures.h"

namespace {

using sound_writer::WaveKind;

// A chunk of a file made by the writer; nothing when it has none.
std::optional<std::vector<uint8_t>> Chunk(const std::vector<uint8_t>& file, const char* tag) {
  for (size_t at = 12; at + 8 <= file.size();) {
    uint32_t size;
    std::memcpy(&size, file.data() + at + 4, 4);
    if (std::memcmp(file.data() + at, tag, 4) == 0)
      return std::vector<uint8_t>(file.begin() + at + 8, file.begin() + at + 8 + size);
    at += 8 + size + (size & 1);
  }
  return std::nullopt;
}

std::vector<int16_t> ReadAll(CPCMReader& r) {
  r.SetLoop(0);
  std::vector<uint8_t> bytes(r.GetPCMSize());
  const uint32_t got = r.Read(bytes.data(), static_cast<uint32_t>(bytes.size()));
  std::vector<int16_t> s(got / 2);
  std::memcpy(s.data(), bytes.data(), s.size() * 2);
  return s;
}

// The frequency of a tone from its zero crossings in the middle of the samples.
double ToneHz(const std::vector<int16_t>& s, uint32_t rate) {
  const size_t from = s.size() / 4, to = s.size() * 3 / 4;
  int crossings = 0;
  for (size_t i = from + 1; i < to; ++i) crossings += (s[i - 1] < 0) != (s[i] < 0);
  return crossings / 2.0 * rate / static_cast<double>(to - from);
}

double Rms(const std::vector<int16_t>& s) {
  double sum = 0;
  for (int16_t v : s) sum += static_cast<double>(v) * v;
  return s.empty() ? 0 : std::sqrt(sum / s.size());
}

struct Candidates {
  Candidates() {
    previous = SetReaderCandidateHook([this](std::string_view n) { names.emplace_back(n); });
  }
  ~Candidates() { SetReaderCandidateHook(previous); }
  std::vector<std::string> names;
  ReaderCandidateHook previous;
};

class Readers : public testing::Test {
 protected:
  SoundFiles files;
  CPCMReaderFactory factory;
};

TEST_F(Readers, PcmFilesGiveTheirSamplesExactly) {
  auto r = factory.CreateReader(files.Wave(WaveKind::kPcm16, "pcm16.wav"));
  ASSERT_TRUE(r);
  EXPECT_NE(dynamic_cast<CkmRawWave*>(r.get()), nullptr);
  EXPECT_EQ(r->GetPCMSize(), SoundFiles::kFrames * 2);
  EXPECT_EQ(r->GetLength(), 200u);
  EXPECT_EQ(ReadAll(*r), files.Tone());

  auto r8 = factory.CreateReader(files.Wave(WaveKind::kPcm8, "pcm8.wav"));
  ASSERT_TRUE(r8);
  EXPECT_EQ(r8->GetFormat()->wBitsPerSample, 8);
  std::vector<uint8_t> bytes(SoundFiles::kFrames);
  r8->SetLoop(0);
  ASSERT_EQ(r8->Read(bytes.data(), SoundFiles::kFrames), SoundFiles::kFrames);
  for (uint32_t i = 0; i < SoundFiles::kFrames; ++i) ASSERT_EQ(bytes[i], (files.Tone()[i] >> 8) + 128) << i;
}

TEST_F(Readers, CompressedFormatsDecodeToTheirTone) {
  struct Case {
    const char* name;
    WaveKind kind;
    int (*expand)(uint8_t);  // exact expansion of the stored bytes, or null
    double tolerance;        // RMS error against the tone, of the amplitude
  };
  const Case cases[] = {
      {"a-law", WaveKind::kALaw, ALawToLinear, 0.02},
      {"mu-law", WaveKind::kMuLaw, MuLawToLinear, 0.02},
      {"ms-adpcm", WaveKind::kMsAdpcm, nullptr, 0.05},
      {"ima-adpcm", WaveKind::kImaAdpcm, nullptr, 0.05},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = files.Wave(c.kind, std::string(c.name) + ".wav");
    ASSERT_FALSE(path.empty());
    auto r = factory.CreateReader(path);
    ASSERT_TRUE(r);
    ASSERT_NE(dynamic_cast<kmACMtoPCM*>(r.get()), nullptr);
    EXPECT_EQ(r->GetFormat()->wFormatTag, 1);
    EXPECT_EQ(r->GetFormat()->wBitsPerSample, 16);
    EXPECT_EQ(r->GetFormat()->nSamplesPerSec, SoundFiles::kRate);
    const auto out = ReadAll(*r);
    ASSERT_GE(out.size(), SoundFiles::kFrames);
    EXPECT_LT(out.size(), SoundFiles::kFrames + 2100u) << "at most one padded block more";
    if (c.expand) {
      const auto stored = Chunk(files.Load(path), "data").value();
      ASSERT_EQ(stored.size(), out.size());
      for (size_t i = 0; i < out.size(); ++i) ASSERT_EQ(out[i], c.expand(stored[i])) << i;
    }
    double err = 0;
    for (uint32_t i = 0; i < SoundFiles::kFrames; ++i) err += std::pow(out[i] - files.Tone()[i], 2);
    EXPECT_LT(std::sqrt(err / SoundFiles::kFrames), c.tolerance * 10000);
  }
}

// Compressed data is padded to whole blocks or frames: only the "fact" chunk tells the length.
TEST_F(Readers, CompressedWaveFilesTellTheirLengthInAFactChunk) {
  for (WaveKind kind : {WaveKind::kPcm8, WaveKind::kPcm16, WaveKind::kMsAdpcm, WaveKind::kImaAdpcm, WaveKind::kALaw,
                        WaveKind::kMuLaw, WaveKind::kMp3}) {
    SCOPED_TRACE(static_cast<int>(kind));
    const std::string path = files.Wave(kind, "fact.wav");
    ASSERT_FALSE(path.empty());
    const auto fact = Chunk(files.Load(path), "fact");
    if (kind == WaveKind::kPcm8 || kind == WaveKind::kPcm16) {
      EXPECT_FALSE(fact) << "plain PCM tells its length by its size";
      continue;
    }
    ASSERT_TRUE(fact);
    ASSERT_EQ(fact->size(), 4u);
    uint32_t frames = 0;
    std::memcpy(&frames, fact->data(), 4);
    EXPECT_EQ(frames, SoundFiles::kFrames);
    // The chunk is stepped over: the file still reads.
    auto r = factory.CreateReader(path);
    ASSERT_TRUE(r);
    EXPECT_GE(r->GetPCMSize(), SoundFiles::kFrames * 2);
  }
}

TEST_F(Readers, MpegInWaveAndPlainMpegFilesGiveTheTone) {
  for (const std::string& path : {files.Wave(WaveKind::kMp3, "mp3.wav"), files.Mp3("tone.mp3")}) {
    SCOPED_TRACE(path);
    auto r = factory.CreateReader(path);
    ASSERT_TRUE(r);
    ASSERT_NE(dynamic_cast<kmACMtoPCM*>(r.get()), nullptr);
    EXPECT_EQ(r->GetFormat()->nSamplesPerSec, SoundFiles::kRate);
    EXPECT_EQ(r->GetFormat()->nChannels, 1);
    const auto out = ReadAll(*r);
    // The encoder adds its delay and padding.
    EXPECT_NEAR(static_cast<double>(out.size()), SoundFiles::kFrames, 2400.0);
    EXPECT_NEAR(ToneHz(out, SoundFiles::kRate), 440.0, 15.0);
    EXPECT_NEAR(Rms(out), Rms(files.Tone()), 0.2 * Rms(files.Tone()));
  }
}

// Every frame of an MPEG stream, decoded in one go: what a whole-file load must give.
std::vector<int16_t> ReferenceDecode(const std::vector<uint8_t>& frames, uint32_t rate, uint16_t channels) {
  std::vector<uint8_t> format;
  Put16(format, platform::WAVE_FORMAT_MPEGLAYER3);
  Put16(format, channels);
  Put32(format, rate);
  Put32(format, 16000);
  Put16(format, 1);
  Put16(format, 0);
  Put16(format, 0);
  platform::WAVEFORMATEX pcm{};
  EXPECT_EQ(platform::AcmFormatSuggest(format, pcm), platform::MMSYSERR_NOERROR);
  platform::AcmStream s;
  EXPECT_EQ(s.Open(format, pcm), platform::MMSYSERR_NOERROR);
  std::vector<int16_t> out(frames.size() * 64);
  uint32_t used = 0, produced = 0;
  EXPECT_EQ(s.Convert(frames, std::span(reinterpret_cast<uint8_t*>(out.data()), out.size() * 2), used, produced),
            platform::MMSYSERR_NOERROR);
  out.resize(produced / 2);
  return out;
}

TEST_F(Readers, MpegLoadedWholeGivesEveryFrameOfTheReferenceDecode) {
  struct Case {
    const char* name;
    uint32_t rate;
    uint16_t channels;
    uint32_t frames;
  };
  const Case cases[] = {
      {"44,100 Hz stereo, frames of 1,152 samples", 44100, 2, 44100 / 3},
      {"22,050 Hz mono, frames of 576 samples", 22050, 1, 22050 / 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto tone = sound_writer::Tone(c.rate, c.channels, c.frames, 440, 10000, true);
    std::vector<uint8_t> mp3, wave;
    ASSERT_TRUE(sound_writer::MakeMp3(tone, c.rate, c.channels, mp3));
    ASSERT_TRUE(sound_writer::MakeWave(WaveKind::kMp3, tone, c.rate, c.channels, wave));
    const std::vector<int16_t> reference = ReferenceDecode(mp3, c.rate, c.channels);
    ASSERT_GT(reference.size(), size_t{c.frames} * c.channels);
    for (const std::string& path : {files.Bytes("whole.mp3", mp3), files.Bytes("whole.wav", wave)}) {
      SCOPED_TRACE(path);
      auto r = factory.CreateReader(path);
      ASSERT_TRUE(r);
      EXPECT_EQ(r->GetPCMSize(), reference.size() * 2);
      const std::vector<int16_t> out = ReadAll(*r);
      ASSERT_EQ(out.size(), reference.size());
      EXPECT_EQ(out, reference);
    }
  }
}

TEST_F(Readers, ByteByByteReadsEqualOneBulkRead) {
  for (WaveKind kind : {WaveKind::kPcm16, WaveKind::kALaw, WaveKind::kMsAdpcm, WaveKind::kImaAdpcm}) {
    SCOPED_TRACE(static_cast<int>(kind));
    const std::string path = files.Wave(kind, "bytes.wav");
    auto bulk = factory.CreateReader(path);
    auto single = factory.CreateReader(path);
    ASSERT_TRUE(bulk && single);
    const uint32_t n = bulk->GetPCMSize();
    bulk->SetLoop(0);
    single->SetLoop(0);
    std::vector<uint8_t> a(n), b(n);
    ASSERT_EQ(bulk->Read(a.data(), n), n);
    for (uint32_t i = 0; i < n; ++i) ASSERT_EQ(single->Read(&b[i], 1), 1u) << i;
    EXPECT_EQ(a, b);
  }
}

TEST_F(Readers, TheFactoryPicksByContentNotByName) {
  {
    Candidates seen;
    auto r = factory.CreateReader(files.Wave(WaveKind::kPcm16, "named.mp3"));
    ASSERT_TRUE(r);
    EXPECT_NE(dynamic_cast<CkmRawWave*>(r.get()), nullptr);
    EXPECT_EQ(seen.names, std::vector<std::string>{"CkmRawWave"});
  }
  {
    Candidates seen;
    auto r = factory.CreateReader(files.Mp3("named.wav"));
    ASSERT_TRUE(r);
    EXPECT_NE(dynamic_cast<kmACMtoPCM*>(r.get()), nullptr);
    EXPECT_EQ(seen.names, (std::vector<std::string>{"CkmRawWave", "CDirectShowPCMReader", "kmACMtoPCM"}));
  }
  {
    Candidates seen;
    EXPECT_FALSE(factory.CreateReader(files.Bytes("junk.wav", std::vector<uint8_t>(500, 7))));
    EXPECT_FALSE(factory.CreateReader(""));
    EXPECT_EQ(seen.names.size(), 6u) << "three built-in candidates for each name";
  }
}

TEST_F(Readers, PluginsThatDoNotLoadYieldNoReaderAndOnePathIsKeptOnce) {
  const size_t before = AudioPlugins().plugins.size();
  factory.LoadPlugin("/nonexistent/plugin.so");
  factory.LoadPlugin("/nonexistent/plugin.so");
  EXPECT_EQ(AudioPlugins().plugins.size(), before + 1);
  Candidates seen;
  EXPECT_TRUE(factory.CreateReader(files.Wave(WaveKind::kPcm16, "p.wav")));
  ASSERT_GE(seen.names.size(), 2u);
  EXPECT_EQ(seen.names.front(), "plugin " + CanonicalizePath("/nonexistent/plugin.so"));
  AudioPlugins().plugins.clear();
}

TEST_F(Readers, ALoopingRawReadGoesOnFromTheStartOnce) {
  auto r = factory.CreateReader(files.Wave(WaveKind::kPcm16, "loop.wav"));
  ASSERT_TRUE(r);
  ASSERT_EQ(r->SetPosition((SoundFiles::kFrames - 10) * 2), 1);
  std::vector<int16_t> s(30);
  ASSERT_EQ(r->Read(s.data(), 60), 60u);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(s[i], files.Tone()[SoundFiles::kFrames - 10 + i]);
  for (int i = 10; i < 30; ++i) EXPECT_EQ(s[i], files.Tone()[i - 10]);
  EXPECT_EQ(r->SetLoop(0), 1);
  ASSERT_EQ(r->SetPosition((SoundFiles::kFrames - 10) * 2), 1);
  EXPECT_EQ(r->Read(s.data(), 60), 20u);
}

TEST_F(Readers, MsToBytesCountsWholeSecondsOnly) {
  auto r = factory.CreateReader(files.Wave(WaveKind::kPcm16, "ms.wav"));
  ASSERT_TRUE(r);
  EXPECT_EQ(r->MsToBytes(999), 0u);
  EXPECT_EQ(r->MsToBytes(1500), 44100u);
  EXPECT_EQ(r->MsToBytes(1999), 44100u);
  EXPECT_EQ(r->SecondsToBytes(2), 88200u);
  EXPECT_EQ(r->BytesToMs(44100), 1000u);
}

// Wave files made by hand: a format chunk of fmtSize bytes, then the chunks given.
std::vector<uint8_t> Riff(uint32_t fmtSize, const std::vector<std::pair<const char*, std::vector<uint8_t>>>& chunks,
                          uint32_t dataClaim = 0) {
  std::vector<uint8_t> f;
  PutTag(f, "RIFF");
  Put32(f, 0);
  PutTag(f, "WAVE");
  PutTag(f, "fmt ");
  Put32(f, fmtSize);
  Put16(f, 1);
  Put16(f, 1);
  Put32(f, 8000);
  Put32(f, 16000);
  Put16(f, 2);
  Put16(f, 16);
  for (uint32_t i = 16; i < fmtSize; ++i) f.push_back(0);
  for (const auto& [tag, bytes] : chunks) {
    PutTag(f, tag);
    Put32(f, std::strcmp(tag, "data") == 0 && dataClaim ? dataClaim : static_cast<uint32_t>(bytes.size()));
    f.insert(f.end(), bytes.begin(), bytes.end());
  }
  const uint32_t riff = static_cast<uint32_t>(f.size() - 8);
  std::memcpy(f.data() + 4, &riff, 4);
  return f;
}

TEST_F(Readers, WaveFilesAreWalkedWithinTheirBytes) {
  const std::vector<uint8_t> data = {1, 2, 3, 4, 5, 6, 7, 8};
  {
    SCOPED_TRACE("a 16-byte format block reads cbSize 18");
    kmMmioFile f;
    ASSERT_EQ(f.Open(files.Bytes("a.wav", Riff(16, {{"data", data}})).c_str()), 1);
    EXPECT_EQ(f.GetFormat()->cbSize, 18);
    EXPECT_EQ(f.GetFormatSize(), 18u);
    EXPECT_EQ(f.GetSize(), 8u);
  }
  {
    SCOPED_TRACE("reads stop at the end of the data chunk");
    kmMmioFile f;
    ASSERT_EQ(f.Open(files.Bytes("b.wav", Riff(16, {{"data", data}, {"LIST", {9, 9, 9, 9}}})).c_str()), 1);
    std::vector<uint8_t> out(64, 0);
    EXPECT_EQ(f.Read(out.data(), 64), 8);
    EXPECT_EQ(f.Read(out.data(), 64), 0);
    EXPECT_EQ(f.Tell(), 8);
  }
  {
    SCOPED_TRACE("a data chunk that claims more holds the bytes present");
    kmMmioFile f;
    ASSERT_EQ(f.Open(files.Bytes("c.wav", Riff(16, {{"data", data}}, 100000)).c_str()), 1);
    EXPECT_EQ(f.GetSize(), 8u);
  }
  {
    SCOPED_TRACE("a format chunk running past the file is refused");
    auto bytes = Riff(16, {});
    bytes[16] = 40;  // fmt size
    kmMmioFile f;
    EXPECT_EQ(f.Open(files.Bytes("d.wav", bytes).c_str()), 0);
  }
  {
    SCOPED_TRACE("no data chunk, no RIFF, no file");
    kmMmioFile f;
    EXPECT_EQ(f.Open(files.Bytes("e.wav", Riff(16, {{"junk", data}})).c_str()), 0);
    EXPECT_EQ(f.Open(files.Bytes("f.wav", std::vector<uint8_t>(100, 0)).c_str()), 0);
    EXPECT_EQ(f.Open(files.Bytes("g.wav", {}).c_str()), 0);
    EXPECT_EQ(f.Open("/nonexistent.wav"), 0);
    EXPECT_EQ(f.GetFormat(), nullptr);
  }
}

// An MPEG file: optional ID3v2 tag of tagSize bytes (with footer when footer), frames of the
// header, an optional ID3v1 tag, padded to at least total bytes before the tag.
std::vector<uint8_t> Mpeg(std::vector<uint8_t> header, size_t body, int id3Major = 0, uint32_t tagSize = 0,
                          bool footer = false, bool id3v1 = false) {
  std::vector<uint8_t> f;
  if (id3Major) {
    f = {'I',
         'D',
         '3',
         static_cast<uint8_t>(id3Major),
         0,
         static_cast<uint8_t>(footer ? 0x10 : 0),
         static_cast<uint8_t>(tagSize >> 21 & 0x7F),
         static_cast<uint8_t>(tagSize >> 14 & 0x7F),
         static_cast<uint8_t>(tagSize >> 7 & 0x7F),
         static_cast<uint8_t>(tagSize & 0x7F)};
    f.resize(f.size() + tagSize + (footer ? 10 : 0), 0);
  }
  f.insert(f.end(), header.begin(), header.end());
  f.resize(f.size() + body, 0);
  if (id3v1) {
    const size_t at = f.size();
    f.resize(at + 128, 0);
    std::memcpy(f.data() + at, "TAG", 3);
  }
  return f;
}

TEST_F(Readers, MpegFileHeadersAndTags) {
  struct Case {
    const char* name;
    std::vector<uint8_t> file;
    bool opens;
    uint32_t rate, avg, blockSize, channels, dataStart, dataSize;
  };
  const std::vector<uint8_t> h128 = {0xFF, 0xFB, 0x90, 0x00};
  const Case cases[] = {
      // The data starts with the first frame's header.
      {"128k 44.1k stereo", Mpeg(h128, 1000), true, 44100, 16000, 417, 2, 0, 1004},
      {"48k mono", Mpeg({0xFF, 0xFB, 0x94, 0xC0}, 1000), true, 48000, 16000, 384, 1, 0, 1004},
      {"MPEG-2 rates", Mpeg({0xFF, 0xF3, 0x80, 0x00}, 1000), true, 22050, 8000, 417, 2, 0, 1004},
      {"MPEG-2.5 takes MPEG-2 rates", Mpeg({0xFF, 0xE3, 0x40, 0x00}, 1000), true, 22050, 4000, 208, 2, 0, 1004},
      {"ID3v2.4 with footer", Mpeg(h128, 1000, 4, 300, true), true, 44100, 16000, 417, 2, 320, 1004},
      {"ID3v2.4 without footer", Mpeg(h128, 1000, 4, 300, false), true, 44100, 16000, 417, 2, 310, 1004},
      {"ID3v2.3 footer flag ignored", Mpeg(h128, 1000, 3, 300, false), true, 44100, 16000, 417, 2, 310, 1004},
      {"ID3v1 left out", Mpeg(h128, 1000, 0, 0, false, true), true, 44100, 16000, 417, 2, 0, 1004},
      {"exactly skip + 128 bytes", Mpeg(h128, 124, 4, 300, false), false, 0, 0, 0, 0, 0, 0},
      {"128 bytes", Mpeg(h128, 124), false, 0, 0, 0, 0, 0, 0},
      {"ID without 3", {'I', 'D', '4', 3, 0, 0, 0, 0, 0, 0, 0xFF, 0xFB, 0x90, 0, 0, 0}, false, 0, 0, 0, 0, 0, 0},
      {"no sync", Mpeg({0xFE, 0xFB, 0x90, 0x00}, 1000), false, 0, 0, 0, 0, 0, 0},
      {"reserved layer", Mpeg({0xFF, 0xF9, 0x90, 0x00}, 1000), false, 0, 0, 0, 0, 0, 0},
      {"free format", Mpeg({0xFF, 0xFB, 0x00, 0x00}, 1000), false, 0, 0, 0, 0, 0, 0},
      {"bit-rate index 15", Mpeg({0xFF, 0xFB, 0xF0, 0x00}, 1000), false, 0, 0, 0, 0, 0, 0},
      {"reserved rate", Mpeg({0xFF, 0xFB, 0x9C, 0x00}, 1000), false, 0, 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    kmMp3File f;
    ASSERT_EQ(f.Open(files.Bytes("h.mp3", c.file).c_str()), c.opens ? 1 : 0);
    if (!c.opens) continue;
    const WAVEFORMATEX* w = f.GetFormat();
    EXPECT_EQ(w->wFormatTag, 0x55);
    EXPECT_EQ(w->nSamplesPerSec, c.rate);
    EXPECT_EQ(w->nAvgBytesPerSec, c.avg);
    EXPECT_EQ(w->nChannels, c.channels);
    EXPECT_EQ(w->cbSize, 12);
    EXPECT_EQ(reinterpret_cast<const MPEGLAYER3WAVEFORMAT*>(w)->nBlockSize, c.blockSize);
    EXPECT_EQ(f.DataStart(), c.dataStart);
    EXPECT_EQ(f.GetSize(), c.dataSize);
    // The remaining count stays within the data.
    EXPECT_EQ(f.Seek(-5000), static_cast<int32_t>(c.dataStart));
    EXPECT_EQ(f.Tell(), 0);
    EXPECT_EQ(f.Seek(100000), static_cast<int32_t>(c.dataStart + c.dataSize));
    std::vector<uint8_t> out(10);
    EXPECT_EQ(f.Read(out.data(), 10), 0);
    EXPECT_EQ(f.Rewind(), 0);
    EXPECT_EQ(f.Read(out.data(), 10), 10);
  }
}

TEST(SoundBase, HoursMinutesSecondsBothWays) {
  struct Case {
    const char* name;
    int32_t ms, h, m, s, msPart;
  };
  const Case cases[] = {
      {"1:02:03.004", 3723004, 1, 2, 3, 4},     {"90 minutes", 5400000, 1, 30, 0, 0},
      {"25 hours", 90000000, 25, 0, 0, 0},      {"zero", 0, 0, 0, 0, 0},
      {"largest", INT32_MAX, 596, 31, 23, 647},
  };
  struct Plain : CSoundBase {
    int32_t Open(const char*) override { return 0; }
    int32_t Close() override { return 0; }
    int32_t Play() override { return 0; }
    int32_t Replay() override { return 0; }
    int32_t Stop() override { return 0; }
    int32_t Pause() override { return 0; }
    uint8_t IsPlay() override { return 0; }
    uint8_t IsLoop() override { return 0; }
    int32_t SetLoop(uint8_t) override { return 0; }
    int32_t GetCurrentPos() override { return 0; }
    int32_t SetCurrentPos(int32_t) override { return 0; }
    int32_t GetLength() override { return 0; }
    int32_t SetVolume(int32_t) override { return 0; }
    int32_t GetVolume() override { return 0; }
  } b;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int32_t h = -9, m = -9, s = -9, ms = -9;
    ASSERT_EQ(b.ConvertToHMS(c.ms, &h, &m, &s, &ms), 0);
    EXPECT_EQ(h, c.h);
    EXPECT_EQ(m, c.m);
    EXPECT_EQ(s, c.s);
    EXPECT_EQ(ms, c.msPart);
    int32_t back = -9;
    ASSERT_EQ(b.ConvertFromHMS(&back, c.h, c.m, c.s, c.msPart), 0);
    EXPECT_EQ(back, c.ms);
  }
  int32_t h = 7, m = 7, s = 7, ms = 7, out = 7;
  EXPECT_EQ(b.ConvertToHMS(-1, &h, &m, &s, &ms), -1);
  EXPECT_EQ(h + m + s + ms, 28);
  for (auto parts :
       {std::array{-1, 0, 0, 0}, std::array{0, -1, 0, 0}, std::array{0, 0, -1, 0}, std::array{0, 0, 0, -1}}) {
    EXPECT_EQ(b.ConvertFromHMS(&out, parts[0], parts[1], parts[2], parts[3]), -1);
  }
  EXPECT_EQ(out, 7);
  // 597 hours no longer fit; the sum wraps as 32-bit arithmetic does.
  ASSERT_EQ(b.ConvertFromHMS(&out, 597, 0, 0, 0), 0);
  EXPECT_EQ(out, static_cast<int32_t>(597u * 3600000u));
}

}  // namespace
