#include "platform/freetype_font_engine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <utility>

#include "platform/sjis_literal.h"

namespace platform {
namespace {

// The library handle outlives every face opened from it, whoever is destroyed last.
struct Library {
  FT_Library handle = nullptr;
  Library() {
    if (FT_Init_FreeType(&handle) != 0) handle = nullptr;
  }
  ~Library() {
    if (handle) FT_Done_FreeType(handle);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
};

// One opened face file, shared by every size realised from it.
struct FaceFile {
  std::shared_ptr<Library> library;
  FT_Face face = nullptr;
  FaceFile(std::shared_ptr<Library> lib, const ResolvedFace& resolved) : library(std::move(lib)) {
    if (FT_New_Face(library->handle, resolved.file.c_str(), resolved.index, &face) != 0) face = nullptr;
  }
  ~FaceFile() {
    if (face) FT_Done_Face(face);
  }
  FaceFile(const FaceFile&) = delete;
  FaceFile& operator=(const FaceFile&) = delete;
};

int32_t Round26_6(FT_Pos v) { return static_cast<int32_t>((v + 32) >> 6); }

class FreeTypeFace final : public FontFace {
 public:
  FreeTypeFace(std::shared_ptr<FaceFile> file, FT_Size size, const FaceRequest& request)
      : m_file(std::move(file)), m_size(size), m_request(request) {
    const FT_Face face = m_file->face;
    const double scale = static_cast<double>(request.pixelHeight) / std::max<int>(face->units_per_EM, 1);
    auto px = [&](double units) { return static_cast<int32_t>(std::lround(units * scale)); };
    FontMetrics& m = m_metrics;
    m.cell = CellMetricsForHeight(request.pixelHeight);
    m.underlineThickness = std::max(1, px(face->underline_thickness));
    m.underlineOffset = std::max(1, px(-face->underline_position));
    m.strikeOutThickness = m.underlineThickness;
    m.strikeOutOffset = -std::max(1, m.cell.ascent * 3 / 10);
    if (auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        os2 && os2->version != 0xFFFF && os2->yStrikeoutPosition > 0) {
      m.strikeOutOffset = -px(os2->yStrikeoutPosition);
      m.strikeOutThickness = std::max(1, px(os2->yStrikeoutSize));
    }
    // Bars stay inside the cell, where the text's background is painted.
    m.underlineOffset = std::min(m.underlineOffset, std::max(0, m.cell.descent - m.underlineThickness));
  }

  ~FreeTypeFace() override { FT_Done_Size(m_size); }

  const FontMetrics& Metrics() const override { return m_metrics; }

  Glyph RenderGlyph(char32_t codePoint) override {
    Glyph glyph;
    const FT_Face face = m_file->face;
    if (FT_Activate_Size(m_size) != 0) return glyph;
    const FT_UInt index = FT_Get_Char_Index(face, codePoint);
    const FT_Int32 target = m_request.smooth ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO;
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | target) != 0) return glyph;
    FT_GlyphSlot slot = face->glyph;
    if (m_request.bold) FT_GlyphSlot_Embolden(slot);
    if (m_request.italic) FT_GlyphSlot_Oblique(slot);
    // The advance is read after the synthesis, from the very load the shape is rendered from.
    glyph.advance = Round26_6(slot->advance.x);
    if (FT_Render_Glyph(slot, m_request.smooth ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) return glyph;
    const FT_Bitmap& bm = slot->bitmap;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int32_t>(bm.width);
    glyph.height = static_cast<int32_t>(bm.rows);
    glyph.coverage.assign(static_cast<size_t>(glyph.width) * glyph.height, 0);
    for (int32_t y = 0; y < glyph.height; ++y) {
      const unsigned char* row = bm.pitch >= 0 ? bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch
                                               : bm.buffer + static_cast<ptrdiff_t>(glyph.height - 1 - y) * -bm.pitch;
      uint8_t* out = &glyph.coverage[static_cast<size_t>(y) * glyph.width];
      for (int32_t x = 0; x < glyph.width; ++x) {
        if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
          out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
        } else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
          out[x] = static_cast<uint8_t>(bm.num_grays == 256 ? row[x] : row[x] * 255 / std::max(1, bm.num_grays - 1));
        }
      }
    }
    return glyph;
  }

 private:
  std::shared_ptr<FaceFile> m_file;
  FT_Size m_size;
  FaceRequest m_request;
  FontMetrics m_metrics{};
};

std::string FcString(FcPattern* pattern, const char* object) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || !value) return {};
  return reinterpret_cast<const char*>(value);
}

}  // namespace

struct FreeTypeFontEngine::Impl {
  std::shared_ptr<Library> library = std::make_shared<Library>();
  // The process's current configuration, which the toolkit's font database reads too: a
  // configuration of our own would read every configuration file and font cache a second time.
  FcConfig* config = FcConfigReference(nullptr);
  std::map<std::string, ResolvedFace, std::less<>> resolved;             // by family
  std::map<std::pair<std::string, int>, std::weak_ptr<FaceFile>> files;  // by file and index

  ~Impl() {
    if (config) FcConfigDestroy(config);
  }

  ResolvedFace Resolve(std::string_view family) {
    if (auto it = resolved.find(family); it != resolved.end()) return it->second;
    ResolvedFace out;
    if (config) {
      const std::string name(family);
      FcPattern* pattern = FcPatternCreate();
      FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
      FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
      FcConfigSubstitute(config, pattern, FcMatchPattern);
      FcDefaultSubstitute(pattern);
      FcResult result = FcResultNoMatch;
      if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
        out.file = FcString(match, FC_FILE);
        out.family = FcString(match, FC_FAMILY);
        int index = 0;
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) out.index = index;
        FcPatternDestroy(match);
      }
      FcPatternDestroy(pattern);
    }
    resolved.emplace(std::string(family), out);
    return out;
  }

  std::shared_ptr<FaceFile> Open(const ResolvedFace& face) {
    auto key = std::make_pair(face.file, face.index);
    if (auto it = files.find(key); it != files.end()) {
      if (auto file = it->second.lock()) return file;
    }
    auto file = std::make_shared<FaceFile>(library, face);
    if (!file->face) return nullptr;
    files[key] = file;
    return file;
  }
};

FreeTypeFontEngine& FreeTypeFontEngine::Instance() {
  static FreeTypeFontEngine engine;
  return engine;
}

FreeTypeFontEngine::FreeTypeFontEngine() : m_impl(std::make_unique<Impl>()) {}
FreeTypeFontEngine::~FreeTypeFontEngine() = default;

std::string_view FreeTypeFontEngine::FamilyForFaceName(std::string_view faceName) {
  if (!faceName.empty() && faceName.front() == '@') faceName.remove_prefix(1);
  static const std::pair<std::string_view, std::string_view> kFamilies[] = {
      {"ＭＳ ゴシック"_sj, "IPAGothic"},
      {"ＭＳ Ｐゴシック"_sj, "IPAPGothic"},
      {"ＭＳ 明朝"_sj, "IPAMincho"},
      {"ＭＳ Ｐ明朝"_sj, "IPAPMincho"},
      // The families' own names, which the font chooser gives back, name themselves.
      {"IPAGothic", "IPAGothic"},
      {"IPAPGothic", "IPAPGothic"},
      {"IPAMincho", "IPAMincho"},
      {"IPAPMincho", "IPAPMincho"},
  };
  for (const auto& [name, family] : kFamilies) {
    if (faceName == name) return family;
  }
  return kFamilies[0].second;
}

ResolvedFace FreeTypeFontEngine::Resolve(std::string_view faceName) {
  return m_impl->Resolve(FamilyForFaceName(faceName));
}

std::unique_ptr<FontFace> FreeTypeFontEngine::OpenFace(const FaceRequest& request) {
  if (!m_impl->library->handle || request.pixelHeight <= 0) return nullptr;
  const ResolvedFace resolved = Resolve(request.faceName);
  if (resolved.file.empty()) return nullptr;
  std::shared_ptr<FaceFile> file = m_impl->Open(resolved);
  if (!file) return nullptr;
  FT_Size size = nullptr;
  if (FT_New_Size(file->face, &size) != 0) return nullptr;
  if (FT_Activate_Size(size) != 0 ||
      FT_Set_Pixel_Sizes(file->face, 0, static_cast<FT_UInt>(request.pixelHeight)) != 0) {
    FT_Done_Size(size);
    return nullptr;
  }
  return std::make_unique<FreeTypeFace>(std::move(file), size, request);
}

}  // namespace platform
