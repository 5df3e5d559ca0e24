#include "editor/foundation/text/object_blocks.h"

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <vector>

#include "editor/foundation/text/doc_line.h"
#include "editor/foundation/text/memory.h"

namespace {

// Lines and buffers made by the thousand are distinct, aligned, usable, and can be made again
// after they go.
TEST(ObjectBlocks, ObjectsAreDistinctAlignedAndMadeAgain) {
  for (int round = 0; round < 2; ++round) {
    std::vector<std::unique_ptr<CDocLine>> lines;
    std::vector<std::unique_ptr<CMemory>> texts;
    std::set<const void*> seen;
    for (int i = 0; i < 10000; ++i) {
      lines.push_back(std::make_unique<CDocLine>());
      texts.push_back(std::make_unique<CMemory>("line", 4));
      lines.back()->m_pLine = new CMemory("x", 1);
      for (const void* p : {static_cast<const void*>(lines.back().get()), static_cast<const void*>(texts.back().get()),
                            static_cast<const void*>(lines.back()->m_pLine)}) {
        EXPECT_TRUE(seen.insert(p).second);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % alignof(std::max_align_t), 0u);
      }
    }
    for (int i = 0; i < 10000; ++i) {
      ASSERT_EQ(texts[i]->View(), "line");
      ASSERT_EQ(lines[i]->m_pLine->View(), "x");
      ASSERT_TRUE(lines[i]->IsModified());
    }
  }
}

// A class made bigger from a line does not fit a line's place: it comes from the heap, and
// writing all of it leaves the lines around it alone.
struct BiggerLine : CDocLine {
  char extra[200];
};

TEST(ObjectBlocks, ADerivedClassOfAnotherSizeGoesToTheHeap) {
  auto before = std::make_unique<CDocLine>();
  auto bigger = std::make_unique<BiggerLine>();
  auto after = std::make_unique<CDocLine>();
  std::memset(bigger->extra, 0xFF, sizeof bigger->extra);
  bigger->SetBookmark(true);
  EXPECT_EQ(before->m_nFlags, CDocLine::kModified);
  EXPECT_EQ(after->m_nFlags, CDocLine::kModified);
  EXPECT_EQ(before->m_pLine, nullptr);
  EXPECT_EQ(after->m_pLine, nullptr);
}

}  // namespace
