// Loading and wrapping a document: CDocLineMgr::LoadFromFile in Shift-JIS of the generated text
// (see editor_bench_text.h) warm in the page cache, then CWrapLineMgr::RewrapAll at width 80 with
// the line-breaking rules and comment and string colouring on. The baseline, timed in the same
// iteration, is what any loader must do at least: read() the same file and split it into lines
// with memchr. Reported time: load and wrap; counters: each part, the baseline and the ratios.
// The UTF-8 copy of the text is loaded the same way, to show what converting every line costs.
#include <benchmark/benchmark.h>
#include <chrono>
#include <malloc.h>
#include <memory>
#include <string>
#include <vector>

#include "bench/editor_bench_text.h"
#include "editor/foundation/text/char_codes.h"
#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/wrap_line_mgr.h"

namespace {

const EditorBenchFile& SjisFile() {
  static const EditorBenchFile file(EditorBenchText());
  return file;
}

std::string Utf8Copy() {
  CMemory m(EditorBenchText().data(), static_cast<int>(EditorBenchText().size()));
  m.SJIStoUTF8();
  return std::string(m.GetPtr(), m.GetLength());
}

const EditorBenchFile& Utf8File() {
  static const EditorBenchFile file(Utf8Copy());
  return file;
}

void LoadAndWrap(benchmark::State& state, const EditorBenchFile& file, int code) {
  const auto type = MakeEditorBenchWrapType();
  std::vector<char> buffer(EditorBenchText().size() + 4096);
  double baselineTotal = 0;
  double loadTotal = 0;
  double wrapTotal = 0;
  int64_t lines = 0;
  int64_t displayLines = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    const int64_t split = EditorBenchReadAndSplit(file.path(), buffer);
    const auto t1 = std::chrono::steady_clock::now();
    auto doc = std::make_unique<CDocLineMgr>();
    bool bom = false;
    const bool loaded = doc->LoadFromFile(file.path().c_str(), nullptr, nullptr, code, nullptr, false, &bom);
    const auto t2 = std::chrono::steady_clock::now();
    auto wrap = std::make_unique<CWrapLineMgr>();
    wrap->Attach(doc.get());
    const bool wrapped = wrap->SetWrapSettings(true, nullptr, *type);
    const auto t3 = std::chrono::steady_clock::now();
    if (!loaded || !wrapped || doc->GetLineCount() != split) {
      state.SkipWithError("the load or the wrap failed, or the lines differ from the file's");
      break;
    }
    baselineTotal += ElapsedMs(t0, t1);
    loadTotal += ElapsedMs(t1, t2);
    wrapTotal += ElapsedMs(t2, t3);
    state.SetIterationTime(ElapsedMs(t1, t3) / 1000.0);
    lines = doc->GetLineCount();
    displayLines = wrap->GetLineCount();
    // Each iteration starts from a heap as a fresh process has it: what was freed is given back.
    wrap.reset();
    doc.reset();
    ::malloc_trim(0);
  }
  const double n = static_cast<double>(state.iterations());
  if (n == 0 || baselineTotal <= 0) return;
  state.counters["baseline_ms"] = baselineTotal / n;
  state.counters["load_ms"] = loadTotal / n;
  state.counters["wrap_ms"] = wrapTotal / n;
  state.counters["load_over_baseline"] = loadTotal / baselineTotal;
  state.counters["load_and_wrap_over_baseline"] = (loadTotal + wrapTotal) / baselineTotal;
  state.counters["lines"] = static_cast<double>(lines);
  state.counters["display_lines"] = static_cast<double>(displayLines);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(EditorBenchText().size()));
}

void LoadAndWrapSjis(benchmark::State& state) { LoadAndWrap(state, SjisFile(), kCodeSjis); }
void LoadAndWrapUtf8(benchmark::State& state) { LoadAndWrap(state, Utf8File(), kCodeUtf8); }

BENCHMARK(LoadAndWrapSjis)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(LoadAndWrapUtf8)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
