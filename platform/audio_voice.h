// The state of one sound buffer inside the mixer, and the kernel that mixes it. Everything here is
// guarded by the mixer's mutex; the render side neither allocates nor frees.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/audio_mixer.h"

namespace platform {

// A gain that moves linearly to its target over a number of output frames.
struct RampedGain {
  float gain = 1.0f;
  float target = 1.0f;
  float delta = 0.0f;
  uint32_t left = 0;

  void Jump(float g) {
    gain = target = g;
    delta = 0.0f;
    left = 0;
  }
  void RampTo(float g, uint32_t frames) {
    target = g;
    left = frames;
    delta = (g - gain) / static_cast<float>(frames);
  }
  void Step() {
    if (left != 0 && --left == 0) {
      gain = target;
    } else if (left != 0) {
      gain += delta;
    }
  }
};

struct Voice {
  uint32_t id = 0;
  std::shared_ptr<std::vector<uint8_t>> data;  // shared with duplicates
  WAVEFORMATEX format{};
  uint32_t flags = 0;
  uint32_t bytes = 0;   // the buffer's size as made
  uint32_t frames = 0;  // whole frames in it: what plays and where the cursor wraps

  bool playing = false;
  bool looping = false;
  bool lost = false;
  uint64_t pos = 0;        // frame << 32 | fraction
  uint32_t frequency = 0;  // 0: the format's own rate
  uint64_t step = uint64_t{1} << 32;
  int32_t volume = 0;
  RampedGain gain;
  // Whether the mixer has rendered the voice since it last started, and where that left it: only
  // what was heard is faded out when it stops, from where it was heard.
  bool heard = false;
  uint64_t heardPos = 0;

  // What was heard when an audible buffer stopped, faded out on its own position.
  struct Tail {
    bool active = false;
    bool looping = false;
    uint64_t pos = 0;
    RampedGain gain;
  } tail;

  std::vector<DSBPOSITIONNOTIFY> notes;

  struct LockedCopy {
    std::unique_ptr<uint8_t[]> bytes;
    uint32_t offset = 0;
    uint32_t size1 = 0;
    uint32_t size2 = 0;
  };
  std::vector<LockedCopy> locks;

  uint32_t BlockAlign() const { return format.nBlockAlign; }
  uint32_t Rate() const { return frequency ? frequency : format.nSamplesPerSec; }
  void UpdateStep() { step = (static_cast<uint64_t>(Rate()) << 32) / kMixRate; }
};

// Gain of an attenuation in hundredths of a decibel; -10,000 and below give exactly 0.
float VolumeToGain(int32_t volume);

// Adds frames output frames of the voice (and of its fading tail) to acc (interleaved stereo),
// moves its cursor, ends a one-shot that reaches its end and signals the notifications passed.
void MixVoice(Voice& voice, float* acc, uint32_t frames);

// Converts the float sum to 16-bit samples, saturated.
void SaturateToInt16(const float* acc, int16_t* out, uint32_t samples);

}  // namespace platform
