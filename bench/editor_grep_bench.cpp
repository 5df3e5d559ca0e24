// Grep over a generated tree: RunGrep into a result document in a window-free pane, beside GNU grep
// -rnF over the same tree in the same run (LC_ALL=C, started with posix_spawn and timed from its
// start to its exit). The tree: the text of editor_bench_text.h, about 200 MB (VREL_BENCH_GREP_MB
// sets the size for quicker runs), cut at line ends into 2,000 files in three folder levels,
// written once per run into a temporary folder, read once so that every run finds it in the page
// cache, and removed at the end. One line in about 33 carries the word "zqhit", which makes some
// 100,000 hits in the 200 MB tree.
//
// grep writes to /dev/null as asked, but GNU grep knows /dev/null and then stops at the first match
// as -q would; so grep is also timed writing into a pipe that the benchmark reads and drops, which
// makes it produce every line, as RunGrep does.
//
// Goal: a literal (code 0, output lines, style 1) no slower than grep. Reported too: code 99, case
// ignored, a regular expression and the literal with 100,000 hits.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/editor_bench_pane.h"
#include "bench/editor_bench_text.h"
#include "editor/foundation/settings/dll_loader.h"
#include "platform/path.h"

namespace {

constexpr const char* kRareKanji = "\x8A\xBF";
constexpr const char* kAsciiWord = "quiz";
constexpr const char* kPlanted = "zqhit";
constexpr int kFolders = 10;          // at the first level, each with kFolders below it
constexpr int kFilesPerFolder = 20;  // in each second-level folder: 10 x 10 x 20 = 2,000 files

size_t TreeBytes() {
  const char* mb = std::getenv("VREL_BENCH_GREP_MB");
  const long n = mb ? std::atol(mb) : 200;
  return static_cast<size_t>(n > 0 ? n : 200) << 20;
}

class Tree {
 public:
  Tree() {
    const std::string text = MakeEditorBenchText(TreeBytes());
    char name[] = "/tmp/editor_grep_bench_XXXXXX";
    if (!mkdtemp(name)) std::abort();
    m_host = std::string(name) + "/";
    if (!platform::ExactPathFromHost(m_host, m_folder)) std::abort();
    const int files = kFolders * kFolders * kFilesPerFolder;
    const size_t perFile = text.size() / static_cast<size_t>(files) + 1;
    size_t pos = 0;
    long line = 0;
    for (int f = 0; f < files; ++f) {
      const std::string dir = m_host + "d" + std::to_string(f / (kFolders * kFilesPerFolder)) + "/e" +
                              std::to_string(f / kFilesPerFolder % kFolders) + "/";
      std::filesystem::create_directories(dir);
      std::string body;
      body.reserve(perFile + 256);
      while (pos < text.size() && (body.size() < perFile || f == files - 1)) {
        const size_t end = text.find('\n', pos);
        const size_t next = end == std::string::npos ? text.size() : end + 1;
        if (++line % 33 == 0) {
          body += kPlanted;
          body += ' ';
        }
        body.append(text, pos, next - pos);
        pos = next;
      }
      m_bytes += body.size();
      const std::string path = dir + "f" + std::to_string(f % kFilesPerFolder) + ".txt";
      const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (fd < 0 || write(fd, body.data(), body.size()) != static_cast<ssize_t>(body.size())) std::abort();
      close(fd);
    }
    // Warm the page cache.
    std::vector<char> buffer;
    for (const auto& e : std::filesystem::recursive_directory_iterator(m_host))
      if (e.is_regular_file()) EditorBenchReadAndSplit(e.path().string(), buffer);
  }
  ~Tree() {
    std::error_code ec;
    std::filesystem::remove_all(m_host, ec);
  }
  Tree(const Tree&) = delete;
  Tree& operator=(const Tree&) = delete;

  const std::string& host() const { return m_host; }
  const std::string& folder() const { return m_folder; }
  size_t bytes() const { return m_bytes; }

 private:
  std::string m_host;
  std::string m_folder;
  size_t m_bytes = 0;
};

Tree& TheTree() {
  static Tree tree;
  return tree;
}

struct GrepRun {
  double ms = 0;
  long lines = 0;  // output lines (pipe only)
};

// grep -rn with the options given over the tree: into /dev/null, or into a pipe read and dropped.
GrepRun Grep(const std::vector<const char*>& options, const char* pattern, bool intoPipe) {
  int out[2] = {-1, -1};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (intoPipe) {
    if (pipe(out) != 0) std::abort();
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
  } else {
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  }
  std::vector<char*> argv{const_cast<char*>("grep"), const_cast<char*>("-rn")};
  for (const char* o : options) argv.push_back(const_cast<char*>(o));
  argv.push_back(const_cast<char*>("--"));
  argv.push_back(const_cast<char*>(pattern));
  argv.push_back(const_cast<char*>(TheTree().host().c_str()));
  argv.push_back(nullptr);
  char lcAll[] = "LC_ALL=C";
  char* envp[] = {lcAll, nullptr};
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawnp(&pid, "grep", &actions, nullptr, argv.data(), envp) != 0) std::abort();
  posix_spawn_file_actions_destroy(&actions);
  GrepRun run;
  if (intoPipe) {
    close(out[1]);
    std::vector<char> buffer(1 << 16);
    for (ssize_t got; (got = read(out[0], buffer.data(), buffer.size())) > 0;)
      for (ssize_t i = 0; i < got; ++i) run.lines += buffer[static_cast<size_t>(i)] == '\n';
    close(out[0]);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) > 1) std::abort();
  run.ms = ElapsedMs(start, std::chrono::steady_clock::now());
  return run;
}

struct Options {
  bool loHiCase = true;
  bool regexp = false;
  int code = 0;
};

// Reported time: RunGrep into a new result document. Counters: its hits, grep's time into
// /dev/null and into a pipe (with its output lines), and the ratios to both.
void BM_RunGrep(benchmark::State& state, const char* key, Options o, std::vector<const char*> grepOptions) {
  Tree& tree = TheTree();
  CDllLoader::SetModuleFile("BREGEXP.DLL", VREL_REGEXP_LIBRARY);
  double own = 0, devNull = 0, piped = 0;
  int hits = 0;
  GrepRun g;
  for (auto _ : state) {
    EditorBenchPane pane("grep-bench", 0);
    pane.record->Common.bGrepRealTime = 0;
    pane.Show();
    const auto t0 = std::chrono::steady_clock::now();
    hits = pane.view->RunGrep(key, "*.*", tree.folder().c_str(), true, o.loHiCase, o.regexp, o.code, true, false, 1);
    const auto t1 = std::chrono::steady_clock::now();
    own += ElapsedMs(t0, t1);
    devNull += Grep(grepOptions, key, false).ms;
    g = Grep(grepOptions, key, true);
    piped += g.ms;
    state.SetIterationTime(ElapsedMs(t0, t1) / 1000.0);
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["hits"] = hits;
  state.counters["grep_lines"] = static_cast<double>(g.lines);
  state.counters["grep_null_ms"] = devNull / iterations;
  state.counters["grep_pipe_ms"] = piped / iterations;
  state.counters["over_grep_null"] = own / devNull;
  state.counters["over_grep_pipe"] = own / piped;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(tree.bytes()));
}

BENCHMARK_CAPTURE(BM_RunGrep, rare_kanji, kRareKanji, Options{}, std::vector<const char*>{"-F"})
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(BM_RunGrep, ascii_word, kAsciiWord, Options{}, std::vector<const char*>{"-F"})
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(BM_RunGrep, rare_kanji_code_99, kRareKanji, (Options{true, false, 99}),
                  std::vector<const char*>{"-F"})
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_RunGrep, ascii_word_ignoring_case, kAsciiWord, (Options{false, false, 0}),
                  std::vector<const char*>{"-F", "-i"})
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_RunGrep, regexp, "qu[a-z]z", (Options{true, true, 0}), std::vector<const char*>{"-E"})
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_RunGrep, hundred_thousand_hits, kPlanted, Options{}, std::vector<const char*>{"-F"})
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
