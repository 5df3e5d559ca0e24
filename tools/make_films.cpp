// Writes small films of generated frames and sound: "make_films seeds DIR" writes the movie
// fuzz target's seeds.
#include <cstdio>
#include <string>

#include "tools/make_films/film_writer.h"
#include "tools/make_sounds/sound_writer.h"

namespace {

uint32_t Bars(int x, int y, int frame) { return ((x + frame) & 4 ? 0xFF0000u : 0x0000FFu) | (y * 16u << 8); }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || std::string(argv[1]) != "seeds") {
    std::fprintf(stderr, "usage: make_films seeds DIR\n");
    return 2;
  }
  const std::string dir = argv[2];
  film_writer::Video raw;
  raw.width = 8;
  raw.height = 4;
  for (int i = 0; i < 4; ++i) raw.frames.push_back(film_writer::Rows24(8, 4, Bars, i));
  film_writer::Video mjpeg = raw;
  mjpeg.compression = 'M' | 'J' << 8 | 'P' << 16 | 'G' << 24;
  mjpeg.frames.clear();
  for (int i = 0; i < 3; ++i) mjpeg.frames.push_back(film_writer::Jpeg(8, 8, Bars, i, 50));
  mjpeg.height = 8;
  std::vector<uint8_t> wave;
  film_writer::Audio ima;
  if (!sound_writer::MakeWave(sound_writer::WaveKind::kImaAdpcm, sound_writer::Tone(8000, 1, 1200, 440, 8000), 8000, 1,
                              wave) ||
      !film_writer::SplitWave(wave, ima.format, ima.data))
    return 1;
  ima.chunkBytes = 300;
  film_writer::Audio pcm;
  if (!sound_writer::MakeWave(sound_writer::WaveKind::kPcm8, sound_writer::Tone(8000, 1, 400, 440, 8000), 8000, 1,
                              wave) ||
      !film_writer::SplitWave(wave, pcm.format, pcm.data))
    return 1;
  pcm.sampleSize = 0;
  pcm.chunkBytes = 150;
  const struct {
    const char* name;
    film_writer::Film film;
  } seeds[] = {
      {"raw_frames_ima_sound", {raw, ima, true}},
      {"mjpeg_frames_no_index", {mjpeg, std::nullopt, false}},
      {"raw_frames_variable_pcm", {raw, pcm, true}},
  };
  for (const auto& s : seeds)
    if (!sound_writer::WriteFile(dir + "/" + s.name, film_writer::MakeAvi(s.film))) return 1;
  return 0;
}
