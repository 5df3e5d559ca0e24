// The built demo game's sounds, decoded by the game's own readers: what plays under the story (the
// music, the steady rain and the films' sound) plays at one level, so that none has to be turned
// up or down against the others.
#include <cmath>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "platform/avi_file.h"
#include "sdk/sound/ogg_reader.h"
#include "sdk/sound/pcm_reader_factory.h"

namespace {

const std::filesystem::path kGame = std::filesystem::path(VREL_DEMO_GAME_DIR);

std::vector<int16_t> Samples(const std::vector<uint8_t>& bytes) {
  std::vector<int16_t> s(bytes.size() / 2);
  if (!s.empty()) std::memcpy(s.data(), bytes.data(), s.size() * 2);
  return s;
}

// The 16-bit samples of a sound or a film's sound track; empty when it cannot be read.
std::vector<int16_t> Decode(const std::string& name) {
  const std::string path = (kGame / name).string();
  std::vector<uint8_t> bytes;
  if (name.ends_with(".ogg")) {
    COggReader ogg;
    if (!ogg.Open(path.c_str())) return {};
    std::vector<uint8_t> block(65536);
    uint32_t produced = 0;
    while (ogg.Read(block.data(), static_cast<uint32_t>(block.size()), &produced) && produced != 0) {
      bytes.insert(bytes.end(), block.begin(), block.begin() + produced);
      if (ogg.IsEOF()) break;
    }
  } else if (name.ends_with(".wav")) {
    PcmReaderPtr reader = CPCMReaderFactory().CreateReader(path);
    if (!reader || reader->GetFormat()->wBitsPerSample != 16) return {};
    reader->SetLoop(0);
    bytes.resize(reader->GetPCMSize());
    bytes.resize(reader->Read(bytes.data(), static_cast<uint32_t>(bytes.size())));
  } else {
    std::unique_ptr<platform::AviFile> file;
    std::unique_ptr<platform::AviStream> stream;
    if (platform::AviFile::Open(path, file) != platform::AVIERR_OK ||
        file->GetStream(platform::streamtypeAUDIO, 0, stream) != platform::AVIERR_OK) {
      return {};
    }
    bytes.resize(1 << 22);
    int32_t got = 0, samples = 0;
    if (stream->Read(stream->Start(), stream->Length(), bytes.data(), static_cast<int32_t>(bytes.size()), &got,
                     &samples) != platform::AVIERR_OK) {
      return {};
    }
    bytes.resize(static_cast<size_t>(got));
  }
  return Samples(bytes);
}

// The power of the whole sound, in decibels below full scale.
double LevelDb(const std::vector<int16_t>& s) {
  double sum = 0;
  for (int16_t v : s) sum += static_cast<double>(v) * v;
  return 10 * std::log10(sum / static_cast<double>(s.size()) / (32768.0 * 32768.0));
}

TEST(DemoSounds, WhatPlaysUnderTheStoryPlaysAtTheMusicsLevel) {
  double music = 0;
  const char* pieces[] = {"bgm/title.ogg", "bgm/morning.ogg", "bgm/night.ogg", "bgm/jingle.ogg"};
  for (const char* name : pieces) {
    const auto s = Decode(name);
    ASSERT_GT(s.size(), 22050u) << name;
    music += LevelDb(s) / std::size(pieces);
  }
  for (const char* name : {"se/rain.wav", "movie/opening.avi", "movie/transitions.avi"}) {
    const auto s = Decode(name);
    ASSERT_GT(s.size(), 22050u) << name;
    EXPECT_NEAR(LevelDb(s), music, 2.5) << name;
  }
}

}  // namespace
