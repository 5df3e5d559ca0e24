// The layer compositor on a full screen of 800 x 600: 64 distinct pictures, the first opaque, the
// others figures on a transparent ground (an opaque body with a soft edge), some at half opacity.
// A full composition is forced on every iteration of the composing benchmarks. The baseline is one
// copy of the frame; an unchanged frame costs the back buffer's clear and about that copy. The worst
// case has every figure at half opacity, so that no picture hides another.
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "game/app/config.h"
#include "game/script/engine_state.h"
#include "game/stage/picture_layers.h"
#include "sdk/framework/path_functions.h"
#include "sdk/graphics/mem_plane.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// An uncompressed TGA, top row first: 24 bits without alpha, 32 bits with it (fast to write and read).
void WriteTga(const std::string& path, const std::vector<uint32_t>& px, bool alpha) {
  std::vector<uint8_t> out(18, 0);
  out[2] = 2;
  out[12] = kWidth & 0xFF;
  out[13] = kWidth >> 8;
  out[14] = kHeight & 0xFF;
  out[15] = kHeight >> 8;
  out[16] = alpha ? 32 : 24;
  out[17] = alpha ? 0x28 : 0x20;
  for (uint32_t p : px) {
    out.push_back(static_cast<uint8_t>(p));
    out.push_back(static_cast<uint8_t>(p >> 8));
    out.push_back(static_cast<uint8_t>(p >> 16));
    if (alpha) out.push_back(static_cast<uint8_t>(255 - (p >> 24)));  // raw 32-bit files store it inverted
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  std::fwrite(out.data(), 1, out.size(), f);
  std::fclose(f);
}

// A standing figure: an ellipse about a quarter of the screen wide, its edge 6 pixels soft.
std::vector<uint32_t> Figure(int layer, std::mt19937& rng) {
  std::vector<uint32_t> px(static_cast<size_t>(kWidth) * kHeight);
  const double cx = 100 + (layer * 97) % 600, cy = 330, rx = 110, ry = 260;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const double dx = (x - cx) / rx, dy = (y - cy) / ry;
      const double inside = (1.0 - std::sqrt(dx * dx + dy * dy)) * rx / 6.0;
      const uint32_t a = inside >= 1.0 ? 255 : inside <= 0.0 ? 0 : static_cast<uint32_t>(inside * 255);
      px[static_cast<size_t>(y) * kWidth + x] = (a << 24) | (a ? (rng() & 0xFFFFFFu) : 0u);
    }
  }
  return px;
}

// The layers loaded once for all benchmarks, drawn into their own screen.
class Scene {
 public:
  Scene() {
    m_dir = std::filesystem::temp_directory_path() / ("vrel-layer-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(m_dir);
    std::filesystem::current_path(m_dir);
    RecordCurrentDir();
    std::mt19937 rng(64);
    std::vector<uint32_t> ground(static_cast<size_t>(kWidth) * kHeight);
    for (uint32_t& p : ground) p = 0xFF000000u | (rng() & 0xFFFFFFu);
    WriteTga("l0.tga", ground, false);
    for (int i = 1; i < kLayerCount; ++i) WriteTga("l" + std::to_string(i) + ".tga", Figure(i, rng), true);
    Config.screenWidth = kWidth;
    Config.screenHeight = kHeight;
    Config.fps = 60;
    Config.imageCacheSize = 0;
    Config.effectsOn = true;
    screen.Create(kWidth, kHeight, 0);
    SetLayerDrawTarget(&screen);
    InitLayers();
    for (int i = 0; i < kLayerCount; ++i) {
      if (!LoadPicture(i, 0, 0, 0, "l" + std::to_string(i) + ".tga")) std::abort();
    }
    SetOpacity(false);
    std::filesystem::remove_all(m_dir);
    // The figure's body is opaque and its ground transparent, as the files meant.
    if (LayerSurface(1)->GetImpl()->GetPixel(197, 330) >> 24 != 255 ||
        LayerSurface(1)->GetImpl()->GetPixel(0, 0) >> 24 != 0)
      std::abort();
  }
  // Some layers at half opacity, or every figure when worst is set.
  void SetOpacity(bool worst) {
    for (int i = 1; i < kLayerCount; ++i) EngineState.layers[i].levels[0].level = worst || i % 8 == 0 ? 128 : 255;
  }
  void Frame() {
    screen.GetImpl()->Clear(0xFF000000u, nullptr);
    DrawLayers();
  }
  CMemPlane screen;

 private:
  std::filesystem::path m_dir;
};

Scene& TheScene() {
  static Scene scene;
  return scene;
}

void BM_BaselineFrameCopy(benchmark::State& state) {
  Scene& scene = TheScene();
  CMemPlane frame;
  frame.Create(kWidth, kHeight, 0);
  for (auto _ : state) {
    scene.screen.GetImpl()->BltFast(&frame, 0, 0, nullptr, nullptr, nullptr);
    benchmark::DoNotOptimize(scene.screen.GetImpl()->GetPixels());
  }
}

// A record byte that the compositor does not draw with changes: the frame is composed in full.
void Compose(benchmark::State& state, bool worst) {
  Scene& scene = TheScene();
  scene.SetOpacity(worst);
  for (auto _ : state) {
    EngineState.layers[kLayerCount - 1].auxInt ^= 1;
    scene.Frame();
    benchmark::DoNotOptimize(scene.screen.GetImpl()->GetPixels());
  }
  scene.SetOpacity(false);
}

void BM_FullComposition(benchmark::State& state) { Compose(state, false); }
void BM_FullCompositionAllHalfOpacity(benchmark::State& state) { Compose(state, true); }

void BM_UnchangedFrame(benchmark::State& state) {
  Scene& scene = TheScene();
  scene.Frame();
  for (auto _ : state) {
    scene.Frame();
    benchmark::DoNotOptimize(scene.screen.GetImpl()->GetPixels());
  }
}

BENCHMARK(BM_BaselineFrameCopy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullComposition)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullCompositionAllHalfOpacity)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnchangedFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
