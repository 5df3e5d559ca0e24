// Reading a scene: speakers, voices, the key wait, the automatic and skip modes, the window's fade,
// the two questions and the resume point of a save.
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "game/text/fixed_text.h"
#include "game/text/message_text.h"
#include "game/script/script_loader.h"
#include "game/script/script_tokens.h"
#include "game/sound/sound_channels.h"
#include "tests/game/fixtures/message_fixture.h"
#include "platform/sjis_literal.h"

namespace {

std::string Sj(const char* text) { return text; }

class Reading : public testing::Test, public MessageFixture {};

TEST(SplitSpeaker, NamesAndSpokenText) {
  struct Case {
    const char* name;
    std::string text;
    bool hasSpeaker;
    std::string speaker;
    std::string spoken;
  };
  const Case cases[] = {
      {"at-sign line", Sj("＠太郎\nこんにちは"_sj), true, Sj("太郎"_sj), Sj("こんにちは"_sj)},
      {"at-sign alone", Sj("＠太郎"_sj), true, Sj("太郎"_sj), ""},
      {"bracket", Sj("太郎「やあ」"_sj), true, Sj("太郎"_sj), Sj("「やあ」"_sj)},
      {"bracket first", Sj("「やあ」"_sj), true, "", Sj("「やあ」"_sj)},
      {"parenthesis", Sj("花子（ふむ）"_sj), true, Sj("花子"_sj), Sj("（ふむ）"_sj)},
      {"bracket at byte 14", Sj("あいうえおかき「"_sj), true, Sj("あいうえおかき"_sj), Sj("「"_sj)},
      {"bracket at byte 15", "a" + Sj("あいうえおかき「"_sj), false, "", "a" + Sj("あいうえおかき「"_sj)},
      {"bracket at byte 20", Sj("あいうえおかきくけこ「"_sj), false, "", Sj("あいうえおかきくけこ「"_sj)},
      {"narration", Sj("ナレーション"_sj), false, "", Sj("ナレーション"_sj)},
      // The trail byte of one character and the lead of the next spell the bracket: no match.
      {"bracket across characters", Sj("\x88\x81\x75"), false, "", Sj("\x88\x81\x75")},
  };
  for (const Case& c : cases) {
    const SpeakerSplit split = SplitSpeaker(c.text);
    EXPECT_EQ(split.hasSpeaker, c.hasSpeaker) << c.name;
    EXPECT_EQ(std::string(split.speaker), c.speaker) << c.name;
    EXPECT_EQ(std::string(split.spoken), c.spoken) << c.name;
  }
}

TEST(BacklogTextOf, TheNameStandsApartFromTheWords) {
  struct Case {
    const char* name;
    std::string message;
    std::string kept;
  };
  const Case cases[] = {
      {"at-sign line", Sj("＠レン\nおはよう。"_sj), Sj("レン\nおはよう。"_sj)},
      {"at-sign line with a bracket", Sj("＠レン\n「おはよう。」"_sj), Sj("レン「おはよう。」"_sj)},
      {"bracket", Sj("ミオ「おはよう。」"_sj), Sj("ミオ「おはよう。」"_sj)},
      {"parenthesis", Sj("ミオ（ねむい）"_sj), Sj("ミオ（ねむい）"_sj)},
      {"bracket first", Sj("「おはよう。」"_sj), Sj("「おはよう。」"_sj)},
      {"narration", Sj("朝の丘。"_sj), Sj("朝の丘。"_sj)},
      {"at-sign alone", Sj("＠レン"_sj), Sj("レン\n"_sj)},
  };
  for (const Case& c : cases) EXPECT_EQ(BacklogTextOf(SplitSpeaker(c.message)), c.kept) << c.name;
}

TEST_F(Reading, AClickCompletesTheTextAndTheNextEndsThePage) {
  Load("太郎「あいうえおかきくけこ」\n\nA=1\n"_sj);
  run.Frame();
  EXPECT_EQ(Speaker(), Sj("太郎"_sj));
  EXPECT_EQ(Spoken(), Sj("「あいうえおかきくけこ」"_sj));
  EXPECT_FALSE(IsTextBoxDone(0));
  run.Frame(1, Click());
  EXPECT_TRUE(IsTextBoxDone(0));
  EXPECT_EQ(Var("A"), 0);
  EXPECT_EQ(EngineState.presentation.message.prompt, 0);
  run.Frame();
  EXPECT_EQ(EngineState.presentation.message.prompt, 1);
  run.Frame(1, Click());
  EXPECT_EQ(Var("A"), 1);
  EXPECT_EQ(EngineState.presentation.message.prompt, 0);
}

TEST_F(Reading, TheWheelEndsThePageOrOpensTheBacklog) {
  Config.effectsOn = false;
  Load("OPENWINDOW\nあ\n\nA=1\n"_sj);
  run.Frame(3);
  ASSERT_TRUE(IsTextBoxDone(0));
  run.Frame(1, Wheel(true));
  EXPECT_TRUE(BacklogOpen);
  EXPECT_EQ(Var("A"), 0);
  // While the backlog is open the script does not step; a right click closes it.
  run.Frame(1, RightClick());
  EXPECT_FALSE(BacklogOpen);
  run.Frame(1, Wheel(false));
  EXPECT_EQ(Var("A"), 1);
}

TEST_F(Reading, ScriptAutoPlayIgnoresClicksAndWaitsForTheVoice) {
  // 9 bytes of text: 9 x 100 / (10 + 1) = 81 frames once the text is shown.
  Load("VOICEPREFIX \"太郎\", \"A0100\"\nAUTOPLAYON 10\n＠太郎\nあ\n\nA=1\n"_sj);
  run.Frame(1);
  EXPECT_EQ(AutoPlayCounter, 81);
  EXPECT_EQ(IsVoicePlaying(), 1);
  run.Frame(60, Click());
  run.Frame(30, Click());
  EXPECT_EQ(Var("A"), 0);
  EXPECT_LE(AutoPlayCounter, 0);
  StopVoice();
  run.Frame();
  EXPECT_EQ(Var("A"), 1);
}

TEST_F(Reading, ThePlayersAutoModeTakesClicksAndEndsPagesAtSpeed8) {
  Config.autoOn = true;
  Config.autoSpeed = 1000;
  Load("あいう\n\nA=1\n"_sj);
  run.Frame(3, Click());
  run.Frame(1, Click());
  EXPECT_EQ(Var("A"), 1);

  // At text speed 8 the reveal takes over 30 frames, and the automatic end follows it.
  Config.messageSpeed = 8;
  Config.autoSpeed = 99;  // 6 bytes x 100 / 100 = 6 frames
  SetTextBoxProgress(0, Config.messageSpeed);
  Load("あいう\n\nB=1\n"_sj);
  int frames = 0;
  while (Var("B") == 0 && frames < 200) {
    run.Frame();
    ++frames;
  }
  // The reveal of three glyphs at 0.8 units a frame, then the six frames of the automatic end.
  EXPECT_GT(frames, 25);
  EXPECT_LT(frames, 60);
}

// An automatic page end takes the same time at any frame rate: 100 / (wait + 1) sixtieths of a second
// a byte, counted from the first frame that shows the whole text and ended by the first frame that
// reaches that time.
TEST_F(Reading, AutomaticPageEndsTakeTheSameTimeAtAnyFrameRate) {
  struct Case {
    const char* name;
    const char* script;
    bool playerAuto;
    int revealFrames;  // before the text is whole: the frame of the message itself
    int sixtieths;
  };
  const Case cases[] = {
      {"AUTOPLAYON, a page of six bytes", "AUTOPLAYON\nあいう\n\nA=1\n"_sj, false, 1, 6 * 100 / 51},
      {"KEYWAIT in the player's automatic mode", "KEYWAIT\nA=1\n", true, 0, 100 * 100 / 100},
  };
  for (const Case& c : cases) {
    for (int fps : {60, 30}) {
      SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(fps));
      for (ScriptSymbol& entry : EngineState.symbolTable) {
        if (entry.token == kTokenIdentifier) entry.value = 0;
      }
      EngineState.presentation.message.autoPlay = 0;
      Config.autoOn = c.playerAuto;
      Config.autoSpeed = 99;
      Config.messageSpeed = 99;  // shown whole at once
      SetTextBoxProgress(0, Config.messageSpeed);
      run.SetFps(fps);
      Load(c.script);
      int frames = 0;
      for (; frames < 1000 && Var("A") == 0; ++frames) run.Frame();
      EXPECT_EQ(frames - c.revealFrames, (c.sixtieths * fps + 59) / 60);
    }
  }
}

TEST_F(Reading, SkippingStopsAtTheFirstUnreadMessage) {
  Load("あ\n\nい\n\nB=1\n"_sj);
  run.Frame(1);
  run.Frame(3, Click());
  run.Frame(3, Click());
  ASSERT_EQ(Var("B"), 1);
  // The same two messages, then one never read.
  Load("あ\n\nい\n\nう\n\nA=1\n"_sj);
  FrameInputState skip{};
  skip.skipKey = true;
  run.Frame(1, skip);
  EXPECT_EQ(std::string(FixedText(EngineState.messageText)), Sj("あ"_sj));
  EXPECT_TRUE(CurrentTextRead);
  run.Frame(5, skip);
  EXPECT_EQ(std::string(FixedText(EngineState.messageText)), Sj("う"_sj));
  EXPECT_FALSE(CurrentTextRead);
  EXPECT_EQ(Var("A"), 0);
  run.Frame(2, skip);
  EXPECT_EQ(Var("A"), 0);
}

TEST_F(Reading, ReadTextDrawnFaintOrWhole) {
  Load("あいうえお\n\nあいうえお\n\nGOTO L\nLABEL L\n"_sj);
  run.Frame(1);
  run.Frame(1, Click());
  run.Frame(1, Click());
  Config.readTextAlpha = true;
  Config.readTextFast = true;
  Load("あいうえお\n\n"_sj);
  run.Frame(1);
  EXPECT_EQ(TextBoxes[0].opacity, 192);
  EXPECT_TRUE(IsTextBoxDone(0));
}

TEST_F(Reading, VoicesOfPrefixesAndSingleVoices) {
  Load(Sj("VOICEPREFIX \"太郎\", \"A0100\"\nVOICEPREFIX \"花子\", \"B0007\"\n"_sj) +
       Sj("太郎「一」\n\n花子「二」\n\n太郎「三」\n\n"_sj) + Sj("VOICEONCE \"v\"\nナレーション\n\n太郎「四」\n\n"_sj) +
       Sj("太郎「五」\n\n"_sj));
  const std::vector<std::string> expected = {"voice\\A0100.ogg", "voice\\B0007.ogg", "voice\\A0101.ogg", "",
                                             "voice\\v.ogg",     "voice\\A0102.ogg"};
  run.Frame(1);
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(LastVoice(), expected[i]) << i;
    run.Frame(1, Click());
    run.Frame(1, Click());
  }
}

TEST_F(Reading, AnActorSwitchedOffOrSkippingPlaysNoVoice) {
  Config.actorVoiceOn[0] = false;  // actor 1: series A
  Load("VOICEPREFIX \"太郎\", \"A0100\"\nVOICEPREFIX \"花子\", \"B0007\"\n太郎「一」\n\n花子「二」\n\n"_sj);
  run.Frame(1);
  EXPECT_EQ(LastVoice(), "voice\\A0100.ogg");
  EXPECT_FALSE(VoiceReader()->IsOpen());
  run.Frame(1, Click());
  run.Frame(1, Click());
  EXPECT_EQ(LastVoice(), "voice\\B0007.ogg");
  EXPECT_TRUE(VoiceReader()->IsOpen());
  EXPECT_TRUE(ActorVoiceOn("voice\\v.ogg"));
  EXPECT_TRUE(ActorVoiceOn("voice\\Q0001.ogg"));
  EXPECT_FALSE(ActorVoiceOn("voice\\A0001.ogg"));
}

TEST_F(Reading, KeyWaitEndsAtOnceAfterAMovie) {
  Load("KEYWAIT\nA=1\nKEYWAIT\nB=1\n");
  EngineState.presentation.message.movie = 1;
  run.Frame(1);
  EXPECT_EQ(Var("A"), 1);
  EXPECT_EQ(EngineState.presentation.message.movie, 0);
  run.Frame(3);
  EXPECT_EQ(Var("B"), 0);
  run.Frame(1, Click());
  EXPECT_EQ(Var("B"), 1);
}

TEST_F(Reading, TheWindowFadesInAndOutBy16AFrameAt60) {
  for (int fps : {60, 30}) {
    SCOPED_TRACE(fps);
    ScriptHarness harness;
    RegisterScriptCommands();
    harness.SetFps(fps);
    harness.Load(CrLf("OPENWINDOW\nKEYWAIT\nCLOSEWINDOW\nKEYWAIT\n"));
    const int step = 16 * 60 / fps;
    std::vector<int> opening;
    for (int i = 0; i < 20 && EngineState.presentation.window.state != 1; ++i) {
      harness.Frame();
      opening.push_back(EngineState.presentation.window.opacity);
    }
    std::vector<int> expected;
    for (int o = step; o < 200; o += step) expected.push_back(o);
    expected.push_back(200);
    EXPECT_EQ(opening, expected);
    harness.Frame(1, Click());
    EXPECT_EQ(EngineState.presentation.window.state, 3);
    EXPECT_EQ(EngineState.presentation.window.opacity, 200 - step);
    harness.Frame(200 / step);
    EXPECT_EQ(EngineState.presentation.window.state, 0);
    EXPECT_EQ(EngineState.presentation.window.opacity, 0);
  }
}

TEST_F(Reading, ReturnToGameAsksAndLeavesTheReplay) {
  Load("GOSUB S\nA=1\nEND\nLABEL S\nSTARTSCENEREPLAY\nKEYWAIT\nB=1\nRETURN\n");
  run.Frame(1);
  ASSERT_TRUE(SceneReplay);
  ASSERT_EQ(EngineState.interpreter.gosubDepth, 1);
  questions.SetAnswer(IDNO);
  ReturnToGame();
  ASSERT_EQ(questions.boxes().size(), 1u);
  EXPECT_EQ(questions.boxes()[0].text, Sj("ゲームに戻りますか？"_sj));
  EXPECT_EQ(questions.boxes()[0].caption, Sj("確認"_sj));
  EXPECT_EQ(questions.boxes()[0].flags, MB_YESNO | MB_ICONQUESTION);
  EXPECT_EQ(EngineState.interpreter.gosubDepth, 1);
  // Yes, through the frame: the right button on the hidden window.
  questions.SetAnswer(IDYES);
  WindowHidden = true;
  FrameInputState push{};
  push.rightHeld = true;
  run.Frame(1, push);
  EXPECT_FALSE(WindowHidden);
  EXPECT_FALSE(SceneReplay);
  EXPECT_EQ(EngineState.interpreter.gosubDepth, 0);
  EXPECT_EQ(Var("A"), 1);
  EXPECT_EQ(Var("B"), 0);
  // With no call open nothing is asked.
  questions.Clear();
  ReturnToGame();
  EXPECT_TRUE(questions.boxes().empty());
}

TEST_F(Reading, ReturnToTitleAsksAndStartsAgain) {
  Config.effectsOn = false;
  Load("A=A+1\nOPENWINDOW\nLOOPSE 2, \"s.wav\"\nあ\n\n"_sj);
  run.Frame(1);
  ASSERT_EQ(Var("A"), 1);
  ASSERT_NE(SeChannel(2), nullptr);
  questions.SetAnswer(IDNO);
  ReturnToTitle();
  EXPECT_EQ(EngineState.presentation.window.state, 1);
  questions.SetAnswer(IDYES);
  ReturnToTitle();
  ASSERT_EQ(questions.boxes().size(), 2u);
  EXPECT_EQ(questions.boxes()[1].text, Sj("本当にタイトルに戻りますか？"_sj));
  EXPECT_EQ(EngineState.presentation.window.state, 0);
  EXPECT_EQ(SeChannel(2), nullptr);
  EXPECT_FALSE(TextBoxes[0].visible);
  run.Frame(1);
  EXPECT_EQ(Var("A"), 2);
}

// A save taken during a message of two lines resumes at its first line: speaker, text and voice are
// those of the message, and the read marks stay where they were.
TEST_F(Reading, ASaveDuringAMessageResumesWithItsSpeakerAndVoice) {
  Load("VOICEPREFIX \"太郎\", \"A0100\"\n＠太郎\nこんにちは\n\nA=1\n"_sj);
  run.Frame(1);
  EXPECT_EQ(LastVoice(), "voice\\A0100.ogg");
  std::vector<int> read;
  for (int line = 0; line < 10; ++line) {
    if (IsLineRead(line)) read.push_back(line);
  }
  EXPECT_EQ(read, std::vector<int>{4});
  EXPECT_EQ(std::string(FixedText(EngineStateSnapshot.messageText)), Sj("こんにちは"_sj));
  run.Frame(1, Click());
  run.Frame(1, Click());
  ASSERT_EQ(Var("A"), 1);

  std::memcpy(&EngineState, &EngineStateSnapshot, sizeof EngineState);
  RestoreScriptLine();
  EngineState.presentation.message.namePresent = 0;
  run.Frame(1);
  EXPECT_EQ(Speaker(), Sj("太郎"_sj));
  EXPECT_EQ(Spoken(), Sj("こんにちは"_sj));
  EXPECT_EQ(LastVoice(), "voice\\A0100.ogg");
  for (int line = 0; line < 10; ++line) EXPECT_EQ(IsLineRead(line), line == 4) << line;
}

TEST_F(Reading, HostileTextNeitherCrashesNorOverruns) {
  std::string longName;
  for (int i = 0; i < 1000; ++i) longName += Sj("あ"_sj);
  std::string script = Sj("＠"_sj) + longName + "\n" + Sj("い"_sj) + "\n\n";
  script += longName + Sj("「う」"_sj) + "\n\n";
  script += "SELECT \"1\", \"2\", \"3\", \"4\", \"5\", \"6\"\n";
  script += "VOICEONCE \"" + std::string(255, 'A') + "\"\n";
  script += Sj("太郎「え」"_sj) + "\n\n";
  script += "\x82\n\n";  // a lead byte without its trail byte
  script += "A=1\n";
  Load(script);
  run.Frame(1);
  EXPECT_EQ(std::strlen(EngineState.presentation.message.speakerName), 254u);
  for (int i = 0; i < 12; ++i) run.Frame(1, Click());
  EXPECT_EQ(Var("A"), 1);
  EXPECT_EQ(ChoiceCount, kChoiceCount);
  // A voice path longer than the backlog's field is not kept there at all.
  for (int i = 0; i < Backlog.count; ++i) EXPECT_LT(std::strlen(Backlog.lines[i].voice), 32u);
}

TEST_F(Reading, GetSelectWaitsAndSaysWhyOnce) {
  Config.effectsOn = false;
  Load("OPENWINDOW\nSELECT \"yes\", \"no\"\nGETSELECT\nA=1\n");
  run.Frame(5, Click());
  EXPECT_EQ(ChoiceCount, 2);
  EXPECT_STREQ(Choices[1].text, "no");
  EXPECT_EQ(Var("A"), 0);
  EXPECT_EQ(run.Log().size(), 1u);
  // The backlog opens while it waits.
  run.Frame(1, Wheel(true));
  EXPECT_TRUE(BacklogOpen);
}

// At speed 0 nothing reveals by itself: the page is shown whole, so auto-play still ends it.
TEST_F(Reading, AtTextSpeedZeroThePageIsShownWhole) {
  Config.messageSpeed = 0;
  SetTextBoxProgress(0, 0);
  Load("AUTOPLAYON 0\nあいうえお\n\nA=1\n"_sj);
  run.Frame(1);
  EXPECT_TRUE(IsTextBoxDone(0));
  run.Frame(1100);
  EXPECT_EQ(Var("A"), 1);
}

}  // namespace

namespace {

TEST_F(Reading, ReturnToGameWithAMissingFrameReportsItAndChangesNothing) {
  Load("GOSUB S\nEND\nLABEL S\nKEYWAIT\nRETURN\n");
  run.Frame(1);
  ASSERT_EQ(EngineState.interpreter.gosubDepth, 1);
  EngineState.interpreter.gosubDepth = 2;  // a depth whose frame was never made
  SceneReplay = true;
  questions.SetAnswer(IDYES);
  ReturnToGame();
  EXPECT_EQ(EngineState.interpreter.gosubDepth, 2);
  EXPECT_TRUE(SceneReplay);
  ASSERT_EQ(run.Log().size(), 1u);
  EXPECT_NE(run.Log()[0].find("GS:2"), std::string::npos);
}

TEST_F(Reading, VoicePrefixTableAndChoiceLimits) {
  std::string script;
  for (int i = 0; i < 33; ++i) script += "VOICEPREFIX \"s" + std::to_string(i) + "\", \"B0007\"\n";
  script += "VOICEPREFIX \"s3\", \"C0020\"\n";
  script += "SELECT \"" + std::string(1100, 'x') + "\"\n";
  Load(script);
  run.Frame(1);
  const VoicePrefix* prefixes = EngineState.presentation.message.voicePrefixes;
  EXPECT_STREQ(prefixes[31].speaker, "s31");
  for (int i = 0; i < kVoicePrefixCount; ++i) EXPECT_STRNE(prefixes[i].speaker, "s32");
  // The same speaker again takes its own entry, with the new series and counter.
  EXPECT_STREQ(prefixes[3].series, "C0020");
  EXPECT_EQ(prefixes[3].counter, 20);
  EXPECT_EQ(prefixes[4].counter, 7);
  ASSERT_EQ(ChoiceCount, 1);
  EXPECT_EQ(std::strlen(Choices[0].text), 1035u);
}

}  // namespace
