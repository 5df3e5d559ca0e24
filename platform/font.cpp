#include "platform/font.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <tuple>

#include "platform/freetype_font_engine.h"
#include "platform/sjis.h"

namespace platform {

CellMetrics CellMetricsForHeight(int32_t pixelHeight) {
  // 0.86 is the baseline of the faces the game was laid out with; the Japanese faces we draw with
  // keep their ink inside the same cell.
  const int32_t ascent = static_cast<int32_t>(std::lround(pixelHeight * 0.86));
  return {pixelHeight, ascent, pixelHeight - ascent};
}

namespace {

// A glyph of a vertical face: the shape turned a quarter to the left inside a square cell of the
// font's height, which also becomes its advance.
Glyph TurnLeft(const Glyph& g, const CellMetrics& cell) {
  const int32_t side = cell.height;
  const int32_t centre = (side - g.advance) / 2;
  Glyph out;
  out.advance = side;
  out.width = g.height;
  out.height = g.width;
  out.left = cell.ascent - g.top;
  out.top = cell.ascent - (side - 1 - (g.left + centre + g.width - 1));
  out.coverage.resize(g.coverage.size());
  for (int32_t j = 0; j < g.height; ++j) {
    for (int32_t i = 0; i < g.width; ++i) {
      out.coverage[static_cast<size_t>((g.width - 1 - i) * out.width + j)] =
          g.coverage[static_cast<size_t>(j * g.width + i)];
    }
  }
  return out;
}

// Two-level glyphs are drawn run by run: most of a glyph's box is empty.
// A box without pixels (no width or no height, as small sizes give) has no runs to find. A shape
// whose coverage does not fill its box is drawn as no shape at all rather than read past its end.
void FindInkRuns(Glyph& g) {
  g.twoLevel = false;
  if (g.width <= 0 || g.height <= 0) return;
  if (g.coverage.size() != static_cast<size_t>(g.width) * static_cast<size_t>(g.height)) {
    g.width = g.height = 0;
    g.coverage.clear();
    return;
  }
  if (g.width > 0xFFFF) return;
  g.twoLevel = std::all_of(g.coverage.begin(), g.coverage.end(), [](uint8_t c) { return c == 0 || c == 255; });
  if (!g.twoLevel) return;
  g.rowSpans.reserve(static_cast<size_t>(g.height) + 1);
  for (int32_t y = 0; y < g.height; ++y) {
    g.rowSpans.push_back(static_cast<uint32_t>(g.spans.size()));
    const uint8_t* row = &g.coverage[static_cast<size_t>(y) * g.width];
    for (int32_t x = 0; x < g.width;) {
      if (!row[x]) {
        ++x;
        continue;
      }
      const int32_t first = x;
      while (x < g.width && row[x]) ++x;
      g.spans.push_back(static_cast<uint16_t>(first));
      g.spans.push_back(static_cast<uint16_t>(x));
    }
  }
  g.rowSpans.push_back(static_cast<uint32_t>(g.spans.size()));
}

// Realised faces live here, shared by every font made from an equal description. Faces nobody
// holds are dropped when the cache grows past its bound. A face is looked up by a key that only
// views its name, so that finding a face copies nothing.
template <typename Name>
struct BasicFaceKey {
  Name faceName;
  int32_t pixelHeight;
  bool bold, italic, smooth, vertical;
  auto Tie() const { return std::tie(faceName, pixelHeight, bold, italic, smooth, vertical); }
};
using FaceKey = BasicFaceKey<std::string>;
using FaceQuery = BasicFaceKey<std::string_view>;

template <typename A, typename B>
bool operator<(const BasicFaceKey<A>& a, const BasicFaceKey<B>& b) {
  return a.Tie() < b.Tie();
}
template <typename A, typename B>
bool operator==(const BasicFaceKey<A>& a, const BasicFaceKey<B>& b) {
  return a.Tie() == b.Tie();
}

class FontRegistry {
 public:
  FontEngine* SetEngine(FontEngine* engine) {
    FontEngine* previous = m_engine;
    m_engine = engine;
    m_faces.clear();
    m_recent = {};
    ++m_generation;
    return previous;
  }
  uint32_t Generation() const { return m_generation; }

  std::shared_ptr<RealisedFont> Find(const FaceQuery& query) {
    // Text is drawn in few faces at a time (a glyph's size and its doubled size): those few are
    // found without a search.
    for (const Recent& r : m_recent) {
      if (r.font && r.key == query) return r.font;
    }
    FaceKey key{std::string(query.faceName), query.pixelHeight, query.bold, query.italic, query.smooth, query.vertical};
    std::shared_ptr<RealisedFont> found = Search(key);
    if (found) {
      m_recent[m_nextRecent] = {std::move(key), found};
      m_nextRecent = (m_nextRecent + 1) % m_recent.size();
    }
    return found;
  }

 private:
  static constexpr size_t kMaxCachedFaces = 48;

  struct Recent {
    FaceKey key;
    std::shared_ptr<RealisedFont> font;
  };

  std::shared_ptr<RealisedFont> Search(const FaceKey& key) {
    if (auto it = m_faces.find(key); it != m_faces.end()) return it->second;
    FontEngine& engine = m_engine ? *m_engine : FreeTypeFontEngine::Instance();
    FaceRequest request{key.faceName, key.pixelHeight, key.bold, key.italic, key.smooth};
    std::unique_ptr<FontFace> face = engine.OpenFace(request);
    if (!face) return nullptr;
    if (m_faces.size() >= kMaxCachedFaces) DropUnused();
    auto font = std::make_shared<RealisedFont>(std::move(face), key.vertical);
    m_faces.emplace(key, font);
    return font;
  }

  void DropUnused() {
    for (auto it = m_faces.begin(); it != m_faces.end();) {
      it = it->second.use_count() == 1 ? m_faces.erase(it) : std::next(it);
    }
  }

  FontEngine* m_engine = nullptr;
  uint32_t m_generation = 0;
  std::map<FaceKey, std::shared_ptr<RealisedFont>, std::less<>> m_faces;
  std::array<Recent, 4> m_recent{};
  size_t m_nextRecent = 0;
};

FontRegistry& Registry() {
  static FontRegistry registry;
  return registry;
}

}  // namespace

FontEngine* SetFontEngine(FontEngine* engine) { return Registry().SetEngine(engine); }

uint32_t FontEngineGeneration() { return Registry().Generation(); }

RealisedFont::RealisedFont(std::unique_ptr<FontFace> face, bool vertical)
    : m_face(std::move(face)), m_vertical(vertical) {}

const Glyph& RealisedFont::GetGlyph(uint16_t code) {
  if (const Page* page = m_pages[code >> 8].get()) {
    if (const uint16_t slot = (*page)[code & 0xFF]) return m_glyphs[slot - 1];
  }
  // A face that has drawn every character of a long session is started afresh rather than grown
  // without bound.
  constexpr size_t kMaxCachedGlyphs = 4096;
  static_assert(kMaxCachedGlyphs < 0xFFFF, "slots hold places plus one in 16 bits");
  if (m_glyphs.size() >= kMaxCachedGlyphs) {
    m_glyphs.clear();
    for (std::unique_ptr<Page>& page : m_pages) page.reset();
  }
  // Control characters have neither ink nor width; a carriage return left inside a line is not
  // shown as a missing-glyph box.
  const bool control = code < 0x20 || code == 0x7F;
  Glyph glyph = control ? Glyph{} : m_face->RenderGlyph(SjisCodeToUnicode(code));
  if (m_vertical && code > 0xFF) glyph = TurnLeft(glyph, m_face->Metrics().cell);
  FindInkRuns(glyph);
  std::unique_ptr<Page>& page = m_pages[code >> 8];
  if (!page) page = std::make_unique<Page>();  // all slots 0
  m_glyphs.push_back(std::move(glyph));
  (*page)[code & 0xFF] = static_cast<uint16_t>(m_glyphs.size());
  return m_glyphs.back();
}

Font::Font(FontDesc desc, std::shared_ptr<RealisedFont> face) : m_desc(std::move(desc)), m_face(std::move(face)) {}

std::optional<Font> Font::Create(const FontDesc& desc) {
  int32_t height = desc.height == 0 ? kDefaultFontHeight : desc.height;
  if (height < 0) {
    if (height == INT32_MIN) return std::nullopt;
    height = -height;
  }
  if (height > kMaxFontHeight) return std::nullopt;
  FaceQuery key;
  std::string_view face = desc.faceName;
  key.vertical = !face.empty() && face.front() == '@';
  if (key.vertical) face.remove_prefix(1);
  key.faceName = face;
  key.pixelHeight = height;
  key.bold = desc.weight >= kEmboldenWeight;
  key.italic = desc.italic;
  key.smooth = IsSmoothQuality(desc.quality);
  std::shared_ptr<RealisedFont> realised = Registry().Find(key);
  if (!realised) return std::nullopt;
  return Font(desc, std::move(realised));
}

bool IsFixedPitch(const Font& font) {
  RealisedFont& face = font.Face();
  const int32_t half = face.GetGlyph(' ').advance;
  if (half < 1) return false;
  for (uint16_t code = 0x21; code <= 0x7E; ++code) {
    if (face.GetGlyph(code).advance != half) return false;
  }
  // The ideographic space, a kana, a full-width letter and digit, a kanji of each level and a line
  // piece stand for the full-width repertoire.
  constexpr uint16_t kFullWidth[] = {0x8140, 0x82A0, 0x8341, 0x8260, 0x824F, 0x889F, 0x989F, 0x849F};
  return std::all_of(std::begin(kFullWidth), std::end(kFullWidth),
                     [&](uint16_t code) { return face.GetGlyph(code).advance == 2 * half; });
}

}  // namespace platform
