// The tag-jump line scan on a line that names no file: each blank-separated start is tried, and
// from each start every blank inside the path finder's reach (1023 bytes) ends a candidate, so a
// 64 KB line of short words asks about some 16 million names. Measured with the command's file
// test (a candidate is asked of the file system only when its folder's listing holds its name)
// beside the plain test that asks the file system about every candidate, on a folder of 2,000
// files; and a compiler's message line, the everyday case, with both.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "editor/foundation/text/editor_path.h"
#include "editor/view/search/tag_jump_file_check.h"
#include "editor/view/search/tag_jump_line.h"

namespace {

struct Tree {
  std::string folder;
  Tree() {
    char pattern[] = "/tmp/vrel-tagjump-bench-XXXXXX";
    folder = std::string(mkdtemp(pattern)) + "/";
    std::filesystem::create_directories(folder + "src");
    for (int i = 0; i < 2000; ++i) {
      if (FILE* f = std::fopen((folder + "src/f" + std::to_string(i) + ".c").c_str(), "w")) std::fclose(f);
    }
  }
  ~Tree() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
};

Tree& SharedTree() {
  static Tree tree;
  return tree;
}

// Words of two to four lower-case letters, one blank between them.
std::string ShortWords(size_t bytes) {
  std::mt19937 random(7);
  std::string line;
  while (line.size() < bytes) {
    const int length = 2 + static_cast<int>(random() % 3);
    for (int i = 0; i < length; ++i) line += static_cast<char>('a' + random() % 26);
    line += ' ';
  }
  return line;
}

template <bool kListed>
void Scan(benchmark::State& state, const std::string& line, bool expectPlace) {
  const std::string& base = SharedTree().folder;
  for (auto _ : state) {
    CTagJumpFileCheck check(base);
    const auto isFile = [&](const std::string& candidate) {
      if (kListed) return check.IsFile(candidate);
      const std::string full = candidate[0] == '/' ? candidate : base + candidate;
      return IsExistingFile(full.c_str(), true);
    };
    const CTagJumpLineParser parser(isFile);
    TagJumpPlace place;
    const auto result = parser.Parse(line, nullptr, &place);
    if ((result == CTagJumpLineParser::Result::kPlace) != expectPlace) state.SkipWithError("wrong result");
    benchmark::DoNotOptimize(place);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size()));
}

void BM_WordsLineListed(benchmark::State& state) {
  Scan<true>(state, ShortWords(static_cast<size_t>(state.range(0))), false);
}
void BM_WordsLineStatEach(benchmark::State& state) {
  Scan<false>(state, ShortWords(static_cast<size_t>(state.range(0))), false);
}
void BM_MessageLineListed(benchmark::State& state) {
  Scan<true>(state, "src/f1234.c:120:7: error: 'x' undeclared (first use in this function)\r\n", true);
}
void BM_MessageLineStatEach(benchmark::State& state) {
  Scan<false>(state, "src/f1234.c:120:7: error: 'x' undeclared (first use in this function)\r\n", true);
}

BENCHMARK(BM_WordsLineListed)->Arg(4096)->Arg(65536)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WordsLineStatEach)->Arg(4096)->Arg(65536)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_MessageLineListed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MessageLineStatEach)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
