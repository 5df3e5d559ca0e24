// A font engine whose glyphs have exactly known shapes, for tests that check text positions and
// pixel values by arithmetic.
//
// Every character is a box in its cell: a single-byte character advances half the height (rounded
// down), a double-byte one the full height, and a bold one a pixel more. The ink fills the cell less
// a one-pixel border, with one hole at cell pixel (3, 3), so that 2 × 2 blocks of a doubled glyph
// hold 0, 1, 2, 3 or 4 inked pixels.
#pragma once

#include <algorithm>
#include <memory>
#include <string>

#include "platform/font.h"

class BoxFontFace final : public platform::FontFace {
 public:
  explicit BoxFontFace(const platform::FaceRequest& request) : m_request(request) {
    m_metrics.cell = platform::CellMetricsForHeight(request.pixelHeight);
    m_metrics.underlineOffset = 1;
    m_metrics.underlineThickness = 1;
    m_metrics.strikeOutOffset = -m_metrics.cell.ascent / 2;
    m_metrics.strikeOutThickness = 1;
  }
  const platform::FontMetrics& Metrics() const override { return m_metrics; }
  platform::Glyph RenderGlyph(char32_t codePoint) override {
    const int32_t h = m_request.pixelHeight;
    platform::Glyph g;
    g.advance = (codePoint < 0x100 || (codePoint >= 0xFF61 && codePoint <= 0xFF9F) ? h / 2 : h) + (m_request.bold ? 1 : 0);
    g.left = 1;
    g.top = m_metrics.cell.ascent - 1;
    g.width = std::max(0, g.advance - 2);
    g.height = std::max(0, h - 2);
    g.coverage.assign(static_cast<size_t>(g.width) * g.height, 255);
    if (g.width > 2 && g.height > 2) g.coverage[static_cast<size_t>(2 * g.width + 2)] = 0;
    return g;
  }

 private:
  platform::FaceRequest m_request;
  platform::FontMetrics m_metrics{};
};

class BoxFontEngine final : public platform::FontEngine {
 public:
  std::unique_ptr<platform::FontFace> OpenFace(const platform::FaceRequest& request) override {
    ++opened;
    lastFace = request.faceName;
    return std::make_unique<BoxFontFace>(request);
  }
  int opened = 0;
  std::string lastFace;
};

// Installs a box font engine for the life of the object.
class BoxFontScope {
 public:
  BoxFontScope() : m_previous(platform::SetFontEngine(&engine)) {}
  ~BoxFontScope() { platform::SetFontEngine(m_previous); }
  BoxFontScope(const BoxFontScope&) = delete;
  BoxFontScope& operator=(const BoxFontScope&) = delete;
  BoxFontEngine engine;

 private:
  platform::FontEngine* m_previous;
};
