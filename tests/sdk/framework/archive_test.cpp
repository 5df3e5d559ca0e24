#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "current_dir_scope.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"
#include "sdk/framework/archive_writer.h"
#include "sdk/framework/file_buffer.h"
#include "sdk/framework/packed_archive.h"
#include "sdk/framework/scramble.h"
#include "test_util.h"

namespace {

std::vector<unsigned char> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

std::string Data(const CFileBuffer& f) { return std::string(reinterpret_cast<const char*>(f.GetData()), f.GetSize()); }

std::vector<unsigned char> Archive(ArchiveKind kind, const std::vector<PackInput>& files, bool compress = true,
                                   bool scramble = false) {
  std::vector<unsigned char> image;
  std::string error;
  EXPECT_TRUE(BuildPackedArchive(files, PackOptions{kind, compress, scramble}, image, error)) << error;
  return image;
}

uint32_t Le32At(const std::vector<unsigned char>& v, size_t at) {
  return v[at] | v[at + 1] << 8 | v[at + 2] << 16 | static_cast<uint32_t>(v[at + 3]) << 24;
}

void SetLe32(std::vector<unsigned char>& v, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) v[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

class ArchiveTest : public testing::Test {
 protected:
  ArchiveTest() : m_scope(m_folder.path().string()) {}
  ~ArchiveTest() override { ForgetArchiveIndexes(); }

  // Read result and content.
  std::pair<int, std::string> ReadFile(const std::string& name) {
    CFileBuffer f;
    int r = f.Read(name);
    return {r, Data(f)};
  }

  ScopedTempDir m_folder;
  CurrentDirScope m_scope;
};

using RoundTripParam = std::tuple<ArchiveKind, bool, bool>;  // kind, compress, scramble

class ArchiveRoundTrip : public ArchiveTest, public testing::WithParamInterface<RoundTripParam> {};

TEST_P(ArchiveRoundTrip, EveryFileReadsBackFromItsFolder) {
  const auto [kind, compress, scramble] = GetParam();
  std::mt19937 random(3);
  std::vector<unsigned char> noise(3000);
  for (auto& b : noise) b = static_cast<unsigned char>(random());
  std::vector<unsigned char> pattern;
  for (int i = 0; i < 20000; ++i) pattern.push_back(static_cast<unsigned char>("pattern "[i % 8] + i / 4000));
  std::vector<PackInput> files = {
      {"a.txt", Bytes("alpha")},
      {"Sub\\B.bin", pattern},
      {"sub\\deep\\c.dat", noise},
      {"empty.txt", {}},
      {"表\\x.txt"_sj, Bytes("hyou")},  // a trail byte equal to "\"
      // Files already scrambled, or that only begin as scrambled files do.
      {"pre_scrambled.txt", ScrambledFile(Bytes("scrambled before packing"))},
      {"own_magic.bin", Bytes("QPK1hello world")},
      {"only_magic.bin", Bytes("QPK1")},
  };
  if (kind == ArchiveKind::kPackDx) files.push_back({std::string(200, 'n') + "\\long.txt", Bytes("long")});
  const std::vector<unsigned char> image = Archive(kind, files, compress, scramble);
  m_folder.Write("data.dat", image);

  size_t plainTotal = 0;
  for (const PackInput& f : files) plainTotal += f.data.size();
  if (compress && kind != ArchiveKind::kPack) {
    EXPECT_LT(image.size(), plainTotal);
  } else {
    EXPECT_GT(image.size(), plainTotal);
  }
  // Every entry reads as the same bytes read as a loose file: a file already scrambled is read
  // unscrambled either way, any other file as it is.
  for (size_t i = 0; i < files.size(); ++i) {
    const PackInput& f = files[i];
    const std::string loose = "loose" + std::to_string(i);
    m_folder.Write(loose, f.data);
    auto [result, content] = ReadFile("data\\" + f.name);
    EXPECT_EQ(result, 0) << f.name;
    EXPECT_EQ(content, ReadFile(loose).second) << f.name;
    if (!HasScrambleMagic(f.data)) {
      EXPECT_EQ(content, std::string(f.data.begin(), f.data.end())) << f.name;
    }
  }
  EXPECT_EQ(ReadFile("data\\pre_scrambled.txt").second, "scrambled before packing");
  // Names compare without the case of ASCII letters, also the folder's.
  EXPECT_EQ(ReadFile("DATA\\SUB\\DEEP\\C.DAT").second, std::string(noise.begin(), noise.end()));
  EXPECT_EQ(ReadFile("Data/sub/b.BIN").first, 0);
  EXPECT_EQ(ReadFile("data\\sub\\missing").first, 1);
  // An entry is found from every folder between it and its archive.
  {
    CurrentDirScope inside(m_folder.File("data"));
    EXPECT_EQ(ReadFile("sub\\deep\\c.dat").first, 0);
    EXPECT_EQ(ReadFile("..\\data\\a.txt").second, "alpha");
  }
}

INSTANTIATE_TEST_SUITE_P(Kinds, ArchiveRoundTrip,
                         testing::Combine(testing::Values(ArchiveKind::kPack, ArchiveKind::kPackEx,
                                                          ArchiveKind::kPackDx),
                                          testing::Bool(), testing::Bool()));

TEST_F(ArchiveTest, PlainFilesWinThenTheInnermostArchive) {
  m_folder.Write("game.dat", Archive(ArchiveKind::kPackEx, {{"img\\a.png", Bytes("outer")},
                                                            {"img\\b.png", Bytes("outer-b")},
                                                            {"img/c.png", Bytes("slash")}}));
  m_folder.Write("game/img.dat", Archive(ArchiveKind::kPack, {{"a.png", Bytes("inner")}}));
  m_folder.Write("game/img/a.png", "plain");
  EXPECT_EQ(ReadFile("game\\img\\a.png"), std::make_pair(0, std::string("plain")));
  std::filesystem::remove(m_folder.File("game/img/a.png"));
  EXPECT_EQ(ReadFile("game\\img\\a.png"), std::make_pair(0, std::string("inner")));
  EXPECT_EQ(ReadFile("game\\img\\b.png"), std::make_pair(0, std::string("outer-b")));
  EXPECT_EQ(ReadFile("game\\img\\c.png").first, 1);  // "/" in an entry name never matches
  std::filesystem::remove(m_folder.File("game/img.dat"));
  EXPECT_EQ(ReadFile("game\\img\\a.png"), std::make_pair(0, std::string("outer")));
}

TEST_F(ArchiveTest, AReplacedArchiveIsReadAgain) {
  m_folder.Write("d.dat", Archive(ArchiveKind::kPackDx, {{"a.txt", Bytes("first")}}));
  EXPECT_EQ(ReadFile("d\\a.txt").second, "first");
  m_folder.Write("d.dat", Archive(ArchiveKind::kPackDx, {{"a.txt", Bytes("second version")}}));
  EXPECT_EQ(ReadFile("d\\a.txt").second, "second version");
}

TEST_F(ArchiveTest, TheWriterRefusesWhatAnArchiveCannotHold) {
  struct Case {
    ArchiveKind kind;
    std::vector<PackInput> files;
  };
  const Case cases[] = {
      {ArchiveKind::kPackEx, {{std::string(32, 'x'), {}}}},
      {ArchiveKind::kPackDx, {{std::string(256, 'x'), {}}}},
      {ArchiveKind::kPack, {{"", {}}}},
      {ArchiveKind::kPackEx, {{"a.txt", {}}, {"A.TXT", {}}}},
  };
  for (const Case& c : cases) {
    std::vector<unsigned char> image;
    std::string error;
    EXPECT_FALSE(BuildPackedArchive(c.files, PackOptions{c.kind, true, false}, image, error));
    EXPECT_FALSE(error.empty());
  }
  std::vector<unsigned char> image;
  std::string error;
  EXPECT_TRUE(
      BuildPackedArchive({{{std::string(31, 'x'), {}}}}, PackOptions{ArchiveKind::kPackEx, true, false}, image, error));
}

TEST_F(ArchiveTest, CollectsAFolderForPacking) {
  m_folder.Write("src/b.txt", "b");
  m_folder.Write("src/Dir/a.txt", "a");
  m_folder.Write(U8(u8"src/表/c.txt"), "c");
  std::vector<PackInput> files;
  std::string error;
  ASSERT_TRUE(CollectPackInputs("src", files, error)) << error;
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files[0].name, "Dir\\a.txt");
  EXPECT_EQ(files[1].name, "b.txt");
  EXPECT_EQ(files[2].name, "表\\c.txt"_sj);
  EXPECT_EQ(files[2].data, Bytes("c"));
}

// Each damage to the archive "top/d.dat"; "top.dat" above it holds d\a.txt as well.
TEST_F(ArchiveTest, DamagedArchivesFailCleanly) {
  const std::string a(300, 'a');
  const std::string b(3000, 'b');
  const std::vector<unsigned char> good = Archive(ArchiveKind::kPackEx, {{"a.txt", Bytes(a)}, {"b.txt", Bytes(b)}});
  ASSERT_NE(Le32At(good, 12 + 44 + 40), b.size());  // b.txt is packed
  m_folder.Write("top.dat", Archive(ArchiveKind::kPack, {{"d\\a.txt", Bytes("parent")}}));
  const size_t entryA = 12;
  const size_t entryB = 12 + 44;
  using Damage = std::function<void(std::vector<unsigned char>&)>;
  struct Case {
    const char* what;
    Damage damage;
    int resultA;
    std::string contentA;
    int resultB;
  };
  const Case cases[] = {
      {"intact", [](auto&) {}, 0, a, 0},
      {"bad magic", [](auto& v) { v[7] = 'X'; }, 0, "parent", 1},
      {"no entries", [](auto& v) { SetLe32(v, 8, 0); }, 0, "parent", 1},
      {"cut in the header", [](auto& v) { v.resize(10); }, 0, "parent", 1},
      {"cut in the table", [](auto& v) { v.resize(12 + 44 + 20); }, 4, "", 1},
      {"cut in the data", [](auto& v) { v.resize(v.size() - 5); }, 0, a, 4},
      {"offset beyond the end", [=](auto& v) { SetLe32(v, entryA + 32, 0x7FFFFFF0); }, 4, "", 0},
      {"offset and size wrap", [=](auto& v) { SetLe32(v, entryA + 32, 0xFFFFFF00); }, 4, "", 0},
      {"huge stored size",
       [=](auto& v) {
         SetLe32(v, entryA + 36, 0xFFFFFFF0);
         SetLe32(v, entryA + 40, 0xFFFFFFF0);
       },
       4, "", 0},
      {"huge unpacked size", [=](auto& v) { SetLe32(v, entryB + 36, 0xFFFFFFF0); }, 0, a, 4},
      {"packed data cut short", [=](auto& v) { SetLe32(v, entryB + 40, Le32At(v, entryB + 40) - 3); }, 0, a, 4},
      {"unterminated name", [=](auto& v) { std::fill(v.begin() + entryA, v.begin() + entryA + 32, 'a'); }, 0, "parent",
       0},
      {"huge count", [](auto& v) { SetLe32(v, 8, 0xFFFFFFFF); }, 0, a, 0},
  };
  for (const Case& c : cases) {
    std::vector<unsigned char> damaged = good;
    c.damage(damaged);
    m_folder.Write("top/d.dat", damaged);
    ForgetArchiveIndexes();
    auto [resultA, contentA] = ReadFile("top\\d\\a.txt");
    EXPECT_EQ(resultA, c.resultA) << c.what;
    EXPECT_EQ(contentA, c.contentA) << c.what;
    EXPECT_EQ(ReadFile("top\\d\\b.txt").first, c.resultB) << c.what;
  }
}

// Random damage anywhere in an archive: every read ends with a result, never out of bounds.
TEST_F(ArchiveTest, RandomDamageNeverReadsOutOfBounds) {
  std::vector<PackInput> files;
  for (int i = 0; i < 6; ++i) {
    std::string text;
    for (int k = 0; k < 400 * (i + 1); ++k) text += static_cast<char>('a' + (k * 7 + i) % 13);
    files.push_back({"f" + std::to_string(i) + ".txt", Bytes(text)});
  }
  for (ArchiveKind kind : {ArchiveKind::kPack, ArchiveKind::kPackEx, ArchiveKind::kPackDx}) {
    const std::vector<unsigned char> good = Archive(kind, files);
    std::mt19937 random(11);
    for (int round = 0; round < 150; ++round) {
      std::vector<unsigned char> damaged = good;
      const int flips = 1 + static_cast<int>(random() % 8);
      for (int k = 0; k < flips; ++k) damaged[random() % damaged.size()] = static_cast<unsigned char>(random());
      if (random() % 4 == 0) damaged.resize(random() % damaged.size());
      m_folder.Write("z.dat", damaged);
      ForgetArchiveIndexes();
      for (const PackInput& f : files) {
        auto [result, content] = ReadFile("z\\" + f.name);
        EXPECT_TRUE(result == 0 || result == 1 || result == 4) << result;
        if (result == 0) {
          EXPECT_LE(content.size(), 9 * damaged.size());
        }
      }
    }
  }
}

}  // namespace
