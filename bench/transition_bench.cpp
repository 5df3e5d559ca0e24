// The transition catalogue on 800 x 600 memory surfaces, one core: every entry in every mode
// (0 opaque, 1 keyed, 2 alpha-weighted blend, 3 natural; the source a picture with alpha) at
// phases 1, 64, 128, 192 and 255, against one BltFast of the whole frame in the same run (and one
// BltNatural of it, the floor of the blending modes for a whole picture). After the runs a table
// gives each entry's worst phase in each mode, in milliseconds, and the worst as a multiple of the
// frame copy; the goal is under 2 ms a step. The figures are CPU time, the median of three runs:
// on a shared machine the wall clock also counts other people's work.
#include <algorithm>
#include <cstdio>
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

constexpr int kModes = 4;
constexpr int kPhases[] = {1, 64, 128, 192, 255};

class WorstCaseReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs)
      if (!r.error_occurred && r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
        m_ns[r.run_name.function_name] = r.GetAdjustedCPUTime();  // ns: the unit set below
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    auto& out = GetOutputStream();
    const double copy = m_ns.count("BltFast frame") ? m_ns["BltFast frame"] : 0.0;
    out << "\nworst phase of each entry in each mode, ms (phase); one BltFast of the frame = " << copy / 1e6
        << " ms; goal " << kGoalMs << " ms:\n";
    out << "entry        mode 0          mode 1          mode 2          mode 3     worst / copy\n";
    int over = 0;
    double worstOfAll = 0;
    for (int entry = 0; entry < kTransitionCount; ++entry) {
      if (!Measured(entry)) continue;  // left out by a filter
      double worstOfEntry = 0;
      bool slow = false;
      std::string row = std::to_string(entry);
      row.resize(6, ' ');
      for (int mode = 0; mode < kModes; ++mode) {
        double worst = -1;
        int which = 0;
        for (int phase : kPhases) {
          const auto it = m_ns.find(CaseName(entry, mode, phase));
          if (it != m_ns.end() && it->second > worst) {
            worst = it->second;
            which = phase;
          }
        }
        char cell[32];
        if (worst < 0)
          std::snprintf(cell, sizeof cell, "%16s", "-");
        else
          std::snprintf(cell, sizeof cell, "%9.3f (%3d)%s", worst / 1e6, which, worst / 1e6 > kGoalMs ? "*" : " ");
        row += cell;
        slow = slow || worst / 1e6 > kGoalMs;
        worstOfEntry = std::max(worstOfEntry, worst);
      }
      worstOfAll = std::max(worstOfAll, worstOfEntry);
      over += slow;
      char ratio[32];
      std::snprintf(ratio, sizeof ratio, "  x%.1f", copy > 0 ? worstOfEntry / copy : 0.0);
      out << row << ratio << "\n";
    }
    out << over << " entries over the goal (marked *); the slowest step " << worstOfAll / 1e6 << " ms\n";
    if (m_ns.count("BltNatural frame"))
      out << "(one BltNatural of the frame, the blending modes' floor for a whole picture: "
          << m_ns["BltNatural frame"] / 1e6 << " ms)\n";
  }

 private:
  bool Measured(int entry) const {
    for (int mode = 0; mode < kModes; ++mode)
      for (int phase : kPhases)
        if (m_ns.count(CaseName(entry, mode, phase))) return true;
    return false;
  }

  std::map<std::string, double> m_ns;
};

}  // namespace

int main(int argc, char** argv) {
  // Each case three times, its median in the table: one run disturbed by the rest of the machine
  // does not decide a case.
  constexpr int kRepetitions = 3;
  benchmark::RegisterBenchmark("BltFast frame", RunFrameCopy)
      ->Unit(benchmark::kNanosecond)
      ->Repetitions(kRepetitions)
      ->DisplayAggregatesOnly(true);
  benchmark::RegisterBenchmark("BltNatural frame", RunFrameNatural)
      ->Unit(benchmark::kNanosecond)
      ->Repetitions(kRepetitions)
      ->DisplayAggregatesOnly(true);
  for (int entry = 0; entry < kTransitionCount; ++entry)
    for (int mode = 0; mode < kModes; ++mode)
      for (int phase : kPhases)
        benchmark::RegisterBenchmark(CaseName(entry, mode, phase).c_str(), RunEntry, entry, mode, phase)
            ->Unit(benchmark::kNanosecond)
            ->MinTime(0.05)
            ->Repetitions(kRepetitions)
            ->DisplayAggregatesOnly(true);
  benchmark::Initialize(&argc, argv);
  WorstCaseReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
