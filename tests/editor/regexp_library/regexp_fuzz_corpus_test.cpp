// The regular-expression seeds of the fuzzing corpus, replayed through the fuzz target itself,
// which traps on a match outside the target, an unterminated message or output.
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

#include "fuzz/editor_regexp_fuzz.cpp"
#include "fuzz_corpus.h"

namespace {

TEST(RegexpFuzzCorpus, SeedsRunCleanly) {
  const std::filesystem::path folder = std::filesystem::path(FuzzCorpusPath("editor_regexp", "")).parent_path();
  int replayed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::vector<uint8_t> input = FuzzCorpusBytes("editor_regexp", entry.path().filename().string());
    EXPECT_EQ(LLVMFuzzerTestOneInput(input.data(), input.size()), 0) << entry.path();
    ++replayed;
  }
  EXPECT_GE(replayed, 5);
}

}  // namespace
