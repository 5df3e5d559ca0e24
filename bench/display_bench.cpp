// The display's per-frame copy of an 800 x 600 back buffer into the window's picture (alpha made
// opaque on the way) against a memcpy of the same bytes; a whole presentation (Refresh and the
// pump that paints what it marked, whole or one 100 x 100 rectangle) against that same copy; and the rotate-zoom
// blit of an 800 x 600 picture against a 1:1 copy and against pixman's nearest-neighbour affine
// composite of the same turn. Run with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

#include "pixman_baseline.h"
#include "platform/gui_app.h"
#include "platform/presenter.h"
#include "platform/window.h"
#include "sdk/framework/window_application.h"
#include "sdk/graphics/dib_draw.h"
#include "sdk/graphics/mem_plane.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr size_t kPixels = size_t{kWidth} * kHeight;
constexpr int kAngle = 43;  // about 30 degrees, in 512 steps a turn

std::vector<uint32_t> Noise() {
  std::mt19937 rng(7);
  std::vector<uint32_t> p(kPixels);
  for (uint32_t& v : p) v = rng() & 0x00FFFFFF;
  return p;
}

std::unique_ptr<CMemPlane> Surface(const std::vector<uint32_t>& pixels) {
  auto plane = std::make_unique<CMemPlane>();
  plane->Create(kWidth, kHeight, 0);
  std::memcpy(plane->GetImpl()->GetPixels(), pixels.data(), kPixels * 4);
  return plane;
}

HWND BenchWindow() {
  static HWND hwnd = [] {
    platform::EnsureGuiApp();
    WNDCLASSEX wc;
    wc.lpfnWndProc = platform::DefWindowProc;
    wc.lpszClassName = "DisplayBench";
    platform::RegisterClassEx(&wc);
    return platform::CreateWindowEx(0, "DisplayBench", "", WS_CAPTION, 0, 0, kWidth, kHeight, nullptr, nullptr, nullptr,
                                    nullptr);
  }();
  return hwnd;
}

void SetBytes(benchmark::State& state) { state.SetBytesProcessed(int64_t(state.iterations()) * kPixels * 4); }

void BM_PresentCopy(benchmark::State& state) {
  const std::vector<uint32_t> frame = Noise();
  const platform::FrameView view{frame.data(), kWidth, kHeight, kWidth * 4};
  HWND hwnd = BenchWindow();
  for (auto _ : state) benchmark::DoNotOptimize(platform::CopyToFrontImage(hwnd, view, 0, 0, kWidth, kHeight));
  SetBytes(state);
}
BENCHMARK(BM_PresentCopy);

void BM_PresentMemcpyBaseline(benchmark::State& state) {
  const std::vector<uint32_t> frame = Noise();
  std::vector<uint32_t> front(kPixels);
  for (auto _ : state) {
    std::memcpy(front.data(), frame.data(), kPixels * 4);
    benchmark::ClobberMemory();
  }
  SetBytes(state);
}
BENCHMARK(BM_PresentMemcpyBaseline);

// The display of the benchmark application and the application, made on its thread.
CDIBDraw* benchDisplay = nullptr;
CWindowApplication* benchApp = nullptr;

// One presented frame as the game presents it: Refresh, then the message pump of the next frame,
// which paints what the presentation marked.
void BM_PresentFrame(benchmark::State& state) {
  if (!benchDisplay || !benchApp) {
    state.SkipWithError("no display");
    return;
  }
  const std::vector<uint32_t> noise = Noise();
  CMemPlane* back = benchDisplay->GetSecondary();
  std::memcpy(back->GetImpl()->GetPixels(), noise.data(), kPixels * 4);
  const RECT part{350, 250, 450, 350};
  const RECT* rect = state.range(0) != 0 ? &part : nullptr;
  for (auto _ : state) {
    benchDisplay->Refresh(rect, false);
    benchApp->PumpMessages();
  }
  SetBytes(state);
}
BENCHMARK(BM_PresentFrame)->Arg(0)->Arg(1);

void BM_ZoomBlt(benchmark::State& state) {
  const bool keyed = state.range(0) != 0;
  auto source = Surface(Noise());
  auto dest = Surface(std::vector<uint32_t>(kPixels));
  CMemPlaneImpl& d = *dest->GetImpl();
  for (auto _ : state) {
    if (keyed)
      d.ZoomBlt(source.get(), nullptr, kWidth / 2, kHeight / 2, kAngle, 65536, 4, nullptr);
    else
      d.ZoomBltFast(source.get(), nullptr, kWidth / 2, kHeight / 2, kAngle, 65536, 4, nullptr);
    benchmark::ClobberMemory();
  }
  SetBytes(state);
}
BENCHMARK(BM_ZoomBlt)->Arg(0)->Arg(1);

void BM_ZoomBltCopyBaseline(benchmark::State& state) {
  auto source = Surface(Noise());
  auto dest = Surface(std::vector<uint32_t>(kPixels));
  for (auto _ : state) {
    dest->GetImpl()->BltFast(source.get(), 0, 0, nullptr, nullptr, nullptr);
    benchmark::ClobberMemory();
  }
  SetBytes(state);
}
BENCHMARK(BM_ZoomBltCopyBaseline);

#ifdef VREL_HAVE_PIXMAN
void BM_ZoomBltPixmanBaseline(benchmark::State& state) {
  std::vector<uint32_t> source = Noise();
  std::vector<uint32_t> dest(kPixels);
  pixman_image_t* src = pixman_image_create_bits(PIXMAN_x8r8g8b8, kWidth, kHeight, source.data(), kWidth * 4);
  pixman_image_t* dst = pixman_image_create_bits(PIXMAN_x8r8g8b8, kWidth, kHeight, dest.data(), kWidth * 4);
  // The inverse of a turn about the picture's centre, as pixman maps destination to source.
  const double a = kAngle * std::numbers::pi / 256.0;
  pixman_f_transform f;
  pixman_f_transform_init_identity(&f);
  pixman_f_transform_translate(&f, nullptr, -kWidth / 2.0, -kHeight / 2.0);
  pixman_f_transform_rotate(&f, nullptr, std::cos(a), std::sin(a));
  pixman_f_transform_translate(&f, nullptr, kWidth / 2.0, kHeight / 2.0);
  pixman_transform t;
  pixman_transform_from_pixman_f_transform(&t, &f);
  pixman_image_set_transform(src, &t);
  pixman_image_set_filter(src, PIXMAN_FILTER_NEAREST, nullptr, 0);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, src, nullptr, dst, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(src);
  pixman_image_unref(dst);
  SetBytes(state);
}
BENCHMARK(BM_ZoomBltPixmanBaseline);
#endif

// Runs the benchmarks inside an application whose window shows an 800 x 600 display.
class BenchApp : public CWindowApplication {
 public:
  int AppMain() override {
    CDIBDraw display;
    display.SetDisplayMode(false, kWidth, kHeight, 0);
    for (int i = 0; i < 5; ++i) PumpMessages();
    benchDisplay = display.GetSecondary() != nullptr ? &display : nullptr;
    benchApp = this;
    benchmark::RunSpecifiedBenchmarks();
    benchDisplay = nullptr;
    benchApp = nullptr;
    return 0;
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  BenchApp app;
  app.Run();
  benchmark::Shutdown();
  return 0;
}
