// Searching a document of 100 MB (editor_bench_text.h) loaded into document lines: FindText counting
// every hit, each search starting where the last ended, beside GNU grep counting the lines that hold
// the literal in the same text in a file (LC_ALL=C, started with posix_spawn and timed from the start
// to its exit, the file warm in the page cache) and beside memmem counting the literal's bytes in the
// text in one piece. The literals: a kanji that one kanji in some 2,800 is, and an ASCII word of the
// mix. Goal: the plain case-sensitive search no slower than grep. The other modes (case ignored,
// whole word, regular expression, backward) are reported, each with grep's nearest counterpart where
// it has one.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/editor_bench_text.h"
#include "editor/foundation/settings/regexp_dll.h"
#include "editor/foundation/text/doc_line_mgr.h"

namespace {

constexpr const char* kRareKanji = "\x8A\xBF";  // one of the 2,820 first-level kanji the mix draws from
constexpr const char* kCommonWord = "the";

struct Corpus {
  std::string text = MakeEditorBenchText(EditorBenchTextBytes());
  EditorBenchFile file{text};
  CDocLineMgr mgr;
  CRegexpDll regexp;

  Corpus() {
    for (size_t pos = 0; pos < text.size();) {
      const char* lf = static_cast<const char*>(std::memchr(text.data() + pos, '\n', text.size() - pos));
      const size_t next = lf ? static_cast<size_t>(lf - text.data()) + 1 : text.size();
      mgr.AppendLine(text.data() + pos, static_cast<int>(next - pos), lf ? CLineEnd::CRLF : CLineEnd::NONE);
      pos = next;
    }
    CDllLoader::SetModuleFile("BREGEXP.DLL", VREL_REGEXP_LIBRARY);
    if (regexp.Load() != 0) std::abort();
  }
};

Corpus& TheCorpus() {
  static Corpus corpus;
  return corpus;
}

struct Mode {
  bool caseSensitive = true;
  bool wholeWord = false;
  bool regexp = false;
  bool forward = true;
};

struct Count {
  long hits = 0;
  long lines = 0;  // lines holding a hit
};

// Every hit from the start onward (or from the end backward), each search from the last hit.
Count CountHits(Corpus& c, const char* pattern, const Mode& mode) {
  CRegexpDll* engine = nullptr;
  if (mode.regexp) {
    if (!c.regexp.Compile(pattern, nullptr, mode.caseSensitive ? CRegexpDll::kCaseSensitive : 0)) std::abort();
    engine = &c.regexp;
  }
  Count n;
  int line = mode.forward ? 0 : c.mgr.GetLineCount() - 1;
  int col = mode.forward ? 0 : c.mgr.GetLine(line)->GetLengthWithoutEol();
  int last = -1;
  for (int l, s, e; c.mgr.FindText(line, col, pattern, mode.forward, mode.regexp, mode.caseSensitive,
                                   mode.wholeWord, &l, &s, &e, engine);) {
    ++n.hits;
    n.lines += l != last;
    last = l;
    line = l;
    col = mode.forward ? e : s;
  }
  return n;
}

struct GrepRun {
  double ms = 0;
  long lines = 0;
};

// grep -c with the options given, from the start of the process to its exit.
GrepRun Grep(const std::vector<const char*>& options, const char* pattern, const std::string& path) {
  int out[2];
  if (pipe(out) != 0) std::abort();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, out[1]);
  std::vector<char*> argv{const_cast<char*>("grep"), const_cast<char*>("-c")};
  for (const char* o : options) argv.push_back(const_cast<char*>(o));
  argv.push_back(const_cast<char*>("--"));
  argv.push_back(const_cast<char*>(pattern));
  argv.push_back(const_cast<char*>(path.c_str()));
  argv.push_back(nullptr);
  char lcAll[] = "LC_ALL=C";
  char* envp[] = {lcAll, nullptr};
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawnp(&pid, "grep", &actions, nullptr, argv.data(), envp) != 0) std::abort();
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  std::string output;
  char buffer[64];
  for (ssize_t got; (got = read(out[0], buffer, sizeof buffer)) > 0;) output.append(buffer, got);
  close(out[0]);
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) > 1) std::abort();
  const auto end = std::chrono::steady_clock::now();
  return {ElapsedMs(start, end), std::atol(output.c_str())};
}

long MemmemHits(const std::string& text, const char* pattern) {
  const size_t m = std::strlen(pattern);
  long hits = 0;
  const char* p = text.data();
  const char* end = p + text.size();
  while (const void* hit = memmem(p, end - p, pattern, m)) {
    ++hits;
    p = static_cast<const char*>(hit) + m;
  }
  return hits;
}

// Reported time: FindText counting every hit. Counters: the hits and the lines holding them,
// grep's time and line count, memmem's time and count (bytes anywhere, also inside characters),
// and the ratios to both.
void BM_PlainAgainstGrep(benchmark::State& state, const char* pattern) {
  Corpus& c = TheCorpus();
  double own = 0, grep = 0, mem = 0;
  Count n;
  GrepRun g;
  long memHits = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    n = CountHits(c, pattern, Mode{});
    const auto t1 = std::chrono::steady_clock::now();
    g = Grep({"-F"}, pattern, c.file.path());
    const auto t2 = std::chrono::steady_clock::now();
    memHits = MemmemHits(c.text, pattern);
    const auto t3 = std::chrono::steady_clock::now();
    own += ElapsedMs(t0, t1);
    grep += g.ms;
    mem += ElapsedMs(t2, t3);
    state.SetIterationTime(ElapsedMs(t0, t1) / 1000.0);
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["hits"] = static_cast<double>(n.hits);
  state.counters["hit_lines"] = static_cast<double>(n.lines);
  state.counters["grep_lines"] = static_cast<double>(g.lines);
  state.counters["memmem_hits"] = static_cast<double>(memHits);
  state.counters["grep_ms"] = grep / iterations;
  state.counters["memmem_ms"] = mem / iterations;
  state.counters["over_grep"] = own / grep;
  state.counters["over_memmem"] = own / mem;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(c.text.size()));
}
BENCHMARK_CAPTURE(BM_PlainAgainstGrep, rare_kanji, kRareKanji)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(BM_PlainAgainstGrep, common_ascii, kCommonWord)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// Reported time: FindText in the mode. Counters: the hits and the lines holding them, and, where
// grep has a counterpart (-i, -w, -E), its time, line count and the ratio.
void BM_Mode(benchmark::State& state, const char* pattern, Mode mode, std::vector<const char*> grepOptions) {
  Corpus& c = TheCorpus();
  double own = 0, grep = 0;
  Count n;
  GrepRun g;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    n = CountHits(c, pattern, mode);
    const auto t1 = std::chrono::steady_clock::now();
    own += ElapsedMs(t0, t1);
    if (!grepOptions.empty()) {
      g = Grep(grepOptions, pattern, c.file.path());
      grep += g.ms;
    }
    state.SetIterationTime(ElapsedMs(t0, t1) / 1000.0);
  }
  state.counters["hits"] = static_cast<double>(n.hits);
  state.counters["hit_lines"] = static_cast<double>(n.lines);
  if (!grepOptions.empty()) {
    state.counters["grep_lines"] = static_cast<double>(g.lines);
    state.counters["grep_ms"] = grep / static_cast<double>(state.iterations());
    state.counters["over_grep"] = own / grep;
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(c.text.size()));
}

constexpr Mode kIgnoreCase{false, false, false, true};
constexpr Mode kWholeWord{true, true, false, true};
constexpr Mode kRegexp{true, false, true, true};
constexpr Mode kRegexpIgnoreCase{false, false, true, true};
constexpr Mode kBackward{true, false, false, false};
constexpr Mode kWholeWordBackward{true, true, false, false};
constexpr Mode kRegexpBackward{true, false, true, false};

#define VREL_MODE(name, pattern, mode, ...)                                          \
  BENCHMARK_CAPTURE(BM_Mode, name, pattern, mode, std::vector<const char*>{__VA_ARGS__}) \
      ->UseManualTime()                                                              \
      ->Unit(benchmark::kMillisecond)                                                \
      ->Iterations(3)

VREL_MODE(ignore_case_rare_kanji, kRareKanji, kIgnoreCase, "-F", "-i");
VREL_MODE(ignore_case_common_ascii, "THE", kIgnoreCase, "-F", "-i");
VREL_MODE(whole_word_rare_kanji, kRareKanji, kWholeWord);
VREL_MODE(whole_word_common_ascii, kCommonWord, kWholeWord, "-F", "-w");
VREL_MODE(regexp_rare_kanji, kRareKanji, kRegexp, "-E");
VREL_MODE(regexp_common_ascii, kCommonWord, kRegexp, "-E");
VREL_MODE(regexp_ignore_case_common_ascii, "THE", kRegexpIgnoreCase, "-E", "-i");
VREL_MODE(regexp_hex_number, "0x[0-9A-F]+", kRegexp, "-E");
VREL_MODE(backward_rare_kanji, kRareKanji, kBackward);
VREL_MODE(backward_common_ascii, kCommonWord, kBackward);
VREL_MODE(whole_word_backward_common_ascii, kCommonWord, kWholeWordBackward);
VREL_MODE(regexp_backward_common_ascii, kCommonWord, kRegexpBackward);

}  // namespace

BENCHMARK_MAIN();
