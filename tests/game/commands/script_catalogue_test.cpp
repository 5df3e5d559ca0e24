// Every command of the script language through the headless interpreter: the screen fades, INPUT,
// the galleries, the system commands and the film commands with their argument errors, and one line
// for each of the other commands showing that it is registered and reads what it should.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

#include "game/script/engine_state.h"
#include "game/app/frame_input.h"
#include "game/stage/layer_module.h"
#include "game/script/message_log.h"
#include "game/stage/movie_player.h"
#include "game/stage/picture_layers.h"
#include "game/app/run_state.h"
#include "game/system/save_file.h"
#include "game/system/scene_gallery.h"
#include "game/stage/screen_fade.h"
#include "game/system/script_buttons.h"
#include "game/script/script_executor.h"
#include "game/script/script_tokens.h"
#include "game/system/seen_lists.h"
#include "game/sound/sound_channels.h"
#include "tests/game/fixtures/message_fixture.h"
#include "platform/clock.h"
#include "platform/sjis_literal.h"
#include "sdk/graphics/png_writer.h"

namespace {

namespace fs = std::filesystem;

void WriteSolidPng(const std::string& path, int width, int height, uint8_t grey) {
  if (fs::path(path).has_parent_path()) fs::create_directories(fs::path(path).parent_path());
  PngFixture png;
  png.width = width;
  png.height = height;
  png.rows.assign(static_cast<size_t>(height), std::vector<uint8_t>(static_cast<size_t>(width) * 3, grey));
  ASSERT_TRUE(WritePng(path, png));
}

class CatalogueTest : public testing::Test, public MessageFixture {
 protected:
  CatalogueTest() {
    ClearSeenLists();
    SeenSceneList.maximum = kSeenScenes;
    SeenPictureList.maximum = kSeenPictures;
    SceneProfile = CIniProfile();
    SceneProfile.ReadProfile("scene.ini");  // missing: remembered as the file to write
    PictureProfile = CIniProfile();
    PictureProfile.ReadProfile("picture.ini");
    WriteSolidPng("a.png", 4, 4, 0x80);
    WriteSolidPng("mask.png", 4, 4, 0x80);
    InitLayers();
    SetClickedButton(-1);
    // The film commands are checked for their flag and arguments: no film is made.
    SetMoviePlayerFactory(nullptr);
  }
  ~CatalogueTest() override {
    ClearSeenLists();
    SeenSceneList.maximum = SeenPictureList.maximum = 0;
    SceneProfile = CIniProfile();
    PictureProfile = CIniProfile();
    SkipMode = false;
    SceneReplay = false;
    ReleaseLayers();
  }
  // A script of its own: the log empty and every variable back at 0, as a fresh game would have them.
  void Start(std::string_view script) {
    ClearMessageLog();
    for (ScriptSymbol& entry : EngineState.symbolTable) {
      if (entry.token == kTokenIdentifier) entry.value = 0;
    }
    Load(script);
  }
  void Run(std::string_view script, int frames = 1) {
    Start(script);
    run.Step(frames);
  }
  ScreenFades& FadeLevels() { return EngineState.presentation.fades; }
};

// --- Screen fades -------------------------------------------------------------------------------

TEST_F(CatalogueTest, ScreenFades) {
  struct Case {
    const char* name;
    std::string script;
    ScreenFades before;
    ScreenFades after;
    bool skipping = false;
    bool effectsOff = false;
    int fps = 60;
  } cases[] = {
      {"BLACKOUT while rising jumps to full black", "BLACKOUT\nA=1\n", {{100, 5}, {0, 0}}, {{255, 16}, {0, 0}}},
      {"BLACKOUT with a speed while falling keeps its level",
       "BLACKOUT 8: A=1\n",
       {{100, -5}, {0, 0}},
       {{100, 8}, {0, 0}}},
      {"BLACKOUT speed is per 60th of a second",
       "BLACKOUT 8: A=1\n",
       {{0, 0}, {0, 0}},
       {{0, 16}, {0, 0}},
       false,
       false,
       30},
      {"BLACKIN while falling jumps to clear", "BLACKIN\nA=1\n", {{100, -5}, {0, 0}}, {{0, -16}, {0, 0}}},
      {"BLACKIN with a speed while rising keeps its level",
       "BLACKIN 4: A=1\n",
       {{100, 5}, {0, 0}},
       {{100, -4}, {0, 0}}},
      {"WHITEOUT while falling starts from clear", "WHITEOUT\nA=1\n", {{0, 0}, {100, -5}}, {{0, 0}, {0, 16}}},
      {"WHITEOUT while rising keeps its level", "WHITEOUT 2: A=1\n", {{0, 0}, {100, 5}}, {{0, 0}, {100, 2}}},
      {"WHITEIN while falling jumps to clear", "WHITEIN\nA=1\n", {{0, 0}, {100, -5}}, {{0, 0}, {0, -16}}},
      {"BLACK alone is full black and stops both", "BLACK\nA=1\n", {{10, 3}, {50, 3}}, {{255, 0}, {50, 0}}},
      {"BLACK with a level", "BLACK 100: A=1\n", {{10, 3}, {50, 3}}, {{100, 0}, {50, 0}}},
      {"BLACK 300 is kept to full black", "BLACK 300: A=1\n", {{0, 0}, {0, 0}}, {{255, 0}, {0, 0}}},
      {"WHITE alone is full white and stops both", "WHITE\nA=1\n", {{10, 3}, {50, 3}}, {{10, 0}, {255, 0}}},
      {"WHITE 300 is kept to full white", "WHITE 300: A=1\n", {{0, 0}, {0, 0}}, {{0, 0}, {255, 0}}},
      {"BLACKOUT at once while skipping", "BLACKOUT 8: A=1\n", {{10, 3}, {0, 0}}, {{255, 0}, {0, 0}}, true},
      {"BLACKIN at once with effects off", "BLACKIN\nA=1\n", {{200, 0}, {0, 0}}, {{0, 0}, {0, 0}}, false, true},
      {"WHITEOUT at once while skipping", "WHITEOUT\nA=1\n", {{0, 0}, {0, -3}}, {{0, 0}, {255, 0}}, true},
      {"WHITEIN at once with effects off", "WHITEIN 4: A=1\n", {{0, 0}, {255, 0}}, {{0, 0}, {0, 0}}, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Config.fps = c.fps;
    Config.effectsOn = !c.effectsOff;
    SkipMode = c.skipping;
    Start(c.script);
    FadeLevels() = c.before;
    run.Step();
    const ScreenFades& f = run.Fades();
    EXPECT_EQ(f.black.level, c.after.black.level);
    EXPECT_EQ(f.black.step, c.after.black.step);
    EXPECT_EQ(f.white.level, c.after.white.level);
    EXPECT_EQ(f.white.step, c.after.white.step);
    // Exactly the statement was read: the assignment after it ran.
    EXPECT_EQ(Var("A"), 1);
    EXPECT_TRUE(run.Log().empty());
  }
  SkipMode = false;
}

// A resting level outside 0..255 would be drawn with a ratio past full; the frame leaves it alone.
TEST_F(CatalogueTest, AFadeLevelSetByScriptRestsInRange) {
  Run("BLACK 300: WHITE 999999999999\nEND\n");
  AdvanceFade(FadeLevels().black);
  AdvanceFade(FadeLevels().white);
  EXPECT_EQ(run.Fades().black.level, 255);
  EXPECT_EQ(run.Fades().white.level, 255);
}

// --- INPUT ----------------------------------------------------------------------------------------

TEST_F(CatalogueTest, InputReadsANumberLineByLineWithoutHoldingTheGame) {
  ScriptConsole& console = run.Console();
  console.HoldOpen(true);
  console.Type("42");
  console.Type("abc");
  Start("A=5\nINPUT \"Number?\"; A\nB=A\nINPUT A\nC=1\nEND\n");
  run.Step();
  EXPECT_EQ(Var("A"), 42);
  EXPECT_EQ(Var("B"), 42);
  // "abc" converts to nothing: reported, A stays.
  EXPECT_EQ(Var("C"), 1);
  EXPECT_EQ(Var("A"), 42);
  EXPECT_EQ(run.Log(), std::vector<std::string>{ErrorLine(4, "Number input error", "INPUT A\r")});
  EXPECT_EQ(console.written, "Number?");

  // A line three frames late: the game's frames go on meanwhile and the prompt is written once.
  Start("INPUT \"Again?\"; D\nE=1\nEND\n");
  console.Type("7.5", 3);
  console.written.clear();
  const int readsBefore = console.reads;
  const int inputs = run.Dispatches(kTokenInput);
  for (int frame = 1; frame <= 3; ++frame) {
    run.Step();
    EXPECT_EQ(Var("E"), 0) << "frame " << frame;
  }
  run.Step();
  EXPECT_EQ(Var("D"), 7.5);
  EXPECT_EQ(Var("E"), 1);
  EXPECT_EQ(console.written, "Again?");
  EXPECT_EQ(console.reads - readsBefore, 4);
  // The statement was read once; the frames after it ask for the line only.
  EXPECT_EQ(run.Dispatches(kTokenInput) - inputs, 1);
  EXPECT_EQ(run.Dispatches(kTokenInputWait), 3);

  // Blank lines are passed over as the conversion passes over white space.
  Start("INPUT F\nEND\n");
  console.Type("");
  console.Type("  ");
  console.Type(" 12 apples");
  run.Step();
  EXPECT_EQ(Var("F"), 12);

  // At the end of the input the variable stays as it was and nothing is reported.
  console.HoldOpen(false);
  Start("G=3\nINPUT G\nH=1\nEND\n");
  run.Step();
  EXPECT_EQ(Var("G"), 3);
  EXPECT_EQ(Var("H"), 1);
  EXPECT_TRUE(run.Log().empty());
}

// --- Argument errors of the commands built here ---------------------------------------------------

TEST_F(CatalogueTest, ArgumentErrorsAreReportedAndTheRunGoesOn) {
  struct Case {
    const char* name;
    std::string script;
    std::vector<std::string> log;
    std::string check;  // a variable that must be 1 afterwards: the run went on
  } cases[] = {
      {"INPUT prompt without ';'",
       "INPUT \"p\" A\nZ=1\n",
       {ErrorLine(1, "Missing ';'", "INPUT \"p\" A"), ErrorLine(1, "missing variable identifier", "INPUT \"p\" A\r")},
       "Z"},
      {"INPUT of a number", "INPUT 5: Z=1\n", {ErrorLine(1, "missing variable identifier", "INPUT 5")}, "Z"},
      {"INPUT of nothing", "INPUT\nZ=1\n", {ErrorLine(1, "missing variable identifier", "INPUT\r")}, "Z"},
      {"SETSCENE without a string",
       "SETSCENE s1\nZ=1\n",
       {ErrorLine(1, "ファイル名の指定がありません"_sj, "SETSCENE s1")},
       "Z"},
      {"MOVIE without a string stops at the token",
       "MOVIE 5: Z=1\n",
       {ErrorLine(1, "movie命令にファイル名の指定がありません"_sj, "MOVIE 5")},
       "Z"},
      {"GETBUTTON without a variable",
       "GETBUTTON 5: Z=1\n",
       {ErrorLine(1, "missing variable identifier", "GETBUTTON 5")},
       "Z"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetClickedButton(-1);
    Start(c.script);
    if (std::string(c.name).starts_with("GETBUTTON")) {
      run.Step();
      SetClickedButton(3);
    }
    run.Step();
    EXPECT_EQ(run.Log(), c.log);
    EXPECT_EQ(Var(c.check.c_str()), 1);
    EXPECT_EQ(EngineState.presentation.message.movie, 0);
  }
  // The missing string was still recorded, as the scene's name is whatever the token says.
  EXPECT_TRUE(IsSceneSeen("S1"));
}

// --- One line for every command -------------------------------------------------------------------

// Each line runs in one or more script steps and must leave Z at 1: the command read exactly its
// arguments (a shorter read leaves an argument to be run as a statement, a longer one eats the
// assignment). Then the check looks at the command's effect.
TEST_F(CatalogueTest, EveryCommandReadsItsArguments) {
  WriteSolidPng("hi.png", 30, 20, 0xFF);
  WriteSolidPng("lo.png", 10, 10, 0x40);
  struct Case {
    std::string script;
    int32_t token;
    std::function<void()> check;
    int steps = 1;
    int dispatches = 1;  // of the token
  } cases[] = {
      {"PICTURE 0, \"a.png\": Z=1", kTokenPicture, [] { EXPECT_NE(LayerSurface(0), nullptr); }},
      {"OVERLAP 0, 1, 2, X, \"a.png\": Z=1", kTokenOverlap, [] { EXPECT_EQ(EngineState.layers[0].x, 1); }},
      {"CLEARPICTURE 0: Z=1", kTokenClearPicture, [] { EXPECT_EQ(LayerSurface(0), nullptr); }},
      {"CLEARPICTURE: Z=1", kTokenClearPicture, [] {}},
      {"CAMERA 10, 0, X, Y, W: Z=1", kTokenCamera, [] {}},
      {"MOVE 0, 0, 0: Z=1", kTokenMove, [] {}},
      {"SETKEY 0, 0, 1, 2, 3: Z=1", kTokenSetKey, [] {}},
      {"FADEOUT 0 8: Z=1", kTokenFadeOut, [] { EXPECT_EQ(EngineState.layers[0].levels[0].step, -8); }},
      {"FADEIN 0: Z=1", kTokenFadeIn, [] { EXPECT_EQ(EngineState.layers[0].levels[0].step, 16); }},
      {"FADE 0 100: Z=1", kTokenFade, [] { EXPECT_EQ(EngineState.layers[0].levels[0].level, 100); }},
      {"PICTURE 0, \"a.png\": EFFECT 0, 1, X: Z=1", kTokenEffect, [] { EXPECT_EQ(EngineState.layers[0].effect, 1); }},
      {"TRANSITION 1, 10, \"mask.png\"\nZ=1", kTokenTransition, [] {}},
      {"QUAKE: Z=1", kTokenQuake, [] {}},
      {"SUN: Z=1", kTokenSun, [] { EXPECT_EQ(EngineState.presentation.sunEffect, 1); }},
      {"FILM: Z=1", kTokenFilm, [] {}},
      {"MOTION 1, 2, 3, 4, 5, 6, 7, X: Z=1", kTokenMotion, [] {}},
      {"CROWD: CROWDSHADOW: LEAF: RAIN: SNOW: WING: EFFECTOFF: Z=1", kTokenEffectOff, [] {}},
      {"LOOPMOTION: CHECKCG: CHECKSCENE: Z=1", kTokenLoopMotion, [] {}},
      {"MOVIE \"film.avi\": Z=1", kTokenMovie, [] { EXPECT_EQ(EngineState.presentation.message.movie, 1); }},
      {"MOVIE \"film.avi\"\nKEYWAIT\nZ=1", kTokenKeyWait, [] { EXPECT_EQ(EngineState.presentation.message.movie, 0); }},
      {"MOVIE \"film.avi\": STOPMOVIE: Z=1", kTokenStopMovie,
       [] { EXPECT_EQ(EngineState.presentation.message.movie, 0); }},
      {"WAIT 2: Z=1", kTokenWait, [] {}, 2},
      {"AUTOPLAYON 20: Z=1", kTokenAutoPlayOn, [] { EXPECT_EQ(EngineState.presentation.message.autoPlayWait, 20); }},
      {"AUTOPLAYON 20: AUTOPLAYOFF: Z=1", kTokenAutoPlayOff,
       [] { EXPECT_EQ(EngineState.presentation.message.autoPlay, 0); }},
      {"PRINT \"n=\"; 3: Z=1", kTokenPrint, [] {}},
      {"OPENWINDOW: CLOSEWINDOW: Z=1", kTokenCloseWindow, [] {}},
      {"NORMALMODE: Z=1", kTokenNormalMode, [] { EXPECT_EQ(EngineState.presentation.message.namePresent, 0); }},
      {"NOVELMODE: NEXTPAGE: Z=1", kTokenNextPage, [] {}},
      {"BGC X: Z=1", kTokenBgc, [] {}},
      {"VOICEPREFIX \"x\", \"B0x10\": Z=1", kTokenVoicePrefix,
       [] { EXPECT_EQ(EngineState.presentation.message.voicePrefixes[0].counter, 0); }},
      {"VOICEPREFIX \"" + std::string(70, 'n') + "\", \"A1\": VOICEPREFIX \"" + std::string(70, 'n') +
           "\", \"B2\": Z=1",
       kTokenVoicePrefix,
       [] {
         // A name longer than the entry holds finds its entry again rather than taking another.
         int entries = 0;
         for (const VoicePrefix& p : EngineState.presentation.message.voicePrefixes) {
           if (p.speaker[0] != 'n') continue;
           ++entries;
           EXPECT_EQ(p.counter, 2);
         }
         EXPECT_EQ(entries, 1);
       },
       1, 2},
      {"VOICEONCE \"v\": Z=1", kTokenVoiceOnce,
       [] { EXPECT_EQ(EngineState.presentation.message.singleVoicePending, 1); }},
      {"SELECT \"a\", \"b\": Z=1", kTokenSelect, [] {}},
      {"BGM \"a.ogg\": BGMONCE \"b.ogg\": STOPBGM: Z=1", kTokenStopBgm, [] {}},
      {"SE 1, \"s.wav\": LOOPSE 2, \"s.wav\": STOPSE 2: Z=1", kTokenStopSe, [] {}},
      {"SETBUTTON 0, 5, 6, 0, \"hi.png\", \"lo.png\": Z=1", kTokenSetButton,
       [] {
         // The first picture is the highlight: its size is what a click hits.
         EXPECT_EQ(ScriptButtons[0].width, 30);
         EXPECT_EQ(ScriptButtons[0].height, 20);
       }},
      {"CLEARBUTTON 0: Z=1", kTokenClearButton, [] { EXPECT_EQ(ScriptButtons[0].state, 0); }},
      {"CLEARBUTTON: Z=1", kTokenClearButton, [] {}},
      {"STARTSCENEREPLAY: Z=1", kTokenStartSceneReplay, [] { EXPECT_TRUE(SceneReplay); }},
      {"ENDSCENEREPLAY: Z=1", kTokenEndSceneReplay, [] { EXPECT_FALSE(SceneReplay); }},
      {"SETSCENE \"s2\": Z=1", kTokenSetScene, [] { EXPECT_TRUE(IsSceneSeen("s2")); }},
      {"SCENEMODE k1, t1, k2, T2: Z=1", kTokenSceneMode,
       [this] {
         using Entries = std::vector<std::pair<std::string, std::string>>;
         EXPECT_EQ(run.GalleryList(), (Entries{{"K1", "t1"}, {"K2", "t2"}}));
         EXPECT_TRUE(run.GalleryActive());
       }},
      {"SCENEMODEEND: Z=1", kTokenSceneModeEnd, [this] { EXPECT_FALSE(run.GalleryActive()); }},
      {"CGMODE a, b, c: CGMODEEND: Z=1", kTokenCgModeEnd, [] {}},
      {"SIDEBARON: SIDEBAROFF: Z=1", kTokenSidebarOff, [] {}},
      {"A=5: SETGLOBALFLAG A, 1\nZ=1", kTokenSetGlobalFlag, [this] { EXPECT_EQ(Var("A"), 5); }},
      {"A=5: GETGLOBALFLAG A\nZ=1", kTokenGetGlobalFlag, [this] { EXPECT_EQ(Var("A"), 5); }},
      {"FLOAD: Z=1", kTokenFload, [] {}},  // no game object: no screen to open
      {"SIDEBARON: QUICKLOAD: Z=1", kTokenQuickLoad, [] {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    const int dispatched = run.Dispatches(c.token);
    Start(c.script + "\nEND\n");
    run.Step(c.steps);
    EXPECT_EQ(Var("Z"), 1);
    EXPECT_EQ(run.Dispatches(c.token) - dispatched, c.token == kTokenLoopMotion ? 0 : c.dispatches);
    EXPECT_EQ(run.Log(), std::vector<std::string>{});
    c.check();
  }
}

// KEYWAIT right after MOVIE ends at once and clears the film's flag; STOPMOVIE must still stop the
// film, which would otherwise hide the layers for good.
TEST_F(CatalogueTest, StopMovieAfterKeyWaitStopsTheFilm) {
  struct StillFilm : MoviePlayer {
    bool OpenAndPlay(std::string_view) override { return true; }
    CMemPlane* FrameSurface() override { return nullptr; }
    bool IsPlaying() const override { return true; }
    void Stop() override {}
  };
  SetMoviePlayerFactory([]() -> std::unique_ptr<MoviePlayer> { return std::make_unique<StillFilm>(); });
  Start("MOVIE \"film.avi\"\nKEYWAIT\nZ=1\nWAIT 2\nSTOPMOVIE\nZ=2\nEND\n");
  run.Step(1);
  EXPECT_EQ(Var("Z"), 1);
  EXPECT_EQ(EngineState.presentation.message.movie, 0);
  EXPECT_NE(LayerModule.movie, nullptr) << "the film plays on past the key wait";
  run.Step(3);
  EXPECT_EQ(Var("Z"), 2);
  EXPECT_EQ(LayerModule.movie, nullptr);
  SetMoviePlayerFactory(nullptr);
}

// Every keyword is a statement with its handler, except the three that are not commands and the
// words that only stand inside statements (THEN, the operators, TO and STEP); none of those has one.
TEST_F(CatalogueTest, EveryKeywordHasAHandlerButTheThreeNonCommands) {
  const std::set<int32_t> withoutHandler = {kTokenLoopMotion, kTokenCheckCg, kTokenCheckScene, kTokenThen,
                                            kTokenAnd,        kTokenOr,      kTokenNot,        kTokenMod,
                                            kTokenTo,         kTokenStep,    kTokenInt};
  for (const ScriptKeyword& k : ScriptKeywords()) {
    EXPECT_EQ(GetScriptHandler(k.token) != nullptr, !withoutHandler.contains(k.token)) << k.name;
  }
}

// --- The scene gallery through the script -----------------------------------------------------------

TEST_F(CatalogueTest, APickInTheGalleryIsReadByGetButton) {
  WriteSolidPng("thumb/t1.png", 100, 80, 0xC0);
  WriteSolidPng("cg/system_empty.png", 100, 80, 0x10);
  Start("SETSCENE \"s1\"\nSCENEMODE \"s0\", \"t0\", \"s1\", \"T1\"\nGETBUTTON N\nEND\n");
  run.Step();
  ASSERT_TRUE(run.GalleryActive());
  EXPECT_EQ(run.GalleryList().size(), 2u);
  // The frame draws the gallery; the second cell is a seen scene.
  FrameInput = {};
  DrawSceneMode();
  FrameInput.cursorX = 340;
  FrameInput.cursorY = 110;
  FrameInput.click = true;
  DrawSceneMode();
  FrameInput = {};
  run.Step();
  EXPECT_EQ(Var("N"), kGalleryPickBase + 1);
  EXPECT_FALSE(run.GalleryActive());
  EXPECT_TRUE(run.Log().empty());
}

TEST_F(CatalogueTest, GalleryPairsBeyondItsSizeAreIgnored) {
  std::string script = "SCENEMODE k0, t0";
  for (int i = 1; i < kGalleryEntries + 20; ++i) script += ", k" + std::to_string(i) + ", t" + std::to_string(i);
  script += ": Z=1\nEND\n";
  Run(script);
  const auto list = run.GalleryList();
  ASSERT_EQ(list.size(), static_cast<size_t>(kGalleryEntries));
  EXPECT_EQ(list.back().first, "K" + std::to_string(kGalleryEntries - 1));
  EXPECT_EQ(Var("Z"), 1);
}

// --- QUICKLOAD ------------------------------------------------------------------------------------

// The quick save holds A = 1 at the PICTURE line. The second frame changes B and loads it from inside
// a true IF, which ends that frame's run: the third frame goes on at the PICTURE line, and the END
// after it ends the frame, as no THEN level of the loading line is left open.
TEST_F(CatalogueTest, QuickLoadEndsTheFrameAndGoesOnAtTheLoadedLine) {
  for (bool systemInterface : {false, true}) {
    SCOPED_TRACE(systemInterface ? "through the system interface" : "without a game object");
    if (systemInterface) run.StartSystemInterface();
    const int loads = run.Dispatches(kTokenQuickLoad);
    const int pictures = run.Dispatches(kTokenPicture);
    Start("A=A+1\nPICTURE 0, \"a.png\"\nEND\nB=1\nIF B=1 THEN C=1: QUICKLOAD: C=2\nD=1\nEND\n");
    run.Step();
    ASSERT_EQ(Var("A"), 1);
    ASSERT_TRUE(WriteSaveBlock(kQuickSavePath));
    run.Step();
    EXPECT_EQ(run.Dispatches(kTokenQuickLoad) - loads, 1);
    EXPECT_EQ(run.Dispatches(kTokenPicture) - pictures, 1);
    EXPECT_EQ(Var("B"), 0);
    run.Step();
    EXPECT_EQ(run.Dispatches(kTokenQuickLoad) - loads, 1);
    EXPECT_EQ(run.Dispatches(kTokenPicture) - pictures, 2);
    EXPECT_EQ(Var("A"), 1);
    EXPECT_EQ(Var("B"), 0);
    EXPECT_EQ(Var("C"), 0);
    EXPECT_EQ(Var("D"), 0);
    EXPECT_NE(LayerSurface(0), nullptr);
    EXPECT_TRUE(run.Log().empty());
    EXPECT_TRUE(questions.boxes().empty());
  }
}

// Without a quick save, or with one that is refused, the statement is passed over; a refused file
// is told once by the load's own box.
TEST_F(CatalogueTest, AFailedQuickLoadIsPassedOver) {
  struct Case {
    const char* name;
    const char* file;  // nullptr: no quick save
    size_t boxes;
  } cases[] = {
      {"no quick save", nullptr, 0},
      {"a quick save of the wrong size", "short", 1},
  };
  for (bool systemInterface : {false, true}) {
    if (systemInterface) run.StartSystemInterface();
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (systemInterface ? ", through the system interface" : ""));
      fs::remove_all("savedata");
      if (c.file) {
        fs::create_directories("savedata");
        std::ofstream("savedata/quicksave.sav", std::ios::binary) << c.file;
      }
      questions.Clear();
      const int loads = run.Dispatches(kTokenQuickLoad);
      Start("A=1\nQUICKLOAD: B=1\nEND\n");
      run.Step(3);
      EXPECT_EQ(Var("A"), 1);
      EXPECT_EQ(Var("B"), 1);
      EXPECT_EQ(run.Dispatches(kTokenQuickLoad) - loads, 1);
      EXPECT_EQ(questions.boxes().size(), c.boxes);
      EXPECT_TRUE(run.Log().empty());
    }
  }
}

// --- A frame's time ---------------------------------------------------------------------------------

// What the heavy statements cost on the test's clock, in milliseconds: a picture decoded, a sound
// effect looked for, a quick save read. Quick loads are counted.
platform::ManualClock* statementClock = nullptr;
int quickLoads = 0;
constexpr uint32_t kPictureMs = 2, kSeMs = 1, kQuickLoadMs = 5;

void ChargeStatement(int32_t token) {
  if (token == kTokenPicture) statementClock->Advance(kPictureMs);
  if (token == kTokenSe) statementClock->Advance(kSeMs);
  if (token == kTokenQuickLoad) {
    statementClock->Advance(kQuickLoadMs);
    ++quickLoads;
  }
}

// Loops that never give a frame back by waiting (a WAIT of one frame passes at once, and every WAIT
// is one frame while skipping) around statements that take time. At 30 frames a second with the skip
// key held, each frame's run ends once its 33 ms are spent, within the statement that passed them,
// and a quick load ends it at once.
TEST_F(CatalogueTest, EveryFrameReturnsWithinItsTime) {
  struct Case {
    const char* name;
    const char* script;
    uint32_t heaviest;
    bool quickLoad;
  };
  const Case cases[] = {
      {"a picture and a wait", "LABEL L\nPICTURE 1, \"a.png\" : WAIT 2\nGOTO L\n", kPictureMs, false},
      {"a missing sound effect", "LABEL L\nSE 1, \"missing.wav\"\nGOTO L\n", kSeMs, false},
      {"a quick load", "LABEL L\nQUICKLOAD\nGOTO L\n", kQuickLoadMs, true},
  };
  platform::ManualClock clock;
  statementClock = &clock;
  run.SetFps(30);
  FrameInputState skip{};
  skip.skipKey = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start(c.script);
    if (c.quickLoad) {
      ASSERT_TRUE(WriteSaveBlock(kQuickSavePath));  // at the first line
    }
    SetDispatchObserver(ChargeStatement);
    for (int frame = 0; frame < 3; ++frame) {
      SCOPED_TRACE(frame);
      quickLoads = 0;
      const uint32_t start = clock.now();
      run.Frame(1, skip);
      ASSERT_TRUE(IsSkipping());
      const uint32_t spent = clock.now() - start;
      if (c.quickLoad) {
        EXPECT_EQ(quickLoads, 1);
        EXPECT_EQ(spent, kQuickLoadMs);
      } else {
        EXPECT_GE(spent, 1000u / 30);  // the run went on until the frame's time was spent
        EXPECT_LE(spent, 1000u / 30 + c.heaviest);
      }
    }
    SetDispatchObserver(nullptr);
  }
  statementClock = nullptr;
  EXPECT_TRUE(questions.boxes().empty());
}

// FLOAD opens the load screen without its save tab, and the statement after it is read.
TEST_F(CatalogueTest, FloadOpensTheLoadScreenAsTheScriptDoes) {
  run.StartSystemInterface();
  Start("FLOAD: Z=1\nEND\n");
  run.Step();
  EXPECT_TRUE(LoadScreenOpen);
  EXPECT_TRUE(LoadScreenByScript);
  EXPECT_EQ(Var("Z"), 1);
  EXPECT_TRUE(run.Log().empty());
  LoadScreenOpen = LoadScreenByScript = false;
}

}  // namespace
