#include "platform/font_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/dialog_test.h"
#include "platform/font.h"
#include "platform/font_dialog_test.h"
#include "platform/sjis_literal.h"

namespace {

namespace dt = platform::dialog_test;
namespace ft = platform::font_dialog_test;

LOGFONT Face(const char* face, LONG height) {
  LOGFONT lf;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  lf.lfHeight = height;
  return lf;
}

bool Has(const std::vector<std::string>& faces, const std::string& face) {
  return std::find(faces.begin(), faces.end(), face) != faces.end();
}

// Runs the chooser with a hook that acts on it and ends it.
class FontDialogTest : public testing::Test {
 protected:
  void TearDown() override { dt::SetShownHook({}); }

  BOOL Run(LOGFONT* lf, DWORD flags, const std::function<void(HWND)>& act) {
    shown = 0;
    dt::SetShownHook([&](HWND dialog) {
      ++shown;
      act(dialog);
    });
    CHOOSEFONT cf;
    cf.lStructSize = sizeof cf;
    cf.lpLogFont = lf;
    cf.Flags = flags;
    const BOOL result = platform::ChooseFont(&cf);
    pointSize = cf.iPointSize;
    return result;
  }

  int shown = 0;
  int pointSize = 0;
};

TEST_F(FontDialogTest, TheFixedPitchListHoldsTheFacesOurFontModuleJudgesFixedAndNoProportionalOne) {
  const struct {
    const char* name;
    DWORD flags;
    std::vector<std::string> listed;
    std::vector<std::string> absent;
  } cases[] = {
      {"fixed only", CF_SCREENFONTS | CF_FIXEDPITCHONLY, {"IPAGothic", "IPAMincho"}, {"IPAPGothic", "IPAPMincho", "DejaVu Sans Mono"}},
      // A face the module would draw as another is never offered, fixed or not.
      {"every face", CF_SCREENFONTS, {"IPAGothic", "IPAMincho", "IPAPGothic", "IPAPMincho"}, {"DejaVu Sans", "DejaVu Sans Mono"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> faces;
    LOGFONT lf = Face("ＭＳ ゴシック"_sj, -16);
    EXPECT_FALSE(Run(&lf, c.flags, [&](HWND dialog) {
      EXPECT_EQ(dt::TemplateOf(dialog), "FontChooser");
      faces = ft::OfferedFaces(dialog);
      dt::Click(dialog, IDCANCEL);
    })) << c.name;
    EXPECT_EQ(shown, 1) << c.name;
    for (const std::string& face : c.listed) EXPECT_TRUE(Has(faces, face)) << c.name << ": " << face;
    for (const std::string& face : c.absent) EXPECT_FALSE(Has(faces, face)) << c.name << ": " << face;
    if (c.flags & CF_FIXEDPITCHONLY) {
      for (const std::string& face : faces) {
        EXPECT_TRUE(platform::IsFixedPitchLogFont(Face(face.c_str(), -16))) << face << " is listed but proportional";
      }
    }
  }
}

TEST_F(FontDialogTest, ItStartsFromTheLogFontAndGivesTheChoiceBackWithThePitchOurModuleJudges) {
  LOGFONT lf = Face("ＭＳ 明朝"_sj, -16);
  lf.lfWeight = platform::FW_BOLD;
  ft::Shown start;
  EXPECT_FALSE(Run(&lf, CF_FIXEDPITCHONLY | CF_INITTOLOGFONTSTRUCT, [&](HWND dialog) {
    start = ft::ShownFont(dialog);
    dt::Click(dialog, IDCANCEL);
  }));
  EXPECT_EQ(start.face, "IPAMincho") << "the Japanese face name is mapped as the font module maps it";
  EXPECT_DOUBLE_EQ(start.points, 12.0) << "16 pixels at 96 to the inch";
  EXPECT_TRUE(start.bold);
  EXPECT_FALSE(start.italic);

  const struct {
    const char* name;
    const char* face;
    double points;
    bool bold;
    bool italic;
    LONG height;
    BYTE pitch;
  } cases[] = {
      {"Gothic 12 points", "IPAGothic", 12, false, false, -16, FIXED_PITCH},
      {"Mincho 9 points, italic", "IPAMincho", 9, false, true, -12, FIXED_PITCH},
      // Emboldening widens every glyph by the same amount: a full-width one is no longer twice a
      // half-width one.
      {"Gothic 15 points, bold", "IPAGothic", 15, true, false, -20, VARIABLE_PITCH},
      // At an odd height hinting takes the half-width advance off the grid: the module says no.
      {"Gothic 10 points", "IPAGothic", 10, false, false, -13, VARIABLE_PITCH},
  };
  for (const auto& c : cases) {
    LOGFONT chosen = Face("ＭＳ ゴシック"_sj, -20);
    chosen.lfQuality = 3;
    chosen.lfWidth = 7;
    EXPECT_TRUE(Run(&chosen, CF_SCREENFONTS | CF_FIXEDPITCHONLY | CF_INITTOLOGFONTSTRUCT, [&](HWND dialog) {
      EXPECT_TRUE(ft::Pick(dialog, c.face, c.points, c.bold, c.italic)) << c.name;
      EXPECT_TRUE(dt::Click(dialog, IDOK)) << c.name;
    })) << c.name;
    EXPECT_STREQ(chosen.lfFaceName, c.face) << c.name;
    EXPECT_EQ(chosen.lfHeight, c.height) << c.name;
    EXPECT_EQ(chosen.lfWidth, 0) << c.name;
    EXPECT_EQ(chosen.lfWeight, c.bold ? platform::FW_BOLD : platform::FW_NORMAL) << c.name;
    EXPECT_EQ(chosen.lfItalic, c.italic ? 1 : 0) << c.name;
    EXPECT_EQ(chosen.lfCharSet, SHIFTJIS_CHARSET) << c.name;
    EXPECT_EQ(chosen.lfPitchAndFamily, c.pitch) << c.name;
    EXPECT_EQ(chosen.lfQuality, 3) << c.name << ": bytes the dialog does not choose stay";
    EXPECT_EQ(pointSize, static_cast<int>(c.points * 10)) << c.name;
  }
}

TEST_F(FontDialogTest, CancelAndRefusalsLeaveTheLogFontAsItWas) {
  LOGFONT lf = Face("ＭＳ ゴシック"_sj, -16);
  const LOGFONT before = lf;
  EXPECT_FALSE(Run(&lf, CF_FIXEDPITCHONLY | CF_INITTOLOGFONTSTRUCT, [&](HWND dialog) {
    EXPECT_FALSE(ft::Pick(dialog, "IPAPGothic", 12)) << "a proportional face is not there to pick";
    EXPECT_TRUE(ft::Pick(dialog, "IPAMincho", 20, true, true));
    dt::PressKey(dialog, dt::Key::kEscape);
  }));
  EXPECT_EQ(std::memcmp(&lf, &before, sizeof lf), 0);

  CHOOSEFONT cf;
  cf.lpLogFont = &lf;
  shown = 0;
  dt::SetShownHook([&](HWND dialog) {
    ++shown;
    dt::Click(dialog, IDOK);
  });
  EXPECT_FALSE(platform::ChooseFont(&cf)) << "no structure size";
  cf.lStructSize = sizeof cf;
  cf.lpLogFont = nullptr;
  EXPECT_FALSE(platform::ChooseFont(&cf)) << "no LOGFONT";
  EXPECT_FALSE(platform::ChooseFont(nullptr));
  EXPECT_EQ(shown, 0) << "no dialog was shown";
}

}  // namespace
