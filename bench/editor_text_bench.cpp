// The editor's text: character-code conversions of 100 MB against glibc iconv between the same
// codes on the same text, code detection of 32 KB blocks beside one memchr pass, and document-line
// access beside walking the list's links. VREL_BENCH_MB sets the conversion size (default 100).
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <random>
#include <string>
#include <vector>

#include "bench/editor_bench_text.h"
#include "editor/foundation/text/char_codes.h"
#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/memory.h"

namespace {

// Lines of kanji, hiragana, katakana, half-width katakana and ASCII, ending in CR LF.
std::string MakeSjis(size_t bytes) {
  std::mt19937 rng(932);
  std::string text;
  text.reserve(bytes + 256);
  while (text.size() < bytes) {
    const int chars = 20 + static_cast<int>(rng() % 60);
    for (int i = 0; i < chars; ++i) {
      const unsigned kind = rng() % 10;
      if (kind < 4) {  // kanji of the first level: lead 0x88 (from trail 0x9F) to 0x98
        const unsigned lead = 0x89 + rng() % 15;
        unsigned trail = 0x40 + rng() % 188;
        if (trail >= 0x7F) ++trail;
        text += static_cast<char>(lead);
        text += static_cast<char>(trail);
      } else if (kind < 6) {  // hiragana
        text += '\x82';
        text += static_cast<char>(0x9F + rng() % 83);
      } else if (kind < 7) {  // katakana
        unsigned trail = 0x40 + rng() % 86;
        if (trail >= 0x7F) ++trail;
        text += '\x83';
        text += static_cast<char>(trail);
      } else if (kind < 8) {  // half-width katakana
        text += static_cast<char>(0xA6 + rng() % 58);
      } else {
        text += static_cast<char>('a' + rng() % 26);
      }
    }
    text += "\r\n";
  }
  return text;
}

const std::string& Sjis() {
  static const std::string text = MakeSjis(EditorBenchTextBytes());
  return text;
}

using Step = int (*)(CMemory&);

// The text in another code, made once by the editor's own conversion.
const std::string& Encoded(Step toCode) {
  static std::vector<std::pair<Step, std::string>> cache;
  for (const auto& [convert, text] : cache) {
    if (convert == toCode) return text;
  }
  CMemory m(Sjis().data(), static_cast<int>(Sjis().size()));
  toCode(m);
  cache.emplace_back(toCode, std::string(m.View()));
  return cache.back().second;
}

// Both sides convert without a fresh block, as a file is read or written through one working
// buffer: ours as RunInGrownBuffer does, iconv into one output block made and touched before its
// loop.
void RunOurs(benchmark::State& state, const std::string& input, Step convert) { RunInGrownBuffer(state, input, convert); }

void RunIconv(benchmark::State& state, const std::string& input, const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    state.SkipWithError("iconv cannot convert between these codes");
    return;
  }
  std::vector<char> out(input.size() * 4 + 64);
  for (auto _ : state) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* ip = const_cast<char*>(input.data());
    size_t il = input.size();
    char* op = out.data();
    size_t ol = out.size();
    if (iconv(cd, &ip, &il, &op, &ol) == static_cast<size_t>(-1)) {
      state.SkipWithError("iconv stopped on the text");
      break;
    }
    iconv(cd, nullptr, nullptr, &op, &ol);
    benchmark::DoNotOptimize(out.data());
  }
  iconv_close(cd);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(input.size()));
}

struct Pair {
  const char* name;
  const char* iconvName;
  Step from;  // Shift-JIS to the code
  Step to;    // the code to Shift-JIS
};

const Pair kPairs[] = {
    {"UTF8", "UTF-8", [](CMemory& m) { return m.SJIStoUTF8(); }, [](CMemory& m) { return m.UTF8toSJIS(); }},
    {"UTF16LE", "UTF-16LE", [](CMemory& m) { return m.SJIStoUNICODE(); }, [](CMemory& m) { return m.UNICODEtoSJIS(); }},
    {"EUC", "EUC-JP-MS", [](CMemory& m) { return m.SJIStoEUC(); }, [](CMemory& m) { return m.EUCtoSJIS(); }},
    {"JIS", "ISO-2022-JP-3", [](CMemory& m) { return m.SJIStoJIS(); }, [](CMemory& m) { return m.JIStoSJIS(false); }},
};

void RegisterConversions() {
  for (const Pair& p : kPairs) {
    benchmark::RegisterBenchmark((std::string("Sjis_to_") + p.name + "/ours").c_str(),
                                 [p](benchmark::State& s) { RunOurs(s, Sjis(), p.from); })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark((std::string("Sjis_to_") + p.name + "/iconv").c_str(),
                                 [p](benchmark::State& s) { RunIconv(s, Sjis(), p.iconvName, "CP932"); })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark((std::string(p.name) + "_to_Sjis/ours").c_str(),
                                 [p](benchmark::State& s) { RunOurs(s, Encoded(p.from), p.to); })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark((std::string(p.name) + "_to_Sjis/iconv").c_str(),
                                 [p](benchmark::State& s) { RunIconv(s, Encoded(p.from), "CP932", p.iconvName); })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
  }
}

// Code detection of one 32 KB block of each code, beside one memchr pass over the same block.
void RegisterDetection() {
  constexpr size_t kBlock = 32768;
  using Convert = int (CMemory::*)();
  const std::pair<const char*, Convert> codes[] = {
      {"SJIS", nullptr},
      {"EUC", &CMemory::SJIStoEUC},
      {"JIS", &CMemory::SJIStoJIS},
      {"UTF8", &CMemory::SJIStoUTF8},
      {"UTF7", &CMemory::SJIStoUTF7},
      {"UTF16LE", &CMemory::SJIStoUNICODE},
  };
  for (const auto& code : codes) {
    const Convert convert = code.second;
    benchmark::RegisterBenchmark((std::string("DetectCode/") + code.first).c_str(), [convert](benchmark::State& s) {
      CMemory m(Sjis().data(), static_cast<int>(kBlock));
      if (convert) (m.*convert)();
      const std::string block(m.View().substr(0, kBlock));
      for (auto _ : s) benchmark::DoNotOptimize(CMemory::DetectCode(block.data(), static_cast<int>(block.size())));
      s.SetBytesProcessed(static_cast<int64_t>(s.iterations()) * static_cast<int64_t>(block.size()));
    })->Unit(benchmark::kMicrosecond);
  }
  benchmark::RegisterBenchmark("DetectCode/memchr_baseline", [](benchmark::State& s) {
    const std::string block = Sjis().substr(0, kBlock);
    for (auto _ : s) benchmark::DoNotOptimize(std::memchr(block.data(), 0, block.size()));
    s.SetBytesProcessed(static_cast<int64_t>(s.iterations()) * static_cast<int64_t>(block.size()));
  })->Unit(benchmark::kMicrosecond);
}

constexpr int kLines = 1'000'000;

CDocLineMgr& Document() {
  static CDocLineMgr* doc = [] {
    auto* d = new CDocLineMgr;
    for (int i = 0; i < kLines; ++i) d->AppendLine("line of text\r\n", 14, 1);
    return d;
  }();
  return *doc;
}

void BM_AppendLine(benchmark::State& state) {
  for (auto _ : state) {
    CDocLineMgr doc;
    for (int i = 0; i < kLines; ++i) doc.AppendLine("line of text\r\n", 14, 1);
    benchmark::DoNotOptimize(doc.GetLineCount());
  }
  state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_AppendLine)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_GetLineInOrder(benchmark::State& state) {
  CDocLineMgr& doc = Document();
  for (auto _ : state) {
    int64_t total = 0;
    for (int i = 0; i < kLines; ++i) total += doc.GetLine(i)->m_cLineEnd.GetCode();
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_GetLineInOrder)->Unit(benchmark::kMillisecond);

void BM_WalkLinksBaseline(benchmark::State& state) {
  CDocLineMgr& doc = Document();
  for (auto _ : state) {
    int64_t total = 0;
    for (CDocLine* line = doc.GetFirstLine(); line; line = line->m_pNext) total += line->m_cLineEnd.GetCode();
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_WalkLinksBaseline)->Unit(benchmark::kMillisecond);

void BM_GetLine50FromRandomStart(benchmark::State& state) {
  CDocLineMgr& doc = Document();
  std::mt19937 rng(50);
  for (auto _ : state) {
    const int start = static_cast<int>(rng() % (kLines - 50));
    int64_t total = 0;
    for (int i = start; i < start + 50; ++i) total += doc.GetLine(i)->m_cLineEnd.GetCode();
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * 50);
}
BENCHMARK(BM_GetLine50FromRandomStart)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  RegisterConversions();
  RegisterDetection();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
