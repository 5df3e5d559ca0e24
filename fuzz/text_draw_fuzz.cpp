// A tag-marked text laid out and drawn by the text renderer with the stand-in box font (fast and
// the same on every machine), with custom glyph images, replacement strings and a condition for
// its conditional sections; then laid out vertically.
#include <cstdint>
#include <string>
#include <vector>

#include "box_font_engine.h"
#include "fuzz_support.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/text_draw.h"

namespace {

class CanvasDraw : public CTextDraw {
 public:
  CDrawTarget* GetSurface() override { return &canvas; }
  void CreateSurface(int32_t width, int32_t height) override { canvas.Create(width, height, 0); }
  CMemPlane canvas;
};

class OddCondition : public CTextDrawCondition {
 public:
  bool Evaluate(int32_t n) override { return (n & 1) != 0; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Environment();
  static BoxFontScope boxes;
  static CMemPlane glyphImages;
  if (!glyphImages.IsLoaded()) glyphImages.Create(32, 16, 0);
  static GaijiList gaiji{{{&glyphImages, {0, 0, 16, 16}, 0, 0, false}, {&glyphImages, {16, 0, 32, 16}, 1, -2, true}}};

  const std::string text(fuzz::Text(data, size));
  for (bool vertical : {false, true}) {
    CanvasDraw renderer;
    renderer.settings.SetFontSize(10);
    renderer.settings.width = 200;
    renderer.settings.SetText(text.c_str());
    renderer.vertical = vertical;
    renderer.SetNoLineStartChars("\x81\x41\x81\x42)");
    renderer.gaijiList = CRingPtr<GaijiList>(&gaiji, false);
    renderer.replaceStrings = CStringVectorPtr(new std::vector<std::string>{"XY", "", "<B>z</B>", "\x82"});
    renderer.condition = CRingPtr<CTextDrawCondition>(new OddCondition);
    renderer.Layout(!vertical);
  }
  return 0;
}
