// Writes generated sounds: "make_sounds demo DIR READINGS" the demo game's system sounds, music,
// effects and voices (the lines of READINGS spoken by espeak-ng), "make_sounds samples DIR" one
// small file of each format the game reads.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "tools/make_sounds/sound_writer.h"
#include "tools/make_sounds/synth.h"

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
bool Voice(const std::string& dir, const std::string& name, const std::string& line, int pitch) {
  const std::string wave = dir + "/speech.tmp.wav";
  std::vector<int16_t> pcm;
  uint32_t rate = 22050;
  const pid_t child = fork();
  if (child == 0) {
    const std::string p = std::to_string(pitch);
    execlp("espeak-ng", "espeak-ng", "-v", "ja", "-p", p.c_str(), "-s", "150", "-w", wave.c_str(), line.c_str(),
           static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  const bool spoken = child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
                      WEXITSTATUS(status) == 0 && ReadPcm16Mono(wave, pcm, rate) && !pcm.empty();
  std::remove(wave.c_str());
  if (!spoken) {
    std::fprintf(stderr, "make_sounds: espeak-ng is missing; %s is a tone\n", name.c_str());
    rate = 22050;
    pcm = sound_writer::Tone(rate, 1, rate, 220.0 + pitch * 4, 5000, true);
  }
  std::vector<uint8_t> ogg;
  return sound_writer::MakeOggVorbis(pcm, rate, 1, 0.3f, ogg) && Write(dir, name, ogg);
}

// The voices: every line of the readings file, "file<TAB>pitch<TAB>kana", as voice\file.ogg.
bool Voices(const std::string& dir, const std::string& readings) {
  std::ifstream in(readings);
  if (!in) {
    std::fprintf(stderr, "make_sounds: cannot read %s\n", readings.c_str());
    return false;
  }
  bool ok = true;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string file, pitch, text;
    if (!std::getline(fields, file, '\t') || !std::getline(fields, pitch, '\t') || !std::getline(fields, text)) {
      std::fprintf(stderr, "make_sounds: %s: a line without its three fields: %s\n", readings.c_str(), line.c_str());
      return false;
    }
    ok &= Voice(dir, "voice/" + file + ".ogg", text, std::atoi(pitch.c_str()));
  }
  return ok;
}

bool Music(const std::string& dir) {
  constexpr uint32_t kRate = 22050;
  struct Piece {
    const char* file;
    double bpm;
    std::vector<int> roots;
    std::vector<bool> minor;
    std::vector<synth::Note> melody;
    synth::Voice voice;
    bool loop;
  };
  const Piece pieces[] = {
      // The title: slow, in C.
      {"bgm/title.ogg",
       76,
       {60, 57, 53, 55, 60, 57, 53, 55},
       {false, true, false, false, false, true, false, false},
       {{0, 2, 76, 0.5},
        {2, 2, 79, 0.5},
        {4, 4, 81, 0.5},
        {8, 2, 77, 0.5},
        {10, 2, 76, 0.5},
        {12, 4, 74, 0.5},
        {16, 2, 76, 0.5},
        {18, 2, 79, 0.5},
        {20, 4, 84, 0.5},
        {24, 2, 81, 0.5},
        {26, 2, 79, 0.5},
        {28, 4, 74, 0.5}},
       synth::Voice::kBell,
       true},
      // The morning: bright, in D.
      {"bgm/morning.ogg",
       112,
       {62, 67, 59, 57, 62, 67, 57, 62},
       {false, false, true, false, false, false, false, false},
       {{0, 1, 74, 0.5},
        {1, 1, 76, 0.5},
        {2, 2, 78, 0.5},
        {4, 1, 79, 0.5},
        {5, 1, 78, 0.5},
        {6, 2, 74, 0.5},
        {8, 2, 71, 0.5},
        {10, 2, 74, 0.5},
        {12, 4, 73, 0.5},
        {16, 1, 74, 0.5},
        {17, 1, 76, 0.5},
        {18, 2, 78, 0.5},
        {20, 2, 83, 0.5},
        {22, 2, 81, 0.5},
        {24, 2, 79, 0.5},
        {26, 2, 76, 0.5},
        {28, 4, 74, 0.5}},
       synth::Voice::kPluck,
       true},
      // The night: quiet, in A minor.
      {"bgm/night.ogg",
       66,
       {57, 53, 60, 52, 57, 53, 60, 52},
       {true, false, false, false, true, false, false, false},
       {{0, 3, 72, 0.4},
        {3, 1, 71, 0.4},
        {4, 4, 69, 0.4},
        {8, 4, 72, 0.4},
        {12, 4, 71, 0.4},
        {16, 3, 76, 0.4},
        {19, 1, 74, 0.4},
        {20, 4, 72, 0.4},
        {24, 4, 69, 0.4},
        {28, 4, 68, 0.4}},
       synth::Voice::kBell,
       true},
      // The ending's jingle, played once.
      {"bgm/jingle.ogg",
       120,
       {60, 65, 67, 60},
       {false, false, false, false},
       {{0, 1, 72, 0.6},
        {1, 1, 76, 0.6},
        {2, 1, 79, 0.6},
        {3, 1, 84, 0.6},
        {4, 2, 81, 0.6},
        {6, 2, 77, 0.6},
        {8, 2, 79, 0.6},
        {10, 2, 83, 0.6},
        {12, 4, 84, 0.7}},
       synth::Voice::kBell,
       false},
  };
  bool ok = true;
  for (const Piece& piece : pieces) {
    std::vector<synth::Part> parts;
    synth::AddChords(parts, piece.roots, piece.minor);
    parts.push_back({piece.voice, 0.1, piece.melody});
    const auto pcm = synth::RenderPiece(parts, piece.bpm, piece.roots.size() * 4.0, kRate, piece.loop);
    std::vector<uint8_t> ogg;
    ok &= sound_writer::MakeOggVorbis(pcm, kRate, 2, 0.2f, ogg) && Write(dir, piece.file, ogg);
  }
  return ok;
}

bool Effects(const std::string& dir) {
  constexpr uint32_t kRate = 22050;
  struct Effect {
    const char* file;
    WaveKind kind;
    std::vector<int16_t> pcm;
  };
  const Effect effects[] = {
      {"se/bell.wav", WaveKind::kPcm16, synth::Bell(kRate, kRate * 2, 880)},
      {"se/rain.wav", WaveKind::kPcm16, synth::Rain(kRate, kRate * 3)},
      {"se/thunder.wav", WaveKind::kPcm16, synth::Thunder(kRate, kRate * 5 / 2)},
      // The door is stored in MS ADPCM, as games often kept their longer effects.
      {"se/door.wav", WaveKind::kMsAdpcm, synth::Knocks(kRate, 3)},
      {"se/bird.wav", WaveKind::kPcm16, synth::Chirps(kRate, 4)},
  };
  bool ok = true;
  for (const Effect& e : effects) {
    std::vector<uint8_t> bytes;
    ok &= sound_writer::MakeWave(e.kind, e.pcm, kRate, 1, bytes) && Write(dir, e.file, bytes);
  }
  return ok;
}

bool Demo(const std::string& dir, const std::string& readings) {
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
  ok &= Music(dir);
  ok &= Effects(dir);
  ok &= Voices(dir, readings);
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
  const bool demo = argc == 4 && std::strcmp(argv[1], "demo") == 0;
  if (!demo && !(argc == 3 && std::strcmp(argv[1], "samples") == 0)) {
    std::fprintf(stderr, "usage: make_sounds demo DIR READINGS | make_sounds samples DIR\n");
    return 2;
  }
  const bool ok = demo ? Demo(argv[2], argv[3]) : Samples(argv[2]);
  return ok ? 0 : 1;
}
