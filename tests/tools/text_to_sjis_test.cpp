// Runs the built converter on files made here.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "scoped_temp_dir.h"

namespace {

int Convert(const ScopedTempDir& dir, std::string_view input) {
  const std::string tool = std::string(VREL_BINARY_DIR) + "/tools/text_to_sjis";
  EXPECT_TRUE(std::filesystem::exists(tool)) << "build the text_to_sjis tool first";
  dir.Write("in.txt", input);
  const std::string command = tool + " " + dir.File("in.txt") + " " + dir.File("out.txt") + " 2>/dev/null";
  return std::system(command.c_str());
}

TEST(TextToSjis, ConvertsToShiftJisWithCrLf) {
  ScopedTempDir dir;
  ASSERT_EQ(Convert(dir, "\xEF\xBB\xBF# x\n\xE8\xA1\xA8\xE7\xA4\xBA\r\n\nend"), 0);
  EXPECT_EQ(dir.Read("out.txt"), "# x\r\n\x95\x5C\x8E\xA6\r\n\r\nend");
}

TEST(TextToSjis, RefusesCharactersWithoutAShiftJisCode) {
  ScopedTempDir dir;
  dir.Write("out.txt", "old");
  EXPECT_NE(Convert(dir, "ok\n\xF0\x9F\x98\x80\n"), 0);  // an emoji
  EXPECT_EQ(dir.Read("out.txt"), "old");
}

}  // namespace
