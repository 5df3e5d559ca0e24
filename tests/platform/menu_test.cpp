#include "platform/menu.h"

#include <gtest/gtest.h>

#include "platform/bitmap_resource.h"

namespace {

TEST(Menu, ItemsSubMenusAndRefusals) {
  HMENU bar = CreateMenu();
  HMENU sub = CreatePopupMenu();
  ASSERT_TRUE(AppendMenu(sub, MF_STRING | MF_CHECKED, 101, "&One\tCtrl+1"));
  ASSERT_TRUE(AppendMenu(sub, MF_SEPARATOR, 0, "ignored"));
  ASSERT_TRUE(InsertMenu(sub, 101, MF_STRING | MF_GRAYED, 100, "Zero"));
  ASSERT_TRUE(InsertMenu(sub, 99, MF_BYPOSITION | MF_STRING | MF_MENUBREAK, 102, "Two"));
  ASSERT_TRUE(AppendMenu(bar, MF_POPUP, reinterpret_cast<uintptr_t>(sub), "&File"));
  EXPECT_FALSE(AppendMenu(bar, MF_POPUP, reinterpret_cast<uintptr_t>(sub), "again"));  // already a child
  EXPECT_EQ(GetMenuItemCount(sub), 4);
  platform::MenuItemInfo info;
  ASSERT_TRUE(GetMenuItemInfoAt(sub, 0, info));
  EXPECT_EQ(info.id, 100u);
  EXPECT_TRUE(info.flags & MF_GRAYED);
  ASSERT_TRUE(GetMenuItemInfoAt(sub, 1, info));
  EXPECT_EQ(info.text, "&One\tCtrl+1");
  ASSERT_TRUE(GetMenuItemInfoAt(sub, 2, info));
  EXPECT_TRUE(info.flags & MF_SEPARATOR);
  EXPECT_EQ(info.text, "");
  ASSERT_TRUE(GetMenuItemInfoAt(sub, 3, info));
  EXPECT_EQ(info.id, 102u);
  EXPECT_FALSE(GetMenuItemInfoAt(sub, 4, info));
  platform::MenuIcon icon;
  icon.pixels[0] = 0x123456;
  EXPECT_TRUE(SetMenuItemIcon(sub, 1, icon));
  ASSERT_TRUE(GetMenuItemInfoAt(sub, 1, info));
  EXPECT_TRUE(info.hasIcon);
  EXPECT_EQ(info.icon.pixels[0], 0x123456u);
  ASSERT_TRUE(GetMenuItemInfoAt(bar, 0, info));
  EXPECT_EQ(info.submenu, sub);
  // Destroying the bar frees its sub-menus; stale handles are refused.
  EXPECT_TRUE(DestroyMenu(bar));
  EXPECT_FALSE(DestroyMenu(bar));
  EXPECT_EQ(GetMenuItemCount(sub), -1);
  EXPECT_FALSE(AppendMenu(sub, MF_STRING, 1, "x"));
}

TEST(BitmapResource, RegisteredBytesDecodeAndBadOnesAreRefused) {
  // A 2 x 1 24-bit BMP: blue, then red.
  const uint8_t bmp[] = {'B', 'M', 62, 0, 0, 0, 0, 0,  0, 0, 54, 0, 0,   0, 40, 0, 0, 0,   2, 0, 0,
                         0,   1,   0,  0, 0, 1, 0, 24, 0, 0, 0,  0, 0,   8, 0,  0, 0, 0,   0, 0, 0,
                         0,   0,   0,  0, 0, 0, 0, 0,  0, 0, 0,  0, 255, 0, 0,  0, 0, 255, 0, 0};
  ASSERT_TRUE(platform::RegisterBitmapResource(4242, bmp));
  auto b = platform::LoadBitmapResource(4242);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Width(), 2);
  EXPECT_EQ(reinterpret_cast<const uint32_t*>(b->Row(0))[0] & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(reinterpret_cast<const uint32_t*>(b->Row(0))[1] & 0xFFFFFF, 0xFF0000u);
  const uint8_t junk[] = {1, 2, 3};
  EXPECT_FALSE(platform::RegisterBitmapResource(4243, junk));
  EXPECT_EQ(platform::LoadBitmapResource(4243), nullptr);
  EXPECT_EQ(platform::LoadBitmapFile("/no/such/file.bmp"), nullptr);
}

}  // namespace
