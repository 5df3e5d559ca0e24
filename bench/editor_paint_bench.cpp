// Painting a pane: an 80 x 50 pane in the default editor font with the ruler and line numbers over
// generated C source where every screen holds comments, strings, numbers, keywords, two
// regular-expression keywords, URLs, tabs, kanji, a regular-expression search hit and a selection.
//
// - BM_PaintFullPane: PaintView of the whole client area, caches warm. The baseline, timed in the
//   same iteration, fills the image and draws the same 50 rows with platform::DrawTextLine in one
//   colour: text output with nothing to decide. Goal: under 2 ms.
// - BM_PaintOneRow: PaintView of one row, what a keystroke repaints; against one row of the
//   baseline.
// - BM_ScrollOneLine: ScrollToTopLine one line down: the picture moved up a row and the uncovered
//   row painted, what a wheel notch or a held arrow key does per line.
// Reported time: the pane's; counters: both, their ratio.
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/editor_bench_pane.h"
#include "editor/foundation/settings/dll_loader.h"
#include "platform/dc_draw.h"
#include "platform/dc_text.h"
#include "platform/sjis_literal.h"
#include "platform/text_out.h"

namespace {

constexpr int kRows = EditorBenchPane::kRows;
constexpr int kLines = 6000;
constexpr int kTypeIndex = 2;  // the C/C++ type of the defaults: comments, quotes, keywords

double ElapsedMs(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

// Source lines in a cycle of ten; any 50 rows hold every kind of token the painter tells apart.
std::string SourceLine(int n) {
  char line[256];
  switch (n % 10) {
    case 0:
      std::snprintf(line, sizeof line, "int count%d = %d; // \x8C\x8F\x90\x94 of items\r\n", n, n * 7);
      break;
    case 1:
      std::snprintf(line, sizeof line, "\tconst char* url = \"%d\"; // http://example.jp/\r\n", n);
      break;
    case 2:
      std::snprintf(line, sizeof line, "\treturn lookup(0x%X, 'c', MAX_SIZE) + TODO; /* x */\r\n", n);
      break;
    case 3:
      std::snprintf(line, sizeof line, "\t\tif (value > %d.5) { mail(me@example.jp, http://example.jp/); }\r\n", n);
      break;
    case 4:
      std::snprintf(line, sizeof line, "/* \x93\xFA\x96\x7B\x8C\xEA\x82\xCC comment %d\r\n", n);
      break;
    case 5:
      std::snprintf(line, sizeof line, "   continues here */ for (int i = 0; i < %d; ++i) {\r\n", n);
      break;
    case 6:
      std::snprintf(line, sizeof line, "\t\tsum += table[i] * %d; \x81\x40@param FIXME // x\r\n", n);
      break;
    case 7:
      std::snprintf(line, sizeof line, "\t}\r\n");
      break;
    case 8:
      std::snprintf(line, sizeof line, "static void f%d(void) { while (1) { break; } }\r\n", n);
      break;
    default:
      std::snprintf(line, sizeof line, "\r\n");
      break;
  }
  return line;
}

// One pane over the document, set up once.
struct Pane {
  Pane() {
    CDllLoader::SetModuleFile("BREGEXP.DLL", VREL_REGEXP_LIBRARY);
    TypeSettings& type = bench.Type();
    type.nWrapColumn = 120;
    type.bUseRegexKeyword = 1;
    std::snprintf(type.RegexKeywords[0].szPattern, sizeof type.RegexKeywords[0].szPattern, "%s",
                  "/\\b(TODO|FIXME)\\b/k");
    type.RegexKeywords[0].nColorCode = 29;
    std::snprintf(type.RegexKeywords[1].szPattern, sizeof type.RegexKeywords[1].szPattern, "%s", "/@[a-z]+/k");
    type.RegexKeywords[1].nColorCode = 30;
    for (int code : {1, 3, 5, 9, 10, 12, 13, 14, 25, 26, 27, 28, 29, 30}) type.Colors[code].bShow = 1;
    for (int n = 0; n < kLines; ++n) bench.AppendLine(SourceLine(n));
    bench.Show();
    view = bench.view.get();
    view->SetSearchHighlight("count[0-9]+", true, true, false);
    view->m_sSelectBgn = view->m_sSelect = SelectRange{3, 4, 6, 20};
    view->m_bDrawSelectArea = true;
  }
  bool Ready() const { return bench.Ready() && view->m_bCurSrchKeyMark; }
  RECT Client() const { return bench.Client(); }
  RECT Row(int row) const {
    const int y = view->m_nViewAlignTop + row * view->LineHeight();
    return RECT{0, y, view->m_nViewAlignLeft + view->m_nViewCx, y + view->LineHeight()};
  }

  // The baseline: the rows' bytes drawn as one line each in one colour over a filled image.
  void DrawBaseline(int firstRow, int rows) {
    HDC dc = view->GetViewDC();
    const platform::Bitmap* image = dc->GetBitmap();
    const platform::PixelBuffer target{reinterpret_cast<uint32_t*>(image->Row(0)), image->Width(), image->Height(),
                                       image->Pitch()};
    const platform::Font& font = *view->GetFontFor(false, false);
    const RECT area{view->m_nViewAlignLeft, view->m_nViewAlignTop, view->m_nViewAlignLeft + view->m_nViewCx,
                    view->m_nViewAlignTop + view->m_nViewCy};
    const RECT fill = rows == kRows ? Client() : Row(firstRow);
    platform::Brush brush(0xFFFBF0);
    platform::FillRect(dc, &fill, &brush);
    const platform::TextColors colours{0x000000, 0xFFFBF0, false};
    for (int row = firstRow; row < firstRow + rows; ++row) {
      int length = 0;
      const char* text = view->Layout().GetLineText(view->m_nViewTopLine + row, &length);
      while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n')) --length;
      platform::DrawTextLine(target, &area, font, view->m_nViewAlignLeft,
                             view->m_nViewAlignTop + row * view->LineHeight(),
                             std::string_view(text ? text : "", static_cast<size_t>(length)), colours);
    }
  }

  EditorBenchPane bench{"CEditView-bench", kTypeIndex};
  CEditView* view = nullptr;
};

Pane& ThePane() {
  static Pane* pane = new Pane;
  return *pane;
}

// Times the pane's paint against the baseline in each iteration.
template <typename PaintFn, typename BaselineFn>
void Measure(benchmark::State& state, PaintFn paint, BaselineFn baseline) {
  Pane& pane = ThePane();
  if (!pane.Ready()) {
    state.SkipWithError("the pane could not be set up (font, size or regular expressions)");
    return;
  }
  paint();  // caches warm
  double paintTotal = 0;
  double baselineTotal = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    baseline();
    const auto t1 = std::chrono::steady_clock::now();
    paint();
    const auto t2 = std::chrono::steady_clock::now();
    baselineTotal += ElapsedMs(t0, t1);
    paintTotal += ElapsedMs(t1, t2);
    state.SetIterationTime(ElapsedMs(t1, t2) / 1000.0);
  }
  const double n = static_cast<double>(state.iterations());
  if (n == 0 || baselineTotal <= 0) return;
  state.counters["baseline_ms"] = baselineTotal / n;
  state.counters["paint_ms"] = paintTotal / n;
  state.counters["paint_over_baseline"] = paintTotal / baselineTotal;
}

void BM_PaintFullPane(benchmark::State& state) {
  Pane& pane = ThePane();
  pane.view->m_nViewTopLine = 0;
  const RECT client = pane.Client();
  Measure(
      state, [&] { pane.view->PaintView(pane.view->GetViewDC(), &client); }, [&] { pane.DrawBaseline(0, kRows); });
}
BENCHMARK(BM_PaintFullPane)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_PaintOneRow(benchmark::State& state) {
  Pane& pane = ThePane();
  pane.view->m_nViewTopLine = 0;
  const RECT row = pane.Row(10);
  Measure(
      state, [&] { pane.view->PaintView(pane.view->GetViewDC(), &row); }, [&] { pane.DrawBaseline(10, 1); });
}
BENCHMARK(BM_PaintOneRow)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_ScrollOneLine(benchmark::State& state) {
  Pane& pane = ThePane();
  CEditView& view = *pane.view;
  view.m_nViewTopLine = 0;
  const RECT client = pane.Client();
  view.PaintView(view.GetViewDC(), &client);
  const int last = view.Layout().GetLineCount() - kRows - 1;
  Measure(
      state,
      [&] {
        // At the end of the text the next scroll starts from the top again (the picture is then
        // stale for one step, which changes nothing timed).
        if (view.m_nViewTopLine >= last) view.m_nViewTopLine = 0;
        view.ScrollToTopLine(view.m_nViewTopLine + 1);
      },
      [&] { pane.DrawBaseline(kRows - 1, 1); });
}
BENCHMARK(BM_ScrollOneLine)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
