// The picture load path of every memory surface: decode (PNG, BMP), widen to 32 bits, resample.
// Baseline: copying the decoded pixels once with memcpy.
#include <benchmark/benchmark.h>
#include <png.h>

#include <cstring>
#include <vector>

#include "sdk/framework/file_buffer.h"
#include "sdk/framework/memory_file.h"
#include "sdk/graphics/dib_image.h"
#include "sdk/graphics/png_reader.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

std::vector<uint8_t> Pixels(int channels) {
  std::vector<uint8_t> px(static_cast<size_t>(kWidth) * kHeight * channels);
  for (size_t i = 0; i < px.size(); ++i) px[i] = static_cast<uint8_t>((i * 7) ^ (i >> 9));
  return px;
}

std::vector<uint8_t> Png(int channels) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = kWidth;
  image.height = kHeight;
  image.format = channels == 4 ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  const std::vector<uint8_t> px = Pixels(channels);
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, px.data(), 0, nullptr);
  std::vector<uint8_t> out(size);
  png_image_write_to_memory(&image, out.data(), &size, 0, px.data(), 0, nullptr);
  out.resize(size);
  return out;
}

void BM_MemcpyDecodedPixels(benchmark::State& state) {
  const std::vector<uint8_t> src = Pixels(4);
  std::vector<uint8_t> dst(src.size());
  for (auto _ : state) {
    std::memcpy(dst.data(), src.data(), src.size());
    benchmark::DoNotOptimize(dst.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(src.size()));
}

void BM_LoadPng(benchmark::State& state) {
  std::vector<uint8_t> file = Png(static_cast<int>(state.range(0)));
  CMemoryFile lent(file);
  for (auto _ : state) {
    CDibImage image;
    benchmark::DoNotOptimize(LoadPngToDib(lent.Name(), &image));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight * 4);
}

void BM_LoadBmp24To32(benchmark::State& state) {
  CDibImage source;
  source.Create(kWidth, kHeight, 24);
  const std::vector<uint8_t> px = Pixels(3);
  for (int y = 0; y < kHeight; ++y)
    std::memcpy(source.GetBits() + static_cast<size_t>(y) * source.GetStride(), px.data() + static_cast<size_t>(y) * kWidth * 3, kWidth * 3);
  const std::string path = "/tmp/vrel-bench-load.bmp";
  source.SaveBmp(path);
  CFileBuffer reader;
  reader.Read(path);
  std::vector<uint8_t> file(reader.GetData(), reader.GetData() + reader.GetSize());
  CFileBuffer().Delete(path);
  CMemoryFile lent(file);
  for (auto _ : state) {
    CDibImage image;
    image.LoadBmp(lent.Name(), 0x3F);
    benchmark::DoNotOptimize(image.ConvertBitCount(32, 0));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight * 4);
}

void BM_ResizeHalf32(benchmark::State& state) {
  const std::vector<uint8_t> px = Pixels(4);
  for (auto _ : state) {
    state.PauseTiming();
    CDibImage image;
    image.Create(kWidth, kHeight, 32);
    std::memcpy(image.GetBits(), px.data(), px.size());
    state.ResumeTiming();
    benchmark::DoNotOptimize(image.Resize(kWidth / 2, kHeight / 2));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight * 4);
}

BENCHMARK(BM_MemcpyDecodedPixels);
BENCHMARK(BM_LoadPng)->Arg(3)->Arg(4);
BENCHMARK(BM_LoadBmp24To32);
BENCHMARK(BM_ResizeHalf32);

}  // namespace

BENCHMARK_MAIN();
