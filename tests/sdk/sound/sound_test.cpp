#include "sdk/sound/sound.h"

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "sdk/sound/direct_sound.h"
#include "sound_fixtures.h"

namespace {

using namespace platform;
using sound_writer::WaveKind;

class Sound : public testing::Test {
 protected:
  Sound() { SetAudioManualRender(true); }
  ~Sound() override { SetAudioManualRender(false); }

  static std::vector<int16_t> Render(uint32_t frames) {
    std::vector<int16_t> out(2 * frames);
    RenderAudio(out);
    return out;
  }

  // Records the calls on buffers while it lives; an optional failure code for one kind of call.
  struct Calls {
    explicit Calls(ManualClock* clock = nullptr, AudioCall::Kind failing = AudioCall::kPlay, HRESULT code = DS_OK) {
      previous = SetAudioCallHook([=, this](const AudioCall& c) {
        seen.push_back(c);
        // The stop fade waits on the clock: each volume step takes a millisecond.
        if (clock && c.kind == AudioCall::kSetVolume) clock->Advance(1);
        return c.kind == failing ? code : DS_OK;
      });
    }
    ~Calls() { SetAudioCallHook(previous); }
    std::vector<AudioCall> seen;
    AudioCallHook previous;
  };

  SoundFiles files;
};

TEST_F(Sound, LoadsPlaysAndReportsItsLength) {
  CSound s;
  ASSERT_EQ(s.Load(files.Wave(WaveKind::kPcm16, "a.wav")), 0);
  EXPECT_EQ(s.GetLength(), 200);
  EXPECT_EQ(s.GetFrequency(), 22050);
  EXPECT_EQ(s.Play(), 0);
  EXPECT_EQ(s.IsPlay(), 1);
  const auto out = Render(2 * SoundFiles::kFrames + 10);
  EXPECT_EQ(out[0], files.Tone()[0]);
  EXPECT_EQ(out[4], files.Tone()[1]) << "22,050 Hz heard at 44,100";
  EXPECT_EQ(s.IsPlay(), 0) << "a one-shot ends by itself";
  EXPECT_EQ(s.GetCurrentPos(), 0);
}

TEST_F(Sound, PlayedTwiceBeforeTheMixerComesItStartsOnce) {
  CSound s;
  ASSERT_EQ(s.Load(files.Wave(WaveKind::kPcm16, "twice.wav")), 0);
  ASSERT_EQ(s.Play(), 0);
  ASSERT_EQ(s.Play(), 0);
  const auto out = Render(2 * kRampFrames);
  for (uint32_t i = 0; i < kRampFrames; ++i) ASSERT_EQ(out[4 * i], files.Tone()[i]) << i;
}

TEST_F(Sound, TheSecondLoadOfAFileSharesTheFirstsData) {
  const std::string path = files.Wave(WaveKind::kPcm16, "dup.wav");
  CSound a, b;
  ASSERT_EQ(a.Load(path), 0);
  std::vector<std::string> made;
  auto previous = SetReaderCandidateHook([&](std::string_view n) { made.emplace_back(n); });
  ASSERT_EQ(b.Load(path), 0);
  SetReaderCandidateHook(previous);
  EXPECT_TRUE(made.empty()) << "no reader for a duplicate";
  EXPECT_EQ(b.GetLength(), a.GetLength());
  EXPECT_EQ(b.FileName(), path);
  a.SetVolume(-10000);
  a.Play();
  b.Play();
  auto out = Render(100);
  EXPECT_EQ(out[40], files.Tone()[10]) << "each plays with its own volume";
  a.Release();
  b.Play();
  // Restarting fades out what was heard over the ramp; after it only the new start is heard.
  out = Render(300);
  EXPECT_EQ(out[2 * 250], files.Tone()[125]) << "the copy outlives its original's release";
}

TEST_F(Sound, FailedLoadsLeaveTheSoundEmpty) {
  struct Case {
    const char* name;
    std::string path;
    AudioCall::Kind failing;
    HRESULT code;
    int32_t expected;
  };
  std::vector<uint8_t> emptyData;
  PutTag(emptyData, "RIFF");
  Put32(emptyData, 36);
  PutTag(emptyData, "WAVE");
  PutTag(emptyData, "fmt ");
  Put32(emptyData, 16);
  for (uint32_t v : {1u, 1u}) Put16(emptyData, v);
  Put32(emptyData, 8000);
  Put32(emptyData, 16000);
  Put16(emptyData, 2);
  Put16(emptyData, 16);
  PutTag(emptyData, "data");
  Put32(emptyData, 0);
  const Case cases[] = {
      {"no file", files.Bytes("x.bin", {1, 2, 3}), AudioCall::kPlay, DS_OK, 1},
      {"no data, no buffer", files.Bytes("empty.wav", emptyData), AudioCall::kPlay, DS_OK, 7},
      {"lock fails", files.Wave(WaveKind::kPcm16, "l.wav"), AudioCall::kLock, DSERR_GENERIC, 8},
      {"unlock fails", files.Wave(WaveKind::kPcm16, "u.wav"), AudioCall::kUnlock, DSERR_INVALIDPARAM, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CSound s;
    ASSERT_EQ(s.Load(files.Wave(WaveKind::kPcm16, "before.wav")), 0);
    Calls calls(nullptr, c.failing, c.code);
    EXPECT_EQ(s.Load(c.path), c.expected);
    EXPECT_TRUE(s.FileName().empty());
    EXPECT_EQ(s.Play(), 1) << "nothing to play";
    EXPECT_EQ(s.GetCurrentPos(), -1);
    EXPECT_EQ(s.GetFrequency(), -1);
  }
}

TEST_F(Sound, AnEmptySoundIsHarmless) {
  CSound s;
  EXPECT_EQ(s.Load(""), 0);
  EXPECT_EQ(s.Play(), 1);
  EXPECT_EQ(s.SetVolume(-100), 1);
  EXPECT_EQ(s.GetVolume(), 1);
  EXPECT_EQ(s.GetCurrentPos(), -1);
  EXPECT_EQ(s.SetCurrentPos(10), -1);
  EXPECT_EQ(s.GetFrequency(), -1);
  EXPECT_EQ(s.SetFrequency(22050), 1);
  EXPECT_EQ(s.Stop(), 0);
  EXPECT_EQ(s.Pause(), 0);
  EXPECT_EQ(s.Replay(), 0);
  EXPECT_EQ(s.Release(), 0);
  EXPECT_EQ(s.Close(), 0);
  EXPECT_EQ(s.IsPlay(), 0);
}

TEST_F(Sound, StopFadesThroughTheVolumeThenRewinds) {
  ManualClock clock(1000);
  CSound s;
  ASSERT_EQ(s.Load(files.Wave(WaveKind::kPcm16, "fade.wav")), 0);
  s.SetLoop(1);
  ASSERT_EQ(s.Play(), 0);
  Render(100);
  Calls calls(&clock);
  ASSERT_EQ(s.Stop(), 0);
  std::vector<int64_t> volumes;
  size_t stopAt = 0;
  for (size_t i = 0; i < calls.seen.size(); ++i) {
    if (calls.seen[i].kind == AudioCall::kSetVolume) volumes.push_back(calls.seen[i].value);
    if (calls.seen[i].kind == AudioCall::kStop) stopAt = volumes.size();
  }
  ASSERT_GE(volumes.size(), 3u);
  EXPECT_EQ(volumes.front(), 0);
  for (size_t i = 1; i + 2 < volumes.size(); ++i) {
    EXPECT_EQ(volumes[i], -400 * static_cast<int64_t>(i)) << i;
    EXPECT_GE(volumes[i], -9600);
  }
  EXPECT_EQ(volumes[volumes.size() - 3], -9600);
  EXPECT_EQ(volumes[volumes.size() - 2], -10000);
  EXPECT_EQ(stopAt, volumes.size() - 1) << "stopped between silence and the old volume";
  EXPECT_EQ(volumes.back(), 0);
  EXPECT_EQ(calls.seen.back().kind, AudioCall::kSetCurrentPosition);
  EXPECT_EQ(calls.seen.back().value, 0);
  EXPECT_EQ(s.IsPlay(), 0);
  EXPECT_EQ(s.GetCurrentPos(), 0);
  EXPECT_EQ(s.GetVolume(), 0);
  // What was heard decays to silence within the ramp.
  const auto out = Render(400);
  EXPECT_NE(out[2], 0);
  for (uint32_t i = kRampFrames; i < 400; ++i) ASSERT_EQ(out[2 * i], 0) << i;
}

TEST_F(Sound, FromSilenceTheFadeStepIsZero) {
  ManualClock clock;
  CSound s;
  ASSERT_EQ(s.Load(files.Wave(WaveKind::kPcm16, "quiet.wav")), 0);
  s.SetVolume(-10000);
  s.Play();
  Calls calls(&clock);
  s.Stop();
  for (const AudioCall& c : calls.seen) {
    if (c.kind == AudioCall::kSetVolume) {
      EXPECT_EQ(c.value, -10000);
    }
  }
}

TEST_F(Sound, PausesNestAndStopKeepsAStoppedSoundsPosition) {
  CSound s;
  ASSERT_EQ(s.Load(files.Wave(WaveKind::kPcm16, "p.wav")), 0);
  s.SetLoop(1);
  s.Play();
  Render(2000);
  EXPECT_EQ(s.Pause(), 0);
  EXPECT_EQ(s.Pause(), 0);
  EXPECT_EQ(s.IsPlay(), 0);
  const int32_t at = s.GetCurrentPos();
  EXPECT_EQ(at, 2000 * 1000 / 44100) << "1,000 frames of 2 bytes at 44,100 bytes a second";
  EXPECT_EQ(s.Stop(), 0);
  EXPECT_EQ(s.GetCurrentPos(), at) << "Stop of a stopped sound does not rewind";
  EXPECT_EQ(s.Replay(), 0);
  EXPECT_EQ(s.IsPlay(), 0);
  EXPECT_EQ(s.Replay(), 0);
  EXPECT_EQ(s.IsPlay(), 1);
  EXPECT_EQ(s.GetCurrentPos(), at);
  EXPECT_EQ(s.Play(), 0);
  EXPECT_EQ(s.GetCurrentPos(), 0);
}

TEST_F(Sound, FrequencyAndPositionLimits) {
  CSound s;
  // 44,100 Hz stereo: 176,400 bytes a second.
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(sound_writer::MakeWave(WaveKind::kPcm16, sound_writer::Tone(44100, 2, 4410, 440, 1000), 44100, 2, bytes));
  ASSERT_EQ(s.Load(files.Bytes("st.wav", bytes)), 0);
  EXPECT_EQ(s.SetFrequency(99), 2);
  EXPECT_EQ(s.SetFrequency(100001), 2);
  EXPECT_EQ(s.GetFrequency(), 44100);
  EXPECT_EQ(s.SetFrequency(22050), 0);
  EXPECT_EQ(s.GetFrequency(), 22050);
  EXPECT_EQ(s.SetFrequency(0), 0);
  EXPECT_EQ(s.GetFrequency(), 44100);
  Calls calls;
  s.SetCurrentPos(30000);
  ASSERT_EQ(calls.seen.size(), 1u);
  EXPECT_EQ(calls.seen[0].value, 5292000);
}

TEST_F(Sound, LostBuffersAreReloadedWhenTheApplicationBecomesActive) {
  CSound a, b;
  ASSERT_EQ(a.Load(files.Wave(WaveKind::kPcm16, "lost.wav")), 0);
  ASSERT_EQ(b.Load(files.Wave(WaveKind::kImaAdpcm, "lost2.wav")), 0);
  a.Play();
  LoseAllAudioBuffers();
  EXPECT_EQ(a.IsPlay(), 0);
  EXPECT_EQ(a.Play(), 0) << "a lost buffer restores instead of playing";
  ASSERT_TRUE(Sounds().device);
  LoseAllAudioBuffers();
  EXPECT_EQ(Sounds().device->OnWindowMessage(nullptr, WM_ACTIVATEAPP, 0, 0), 0);
  EXPECT_EQ(a.Play(), 0);
  EXPECT_EQ(a.IsPlay(), 0) << "still lost while inactive";
  EXPECT_EQ(Sounds().device->OnWindowMessage(nullptr, WM_ACTIVATEAPP, 1, 0), 0);
  EXPECT_EQ(a.Play(), 0);
  EXPECT_EQ(a.IsPlay(), 1);
  EXPECT_GE(b.GetLength(), 200) << "the compressed sound was decoded again";
  EXPECT_EQ(b.Play(), 0);
  EXPECT_EQ(b.IsPlay(), 1);
}

TEST_F(Sound, TheDeviceComesWithTheFirstSoundAndGoesWithTheLast) {
  EXPECT_FALSE(Sounds().device);
  {
    CSound a;
    EXPECT_TRUE(SharedSoundDevice());
    {
      CSound b;
      EXPECT_EQ(Sounds().users, 2u);
    }
    EXPECT_TRUE(SharedSoundDevice());
  }
  EXPECT_FALSE(Sounds().device);
  EXPECT_EQ(Sounds().users, 0u);
}

}  // namespace

namespace {
// Held by a static that is destroyed after the sound library's own, as a game module's channels are.
std::unique_ptr<CSound> heldAtExit;
}  // namespace

TEST_F(Sound, ASoundStillPlayingAtExitLeavesCleanly) {
  const std::string path = files.Wave(WaveKind::kPcm16, "exit.wav");
  EXPECT_EXIT(
      {
        heldAtExit = std::make_unique<CSound>();
        if (heldAtExit->Load(path) != 0 || heldAtExit->Play() != 0) std::exit(2);
        std::exit(0);
      },
      testing::ExitedWithCode(0), "");
}
