// The edge colours of raised faces come from the toolkit's palette: the lit edges lighter than the
// shaded ones, so a frame drawn with them looks raised.
#include "platform/sys_color.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QPalette>

namespace {

using namespace platform;

int Lightness(int index) {
  const COLORREF c = GetSysColor(index);
  return QColor(GetRValue(c), GetGValue(c), GetBValue(c)).lightness();
}

TEST(SysColor, TheEdgesOfARaisedFaceAreThePalettes) {
  const struct {
    int index;
    QPalette::ColorRole role;
  } cases[] = {{COLOR_BTNHIGHLIGHT, QPalette::Light},
               {COLOR_3DLIGHT, QPalette::Midlight},
               {COLOR_BTNFACE, QPalette::Button},
               {COLOR_BTNSHADOW, QPalette::Dark},
               {COLOR_3DDKSHADOW, QPalette::Shadow}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.index);
    const QColor expected = QApplication::palette().color(QPalette::Active, c.role);
    EXPECT_EQ(GetSysColor(c.index), RGB(expected.red(), expected.green(), expected.blue()));
    EXPECT_EQ(GetSysColorBrush(c.index), reinterpret_cast<HBRUSH>(intptr_t{c.index + 1}));
  }
  // Outer frame: light over dark shadow; inner: highlight over shadow.
  EXPECT_GT(Lightness(COLOR_3DLIGHT), Lightness(COLOR_3DDKSHADOW));
  EXPECT_GT(Lightness(COLOR_BTNHIGHLIGHT), Lightness(COLOR_BTNSHADOW));
  EXPECT_GT(Lightness(COLOR_BTNSHADOW), Lightness(COLOR_3DDKSHADOW));
  EXPECT_EQ(COLOR_3DHILIGHT, COLOR_BTNHIGHLIGHT);
  EXPECT_EQ(COLOR_3DSHADOW, COLOR_BTNSHADOW);
}

}  // namespace
