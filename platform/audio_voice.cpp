#include "platform/audio_voice.h"

#include <algorithm>
#include <cmath>

namespace platform {
namespace {

constexpr float kFractionScale = 1.0f / 4294967296.0f;

template <int Bits>
inline float SampleAt(const uint8_t* p) {
  if constexpr (Bits == 8) {
    return static_cast<float>((static_cast<int>(*p) - 128) * 256);
  } else {
    return static_cast<float>(static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8))));
  }
}

template <int Bits, int Channels>
inline void FrameAt(const uint8_t* data, uint32_t frame, float& left, float& right) {
  constexpr uint32_t kBytes = Bits / 8 * Channels;
  const uint8_t* p = data + static_cast<size_t>(frame) * kBytes;
  left = SampleAt<Bits>(p);
  right = Channels == 2 ? SampleAt<Bits>(p + Bits / 8) : left;
}

struct RunResult {
  uint32_t made = 0;      // output frames produced
  uint64_t advanced = 0;  // source frames passed, wraps included
  bool ended = false;     // a one-shot reached its end
};

// Mixes up to n output frames of data from pos; a one-shot ends early at its last frame.
template <int Bits, int Channels>
RunResult MixRun(const uint8_t* data, uint32_t frames, bool loop, uint64_t& pos, uint64_t step, RampedGain& gain,
                 float* acc, uint32_t n) {
  RunResult r;
  const uint64_t end = static_cast<uint64_t>(frames) << 32;
  const uint64_t start = pos;
  uint64_t wraps = 0;
  for (uint32_t i = 0; i < n; ++i) {
    if (pos >= end) {
      if (!loop) {
        r.ended = true;
        break;
      }
      pos -= end;
      ++wraps;
    }
    const uint32_t f = static_cast<uint32_t>(pos >> 32);
    const uint32_t frac = static_cast<uint32_t>(pos);
    float l, rr;
    FrameAt<Bits, Channels>(data, f, l, rr);
    if (frac != 0) {
      const uint32_t next = f + 1 < frames ? f + 1 : (loop ? 0 : f);
      float l1, r1;
      FrameAt<Bits, Channels>(data, next, l1, r1);
      const float t = static_cast<float>(frac) * kFractionScale;
      l += (l1 - l) * t;
      rr += (r1 - rr) * t;
    }
    acc[2 * i] += l * gain.gain;
    acc[2 * i + 1] += rr * gain.gain;
    gain.Step();
    pos += step;
    r.made = i + 1;
  }
  if (!r.ended && !loop && pos >= end) r.ended = true;
  const uint64_t endPos = std::min(pos, end);
  r.advanced = wraps * frames + (endPos >> 32) - (start >> 32);
  if (r.ended) r.advanced = frames - (start >> 32);
  return r;
}

// Moves a silent voice's position as rendering would, without reading its samples.
RunResult SkipRun(uint32_t frames, bool loop, uint64_t& pos, uint64_t step, uint32_t n) {
  RunResult r;
  const uint64_t end = static_cast<uint64_t>(frames) << 32;
  const uint64_t startFrame = pos >> 32;
  const uint64_t target = pos + step * n;
  if (!loop) {
    // A one-shot ends in the render whose frames reach its end.
    if (target >= end) {
      r.ended = true;
      r.made = pos >= end ? 0 : static_cast<uint32_t>(std::min<uint64_t>(n, (end - pos + step - 1) / step));
      r.advanced = frames - startFrame;
      pos = end;
      return r;
    }
    pos = target;
    r.made = n;
    r.advanced = (pos >> 32) - startFrame;
    return r;
  }
  const uint64_t wraps = target / end;
  pos = target % end;
  r.made = n;
  r.advanced = wraps * frames + (pos >> 32) - startFrame;
  return r;
}

RunResult Run(const Voice& v, uint64_t& pos, bool loop, RampedGain& gain, float* acc, uint32_t n) {
  const uint8_t* d = v.data->data();
  if (gain.gain == 0.0f && gain.left == 0) return SkipRun(v.frames, loop, pos, v.step, n);
  const bool stereo = v.format.nChannels == 2;
  if (v.format.wBitsPerSample == 8) {
    return stereo ? MixRun<8, 2>(d, v.frames, loop, pos, v.step, gain, acc, n)
                  : MixRun<8, 1>(d, v.frames, loop, pos, v.step, gain, acc, n);
  }
  return stereo ? MixRun<16, 2>(d, v.frames, loop, pos, v.step, gain, acc, n)
                : MixRun<16, 1>(d, v.frames, loop, pos, v.step, gain, acc, n);
}

void SignalCrossings(const Voice& v, uint64_t startFrame, uint64_t advanced) {
  if (v.notes.empty() || advanced == 0) return;
  const uint64_t ring = static_cast<uint64_t>(v.frames) * v.BlockAlign();
  const uint64_t from = startFrame * v.BlockAlign();
  const uint64_t distance = advanced * v.BlockAlign();
  for (const DSBPOSITIONNOTIFY& n : v.notes) {
    const uint64_t offset = std::min<uint64_t>(n.dwOffset, ring - 1);
    const uint64_t rel = (offset + ring - from) % ring;
    if (distance <= rel) continue;
    const uint64_t count = 1 + (distance - 1 - rel) / ring;
    n.event->Set(static_cast<uint32_t>(std::min<uint64_t>(count, UINT32_MAX)));
  }
}

}  // namespace

float VolumeToGain(int32_t volume) {
  if (volume <= DSBVOLUME_MIN) return 0.0f;
  if (volume >= 0) return 1.0f;
  return static_cast<float>(std::pow(10.0, volume / 2000.0));
}

void MixVoice(Voice& v, float* acc, uint32_t frames) {
  if (v.frames == 0) return;
  if (v.tail.active) {
    Voice::Tail& t = v.tail;
    const uint32_t n = std::min(frames, t.gain.left);
    RunResult r = Run(v, t.pos, t.looping, t.gain, acc, n);
    if (r.ended || t.gain.left == 0) t.active = false;
  }
  if (!v.playing) return;
  const uint64_t startFrame = v.pos >> 32;
  RunResult r = Run(v, v.pos, v.looping, v.gain, acc, frames);
  v.heard = true;
  v.heardPos = v.pos;
  if (r.ended) {
    v.playing = false;
    v.pos = 0;
  }
  SignalCrossings(v, startFrame, r.advanced);
}

void SaturateToInt16(const float* acc, int16_t* out, uint32_t samples) {
  for (uint32_t i = 0; i < samples; ++i) {
    const float s = std::clamp(acc[i], -32768.0f, 32767.0f);
    out[i] = static_cast<int16_t>(std::lrintf(s));
  }
}

}  // namespace platform
