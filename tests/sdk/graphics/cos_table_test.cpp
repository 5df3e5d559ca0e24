#include "sdk/graphics/cos_table.h"

#include <gtest/gtest.h>

namespace {

TEST(CosTable, EntriesAreTruncatedSixteenSixteenCosines) {
  const CCosTable table;
  const struct {
    int index;
    int32_t value;
  } cases[] = {{0, 65536},   {1, 65531},  {64, 46340},   {128, 0},     {192, -46340},
               {256, -65536}, {384, 0},    {448, 46340},  {511, 65531}, {255, -65531}};
  for (const auto& c : cases) EXPECT_EQ(table[c.index], c.value) << c.index;
}

TEST(CosTable, IndicesWrapAndTheSineIsAQuarterTurnBehind) {
  const CCosTable table;
  EXPECT_EQ(table[512], table[0]);
  EXPECT_EQ(table[-1], table[511]);
  EXPECT_EQ(table[-128], table[384]);
  EXPECT_EQ(table.Sin(128), 65536);
  EXPECT_EQ(table.Sin(0), 0);
  EXPECT_EQ(table.Sin(384), -65536);
  // The table is symmetric about the half turn, as a cosine is.
  for (int i = 1; i < 256; ++i) EXPECT_EQ(table[i], table[512 - i]) << i;
}

}  // namespace
