// Fonts as the drawing code asks for them: a description in the terms the game speaks (a face name,
// a character height, a weight, three style bytes, an output quality), realised through a font engine
// that can be replaced, so that tests lay text out with glyphs of exactly known shape.
//
// Fonts are made and drawn on one thread at a time (the game's main thread): the caches of faces
// and glyphs take no lock.
//
// Size rule: a requested height is both the pixel size of the face and the height of a text cell;
// the baseline sits at about 0.86 of it. Full-width characters of the Japanese faces are one em wide,
// so they advance by exactly the requested height, as they did on the faces the game was made for.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Output quality values of a font description.
constexpr uint32_t DEFAULT_QUALITY = 0;
constexpr uint32_t DRAFT_QUALITY = 1;
constexpr uint32_t PROOF_QUALITY = 2;
constexpr uint32_t NONANTIALIASED_QUALITY = 3;
constexpr uint32_t ANTIALIASED_QUALITY = 4;
constexpr uint32_t CLEARTYPE_QUALITY = 5;

constexpr int32_t FW_NORMAL = 400;
constexpr int32_t FW_BOLD = 700;
// From this weight on, a face without a bold design is emboldened.
constexpr int32_t kEmboldenWeight = 600;

// Heights (in pixels) a font may have; a larger request cannot be realised, so that a script's size
// tag can never ask for a glyph surface of gigabytes.
constexpr int32_t kMaxFontHeight = 1024;
// What a height of 0 ("any size") gets.
constexpr int32_t kDefaultFontHeight = 16;

struct FontDesc {
  int32_t height = kDefaultFontHeight;  // cell height in pixels; a negative value counts as its magnitude
  int32_t weight = FW_NORMAL;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  uint32_t quality = DEFAULT_QUALITY;
  std::string faceName;  // Shift-JIS; a leading '@' asks for the vertical variant
};

// Only the antialiased qualities smooth their edges; every other quality draws two-level glyphs.
constexpr bool IsSmoothQuality(uint32_t quality) {
  return quality == ANTIALIASED_QUALITY || quality == CLEARTYPE_QUALITY;
}

// The cell of the size rule.
struct CellMetrics {
  int32_t height;   // = the requested height
  int32_t ascent;   // baseline, from the top of the cell
  int32_t descent;  // height - ascent
};
CellMetrics CellMetricsForHeight(int32_t pixelHeight);

// Where a realised face puts its bars, in pixels relative to the baseline (positive = below).
struct FontMetrics {
  CellMetrics cell;
  int32_t underlineOffset;  // top row of the underline
  int32_t underlineThickness;
  int32_t strikeOutOffset;  // top row of the strike-out bar (negative: above the baseline)
  int32_t strikeOutThickness;
};

// One rendered glyph: a coverage bitmap (0 = no ink, 255 = full ink) placed relative to the pen,
// which stands on the baseline.
struct Glyph {
  int32_t advance = 0;  // how far the pen moves
  int32_t left = 0;     // column of the bitmap's first pixel, relative to the pen
  int32_t top = 0;      // rows of the bitmap above the baseline
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> coverage;  // width × height, row by row
  // Set by the glyph cache when every coverage value is 0 or 255: the inked runs of each row, as
  // pairs of columns [first, end); row y's pairs are spans[rowSpans[y] .. rowSpans[y + 1]).
  bool twoLevel = false;
  std::vector<uint16_t> spans;
  std::vector<uint32_t> rowSpans;
};

// What an engine is asked to realise: the face without its vertical mark, and the size and style
// that change the glyphs' shapes (bars are drawn by the text output, not by the engine).
struct FaceRequest {
  std::string faceName;  // Shift-JIS
  int32_t pixelHeight = kDefaultFontHeight;
  bool bold = false;
  bool italic = false;
  bool smooth = false;  // grey edges; otherwise every pixel is 0 or 255
};

// A face realised at one size and style.
class FontFace {
 public:
  virtual ~FontFace() = default;
  virtual const FontMetrics& Metrics() const = 0;
  // Renders the glyph of a Unicode code point; the face's missing-glyph shape when it has none.
  // The advance is measured with the same settings that render the shape.
  virtual Glyph RenderGlyph(char32_t codePoint) = 0;
};

class FontEngine {
 public:
  virtual ~FontEngine() = default;
  // Null when the face cannot be realised.
  virtual std::unique_ptr<FontFace> OpenFace(const FaceRequest& request) = 0;
};

// Installs an engine (null restores the system fonts) and returns the previous one; the caller keeps
// ownership and the engine must outlive its installation. Every cached font is dropped.
FontEngine* SetFontEngine(FontEngine* engine);

// Changes whenever an engine is installed, so that images rendered with the previous one can be
// told apart.
uint32_t FontEngineGeneration();

// A realised face with its glyphs cached by character code. In a vertical face, double-byte
// characters lie turned a quarter to the left, so that text turned a quarter to the right shows
// them upright while single-byte characters lie on their side.
class RealisedFont {
 public:
  RealisedFont(std::unique_ptr<FontFace> face, bool vertical);
  const FontMetrics& Metrics() const { return m_face->Metrics(); }
  // The glyph of a Shift-JIS code (a single byte, or lead << 8 | trail). The reference stays valid
  // until the next call.
  const Glyph& GetGlyph(uint16_t code);

 private:
  std::unique_ptr<FontFace> m_face;
  bool m_vertical;
  // The rendered glyphs, found through a page of 256 slots for every lead byte in use: a slot holds
  // the glyph's place in m_glyphs plus one, 0 while the character has not been rendered.
  using Page = std::array<uint16_t, 256>;
  std::vector<Glyph> m_glyphs;
  std::array<std::unique_ptr<Page>, 256> m_pages;
};

// A font as a device context selects it. Creating the same description again is cheap: realised
// faces are shared and cached, and the font itself is a small value, since text drawing makes a new
// font for every character it measures.
class Font {
 public:
  // Empty when the description cannot be realised (a height beyond kMaxFontHeight, no face file).
  static std::optional<Font> Create(const FontDesc& desc);

  const FontDesc& Desc() const { return m_desc; }
  const FontMetrics& Metrics() const { return m_face->Metrics(); }
  RealisedFont& Face() const { return *m_face; }

  Font(FontDesc desc, std::shared_ptr<RealisedFont> face);

 private:
  FontDesc m_desc;
  std::shared_ptr<RealisedFont> m_face;
};

// Whether a font lays text on a grid of cells: every printable ASCII character (0x20 .. 0x7E)
// advances equally, by a width of at least one pixel, and full-width characters by exactly twice
// that. The font's own flags do not decide it: the Japanese fixed faces call themselves dual
// spaced, and a face fixed at one size may not be at another where hinting rounds its half-width
// advance away from half the em.
bool IsFixedPitch(const Font& font);

}  // namespace platform
