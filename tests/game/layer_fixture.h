// A headless layer module for tests: a small screen surface that the compositor draws into instead
// of the game's back buffer, a temporary folder to load pictures from, and the configuration the
// layers read, restored afterwards.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "game/config.h"
#include "game/frame_input.h"
#include "game/message_window.h"
#include "game/picture_layers.h"
#include "scoped_temp_dir.h"
#include "sdk/framework/path_functions.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/png_writer.h"

class LayerFixture {
 public:
  static constexpr uint32_t kBackground = 0xFF000000u;

  LayerFixture(int width, int height, int fps = 60)
      : m_savedConfig(Config), m_savedDir(std::filesystem::current_path()) {
    std::filesystem::current_path(dir.path());
    RecordCurrentDir();
    Config.screenWidth = width;
    Config.screenHeight = height;
    Config.fps = fps;
    Config.effectsOn = true;
    Config.imageCacheSize = 0;
    Config.skipUnread = false;
    FrameInput = {};
    SkipMode = false;
    CurrentTextRead = true;
    screen.Create(width, height, 0);
    SetLayerDrawTarget(&screen);
    InitLayers();
  }
  ~LayerFixture() {
    ReleaseLayers();
    SetLayerDrawTarget(nullptr);
    SetFullCompositionHook(nullptr);
    SetQuakeRandom(nullptr);
    FrameInput = {};
    SkipMode = false;
    Config = m_savedConfig;
    std::filesystem::current_path(m_savedDir);
    RecordCurrentDir();
  }
  LayerFixture(const LayerFixture&) = delete;
  LayerFixture& operator=(const LayerFixture&) = delete;

  // Writes a PNG of 0xAARRGGBB pixels, with an alpha channel or without one (the alpha bytes are
  // then dropped).
  void WritePicture(const std::string& name, int width, int height, const std::vector<uint32_t>& pixels, bool alpha) {
    PngFixture png;
    png.width = width;
    png.height = height;
    png.colorType = alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB;
    for (int y = 0; y < height; ++y) {
      std::vector<uint8_t> row;
      for (int x = 0; x < width; ++x) {
        const uint32_t p = pixels[static_cast<size_t>(y * width + x)];
        row.push_back(static_cast<uint8_t>(p >> 16));
        row.push_back(static_cast<uint8_t>(p >> 8));
        row.push_back(static_cast<uint8_t>(p));
        if (alpha) row.push_back(static_cast<uint8_t>(p >> 24));
      }
      png.rows.push_back(row);
    }
    WritePng(dir.File(name), png);
  }
  // A picture of one colour.
  void WriteSolid(const std::string& name, int width, int height, uint32_t colour, bool alpha = false) {
    WritePicture(name, width, height, std::vector<uint32_t>(static_cast<size_t>(width * height), colour), alpha);
  }

  // One frame of the game's picture: the back buffer cleared, then the layers.
  void Frame() {
    screen.GetImpl()->Clear(kBackground, nullptr);
    DrawLayers();
  }
  uint32_t Pixel(int x, int y) const { return screen.GetImpl()->GetPixel(x, y); }
  uint32_t Colour(int x, int y) const { return Pixel(x, y) & 0xFFFFFFu; }
  std::vector<uint32_t> Pixels() const {
    const CMemPlaneImpl& s = *screen.GetImpl();
    return std::vector<uint32_t>(s.GetPixels(), s.GetPixels() + static_cast<size_t>(s.Width()) * s.Height());
  }

  ScopedTempDir dir;
  CMemPlane screen;

 private:
  GameConfig m_savedConfig;
  std::filesystem::path m_savedDir;
};
