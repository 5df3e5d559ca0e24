#include "sdk/graphics/text_plane_cache.h"

#include <cstring>

#include "platform/font.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/text_font.h"

TextPlaneCache::Key::Key(const CTextFont& font, int32_t x, int32_t y, bool turned)
    : text(font.GetText()),
      face(font.GetFaceName()),
      quality(font.GetQualityValue()),
      textColor(font.GetTextColor()),
      shadowColor(font.GetShadowColor()),
      bkColor(font.GetBkColor()),
      height(font.GetHeight()),
      linePitch(font.GetLinePitch()),
      weight(font.GetWeight()),
      italic(font.GetItalic()),
      underline(font.GetUnderline()),
      strikeOut(font.GetStrikeOut()),
      vertical(turned),
      shadowX(font.GetShadowOffsetX()),
      shadowY(font.GetShadowOffsetY()),
      offsetX(x),
      offsetY(y),
      engine(platform::FontEngineGeneration()) {}

// Keys are compared field by field, the numbers before the two strings, which differ least often.
bool TextPlaneCache::Key::operator==(const Key& o) const {
  return textColor == o.textColor && shadowColor == o.shadowColor && bkColor == o.bkColor && height == o.height &&
         linePitch == o.linePitch && weight == o.weight && quality == o.quality && italic == o.italic &&
         underline == o.underline && strikeOut == o.strikeOut && vertical == o.vertical && shadowX == o.shadowX &&
         shadowY == o.shadowY && offsetX == o.offsetX && offsetY == o.offsetY && engine == o.engine && text == o.text &&
         face == o.face;
}

// The text is a character or two and the face name a dozen bytes: every eight bytes of them, and
// every pair of numbers, go through one multiply-and-fold.
size_t TextPlaneCache::Hash::operator()(const Key& k) const {
  uint64_t h = 0xCBF29CE484222325ull;
  auto mix = [&h](uint64_t v) {
    h = (h ^ v) * 0x9E3779B97F4A7C15ull;
    h ^= h >> 29;
  };
  auto bytes = [&mix](const std::string& s) {
    mix(s.size());
    size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
      uint64_t word;
      std::memcpy(&word, s.data() + i, 8);
      mix(word);
    }
    // The last bytes are gathered in a register: bytes stored one by one and read back as a word
    // would wait for the stores.
    uint64_t rest = 0;
    for (size_t j = 0; i + j < s.size(); ++j) rest |= uint64_t{static_cast<unsigned char>(s[i + j])} << (8 * j);
    mix(rest);
  };
  bytes(k.text);
  bytes(k.face);
  mix((uint64_t{k.textColor} << 32) | k.shadowColor);
  mix((uint64_t{k.bkColor} << 32) | k.quality);
  mix((uint64_t(uint32_t(k.height)) << 32) | uint32_t(k.linePitch));
  mix((uint64_t(uint32_t(k.weight)) << 32) | (k.italic << 3 | k.underline << 2 | k.strikeOut << 1 | k.vertical));
  mix((uint64_t(uint32_t(k.shadowX)) << 32) | uint32_t(k.shadowY));
  mix((uint64_t(uint32_t(k.offsetX)) << 32) | uint32_t(k.offsetY));
  mix(k.engine);
  return static_cast<size_t>(h);
}

TextPlaneCache& TextPlaneCache::Instance() {
  static TextPlaneCache cache;
  return cache;
}

CMemPlane* TextPlaneCache::Find(const Key& key) const {
  auto it = m_images.find(key);
  return it == m_images.end() ? nullptr : it->second.get();
}

CMemPlane* TextPlaneCache::Store(const Key& key, CMemPlane& image) {
  int w = 0, h = 0;
  image.GetSize(&w, &h);
  const size_t pixels = static_cast<size_t>(w) * static_cast<size_t>(h);
  if (pixels > kMaxImagePixels || m_images.contains(key)) return nullptr;
  if (m_images.size() >= kMaxImages || m_pixels + pixels > kMaxPixels) Clear();
  auto kept = std::make_unique<CMemPlane>();
  kept->GetImpl()->SwapPixels(*image.GetImpl());
  *kept->GetImpl()->GetHasAlphaPtr() = true;
  CMemPlane* const result = kept.get();
  m_images.emplace(key, std::move(kept));
  m_pixels += pixels;
  return result;
}

void TextPlaneCache::Clear() {
  m_images.clear();
  m_pixels = 0;
}
