#include "platform/huge_block.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

TEST(HugeBlock, SmallAndLargeBlocksHoldTheirBytes) {
  struct Case {
    const char* name;
    size_t bytes;
  };
  const Case cases[] = {{"zero bytes", 0}, {"small", 40 * 1024}, {"just huge", huge_block::kHugePageSize},
                        {"past a huge page", huge_block::kHugePageSize * 2 + 100}};
  for (const Case& c : cases) {
    const huge_block::Ptr block = huge_block::Allocate(c.bytes);
    ASSERT_NE(block.get(), nullptr) << c.name;
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block.get()) % alignof(std::max_align_t), 0u) << c.name;
    if (c.bytes >= huge_block::kHugePageSize) {
      // Aligned so that its pages can be huge ones.
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block.get()) % huge_block::kHugePageSize, 0u) << c.name;
    }
    if (c.bytes > 0) {
      std::memset(block.get(), 0xA5, c.bytes);
      EXPECT_EQ(block[c.bytes - 1], std::byte{0xA5}) << c.name;
    }
  }
}

}  // namespace
