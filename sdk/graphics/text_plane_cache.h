// Finished text images, kept by everything that decides their pixels. The renderer makes a new
// text plane for every character it draws; with the cache each distinct glyph in each style is
// rendered once, and later ones are copies. Used from the main thread only, like every surface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/win_types.h"

class CMemPlane;
class CTextFont;

class TextPlaneCache {
 public:
  struct Key {
    std::string text;
    std::string face;
    uint32_t quality;
    COLORREF textColor, shadowColor, bkColor;
    int32_t height, linePitch, weight;
    bool italic, underline, strikeOut, vertical;
    int32_t shadowX, shadowY, offsetX, offsetY;
    uint32_t engine;  // the font engine the image was rendered with

    Key(const CTextFont& font, int32_t offsetX, int32_t offsetY, bool vertical);
    bool operator==(const Key& o) const;
  };
  // Images larger than this are not kept.
  static constexpr size_t kMaxImagePixels = size_t{1} << 16;

  static TextPlaneCache& Instance();

  // The kept image, valid until the cache is next changed; null when none is kept.
  CMemPlane* Find(const Key& key) const;
  // Keeps a finished image (pixels with alpha), taking its pixels: the image is left empty. Returns
  // the kept surface, or null when the image is not kept (it is then left as it was).
  CMemPlane* Store(const Key& key, CMemPlane& image);
  void Clear();

 private:
  struct Hash {
    size_t operator()(const Key& key) const;
  };
  // When either bound is passed the cache starts afresh.
  static constexpr size_t kMaxImages = 2048;
  static constexpr size_t kMaxPixels = size_t{1} << 22;

  std::unordered_map<Key, std::unique_ptr<CMemPlane>, Hash> m_images;
  size_t m_pixels = 0;
};
