// The tag-jump line scan on a line that names no file: each blank-separated start is tried, and
// from each start every blank ends a candidate asked of the file system, as long as the candidate's
// last level could still be a name (255 bytes). A 64 KB line of short words, and a compiler's
// message line (the everyday case), both with the command's file test (a name of the current
// folder is looked up in its listing once the scan has asked about many) in a folder of 2,000
// files.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "editor/view/search/tag_jump_files.h"
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

const Tree& SharedTree() {
  static const Tree tree;
  return tree;
}

// Words of two to four lower-case letters, one blank between them; with hash, each starts with "#"
// (the include form, whose name the path finder looks for after a later "<" or double quote).
std::string ShortWords(size_t bytes, bool hash = false) {
  std::mt19937 random(7);
  std::string line;
  while (line.size() < bytes) {
    const int length = 2 + static_cast<int>(random() % 3);
    if (hash) line += '#';
    for (int i = 0; i < length; ++i) line += static_cast<char>('a' + random() % 26);
    line += ' ';
  }
  return line;
}

void Scan(benchmark::State& state, const std::string& line, bool expectPlace) {
  const std::string& base = SharedTree().folder;
  for (auto _ : state) {
    CTagJumpFiles files(base);
    const CTagJumpLineParser parser([&files](const std::string& candidate) { return files.IsFile(candidate); });
    TagJumpPlace place;
    const auto result = parser.Parse(line, nullptr, &place);
    if ((result == CTagJumpLineParser::Result::kPlace) != expectPlace) state.SkipWithError("wrong result");
    benchmark::DoNotOptimize(place);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size()));
}

void BM_WordsLine(benchmark::State& state) { Scan(state, ShortWords(static_cast<size_t>(state.range(0))), false); }
void BM_HashWordsLine(benchmark::State& state) {
  Scan(state, ShortWords(static_cast<size_t>(state.range(0)), true), false);
}
void BM_MessageLine(benchmark::State& state) {
  Scan(state, "src/f1234.c:120:7: error: 'x' undeclared (first use in this function)\r\n", true);
}

BENCHMARK(BM_WordsLine)->Arg(4096)->Arg(65536)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HashWordsLine)->Arg(4096)->Arg(65536)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MessageLine)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
