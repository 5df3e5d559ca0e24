// The keyword tip's lookup: CKeywordDictionary::Search for the key of the last entry of a 2 MB
// dictionary of 30,000 entries (CR LF lines, two keys each, Shift-JIS descriptions), warm in the
// page cache. The tip reads the file for every new word under the mouse, so the whole file is
// read each time. The baseline, timed in the same iteration, is read() of the same file and its
// lines split with memchr. Reported time: the lookup; counters: the baseline and the ratio (the
// goal is within 3 times).
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/editor_bench_text.h"
#include "editor/foundation/text/memory.h"
#include "editor/view/completion/keyword_dictionary.h"
#include "platform/sjis_literal.h"

namespace {

constexpr int kEntries = 30000;

std::string Key(int i) {
  char key[32];
  std::snprintf(key, sizeof key, "Func%05d", i);
  return key;
}

std::string DictionaryText() {
  const std::string meaning = "：値を書式に従って出力します。\\n"_sj;
  std::string text = "; keyword help\r\n";
  for (int i = 0; i < kEntries; ++i) {
    text += Key(i) + ",_" + Key(i) + " /// " + meaning + std::to_string(i) + "\r\n";
  }
  return text;
}

const EditorBenchFile& DictionaryFile() {
  static const EditorBenchFile file(DictionaryText());
  return file;
}

void KeywordTipLookup(benchmark::State& state) {
  const EditorBenchFile& file = DictionaryFile();
  const std::string word = "func" + Key(kEntries - 1).substr(4);  // letter case aside
  const CKeywordDictionary dictionary;
  std::vector<char> buffer(DictionaryText().size() + 4096);
  double baselineTotal = 0;
  double searchTotal = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    const int64_t lines = EditorBenchReadAndSplit(file.path(), buffer);
    const auto t1 = std::chrono::steady_clock::now();
    CMemory text;
    const bool found = dictionary.Search(word, &text, file.path());
    const auto t2 = std::chrono::steady_clock::now();
    if (!found || lines != kEntries + 1) {
      state.SkipWithError("the last entry was not found, or the file's lines differ");
      break;
    }
    benchmark::DoNotOptimize(text.GetPtr());
    baselineTotal += ElapsedMs(t0, t1);
    searchTotal += ElapsedMs(t1, t2);
    state.SetIterationTime(ElapsedMs(t1, t2) / 1000.0);
  }
  const double n = static_cast<double>(state.iterations());
  if (n == 0 || baselineTotal <= 0) return;
  state.counters["baseline_ms"] = baselineTotal / n;
  state.counters["search_ms"] = searchTotal / n;
  state.counters["search_over_baseline"] = searchTotal / baselineTotal;
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(DictionaryText().size()));
}

BENCHMARK(KeywordTipLookup)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace

BENCHMARK_MAIN();
