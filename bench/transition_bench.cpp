// The transition catalogue on 800 x 600 memory surfaces, one core: every entry in mode 0 at phases
// 1, 128 and 255, and in mode 3 (natural, the source a picture with alpha) at phase 128, against
// one BltFast of the whole frame in the same run (and, for mode 3, one BltNatural of it). After
// the table each entry's worst case is printed in milliseconds and as a multiple of the frame
// copy; the goal is under 2 ms a step. The figures are CPU time: on a shared machine the wall
// clock also counts other people's work.
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/transition.h"
#include "sdk/graphics/transition_random.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr double kGoalMs = 2.0;

// A figure on a transparent ground with a soft edge, as the game's pictures with alpha are.
std::unique_ptr<CMemPlane> MakePicture(bool withAlpha, uint32_t seed) {
  std::mt19937 rng(seed);
  auto plane = std::make_unique<CMemPlane>();
  plane->Create(kWidth, kHeight, 0);
  CMemPlaneImpl& impl = *plane->GetImpl();
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const double dx = (x - kWidth / 2.0) / (kWidth * 0.35);
      const double dy = (y - kHeight / 2.0) / (kHeight * 0.45);
      const double d = (1.0 - (dx * dx + dy * dy)) * 40.0;
      const uint32_t a = !withAlpha ? 255 : d >= 1.0 ? 255 : d <= 0.0 ? 0 : uint32_t(d * 255);
      impl.GetRow(y)[x] = a << 24 | (rng() & 0xFFFFFF);
    }
  *impl.GetHasAlphaPtr() = withAlpha;
  return plane;
}

struct Fixture {
  std::unique_ptr<CMemPlane> source = MakePicture(true, 1);
  std::unique_ptr<CMemPlane> dest = MakePicture(false, 2);
};

Fixture& Shared() {
  static Fixture f;
  return f;
}

void RunFrameCopy(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    f.dest->BltFast(f.source.get(), 0, 0, nullptr, nullptr, nullptr);
    benchmark::ClobberMemory();
  }
}

// Mode 3's own floor: the natural (per-pixel alpha) blit of the whole frame.
void RunFrameNatural(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    f.dest->BltNatural(f.source.get(), 0, 0, nullptr, nullptr, nullptr);
    benchmark::ClobberMemory();
  }
}

void RunEntry(benchmark::State& state, int entry, int mode, int phase) {
  Fixture& f = Shared();
  InitTransitionRandomTable();
  TransitionSeedRandom(1);
  const TransitionBltFunc effect = TransitionBltLookup(entry);
  for (auto _ : state) {
    effect(f.dest.get(), f.source.get(), 0, 0, phase, mode, 200, nullptr);
    benchmark::ClobberMemory();
  }
}

std::string CaseName(int entry, int mode, int phase) {
  return "entry " + std::to_string(entry) + "/mode " + std::to_string(mode) + "/phase " + std::to_string(phase);
}

struct Case {
  int mode;
  int phase;
};
constexpr Case kCases[] = {{0, 1}, {0, 128}, {0, 255}, {3, 128}};

class WorstCaseReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs)
      if (!r.error_occurred && r.run_type == Run::RT_Iteration)
        m_ns[r.run_name.function_name] = r.GetAdjustedCPUTime();  // ns: the unit set below
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    auto& out = GetOutputStream();
    const double copy = m_ns.count("BltFast frame") ? m_ns["BltFast frame"] : 0.0;
    out << "\nworst case of each entry (ms, and / one BltFast of the frame = " << copy / 1e6 << " ms); goal " << kGoalMs
        << " ms:\n";
    int over = 0;
    for (int entry = 0; entry < kTransitionCount; ++entry) {
      double worst = 0;
      std::string which;
      for (const Case& c : kCases) {
        const auto it = m_ns.find(CaseName(entry, c.mode, c.phase));
        if (it != m_ns.end() && it->second > worst) {
          worst = it->second;
          which = "mode " + std::to_string(c.mode) + " phase " + std::to_string(c.phase);
        }
      }
      if (which.empty()) continue;
      const bool slow = worst / 1e6 > kGoalMs;
      over += slow;
      out << "  entry " << entry << ": " << worst / 1e6 << " ms (" << which << "), x" << (copy > 0 ? worst / copy : 0.0)
          << (slow ? "  over the goal" : "") << "\n";
    }
    out << over << " entries over the goal\n";
    if (m_ns.count("BltNatural frame"))
      out << "(one BltNatural of the frame, mode 3's floor for a whole picture: " << m_ns["BltNatural frame"] / 1e6
          << " ms)\n";
  }

 private:
  std::map<std::string, double> m_ns;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("BltFast frame", RunFrameCopy)->Unit(benchmark::kNanosecond);
  benchmark::RegisterBenchmark("BltNatural frame", RunFrameNatural)->Unit(benchmark::kNanosecond);
  for (int entry = 0; entry < kTransitionCount; ++entry)
    for (const Case& c : kCases)
      benchmark::RegisterBenchmark(CaseName(entry, c.mode, c.phase).c_str(), RunEntry, entry, c.mode, c.phase)
          ->Unit(benchmark::kNanosecond)
          ->MinTime(0.05);
  benchmark::Initialize(&argc, argv);
  WorstCaseReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
