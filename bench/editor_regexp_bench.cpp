// The editor's regular expressions per line, as grep and the painter run them: the wrapper and the
// library (CRegexpDll::Match through the loaded module) beside the engine alone (onig_search per
// line with a pattern compiled once) and beside one memmem pass of the literal over the text. The
// text is generated Shift-JIS with 60-byte lines; VREL_BENCH_MB sets its size (default 64).
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <oniguruma.h>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "editor/foundation/settings/regexp_dll.h"
#include "platform/sjis_literal.h"

namespace {

size_t TextBytes() {
  const char* mb = std::getenv("VREL_BENCH_MB");
  const long n = mb ? std::atol(mb) : 64;
  return static_cast<size_t>(n > 0 ? n : 64) << 20;
}

struct Text {
  std::string bytes;
  std::vector<std::pair<size_t, int>> lines;  // offset and length without the line end
};

// Lines of 58 bytes of kanji, kana and ASCII and a CR LF. Now and then a line holds a rare kanji, a
// year, an upper-case word or starts with "abc", so that every pattern finds something.
Text MakeText(size_t bytes) {
  std::mt19937 rng(932);
  Text text;
  text.bytes.reserve(bytes + 64);
  const std::string rare = "麒麟"_sj;
  const std::string year = "2024年"_sj;
  while (text.bytes.size() < bytes) {
    std::string line;
    const unsigned special = rng() % 1000;
    if (special == 0) line += rare;
    if (special == 1) line += year;
    if (special == 2) line += "ERROR";
    if (special == 3) line += "abc";
    while (line.size() < 58) {
      const unsigned kind = rng() % 10;
      if (kind < 5 && line.size() + 2 <= 58) {
        const unsigned lead = kind < 3 ? 0x89 + rng() % 15 : 0x82;
        unsigned trail = kind < 3 ? 0x40 + rng() % 188 : 0x9F + rng() % 83;
        if (trail == 0x7F) ++trail;
        line += static_cast<char>(lead);
        line += static_cast<char>(trail);
      } else if (kind < 6) {
        line += static_cast<char>('0' + rng() % 10);
      } else {
        line += static_cast<char>('a' + rng() % 26);
      }
    }
    text.lines.emplace_back(text.bytes.size(), static_cast<int>(line.size()));
    text.bytes += line;
    text.bytes += "\r\n";
  }
  return text;
}

const Text& TheText() {
  static const Text text = MakeText(TextBytes());
  return text;
}

struct Pattern {
  const char* name;
  std::string pattern;
  int options;  // CRegexpDll option bits
};

const Pattern& PatternAt(int index) {
  static const Pattern patterns[] = {
      {"rare kanji literal", std::string("麒麟"_sj), CRegexpDll::kCaseSensitive},
      {"ASCII literal, case-insensitive", "error", 0},
      {"digits and a year", std::string("[0-9]+年"_sj), CRegexpDll::kCaseSensitive},
      {"anchored", "^abc", CRegexpDll::kCaseSensitive},
  };
  return patterns[index];
}

void SetBytes(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(TheText().bytes.size()));
}

void BM_Memmem(benchmark::State& state) {
  const std::string& bytes = TheText().bytes;
  const std::string needle = PatternAt(0).pattern;
  int64_t found = 0;
  for (auto _ : state) {
    found = 0;
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    while (const void* hit = memmem(p, static_cast<size_t>(end - p), needle.data(), needle.size())) {
      ++found;
      p = static_cast<const char*>(hit) + needle.size();
    }
    benchmark::DoNotOptimize(found);
  }
  state.counters["matches"] = static_cast<double>(found);
  SetBytes(state);
}
BENCHMARK(BM_Memmem)->Name("memmem/rare kanji literal")->Unit(benchmark::kMillisecond);

void BM_Engine(benchmark::State& state) {
  const Pattern& p = PatternAt(static_cast<int>(state.range(0)));
  OnigEncoding encodings[] = {ONIG_ENCODING_SJIS};
  onig_initialize(encodings, 1);
  OnigOptionType options = ONIG_OPTION_NEGATE_SINGLELINE;
  if (!(p.options & CRegexpDll::kCaseSensitive)) options |= ONIG_OPTION_IGNORECASE | ONIG_OPTION_IGNORECASE_IS_ASCII;
  OnigRegex regex;
  OnigErrorInfo info;
  const auto* pat = reinterpret_cast<const OnigUChar*>(p.pattern.data());
  if (onig_new(&regex, pat, pat + p.pattern.size(), options, ONIG_ENCODING_SJIS, ONIG_SYNTAX_PERL, &info) != 0) {
    state.SkipWithError("pattern refused");
    return;
  }
  OnigRegion* region = onig_region_new();
  const Text& text = TheText();
  int64_t found = 0;
  for (auto _ : state) {
    found = 0;
    for (const auto& [offset, length] : text.lines) {
      const auto* s = reinterpret_cast<const OnigUChar*>(text.bytes.data() + offset);
      if (onig_search(regex, s, s + length, s, s + length, region, ONIG_OPTION_NONE) >= 0) ++found;
    }
  }
  state.counters["matches"] = static_cast<double>(found);
  onig_region_free(region, 1);
  onig_free(regex);
  SetBytes(state);
}

void BM_Wrapper(benchmark::State& state) {
  const Pattern& p = PatternAt(static_cast<int>(state.range(0)));
  CDllLoader::SetModuleFile("BREGEXP.DLL", VREL_REGEXP_LIBRARY);
  CRegexpDll regexp;
  if (regexp.Load() != 0 || !regexp.Compile(p.pattern.c_str(), nullptr, p.options)) {
    state.SkipWithError("library or pattern missing");
    return;
  }
  const Text& text = TheText();
  int64_t found = 0;
  for (auto _ : state) {
    found = 0;
    for (const auto& [offset, length] : text.lines) {
      if (regexp.Match(text.bytes.data() + offset, length, 0)) ++found;
    }
  }
  state.counters["matches"] = static_cast<double>(found);
  SetBytes(state);
}

void Register() {
  for (int i = 0; i < 4; ++i) {
    const std::string name = PatternAt(i).name;
    benchmark::RegisterBenchmark(("engine alone/" + name).c_str(), BM_Engine)->Arg(i)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("CRegexpDll::Match/" + name).c_str(), BM_Wrapper)
        ->Arg(i)
        ->Unit(benchmark::kMillisecond);
  }
}

}  // namespace

int main(int argc, char** argv) {
  Register();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
