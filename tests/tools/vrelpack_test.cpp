// Runs the built packing tool on folders made here and reads its output through the file layer.
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"
#include "sdk/framework/current_dir_scope.h"
#include "sdk/framework/file_buffer.h"
#include "test_util.h"

namespace {

// Runs the tool; its output goes to the file named, or nowhere.
int Pack(const std::string& arguments, const std::string& output = "/dev/null") {
  const std::string tool = std::string(VREL_BINARY_DIR) + "/tools/vrelpack";
  EXPECT_TRUE(std::filesystem::exists(tool)) << "build the vrelpack tool first";
  const std::string command = tool + " " + arguments + " >" + output + " 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

std::string ReadThroughFileLayer(const std::string& name) {
  CFileBuffer f;
  if (f.Read(name) != 0) return "<unreadable>";
  return std::string(reinterpret_cast<const char*>(f.GetData()), f.GetSize());
}

TEST(Vrelpack, PacksAFolderForEachKind) {
  const std::string picture(5000, 'p');
  for (const char* kind : {"pack", "ex", "dx"}) {
    for (const char* flags : {"", "-s", "-x"}) {
      ScopedTempDir dir;
      dir.Write("src/CG/Title.png", picture);
      dir.Write(U8(u8"src/表/b.txt"), "hyou");
      dir.Write("src/magic.bin", "QPK1hello world");  // begins as a scrambled file does
      ASSERT_EQ(Pack("scramble " + dir.File("src/CG/Title.png") + " " + dir.File("src/pre.png")), 0);
      ASSERT_EQ(Pack(std::string("-k ") + kind + " " + flags + " " + dir.File("game.dat") + " " + dir.File("src"),
                     dir.File("said.txt")),
                0)
          << kind << " " << flags;
      // Files already scrambled go in as they are, and the tool says so once for each.
      const std::string said = dir.Read("said.txt");
      EXPECT_EQ(Count(said, "already scrambled: stored as it is"), 2u) << said;
      EXPECT_EQ(Count(said, "magic.bin: already scrambled"), 1u) << said;
      EXPECT_EQ(Count(said, "pre.png: already scrambled"), 1u) << said;
      CurrentDirScope scope(dir.path().string());
      EXPECT_EQ(ReadThroughFileLayer("game\\cg\\title.png"), picture) << kind << " " << flags;
      EXPECT_EQ(ReadThroughFileLayer("game\\表\\b.txt"_sj), "hyou") << kind << " " << flags;
      // Packed, every file reads as it does loose.
      for (const char* name : {"magic.bin", "pre.png", "CG/Title.png"}) {
        EXPECT_EQ(ReadThroughFileLayer(std::string("game\\") + name), ReadThroughFileLayer(std::string("src/") + name))
            << kind << " " << flags << " " << name;
      }
      EXPECT_EQ(ReadThroughFileLayer("game\\pre.png"), picture) << kind << " " << flags;
      const auto size = std::filesystem::file_size(dir.File("game.dat"));
      if (std::string(kind) != "pack" && std::string(flags) != "-s") {
        EXPECT_LT(size, picture.size()) << kind << " " << flags;
      } else {
        EXPECT_GT(size, picture.size()) << kind << " " << flags;
      }
    }
  }
}

TEST(Vrelpack, ScramblesAFile) {
  ScopedTempDir dir;
  dir.Write("plain.txt", "secret text");
  ASSERT_EQ(Pack("scramble " + dir.File("plain.txt") + " " + dir.File("s.txt")), 0);
  EXPECT_TRUE(dir.Read("s.txt").starts_with("QPK1"));
  EXPECT_EQ(dir.Read("s.txt").find("secret"), std::string::npos);
  CurrentDirScope scope(dir.path().string());
  EXPECT_EQ(ReadThroughFileLayer("s.txt"), "secret text");

  // Scrambled once only: the file reads the same after a second pass.
  ASSERT_EQ(Pack("scramble " + dir.File("s.txt") + " " + dir.File("s2.txt"), dir.File("said.txt")), 0);
  EXPECT_EQ(dir.Read("s2.txt"), dir.Read("s.txt"));
  EXPECT_EQ(Count(dir.Read("said.txt"), "already scrambled: stored as it is"), 1u);
}

TEST(Vrelpack, RefusesWhatItCannotPack) {
  ScopedTempDir dir;
  dir.Write("src/" + std::string(40, 'n') + ".txt", "x");  // too long for a 32-byte name field
  EXPECT_NE(Pack("-k ex " + dir.File("a.dat") + " " + dir.File("src")), 0);
  EXPECT_FALSE(dir.Exists("a.dat"));
  EXPECT_EQ(Pack("-k dx " + dir.File("a.dat") + " " + dir.File("src")), 0);
  EXPECT_NE(Pack("-k zip a b"), 0);
  EXPECT_NE(Pack(""), 0);
  EXPECT_NE(Pack("-k ex " + dir.File("b.dat") + " " + dir.File("missing")), 0);
}

}  // namespace
