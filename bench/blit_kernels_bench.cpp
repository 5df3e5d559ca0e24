// The memory-surface kernels the game runs every frame, on 800 x 600 surfaces: each with the SIMD
// rows the processor supports and with the plain rows (the formula pixel by pixel), next to a
// memcpy of the same bytes and, for the natural (per-pixel alpha) blend, pixman's OVER composite
// of the same pictures. The ratios are printed after the runs.
#include <benchmark/benchmark.h>

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "pixman_baseline.h"
#include "sdk/graphics/blit_rows.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/mem_plane_mmx.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr size_t kPixels = size_t{kWidth} * kHeight;

// Picture content: "sprite" is a figure on a transparent ground (opaque inside, a soft edge,
// transparent outside), as the game's layers mostly are; "noise" has a random alpha everywhere.
enum class Content { Sprite, Noise };

uint32_t SpriteAlpha(int x, int y) {
  const double dx = (x - kWidth / 2.0) / (kWidth * 0.35);
  const double dy = (y - kHeight / 2.0) / (kHeight * 0.45);
  const double d = (1.0 - (dx * dx + dy * dy)) * 40.0;
  return d >= 1.0 ? 255 : d <= 0.0 ? 0 : static_cast<uint32_t>(d * 255);
}

std::vector<uint32_t> MakePicture(Content content, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint32_t> p(kPixels);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const uint32_t colour = rng() & 0xFFFFFF;
      const uint32_t a = content == Content::Sprite ? SpriteAlpha(x, y) : rng() & 0xFF;
      p[size_t(y) * kWidth + x] = a << 24 | colour;
    }
  return p;
}

std::unique_ptr<CMemPlane> MakeSurface(const blit_rows::RowKernels& rows,
                                       const std::vector<uint32_t>& pixels) {
  auto plane = std::make_unique<CMemPlane>(std::make_unique<CMemPlaneMMX>(rows));
  plane->Create(kWidth, kHeight, 0);
  std::memcpy(plane->GetImpl()->GetPixels(), pixels.data(), kPixels * 4);
  return plane;
}

using Kernel = std::function<void(CMemPlane& dst, CMemPlane& src)>;

struct KernelCase {
  const char* name;
  Content content;
  bool sourceHasAlpha;
  Kernel run;
};

const KernelCase kKernels[] = {
    {"BltFast", Content::Noise, false,
     [](CMemPlane& d, CMemPlane& s) { d.BltFast(&s, 0, 0, nullptr, nullptr, nullptr); }},
    {"Blt(key)", Content::Noise, false,
     [](CMemPlane& d, CMemPlane& s) { d.Blt(&s, 0, 0, nullptr, nullptr, nullptr); }},
    {"BltFastKeepAlpha", Content::Noise, false,
     [](CMemPlane& d, CMemPlane& s) {
       d.GetImpl()->BltFastKeepAlpha(&s, 0, 0, nullptr, nullptr, nullptr);
     }},
    {"BlendBltNatural(128,no alpha)", Content::Noise, false,
     [](CMemPlane& d, CMemPlane& s) {
       d.BlendBltNatural(&s, 0, 0, 128, nullptr, nullptr, nullptr);
     }},
    {"BlendBltNatural(128,alpha)", Content::Sprite, true,
     [](CMemPlane& d, CMemPlane& s) {
       d.BlendBltNatural(&s, 0, 0, 128, nullptr, nullptr, nullptr);
     }},
    {"BltNatural(alpha,sprite)", Content::Sprite, true,
     [](CMemPlane& d, CMemPlane& s) { d.BltNatural(&s, 0, 0, nullptr, nullptr, nullptr); }},
    {"BltNatural(alpha,noise)", Content::Noise, true,
     [](CMemPlane& d, CMemPlane& s) { d.BltNatural(&s, 0, 0, nullptr, nullptr, nullptr); }},
    {"AddColorBltFast", Content::Noise, false,
     [](CMemPlane& d, CMemPlane& s) {
       d.GetImpl()->AddColorBltFast(&s, 0, 0, nullptr, nullptr, nullptr);
     }},
    {"AddColor", Content::Noise, false,
     [](CMemPlane& d, CMemPlane&) { d.GetImpl()->AddColor(0x00101010, nullptr); }},
    {"FadeEffect(200)", Content::Noise, false,
     [](CMemPlane& d, CMemPlane&) { d.FadeEffect(200, nullptr); }},
};

void RunKernel(benchmark::State& state, const KernelCase& k, const blit_rows::RowKernels* rows) {
  auto src = MakeSurface(*rows, MakePicture(k.content, 1));
  auto dst = MakeSurface(*rows, MakePicture(Content::Noise, 2));
  src->SetColorKeyPos(0, 0);
  *src->GetImpl()->GetHasAlphaPtr() = k.sourceHasAlpha;
  for (auto _ : state) {
    k.run(*dst, *src);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPixels) * 4);
}

void RunMemcpy(benchmark::State& state) {
  std::vector<uint32_t> a = MakePicture(Content::Noise, 1), b(kPixels);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), kPixels * 4);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPixels) * 4);
}

#ifdef VREL_HAVE_PIXMAN
// pixman composites premultiplied colour: the same pictures with their colour multiplied by
// alpha, OVER an opaque-format destination.
void RunPixmanOver(benchmark::State& state, Content content) {
  std::vector<uint32_t> src = MakePicture(content, 1), dst = MakePicture(Content::Noise, 2);
  for (uint32_t& p : src) {
    const uint32_t a = p >> 24;
    uint32_t out = a << 24;
    for (int shift = 0; shift < 24; shift += 8) out |= (((p >> shift) & 0xFF) * a / 255) << shift;
    p = out;
  }
  pixman_image_t* s =
      pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, src.data(), kWidth * 4);
  pixman_image_t* d =
      pixman_image_create_bits(PIXMAN_x8r8g8b8, kWidth, kHeight, dst.data(), kWidth * 4);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, s, nullptr, d, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(s);
  pixman_image_unref(d);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPixels) * 4);
}
#endif

// Prints, after the usual table, each kernel's time against the plain rows, memcpy and pixman.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    // With repetitions the median stands for the benchmark, else the single run.
    for (const Run& r : runs) {
      if (r.error_occurred) continue;
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
        m_times[r.run_name.str()] = r.GetAdjustedRealTime();
      else if (r.run_type == Run::RT_Iteration && !m_times.count(r.run_name.str()))
        m_times[r.run_name.str()] = r.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    const std::string fast = blit_rows::ActiveRows().name;
    auto& out = GetOutputStream();
    out << "\nratios of the " << fast << " kernels (time / time; below 1 is faster):\n";
    const double copy = Time("memcpy");
    for (const KernelCase& k : kKernels) {
      const double t = Time(std::string(k.name) + "/" + fast);
      const double plain = Time(std::string(k.name) + "/plain");
      if (t <= 0 || plain <= 0 || copy <= 0) continue;
      out << "  " << k.name << ": vs plain " << t / plain << ", vs memcpy " << t / copy;
      if (std::string(k.name) == "BltNatural(alpha,sprite)" && Time("pixman OVER/sprite") > 0)
        out << ", vs pixman OVER " << t / Time("pixman OVER/sprite");
      if (std::string(k.name) == "BltNatural(alpha,noise)" && Time("pixman OVER/noise") > 0)
        out << ", vs pixman OVER " << t / Time("pixman OVER/noise");
      out << "\n";
    }
  }

 private:
  double Time(const std::string& name) const {
    const auto it = m_times.find(name);
    return it == m_times.end() ? 0.0 : it->second;
  }
  std::map<std::string, double> m_times;
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<const blit_rows::RowKernels*> sets = {&blit_rows::PlainRows()};
  if (blit_rows::Sse2Rows()) sets.push_back(blit_rows::Sse2Rows());
  if (blit_rows::Avx2Rows()) sets.push_back(blit_rows::Avx2Rows());
  benchmark::RegisterBenchmark("memcpy", RunMemcpy);
#ifdef VREL_HAVE_PIXMAN
  benchmark::RegisterBenchmark("pixman OVER/sprite", RunPixmanOver, Content::Sprite);
  benchmark::RegisterBenchmark("pixman OVER/noise", RunPixmanOver, Content::Noise);
#endif
  for (const KernelCase& k : kKernels)
    for (const blit_rows::RowKernels* rows : sets)
      benchmark::RegisterBenchmark((std::string(k.name) + "/" + rows->name).c_str(), RunKernel, k,
                                   rows);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
