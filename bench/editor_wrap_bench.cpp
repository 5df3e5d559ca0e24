// Wrapping a large document: RewrapAll at width 80 with the word, line-head, line-end and hanging
// rules and comment and string colouring on, over generated Shift-JIS text (see
// editor_bench_text.h) held in document lines. The baseline, timed in the same iteration, is what
// any loader must do at least: read() the file from the page cache and split it into lines with
// memchr. Reported time: the wrap; counters: both, their ratio, and the lines made.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/editor_bench_text.h"
#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/wrap_line_mgr.h"

namespace {

const std::string& TextFile() {
  static const EditorBenchFile file(EditorBenchText());
  return file.path();
}

// The lines cut after each LF (the text's line ends are all CR LF).
CDocLineMgr& Document(double* pLoadMs) {
  static double loadMs = 0;
  static CDocLineMgr* const doc = [] {
    auto* mgr = new CDocLineMgr;
    const auto t0 = std::chrono::steady_clock::now();
    const std::string& text = EditorBenchText();
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
      const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
      const char* next = nl ? nl + 1 : end;
      const bool crlf = nl && nl > p && nl[-1] == '\r';
      mgr->AppendLine(p, static_cast<int>(next - p), crlf ? CLineEnd::CRLF : nl ? CLineEnd::LF : CLineEnd::NONE);
      p = next;
    }
    loadMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    return mgr;
  }();
  *pLoadMs = loadMs;
  return *doc;
}

void BM_RewrapAll(benchmark::State& state) {
  double loadMs = 0;
  CDocLineMgr& doc = Document(&loadMs);
  const std::string& path = TextFile();
  std::vector<char> buffer(EditorBenchText().size() + 4096);
  if (EditorBenchReadAndSplit(path, buffer) != doc.GetLineCount()) {
    state.SkipWithError("the file and the document lines differ");
    return;
  }
  CWrapLineMgr wrap;
  wrap.Attach(&doc);
  wrap.SetWrapSettings(false, nullptr, *MakeEditorBenchWrapType());
  double baselineTotal = 0;
  double wrapTotal = 0;
  for (auto _ : state) {
    wrap.FreeAllLines();
    wrap.ResetList();
    const auto t0 = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(EditorBenchReadAndSplit(path, buffer));
    const auto t1 = std::chrono::steady_clock::now();
    wrap.RewrapAll(nullptr);
    const auto t2 = std::chrono::steady_clock::now();
    baselineTotal += ElapsedMs(t0, t1);
    wrapTotal += ElapsedMs(t1, t2);
    state.SetIterationTime(ElapsedMs(t1, t2) / 1000.0);
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["baseline_ms"] = baselineTotal / n;
  state.counters["wrap_ms"] = wrapTotal / n;
  state.counters["wrap_over_baseline"] = wrapTotal / baselineTotal;
  state.counters["append_lines_ms"] = loadMs;
  state.counters["lines"] = doc.GetLineCount();
  state.counters["display_lines"] = wrap.GetLineCount();
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(EditorBenchText().size()));
}
BENCHMARK(BM_RewrapAll)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
