// AVI files read through the platform layer: stream headers, whole-sample reads, times to
// samples, and decoded frames of films whose pixels the test chose.
#include "platform/avi_file.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>

#include "platform/avi_frame.h"
#include "scoped_temp_dir.h"
#include "tools/make_films/film_writer.h"
#include "tools/make_sounds/sound_writer.h"

using namespace platform;

namespace {

uint32_t FrameColour(int frame) { return 0x102030u + 0x0A0B0Cu * static_cast<uint32_t>(frame); }
uint32_t Gradient(int x, int y, int frame) {
  return FrameColour(frame) + static_cast<uint32_t>(x) * 0x10000 + y * 0x100;
}

std::vector<uint8_t> PcmFormat(uint32_t rate, uint16_t channels, uint16_t bits) {
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

std::string Write(const ScopedTempDir& dir, const char* name, const film_writer::Film& film) {
  const std::string path = dir.File(name);
  EXPECT_TRUE(sound_writer::WriteFile(path, film_writer::MakeAvi(film)));
  return path;
}

// The 32-bit pixel at (x, y) of a top-down packed DIB.
uint32_t DibPixel(const BITMAPINFOHEADER* dib, int x, int y) {
  const auto* px = reinterpret_cast<const uint32_t*>(reinterpret_cast<const uint8_t*>(dib) + dib->biSize);
  return px[static_cast<size_t>(y) * dib->biWidth + x] & 0xFFFFFF;
}

TEST(AviFile, VideoFramesAtAnyOrderAndPastTheEnd) {
  ScopedTempDir dir;
  film_writer::Video v;
  v.width = 8;
  v.height = 6;
  for (int i = 0; i < 6; ++i) v.frames.push_back(film_writer::Rows24(8, 6, Gradient, i));
  v.frames[4].clear();  // an empty chunk repeats frame 3
  film_writer::Film film;
  film.video = v;
  std::unique_ptr<AviFile> file;
  ASSERT_EQ(AviFile::Open(Write(dir, "a.avi", film), file), AVIERR_OK);
  std::unique_ptr<AviStream> video, audio;
  ASSERT_EQ(file->GetStream(streamtypeVIDEO, 0, video), AVIERR_OK);
  EXPECT_EQ(file->GetStream(streamtypeAUDIO, 0, audio), AVIERR_NODATA);
  EXPECT_EQ(file->GetStream(streamtypeVIDEO, 1, audio), AVIERR_NODATA);
  EXPECT_EQ(video->Info().dwRate, 15u);
  EXPECT_EQ(video->Info().dwScale, 1u);
  EXPECT_EQ(video->Length(), 6);
  auto frames = AviGetFrame::Open(*video);
  ASSERT_NE(frames, nullptr);
  const struct {
    int32_t asked;
    int shows;
  } cases[] = {{0, 0}, {1, 1}, {2, 2}, {5, 5}, {1, 1}, {3, 3}, {4, 3}, {0, 0}, {4, 3}, {99, 5}, {-3, 0}};
  for (const auto& c : cases) {
    const BITMAPINFOHEADER* dib = frames->GetFrame(c.asked);
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(dib->biWidth, 8);
    EXPECT_EQ(dib->biHeight, -6);
    EXPECT_EQ(dib->biBitCount, 32);
    EXPECT_EQ(DibPixel(dib, 0, 0), Gradient(0, 0, c.shows)) << "frame " << c.asked;
    EXPECT_EQ(DibPixel(dib, 7, 5), Gradient(7, 5, c.shows)) << "frame " << c.asked;
  }
}

TEST(AviFile, TimeToSampleClampsAndNeverDividesByZero) {
  ScopedTempDir dir;
  film_writer::Video v;
  v.width = v.height = 2;
  v.rate = 30000;
  v.scale = 1001;
  v.frames.assign(100, film_writer::Solid24(2, 2, 0));
  film_writer::Film film;
  film.video = v;
  std::unique_ptr<AviFile> file;
  ASSERT_EQ(AviFile::Open(Write(dir, "t.avi", film), file), AVIERR_OK);
  std::unique_ptr<AviStream> s;
  ASSERT_EQ(file->GetStream(streamtypeVIDEO, 0, s), AVIERR_OK);
  EXPECT_EQ(s->TimeToSample(0), 0);
  EXPECT_EQ(s->TimeToSample(1000), 29);
  EXPECT_EQ(s->TimeToSample(INT32_MAX), 100);
  EXPECT_EQ(s->TimeToSample(-5), 0);
}

TEST(AviFile, SoundReadsWholeSamples) {
  ScopedTempDir dir;
  film_writer::Audio a;
  a.format = PcmFormat(22050, 1, 16);
  for (int i = 0; i < 5000; ++i) sound_writer::Put16(a.data, static_cast<uint32_t>(i));
  a.chunkBytes = 999;  // odd chunks: samples straddle them
  film_writer::Film film;
  film.audio = a;
  std::unique_ptr<AviFile> file;
  ASSERT_EQ(AviFile::Open(Write(dir, "s.avi", film), file), AVIERR_OK);
  std::unique_ptr<AviStream> s;
  ASSERT_EQ(file->GetStream(streamtypeAUDIO, 0, s), AVIERR_OK);
  EXPECT_EQ(s->Info().dwSampleSize, 2u);
  EXPECT_EQ(s->Length(), 5000);
  ASSERT_GE(s->Format().size(), 18u);
  std::vector<uint8_t> buf(3001);
  int32_t bytes = 0, samples = 0;
  ASSERT_EQ(s->Read(10, 5000, buf.data(), 3001, &bytes, &samples), AVIERR_OK);
  EXPECT_EQ(bytes, 3000);
  EXPECT_EQ(samples, 1500);
  for (int i = 0; i < 1500; ++i) ASSERT_EQ(buf[2 * i] | buf[2 * i + 1] << 8, 10 + i) << i;
  ASSERT_EQ(s->Read(1510, 10, buf.data(), 20, &bytes, &samples), AVIERR_OK);
  EXPECT_EQ(buf[0] | buf[1] << 8, 1510);
  ASSERT_EQ(s->Read(3, 2, buf.data(), 4, &bytes, &samples), AVIERR_OK) << "back again";
  EXPECT_EQ(buf[0] | buf[1] << 8, 3);
  EXPECT_EQ(s->Read(3, 2, buf.data(), 1, &bytes, &samples), AVIERR_BUFFERTOOSMALL);
  EXPECT_EQ(bytes, 2);
  EXPECT_EQ(samples, 0);
  ASSERT_EQ(s->Read(4990, 100, buf.data(), 3000, &bytes, &samples), AVIERR_OK);
  EXPECT_EQ(samples, 10);
  ASSERT_EQ(s->Read(5000, 1, buf.data(), 3000, &bytes, &samples), AVIERR_OK);
  EXPECT_EQ(samples, 0);
}

TEST(AviFile, VariableSizeSoundIsAChunkPerSample) {
  ScopedTempDir dir;
  film_writer::Audio a;
  a.format = PcmFormat(8000, 1, 8);
  a.sampleSize = 0;
  a.data.resize(1000);
  for (size_t i = 0; i < a.data.size(); ++i) a.data[i] = static_cast<uint8_t>(i / 300);
  a.chunkBytes = 300;  // chunks of 300, 300, 300, 100
  film_writer::Film film;
  film.audio = a;
  film.audio->length = 4;
  std::unique_ptr<AviFile> file;
  ASSERT_EQ(AviFile::Open(Write(dir, "v.avi", film), file), AVIERR_OK);
  std::unique_ptr<AviStream> s;
  ASSERT_EQ(file->GetStream(streamtypeAUDIO, 0, s), AVIERR_OK);
  std::vector<uint8_t> buf(700);
  int32_t bytes = 0, samples = 0;
  EXPECT_EQ(s->Read(0, 4, buf.data(), 299, &bytes, &samples), AVIERR_BUFFERTOOSMALL);
  EXPECT_EQ(bytes, 300);
  ASSERT_EQ(s->Read(0, 4, buf.data(), 700, &bytes, &samples), AVIERR_OK);
  EXPECT_EQ(samples, 2);
  EXPECT_EQ(bytes, 600);
  ASSERT_EQ(s->Read(2, 4, buf.data(), 700, &bytes, &samples), AVIERR_OK);
  EXPECT_EQ(samples, 2);
  EXPECT_EQ(bytes, 400);
  EXPECT_EQ(buf[0], 2);
  EXPECT_EQ(buf[399], 3);
}

TEST(AviFile, WhatIsNoFilmIsRefused) {
  ScopedTempDir dir;
  std::unique_ptr<AviFile> file;
  EXPECT_EQ(AviFile::Open("", file), AVIERR_FILEOPEN);
  EXPECT_EQ(AviFile::Open("http://x", file), AVIERR_FILEOPEN);
  EXPECT_EQ(AviFile::Open(dir.File("missing.avi"), file), AVIERR_FILEOPEN);
  std::vector<uint8_t> wave;
  ASSERT_TRUE(sound_writer::MakeWave(sound_writer::WaveKind::kPcm16, sound_writer::Tone(8000, 1, 100, 440, 0.5), 8000,
                                     1, wave));
  ASSERT_TRUE(sound_writer::WriteFile(dir.File("w.avi"), wave));
  EXPECT_EQ(AviFile::Open(dir.File("w.avi"), file), AVIERR_BADFORMAT);
  EXPECT_EQ(file, nullptr);
}

TEST(AviFile, AnAudioFormatKeepsOnlyTheExtraBytesThere) {
  ScopedTempDir dir;
  film_writer::Audio a;
  a.format = PcmFormat(8000, 1, 8);
  a.format[16] = 200;  // claims 200 extra bytes
  a.format.push_back(7);
  a.format.push_back(9);
  a.data.assign(100, 0x80);
  film_writer::Film film;
  film.audio = a;
  std::unique_ptr<AviFile> file;
  ASSERT_EQ(AviFile::Open(Write(dir, "c.avi", film), file), AVIERR_OK);
  std::unique_ptr<AviStream> s;
  ASSERT_EQ(file->GetStream(streamtypeAUDIO, 0, s), AVIERR_OK);
  ASSERT_EQ(s->Format().size(), 20u);
  EXPECT_EQ(s->Format()[16], 2);
  EXPECT_EQ(s->Format()[19], 9);
}

}  // namespace

namespace {

// The row copy of a 32-bit frame lands where the general drawing would put it, clipped alike.
TEST(DrawDib, RowCopyMatchesTheGeneralDrawing) {
  struct Packed {
    BITMAPINFOHEADER h;
    uint32_t px[6];
  } dib{};
  dib.h.biSize = sizeof(BITMAPINFOHEADER);
  dib.h.biWidth = 3;
  dib.h.biHeight = -2;
  dib.h.biPlanes = 1;
  dib.h.biBitCount = 32;
  for (int i = 0; i < 6; ++i) dib.px[i] = 0x01010101u * static_cast<uint32_t>(i + 1);
  const struct { int x, y; } places[] = {{0, 0}, {-1, 1}, {2, 3}, {5, 0}, {1, -1}};
  for (const auto& p : places) {
    auto a = CreateDIBSection32(4, 4), b = CreateDIBSection32(4, 4);
    MemDC da, db;
    da.SelectBitmap(a.get());
    db.SelectBitmap(b.get());
    EXPECT_TRUE(DrawDibDraw(&da, p.x, p.y, &dib.h));
    SetDIBitsToDevice(&db, p.x, p.y, 3, 2, 0, 0, 0, 2, dib.px, reinterpret_cast<const BITMAPINFO*>(&dib.h),
                      DIB_RGB_COLORS);
    for (int y = 0; y < 4; ++y)
      EXPECT_EQ(std::memcmp(a->Row(y), b->Row(y), 16), 0) << p.x << "," << p.y << " row " << y;
  }
}

}  // namespace
