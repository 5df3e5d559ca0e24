#include "sdk/graphics/text_plane_cache.h"

#include <functional>

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

size_t TextPlaneCache::Hash::operator()(const Key& k) const {
  size_t h = std::hash<std::string>()(k.text);
  auto mix = [&h](uint64_t v) { h ^= std::hash<uint64_t>()(v) + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2); };
  mix(std::hash<std::string>()(k.face));
  mix((uint64_t{k.textColor} << 32) | k.shadowColor);
  mix((uint64_t{k.bkColor} << 32) | k.quality);
  mix((uint64_t(uint32_t(k.height)) << 32) | uint32_t(k.linePitch));
  mix((uint64_t(uint32_t(k.weight)) << 32) | (k.italic << 3 | k.underline << 2 | k.strikeOut << 1 | k.vertical));
  mix((uint64_t(uint32_t(k.shadowX)) << 32) | uint32_t(k.shadowY));
  mix((uint64_t(uint32_t(k.offsetX)) << 32) | uint32_t(k.offsetY));
  mix(k.engine);
  return h;
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
