// The backlog's lines, page and voice icons, and the script buttons' hit test, fade and sounds.
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "game/sound/sound_channels.h"
#include "game/stage/image_cache.h"
#include "game/text/cursor_prompt.h"
#include "game/text/fixed_text.h"
#include "platform/audio_mixer.h"
#include "platform/sjis_literal.h"
#include "sdk/graphics/png_writer.h"
#include "tests/game/fixtures/message_fixture.h"

namespace {

std::string Sj(const char* text) { return text; }

std::string Repeat(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

class BacklogButtons : public testing::Test, public MessageFixture {
 protected:
  BacklogButtons() {
    EngineState.presentation.window.state = 1;  // open: the backlog opens only then
  }
  void Picture(const std::string& name, int width, int height) {
    PngFixture png;
    png.width = width;
    png.height = height;
    png.rows.assign(static_cast<size_t>(height), std::vector<uint8_t>(static_cast<size_t>(width) * 3, 0x80));
    ASSERT_TRUE(WritePng(folder.dir().File(name), png));
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (int i = 0; i < Backlog.count; ++i) lines.emplace_back(FixedText(Backlog.lines[i].text));
    return lines;
  }
  static void Input(FrameInputState input) { FrameInput = input; }
};

TEST_F(BacklogButtons, LinesOfAMessage) {
  const std::string a = Sj("あ"_sj);
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"100 double-byte characters",
       Repeat(a, 100),
       {Repeat(a, 21), Repeat(a, 21), Repeat(a, 21), Repeat(a, 21), Repeat(a, 16), ""}},
      {"ASCII only", "Hello, <b>world</b>", {""}},
      {"half-width katakana dropped", "\xB1\xB2" + a + "\xB3", {a, ""}},
      {"a line feed breaks the line", a + "\n" + a, {a, a, ""}},
      {"a lead byte at the end", a + "\x82", {a, ""}},
      {"a lead byte before the terminator", a + std::string("\x82\0\x82\xA0", 4), {a, ""}},
      // What may not begin a line stays with the full line before it.
      {"a full stop after a full line", Repeat(a, 21) + Sj("。"_sj) + a, {Repeat(a, 21) + Sj("。"_sj), a, ""}},
      {"a full stop and a closing bracket", Repeat(a, 21) + Sj("。」"_sj), {Repeat(a, 21) + Sj("。」"_sj), ""}},
      {"markup between the line and the stop", Repeat(a, 21) + "<b>" + Sj("。"_sj), {Repeat(a, 21) + Sj("。"_sj), ""}},
      {"three hang, the fourth begins the next line",
       Repeat(a, 21) + Sj("」」」」"_sj),
       {Repeat(a, 21) + Sj("」」」"_sj), Sj("」"_sj), ""}},
      {"an opening bracket begins the next line", Repeat(a, 21) + Sj("「"_sj), {Repeat(a, 21), Sj("「"_sj), ""}},
      {"a line feed is no full line", Repeat(a, 20) + "\n" + Sj("。"_sj), {Repeat(a, 20), Sj("。"_sj), ""}},
  };
  for (const Case& c : cases) {
    std::memset(&Backlog, 0, sizeof Backlog);
    BacklogAddText(c.text, "voice\\A0100.ogg");
    EXPECT_EQ(Lines(), c.lines) << c.name;
    EXPECT_EQ(Backlog.position, Backlog.count) << c.name;
    EXPECT_STREQ(Backlog.lines[0].voice, "voice\\A0100.ogg") << c.name;
    for (int i = 1; i < Backlog.count; ++i) EXPECT_STREQ(Backlog.lines[i].voice, "") << c.name << i;
  }
  // A voice path that would not fit whole is not kept.
  std::memset(&Backlog, 0, sizeof Backlog);
  BacklogAddText(a, "voice\\" + std::string(30, 'x') + ".ogg");
  EXPECT_STREQ(Backlog.lines[0].voice, "");
}

TEST_F(BacklogButtons, TheOldestLineGoesWhenAllAreUsed) {
  std::memset(&Backlog, 0, sizeof Backlog);
  BacklogAddText(Sj("い"_sj), "");
  for (int i = 1; i < 250; ++i) BacklogAddText(Sj("あ"_sj), "");
  // 500 lines were added; 499 are kept, and the first one went.
  ASSERT_EQ(Backlog.count, kBacklogMaxLines);
  EXPECT_STREQ(Backlog.lines[0].text, "");
  EXPECT_EQ(std::string(Backlog.lines[1].text), Sj("あ"_sj));
  EXPECT_STREQ(Backlog.lines[kBacklogMaxLines - 1].text, "");
  EXPECT_EQ(Backlog.position, kBacklogMaxLines);
}

TEST_F(BacklogButtons, ScrollingStopsAtTheTopAndClosesPastTheEnd) {
  for (int i = 0; i < 15; ++i) BacklogAddText(Sj("あ"_sj), "");
  ASSERT_EQ(Backlog.count, 30);
  // Lines of 16-pixel characters with 3 pixels of spacing above and below: 22 apart, and eight of
  // them fit the 180 pixels of the area.
  ASSERT_EQ(BacklogPageLayout().rowPitch, 22);
  ASSERT_EQ(BacklogPageLayout().rows, 8);
  OpenBacklog();
  ASSERT_TRUE(BacklogOpen);
  for (int i = 0; i < 20; ++i) {
    Input(Wheel(true));
    BacklogDraw();
  }
  EXPECT_EQ(Backlog.position, 7);  // the first line at the top
  for (int i = 0; i < 11; ++i) {
    Input(Wheel(false));
    BacklogDraw();
  }
  EXPECT_EQ(Backlog.position, 29);
  EXPECT_TRUE(BacklogOpen);
  Input(Wheel(false));
  BacklogDraw();
  EXPECT_FALSE(BacklogOpen);
  EXPECT_EQ(Backlog.position, 29);
  EXPECT_FALSE(TextBoxes[kBacklogTextBox].visible);
  // It opens only while the message window is open.
  EngineState.presentation.window.state = 0;
  OpenBacklog();
  EXPECT_FALSE(BacklogOpen);
}

// The page as the player sees it: every voice icon beside the first line of its own message, in
// the middle of that line's characters, and the newest line whole on the screen.
TEST_F(BacklogButtons, IconsStandOnTheirLinesAndTheNewestLineIsWhole) {
  Picture("icon.png", 16, 16);
  CopyFixedText(Config.backlogVoiceFile, "icon.png");
  // An area from y 40 that runs 30 pixels past the screen's bottom edge (240): its height would
  // hold sixteen lines of 12 + 2 pixels, but lines are laid out 18 apart and only 200 pixels are on
  // the screen. It is wide enough for a whole line of 21 characters.
  Config.screenWidth = 400;
  Config.backlogText = {12, 20, 40, 360, 230};
  ReleaseBacklog();
  InitBacklog();
  ASSERT_EQ(BacklogPageLayout().rowPitch, 18);
  ASSERT_EQ(BacklogPageLayout().rows, 11);
  // Short voiced messages between long narration of two lines.
  for (int i = 0; i < 12; ++i) {
    if (i % 2 == 0) {
      BacklogAddText(Repeat(Sj("あ"_sj), 5), "voice\\A" + std::to_string(100 + i) + ".ogg");
    } else {
      BacklogAddText(Repeat(Sj("い"_sj), 25), "");
    }
  }
  OpenBacklog();
  const auto checkPage = [](const char* when) {
    SetCursorKind(0);
    Input({});
    BacklogDraw();
    const TextBox& box = TextBoxes[kBacklogTextBox];
    ASSERT_TRUE(box.renderer) << when;
    const std::vector<RECT>& glyphs = box.renderer->Glyphs();
    const int rows = BacklogPageLayout().rows;
    size_t glyph = 0;
    int lastBottom = 0;
    for (int i = Backlog.position - rows + 1, row = 0; i <= Backlog.position && i < Backlog.count; ++i, ++row) {
      if (i < 0) continue;
      ASSERT_LT(glyph, glyphs.size()) << when << " line " << i;
      const RECT& first = glyphs[glyph];
      const std::string_view words = FixedText(Backlog.lines[i].text);
      glyph += words.empty() ? 1 : words.size() / 2;
      const int middle = box.y + (first.top + first.bottom) / 2;
      lastBottom = box.y + first.bottom;
      // The icon's place left of the text, at the height of this line's characters.
      FrameInputState input{};
      input.cursorX = 10;
      input.cursorY = middle;
      SetCursorKind(0);
      Input(input);
      BacklogDraw();
      EXPECT_EQ(CursorKind(), Backlog.lines[i].voice[0] != '\0' ? 1 : 0) << when << " line " << i << " row " << row;
    }
    EXPECT_LE(lastBottom, Config.screenHeight) << when;
    EXPECT_LE(lastBottom, Config.backlogText.y + Config.backlogText.height) << when;
  };
  checkPage("the newest page");
  Input(Wheel(true));
  BacklogDraw();
  checkPage("a page up");
}

// The backlog's pictures are read when it first shows, not at start: a game that never opens it
// never decodes its window, a picture the size of the screen.
TEST_F(BacklogButtons, PicturesAreReadWhenTheBacklogFirstShows) {
  Picture("window.png", 32, 24);
  Picture("icon.png", 16, 16);
  CopyFixedText(Config.backlogWindowFile, "window.png");
  CopyFixedText(Config.backlogVoiceFile, "icon.png");
  ReleaseBacklog();
  FlushImageCache();
  InitBacklog();
  BacklogAddText(Sj("あ"_sj), "voice\\A0101.ogg");
  Input({});
  BacklogDraw();
  EXPECT_EQ(ImageCacheLookups(), 0) << "read before the backlog opened";
  OpenBacklog();
  BacklogDraw();
  EXPECT_EQ(ImageCacheLookups(), 2);
  BacklogDraw();
  EXPECT_EQ(ImageCacheLookups(), 2) << "read again on a later frame";
  // The icon is there: its place beside the message's first line is a button.
  FrameInputState input{};
  input.cursorX = 10;
  input.cursorY = 5;
  SetCursorKind(0);
  Input(input);
  BacklogDraw();
  EXPECT_EQ(CursorKind(), 1);
}

// Measuring the page lays text out, which opens the font: that waits until the page is first
// needed, and measures the box as InitBacklog made it.
TEST_F(BacklogButtons, ThePageIsMeasuredWhenFirstNeeded) {
  ReleaseBacklog();
  const int opened = font.engine.opened;
  InitBacklog();
  EXPECT_EQ(font.engine.opened, opened) << "the font was opened at start";
  // Box 2 made anew with a larger font after the start does not change the page.
  CreateTextBox(kBacklogTextBox, 40, 0xFFFFFF, 0, 0);
  EXPECT_EQ(BacklogPageLayout().rowPitch, 22);
  EXPECT_EQ(BacklogPageLayout().rows, 8);
  EXPECT_GT(font.engine.opened, opened);
}

TEST_F(BacklogButtons, TheIconReplaysItsVoice) {
  Picture("icon.png", 16, 16);
  CopyFixedText(Config.backlogVoiceFile, "icon.png");
  ReleaseBacklog();
  InitBacklog();
  BacklogAddText(Sj("あ"_sj), "voice\\A0101.ogg");
  BacklogAddText(Sj("い"_sj), "voice\\A0100.ogg");
  OpenBacklog();
  FrameInputState input{};
  input.cursorX = 10;          // icons at x 4..19 (text x 20 less the icon's width)
  input.cursorY = 2 * 22 + 5;  // the second message's first line is row 2; rows are 22 apart
  input.click = true;
  SetCursorKind(0);
  Input(input);
  BacklogDraw();
  EXPECT_EQ(CursorKind(), 1);
  ASSERT_TRUE(VoiceReader()->IsOpen());
  EXPECT_EQ(IsVoicePlaying(), 1);
  // Text box 2 holds the page.
  EXPECT_NE(TextBoxes[kBacklogTextBox].text.find(Sj("い"_sj) + "<BR>"), std::string::npos);
  // The right button closes the backlog and stops the voice.
  Input(RightClick());
  BacklogDraw();
  EXPECT_FALSE(BacklogOpen);
  EXPECT_EQ(IsVoicePlaying(), 0);
}

TEST_F(BacklogButtons, ButtonsHitStrictlyInsideTheHighlightPicture) {
  Picture("hi.png", 20, 10);
  Picture("lo.png", 30, 30);
  ButtonSet(3, 10, 10, 0, "hi.png", "lo.png");
  ASSERT_TRUE(ButtonsActive);
  struct Case {
    int x, y;
    bool hit;
  } const cases[] = {{10, 15, false}, {11, 15, true},  {29, 19, true},
                     {30, 15, false}, {29, 20, false}, {20, 10, false}};
  for (const Case& c : cases) {
    SetClickedButton(-1);
    FrameInputState input = Click();
    input.cursorX = c.x;
    input.cursorY = c.y;
    Input(input);
    ButtonUpdate();
    EXPECT_EQ(GetClickedButton(), c.hit ? 3 : -1) << c.x << "," << c.y;
    // The click never reaches the message window in the same frame.
    EXPECT_FALSE(FrameInput.click);
  }
  // A missing picture is 0 x 0: it is never hit.
  ButtonSet(4, 0, 0, 0, "missing.png", "missing.png");
  EXPECT_EQ(ScriptButtons[4].width, 0);
}

// Buttons hold the cache's own pictures, and hovering, pressing and fading never write into them.
TEST_F(BacklogButtons, ButtonsShareTheCachedPicturesAndNeverWriteIntoThem) {
  Config.imageCacheSize = 5;
  FlushImageCache();
  Picture("hi.png", 20, 10);
  ButtonSet(0, 10, 10, 0, "hi.png", "hi.png");
  ButtonSet(1, 40, 10, 0, "hi.png", "hi.png");
  const auto cached = LoadImageShared("hi.png", 100);
  ASSERT_NE(cached, nullptr);
  EXPECT_EQ(ScriptButtons[0].first, cached);
  EXPECT_EQ(ScriptButtons[1].second, cached);
  FrameInputState over{};
  over.cursorX = 15;
  over.cursorY = 15;
  for (int i = 0; i < 8; ++i) {
    Input(over);
    ButtonUpdate();
  }
  Input(Click());
  ButtonUpdate();
  Input({});
  for (int i = 0; i < 70; ++i) ButtonUpdate();
  const CMemPlaneImpl& p = *cached->GetImpl();
  const std::vector<uint32_t> pixels(p.GetPixels(), p.GetPixels() + p.Width() * p.Height());
  EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0xFF808080u), 200);
  FlushImageCache();  // no later test finds these pictures under their names
}

TEST_F(BacklogButtons, AButtonFadesIntoItsNormalPictureIn64Frames) {
  Picture("hi.png", 20, 10);
  ButtonSet(0, 10, 10, 0, "hi.png", "hi.png");
  EXPECT_EQ(ScriptButtons[0].highlight, 255);
  Input({});
  for (int i = 0; i < 63; ++i) ButtonUpdate();
  EXPECT_EQ(ScriptButtons[0].highlight, 3);
  ButtonUpdate();
  EXPECT_EQ(ScriptButtons[0].highlight, 0);
}

TEST_F(BacklogButtons, HoverAndPressSoundOnceEach) {
  Picture("hi.png", 20, 10);
  ButtonSet(0, 10, 10, 0, "hi.png", "hi.png");
  int plays = 0;
  auto previous = platform::SetAudioCallHook([&plays](const platform::AudioCall& call) {
    if (call.kind == platform::AudioCall::kPlay) ++plays;
    return platform::DS_OK;
  });
  FrameInputState over{};
  over.cursorX = 15;
  over.cursorY = 15;
  for (int i = 0; i < 3; ++i) {
    Input(over);
    ButtonUpdate();
  }
  EXPECT_EQ(plays, 1);
  EXPECT_EQ(HoveredButton, 0);
  FrameInputState press = over;
  press.leftHeld = true;
  Input(press);
  ButtonUpdate();
  EXPECT_EQ(plays, 1);
  FrameInputState click = over;
  click.click = true;
  Input(click);
  ButtonUpdate();
  EXPECT_EQ(plays, 2);
  EXPECT_EQ(GetClickedButton(), 0);
  platform::SetAudioCallHook(previous);
}

TEST_F(BacklogButtons, ScriptButtonsReportTheClickAndOneClearEndsTheMode) {
  Picture("hi.png", 20, 10);
  Picture("lo.png", 20, 10);
  Load(
      "SETBUTTON 0, 10, 10, 0, \"hi.png\", \"lo.png\"\nSETBUTTON 1, 10, 40, 0, \"hi.png\", \"lo.png\"\n"
      "GETBUTTON A\nB=1\nCLEARBUTTON 1\nC=1\n");
  run.Frame(3);
  EXPECT_EQ(run.Var("B").value_or(0), 0);
  FrameInputState input = Click();
  input.cursorX = 15;
  input.cursorY = 45;
  run.Frame(1, input);
  run.Frame(1);
  EXPECT_EQ(run.Var("A").value_or(-1), 1);
  EXPECT_EQ(run.Var("C").value_or(0), 1);
  EXPECT_FALSE(ButtonsActive);
  EXPECT_EQ(ScriptButtons[0].state, 2);
  EXPECT_EQ(ScriptButtons[1].state, 0);
}

}  // namespace
