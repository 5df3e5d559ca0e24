#include "game/app/overlay_draw.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "box_font_engine.h"
#include "sdk/graphics/mem_plane.h"

namespace {

constexpr uint32_t kFill = 0x00112233;

std::unique_ptr<CMemPlane> BackBuffer(bool withContext) {
  auto back = std::make_unique<CMemPlane>();
  back->GetImpl()->SetUseDIBSection(withContext);
  EXPECT_EQ(back->Create(200, 540, 0), 0);
  back->GetImpl()->Clear(kFill, nullptr);
  return back;
}

uint32_t At(CMemPlane& plane, int x, int y) { return plane.GetImpl()->GetPixel(x, y) & 0xFFFFFF; }

TEST(OverlayDraw, MessageLogDrawsItsFirstFortyLinesOnBlackAsTheyStand) {
  BoxFontScope boxes;  // height 16: "L" inks columns 1..6, rows 1..14 of its 8 × 16 cell
  auto log = std::make_unique<MessageLogRecord>();
  log->count = 41;
  for (int i = 0; i < 41; ++i) std::snprintf(log->lines[i], kMessageLogLineBytes, "L%d%%", i);
  auto back = BackBuffer(true);
  DrawMessageLog(*back, *log);
  for (int i = 0; i < 40; ++i) {
    const int top = 17 + 12 * i;
    EXPECT_EQ(At(*back, 17, top + 1), 0xFFFFFFu) << i;        // "L"
    const int percent = 16 + 8 * (i < 10 ? 2 : 3);           // the per-cent sign is drawn as text
    EXPECT_EQ(At(*back, percent + 1, top + 1), 0xFFFFFFu) << i;
  }
  // The background is painted under the shadow's cells: black right of the shadowed text.
  EXPECT_EQ(At(*back, 16 + 24 + 1, 17 + 2), 0u);
  // The 41st line is not drawn: below the 40th line's shadow the buffer is untouched.
  EXPECT_EQ(At(*back, 40, 17 + 12 * 40 + 8), kFill);
  EXPECT_EQ(At(*back, 15, 17), kFill);
}

TEST(OverlayDraw, InfoOverlayUsesHeightElevenAtSixteenSixteen) {
  BoxFontScope boxes;  // height 11: ascent 9, "F" inks columns 17..19 and rows 17..25
  auto back = BackBuffer(true);
  DrawInfoOverlay(*back, "FPS 60/60\n");
  EXPECT_EQ(At(*back, 17, 17), 0xFFFFFFu);
  EXPECT_EQ(At(*back, 17, 25), 0xFFFFFFu);
  EXPECT_EQ(At(*back, 17, 26), kFill);  // below the text, left of the shadow
  EXPECT_EQ(At(*back, 16, 16), kFill);
}

TEST(OverlayDraw, NothingWithoutADeviceContextOrText) {
  BoxFontScope boxes;
  auto back = BackBuffer(false);
  auto log = std::make_unique<MessageLogRecord>();
  log->count = 1;
  std::snprintf(log->lines[0], kMessageLogLineBytes, "x");
  DrawMessageLog(*back, *log);
  DrawInfoOverlay(*back, "FPS");
  auto drawn = BackBuffer(true);
  DrawInfoOverlay(*drawn, "");
  log->count = -5;  // a damaged count draws nothing
  DrawMessageLog(*drawn, *log);
  for (int y = 0; y < 540; y += 7) {
    for (int x = 0; x < 200; x += 3) {
      ASSERT_EQ(At(*back, x, y), kFill);
      ASSERT_EQ(At(*drawn, x, y), kFill);
    }
  }
}

}  // namespace
