// Writes generated sounds: "make_sounds demo DIR" the demo game's system sounds, music, effects and
// voices (spoken by espeak-ng), "make_sounds samples DIR" one small file of each format the game
// reads.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
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

// The 16-bit mono samples of a RIFF WAVE file and their rate; false for anything else.
bool ReadPcm16Mono(const std::string& path, std::vector<int16_t>& pcm, uint32_t& rate) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<uint8_t> b((std::istreambuf_iterator<char>(file)), {});
  const auto u32 = [&b](size_t at) {
    return static_cast<uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24);
  };
  const auto u16 = [&b](size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); };
  if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 || std::memcmp(b.data() + 8, "WAVE", 4) != 0) return false;
  bool format = false;
  for (size_t at = 12; at + 8 <= b.size();) {
    const uint32_t size = u32(at + 4);
    const size_t body = at + 8;
    if (size > b.size() - body) return false;
    if (std::memcmp(b.data() + at, "fmt ", 4) == 0 && size >= 16) {
      if (u16(body) != 1 || u16(body + 2) != 1 || u16(body + 14) != 16) return false;
      rate = u32(body + 4);
      format = true;
    } else if (std::memcmp(b.data() + at, "data", 4) == 0 && format) {
      pcm.resize(size / 2);
      for (size_t i = 0; i < pcm.size(); ++i) pcm[i] = static_cast<int16_t>(u16(body + 2 * i));
      return true;
    }
    at = body + size + (size & 1);
  }
  return false;
}

// A Japanese line spoken by espeak-ng, as Ogg Vorbis. Without the speaker a soft tone stands in, so
// that the demo still builds and its voices still take their time.
bool Voice(const std::string& dir, const std::string& name, const std::string& line, double hz) {
  const std::string wave = dir + "/speech.tmp.wav";
  std::vector<int16_t> pcm;
  uint32_t rate = 22050;
  const pid_t child = fork();
  if (child == 0) {
    execlp("espeak-ng", "espeak-ng", "-v", "ja", "-w", wave.c_str(), line.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  const bool spoken = child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
                      WEXITSTATUS(status) == 0 && ReadPcm16Mono(wave, pcm, rate) && !pcm.empty();
  std::remove(wave.c_str());
  if (!spoken) {
    std::fprintf(stderr, "make_sounds: espeak-ng is missing; %s is a tone\n", name.c_str());
    rate = 22050;
    pcm = sound_writer::Tone(rate, 1, rate, hz, 5000, true);
  }
  std::vector<uint8_t> ogg;
  return sound_writer::MakeOggVorbis(pcm, rate, 1, 0.3f, ogg) && Write(dir, name, ogg);
}

bool Demo(const std::string& dir) {
  struct Se {
    std::string name;
    double hz;
    uint32_t ms;
  };
  const Se sounds[] = {
      {"system/se/twopen.wav", 660, 120},
      {"system/se/twclose.wav", 440, 120},
      {"system/se/nextline.wav", 880, 60},
      {U8(u8"system/se/ボタンオーバー.wav"), 1320, 40},
      {U8(u8"system/se/ボタンプッシュ.wav"), 990, 80},
      {"system/se/switch.wav", 740, 70},
      {"system/se/volume.wav", 1100, 50},
      {"system/se/mclick.wav", 1500, 30},
      {"system/se/sdopen.wav", 523, 150},
      {"system/se/sdclose.wav", 392, 150},
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
  // A second piece a fifth lower, for the cross-fade.
  music.clear();
  for (double hz : notes) {
    auto part = sound_writer::Tone(rate, 2, rate / 2, hz * 2 / 3, 6000, true);
    music.insert(music.end(), part.begin(), part.end());
  }
  ok &= sound_writer::MakeOggVorbis(music, rate, 2, 0.3f, ogg) && Write(dir, "bgm/evening.ogg", ogg);
  // Sound effects: a bell and a steady hum that loops.
  ok &= Wave(dir, "se/bell.wav", WaveKind::kPcm16, 22050, 1, 600, 1760, 7000);
  std::vector<uint8_t> bytes;
  ok &= sound_writer::MakeWave(WaveKind::kPcm16, sound_writer::Tone(22050, 1, 22050, 110, 3000), 22050, 1, bytes) &&
        Write(dir, "se/hum.wav", bytes);
  // The voices of the scene: Mio speaks series A from 0001, Ren series B from 0001, and one line is
  // given by its own name.
  struct Line {
    const char* file;
    const char8_t* text;
    double hz;
  };
  const Line lines[] = {
      {"voice/A0001.ogg", u8"おはよう。今日はいい天気だね。", 330},
      {"voice/B0001.ogg", u8"うん。散歩に行こうか。", 220},
      {"voice/A0002.ogg", u8"どっちの道にする？", 330},
      {"voice/B0002.ogg", u8"じゃあ、こっちに行こう。", 220},
      {"voice/A0003.ogg", u8"もう夕方だね。", 330},
      {"voice/mio_end.ogg", u8"また明日ね。", 330},
  };
  for (const Line& l : lines) ok &= Voice(dir, l.file, U8(l.text), l.hz);
  return ok;
}

bool Samples(const std::string& dir) {
  struct Sample {
    const char* name;
    WaveKind kind;
  };
  const Sample samples[] = {
      {"pcm8.wav", WaveKind::kPcm8},         {"pcm16.wav", WaveKind::kPcm16}, {"msadpcm.wav", WaveKind::kMsAdpcm},
      {"imaadpcm.wav", WaveKind::kImaAdpcm}, {"alaw.wav", WaveKind::kALaw},   {"mulaw.wav", WaveKind::kMuLaw},
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
