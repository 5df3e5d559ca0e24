#include "platform/audio_mixer.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

using namespace platform;

WAVEFORMATEX Pcm(uint32_t rate, uint16_t channels, uint16_t bits) {
  WAVEFORMATEX f{};
  f.wFormatTag = WAVE_FORMAT_PCM;
  f.nChannels = channels;
  f.nSamplesPerSec = rate;
  f.wBitsPerSample = bits;
  f.nBlockAlign = static_cast<uint16_t>(channels * bits / 8);
  f.nAvgBytesPerSec = rate * f.nBlockAlign;
  return f;
}

class MixerTest : public testing::Test {
 protected:
  MixerTest() { SetAudioManualRender(true); }
  ~MixerTest() override {
    device.reset();  // before a sound card could open for it
    SetAudioManualRender(false);
  }

  std::unique_ptr<SoundBuffer> Make(const WAVEFORMATEX& f, const std::vector<uint8_t>& bytes,
                                    uint32_t flags = DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLFREQUENCY) {
    DSBUFFERDESC d;
    d.dwFlags = flags;
    d.dwBufferBytes = static_cast<uint32_t>(bytes.size());
    d.lpwfxFormat = &f;
    std::unique_ptr<SoundBuffer> b;
    EXPECT_EQ(device->CreateSoundBuffer(d, b), DS_OK);
    if (!b) return b;
    Write(*b, 0, bytes);
    return b;
  }

  static void Write(SoundBuffer& b, uint32_t offset, const std::vector<uint8_t>& bytes) {
    void *p1, *p2;
    uint32_t n1, n2;
    ASSERT_EQ(b.Lock(offset, static_cast<uint32_t>(bytes.size()), &p1, &n1, &p2, &n2, 0), DS_OK);
    std::memcpy(p1, bytes.data(), n1);
    if (n2) std::memcpy(p2, bytes.data() + n1, n2);
    ASSERT_EQ(b.Unlock(p1, n1, p2, n2), DS_OK);
  }

  static std::vector<int16_t> Render(uint32_t frames) {
    std::vector<int16_t> out(2 * frames);
    RenderAudio(out);
    return out;
  }

  static uint32_t PlayCursor(const SoundBuffer& b) {
    uint32_t play = 0, write = 0;
    EXPECT_EQ(b.GetCurrentPosition(&play, &write), DS_OK);
    return play;
  }

  std::unique_ptr<AudioDevice> device = std::make_unique<AudioDevice>();
};

// 16-bit mono samples from a function of the frame index.
template <class F>
std::vector<uint8_t> Mono16(uint32_t frames, F f) {
  std::vector<uint8_t> bytes(frames * 2);
  for (uint32_t i = 0; i < frames; ++i) {
    const auto v = static_cast<uint16_t>(static_cast<int16_t>(f(i)));
    bytes[2 * i] = static_cast<uint8_t>(v);
    bytes[2 * i + 1] = static_cast<uint8_t>(v >> 8);
  }
  return bytes;
}

int16_t Ramp(uint32_t i) { return static_cast<int16_t>(static_cast<int>(i * 37 % 20000) - 10000); }

TEST_F(MixerTest, ManualModeOpensNoCard) {
  EXPECT_TRUE(device->IsOpen());
  EXPECT_FALSE(AudioCardOpen());
  EXPECT_GE(AudioDeviceUsers(), 1u);
}

TEST_F(MixerTest, GainFollowsTheAttenuationAndMinimumIsExactSilence) {
  struct Case {
    const char* name;
    int32_t volume;
  };
  for (const Case& c : {Case{"full", 0}, Case{"-6 dB", -600}, Case{"-20 dB", -2000}, Case{"silence", -10000}}) {
    SCOPED_TRACE(c.name);
    auto b = Make(Pcm(44100, 1, 16), Mono16(4096, Ramp));
    ASSERT_EQ(b->SetVolume(c.volume), DS_OK);
    ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    const auto out = Render(2048);
    const double gain = c.volume == -10000 ? 0.0 : std::pow(10.0, c.volume / 2000.0);
    for (uint32_t i = 0; i < 2048; ++i) {
      const double expected = Ramp(i) * gain;
      ASSERT_NEAR(out[2 * i], expected, 1.0) << i;
      ASSERT_EQ(out[2 * i], out[2 * i + 1]) << "mono is heard on both sides";
      if (c.volume == -10000) {
        ASSERT_EQ(out[2 * i], 0);
      }
    }
  }
}

TEST_F(MixerTest, VolumeChangeWhilePlayingRampsOverFiveMilliseconds) {
  auto b = Make(Pcm(44100, 1, 16), Mono16(4096, [](uint32_t) { return 20000; }));
  ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  Render(10);
  ASSERT_EQ(b->SetVolume(-10000), DS_OK);
  const auto out = Render(400);
  EXPECT_GT(out[0], 19000);
  EXPECT_GT(out[2 * 100], 5000);
  EXPECT_LT(out[2 * 100], 15000);
  for (uint32_t i = kRampFrames; i < 400; ++i) ASSERT_EQ(out[2 * i], 0) << i;
}

TEST_F(MixerTest, OneShotEndsInsideTheRenderThatReachesItsEnd) {
  auto b = Make(Pcm(44100, 1, 16), Mono16(100, Ramp));
  ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
  const auto out = Render(1000);
  for (uint32_t i = 0; i < 100; ++i) ASSERT_EQ(out[2 * i], Ramp(i));
  for (uint32_t i = 100; i < 1000; ++i) ASSERT_EQ(out[2 * i], 0);
  uint32_t status = 99;
  ASSERT_EQ(b->GetStatus(&status), DS_OK);
  EXPECT_EQ(status & DSBSTATUS_PLAYING, 0u);
  EXPECT_EQ(PlayCursor(*b), 0u);
}

TEST_F(MixerTest, LoopWrapsSampleExactly) {
  auto b = Make(Pcm(44100, 1, 16), Mono16(100, Ramp));
  ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  const auto out = Render(250);
  for (uint32_t i = 0; i < 250; ++i) ASSERT_EQ(out[2 * i], Ramp(i % 100)) << i;
  EXPECT_EQ(PlayCursor(*b), 50u * 2);
  uint32_t status = 0;
  b->GetStatus(&status);
  EXPECT_EQ(status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
}

TEST_F(MixerTest, EightBitStereoAndMonoScaleToSixteenBits) {
  auto mono = Make(Pcm(44100, 1, 8), {0x80, 0xFF, 0x00, 0x90});
  ASSERT_EQ(mono->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  auto out = Render(4);
  const int16_t expected[] = {0, 127 * 256, -128 * 256, 16 * 256};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(out[2 * i], expected[i]);
    EXPECT_EQ(out[2 * i + 1], expected[i]);
  }
  mono.reset();
  auto stereo = Make(Pcm(44100, 2, 8), {0x81, 0x7F, 0x81, 0x7F});
  ASSERT_EQ(stereo->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  out = Render(1);
  EXPECT_EQ(out[0], 256);
  EXPECT_EQ(out[1], -256);
}

TEST_F(MixerTest, NewBufferHoldsTheFormatsSilence) {
  WAVEFORMATEX f = Pcm(44100, 1, 8);
  DSBUFFERDESC d;
  d.dwFlags = DSBCAPS_CTRLVOLUME;
  d.dwBufferBytes = 64;
  d.lpwfxFormat = &f;
  std::unique_ptr<SoundBuffer> b;
  ASSERT_EQ(device->CreateSoundBuffer(d, b), DS_OK);
  void *p1, *p2;
  uint32_t n1, n2;
  ASSERT_EQ(b->Lock(0, 0, &p1, &n1, &p2, &n2, DSBLOCK_ENTIREBUFFER), DS_OK);
  ASSERT_EQ(n1, 64u);
  for (uint32_t i = 0; i < n1; ++i) EXPECT_EQ(static_cast<uint8_t*>(p1)[i], 0x80);
  EXPECT_EQ(b->Unlock(p1, n1, p2, n2), DS_OK);
}

TEST_F(MixerTest, ResamplesLinearlyWithExactCursors) {
  // 22,050 Hz into 44,100: every other output frame is a source frame, the others halfway.
  auto half = Make(Pcm(22050, 1, 16), Mono16(1000, Ramp));
  ASSERT_EQ(half->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  auto out = Render(1000);
  for (uint32_t i = 0; i + 1 < 1000; i += 2) {
    ASSERT_EQ(out[2 * i], Ramp(i / 2)) << i;
    ASSERT_NEAR(out[2 * i + 2], (Ramp(i / 2) + Ramp(i / 2 + 1)) / 2.0, 1.0) << i;
  }
  EXPECT_EQ(PlayCursor(*half), 500u * 2);
  half.reset();

  // The same through SetFrequency on a 44,100 Hz buffer, and back to its own rate with 0.
  auto b = Make(Pcm(44100, 1, 16), Mono16(1000, Ramp));
  ASSERT_EQ(b->SetFrequency(22050), DS_OK);
  uint32_t hz = 0;
  ASSERT_EQ(b->GetFrequency(&hz), DS_OK);
  EXPECT_EQ(hz, 22050u);
  ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  out = Render(600);
  EXPECT_EQ(out[2 * 598], Ramp(299));
  EXPECT_EQ(PlayCursor(*b), 300u * 2);
  ASSERT_EQ(b->SetFrequency(0), DS_OK);
  b->GetFrequency(&hz);
  EXPECT_EQ(hz, 44100u);
  Render(100);
  EXPECT_EQ(PlayCursor(*b), 400u * 2);
  EXPECT_EQ(b->SetFrequency(99), DSERR_INVALIDPARAM);
  EXPECT_EQ(b->SetFrequency(100001), DSERR_INVALIDPARAM);
}

TEST_F(MixerTest, NotificationsCountEveryCrossingOfTheWrapInOneLongRender) {
  auto b = Make(Pcm(44100, 2, 16), std::vector<uint8_t>(4000), DSBCAPS_CTRLPOSITIONNOTIFY | DSBCAPS_CTRLVOLUME);
  auto mid = std::make_shared<CountingEvent>();
  auto last = std::make_shared<CountingEvent>();
  const DSBPOSITIONNOTIFY notes[] = {{1000, mid}, {3999, last}};
  ASSERT_EQ(b->SetNotificationPositions(notes), DS_OK);
  ASSERT_EQ(b->SetCurrentPosition(3000), DS_OK);
  ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  EXPECT_EQ(b->SetNotificationPositions(notes), DSERR_INVALIDCALL);
  // From frame 750 for 2,750 frames: the last frame (999) is passed three times, frame 250 three
  // times (1250, 2250, 3250 unwrapped).
  Render(2750);
  EXPECT_EQ(mid->Count(), 3u);
  EXPECT_EQ(last->Count(), 3u);
  EXPECT_EQ(PlayCursor(*b), 500u * 4);
  // A cursor that stops exactly on a notification's frame has not passed it yet.
  mid->Reset();
  last->Reset();
  Render(750);  // frames 500..1249 unwrapped: the wrap, but not frame 250
  EXPECT_EQ(mid->Count(), 0u);
  EXPECT_EQ(last->Count(), 1u);
  Render(1);
  EXPECT_EQ(mid->Count(), 1u);
}

TEST_F(MixerTest, DuplicatePlaysAfterItsOriginalIsReleased) {
  auto original = Make(Pcm(44100, 1, 16), Mono16(300, Ramp));
  ASSERT_EQ(original->SetVolume(-600), DS_OK);
  std::unique_ptr<SoundBuffer> dup;
  ASSERT_EQ(device->DuplicateSoundBuffer(*original, dup), DS_OK);
  int32_t v = 0;
  dup->GetVolume(&v);
  EXPECT_EQ(v, -600);
  ASSERT_EQ(dup->SetVolume(0), DS_OK);
  original.reset();
  ASSERT_EQ(dup->Play(0, 0, 0), DS_OK);
  const auto out = Render(300);
  for (uint32_t i = 0; i < 300; ++i) ASSERT_EQ(out[2 * i], Ramp(i)) << i;
}

TEST_F(MixerTest, LockWrapsAndWritesBackOnUnlock) {
  auto b = Make(Pcm(44100, 1, 16), std::vector<uint8_t>(200));
  void *p1, *p2;
  uint32_t n1, n2;
  ASSERT_EQ(b->Lock(160, 100, &p1, &n1, &p2, &n2, 0), DS_OK);
  EXPECT_EQ(n1, 40u);
  EXPECT_EQ(n2, 60u);
  ASSERT_NE(p2, nullptr);
  std::memset(p1, 0x11, n1);
  std::memset(p2, 0x22, n2);
  // Nothing is heard of the copy before Unlock.
  ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  auto out = Render(100);
  for (int16_t s : out) ASSERT_EQ(s, 0);
  ASSERT_EQ(b->Unlock(p1, n1, p2, n2), DS_OK);
  out = Render(100);
  EXPECT_EQ(out[0], 0x2222);
  EXPECT_EQ(out[2 * 29], 0x2222);
  EXPECT_EQ(out[2 * 30], 0);
  EXPECT_EQ(out[2 * 80], 0x1111);
  EXPECT_EQ(b->Unlock(p1, n1, p2, n2), DSERR_INVALIDPARAM) << "a region is written back once";
}

TEST_F(MixerTest, StopKeepsThePositionAndPlayResumesFromIt) {
  auto b = Make(Pcm(44100, 1, 16), Mono16(4000, Ramp));
  ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  Render(300);
  uint32_t play = 0, write = 0;
  b->GetCurrentPosition(&play, &write);
  EXPECT_EQ(play, 600u);
  EXPECT_EQ(write, 600u + kMixPeriodFrames * 2) << "the write cursor leads by one period";
  ASSERT_EQ(b->Stop(), DS_OK);
  Render(300);
  EXPECT_EQ(PlayCursor(*b), 600u);
  ASSERT_EQ(b->SetCurrentPosition(1001), DS_OK);
  EXPECT_EQ(PlayCursor(*b), 1000u) << "rounded down to the block";
  ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
  const auto out = Render(1);
  EXPECT_EQ(out[0], Ramp(500));
}

TEST_F(MixerTest, StoppingAnAudibleBufferFadesItsOutputWithinTheRamp) {
  auto b = Make(Pcm(44100, 1, 16), Mono16(4000, [](uint32_t) { return 16000; }));
  ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  Render(100);
  ASSERT_EQ(b->Stop(), DS_OK);
  uint32_t status = 1;
  b->GetStatus(&status);
  EXPECT_EQ(status, 0u) << "the state stops at once";
  const auto out = Render(400);
  EXPECT_GT(out[0], 15000);
  for (uint32_t i = 1; i < kRampFrames; ++i) ASSERT_LE(out[2 * i], out[2 * i - 2]);
  for (uint32_t i = kRampFrames; i < 400; ++i) ASSERT_EQ(out[2 * i], 0) << i;
  EXPECT_EQ(PlayCursor(*b), 200u);
}

// A sound started again restarts the way the whole-file sounds and the films do it: position
// and stop, or stop and position, then play. Only what the mixer rendered since the first start
// fades out under the new start.
TEST_F(MixerTest, AStartAgainBeforeTheMixerReachedTheBufferSoundsOnce) {
  const struct {
    const char* name;
    uint32_t heardFrames;  // rendered between the two starts
    bool positionFirst;
  } kCases[] = {
      {"sound, within one period", 0, true},
      {"film, within one period", 0, false},
      {"sound, after 100 frames", 100, true},
      {"film, after 100 frames", 100, false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    auto b = Make(Pcm(44100, 1, 16), Mono16(4000, Ramp));
    ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
    Render(c.heardFrames);
    if (c.positionFirst) {
      ASSERT_EQ(b->SetCurrentPosition(0), DS_OK);
    }
    ASSERT_EQ(b->Stop(), DS_OK);
    ASSERT_EQ(b->SetCurrentPosition(0), DS_OK);
    ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
    const auto out = Render(2 * kRampFrames);
    // What was heard fades on from where it was, never from the new start.
    EXPECT_EQ(out[0], c.heardFrames ? Ramp(0) + Ramp(c.heardFrames) : Ramp(0));
    for (uint32_t i = c.heardFrames ? kRampFrames : 0; i < 2 * kRampFrames; ++i) ASSERT_EQ(out[2 * i], Ramp(i)) << i;
  }
}

TEST_F(MixerTest, VoicesAreSummedAndSaturated) {
  auto a = Make(Pcm(44100, 1, 16), Mono16(10, [](uint32_t) { return 30000; }));
  auto c = Make(Pcm(44100, 1, 16), Mono16(10, [](uint32_t) { return 10000; }));
  auto d = Make(Pcm(44100, 1, 16), Mono16(10, [](uint32_t) { return -20000; }));
  a->Play(0, 0, DSBPLAY_LOOPING);
  c->Play(0, 0, DSBPLAY_LOOPING);
  EXPECT_EQ(Render(1)[0], 32767);
  d->Play(0, 0, DSBPLAY_LOOPING);
  EXPECT_EQ(Render(1)[0], 20000);
}

TEST_F(MixerTest, RefusesBadFormatsSizesAndFlags) {
  struct Case {
    const char* name;
    WAVEFORMATEX format;
    uint32_t bytes;
    uint32_t flags;
    HRESULT expected;
  };
  WAVEFORMATEX misaligned = Pcm(44100, 2, 16);
  misaligned.nBlockAlign = 2;
  WAVEFORMATEX adpcm = Pcm(44100, 1, 16);
  adpcm.wFormatTag = WAVE_FORMAT_ADPCM;
  const Case cases[] = {
      {"rate 0", Pcm(0, 1, 16), 100, 0, DSERR_BADFORMAT},
      {"rate 99", Pcm(99, 1, 16), 100, 0, DSERR_BADFORMAT},
      {"rate 100001", Pcm(100001, 1, 16), 100, 0, DSERR_BADFORMAT},
      {"24 bits", Pcm(44100, 1, 24), 120, 0, DSERR_BADFORMAT},
      {"3 channels", Pcm(44100, 3, 16), 120, 0, DSERR_BADFORMAT},
      {"block align", misaligned, 100, 0, DSERR_BADFORMAT},
      {"not PCM", adpcm, 100, 0, DSERR_BADFORMAT},
      {"empty", Pcm(44100, 1, 16), 0, 0, DSERR_INVALIDPARAM},
      {"3 bytes", Pcm(44100, 1, 8), 3, 0, DSERR_INVALIDPARAM},
      {"too big", Pcm(44100, 1, 16), kMaxBufferBytes + 1, 0, DSERR_INVALIDPARAM},
      {"smaller than a frame", Pcm(44100, 2, 16), 4, 0, DS_OK},
      {"unknown flag", Pcm(44100, 1, 16), 100, 0x40, DSERR_INVALIDPARAM},
      {"smallest", Pcm(100, 1, 8), 4, 0xA0, DS_OK},
      {"stream flags", Pcm(44100, 2, 16), 400, 0x8188, DS_OK},
      {"movie flags", Pcm(22050, 1, 8), 400, 0x18180, DS_OK},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DSBUFFERDESC d;
    d.dwFlags = c.flags;
    d.dwBufferBytes = c.bytes;
    d.lpwfxFormat = &c.format;
    std::unique_ptr<SoundBuffer> b;
    EXPECT_EQ(device->CreateSoundBuffer(d, b), c.expected);
    EXPECT_EQ(b != nullptr, c.expected == DS_OK);
  }
}

TEST_F(MixerTest, ControlsMissingFromTheFlagsAreRefused) {
  auto b = Make(Pcm(44100, 1, 16), std::vector<uint8_t>(100), 0);
  int32_t v = 0;
  EXPECT_EQ(b->SetVolume(-100), DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(b->GetVolume(&v), DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(b->SetFrequency(22050), DSERR_CONTROLUNAVAIL);
  auto e = std::make_shared<CountingEvent>();
  const DSBPOSITIONNOTIFY n[] = {{10, e}};
  EXPECT_EQ(b->SetNotificationPositions(n), DSERR_CONTROLUNAVAIL);
}

TEST_F(MixerTest, LostBuffersRefusePlayAndLockUntilRestored) {
  auto b = Make(Pcm(44100, 1, 16), Mono16(100, Ramp));
  b->Play(0, 0, DSBPLAY_LOOPING);
  LoseAllAudioBuffers();
  uint32_t status = 0;
  b->GetStatus(&status);
  EXPECT_EQ(status, DSBSTATUS_BUFFERLOST);
  EXPECT_EQ(b->Play(0, 0, 0), DSERR_BUFFERLOST);
  void *p1, *p2;
  uint32_t n1, n2;
  EXPECT_EQ(b->Lock(0, 10, &p1, &n1, &p2, &n2, 0), DSERR_BUFFERLOST);
  EXPECT_EQ(b->Restore(), DS_OK);
  EXPECT_EQ(b->Play(0, 0, 0), DS_OK);
}

TEST_F(MixerTest, CallHookSeesCallsAndCanFailThem) {
  auto b = Make(Pcm(44100, 1, 16), Mono16(100, Ramp));
  std::vector<AudioCall> calls;
  auto previous = SetAudioCallHook([&](const AudioCall& c) {
    calls.push_back(c);
    return c.kind == AudioCall::kLock ? DSERR_GENERIC : DS_OK;
  });
  b->SetVolume(-300);
  void *p1, *p2;
  uint32_t n1, n2;
  EXPECT_EQ(b->Lock(0, 10, &p1, &n1, &p2, &n2, 0), DSERR_GENERIC);
  SetAudioCallHook(previous);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].kind, AudioCall::kSetVolume);
  EXPECT_EQ(calls[0].value, -300);
  EXPECT_EQ(calls[0].buffer, b->Id());
  EXPECT_EQ(calls[1].kind, AudioCall::kLock);
}

TEST(AudioDevice, TheDummyCardOpensWithTheFirstHandleAndClosesWithTheLast) {
  SetAudioManualRender(false);
  const uint32_t before = AudioDeviceUsers();
  {
    AudioDevice a;
    if (!a.IsOpen()) GTEST_SKIP() << "no audio output available";
    EXPECT_TRUE(AudioCardOpen());
    {
      AudioDevice b;
      EXPECT_EQ(AudioDeviceUsers(), before + 2);
    }
    EXPECT_TRUE(AudioCardOpen());
  }
  EXPECT_EQ(AudioDeviceUsers(), before);
  if (before == 0) {
    EXPECT_FALSE(AudioCardOpen());
  }
}

}  // namespace
