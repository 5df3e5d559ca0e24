#include "tools/make_sounds/synth.h"

#include <algorithm>
#include <cmath>

namespace synth {

namespace {

constexpr double kPi = 3.14159265358979323846;

double KeyHz(int key) { return 440.0 * std::pow(2.0, (key - 69) / 12.0); }

// The sample of a voice at time t seconds into a note of the given length.
double VoiceSample(Voice voice, double hz, double t, double length) {
  const double phase = 2 * kPi * hz * t;
  switch (voice) {
    case Voice::kPluck: {
      const double env = std::exp(-t * 4.0) * std::min(1.0, t * 400);
      return env * (std::sin(phase) + 0.3 * std::sin(2 * phase) + 0.1 * std::sin(3 * phase));
    }
    case Voice::kBell: {
      const double env = std::exp(-t * 2.2) * std::min(1.0, t * 800);
      return env * (std::sin(phase) + 0.4 * std::sin(2.76 * phase) * std::exp(-t * 3) +
                    0.2 * std::sin(5.4 * phase) * std::exp(-t * 6));
    }
    case Voice::kPad: {
      const double attack = std::min(1.0, t * 4), release = std::clamp((length - t) * 4, 0.0, 1.0);
      return attack * release * 0.6 * (std::sin(phase) + 0.25 * std::sin(2 * phase + 0.5 * std::sin(phase * 0.01)));
    }
  }
  return 0;
}

// How long a voice rings after its note, in seconds.
double Tail(Voice voice) { return voice == Voice::kPad ? 0.3 : 1.5; }

// A fixed sequence of pseudo-random numbers in -1..1.
struct Noise {
  uint32_t state;
  double Next() {
    state = state * 1664525u + 1013904223u;
    return static_cast<int32_t>(state) / 2147483648.0;
  }
};

std::vector<int16_t> ToPcm(const std::vector<double>& v, double peak) {
  double max = 1e-9;
  for (double s : v) max = std::max(max, std::abs(s));
  std::vector<int16_t> out(v.size());
  for (size_t i = 0; i < v.size(); ++i) out[i] = static_cast<int16_t>(std::lround(v[i] / max * peak));
  return out;
}

}  // namespace

std::vector<int16_t> RenderPiece(const std::vector<Part>& parts, double bpm, double beats, uint32_t rate, bool loop) {
  const double secondsPerBeat = 60.0 / bpm;
  const size_t frames = static_cast<size_t>(beats * secondsPerBeat * rate);
  size_t total = frames;
  if (!loop) total += static_cast<size_t>(1.5 * rate);
  std::vector<double> mix(total * 2, 0.0);
  for (const Part& part : parts) {
    const double left = std::sqrt((1 - part.pan) / 2), right = std::sqrt((1 + part.pan) / 2);
    for (const Note& n : part.notes) {
      const double hz = KeyHz(n.key);
      const double length = n.beats * secondsPerBeat;
      const size_t start = static_cast<size_t>(n.beat * secondsPerBeat * rate);
      const size_t count = static_cast<size_t>((length + Tail(part.voice)) * rate);
      for (size_t i = 0; i < count; ++i) {
        size_t at = start + i;
        if (at >= total) {
          if (!loop) break;
          at %= total;
        }
        const double s = n.volume * VoiceSample(part.voice, hz, static_cast<double>(i) / rate, length);
        mix[at * 2] += s * left;
        mix[at * 2 + 1] += s * right;
      }
    }
  }
  return ToPcm(mix, 12000);
}

void AddChords(std::vector<Part>& parts, const std::vector<int>& roots, const std::vector<bool>& minor) {
  Part bass{Voice::kPluck, -0.2, {}}, arpeggio{Voice::kPluck, 0.35, {}}, pad{Voice::kPad, 0.0, {}};
  for (size_t bar = 0; bar < roots.size(); ++bar) {
    const int root = roots[bar];
    const int third = root + (minor[bar] ? 3 : 4), fifth = root + 7;
    const double b = bar * 4.0;
    bass.notes.push_back({b, 2, root - 24, 0.7});
    bass.notes.push_back({b + 2, 2, root - 17, 0.5});
    const int tones[8] = {root, third, fifth, root + 12, fifth, third, fifth, root + 12};
    for (int i = 0; i < 8; ++i) arpeggio.notes.push_back({b + i * 0.5, 0.5, tones[i], 0.22});
    for (int key : {root, third, fifth}) pad.notes.push_back({b, 4, key - 12, 0.12});
  }
  parts.push_back(bass);
  parts.push_back(arpeggio);
  parts.push_back(pad);
}

std::vector<int16_t> Rain(uint32_t rate, uint32_t frames) {
  // Low-passed noise with patters; the last half second is faded into the first so the loop has
  // no seam.
  Noise noise{12345};
  const uint32_t fade = rate / 2;
  std::vector<double> v(frames + fade);
  double low = 0, lower = 0;
  for (auto& s : v) {
    low += 0.35 * (noise.Next() - low);
    lower += 0.05 * (noise.Next() - lower);
    s = low * 0.7 + lower * 1.5;
    if ((noise.state >> 9) % 900 == 0) s += noise.Next() * 1.5;
  }
  for (uint32_t i = 0; i < fade; ++i) {
    const double t = static_cast<double>(i) / fade;
    v[i] = v[i] * t + v[frames + i] * (1 - t);
  }
  v.resize(frames);
  // Steady noise is heard by its power, not its peaks: this peak puts it at the music's level.
  return ToPcm(v, 16000);
}

std::vector<int16_t> Thunder(uint32_t rate, uint32_t frames) {
  Noise noise{777};
  std::vector<double> v(frames);
  double low = 0;
  for (uint32_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / rate;
    const double crack = noise.Next() * std::exp(-t * 18);
    low += 0.02 * (noise.Next() - low);
    const double rumble = low * 6 * std::exp(-t * 1.6) * (0.7 + 0.3 * std::sin(t * 9));
    v[i] = crack + rumble;
  }
  return ToPcm(v, 26000);
}

std::vector<int16_t> Knocks(uint32_t rate, int count) {
  Noise noise{99};
  const uint32_t gap = rate / 4;
  std::vector<double> v(gap * count + rate / 3, 0.0);
  for (int k = 0; k < count; ++k)
    for (uint32_t i = 0; i < rate / 5; ++i) {
      const double t = static_cast<double>(i) / rate;
      v[gap * k + i] += std::exp(-t * 40) * (std::sin(2 * kPi * 140 * t) + 0.4 * std::sin(2 * kPi * 310 * t)) +
                        noise.Next() * std::exp(-t * 300) * 0.5;
    }
  return ToPcm(v, 20000);
}

std::vector<int16_t> Chirps(uint32_t rate, int count) {
  const uint32_t gap = rate * 3 / 10, chirp = rate / 9;
  std::vector<double> v(gap * count + rate / 4, 0.0);
  for (int k = 0; k < count; ++k) {
    double phase = 0;
    for (uint32_t i = 0; i < chirp; ++i) {
      const double t = static_cast<double>(i) / chirp;
      phase += 2 * kPi * (2600 + 1400 * std::sin(t * kPi) + 300 * (k % 2)) / rate;
      v[gap * k + i] = std::sin(phase) * std::sin(t * kPi);
    }
  }
  return ToPcm(v, 12000);
}

std::vector<int16_t> Bell(uint32_t rate, uint32_t frames, double hz) {
  std::vector<double> v(frames);
  for (uint32_t i = 0; i < frames; ++i) v[i] = VoiceSample(Voice::kBell, hz, static_cast<double>(i) / rate, 0);
  return ToPcm(v, 14000);
}

}  // namespace synth
