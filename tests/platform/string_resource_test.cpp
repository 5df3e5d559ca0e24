#include "platform/string_resource.h"

#include <gtest/gtest.h>

#include "platform/accelerator.h"
#include "platform/sjis_literal.h"

namespace {

TEST(StringResource, LoadsWholeCharactersIntoTheBuffer) {
  platform::RegisterString(64001, "日本語abc"_sj);
  char buffer[16];
  EXPECT_EQ(LoadString(nullptr, 64001, buffer, sizeof buffer), 9);
  EXPECT_STREQ(buffer, "日本語abc"_sj);
  EXPECT_EQ(LoadString(nullptr, 64001, buffer, 4), 2);  // a double-byte character is never split
  EXPECT_STREQ(buffer, "日"_sj);
  EXPECT_EQ(LoadString(nullptr, 64001, buffer, 1), 0);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(LoadString(nullptr, 64001, nullptr, 10), 0);
  EXPECT_EQ(LoadString(nullptr, 64002, buffer, sizeof buffer), 0);
  platform::RegisterString(64001, "x");
  EXPECT_EQ(platform::FindString(64001), "x");
}

TEST(Accelerator, TableCopiesItsEntriesAndRefusesStaleHandles) {
  const ACCEL entries[] = {{FVIRTKEY | FCONTROL, 0x41, 0x241}, {FVIRTKEY, 0x70, 0x70}};
  HACCEL table = CreateAcceleratorTable(entries, 2);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(CopyAcceleratorTable(table, nullptr, 0), 2);
  ACCEL out[1];
  EXPECT_EQ(CopyAcceleratorTable(table, out, 1), 2);
  EXPECT_EQ(out[0].cmd, 0x241);
  EXPECT_TRUE(DestroyAcceleratorTable(table));
  EXPECT_FALSE(DestroyAcceleratorTable(table));
  EXPECT_EQ(CopyAcceleratorTable(table, out, 1), 0);
  EXPECT_EQ(CreateAcceleratorTable(entries, 0), nullptr);
}

}  // namespace
