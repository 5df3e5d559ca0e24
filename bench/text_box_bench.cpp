// One frame of the text boxes with the system's fonts: the message box at the demo's geometry
// (width 720, size 22, shadow) with a full page of about 130 glyphs revealed, and a name in box 1,
// copied glyph by glyph onto an 800 x 600 back buffer. Baseline: one BltAlpha of the message box's
// whole canvas. Also: setting an unchanged name, as the message window does every frame, and
// laying out a new page.
#include <benchmark/benchmark.h>
#include <string>

#include "game/app/config.h"
#include "game/text/text_box.h"
#include "platform/sjis_literal.h"
#include "sdk/graphics/mem_plane.h"

namespace {

const char* const kPage =
    "夏の終わりに、僕たちは古い駅舎で待ち合わせをした。錆びた時計の針は、もう何年も前から三時十七分を"
    "指したままだ。彼女はそう言って、少しだけ笑った。窓の外では蝉が鳴いている。遠くの山並みが夕日に"
    "染まり、線路の向こうへ影が長く伸びていく。「ねえ、覚えてる？」"_sj;

struct Scene {
  Scene() {
    Config.screenWidth = 800;
    InitTextBoxes();
    CreateTextBox(0, 22, RGB(255, 255, 255), RGB(0, 0, 0), 4);
    SetTextBoxPos(0, 40, 440, 720, 140);
    SetTextBoxText(0, kPage);
    ShowTextBoxAll(0);
    CreateTextBox(1, 22, RGB(255, 255, 200), RGB(0, 0, 0), 0);
    SetTextBoxPos(1, 40, 400, 720, 30);
    SetTextBoxText(1, "【美咲】"_sj);
    back.Create(800, 600, 0);
  }
  ~Scene() { ReleaseTextBoxes(); }
  CMemPlane back;
};

void BM_DrawTextBoxes(benchmark::State& state) {
  Scene scene;
  const TextBoxFrame frame{50, 60, false, false};
  for (auto _ : state) benchmark::DoNotOptimize(DrawTextBoxesOnto(scene.back, frame));
  state.counters["glyphs"] = static_cast<double>(TextBoxes[0].renderer->Glyphs().size());
}
BENCHMARK(BM_DrawTextBoxes)->Unit(benchmark::kMicrosecond);

void BM_BaselineWholeCanvasBltAlpha(benchmark::State& state) {
  Scene scene;
  CMemPlane& canvas = TextBoxes[0].renderer->Canvas();
  for (auto _ : state) benchmark::DoNotOptimize(scene.back.BltAlpha(&canvas, 40, 440, nullptr, nullptr, nullptr));
}
BENCHMARK(BM_BaselineWholeCanvasBltAlpha)->Unit(benchmark::kMicrosecond);

void BM_SetUnchangedName(benchmark::State& state) {
  Scene scene;
  for (auto _ : state) SetTextBoxText(1, "【美咲】"_sj);
}
BENCHMARK(BM_SetUnchangedName)->Unit(benchmark::kMicrosecond);

void BM_SetNewPage(benchmark::State& state) {
  Scene scene;
  const std::string pages[2] = {kPage, std::string(kPage) + "。"_sj};
  size_t i = 0;
  for (auto _ : state) SetTextBoxText(0, pages[i++ & 1]);
}
BENCHMARK(BM_SetNewPage)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
