// Text boxes: layout once, reveal by progress, copy revealed glyphs onto the back buffer.
#include "game/text/text_box.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "box_font_engine.h"
#include "game/app/config.h"
#include "platform/sjis_literal.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/mem_plane_impl.h"
#include "sdk/graphics/text_font.h"

namespace {

constexpr uint32_t kBackground = 0xFF102030;

// A clean set of boxes with the stand-in font, a 200-pixel screen width and a back buffer.
class TextBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedWidth = Config.screenWidth;
    Config.screenWidth = 200;
    InitTextBoxes();
    back.Create(320, 240, 0);
    Fill(kBackground);
  }
  void TearDown() override {
    ReleaseTextBoxes();
    Config.screenWidth = savedWidth;
  }
  void Fill(uint32_t colour) {
    CMemPlaneImpl& impl = *back.GetImpl();
    std::fill(impl.GetPixels(), impl.GetPixels() + 320 * 240, colour);
  }
  std::vector<uint32_t> Pixels(CMemPlane& plane) {
    int w = 0, h = 0;
    plane.GetSize(&w, &h);
    const uint32_t* p = plane.GetImpl()->GetPixels();
    return std::vector<uint32_t>(p, p + static_cast<size_t>(w) * h);
  }
  // Box 0 at (10, 20) with size 10 and a shadow.
  void MakeMessageBox(std::string_view text) {
    ASSERT_TRUE(CreateTextBox(0, 10, RGB(255, 255, 255), RGB(0, 0, 0), 2));
    SetTextBoxPos(0, 10, 20, 200, 100);
    SetTextBoxText(0, text);
  }
  int32_t Step(const TextBoxFrame& frame, int frames = 1) {
    for (int i = 0; i < frames; ++i) DrawTextBoxesOnto(back, frame);
    return TextBoxes[0].progress;
  }

  BoxFontScope font;
  CMemPlane back;
  int32_t savedWidth = 0;
};

TEST_F(TextBoxTest, RevealStepsScaleWithTheFrameRate) {
  struct Case {
    const char* name;
    int32_t speed, fps, frames, progress;
  } const cases[] = {
      {"speed 50 at 60 fps: 5 a frame", 50, 60, 4, 20},
      {"speed 50 at 30 fps: 10 a frame", 50, 30, 2, 20},
      {"speed 8 at 60 fps: 0.8 a frame, carried", 8, 60, 13, 10},
      {"speed 8 at 60 fps, one frame short", 8, 60, 12, 9},
      {"speed 8 at 30 fps takes half the frames", 8, 30, 7, 11},
      {"speed 96 shows everything", 96, 60, 1, kTextBoxShowAll},
      {"speed 0 reveals nothing", 0, 60, 50, 0},
      {"negative speed reveals nothing", -5, 60, 50, 0},
  };
  for (const Case& c : cases) {
    MakeMessageBox("ABCDEFGHIJ"_sj);
    EXPECT_EQ(Step({c.speed, c.fps, false, false}, c.frames), c.progress) << c.name;
  }
}

TEST_F(TextBoxTest, Speed8ShowsTheSecondGlyphInFrame13) {
  MakeMessageBox("AB");
  const RECT second = TextBoxes[0].renderer->Glyphs()[1];
  const auto secondInked = [&] {
    const uint32_t* p = back.GetImpl()->GetPixels();
    for (int y = second.top; y < second.bottom; ++y)
      for (int x = second.left; x < second.right; ++x)
        if (p[(20 + y) * 320 + 10 + x] != kBackground) return true;
    return false;
  };
  for (int frame = 1; frame <= 13; ++frame) {
    Fill(kBackground);
    Step({8, 60, false, false});
    EXPECT_EQ(secondInked(), frame == 13) << "frame " << frame;
  }
}

TEST_F(TextBoxTest, DoneAfterTheLastGlyphIsReached) {
  MakeMessageBox("A");
  EXPECT_FALSE(IsTextBoxDone(0));
  Step({50, 60, false, false});
  EXPECT_TRUE(IsTextBoxDone(0));
  MakeMessageBox("ABC");
  Step({50, 60, false, false}, 4);  // 20: glyph 2 shows at 20 but done needs more than 20
  EXPECT_FALSE(IsTextBoxDone(0));
  Step({50, 60, false, false});
  EXPECT_TRUE(IsTextBoxDone(0));
}

TEST_F(TextBoxTest, WhichBoxesAreDrawn) {
  // Box i stands in its own band of 20 rows; its first glyph shows at progress 0.
  for (int i = 0; i < kTextBoxCount; ++i) {
    ASSERT_TRUE(CreateTextBox(i, 10, RGB(255, 255, 255), CTextFont::kNone, 2));
    SetTextBoxPos(i, 0, 20 * i, 200, 20);
    SetTextBoxText(i, "AB");
  }
  const auto inked = [&](int band) {
    const uint32_t* p = back.GetImpl()->GetPixels();
    for (int y = 20 * band; y < 20 * band + 20; ++y)
      for (int x = 0; x < 320; ++x)
        if (p[y * 320 + x] != kBackground) return true;
    return false;
  };
  struct Case {
    const char* name;
    bool backlog, systemScreen;
    int firstDrawn;
  } const cases[] = {
      {"normal", false, false, 0},
      {"backlog open", true, false, 2},
      {"system screen open", false, true, 3},
      {"both", true, true, 3},
  };
  for (const Case& c : cases) {
    Fill(kBackground);
    for (int i = 0; i < kTextBoxCount; ++i) SetTextBoxProgress(i, 0);
    DrawTextBoxesOnto(back, {0, 60, c.backlog, c.systemScreen});
    for (int i = 0; i < kTextBoxCount; ++i) {
      EXPECT_EQ(inked(i), i >= c.firstDrawn) << c.name << " box " << i;
      // Boxes 1 and 2 always show whole once drawn; the others keep their progress at speed 0.
      const int32_t expected = i >= c.firstDrawn && (i == 1 || i == 2) ? kTextBoxShowAll : 0;
      EXPECT_EQ(TextBoxes[static_cast<size_t>(i)].progress, expected) << c.name << " box " << i;
    }
  }
}

// Revealed glyphs are the canvas's rectangles copied with BltAlpha, or blended at the box's opacity;
// unrevealed ones leave the back buffer as it was.
TEST_F(TextBoxTest, RevealedGlyphsAreCopiedFromTheCanvas) {
  for (int32_t opacity : {255, 192}) {
    Fill(kBackground);
    MakeMessageBox("AあB"_sj);
    SetTextBoxAlpha(0, opacity);
    SetTextBoxProgress(0, 10);  // glyphs 0 and 1
    DrawTextBoxesOnto(back, {0, 60, false, false});

    CMemPlane expected;
    expected.Create(320, 240, 0);
    std::fill(expected.GetImpl()->GetPixels(), expected.GetImpl()->GetPixels() + 320 * 240, kBackground);
    CMemPlane& canvas = TextBoxes[0].renderer->Canvas();
    const std::vector<RECT>& glyphs = TextBoxes[0].renderer->Glyphs();
    ASSERT_EQ(glyphs.size(), 3u);
    for (size_t g = 0; g < 2; ++g) {
      RECT r = glyphs[g];
      if (opacity == 255)
        expected.BltAlpha(&canvas, 10 + r.left, 20 + r.top, &r, nullptr, nullptr);
      else
        expected.BlendBltNatural(&canvas, 10 + r.left, 20 + r.top, opacity, &r, nullptr, nullptr);
    }
    EXPECT_EQ(Pixels(back), Pixels(expected)) << "opacity " << opacity;
    // The third glyph's place is untouched.
    const RECT& third = glyphs[2];
    for (int y = third.top; y < third.bottom; ++y)
      for (int x = third.left; x < third.right; ++x)
        ASSERT_EQ(back.GetImpl()->GetPixels()[(20 + y) * 320 + 10 + x], kBackground);
  }
}

TEST_F(TextBoxTest, EndPosition) {
  // Size 10: a single-byte glyph advances 5, a double-byte one 10, and glyphs are spaced by their
  // width (the renderer's default character spacing).
  MakeMessageBox("AB");
  const RECT last = TextBoxes[0].renderer->Glyphs().back();
  EXPECT_EQ(TextBoxes[0].endX, 10 + last.left + 10);
  EXPECT_EQ(TextBoxes[0].endY, 20 + last.top);

  MakeMessageBox("");
  EXPECT_EQ(TextBoxes[0].endX, 10);
  EXPECT_EQ(TextBoxes[0].endY, 20);

  // A line filled to the width: the prompt goes to the start of the next line.
  ASSERT_TRUE(CreateTextBox(0, 10, RGB(255, 255, 255), CTextFont::kNone, 2));
  SetTextBoxPos(0, 10, 20, 39, 100);
  SetTextBoxText(0, "あああ"_sj);
  const std::vector<RECT>& glyphs = TextBoxes[0].renderer->Glyphs();
  ASSERT_EQ(glyphs.size(), 3u);
  ASSERT_EQ(glyphs.back().top, 0) << "the three glyphs fit one line";
  ASSERT_EQ(glyphs.back().right, 39) << "and fill it";
  EXPECT_EQ(TextBoxes[0].endX, 10);
  EXPECT_EQ(TextBoxes[0].endY, 20 + 10);
}

TEST_F(TextBoxTest, SameTextKeepsItsLayoutButRestartsTheReveal) {
  MakeMessageBox("AB");
  const CMemPlaneImpl* canvasBefore = TextBoxes[0].renderer->Canvas().GetImpl();
  const uint32_t* pixelsBefore = canvasBefore->GetPixels();
  SetTextBoxProgress(0, 50);
  SetTextBoxAlpha(0, 10);
  SetTextBoxPos(0, 30, 40, 200, 0);
  SetTextBoxText(0, "AB");
  EXPECT_EQ(TextBoxes[0].renderer->Canvas().GetImpl()->GetPixels(), pixelsBefore);
  EXPECT_EQ(TextBoxes[0].progress, 0);
  EXPECT_EQ(TextBoxes[0].opacity, 255);
  EXPECT_TRUE(TextBoxes[0].visible);
  EXPECT_EQ(TextBoxes[0].endY, 40);
  // A new width lays the text out again.
  SetTextBoxPos(0, 30, 40, 7, 0);
  SetTextBoxText(0, "AB");
  EXPECT_EQ(TextBoxes[0].renderer->Glyphs()[1].top, TextBoxes[0].renderer->Glyphs()[0].bottom + 2 - 0)
      << "the second glyph moved to a new line";
}

TEST_F(TextBoxTest, IndicesOutsideTheBoxesAreIgnored) {
  for (TextBox& box : TextBoxes) box.x = box.y = box.progress = 0, box.opacity = 255;
  for (int index : {-1, 10, 11}) {
    EXPECT_FALSE(CreateTextBox(index, 10, 0, 0, 2));
    SetTextBoxText(index, "AB");
    SetTextBoxPos(index, 1, 2, 3, 4);
    SetTextBoxProgress(index, 5);
    SetTextBoxAlpha(index, 6);
    ShowTextBoxAll(index);
    HideTextBox(index);
    DeleteTextBox(index);
    EXPECT_TRUE(IsTextBoxDone(index));
  }
  for (const TextBox& box : TextBoxes) {
    EXPECT_EQ(box.renderer, nullptr);
    EXPECT_EQ(box.x, 0);
    EXPECT_EQ(box.progress, 0);
    EXPECT_EQ(box.opacity, 255);
  }
}

TEST_F(TextBoxTest, OperationsOnABoxWithoutRendererDoNothing) {
  SetTextBoxText(4, "AB");
  EXPECT_FALSE(TextBoxes[4].visible);
  EXPECT_TRUE(IsTextBoxDone(4));
  EXPECT_FALSE(DrawTextBoxesOnto(back, {50, 60, false, false}));
}

TEST_F(TextBoxTest, HostileTexts) {
  MakeMessageBox("ABC\x82");  // a lead byte last
  MakeMessageBox(std::string(10000, 'A') + "<FONT");
  MakeMessageBox(std::string("A\0B", 3));  // the text ends at its terminator
  EXPECT_EQ(TextBoxes[0].text, "A<HR>");
  Step({50, 60, false, false}, 3);
}

}  // namespace
