// Writes generated sounds: "make_sounds demo DIR" the demo game's system sounds and music,
// "make_sounds samples DIR" one small file of each format the game reads.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/make_sounds/sound_writer.h"

namespace {

using sound_writer::WaveKind;

std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

bool Write(const std::string& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
  if (bytes.empty() || !sound_writer::WriteFile(dir + "/" + name, bytes)) {
    std::fprintf(stderr, "make_sounds: cannot write %s/%s\n", dir.c_str(), name.c_str());
    return false;
  }
  return true;
}

bool Wave(const std::string& dir, const std::string& name, WaveKind kind, uint32_t rate, uint16_t ch, uint32_t ms,
          double hz, double amplitude) {
  std::vector<uint8_t> bytes;
  const auto pcm = sound_writer::Tone(rate, ch, rate * ms / 1000, hz, amplitude, true);
  return sound_writer::MakeWave(kind, pcm, rate, ch, bytes) && Write(dir, name, bytes);
}

bool Demo(const std::string& dir) {
  struct Se {
    std::string name;
    double hz;
    uint32_t ms;
  };
  const Se sounds[] = {
      {"system/se/twopen.wav", 660, 120},    {"system/se/twclose.wav", 440, 120},
      {"system/se/nextline.wav", 880, 60},   {U8(u8"system/se/ボタンオーバー.wav"), 1320, 40},
      {U8(u8"system/se/ボタンプッシュ.wav"), 990, 80}, {"system/se/switch.wav", 740, 70},
      {"system/se/volume.wav", 1100, 50},    {"system/se/mclick.wav", 1500, 30},
      {"system/se/sdopen.wav", 523, 150},    {"system/se/sdclose.wav", 392, 150},
  };
  bool ok = true;
  for (const Se& s : sounds) ok &= Wave(dir, s.name, WaveKind::kPcm16, 22050, 1, s.ms, s.hz, 8000);
  // A short piece: a slow arpeggio that loops without a seam.
  const uint32_t rate = 44100;
  const double notes[] = {261.63, 329.63, 392.0, 523.25, 392.0, 329.63, 293.66, 349.23};
  std::vector<int16_t> music;
  for (double hz : notes) {
    auto part = sound_writer::Tone(rate, 2, rate / 2, hz, 6000, true);
    music.insert(music.end(), part.begin(), part.end());
  }
  std::vector<uint8_t> ogg;
  ok &= sound_writer::MakeOggVorbis(music, rate, 2, 0.3f, ogg) && Write(dir, "bgm/theme.ogg", ogg);
  return ok;
}

bool Samples(const std::string& dir) {
  struct Sample {
    const char* name;
    WaveKind kind;
  };
  const Sample samples[] = {
      {"pcm8.wav", WaveKind::kPcm8},      {"pcm16.wav", WaveKind::kPcm16}, {"msadpcm.wav", WaveKind::kMsAdpcm},
      {"imaadpcm.wav", WaveKind::kImaAdpcm}, {"alaw.wav", WaveKind::kALaw}, {"mulaw.wav", WaveKind::kMuLaw},
      {"mp3.wav", WaveKind::kMp3},
  };
  bool ok = true;
  for (const Sample& s : samples) ok &= Wave(dir, s.name, s.kind, 22050, 1, 100, 440, 10000);
  const auto pcm = sound_writer::Tone(22050, 1, 2205, 440, 10000, true);
  std::vector<uint8_t> bytes;
  ok &= sound_writer::MakeMp3(pcm, 22050, 1, bytes) && Write(dir, "tone.mp3", bytes);
  ok &= sound_writer::MakeOggVorbis(pcm, 22050, 1, 0.0f, bytes) && Write(dir, "tone.ogg", bytes);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || (std::strcmp(argv[1], "demo") != 0 && std::strcmp(argv[1], "samples") != 0)) {
    std::fprintf(stderr, "usage: make_sounds demo|samples DIR\n");
    return 2;
  }
  const bool ok = std::strcmp(argv[1], "demo") == 0 ? Demo(argv[2]) : Samples(argv[2]);
  return ok ? 0 : 1;
}
