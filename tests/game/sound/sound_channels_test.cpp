#include "game/sound/sound_channels.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

#include "game/script/message_log.h"
#include "game/script/script_commands.h"
#include "platform/clock.h"
#include "platform/sjis_literal.h"
#include "tests/game/fixtures/script_harness.h"
#include "tests/game/fixtures/sound_fixture.h"

namespace {

class SoundChannels : public testing::Test {
 protected:
  SoundChannels() {
    std::memset(&EngineState, 0, sizeof EngineState);
    SoundFolder::FullVolume();
    EXPECT_EQ(InitSound(), 1);
  }
  ~SoundChannels() override { Config.fps = 60; }

  SoundFolder folder;
};

TEST(SoundVolume, AttenuationTable) {
  struct Case {
    int32_t master;
    int32_t volume;
    int32_t attenuation;
  };
  const Case cases[] = {{100, 100, 0}, {100, 50, -1500}, {100, 0, -3000}, {50, 100, -1500},   {0, 100, -3000},
                        {0, 0, -3000}, {100, 33, -2010}, {100, 200, 0},   {100, -400, -10000}};
  const int32_t saved = Config.masterVolume;
  for (const Case& c : cases) {
    Config.masterVolume = c.master;
    EXPECT_EQ(VolumeToAttenuation(c.volume), c.attenuation) << c.master << " " << c.volume;
  }
  Config.masterVolume = saved;
}

// The old piece falls by 60/fps points a frame, the new one rises by one point a frame from 80.
TEST_F(SoundChannels, CrossFadeAt60And30FramesASecond) {
  for (int fps : {60, 30}) {
    SCOPED_TRACE(fps);
    Config.fps = fps;
    ASSERT_EQ(PlayBgm("a.ogg", 0, 1), 1);
    const int first = CurrentBgm;
    for (int i = 0; i < 25; ++i) UpdateSound();
    EXPECT_EQ(BgmLevel[first], 100);
    ASSERT_EQ(PlayBgm("b.ogg", 0, 1), 1);
    const int second = CurrentBgm;
    ASSERT_NE(first, second);
    EXPECT_EQ(BgmLevel[second], 80);
    const int fall = 60 / fps;
    for (int frame = 1; frame <= 100 / fall; ++frame) {
      UpdateSound();
      const float oldLevel = 100.0f - static_cast<float>(frame * fall);
      const float newLevel = std::min(100.0f, 80.0f + static_cast<float>(frame));
      ASSERT_EQ(BgmLevel[second], newLevel) << frame;
      if (oldLevel > 0) {
        ASSERT_EQ(BgmLevel[first], oldLevel) << frame;
        ASSERT_EQ(SoundFolder::Attenuation(BgmBuffer(first)),
                  VolumeToAttenuation(static_cast<int32_t>(oldLevel * 0.01 * 100)));
      }
      if (newLevel < 100) {
        ASSERT_EQ(SoundFolder::Attenuation(BgmBuffer(second)),
                  VolumeToAttenuation(static_cast<int32_t>(newLevel * 0.01 * 100)));
      }
    }
    // The frame after the level passed 0 stops the old channel and closes its reader.
    UpdateSound();
    EXPECT_EQ(BgmLevel[first], 0);
    EXPECT_EQ(BgmFadeStep[first], 0);
    EXPECT_FALSE(BgmReader(first)->IsOpen());
    EXPECT_FALSE(BgmBuffer(first)->IsPlaying());
    EXPECT_EQ(EngineState.music[first].active, 0);
    EXPECT_EQ(EngineState.music[second].active, 1);
    FadeOutBgm();
    for (int i = 0; i < 60; ++i) UpdateSound();
  }
}

TEST_F(SoundChannels, StopBgmTakes50FramesAndTheSameNameStartsAgain) {
  ASSERT_EQ(PlayBgm("a.ogg", 0, 1), 1);
  // The first piece after start plays on channel 1.
  EXPECT_EQ(CurrentBgm, 1);
  for (int i = 0; i < 20; ++i) UpdateSound();
  // The same name while it plays changes nothing, not even the loop mode.
  ASSERT_EQ(PlayBgm("a.ogg", 0, 0), 1);
  EXPECT_EQ(CurrentBgm, 1);
  EXPECT_EQ(BgmReader(1)->GetLoopCount(), -1);
  FadeOutBgm();
  EXPECT_STREQ(EngineState.music[0].name, "");
  EXPECT_EQ(EngineState.music[1].active, 0);
  for (int i = 0; i < 50; ++i) UpdateSound();
  EXPECT_TRUE(BgmReader(1)->IsOpen());
  UpdateSound();
  EXPECT_FALSE(BgmReader(1)->IsOpen());
  ASSERT_EQ(PlayBgm("a.ogg", 0, 1), 1);
  EXPECT_EQ(CurrentBgm, 0);
  EXPECT_TRUE(BgmBuffer(0)->IsPlaying());
}

TEST_F(SoundChannels, ARestoredPieceResumesLooping) {
  ASSERT_EQ(PlayBgm("a.ogg", 0, 0), 1);
  EXPECT_EQ(BgmReader(CurrentBgm)->GetLoopCount(), 0);
  MusicRecord saved[2];
  std::memcpy(saved, EngineState.music, sizeof saved);
  FadeOutBgm();
  for (int i = 0; i < 60; ++i) UpdateSound();
  std::memcpy(EngineState.music, saved, sizeof saved);
  ResumeBgm();
  EXPECT_STREQ(EngineState.music[0].name, "a.ogg");
  EXPECT_TRUE(BgmBuffer(CurrentBgm)->IsPlaying());
  EXPECT_EQ(BgmReader(CurrentBgm)->GetLoopCount(), -1);
}

TEST_F(SoundChannels, SwitchedOffChannelsAreSilent) {
  Config.bgm.on = false;
  ASSERT_EQ(PlayBgm("a.ogg", 0, 1), 1);
  EXPECT_STREQ(EngineState.music[0].name, "a.ogg");
  EXPECT_FALSE(BgmReader(0)->IsOpen());
  EXPECT_FALSE(BgmReader(1)->IsOpen());

  Config.voice.on = false;
  PlayVoice("voice/v.ogg", 0);
  EXPECT_FALSE(VoiceReader()->IsOpen());
  EXPECT_EQ(IsVoicePlaying(), 0);

  Config.se.on = false;
  PlaySe(0, "s.wav", 0);
  ASSERT_NE(SeChannel(0), nullptr);
  EXPECT_EQ(SeChannel(0)->GetVolume(), kSilentAttenuation);
  Config.se = {0, true};
  ApplySoundSettings();
  EXPECT_EQ(SeChannel(0)->GetVolume(), -3000);

  // Music switched off while it plays falls silent with the next fade step.
  Config.bgm.on = true;
  EngineState.music[0].name[0] = '\0';
  ASSERT_EQ(PlayBgm("a.ogg", 0, 1), 1);
  Config.bgm.on = false;
  UpdateSound();
  EXPECT_EQ(SoundFolder::Attenuation(BgmBuffer(CurrentBgm)), kSilentAttenuation);
}

TEST_F(SoundChannels, MusicDucksUnderAVoice) {
  Config.bgmDownForVoice = true;
  Config.bgm.volume = 80;
  ASSERT_EQ(PlayBgm("a.ogg", 0, 1), 1);
  for (int i = 0; i < 30; ++i) UpdateSound();
  EXPECT_EQ(SoundFolder::Attenuation(BgmBuffer(CurrentBgm)), VolumeToAttenuation(80));
  PlayVoice("voice/v.ogg", 0);
  EXPECT_EQ(IsVoicePlaying(), 1);
  UpdateSound();
  EXPECT_EQ(SoundFolder::Attenuation(BgmBuffer(CurrentBgm)), VolumeToAttenuation(72));
  StopVoice();
  UpdateSound();
  EXPECT_EQ(SoundFolder::Attenuation(BgmBuffer(CurrentBgm)), VolumeToAttenuation(80));
}

TEST_F(SoundChannels, EffectChannelsAndSystemSounds) {
  PlaySe(32, "s.wav", 0);
  PlaySe(-1, "s.wav", 0);
  EXPECT_EQ(SeChannel(32), nullptr);
  EXPECT_EQ(SeChannel(-1), nullptr);
  for (int c = 0; c < kSeChannelCount; ++c) EXPECT_EQ(SeChannel(c), nullptr);

  LoopSe(3, "s.wav");
  ASSERT_NE(SeChannel(3), nullptr);
  EXPECT_TRUE(SeChannel(3)->IsLoop());
  // Well past the sound's length it still plays.
  std::vector<int16_t> out(2 * 44100);
  platform::RenderAudio(out);
  EXPECT_TRUE(SeChannel(3)->IsPlay());
  StopSe(3);
  EXPECT_EQ(SeChannel(3), nullptr);

  PlaySe(4, "s.wav", 0);
  platform::RenderAudio(out);
  EXPECT_FALSE(SeChannel(4)->IsPlay());

  // Only the loaded system sounds play; other indices do nothing.
  PlaySystemSe(7);
  EXPECT_TRUE(SystemSound(7)->IsPlay());
  for (int index : {-1, 8, 32}) PlaySystemSe(index);
  EXPECT_EQ(SystemSound(8), nullptr);
}

// At the end of a session that left every effect channel looping, each sound still fades out, and
// the fades run together instead of one after another (25 ms for each of up to 64 sounds).
TEST_F(SoundChannels, SoundsStillPlayingAtTheEndFadeOutTogether) {
  for (int c = 0; c < kSeChannelCount; ++c) LoopSe(c, "s.wav");
  PlaySystemSe(7);
  platform::ManualClock clock(1000);
  std::vector<platform::AudioCall> calls;
  const platform::AudioCallHook previous = platform::SetAudioCallHook([&](const platform::AudioCall& c) {
    calls.push_back(c);
    if (c.kind == platform::AudioCall::kSetVolume) clock.Advance(1);  // each step takes a while
    return platform::DS_OK;
  });
  ReleaseSound();
  platform::SetAudioCallHook(previous);

  struct Seen {
    size_t firstStep = SIZE_MAX;  // the first volume set
    size_t stop = SIZE_MAX;
    int64_t lowest = 0;           // the lowest volume set before the stop
  };
  std::map<uint32_t, Seen> sounds;
  for (size_t i = 0; i < calls.size(); ++i) {
    Seen& seen = sounds[calls[i].buffer];
    if (calls[i].kind == platform::AudioCall::kSetVolume && seen.stop == SIZE_MAX) {
      seen.firstStep = std::min(seen.firstStep, i);
      seen.lowest = std::min(seen.lowest, calls[i].value);
    }
    if (calls[i].kind == platform::AudioCall::kStop) seen.stop = std::min(seen.stop, i);
  }
  size_t lastFirstStep = 0, firstStop = SIZE_MAX;
  int stopped = 0;
  for (const auto& [buffer, seen] : sounds) {
    if (seen.stop == SIZE_MAX) continue;
    ++stopped;
    EXPECT_EQ(seen.lowest, platform::DSBVOLUME_MIN) << buffer;
    lastFirstStep = std::max(lastFirstStep, seen.firstStep);
    firstStop = std::min(firstStop, seen.stop);
  }
  EXPECT_EQ(stopped, kSeChannelCount + 1);
  EXPECT_LT(lastFirstStep, firstStop) << "every fade has begun before the first sound stops";
}

TEST_F(SoundChannels, LongMusicNamesAreRefused) {
  ASSERT_EQ(PlayBgm("a.ogg", 0, 1), 1);
  const int playing = CurrentBgm;
  const std::string longName(256, 'x');
  EXPECT_EQ(PlayBgm(longName.c_str(), 0, 1), 0);
  EXPECT_EQ(CurrentBgm, playing);
  EXPECT_STREQ(EngineState.music[0].name, "a.ogg");
  EXPECT_EQ(PlayBgm("missing.ogg", 0, 1), 0);
  EXPECT_EQ(BgmFadeStep[playing], -1.0f);
}

TEST(SoundWithoutDevice, EveryFunctionDoesNothing) {
  SoundFolder folder;
  SoundFolder::FullVolume();
  std::memset(&EngineState, 0, sizeof EngineState);
  ReleaseSound();
  EXPECT_EQ(PlayBgm("a.ogg", 0, 1), 1);
  EXPECT_STREQ(EngineState.music[0].name, "a.ogg");
  FadeOutBgm();
  ResumeBgm();
  PlayVoice("voice/v.ogg", 0);
  EXPECT_EQ(IsVoicePlaying(), 0);
  StopVoice();
  PlaySystemSe(7);
  ApplySoundSettings();
  UpdateSound();
  EXPECT_EQ(BgmBuffer(0), nullptr);
  EXPECT_EQ(VoiceBuffer(), nullptr);
}

TEST_F(SoundChannels, CommandsReportAMissingMusicFileOnlyForBgm) {
  ScriptHarness harness;
  RegisterScriptCommands();
  harness.Load(
      CrLf("BGM \"missing.ogg\"\nBGMONCE \"missing.ogg\"\nSE 2, \"s.wav\"\nLOOPSE 5, \"s.wav\"\nSTOPSE 5\n"
           "BGM 1\n"));
  harness.Step(1);
  const auto log = harness.Log();
  ASSERT_EQ(log.size(), 2u) << testing::PrintToString(log);
  EXPECT_EQ(log[0], ErrorLine(1, "ファイルが見つかりません"_sj, "BGM \"missing.ogg\""));
  EXPECT_NE(log[1].find("bgm命令にファイル名の指定がありません"_sj), std::string::npos);
  EXPECT_NE(SeChannel(2), nullptr);
  EXPECT_EQ(SeChannel(5), nullptr);
}

}  // namespace
