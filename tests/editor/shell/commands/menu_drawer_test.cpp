#include "editor/shell/commands/menu_drawer.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tests/editor/foundation/message_box_capture.h"
#include "editor/foundation/settings/recent_menus.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/shell/commands/icon_commands.h"
#include "platform/sjis_literal.h"
#include "scoped_named_objects.h"

namespace {

class MenuDrawerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    record = std::make_unique<SharedSettings>();
    CShareData::InitDefaults(*record);
    ASSERT_TRUE(icons.Load(nullptr));
    drawer = std::make_unique<CMenuDrawer>(record.get());
    drawer->Bind(nullptr, nullptr, &icons);
  }
  std::unique_ptr<SharedSettings> record;
  CIconBitmap icons;
  std::unique_ptr<CMenuDrawer> drawer;
};

TEST_F(MenuDrawerTest, Catalogue) {
  struct Case {
    int entry;
    int bitmap;
    int command;
    uint8_t state;
    uint8_t style;
  } const cases[] = {
      {0, 0, 0, 0, TBSTYLE_SEP},
      {1, 0, 30101, TBSTATE_ENABLED, 0},
      {25, 24, 30108, TBSTATE_ENABLED, TBSTYLE_DROPDOWN},
      {246, 245, 30908, TBSTATE_ENABLED, TBSTYLE_COMBOBOX},
      {247, 246, 30909, TBSTATE_ENABLED, 0},
      {29, 28, 0, TBSTATE_ENABLED, 0},
      {384, 0, 0x8000, TBSTATE_ENABLED | TBSTATE_WRAP, TBSTYLE_SEP},
  };
  for (const Case& c : cases) {
    const TBBUTTON& b = drawer->GetCatalogueEntry(c.entry);
    EXPECT_EQ(b.iBitmap, c.bitmap) << c.entry;
    EXPECT_EQ(b.idCommand, c.command) << c.entry;
    EXPECT_EQ(b.fsState, c.state) << c.entry;
    EXPECT_EQ(b.fsStyle, c.style) << c.entry;
  }
  EXPECT_EQ(drawer->FindCatalogueEntry(31113), 269);
  EXPECT_EQ(drawer->FindCatalogueEntry(31619), 372);
  EXPECT_EQ(drawer->FindCatalogueEntry(12345), -1);
  // The default toolbar names entries with commands or separators.
  for (int i = 0; i < record->Common.nToolBarButtonNum; ++i) {
    const int entry = record->Common.nTBB[i];
    EXPECT_TRUE(entry == 0 || drawer->GetCatalogueEntry(entry).idCommand != 0) << entry;
  }
}

TEST_F(MenuDrawerTest, ItemsCarryTextKeyAndIcon) {
  HMENU menu = CreatePopupMenu();
  ASSERT_TRUE(drawer->MyAppendMenu(menu, MF_STRING, 30602, "&Copy"));
  ASSERT_TRUE(drawer->MyAppendMenu(menu, MF_SEPARATOR, 0, nullptr));
  ASSERT_TRUE(drawer->MyAppendMenu(menu, MF_STRING | MF_GRAYED, 30210, ""));
  EXPECT_STREQ(drawer->GetItemText(30602), "&Copy\tF8");
  EXPECT_EQ(drawer->GetItemIcon(30602), 161);
  EXPECT_EQ(std::string(drawer->GetItemText(30210)), std::string("元に戻す(Undo)"_sj) + "\tCtrl+Z");
  EXPECT_EQ(drawer->GetItemCount(), 2);
  platform::MenuItemInfo info;
  ASSERT_TRUE(GetMenuItemInfoAt(menu, 0, info));
  EXPECT_EQ(info.text, "&Copy\tF8");
  EXPECT_TRUE(info.flags & MF_OWNERDRAW);
  EXPECT_TRUE(info.hasIcon);
  ASSERT_TRUE(GetMenuItemInfoAt(menu, 2, info));
  EXPECT_TRUE(info.flags & MF_GRAYED);
  EXPECT_TRUE(info.hasIcon);

  // Without menu icons nothing is owner-drawn, and favourites carry a star instead.
  record->Common.bMenuIcon = 0;
  HMENU plain = CreatePopupMenu();
  drawer->MyAppendMenu(plain, MF_STRING, 30601, "Cut");
  ASSERT_TRUE(GetMenuItemInfoAt(plain, 0, info));
  EXPECT_FALSE(info.flags & MF_OWNERDRAW);
  EXPECT_FALSE(info.hasIcon);
  DestroyMenu(plain);
  DestroyMenu(menu);

  EXPECT_EQ(CMenuDrawer::GetAccessKey("&File"), 'F');
  EXPECT_EQ(CMenuDrawer::GetAccessKey("A&&B &x"), 'X');
  EXPECT_EQ(CMenuDrawer::GetAccessKey("none"), 0);
  EXPECT_EQ(CMenuDrawer::GetAccessKey("end&"), 0);
}

TEST_F(MenuDrawerTest, The401stItemIsShownButNotRecorded) {
  MessageBoxCapture boxes;
  HMENU menu = CreatePopupMenu();
  for (int i = 0; i < 400; ++i) drawer->MyAppendMenu(menu, MF_STRING, 20000 + i, "x", false);
  EXPECT_TRUE(boxes.requests.empty());
  EXPECT_TRUE(drawer->MyAppendMenu(menu, MF_STRING, 30602, "Copy", false));
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_NE(boxes.requests[0].text.find("MAX_MENUITEMS==400"), std::string::npos);
  EXPECT_EQ(drawer->GetItemCount(), 400);
  EXPECT_EQ(drawer->FindItem(30602), -1);
  platform::MenuItemInfo info;
  ASSERT_TRUE(GetMenuItemInfoAt(menu, 400, info));
  EXPECT_FALSE(info.flags & MF_OWNERDRAW);
  drawer->ClearItems();
  EXPECT_EQ(drawer->GetItemCount(), 0);
  DestroyMenu(menu);
}

TEST_F(MenuDrawerTest, IconCellsAndTheirLooks) {
  EXPECT_EQ(icons.TransparentColor(), 0xFF00FFu);
  auto canvas = platform::CreateDIBSection32(40, 40);
  platform::MemDC dc;
  dc.SelectBitmap(canvas.get());
  const auto pixel = [&](int x, int y) { return reinterpret_cast<const uint32_t*>(canvas->Row(y))[x] & 0xFFFFFF; };
  const auto fill = [&](uint32_t c) {
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x) reinterpret_cast<uint32_t*>(canvas->Row(y))[x] = c;
  };
  // Icon 31 is the last cell of the first row and has no command: blank, so nothing is drawn.
  fill(0x123456);
  ASSERT_TRUE(icons.Draw(31, dc, 0, 0, 0));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_EQ(pixel(x, y), 0x123456u);
  // Icon 33 (the second row, x 16, y 16): its frame is black, its margin keeps the background.
  ASSERT_TRUE(icons.Draw(33, dc, 10, 10, 0));
  EXPECT_EQ(pixel(10, 10), 0x123456u);
  EXPECT_EQ(pixel(11, 11), 0x000000u);
  EXPECT_NE(pixel(12, 12), 0x123456u);
  // Disabled: the shape in shadow, the highlight one pixel right and down where the shape is not.
  fill(0x123456);
  ASSERT_TRUE(icons.Draw(33, dc, 0, 0, CIconBitmap::kDisabled));
  EXPECT_EQ(pixel(0, 0), 0x123456u);
  EXPECT_EQ(pixel(1, 1), CIconBitmap::kShadow);
  EXPECT_EQ(pixel(15, 15), CIconBitmap::kHighlight);  // the frame's last row, shifted
  EXPECT_EQ(pixel(14, 14), CIconBitmap::kShadow);
  EXPECT_FALSE(icons.Draw(384, dc, 0, 0, 0));
  EXPECT_FALSE(icons.Draw(-1, dc, 0, 0, 0));

  // Every icon with a command has a picture, and no two pictures are the same.
  std::set<std::vector<uint32_t>> pictures;
  for (int i = 0; i < kIconCount; ++i) {
    platform::MenuIcon m;
    ASSERT_TRUE(icons.GetMenuIcon(i, m, false));
    bool blank = true;
    for (bool t : m.transparent) blank = blank && t;
    EXPECT_EQ(blank, kIconCommands[i] == 0) << i;
    if (!blank) pictures.insert(std::vector<uint32_t>(m.pixels.begin(), m.pixels.end()));
  }
  EXPECT_EQ(pictures.size(), 249u);
}

TEST_F(MenuDrawerTest, RecentFilesPopupThroughTheDrawer) {
  const ScopedNamedObjects names("CShareData-test-menu");
  CShareData share;
  share.Attach(record.get(), names.c_str());
  CRecentFileMenu files(&share);
  RecentFileRecord r = kEmptyRecentFileRecord;
  std::strcpy(r.szPath, "/p/a.txt");
  files.AddRecord(&r);
  files.List().SetFavorite(0, true);
  HMENU popup = files.CreatePopup(*drawer);
  platform::MenuItemInfo info;
  ASSERT_TRUE(GetMenuItemInfoAt(popup, 0, info));
  EXPECT_EQ(info.id, 11000u);
  EXPECT_EQ(info.text, "&0 /p/a.txt");
  EXPECT_EQ(drawer->GetItemIcon(11000), 268);  // the favourites icon
  EXPECT_TRUE(info.hasIcon);
  DestroyMenu(popup);
}

}  // namespace
