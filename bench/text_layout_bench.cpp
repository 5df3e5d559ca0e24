// Laying out and drawing a page of tag-marked Japanese text (about 400 characters of kanji, kana
// and punctuation with font, colour and line tags) at size 24 into a memory-surface canvas, with
// the system's fonts. Reported per page; items are characters, so the rate is characters per
// second. Baselines: making the page's canvas, and copying a canvas-sized block of pixels.
#include <benchmark/benchmark.h>
#include <cstring>
#include <string>
#include <vector>

#include "platform/sjis_literal.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/text_draw.h"
#include "sdk/graphics/text_plane_cache.h"

namespace {

class CanvasDraw : public CTextDraw {
 public:
  CDrawTarget* GetSurface() override { return &canvas; }
  void CreateSurface(int32_t width, int32_t height) override {
    canvas.Create(width, height, 0);
    *canvas.GetImpl()->GetHasAlphaPtr() = true;
  }
  CMemPlane canvas;
};

// Thirteen sentences of about thirty characters, with tags: about four hundred characters.
const char* const kSentences[] = {
    "<FONT color=\"#FFC080\">「夏の終わりに、</FONT>僕たちは古い駅舎で待ち合わせをした。"_sj,
    "錆びた時計の針は、もう何年も前から三時十七分を指したままだ」<BR>"_sj,
    "彼女はそう言って、<B>少しだけ</B>笑った。窓の外では蝉が鳴いている。"_sj,
    "<FONT size=\"1\">遠く</FONT>の山並みが夕日に染まり、線路の向こうへ影が長く伸びていく。"_sj,
    "「ねえ、覚えてる？　あの日、ここで約束したこと」<BR>僕は黙って頷いた。"_sj,
    "言葉にすれば壊れてしまいそうで、ただ彼女の横顔を見つめることしかできない。"_sj,
    "風が吹いて、ホームの端に積もった枯れ葉がかさかさと音を立てて転がった。"_sj,
    "やがて遠くから汽笛が聞こえ、<FONT color=\"#80C0FF\">最後の列車</FONT>が近づいてくる。"_sj,
    "<BR>「行かなくちゃ」と彼女は呟き、小さな鞄を胸に抱えてゆっくりと立ち上がった。"_sj,
    "僕は何か言おうとして、けれど喉の奥で言葉が絡まり、結局ひとつも出てこなかった。"_sj,
    "列車の扉が開く。<I>ぷしゅう</I>という間の抜けた音が、静かな駅に響き渡る。"_sj,
    "彼女は一度だけ振り返り、「またね」と手を振った。その笑顔を、僕は忘れない。"_sj,
    "扉が閉まり、列車が動き出す。赤い尾灯が小さくなって、やがて夜の闇に溶けていった。"_sj,
};

std::string Page() {
  std::string page;
  for (const char* s : kSentences) page += s;
  return page + "<HR>";
}

int CountCharacters(const std::string& text) {
  CanvasDraw probe;
  probe.settings.SetText(text.c_str());
  probe.settings.SetFontSize(24);
  probe.Layout(false);
  return static_cast<int>(probe.Glyphs().size());
}

void Configure(CanvasDraw& renderer, const std::string& text) {
  renderer.SetNoLineStartChars("、。，．）〕］｝〉》」』】’”ゝゞヽヾ々？！：；ぁぃぅぇぉゃゅょゎァィゥェォャュョヮ"_sj);
  renderer.settings.SetFontSize(24);
  renderer.settings.width = 760;
  renderer.settings.shadowColor = 0x202020;
  renderer.settings.SetText(text.c_str());
}

// A page whose characters have been drawn before in the same styles: the usual case once a
// game has shown its first pages.
void BM_LayoutAndDrawPage(benchmark::State& state) {
  const std::string text = Page();
  CanvasDraw renderer;
  Configure(renderer, text);
  renderer.Layout(true);
  for (auto _ : state) benchmark::DoNotOptimize(renderer.Layout(true));
  state.SetItemsProcessed(state.iterations() * CountCharacters(text));
}
BENCHMARK(BM_LayoutAndDrawPage)->Unit(benchmark::kMicrosecond);

// A page of characters never drawn before (the glyph shapes themselves come from the font's
// cache, as after the first page).
void BM_LayoutAndDrawNewPage(benchmark::State& state) {
  const std::string text = Page();
  CanvasDraw renderer;
  Configure(renderer, text);
  renderer.Layout(true);
  for (auto _ : state) {
    state.PauseTiming();
    TextPlaneCache::Instance().Clear();
    state.ResumeTiming();
    benchmark::DoNotOptimize(renderer.Layout(true));
  }
  state.SetItemsProcessed(state.iterations() * CountCharacters(text));
}
BENCHMARK(BM_LayoutAndDrawNewPage)->Unit(benchmark::kMicrosecond);

void BM_LayoutOnlyPage(benchmark::State& state) {
  const std::string text = Page();
  CanvasDraw renderer;
  Configure(renderer, text);
  renderer.Layout(false);
  for (auto _ : state) benchmark::DoNotOptimize(renderer.Layout(false));
  state.SetItemsProcessed(state.iterations() * CountCharacters(text));
}
BENCHMARK(BM_LayoutOnlyPage)->Unit(benchmark::kMicrosecond);

// Baseline: what the page's canvas alone costs, made afresh as every layout makes it.
void BM_CreateCanvasBaseline(benchmark::State& state) {
  const std::string text = Page();
  CanvasDraw renderer;
  Configure(renderer, text);
  renderer.Layout(true);
  int w = 0, h = 0;
  renderer.canvas.GetSize(&w, &h);
  for (auto _ : state) {
    renderer.CreateSurface(w, h);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CreateCanvasBaseline)->Unit(benchmark::kMicrosecond);

// Baseline: one copy of a block the size of the page's canvas (760 × 505 pixels).
void BM_CopyCanvasBaseline(benchmark::State& state) {
  std::vector<uint32_t> from(760 * 505, 0x12345678), to(760 * 505);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size() * sizeof(uint32_t));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CopyCanvasBaseline)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
