// The editor's regular expressions per line, as grep and the painter run them: the wrapper and the
// library (CRegexpDll::Match through the loaded module) beside the engine alone (onig_search per
// line with a pattern compiled once), beside one memmem pass of a literal over the text, and, for a
// pattern with a literal, beside the least a search can cost: memmem over the text and the engine
// on the lines that match. The text is generated Shift-JIS with 60-byte lines; VREL_BENCH_MB sets
// its size (default 64).
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

using Lines = std::vector<std::pair<size_t, int>>;  // offset and length without the line end

struct Text {
  std::string bytes;
  Lines lines;
};

// Lines of 58 bytes of kanji, kana and ASCII and a CR LF (or, as prose, 56 bytes and a full stop).
// Now and then a line holds a rare kanji, a
// year, an upper-case word or starts with "abc", so that every pattern finds something.
Text MakeText(size_t bytes, bool prose) {
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
    const size_t length = prose ? 56 : 58;
    while (line.size() < length) {
      const unsigned kind = rng() % 10;
      if (kind < 5 && line.size() + 2 <= length) {
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
    if (prose) line += "。"_sj;
    text.lines.emplace_back(text.bytes.size(), static_cast<int>(line.size()));
    text.bytes += line;
    text.bytes += "\r\n";
  }
  return text;
}

const Text& TheText(bool prose = false) {
  static const Text text = MakeText(TextBytes(), false);
  static const Text proseText = MakeText(TextBytes(), true);
  return prose ? proseText : text;
}

struct Pattern {
  const char* name;
  std::string pattern;
  int options;          // CRegexpDll option bits
  std::string literal;  // the text every match holds, searched by the baseline; empty for none
  bool prose = false;   // searched in the lines that end in a full stop
};

constexpr int kPatterns = 7;

const Pattern& PatternAt(int index) {
  static const Pattern patterns[kPatterns] = {
      {"rare kanji literal", std::string("麒麟"_sj), CRegexpDll::kCaseSensitive, std::string("麒麟"_sj)},
      {"ASCII literal, case-insensitive", "error", 0, "ERROR"},
      {"digits and a year", std::string("[0-9]+年"_sj), CRegexpDll::kCaseSensitive, std::string("年"_sj)},
      {"anchored", "^abc", CRegexpDll::kCaseSensitive, "abc"},
      {"no literal", "[0-9]{5}", CRegexpDll::kCaseSensitive, ""},
      {"literal in every other line", "q[0-9]", CRegexpDll::kCaseSensitive, "q"},
      {"literal ending every line", std::string("[0-9]{3}。"_sj), CRegexpDll::kCaseSensitive, std::string("。"_sj),
       true},
  };
  return patterns[index];
}

void SetBytes(benchmark::State& state, const Text& text) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.bytes.size()));
}

int64_t CountMemmem(const std::string& bytes, const std::string& needle) {
  int64_t found = 0;
  const char* p = bytes.data();
  const char* end = p + bytes.size();
  while (const void* hit = memmem(p, static_cast<size_t>(end - p), needle.data(), needle.size())) {
    ++found;
    p = static_cast<const char*>(hit) + needle.size();
  }
  return found;
}

// The engine alone, with the pattern compiled once.
class EngineAlone {
 public:
  explicit EngineAlone(const Pattern& p) {
    OnigEncoding encodings[] = {ONIG_ENCODING_SJIS};
    onig_initialize(encodings, 1);
    OnigOptionType options = ONIG_OPTION_NEGATE_SINGLELINE;
    if (!(p.options & CRegexpDll::kCaseSensitive)) {
      options |= ONIG_OPTION_IGNORECASE | ONIG_OPTION_IGNORECASE_IS_ASCII;
    }
    OnigErrorInfo info;
    const auto* pat = reinterpret_cast<const OnigUChar*>(p.pattern.data());
    if (onig_new(&m_regex, pat, pat + p.pattern.size(), options, ONIG_ENCODING_SJIS, ONIG_SYNTAX_PERL, &info) != 0) {
      m_regex = nullptr;
    }
    m_region = onig_region_new();
  }
  ~EngineAlone() {
    onig_region_free(m_region, 1);
    if (m_regex) onig_free(m_regex);
  }
  bool Compiled() const { return m_regex != nullptr; }

  // The lines where it matches, counted, and kept in `matched` when asked.
  int64_t Count(const Text& text, const Lines& lines, Lines* matched = nullptr) {
    int64_t found = 0;
    for (const auto& [offset, length] : lines) {
      const auto* s = reinterpret_cast<const OnigUChar*>(text.bytes.data() + offset);
      if (onig_search(m_regex, s, s + length, s, s + length, m_region, ONIG_OPTION_NONE) >= 0) {
        ++found;
        if (matched) matched->emplace_back(offset, length);
      }
    }
    return found;
  }

 private:
  OnigRegex m_regex = nullptr;
  OnigRegion* m_region = nullptr;
};

void BM_Memmem(benchmark::State& state) {
  const Text& text = TheText();
  const std::string needle = PatternAt(0).pattern;
  int64_t found = 0;
  for (auto _ : state) {
    found = CountMemmem(text.bytes, needle);
    benchmark::DoNotOptimize(found);
  }
  state.counters["matches"] = static_cast<double>(found);
  SetBytes(state, text);
}
BENCHMARK(BM_Memmem)->Name("memmem/rare kanji literal")->Unit(benchmark::kMillisecond);

// The engine alone on every line; or, with a second argument of 1, what a search for the pattern's
// literal must cost at least: one memmem pass over the text, and the engine on the lines that match.
void BM_Engine(benchmark::State& state) {
  const Pattern& p = PatternAt(static_cast<int>(state.range(0)));
  const bool literalBaseline = state.range(1) == 1;
  EngineAlone engine(p);
  if (!engine.Compiled()) {
    state.SkipWithError("pattern refused");
    return;
  }
  const Text& text = TheText(p.prose);
  Lines matching;
  if (literalBaseline) engine.Count(text, text.lines, &matching);
  int64_t found = 0;
  for (auto _ : state) {
    if (literalBaseline) benchmark::DoNotOptimize(CountMemmem(text.bytes, p.literal));
    found = engine.Count(text, literalBaseline ? matching : text.lines);
  }
  state.counters["matches"] = static_cast<double>(found);
  SetBytes(state, text);
}

void BM_Wrapper(benchmark::State& state) {
  const Pattern& p = PatternAt(static_cast<int>(state.range(0)));
  CDllLoader::SetModuleFile("BREGEXP.DLL", VREL_REGEXP_LIBRARY);
  CRegexpDll regexp;
  if (regexp.Load() != 0 || !regexp.Compile(p.pattern.c_str(), nullptr, p.options)) {
    state.SkipWithError("library or pattern missing");
    return;
  }
  const Text& text = TheText(p.prose);
  int64_t found = 0;
  for (auto _ : state) {
    found = 0;
    for (const auto& [offset, length] : text.lines) {
      if (regexp.Match(text.bytes.data() + offset, length, 0)) ++found;
    }
  }
  state.counters["matches"] = static_cast<double>(found);
  SetBytes(state, text);
}

void Register() {
  for (int i = 0; i < kPatterns; ++i) {
    const std::string name = PatternAt(i).name;
    if (!PatternAt(i).literal.empty()) {
      benchmark::RegisterBenchmark(("memmem + engine on matching lines/" + name).c_str(), BM_Engine)
          ->Args({i, 1})
          ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark(("engine alone/" + name).c_str(), BM_Engine)
        ->Args({i, 0})
        ->Unit(benchmark::kMillisecond);
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
