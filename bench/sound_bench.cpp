// The mixer with the game's worst load, and Ogg Vorbis decoding as the streaming buffers do it,
// each against a baseline in the same run: plain float summing and plain vorbisfile reads.
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstring>
#include <memory>
#include <vector>
#include <vorbis/vorbisfile.h>

#include "platform/audio_mixer.h"
#include "sdk/framework/memory_file.h"
#include "sdk/sound/ogg_memory_file.h"
#include "sdk/sound/ogg_reader.h"
#include "tools/make_sounds/sound_writer.h"

namespace {

using namespace platform;

constexpr uint32_t kSeconds = 10;

WAVEFORMATEX Pcm(uint32_t rate, uint16_t channels) {
  WAVEFORMATEX f{};
  f.wFormatTag = 1;
  f.nChannels = channels;
  f.nSamplesPerSec = rate;
  f.wBitsPerSample = 16;
  f.nBlockAlign = static_cast<uint16_t>(channels * 2);
  f.nAvgBytesPerSec = rate * f.nBlockAlign;
  return f;
}

std::unique_ptr<SoundBuffer> Looping(AudioDevice& device, uint32_t rate, uint16_t channels, uint32_t frames,
                                     uint32_t flags, int32_t volume, uint32_t frequency = 0) {
  const WAVEFORMATEX f = Pcm(rate, channels);
  DSBUFFERDESC d;
  d.dwFlags = flags;
  d.dwBufferBytes = frames * f.nBlockAlign;
  d.lpwfxFormat = &f;
  std::unique_ptr<SoundBuffer> b;
  device.CreateSoundBuffer(d, b);
  const auto tone = sound_writer::Tone(rate, channels, frames, 440 + frames % 300, 3000);
  void *p1, *p2;
  uint32_t n1, n2;
  b->Lock(0, d.dwBufferBytes, &p1, &n1, &p2, &n2, 0);
  std::memcpy(p1, tone.data(), n1);
  b->Unlock(p1, n1, p2, n2);
  b->SetVolume(volume);
  if (frequency) b->SetFrequency(frequency);
  b->Play(0, 0, DSBPLAY_LOOPING);
  return b;
}

// 32 effects (half of them at 22,050 Hz, a quarter of all pitched), two music streams and a voice
// with their block notifications, 10 s rendered in periods on this thread.
void BM_MixerGameLoad(benchmark::State& state) {
  SetAudioManualRender(true);
  {
    AudioDevice device;
    std::vector<std::unique_ptr<SoundBuffer>> voices;
    for (int i = 0; i < 32; ++i) {
      const bool low = i % 2;
      voices.push_back(Looping(device, low ? 22050 : 44100, low ? 1 : 2, 20000 + 731 * i,
                               DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLFREQUENCY, -300 * (i % 5),
                               i % 4 == 0 ? 30000 + 500 * i : 0));
    }
    std::vector<std::shared_ptr<CountingEvent>> events;
    for (int i = 0; i < 3; ++i) {
      const uint32_t flags =
          DSBCAPS_GLOBALFOCUS | DSBCAPS_CTRLPOSITIONNOTIFY | DSBCAPS_CTRLVOLUME | DSBCAPS_LOCSOFTWARE;
      auto b = Looping(device, i == 2 ? 22050 : 44100, i == 2 ? 1 : 2, 16 * 8269, flags, -500);
      b->Stop();
      events.push_back(std::make_shared<CountingEvent>());
      std::vector<DSBPOSITIONNOTIFY> notes;
      for (uint32_t k = 1; k <= 16; ++k) notes.push_back({k * 8269 * 4 - (k == 16 ? 1 : 0), events.back()});
      if (i == 2) {
        for (auto& n : notes) n.dwOffset /= 2;
      }
      b->SetNotificationPositions(notes);
      b->Play(0, 0, DSBPLAY_LOOPING);
      voices.push_back(std::move(b));
    }
    std::vector<int16_t> out(2 * kMixPeriodFrames);
    for (auto _ : state) {
      for (uint32_t done = 0; done < kSeconds * kMixRate; done += kMixPeriodFrames) RenderAudio(out);
      benchmark::DoNotOptimize(out.data());
      for (auto& e : events) e->Reset();
    }
    // Seconds of audio mixed per second of processor time: 2% of a core is 50.
    state.counters["x_real_time"] = benchmark::Counter(kSeconds, benchmark::Counter::kIsIterationInvariantRate);
  }
  SetAudioManualRender(false);
}
BENCHMARK(BM_MixerGameLoad)->Unit(benchmark::kMillisecond);

// Baseline: 35 float streams already at the output rate summed and saturated, 10 s in periods.
void BM_Baseline_SumFloatStreams(benchmark::State& state) {
  constexpr uint32_t kStreams = 35;
  std::vector<std::vector<float>> streams(kStreams, std::vector<float>(2 * kMixPeriodFrames));
  for (uint32_t s = 0; s < kStreams; ++s) {
    for (uint32_t i = 0; i < streams[s].size(); ++i) streams[s][i] = static_cast<float>((i * (s + 3)) % 2000) - 1000;
  }
  std::vector<float> acc(2 * kMixPeriodFrames);
  std::vector<int16_t> out(2 * kMixPeriodFrames);
  for (auto _ : state) {
    for (uint32_t done = 0; done < kSeconds * kMixRate; done += kMixPeriodFrames) {
      std::fill(acc.begin(), acc.end(), 0.0f);
      for (const auto& s : streams) {
        for (size_t i = 0; i < acc.size(); ++i) acc[i] += s[i] * 0.5f;
      }
      for (size_t i = 0; i < acc.size(); ++i) out[i] = static_cast<int16_t>(std::clamp(acc[i], -32768.0f, 32767.0f));
      benchmark::DoNotOptimize(out.data());
    }
  }
  state.counters["x_real_time"] = benchmark::Counter(kSeconds, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_Baseline_SumFloatStreams)->Unit(benchmark::kMillisecond);

const std::vector<unsigned char>& Track() {
  static const std::vector<unsigned char> bytes = [] {
    constexpr uint32_t kRate = 44100;
    std::vector<int16_t> pcm;
    const double notes[] = {220, 277.18, 329.63, 440, 329.63, 277.18};
    for (uint32_t s = 0; s < 60; ++s) {
      auto part = sound_writer::Tone(kRate, 2, kRate, notes[s % 6], 8000);
      pcm.insert(pcm.end(), part.begin(), part.end());
    }
    std::vector<uint8_t> ogg;
    sound_writer::MakeOggVorbis(pcm, kRate, 2, 0.4f, ogg);
    return std::vector<unsigned char>(ogg.begin(), ogg.end());
  }();
  return bytes;
}

constexpr uint32_t kBlock = 33076;  // 3/16 s of 44,100 Hz stereo

// A 60 s stereo track read in the streaming buffer's blocks.
void BM_OggReaderRead(benchmark::State& state) {
  std::vector<unsigned char> bytes = Track();
  CMemoryFile lent(bytes);
  std::vector<uint8_t> block(kBlock);
  for (auto _ : state) {
    COggReader reader;
    if (!reader.Open(lent.Name().c_str())) {
      state.SkipWithError("cannot open");
      break;
    }
    while (!reader.IsEOF()) {
      uint32_t produced = 0;
      reader.Read(block.data(), kBlock, &produced);
      benchmark::DoNotOptimize(block.data());
    }
  }
  state.counters["x_real_time"] = benchmark::Counter(60.0, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_OggReaderRead)->Unit(benchmark::kMillisecond);

// Baseline: plain ov_read over the same bytes.
void BM_Baseline_OvRead(benchmark::State& state) {
  const std::vector<unsigned char>& bytes = Track();
  std::vector<uint8_t> block(kBlock);
  for (auto _ : state) {
    COggMemoryFile memory;
    memory.Assign(bytes.data(), bytes.size());
    OggVorbis_File vf;
    if (ov_open_callbacks(&memory, &vf, nullptr, 0, OggMemCallbacks()) < 0) {
      state.SkipWithError("cannot open");
      break;
    }
    int section = 0;
    while (ov_read(&vf, reinterpret_cast<char*>(block.data()), kBlock, 0, 2, 1, &section) > 0) {
      benchmark::DoNotOptimize(block.data());
    }
    ov_clear(&vf);
  }
  state.counters["x_real_time"] = benchmark::Counter(60.0, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_Baseline_OvRead)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
