// Loading and wrapping a document: CDocLineMgr::LoadFromFile of generated Shift-JIS text (100 MB
// unless VREL_BENCH_MB says otherwise) warm in the page cache, then CWrapLineMgr::RewrapAll at
// width 80 with the rules and comment colouring on, against read() of the same file plus a memchr
// split into lines in the same run. The load and the wrap are also timed apart, and the UTF-8 copy
// of the text is loaded too, to show what the conversion of every line costs. The ratios are
// printed after the runs.
#include <benchmark/benchmark.h>
#include <cstring>
#include <fcntl.h>
#include <malloc.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "bench/editor_bench_wrap.h"
#include "bench/editor_sample_text.h"
#include "bench/run_times_reporter.h"
#include "editor/foundation/text/char_codes.h"
#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/wrap_line_mgr.h"

namespace {

using editor_bench::SampleFile;

const std::string& Sjis() {
  static const std::string text = editor_bench::MakeSampleSjis(editor_bench::SampleBytes());
  return text;
}

const SampleFile& SjisFile() {
  static const SampleFile file(Sjis());
  return file;
}

std::string Utf8Copy() {
  CMemory m(Sjis().data(), static_cast<int>(Sjis().size()));
  m.SJIStoUTF8();
  return std::string(m.GetPtr(), m.GetLength());
}

const SampleFile& Utf8File() {
  static const SampleFile file(Utf8Copy());
  return file;
}

// read() of the whole file into one buffer, then every line found with memchr.
void ReadAndSplit(benchmark::State& state) {
  const std::string& path = SjisFile().path();
  std::vector<char> buffer(Sjis().size() + 1);
  for (auto _ : state) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    size_t size = 0;
    for (ssize_t n; (n = ::read(fd, buffer.data() + size, buffer.size() - size)) > 0;) size += static_cast<size_t>(n);
    ::close(fd);
    size_t lines = 0;
    const char* p = buffer.data();
    const char* end = p + size;
    while (p < end) {
      const void* lf = std::memchr(p, '\n', static_cast<size_t>(end - p));
      p = lf ? static_cast<const char*>(lf) + 1 : end;
      ++lines;
    }
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(Sjis().size()));
}

void Load(benchmark::State& state, const SampleFile& file, int code) {
  int64_t lines = 0;
  for (auto _ : state) {
    auto doc = std::make_unique<CDocLineMgr>();
    bool bom = false;
    if (!doc->LoadFromFile(file.path().c_str(), nullptr, nullptr, code, nullptr, false, &bom)) {
      state.SkipWithError("the load failed");
      break;
    }
    lines = doc->GetLineCount();
    // Each load starts from a heap as a fresh process has it: the freed lines are given back first.
    state.PauseTiming();
    doc.reset();
    ::malloc_trim(0);
    state.ResumeTiming();
  }
  state.counters["lines"] = static_cast<double>(lines);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(Sjis().size()));
}

// The load followed by the wrap a document does after it; with bWrapOnly the load is left out of
// the time.
void LoadAndWrap(benchmark::State& state, bool bWrapOnly) {
  const auto type = MakeEditorBenchWrapType();
  int64_t displayLines = 0;
  for (auto _ : state) {
    if (bWrapOnly) state.PauseTiming();
    auto doc = std::make_unique<CDocLineMgr>();
    bool bom = false;
    if (!doc->LoadFromFile(SjisFile().path().c_str(), nullptr, nullptr, kCodeSjis, nullptr, false, &bom)) {
      state.SkipWithError("the load failed");
      break;
    }
    if (bWrapOnly) state.ResumeTiming();
    auto wrap = std::make_unique<CWrapLineMgr>();
    wrap->Attach(doc.get());
    wrap->SetWrapSettings(true, nullptr, *type);
    displayLines = wrap->GetLineCount();
    state.PauseTiming();
    wrap.reset();
    doc.reset();
    ::malloc_trim(0);
    state.ResumeTiming();
  }
  state.counters["display_lines"] = static_cast<double>(displayLines);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(Sjis().size()));
}

class RatioReporter : public RunTimesReporter {
 public:
  void Finalize() override {
    ConsoleReporter::Finalize();
    auto& out = GetOutputStream();
    const double base = Time("read+memchr/real_time");
    if (base <= 0) return;
    out << "\nagainst read() + memchr of the same file (time / time):\n";
    for (const char* name : {"LoadFromFile+RewrapAll/SJIS", "LoadFromFile/SJIS", "RewrapAll/SJIS", "LoadFromFile/UTF-8"}) {
      const double t = Time(std::string(name) + "/real_time");
      if (t > 0) out << "  " << name << ": " << t / base << "\n";
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("read+memchr", ReadAndSplit)->Unit(benchmark::kMillisecond)->UseRealTime();
  benchmark::RegisterBenchmark("LoadFromFile+RewrapAll/SJIS", [](benchmark::State& s) { LoadAndWrap(s, false); })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("RewrapAll/SJIS", [](benchmark::State& s) { LoadAndWrap(s, true); })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("LoadFromFile/SJIS", [](benchmark::State& s) { Load(s, SjisFile(), kCodeSjis); })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("LoadFromFile/UTF-8", [](benchmark::State& s) { Load(s, Utf8File(), kCodeUtf8); })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
