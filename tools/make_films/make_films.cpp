// Writes small films of generated frames and sound: "make_films seeds DIR" writes the movie
// fuzz target's seeds, "make_films demo DIR" the demo game's films: a four-second opening and a reel
// of the drawing library's screen transitions, both at the demo's screen size (800 x 600: the game
// draws a film at its own size from the top left corner) at 15 frames a second in MJPEG with a PCM
// sound track.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "platform/sjis_literal.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/mem_plane_impl.h"
#include "sdk/graphics/transition.h"
#include "tools/make_films/film_writer.h"
#include "tools/demo_art/picture_canvas.h"
#include "tools/make_sounds/sound_writer.h"
#include "tools/make_sounds/synth.h"

namespace {

using demo_picture::Picture;

constexpr int kWidth = 800, kHeight = 600, kRate = 15;
// The pictures are drawn on a 320 x 240 plan and scaled by this.
constexpr double kScale = kWidth / 320.0;
constexpr uint32_t kMjpeg = 'M' | 'J' << 8 | 'P' << 16 | 'G' << 24;

uint32_t Bars(int x, int y, int frame) { return ((x + frame) & 4 ? 0xFF0000u : 0x0000FFu) | (y * 16u << 8); }

// A 16-bit mono PCM sound track at 22,050 Hz.
bool SoundTrack(const std::vector<int16_t>& pcm, film_writer::Audio& audio) {
  std::vector<uint8_t> wave;
  return sound_writer::MakeWave(sound_writer::WaveKind::kPcm16, pcm, 22050, 1, wave) &&
         film_writer::SplitWave(wave, audio.format, audio.data);
}

void AddFrame(film_writer::Video& video, const Picture& p) {
  video.frames.push_back(film_writer::JpegPixels(p.width, p.height, p.px, 85));
}

// The opening: dawn over the hills, the sun rising, then the game's name.
bool Opening(const std::string& path) {
  film_writer::Video video;
  video.width = kWidth;
  video.height = kHeight;
  video.rate = kRate;
  video.compression = kMjpeg;
  Picture name(kWidth, kHeight, true);
  demo_picture::DrawCaption(name, {"風の丘"_sj, static_cast<int>(48 * kScale), 0xFFFFF4DCu, 0xFF302020u, 2},
                            kWidth / 2, static_cast<int>(80 * kScale));
  const int frames = 4 * kRate;
  for (int f = 0; f < frames; ++f) {
    const double t = static_cast<double>(f) / (frames - 1);
    Picture p(kWidth, kHeight, false);
    const double sunY = 200 - 110 * t;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const double v = static_cast<double>(y) / kHeight;
        const double px = x / kScale, py = y / kScale;
        double r = demo_picture::Mix(0.05 + 0.5 * t, 0.3 + 0.6 * t, v);
        double g = demo_picture::Mix(0.05 + 0.35 * t, 0.15 + 0.5 * t, v);
        double b = demo_picture::Mix(0.20 + 0.5 * t, 0.30 + 0.3 * t, v);
        if (std::hypot(px - 220.0, py - sunY) < 26) r = 1.0, g = 0.85 + 0.1 * t, b = 0.5 + 0.3 * t;
        if (py > 170 + 14 * std::sin(px / 40.0)) r = 0.1 + 0.15 * t, g = 0.2 + 0.3 * t, b = 0.12 + 0.1 * t;
        p.At(x, y) = demo_picture::Rgb(r, g, b);
      }
    const double nameAlpha = std::clamp((t - 0.5) * 2.5, 0.0, 1.0);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        if (name.At(x, y) >> 24) demo_picture::Blend(p, x, y, name.At(x, y), nameAlpha);
    AddFrame(video, p);
  }
  // Wind (the rain's noise, well under the rain effect's level) through the whole film and a bell
  // when the name appears.
  std::vector<int16_t> pcm = synth::Rain(22050, 22050 * 4);
  const auto bell = synth::Bell(22050, 22050 * 2, 660);
  for (size_t i = 0; i < pcm.size(); ++i) {
    int32_t v = pcm[i] * 3 / 16;
    if (i >= 22050 * 2 && i - 22050 * 2 < bell.size()) v += bell[i - 22050 * 2];
    pcm[i] = static_cast<int16_t>(std::clamp(v, -32768, 32767));
  }
  film_writer::Audio audio;
  if (!SoundTrack(pcm, audio)) return false;
  return sound_writer::WriteFile(path, film_writer::MakeAvi({video, audio, true}));
}

// A card of the reel: a colour field with a caption.
Picture Card(int hue, const char* caption) {
  Picture p(kWidth, kHeight, false);
  const double r0 = 0.5 + 0.4 * std::sin(hue * 1.7), g0 = 0.5 + 0.4 * std::sin(hue * 1.7 + 2.1),
               b0 = 0.5 + 0.4 * std::sin(hue * 1.7 + 4.2);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const double v = 0.6 + 0.4 * static_cast<double>(y) / kHeight;
      const double ring = std::sin(std::hypot(x / kScale - 160.0, y / kScale - 120.0) / 9.0) * 0.06;
      p.At(x, y) = demo_picture::Rgb(r0 * v + ring, g0 * v + ring, b0 * v + ring);
    }
  demo_picture::DrawCaption(p, {caption, static_cast<int>(26 * kScale), 0xFFFFFFFFu, 0xFF000000u, 0}, kWidth / 2,
                            kHeight / 2);
  return p;
}

// The reel: eight effects of the transition catalogue, each bringing in a card that names it.
bool TransitionReel(const std::string& path) {
  const struct {
    int effect;
    const char* name;
  } effects[] = {
      {12, "四角"_sj},     {26, "波紋"_sj},         {32, "円"_sj},       {36, "ブラインド"_sj},
      {46, "うずまき"_sj}, {56, "はじける破片"_sj}, {69, "モザイク"_sj}, {75, "帯"_sj},
  };
  film_writer::Video video;
  video.width = kWidth;
  video.height = kHeight;
  video.rate = kRate;
  video.compression = kMjpeg;
  CMemPlane dest, source;
  if (dest.Create(kWidth, kHeight, 0) != 0 || source.Create(kWidth, kHeight, 0) != 0) return false;
  const auto load = [](CMemPlane& plane, const Picture& p) {
    std::copy(p.px.begin(), p.px.end(), plane.GetImpl()->GetPixels());
  };
  const auto grab = [](const CMemPlane& plane) {
    Picture p(kWidth, kHeight, false);
    std::copy_n(plane.GetImpl()->GetPixels(), p.px.size(), p.px.begin());
    return p;
  };
  Picture shown = Card(0, "画面切り替えの見本"_sj);
  for (int i = 0; i < 8; ++i) AddFrame(video, shown);
  constexpr int kSteps = 14, kHold = 6;
  for (int e = 0; e < 8; ++e) {
    const Picture next = Card(e + 1, effects[e].name);
    load(source, next);
    for (int f = 1; f <= kSteps; ++f) {
      load(dest, shown);
      TransitionBltTable[static_cast<size_t>(effects[e].effect)](&dest, &source, 0, 0, 256 * f / kSteps, 0, 255,
                                                                 nullptr);
      AddFrame(video, grab(dest));
    }
    shown = next;
    for (int i = 0; i < kHold; ++i) AddFrame(video, shown);
  }
  // A chime as each effect begins, as loud as the opening's sound: the film plays at the level of
  // the rest of the demo.
  const size_t frames = video.frames.size();
  std::vector<int16_t> pcm(frames * 22050 / kRate, 0);
  const auto chime = synth::Bell(22050, 22050, 1047);
  for (int e = 0; e < 8; ++e) {
    const size_t at = static_cast<size_t>(8 + e * (kSteps + kHold)) * 22050 / kRate;
    for (size_t i = 0; i < chime.size() && at + i < pcm.size(); ++i)
      pcm[at + i] = static_cast<int16_t>(std::clamp(pcm[at + i] + chime[i] * 3 / 4, -32768, 32767));
  }
  film_writer::Audio audio;
  if (!SoundTrack(pcm, audio)) return false;
  return sound_writer::WriteFile(path, film_writer::MakeAvi({video, audio, true}));
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc == 3 ? argv[1] : "";
  if (mode != "seeds" && mode != "demo") {
    std::fprintf(stderr, "usage: make_films seeds|demo DIR\n");
    return 2;
  }
  const std::string dir = argv[2];
  if (mode == "demo") return Opening(dir + "/opening.avi") && TransitionReel(dir + "/transitions.avi") ? 0 : 1;
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
