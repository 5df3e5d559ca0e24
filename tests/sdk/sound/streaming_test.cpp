#include <chrono>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <thread>

#include "sdk/framework/memory_file.h"
#include "sdk/sound/ogg_reader.h"
#include "sdk/sound/sound_device.h"
#include "sdk/sound/streaming_buffer.h"
#include "sound_fixtures.h"

namespace {

using namespace platform;

// A 44,100 Hz stereo source whose frame f holds (Left(f), Right(f)); it may end before its length.
class RampSource : public CPcmStreamSource {
 public:
  RampSource(uint32_t length, int32_t loops, uint32_t endsAt = UINT32_MAX)
      : m_length(length), m_loops(loops), m_endsAt(std::min(endsAt, length)) {}

  static int16_t Left(uint32_t f) { return static_cast<int16_t>(f % 20000 + 1); }
  static int16_t Right(uint32_t f) { return static_cast<int16_t>(-static_cast<int32_t>(f % 20000) - 1); }

  void Close() override {}
  uint8_t IsOpen() override { return 1; }
  uint8_t Read(void* dst, uint32_t bytes, uint32_t* produced) override {
    auto* out = static_cast<int16_t*>(dst);
    uint32_t n = 0;
    for (; n < bytes / 4 && m_at < m_endsAt; ++n, ++m_at) {
      out[2 * n] = Left(m_at);
      out[2 * n + 1] = Right(m_at);
    }
    if (n < bytes / 4) m_eof = 1;
    if (produced) *produced = n * 4;
    return 1;
  }
  uint8_t Seek(uint32_t frame) override {
    m_at = frame;
    m_eof = 0;
    return 1;
  }
  uint32_t Tell() override { return m_at; }
  uint8_t IsEOF() override { return m_eof; }
  void GetFormat(StreamFormat* f) override { *f = StreamFormat{1, 2, 44100, 176400, 4, 16}; }
  uint32_t GetLength() override { return m_length; }
  uint32_t GetLoopStart() override { return 0; }
  uint32_t GetLoopEnd() override { return m_length; }
  int32_t GetLoopCount() override { return m_loops; }
  uint8_t IsLongStream() override { return m_length > 132300; }

 private:
  uint32_t m_length;
  int32_t m_loops;
  uint32_t m_endsAt;
  uint32_t m_at = 0;
  uint8_t m_eof = 0;
};

constexpr uint32_t kBlockFrames = 33076 / 4;

class Streaming : public testing::Test {
 protected:
  Streaming() {
    SetAudioManualRender(true);
    device = std::make_unique<CSoundDevice>();
    device->Create(nullptr);
  }
  ~Streaming() override {
    device.reset();  // before a sound card could open for it
    SetAudioManualRender(false);
  }

  // Notifications passed after rendering frames from the start of the buffer: each block's end
  // (frames 8,269 x j) and the buffer's last frame.
  static uint32_t Crossings(uint64_t frames) {
    constexpr uint64_t kRing = 16 * kBlockFrames;
    uint64_t count = frames / kRing * 16;
    const uint64_t rest = frames % kRing;
    for (uint64_t j = 1; j < 16; ++j) count += j * kBlockFrames < rest;
    return static_cast<uint32_t>(count);
  }

  // Renders block after block from a fresh Play, each time letting the refill thread handle what
  // was passed before the next; returns the left channel.
  std::vector<int16_t> Play(CStreamingBuffer& b, uint32_t blocks) {
    std::vector<int16_t> left;
    std::vector<int16_t> out(2 * kBlockFrames);
    const uint32_t base = b.WakesHandled();
    for (uint32_t i = 0; i < blocks; ++i) {
      RenderAudio(out);
      for (uint32_t k = 0; k < kBlockFrames; ++k) left.push_back(out[2 * k]);
      const uint32_t expected = Crossings(uint64_t{i + 1} * kBlockFrames);
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      while (b.IsPlaying() && b.WakesHandled() - base < expected && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
      }
    }
    return left;
  }

  std::unique_ptr<CSoundDevice> device;
};

TEST_F(Streaming, BlocksAndNotificationsOfTheStandardFormats) {
  struct Case {
    const char* name;
    StreamFormat format;
    uint32_t block, buffer;
  };
  const Case cases[] = {
      {"44,100 stereo", {1, 2, 44100, 176400, 4, 16}, 33076, 529216},
      {"22,050 mono", {1, 1, 22050, 44100, 2, 16}, 8268, 132288},
      {"48,000 stereo", {1, 2, 48000, 192000, 4, 16}, 36000, 576000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CStreamingBuffer::BlockBytes(c.format), c.block);
    EXPECT_EQ(c.block * CStreamingBuffer::kBlocks, c.buffer);
  }
  const auto offsets = CStreamingBuffer::NotificationOffsets(33076);
  EXPECT_EQ(offsets[0], 33076u);
  EXPECT_EQ(offsets[1], 66152u);
  EXPECT_EQ(offsets[14], 496140u);
  EXPECT_EQ(offsets[15], 529215u);
}

TEST_F(Streaming, ATrackShorterThanTheBufferPlaysOnceAndStops) {
  auto src = std::make_shared<RampSource>(20000, 0);
  CStreamingBuffer b;
  ASSERT_EQ(b.Open(device->Holder(), src), 1);
  EXPECT_EQ(b.BufferSize(), 529216u);
  ASSERT_EQ(b.Play(), 1);
  const auto left = Play(b, 18);
  for (uint32_t f = 0; f < 20000; ++f) ASSERT_EQ(left[f], RampSource::Left(f)) << f;
  for (uint32_t f = 20000; f < left.size(); ++f) ASSERT_EQ(left[f], 0) << f;
  EXPECT_EQ(b.IsPlaying(), 0) << "stopped once its last block has played";
}

TEST_F(Streaming, LoopingForEverIsGapless) {
  const uint32_t length = 30001;  // not a whole number of blocks
  auto src = std::make_shared<RampSource>(length, -1);
  CStreamingBuffer b;
  ASSERT_EQ(b.Open(device->Holder(), src), 1);
  ASSERT_EQ(b.Play(), 1);
  const auto left = Play(b, 40);
  for (uint32_t f = 0; f < left.size(); ++f) ASSERT_EQ(left[f], RampSource::Left(f % length)) << f;
  EXPECT_EQ(b.IsPlaying(), 1);
}

TEST_F(Streaming, LoopCountTwoIsHeardThreeTimes) {
  const uint32_t length = 50000;
  auto src = std::make_shared<RampSource>(length, 2);
  CStreamingBuffer b;
  ASSERT_EQ(b.Open(device->Holder(), src), 1);
  ASSERT_EQ(b.Play(), 1);
  const auto left = Play(b, 40);
  for (uint32_t f = 0; f < 3 * length; ++f) ASSERT_EQ(left[f], RampSource::Left(f % length)) << f;
  for (uint32_t f = 3 * length; f < left.size(); ++f) ASSERT_EQ(left[f], 0) << f;
  EXPECT_EQ(b.IsPlaying(), 0);
  // Played again: from the start, with the count read again.
  ASSERT_EQ(b.Play(), 1);
  const auto again = Play(b, 2);
  EXPECT_EQ(again[0], RampSource::Left(0));
  EXPECT_EQ(again[1000], RampSource::Left(1000));
}

TEST_F(Streaming, ASourceThatEndsEarlyStillStops) {
  for (int32_t loops : {0, 1}) {
    SCOPED_TRACE(loops);
    auto src = std::make_shared<RampSource>(200000, loops, 150000);
    CStreamingBuffer b;
    ASSERT_EQ(b.Open(device->Holder(), src), 1);
    ASSERT_EQ(b.Play(), 1);
    const auto left = Play(b, 60);
    for (uint32_t f = 0; f < 150000; ++f) ASSERT_EQ(left[f], RampSource::Left(f)) << f;
    if (loops == 1) {
      for (uint32_t f = 0; f < 150000; ++f) ASSERT_EQ(left[150000 + f], RampSource::Left(f)) << f;
    }
    EXPECT_EQ(b.IsPlaying(), 0);
  }
}

TEST_F(Streaming, AfterStopTheSourceIsLeftAlone) {
  auto src = std::make_shared<RampSource>(1000000, -1);
  CStreamingBuffer b;
  ASSERT_EQ(b.Open(device->Holder(), src), 1);
  ASSERT_EQ(b.Play(), 1);
  Play(b, 2);
  ASSERT_EQ(b.Stop(), 1);
  const uint32_t at = src->Tell();
  std::vector<int16_t> out(2 * kBlockFrames);
  for (int i = 0; i < 4; ++i) RenderAudio(out);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(src->Tell(), at);
  EXPECT_EQ(b.IsPlaying(), 0);
}

TEST_F(Streaming, WithoutADeviceEverythingReturnsZero) {
  CStreamingBuffer b;
  std::unique_ptr<AudioDevice> none;
  EXPECT_EQ(b.Open(none, std::make_shared<RampSource>(100, 0)), 0);
  int32_t v = 5;
  EXPECT_EQ(b.Play(), 0);
  EXPECT_EQ(b.Stop(), 0);
  EXPECT_EQ(b.IsPlaying(), 0);
  EXPECT_EQ(b.SetVolume(-100), 0);
  EXPECT_EQ(b.GetVolume(&v), 0);
}

TEST_F(Streaming, DestroyingPlayingBuffersWhileAnotherThreadRendersReturns) {
  std::atomic<bool> done{false};
  std::thread renderer([&] {
    std::vector<int16_t> out(2 * kMixPeriodFrames);
    while (!done) {
      RenderAudio(out);
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  });
  auto src = std::make_shared<RampSource>(100000, -1);
  for (int i = 0; i < 200; ++i) {
    CStreamingBuffer b;
    ASSERT_EQ(b.Open(device->Holder(), src), 1);
    ASSERT_EQ(b.Play(), 1);
    if (i % 2) std::this_thread::yield();
  }
  done = true;
  renderer.join();
  EXPECT_EQ(src.use_count(), 1) << "the source lives on with its caller";
}

TEST(OggReader, DecodesAToneAndSeeks) {
  SoundFiles files;
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(sound_writer::MakeOggVorbis(files.Tone(), SoundFiles::kRate, 1, 0.4f, bytes));
  const std::string path = files.Bytes("tone.ogg", bytes);
  COggReader r;
  ASSERT_TRUE(r.Open(path.c_str()));
  EXPECT_FALSE(r.Open(path.c_str())) << "already open";
  EXPECT_EQ(r.IsOpen(), 1);
  StreamFormat f{};
  r.GetFormat(&f);
  EXPECT_EQ(f.nChannels, 1);
  EXPECT_EQ(f.nSamplesPerSec, SoundFiles::kRate);
  EXPECT_EQ(f.nBlockAlign, 2);
  EXPECT_EQ(f.nAvgBytesPerSec, 44100u);
  EXPECT_EQ(r.GetLength(), SoundFiles::kFrames);
  EXPECT_EQ(r.GetLoopEnd(), SoundFiles::kFrames);
  EXPECT_EQ(r.IsLongStream(), 0);
  std::vector<int16_t> pcm(SoundFiles::kFrames + 100);
  uint32_t produced = 0;
  ASSERT_EQ(r.Read(pcm.data(), static_cast<uint32_t>(pcm.size() * 2), &produced), 1);
  EXPECT_EQ(produced, SoundFiles::kFrames * 2);
  EXPECT_EQ(r.IsEOF(), 1);
  double err = 0;
  for (uint32_t i = 0; i < SoundFiles::kFrames; ++i) err += std::pow(pcm[i] - files.Tone()[i], 2);
  EXPECT_LT(std::sqrt(err / SoundFiles::kFrames), 500.0);
  ASSERT_EQ(r.Seek(1000), 1);
  EXPECT_EQ(r.IsEOF(), 0);
  EXPECT_EQ(r.Tell(), 1000u);
  r.Close();
  EXPECT_EQ(r.Read(pcm.data(), 10, &produced), 0);
  EXPECT_EQ(r.Tell(), 0u);
}

TEST(OggReader, RefusesWhatIsNotOggVorbis) {
  SoundFiles files;
  COggReader r;
  EXPECT_FALSE(r.Open(files.Wave(sound_writer::WaveKind::kPcm16, "x.wav").c_str()));
  EXPECT_FALSE(r.Open("/nonexistent.ogg"));
  std::vector<unsigned char> junk(1000, 'O');
  CMemoryFile lent(junk);
  EXPECT_FALSE(r.Open(lent.Name().c_str()));
  EXPECT_EQ(r.IsOpen(), 0);
}

TEST(OggMemoryFile, SeeksAreBoundedAndComputedWide) {
  COggMemoryFile f;
  const unsigned char bytes[] = {1, 2, 3, 4, 5, 6, 7, 8};
  ASSERT_TRUE(f.Assign(bytes, sizeof bytes));
  EXPECT_EQ(OggMemSeek(&f, 6, SEEK_SET), 0);
  EXPECT_EQ(OggMemTell(&f), 6);
  EXPECT_EQ(OggMemSeek(&f, -7, SEEK_CUR), -1) << "before the block";
  EXPECT_EQ(OggMemTell(&f), 6);
  EXPECT_EQ(OggMemSeek(&f, -2, SEEK_END), 0);
  unsigned char out[8] = {};
  EXPECT_EQ(OggMemRead(out, 1, 8, &f), 2u);
  EXPECT_EQ(out[0], 7);
  EXPECT_EQ(OggMemSeek(&f, 100, SEEK_SET), 0);
  EXPECT_EQ(OggMemRead(out, 1, 8, &f), 0u) << "past the end reads nothing";
  EXPECT_EQ(OggMemSeek(&f, 0, 3), -1);
  EXPECT_EQ(OggMemClose(&f), -1);
  EXPECT_EQ(f.state, -1);
  EXPECT_EQ(f.size, 0);
}

}  // namespace
