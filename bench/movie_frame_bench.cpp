// One new 800 x 600 film frame decoded, converted to 32 bits and drawn into the frame surface
// (GetDib after the clock moves one frame), MJPEG and uncompressed 24-bit, against the
// compositor's copy of that frame (one BltFast) in the same run; and GetDib when the frame has
// not changed, which decodes nothing.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/sound/movie_avi.h"
#include "tools/make_films/film_writer.h"
#include "tools/make_sounds/sound_writer.h"

namespace {

constexpr int kWidth = 800, kHeight = 600, kFrames = 30;

uint32_t Picture(int x, int y, int frame) {
  return static_cast<uint32_t>(((x + frame * 7) & 255) << 16 | ((y * 3 + x) & 255) << 8 | (((x ^ y) + frame) & 255));
}

std::string FilmPath(bool mjpeg) {
  const std::string path = std::string("/tmp/movie_frame_bench_") + (mjpeg ? "mjpeg" : "raw") + ".avi";
  film_writer::Video v;
  v.width = kWidth;
  v.height = kHeight;
  if (mjpeg) v.compression = 'M' | 'J' << 8 | 'P' << 16 | 'G' << 24;
  for (int i = 0; i < kFrames; ++i)
    v.frames.push_back(mjpeg ? film_writer::Jpeg(kWidth, kHeight, Picture, i, 85)
                             : film_writer::Rows24(kWidth, kHeight, Picture, i));
  film_writer::Film film;
  film.video = v;
  sound_writer::WriteFile(path, film_writer::MakeAvi(film));
  return path;
}

void NewFrame(benchmark::State& state, bool mjpeg, bool advance) {
  platform::ManualClock clock;
  const std::string path = FilmPath(mjpeg);
  CMovieAVI movie;
  if (movie.Open(path.c_str()) != 0) {
    state.SkipWithError("the film does not open");
    return;
  }
  movie.Play();
  movie.GetDib();
  int frame = 0;
  for (auto _ : state) {
    if (advance) {
      if (++frame == kFrames) {
        state.PauseTiming();
        frame = 0;
        movie.SetCurrentPos(0);
        movie.GetDib();
        ++frame;
        state.ResumeTiming();
      }
      movie.SetCurrentPos(frame * 1000 / 15 + 1);
    }
    benchmark::DoNotOptimize(movie.GetDib());
  }
  std::remove(path.c_str());
}

void BM_Baseline_BltFastOfTheFrame(benchmark::State& state) {
  CMemPlane frame, screen;
  frame.Create(kWidth, kHeight, 0);
  screen.Create(kWidth, kHeight, 0);
  for (auto _ : state) benchmark::DoNotOptimize(screen.BltFast(&frame, 0, 0, nullptr, nullptr, nullptr));
}
void BM_NewFrame_Uncompressed24(benchmark::State& state) { NewFrame(state, false, true); }
void BM_NewFrame_Mjpeg(benchmark::State& state) { NewFrame(state, true, true); }
void BM_SameFrame_DecodesNothing(benchmark::State& state) { NewFrame(state, true, false); }

BENCHMARK(BM_Baseline_BltFastOfTheFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NewFrame_Uncompressed24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NewFrame_Mjpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SameFrame_DecodesNothing)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
