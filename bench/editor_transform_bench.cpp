// The conversion commands' transformations of 100 MB of Shift-JIS (VREL_BENCH_MB sets the size),
// each beside the Shift-JIS to UTF-8 conversion of the same text, which they should not trail.
// The text is the editor benchmarks' own, indented by tabs and by runs of spaces, with a tab for
// every fifth space between words, so that both tab conversions have work on every line.
#include <benchmark/benchmark.h>
#include <string>

#include "bench/editor_bench_text.h"
#include "editor/foundation/text/memory.h"

namespace {

std::string MakeTransformText() {
  const std::string& base = EditorBenchText();
  std::string text;
  text.reserve(base.size() + base.size() / 16);
  int line = 0;
  int spaces = 0;
  bool lineStart = true;
  for (const char c : base) {
    if (lineStart) {
      text += line % 3 == 0 ? "\t\t" : line % 3 == 1 ? "        " : "  \t";
      lineStart = false;
    }
    if (c == ' ' && ++spaces % 5 == 0) {
      text += '\t';
    } else {
      text += c;
    }
    if (c == '\n') {
      ++line;
      lineStart = true;
    }
  }
  return text;
}

const std::string& Text() {
  static const std::string text = MakeTransformText();
  return text;
}

template <typename Convert>
void Run(benchmark::State& state, Convert convert) {
  RunInGrownBuffer(state, Text(), convert);
}

void BM_SjisToUtf8_Baseline(benchmark::State& s) { Run(s, [](CMemory& m) { m.SJIStoUTF8(); }); }
void BM_ToUpper(benchmark::State& s) { Run(s, [](CMemory& m) { m.ToUpper(); }); }
void BM_ToHankaku(benchmark::State& s) { Run(s, [](CMemory& m) { m.ToHalfWidth(0); }); }
void BM_ToZenKata(benchmark::State& s) { Run(s, [](CMemory& m) { m.ToFullWidth(CMemory::FULLWIDTH_KATAKANA, false); }); }
void BM_TABToSPACE(benchmark::State& s) { Run(s, [](CMemory& m) { m.TABToSPACE(4); }); }
void BM_SPACEToTAB(benchmark::State& s) { Run(s, [](CMemory& m) { m.SPACEToTAB(4); }); }

BENCHMARK(BM_SjisToUtf8_Baseline)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ToUpper)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ToHankaku)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ToZenKata)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_TABToSPACE)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SPACEToTAB)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
