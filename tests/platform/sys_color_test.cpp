// The colours of raised frames (split boxes, owner-drawn menus) from the desktop's palette.
#include "platform/sys_color.h"

#include <gtest/gtest.h>

namespace {

using namespace platform;

unsigned Brightness(COLORREF c) { return GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11; }

TEST(SysColorFrames, LitEdgesAreLighterThanTheFaceAndShadedOnesDarker) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  const COLORREF darkShadow = GetSysColor(COLOR_3DDKSHADOW);
  EXPECT_GT(Brightness(highlight), Brightness(face));
  EXPECT_LT(Brightness(shadow), Brightness(face));
  EXPECT_LE(Brightness(darkShadow), Brightness(shadow));
  EXPECT_GT(Brightness(GetSysColor(COLOR_3DLIGHT)), Brightness(shadow));
  for (int index : {COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT}) {
    EXPECT_EQ(GetSysColorBrush(index), reinterpret_cast<HBRUSH>(intptr_t{index} + 1)) << index;
  }
}

}  // namespace
