// The system's fonts: fontconfig finds the face files, FreeType renders their glyphs.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/font.h"

namespace platform {

// The font file that stands for a face name, and the family it holds.
struct ResolvedFace {
  std::string file;    // empty when no font file was found at all
  int index = 0;       // face inside a collection file
  std::string family;  // UTF-8, as the file names itself
};

class FreeTypeFontEngine final : public FontEngine {
 public:
  // The process-wide engine, built on first use.
  static FreeTypeFontEngine& Instance();

  FreeTypeFontEngine();
  ~FreeTypeFontEngine() override;
  FreeTypeFontEngine(const FreeTypeFontEngine&) = delete;
  FreeTypeFontEngine& operator=(const FreeTypeFontEngine&) = delete;

  std::unique_ptr<FontFace> OpenFace(const FaceRequest& request) override;

  // The four Japanese face names map to the four IPA families, and each family's own name to
  // itself; an empty or unknown name gets the Gothic one (a vertical mark in front is passed over).
  static std::string_view FamilyForFaceName(std::string_view faceName);
  ResolvedFace Resolve(std::string_view faceName);

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace platform
