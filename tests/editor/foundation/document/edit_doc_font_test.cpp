// The document's font chooser, answered through the dialog hook as a person would answer it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "doc_fixture.h"
#include "platform/dialog_test.h"
#include "platform/font_dialog.h"
#include "platform/font_dialog_test.h"
#include "platform/sjis_literal.h"

namespace {

namespace dt = platform::dialog_test;
namespace ft = platform::font_dialog_test;

class DocFontTest : public DocFixture {
 protected:
  void TearDown() override {
    dt::SetShownHook({});
    DocFixture::TearDown();
  }
};

TEST_F(DocFontTest, TheChosenFaceIsStoredWithThePitchOurFontModuleJudgesAndOnlyFixedFacesAreOffered) {
  LOGFONT font = common().lf;  // the editor font: "ＭＳ ゴシック"
  ASSERT_STREQ(font.lfFaceName, "ＭＳ ゴシック"_sj);
  std::vector<std::string> offered;
  ft::Shown start;
  int shown = 0;
  dt::SetShownHook([&](HWND dialog) {
    ++shown;
    offered = ft::OfferedFaces(dialog);
    start = ft::ShownFont(dialog);
    EXPECT_TRUE(ft::Pick(dialog, "IPAMincho", 9));
    dt::Click(dialog, IDOK);
  });
  ASSERT_TRUE(doc->ChooseFontDialog(&font));
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(start.face, "IPAGothic") << "it starts at the editor font";
  EXPECT_NE(std::find(offered.begin(), offered.end(), "IPAGothic"), offered.end());
  for (const std::string& face : offered) {
    LOGFONT probe;
    std::strncpy(probe.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    probe.lfHeight = -16;
    EXPECT_TRUE(platform::IsFixedPitchLogFont(probe)) << face << " is offered but proportional";
  }
  for (const char* proportional : {"IPAPGothic", "IPAPMincho"}) {
    EXPECT_EQ(std::find(offered.begin(), offered.end(), proportional), offered.end()) << proportional;
  }
  EXPECT_STREQ(font.lfFaceName, "IPAMincho");
  EXPECT_EQ(font.lfHeight, -12);
  EXPECT_EQ(font.lfPitchAndFamily, FIXED_PITCH);
}

TEST_F(DocFontTest, CancelLeavesTheFontAsItWas) {
  LOGFONT font = common().lf;
  const LOGFONT before = font;
  dt::SetShownHook([&](HWND dialog) {
    ft::Pick(dialog, "IPAMincho", 20);
    dt::Click(dialog, IDCANCEL);
  });
  EXPECT_FALSE(doc->ChooseFontDialog(&font));
  EXPECT_EQ(std::memcmp(&font, &before, sizeof font), 0);
  EXPECT_FALSE(doc->ChooseFontDialog(nullptr));
}

}  // namespace
