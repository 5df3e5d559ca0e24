#include "platform/font_config_preload.h"

#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QStringList>

#include "platform/gui_app.h"

namespace {

// Reading the configuration ahead, asked for more than once and raced by the toolkit's own first
// use of fonts, leaves one configuration that the toolkit and the font library's callers share, and
// it knows the installed fonts.
TEST(FontConfigPreload, TheToolkitAndTheFontLibraryShareOneConfiguration) {
  platform::StartLoadingFontConfig();
  platform::StartLoadingFontConfig();
  platform::EnsureGuiApp();
  const QStringList families = QFontDatabase::families();
  EXPECT_FALSE(families.isEmpty());
  FcConfig* const current = FcConfigGetCurrent();
  ASSERT_NE(current, nullptr);
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif"));
  ASSERT_NE(pattern, nullptr);
  FcConfigSubstitute(current, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(current, pattern, &result);
  ASSERT_NE(match, nullptr);
  FcChar8* file = nullptr;
  EXPECT_EQ(FcPatternGetString(match, FC_FILE, 0, &file), FcResultMatch);
  FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  EXPECT_EQ(FcConfigGetCurrent(), current);
}

}  // namespace
