// Sound files for the tests, written by the same writer as tools/make_sounds into a fresh folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scoped_temp_dir.h"
#include "tools/make_sounds/sound_writer.h"

class SoundFiles {
 public:
  static constexpr uint32_t kRate = 22050;
  static constexpr uint32_t kFrames = 4410;  // 0.2 s

  SoundFiles() : m_tone(sound_writer::Tone(kRate, 1, kFrames, 440, 10000)) {}

  const std::vector<int16_t>& Tone() const { return m_tone; }

  // The tone as a wave file of the kind, under name.
  std::string Wave(sound_writer::WaveKind kind, const std::string& name) const {
    std::vector<uint8_t> bytes;
    if (!sound_writer::MakeWave(kind, m_tone, kRate, 1, bytes)) return {};
    return Bytes(name, bytes);
  }
  std::string Mp3(const std::string& name) const {
    std::vector<uint8_t> bytes;
    if (!sound_writer::MakeMp3(m_tone, kRate, 1, bytes)) return {};
    return Bytes(name, bytes);
  }
  std::string Bytes(const std::string& name, const std::vector<uint8_t>& bytes) const {
    m_dir.Write(name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return m_dir.File(name);
  }
  std::vector<uint8_t> Load(const std::string& path) const {
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
  }

 private:
  ScopedTempDir m_dir;
  std::vector<int16_t> m_tone;
};

// Little-endian builders for hand-made files.
using sound_writer::Put16;
using sound_writer::Put32;
using sound_writer::PutTag;
