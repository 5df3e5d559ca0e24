// The outline parsers over 10 MB documents: C++ (classes, namespaces, functions, comments, strings,
// #if blocks), Java and HTML, generated the same way on every run. The baseline, timed in the same
// iteration, is one byte-classifying pass (a table lookup per byte) over the same document lines
// read the same way. Reported time: the parse; counters: both, their ratio (the target is at most
// 5), and the entries found. VREL_BENCH_MB sets the size (default 10).
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/document/outline_items.h"
#include "editor/foundation/document/outline_parsers.h"
#include "platform/sjis_literal.h"

namespace {

size_t OutlineBenchBytes() {
  const char* mb = std::getenv("VREL_BENCH_MB");
  const long n = mb ? std::atol(mb) : 10;
  return static_cast<size_t>(n > 0 ? n : 10) << 20;
}

std::string MakeCpp(size_t bytes) {
  std::string text;
  text.reserve(bytes + 4096);
  for (int i = 0; text.size() < bytes; ++i) {
    const std::string n = std::to_string(i);
    text += "// Block " + n + ": a comment line with \"quotes\" and 漢字の説明\r\n"_sj;
    text += "#if 0\r\nvoid disabled" + n + "() { return; }\r\n#endif\r\n";
    text += "namespace space" + n + " {\r\n";
    text += "class Widget" + n + " : public Base {\r\n public:\r\n";
    text += "  explicit Widget" + n + "(int size, const char* name = \"w{}\");\r\n";
    text += "  int Size() const { return m_size; }\r\n";
    text += "  bool operator==(const Widget" + n + "& other) const;\r\n";
    text += "  /* a block comment { that } spans\r\n     two lines */\r\n";
    text += " private:\r\n  int m_size = 0;\r\n};\r\n";
    text += "int Widget" + n + "::Compute(int a, int b) {\r\n";
    text += "  if (a > b) {\r\n    return a - b;  // the larger first\r\n  }\r\n";
    text += "  const char* s = \"}\\\" not a brace\";\r\n  char c = '{';\r\n";
    text += "  for (int k = 0; k < a; ++k) { b += k * " + n + "; }\r\n  return b;\r\n}\r\n";
    text += "}  // namespace\r\n\r\n";
  }
  return text;
}

std::string MakeJava(size_t bytes) {
  std::string text;
  text.reserve(bytes + 4096);
  for (int i = 0; text.size() < bytes; ++i) {
    const std::string n = std::to_string(i);
    text += "/** Shop " + n + ": 商品の一覧 */\r\n"_sj;
    text += "public class Shop" + n + " extends Base implements Runnable {\r\n";
    text += "  private final java.util.List<String> items = new java.util.ArrayList<>();\r\n";
    text += "  public Shop" + n + "(int size) throws Exception {\r\n    super(size);\r\n  }\r\n";
    text += "  abstract void tick(int n);\r\n";
    text += "  public void run() {\r\n    for (String s : items) { if (s.equals(\"}\")) break; }\r\n";
    text += "    // done\r\n  }\r\n";
    text += "  static class Inner {\r\n    int value() { return " + n + "; }\r\n  }\r\n}\r\n\r\n";
  }
  return text;
}

std::string MakeHtml(size_t bytes) {
  std::string text;
  text.reserve(bytes + 4096);
  text += "<html><head><title>Bench</title></head><body>\r\n";
  for (int i = 0; text.size() < bytes; ++i) {
    const std::string n = std::to_string(i);
    text += "<div class=\"section\" id=\"s" + n + "\">\r\n";
    text += "  <h2>Section " + n + " の見出し</h2>\r\n"_sj;
    text += "  <!-- a comment with <b>tags</b> -->\r\n";
    text += "  <p>Some text with <a href=\"x.html\">a link</a> and <img src=\"p.png\"><br>more text.</p>\r\n";
    text += "  <ul><li>one</li><li>two</li></ul>\r\n</div>\r\n";
  }
  text += "</body></html>\r\n";
  return text;
}

std::unique_ptr<CEditDoc> MakeDoc(const std::string& text) {
  auto doc = std::make_unique<CEditDoc>();
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    const char* next = nl ? nl + 1 : end;
    doc->m_cDocLineMgr.AppendLine(p, static_cast<int>(next - p), nl ? CLineEnd::CRLF : CLineEnd::NONE);
    p = next;
  }
  doc->m_cLayoutMgr.RewrapAll(nullptr);
  return doc;
}

// One table lookup per byte over the document's lines, walked as the parsers walk them.
uint64_t ClassifyBytes(const CEditDoc& doc) {
  static const std::array<uint8_t, 256> kClass = [] {
    std::array<uint8_t, 256> t{};
    for (int c = 0; c < 256; ++c) {
      t[static_cast<size_t>(c)] = static_cast<uint8_t>(((c | 0x20) >= 'a' && (c | 0x20) <= 'z') ? 1 : c < 0x20 ? 2 : c >= 0x80 ? 3 : 4);
    }
    return t;
  }();
  uint64_t sum = 0;
  for (const CDocLine* line = doc.m_cDocLineMgr.GetFirstLine(); line; line = line->m_pNext) {
    int len = 0;
    const auto* s = reinterpret_cast<const unsigned char*>(line->GetText(&len));
    for (int i = 0; i < len; ++i) sum += kClass[s[i]];
  }
  return sum;
}

double Ms(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

void RunParser(benchmark::State& state, const std::string& text, void (*parser)(CEditDoc&, COutlineItemList&)) {
  const std::unique_ptr<CEditDoc> doc = MakeDoc(text);
  COutlineItemList list;
  double baselineTotal = 0;
  double parseTotal = 0;
  for (auto _ : state) {
    list.Clear();
    const auto t0 = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(ClassifyBytes(*doc));
    const auto t1 = std::chrono::steady_clock::now();
    parser(*doc, list);
    const auto t2 = std::chrono::steady_clock::now();
    baselineTotal += Ms(t0, t1);
    parseTotal += Ms(t1, t2);
    state.SetIterationTime(Ms(t1, t2) / 1000.0);
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["baseline_ms"] = baselineTotal / n;
  state.counters["parse_ms"] = parseTotal / n;
  state.counters["parse_over_baseline"] = parseTotal / baselineTotal;
  state.counters["entries"] = list.GetCount();
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

void BM_ParseOutlineCpp(benchmark::State& state) {
  static const std::string text = MakeCpp(OutlineBenchBytes());
  RunParser(state, text, ParseOutlineCpp);
}
void BM_ParseOutlineJava(benchmark::State& state) {
  static const std::string text = MakeJava(OutlineBenchBytes());
  RunParser(state, text, ParseOutlineJava);
}
void BM_ParseOutlineHtml(benchmark::State& state) {
  static const std::string text = MakeHtml(OutlineBenchBytes());
  RunParser(state, text, ParseOutlineHtml);
}
BENCHMARK(BM_ParseOutlineCpp)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ParseOutlineJava)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ParseOutlineHtml)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
