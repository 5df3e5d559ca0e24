// A file type's ten regular-expression keywords along the lines the painter draws: BeginLine, then
// MatchAt at every character start of 100,000 lines of 80 bytes, beside the least that colouring
// can cost: one search of the loaded library per pattern per line. The text is generated
// Shift-JIS source with comments, numbers, quoted Japanese text and now and then an address.
#include <benchmark/benchmark.h>
#include <random>
#include <string>
#include <vector>

#include "editor/foundation/document/regex_highlighter.h"
#include "editor/foundation/text/sjis_char.h"
#include "platform/sjis_literal.h"

namespace {

constexpr int kLines = 100000;
constexpr int kLineBytes = 80;

// The library's entry points, for the baseline's records of its own.
class Library : public CRegexpDll {
 public:
  Library() { Load(); }
  using CRegexpDll::FreeEntry;
  using CRegexpDll::MatchEntry;
};

const std::vector<std::pair<std::string, int>>& Patterns() {
  static const std::vector<std::pair<std::string, int>> patterns = {
      {"/TODO|FIXME/k", 29},
      {"/0x[0-9A-Fa-f]+/k", 30},
      {"/[0-9]+\\.[0-9]+/k", 31},
      {"/^#[a-z]+/k", 32},
      {"/\\bstd::[a-z_]+/k", 33},
      {"/「[^」]*」/k"_sj, 34},
      {"m#https?://[!-~]+#k", 35},
      {"/\\$[A-Za-z_]+/ki", 36},
      {"/\\b[A-Z][A-Z_]{3,}\\b/k", 37},
      {"/警告|注意/k"_sj, 38},
  };
  return patterns;
}

// Pieces a line is made of; each line is filled to its 80 bytes with plain code and ends there.
std::vector<std::string> MakeLines() {
  const std::vector<std::string> pieces = {
      "int count = 0; ",   "value += 12.5; ",    "std::vector<int> v; ", "return x; ", "// TODO tidy ",
      "flags |= 0x1F; ",   "#include <x> ",      "MAX_SIZE ",            "$path ",     "http://a.example/x ",
      "「日本語」"_sj,     "// 注意 漢字 "_sj, "if (a < b) ",           "call(a, b); ",
  };
  std::mt19937 rng(932);
  std::vector<std::string> lines;
  lines.reserve(kLines);
  for (int i = 0; i < kLines; ++i) {
    std::string line = rng() % 16 == 0 ? "#define " : "    ";
    while (line.size() < kLineBytes) {
      // Mostly plain code; a keyword-bearing piece now and then.
      const unsigned pick = rng() % 40;
      const std::string& piece = pick < pieces.size() ? pieces[pick] : pieces[12 + pick % 2];
      line += piece;
    }
    // Cut on a whole character, then pad with blanks.
    const int keep = WholeCharsPrefixLength(line.data(), static_cast<int>(line.size()), kLineBytes);
    line.resize(static_cast<size_t>(keep));
    line.resize(kLineBytes, ' ');
    lines.push_back(std::move(line));
  }
  return lines;
}

const std::vector<std::string>& Lines() {
  static const std::vector<std::string> lines = MakeLines();
  return lines;
}

TypeSettings& Type() {
  static TypeSettings type = [] {
    TypeSettings t{};
    t.bUseRegexKeyword = 1;
    t.nChangeCounter = 1;
    for (int code = 0; code < kColorItemCount; ++code) t.Colors[code].bShow = 1;
    for (size_t i = 0; i < Patterns().size(); ++i) {
      const std::string& text = Patterns()[i].first;
      text.copy(t.RegexKeywords[i].szPattern, sizeof t.RegexKeywords[i].szPattern - 1);
      t.RegexKeywords[i].nColorCode = Patterns()[i].second;
    }
    return t;
  }();
  return type;
}

bool PointAtLibrary() {
  CDllLoader::SetModuleFile("BREGEXP.DLL", VREL_REGEXP_LIBRARY);
  return true;
}

void BM_Highlighter(benchmark::State& state) {
  PointAtLibrary();
  CRegexHighlighter highlighter;
  if (!highlighter.IsAvailable() || highlighter.BindType(&Type()) != 1) {
    state.SkipWithError("library missing");
    return;
  }
  const std::vector<std::string>& lines = Lines();
  int64_t keywords = 0;
  for (auto _ : state) {
    keywords = 0;
    for (const std::string& line : lines) {
      highlighter.BeginLine();
      const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
      for (int column = 0; column < kLineBytes; column += SjisCharSize(bytes, kLineBytes, column)) {
        int length = 0, code = 0;
        if (highlighter.MatchAt(line.data(), column, kLineBytes, &length, &code)) ++keywords;
      }
    }
    benchmark::DoNotOptimize(keywords);
  }
  state.counters["keywords"] = static_cast<double>(keywords);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kLines);
}
BENCHMARK(BM_Highlighter)->Name("Regex keywords/highlighter")->Unit(benchmark::kMillisecond);

void BM_OneSearchPerPatternPerLine(benchmark::State& state) {
  PointAtLibrary();
  Library library;
  const BMatchFunc match = library.MatchEntry();
  const BRegfreeFunc release = library.FreeEntry();
  if (!match || !release) {
    state.SkipWithError("library missing");
    return;
  }
  std::vector<BREGEXP*> compiled;
  char msg[kBRegexpMessageSize] = {};
  for (const auto& [pattern, code] : Patterns()) {
    BREGEXP* rx = nullptr;
    match(pattern.c_str(), "", "", &rx, msg);
    compiled.push_back(rx);
  }
  const std::vector<std::string>& lines = Lines();
  int64_t lineMatches = 0;
  for (auto _ : state) {
    lineMatches = 0;
    for (const std::string& line : lines) {
      for (BREGEXP*& rx : compiled) {
        if (rx && match(nullptr, line.data(), line.data() + kLineBytes, &rx, msg) > 0) ++lineMatches;
      }
    }
    benchmark::DoNotOptimize(lineMatches);
  }
  for (BREGEXP* rx : compiled) {
    if (rx) release(rx);
  }
  state.counters["line matches"] = static_cast<double>(lineMatches);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kLines);
}
BENCHMARK(BM_OneSearchPerPatternPerLine)
    ->Name("Regex keywords/baseline: one search per pattern per line")
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
