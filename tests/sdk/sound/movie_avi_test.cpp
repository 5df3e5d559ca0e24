// Films played on a simulated clock: the frame shown at each time, the nesting of stops, the
// drawing geometry, and the sound track as the mixer renders it.
#include "sdk/sound/movie_avi.h"

#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

#include "fuzz_corpus.h"
#include "platform/acm.h"
#include "platform/audio_mixer.h"
#include "platform/clock.h"
#include "scoped_temp_dir.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/sound/movie_avi_audio.h"
#include "sdk/sound/plane_avi.h"
#include "tools/make_films/film_writer.h"
#include "tools/make_sounds/sound_writer.h"

using namespace platform;

namespace {

uint32_t FrameColour(int frame) { return (0x204060u + 0x010203u * static_cast<uint32_t>(frame)) & 0xFFFFFF; }
uint32_t Flat(int, int, int frame) { return FrameColour(frame); }

film_writer::Video Frames(int count, int width = 4, int height = 3) {
  film_writer::Video v;
  v.width = width;
  v.height = height;
  for (int i = 0; i < count; ++i) v.frames.push_back(film_writer::Rows24(width, height, Flat, i));
  return v;
}

std::vector<uint8_t> PcmFormat(uint32_t rate, uint16_t channels, uint16_t bits = 16) {
  std::vector<uint8_t> f;
  sound_writer::Put16(f, 1);
  sound_writer::Put16(f, channels);
  sound_writer::Put32(f, rate);
  sound_writer::Put32(f, rate * channels * bits / 8);
  sound_writer::Put16(f, channels * bits / 8);
  sound_writer::Put16(f, bits);
  sound_writer::Put16(f, 0);
  return f;
}

// 16-bit PCM whose every sample tells its own frame number.
film_writer::Audio Pcm(uint32_t rate, uint16_t channels, uint32_t frames) {
  film_writer::Audio a;
  a.format = PcmFormat(rate, channels);
  for (uint32_t i = 0; i < frames; ++i)
    for (uint16_t c = 0; c < channels; ++c) sound_writer::Put16(a.data, (i * 7 + c * 3) & 0x7FFF);
  a.chunkBytes = 4410 * channels;
  return a;
}

film_writer::Audio ImaAdpcm(uint32_t rate, uint16_t channels, uint32_t frames) {
  std::vector<uint8_t> wave;
  EXPECT_TRUE(sound_writer::MakeWave(sound_writer::WaveKind::kImaAdpcm,
                                     sound_writer::Tone(rate, channels, frames, 523.0, 12000), rate, channels, wave));
  film_writer::Audio a;
  EXPECT_TRUE(film_writer::SplitWave(wave, a.format, a.data));
  a.chunkBytes = 3 * (a.format[12] | a.format[13] << 8) + 17;  // chunks cut blocks apart
  return a;
}

uint32_t Pixel(CMemPlane* p, int x, int y) { return p->GetImpl()->GetRow(y)[x] & 0xFFFFFF; }

class Movie : public testing::Test {
 protected:
  Movie() {
    SetAudioManualRender(true);
    CMovieAVIAUDIO::SetIdleWaitMs(1);
  }
  ~Movie() override {
    CMovieAVIAUDIO::SetIdleWaitMs(500);
    SetAudioManualRender(false);
  }

  std::string Write(const char* name, const film_writer::Film& film) {
    const std::string path = dir.File(name);
    EXPECT_TRUE(sound_writer::WriteFile(path, film_writer::MakeAvi(film)));
    return path;
  }

  // Renders frames and lets the sound worker refill what they passed; returns them.
  std::vector<int16_t> Render(CMovieAVI& movie, uint32_t frames) {
    std::vector<int16_t> out(2 * frames);
    RenderAudio(out);
    CMovieAVIAUDIO* audio = movie.AudioPart();
    if (audio && audio->Buffer()) {
      uint32_t play = 0, write = 0;
      audio->Buffer()->GetCurrentPosition(&play, &write);
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      while (audio->LastPlayCursor() != play && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    }
    return out;
  }

  ManualClock clock{1000};
  ScopedTempDir dir;
};

TEST_F(Movie, FramesFollowTheMovieClock) {
  film_writer::Film film;
  film.video = Frames(100);
  CMovieAVI movie;
  ASSERT_EQ(movie.Open(Write("f.avi", film).c_str()), 0);
  EXPECT_EQ(movie.GetLength(), 6666);
  EXPECT_EQ(movie.HasVideo(), 1);
  EXPECT_EQ(movie.HasAudio(), 0);
  EXPECT_EQ(movie.DrawEnableFlag(), 0) << "every open closes first";
  ASSERT_EQ(movie.Play(), 0);
  EXPECT_EQ(movie.IsPlay(), 1);
  CMemPlane* dib = movie.GetDib();
  ASSERT_NE(dib, nullptr);
  int w = 0, h = 0;
  dib->GetSize(&w, &h);
  EXPECT_EQ(w, 4);
  EXPECT_EQ(h, 3);
  EXPECT_EQ(Pixel(dib, 0, 0), FrameColour(0)) << "sample 0 is drawn at once";
  const struct {
    uint32_t advance;
    int frame;
  } steps[] = {{66, 0}, {1, 1}, {1000, 16}, {5600, 99}, {100000, 99}};  // at 66, 67, 1067, 6667 ms
  for (const auto& s : steps) {
    clock.Advance(s.advance);
    dib = movie.GetDib();
    EXPECT_EQ(Pixel(dib, 3, 2), FrameColour(s.frame)) << "after " << s.advance;
  }
  EXPECT_EQ(movie.IsPlay(), 1) << "a movie never ends by itself";
  movie.SetCurrentPos(2000);
  EXPECT_EQ(Pixel(movie.GetDib(), 0, 0), FrameColour(30));
}

TEST_F(Movie, NestedStopsAndPositions) {
  film_writer::Film film;
  film.video = Frames(200);
  CMovieAVI movie;
  ASSERT_EQ(movie.Open(Write("n.avi", film).c_str()), 0);
  movie.Play();
  clock.Advance(1000);
  movie.Stop();
  movie.Stop();
  clock.Advance(500);
  movie.Replay();
  EXPECT_EQ(movie.IsPlay(), 0) << "stop, stop, replay stays stopped";
  EXPECT_EQ(movie.GetCurrentPos(), 1000);
  movie.Replay();
  EXPECT_EQ(movie.IsPlay(), 1);
  EXPECT_EQ(movie.GetCurrentPos(), 1000);
  clock.Advance(4000);
  movie.Stop();
  EXPECT_EQ(movie.GetCurrentPos(), 5000);
  movie.SetCurrentPos(3000);
  movie.Replay();
  EXPECT_EQ(movie.GetCurrentPos(), 3000);
  clock.Advance(10);
  EXPECT_EQ(movie.GetCurrentPos(), 3010);

  EXPECT_EQ(movie.SetLoop(1), 0);
  EXPECT_EQ(movie.SetLoop(1), 1);
  EXPECT_EQ(movie.GetVolume(), -10000) << "a sound part without a buffer";
  EXPECT_EQ(movie.SetVolume(-300), -1);

  CMovieAVI fresh;
  EXPECT_EQ(fresh.SetVolume(-700), -1);
  EXPECT_EQ(fresh.GetVolume(), -700) << "no sound part: the value given";
  EXPECT_EQ(fresh.GetDib(), nullptr);
  fresh.Play();
  EXPECT_EQ(fresh.IsPlay(), 1);
  EXPECT_EQ(fresh.Open(nullptr), -1);
}

TEST(MovieGeometry, WhereTheFrameGoesInTheBox) {
  const struct {
    const char* name;
    int boxW, boxH, fw, fh;
    bool stretch, keep, center;
    FrameGeometry want;
  } cases[] = {
      {"keep aspect, wide box", 640, 400, 320, 240, true, true, false, {10, 20, {0, 0, 320, 240}, true, 533, 400}},
      {"keep aspect, centred", 640, 400, 320, 240, true, true, true, {63, 20, {0, 0, 320, 240}, true, 533, 400}},
      {"keep aspect, tall box", 640, 600, 320, 240, true, true, false, {10, 20, {0, 0, 320, 240}, true, 640, 480}},
      {"keep aspect, tall, centred", 640, 600, 320, 240, true, true, true, {10, 80, {0, 0, 320, 240}, true, 640, 480}},
      {"stretched to the box", 640, 600, 320, 240, true, false, true, {10, 20, {0, 0, 320, 240}, true, 640, 600}},
      {"1:1 centred", 640, 480, 320, 240, false, false, true, {170, 140, {0, 0, 320, 240}, false, 0, 0}},
      {"larger than the box", 640, 480, 800, 600, false, false, true, {10, 20, {0, 0, 640, 480}, false, 0, 0}},
  };
  for (const auto& c : cases) {
    const FrameGeometry g = FrameDrawGeometry(10, 20, c.boxW, c.boxH, c.fw, c.fh, c.stretch, c.keep, c.center);
    EXPECT_EQ(g.x, c.want.x) << c.name;
    EXPECT_EQ(g.y, c.want.y) << c.name;
    EXPECT_EQ(g.source.right, c.want.source.right) << c.name;
    EXPECT_EQ(g.source.bottom, c.want.source.bottom) << c.name;
    EXPECT_EQ(g.stretched, c.want.stretched) << c.name;
    if (c.stretch) {
      EXPECT_EQ(g.width, c.want.width) << c.name;
      EXPECT_EQ(g.height, c.want.height) << c.name;
    }
  }
}

TEST_F(Movie, MjpegFramesDecodeClose) {
  film_writer::Film film;
  film_writer::Video v;
  v.width = 32;
  v.height = 16;
  v.compression = MakeFourCC('M', 'J', 'P', 'G');
  for (int i = 0; i < 10; ++i) v.frames.push_back(film_writer::Jpeg(32, 16, Flat, i * 10));
  film.video = v;
  CMovieAVI movie;
  ASSERT_EQ(movie.Open(Write("m.avi", film).c_str()), 0);
  movie.Play();
  clock.Advance(340);  // frame 5
  const uint32_t got = Pixel(movie.GetDib(), 16, 8), want = FrameColour(50);
  for (int shift : {0, 8, 16})
    EXPECT_NEAR(static_cast<int>((got >> shift) & 255), static_cast<int>((want >> shift) & 255), 4) << shift;
}

TEST_F(Movie, WithoutVideoTheOpenFailsButTheSoundPlays) {
  film_writer::Film film;
  film.audio = Pcm(22050, 1, 22050);
  CMovieAVI movie;
  EXPECT_EQ(movie.Open(Write("a.avi", film).c_str()), -1);
  EXPECT_EQ(movie.HasAudio(), 1);
  EXPECT_EQ(movie.HasVideo(), 0);
  movie.Play();
  const std::vector<int16_t> out = Render(movie, 2000);
  EXPECT_NE(out[2 * 1999], 0) << "the sound plays";
}

TEST_F(Movie, TheBufferHoldsFourSecondsAndIsPrefilled) {
  film_writer::Film film;
  film.video = Frames(10);
  film.audio = Pcm(22050, 1, 22050 * 10);
  CMovieAVI movie;
  ASSERT_EQ(movie.Open(Write("p.avi", film).c_str()), 0);
  CMovieAVIAUDIO* audio = movie.AudioPart();
  ASSERT_NE(audio, nullptr);
  ASSERT_TRUE(audio->HasBuffer());
  EXPECT_EQ(audio->BufferSize(), 176400u);
  movie.Play();
  void* p1 = nullptr;
  void* p2 = nullptr;
  uint32_t b1 = 0, b2 = 0;
  ASSERT_EQ(audio->Buffer()->Lock(0, 176400, &p1, &b1, &p2, &b2, 0), DS_OK);
  const auto* bytes = static_cast<const uint8_t*>(p1);
  EXPECT_EQ(std::memcmp(bytes, film.audio->data.data(), 154350), 0);
  bool silent = true;
  for (uint32_t i = 154350; i < 176400; ++i) silent = silent && bytes[i] == 0;
  EXPECT_TRUE(silent) << "nothing beyond 7/8";
  audio->Buffer()->Unlock(p1, b1, p2, b2);
}

TEST_F(Movie, PlayedTwiceBeforeTheMixerComesItsSoundStartsOnce) {
  film_writer::Film film;
  film.video = Frames(10);
  film.audio = Pcm(44100, 1, 44100);
  CMovieAVI movie;
  ASSERT_EQ(movie.Open(Write("twice.avi", film).c_str()), 0);
  movie.Play();
  movie.Play();
  const std::vector<int16_t> out = Render(movie, 2 * kRampFrames);
  for (uint32_t i = 0; i < 2 * kRampFrames; ++i) ASSERT_EQ(out[2 * i], static_cast<int16_t>(i * 7 & 0x7FFF)) << i;
}

// The left channel of a 44,100 Hz stereo sound decoded in one go.
std::vector<int16_t> DecodeAll(const film_writer::Audio& a) {
  WAVEFORMATEX pcm{};
  EXPECT_EQ(AcmFormatSuggest(a.format, pcm), MMSYSERR_NOERROR);
  AcmStream s;
  EXPECT_EQ(s.Open(a.format, pcm), MMSYSERR_NOERROR);
  uint32_t outBytes = 0;
  s.Size(static_cast<uint32_t>(a.data.size()), outBytes, ACM_STREAMSIZEF_SOURCE);
  std::vector<int16_t> pcmOut(outBytes / 2 + 8);
  uint32_t used = 0, produced = 0;
  EXPECT_EQ(s.Convert(a.data, std::span<uint8_t>(reinterpret_cast<uint8_t*>(pcmOut.data()), pcmOut.size() * 2), used,
                      produced),
            MMSYSERR_NOERROR);
  pcmOut.resize(produced / 2);
  return pcmOut;
}

// MPEG sound as common tools store it in a film: a byte stream whose format states no byte rate.
TEST_F(Movie, MpegSoundWithoutAByteRateIsHeard) {
  const auto tone = sound_writer::Tone(44100, 2, 44100, 440, 12000);
  film_writer::Audio a;
  ASSERT_TRUE(sound_writer::MakeMp3(tone, 44100, 2, a.data));
  for (uint32_t v : {0x55u, 2u}) sound_writer::Put16(a.format, v);
  sound_writer::Put32(a.format, 44100);
  sound_writer::Put32(a.format, 0);
  for (uint32_t v : {1u, 0u, 0u}) sound_writer::Put16(a.format, v);
  a.rate = 16000;
  a.scale = 1;
  film_writer::Film film;
  film.video = Frames(10);
  film.audio = a;
  CMovieAVI movie;
  ASSERT_EQ(movie.Open(Write("m.avi", film).c_str()), 0);
  EXPECT_EQ(movie.HasAudio(), 1);
  ASSERT_TRUE(movie.AudioPart()->HasBuffer());
  // What the whole stream decodes to, at the byte rate of its frames.
  film_writer::Audio rated = a;
  rated.format[8] = 16000 & 0xFF;
  rated.format[9] = 16000 >> 8;
  const std::vector<int16_t> whole = DecodeAll(rated);
  ASSERT_GT(whole.size(), 44100u);
  movie.Play();
  std::vector<int16_t> heard;
  while (heard.size() < whole.size()) {
    const std::vector<int16_t> out = Render(movie, 4410);
    heard.insert(heard.end(), out.begin(), out.end());
  }
  heard.resize(whole.size());
  EXPECT_EQ(heard, whole);
}

TEST_F(Movie, ImaAdpcmStreamsWithoutGapOrRepeat) {
  film_writer::Film film;
  film.video = Frames(10);
  film.audio = ImaAdpcm(44100, 2, 44100 * 12);
  const std::vector<int16_t> whole = DecodeAll(*film.audio);
  CMovieAVI movie;
  ASSERT_EQ(movie.Open(Write("i.avi", film).c_str()), 0);
  movie.Play();
  std::vector<int16_t> heard;
  const uint32_t chunks[] = {1000, 7919, 4410, 333, 8192, 2048, 6007};
  for (size_t i = 0; heard.size() < whole.size(); ++i) {
    const std::vector<int16_t> out = Render(movie, chunks[i % 7]);
    heard.insert(heard.end(), out.begin(), out.end());
  }
  ASSERT_GE(heard.size(), whole.size());
  size_t differ = 0, first = whole.size();
  for (size_t i = 0; i < whole.size(); ++i)
    if (heard[i] != whole[i]) {
      ++differ;
      first = std::min(first, i);
    }
  EXPECT_EQ(differ, 0u) << "first at frame " << first / 2;
  bool silentAfter = true;
  for (size_t i = whole.size(); i < heard.size(); ++i) silentAfter = silentAfter && heard[i] == 0;
  EXPECT_TRUE(silentAfter) << "silence after the end while still playing";
  EXPECT_EQ(movie.IsPlay(), 1);
}

// Every byte a write is asked for is either written or owed to the next write, across the end
// of the buffer too; block codecs routinely write less than asked.
TEST_F(Movie, WritesOweWhatTheyDidNotWrite) {
  const struct {
    const char* name;
    uint32_t frames;
    std::vector<uint32_t> requests;
  } cases[] = {
      {"uneven requests", 44100 * 12, {30011, 60000, 123457, 7, 99999, 150001, 40000}},
      // The sound ends inside the write that reaches the buffer's end: less is written than
      // asked while a part is still to wrap.
      {"the end at the wrap", 44100 * 38 / 10, {176400, 176400}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    film_writer::Film film;
    film.video = Frames(10);
    film.audio = ImaAdpcm(44100, 2, c.frames);
    CMovieAVI movie;
    ASSERT_EQ(movie.Open(Write("o.avi", film).c_str()), 0);
    CMovieAVIAUDIO* audio = movie.AudioPart();
    ASSERT_TRUE(audio->HasBuffer());
    const uint64_t size = audio->BufferSize();
    audio->Restart(0);  // the worker does not run: the movie is not playing
    uint64_t asked = size / 8 * 7;
    for (uint32_t r : c.requests) {
      audio->WriteSoundBuffer(r);
      asked += r;
      EXPECT_EQ((audio->WritePosition() + audio->Carry()) % size, asked % size) << "after " << r;
      EXPECT_LT(audio->Carry(), size);
    }
  }
}

// One chunk larger than any write: the block grows to read it whole, and what the writes do not
// take yet waits for the next ones.
TEST_F(Movie, AChunkLargerThanTheReadPlaysThrough) {
  film_writer::Film film;
  film.video = Frames(10);
  film_writer::Audio a;
  a.format = PcmFormat(22050, 1, 8);
  a.sampleSize = 0;
  a.data.resize(300000);
  for (size_t i = 0; i < a.data.size(); ++i) a.data[i] = static_cast<uint8_t>(i * 7 + i / 251);
  a.chunkBytes = static_cast<uint32_t>(a.data.size());
  a.length = 1;
  film.audio = a;
  CMovieAVI movie;
  ASSERT_EQ(movie.Open(Write("big.avi", film).c_str()), 0);
  CMovieAVIAUDIO* audio = movie.AudioPart();
  ASSERT_TRUE(audio->HasBuffer());
  ASSERT_EQ(audio->BufferSize(), 88200u);
  audio->Restart(0);  // writes 77,175 bytes
  audio->WriteSoundBuffer(11025);
  audio->WriteSoundBuffer(20000);
  void* p1 = nullptr;
  void* p2 = nullptr;
  uint32_t b1 = 0, b2 = 0;
  ASSERT_EQ(audio->Buffer()->Lock(0, 88200, &p1, &b1, &p2, &b2, 0), DS_OK);
  const auto* bytes = static_cast<const uint8_t*>(p1);
  EXPECT_EQ(std::memcmp(bytes, a.data.data() + 88200, 20000), 0) << "after the wrap";
  EXPECT_EQ(std::memcmp(bytes + 20000, a.data.data() + 20000, 68200), 0) << "the first lap";
  audio->Buffer()->Unlock(p1, b1, p2, b2);
}

TEST_F(Movie, SetCurrentPosRestartsTheSoundThere) {
  film_writer::Film film;
  film.video = Frames(100);
  film.audio = Pcm(44100, 2, 44100 * 8);
  CMovieAVI movie;
  ASSERT_EQ(movie.Open(Write("s.avi", film).c_str()), 0);
  movie.Play();
  Render(movie, 5000);
  movie.SetCurrentPos(5000);
  // The sound that stopped fades out over the first frames.
  const std::vector<int16_t> out = Render(movie, kRampFrames + 100);
  for (uint32_t i = kRampFrames; i < kRampFrames + 100; ++i)
    ASSERT_EQ(out[2 * i], static_cast<int16_t>(((220500 + i) * 7) & 0x7FFF)) << i;
  movie.SetCurrentPos(20000);
  const std::vector<int16_t> after = Render(movie, kRampFrames + 100);
  for (uint32_t i = kRampFrames; i < kRampFrames + 100; ++i) ASSERT_EQ(after[2 * i], 0) << "past the end: silence";
  EXPECT_EQ(movie.IsPlay(), 1);
}

TEST_F(Movie, StopEndsTheIdleWaitAtOnce) {
  CMovieAVIAUDIO::SetIdleWaitMs(500);
  film_writer::Film film;
  film.video = Frames(10);
  film.audio = Pcm(22050, 1, 22050);
  CMovieAVI movie;
  ASSERT_EQ(movie.Open(Write("w.avi", film).c_str()), 0);
  movie.Play();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));  // the worker is waiting now
  const auto before = std::chrono::steady_clock::now();
  movie.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(300));
}

TEST_F(Movie, PlayingMoviesDestroyedAgainAndAgain) {
  film_writer::Film film;
  film.video = Frames(5);
  film.audio = Pcm(22050, 1, 22050);
  const std::string path = Write("d.avi", film);
  for (int i = 0; i < 100; ++i) {
    auto movie = std::make_unique<CMovieAVI>();
    ASSERT_EQ(movie->Open(path.c_str()), 0);
    movie->Play();
    std::vector<int16_t> out(2 * 300);
    RenderAudio(out);
    movie.reset();
  }
}

TEST_F(Movie, HostileFilmsFailCleanlyOrPlayWhatTheyCan) {
  film_writer::Film good;
  good.video = Frames(20);
  good.audio = ImaAdpcm(22050, 1, 22050);
  const std::vector<uint8_t> goodBytes = film_writer::MakeAvi(good);
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    int32_t open;
  };
  std::vector<Case> cases;
  cases.push_back({"truncated", std::vector<uint8_t>(goodBytes.begin(), goodBytes.begin() + goodBytes.size() / 2), 0});
  cases.push_back({"headers only", std::vector<uint8_t>(goodBytes.begin(), goodBytes.begin() + 300), -1});
  {
    film_writer::Film f = good;
    f.video->rate = 0;
    cases.push_back({"rate 0", film_writer::MakeAvi(f), -1});
    f.video->rate = 15;
    f.video->scale = 0;
    cases.push_back({"scale 0", film_writer::MakeAvi(f), -1});
  }
  // The good film with two bytes of its sound format replaced.
  auto withFormat = [&](size_t at, uint8_t lo, uint8_t hi) {
    film_writer::Audio a = *good.audio;
    a.format[at] = lo;
    a.format[at + 1] = hi;
    film_writer::Film f;
    f.video = good.video;
    f.audio = a;
    return film_writer::MakeAvi(f);
  };
  cases.push_back({"block align 0", withFormat(12, 0, 0), 0});
  cases.push_back({"no channels", withFormat(2, 0, 0), 0});
  cases.push_back({"no rate", withFormat(4, 0, 0), -1});  // the demuxer refuses such a file
  cases.push_back({"cbSize beyond strf", withFormat(16, 0xFF, 0xFF), 0});
  {
    film_writer::Film f = good;
    f.video->length = 0x7FFFFFF0;
    f.audio->length = 0xFFFFFFF0;
    cases.push_back({"lengths beyond the file", film_writer::MakeAvi(f), 0});
  }
  {
    std::vector<uint8_t> b = goodBytes;
    // Every index offset points far past the end.
    for (size_t i = b.size() - 16 * 20; i + 16 <= b.size(); i += 16) b[i + 8 + 3] = 0x7F;
    cases.push_back({"index past the end", b, 0});
  }
  {
    film_writer::Film f;
    f.video = Frames(2, 4, 3);
    f.video->width = 1 << 20;
    f.video->height = 1 << 20;
    cases.push_back({"huge frame", film_writer::MakeAvi(f), 0});  // opens without pictures
  }
  {
    film_writer::Film f;
    film_writer::Video v;
    v.width = 16;
    v.height = 16;
    v.compression = MakeFourCC('M', 'J', 'P', 'G');
    v.frames.push_back(film_writer::Jpeg(16, 16, Flat, 0));
    std::vector<uint8_t> bad = film_writer::Jpeg(16, 16, Flat, 1);
    for (size_t i = 200; i < bad.size(); i += 3) bad[i] ^= 0x5A;
    v.frames.push_back(bad);
    f.video = v;
    cases.push_back({"corrupt JPEG", film_writer::MakeAvi(f), 0});
  }
  {
    film_writer::Film f;
    f.video = Frames(3);
    film_writer::Audio a = Pcm(22050, 1, 0);
    a.sampleSize = 0;
    a.data.assign(1 << 20, 0x11);
    a.chunkBytes = 1 << 20;
    a.length = 1;
    f.audio = a;
    cases.push_back({"1 MB variable-size chunk", film_writer::MakeAvi(f), 0});
  }
  cases.push_back({"not an AVI", std::vector<uint8_t>(1000, 0x41), -1});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.File("hostile.avi");
    ASSERT_TRUE(sound_writer::WriteFile(path, c.bytes));
    CMovieAVI movie;
    EXPECT_EQ(movie.Open(path.c_str()), c.open);
    movie.Play();
    for (int step = 0; step < 5; ++step) {
      clock.Advance(400);
      movie.GetDib();
      Render(movie, 3000);
    }
    movie.Stop();
  }
  CMovieAVI url;
  EXPECT_EQ(url.Open("http://x"), -1);
  EXPECT_EQ(url.GetDib(), nullptr);
}

TEST_F(Movie, FuzzSeedsPlay) {
  for (const char* name : {"raw_frames_ima_sound", "mjpeg_frames_no_index", "raw_frames_variable_pcm"}) {
    SCOPED_TRACE(name);
    const std::string path = dir.File(name);
    ASSERT_TRUE(sound_writer::WriteFile(path, FuzzCorpusBytes("avi_movie", name)));
    CMovieAVI movie;
    ASSERT_EQ(movie.Open(path.c_str()), 0);
    EXPECT_EQ(movie.HasVideo(), 1);
    movie.Play();
    clock.Advance(100);
    ASSERT_NE(movie.GetDib(), nullptr);
    Render(movie, 2000);
  }
}

}  // namespace
