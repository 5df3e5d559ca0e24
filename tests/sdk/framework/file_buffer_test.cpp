#include "sdk/framework/file_buffer.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "current_dir_scope.h"
#include "platform/path.h"
#include "sdk/framework/memory_file.h"
#include "sdk/framework/scramble.h"
#include "scoped_temp_dir.h"

namespace {

using namespace std::string_view_literals;

std::string Data(const CFileBuffer& f) { return std::string(reinterpret_cast<const char*>(f.GetData()), f.GetSize()); }

std::vector<unsigned char> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

class FileBufferTest : public testing::Test {
 protected:
  FileBufferTest() : m_scope(m_folder.path().string()) {}
  ScopedTempDir m_folder;
  CurrentDirScope m_scope;
};

TEST_F(FileBufferTest, ReadsAWholeFileWithATerminatingZero) {
  m_folder.Write("a.bin", "hello");
  CFileBuffer f;
  ASSERT_EQ(f.Read("a.bin"), 0);
  EXPECT_EQ(Data(f), "hello");
  EXPECT_EQ(f.GetData()[5], 0);
  EXPECT_EQ(f.GetFileName(), "a.bin");
  EXPECT_EQ(f.GetBaseName(), "a.bin");
  EXPECT_EQ(f.GetExtension(), "bin");
  EXPECT_EQ(f.Read(""), -1);
  EXPECT_EQ(Data(f), "hello");  // an empty name changes nothing
  EXPECT_EQ(f.Read("missing.bin"), 1);
  EXPECT_EQ(f.GetData(), nullptr);
  EXPECT_EQ(f.GetSize(), 0u);
  EXPECT_EQ(f.Read("."), 1);  // a folder is no file
}

TEST_F(FileBufferTest, ScrambledFilesAreUnscrambledOnReading) {
  const std::vector<unsigned char> plain = Bytes("scrambled \x01\xFF text");
  m_folder.Write("s.txt", ScrambledFile(plain));
  m_folder.Write("magic.txt", "QPK1");
  m_folder.Write("short.txt", "QPK");
  CFileBuffer f;
  ASSERT_EQ(f.Read("s.txt"), 0);
  EXPECT_EQ(Data(f), std::string(plain.begin(), plain.end()));
  ASSERT_EQ(f.Read("magic.txt"), 0);
  EXPECT_EQ(f.GetSize(), 0u);
  ASSERT_EQ(f.Read("short.txt"), 0);
  EXPECT_EQ(Data(f), "QPK");
  EXPECT_NE(ScrambleByte('a'), 'a');
}

TEST_F(FileBufferTest, ScrambleSaveAndReadBack) {
  m_folder.Write("p.txt", "plain data");
  CFileBuffer f;
  ASSERT_EQ(f.Read("p.txt"), 0);
  ASSERT_EQ(f.Scramble(), 0);
  EXPECT_EQ(f.GetSize(), 14u);
  EXPECT_EQ(std::memcmp(f.GetData(), "QPK1", 4), 0);
  EXPECT_EQ(f.Scramble(), 1);
  ASSERT_EQ(f.Save("q.txt"), 0);
  EXPECT_EQ(m_folder.Read("q.txt").size(), 14u);
  ASSERT_EQ(f.Read("q.txt"), 0);
  EXPECT_EQ(Data(f), "plain data");
  EXPECT_EQ(f.Scramble(), 1);  // already scrambled
  CFileBuffer empty;
  EXPECT_EQ(empty.Scramble(), 1);
  m_folder.Write("two.txt", "ab");
  ASSERT_EQ(empty.Read("two.txt"), 0);
  EXPECT_EQ(empty.Scramble(), 0);  // fewer than 4 bytes are scrambled, not read past
  EXPECT_EQ(empty.GetSize(), 6u);
}

TEST_F(FileBufferTest, LentMemoryBlocksAreReadUnderTheirName) {
  std::string text = "line1\r\nline2";
  CMemoryFile block(std::span(reinterpret_cast<unsigned char*>(text.data()), text.size()));
  EXPECT_EQ(block.Name().front(), '!');
  CFileBuffer f;
  ASSERT_EQ(f.Read(block.Name()), 0);
  EXPECT_EQ(f.GetData(), reinterpret_cast<unsigned char*>(text.data()));  // not copied
  std::string line;
  EXPECT_EQ(f.ReadLine(line), 0);
  EXPECT_EQ(line, "line1");
  f.Close();
  EXPECT_EQ(text, "line1\r\nline2");  // not freed or changed
  // Names that no block was lent under, whatever they hold, never reach memory.
  char address[64];
  std::snprintf(address, sizeof(address), "!%zx,%zx", reinterpret_cast<uintptr_t>(text.data()), text.size());
  struct Case {
    std::string name;
    int result;
  };
  const Case cases[] = {{address, 1}, {"!1234567,5", 1}, {"!ffffffffff,5", 1}, {"!", 6}, {"!zz", 6}, {"!12", 6}, {"!12,", 6}};
  for (const Case& c : cases) {
    EXPECT_EQ(f.Read(c.name), c.result) << c.name;
    EXPECT_EQ(f.GetData(), nullptr);
  }
  std::string name = block.Name();
  name.back() = name.back() == '1' ? '2' : '1';
  EXPECT_EQ(f.Read(name), 1);  // the size is part of the name
}

TEST_F(FileBufferTest, AnUnlentBlockIsGone) {
  std::string text = "abc";
  std::string name;
  {
    CMemoryFile block(std::span(reinterpret_cast<unsigned char*>(text.data()), text.size()));
    name = block.Name();
  }
  CFileBuffer f;
  EXPECT_EQ(f.Read(name), 1);
}

TEST_F(FileBufferTest, ReadLineSplitsAtCrLfOnly) {
  m_folder.Write("t.txt", "one\r\ntwo\rx\nthree\0z\r\n\r\nlast"sv);
  CFileBuffer f;
  ASSERT_EQ(f.Read("t.txt"), 0);
  std::string line;
  const std::vector<std::string> expected = {"one", "two\rx\nthree", "", "last"};
  for (const std::string& e : expected) {
    ASSERT_EQ(f.ReadLine(line), 0);
    EXPECT_EQ(line, e);
  }
  EXPECT_EQ(f.ReadLine(line), 1);
  EXPECT_EQ(f.ReadLine(line), 1);
  f.Close();
  EXPECT_EQ(f.ReadLine(line), 3);
}

TEST_F(FileBufferTest, ReadLineBufCutsLongLines) {
  m_folder.Write("t.txt", "abcd\r\nabcde\r\n");
  CFileBuffer f;
  ASSERT_EQ(f.Read("t.txt"), 0);
  char out[5];
  EXPECT_EQ(f.ReadLineBuf(out, 5), 0);  // exactly n - 1 characters
  EXPECT_STREQ(out, "abcd");
  EXPECT_EQ(f.ReadLineBuf(out, 5), 2);  // one more
  EXPECT_STREQ(out, "abcd");
  EXPECT_EQ(f.Tell(), 10u);  // before the last character
  EXPECT_EQ(f.ReadLineBuf(out, 5), 0);
  EXPECT_STREQ(out, "e");
  EXPECT_EQ(f.ReadLineBuf(out, 5), 1);
  f.Rewind();
  EXPECT_EQ(f.ReadLineBuf(out, 0), 2);  // no room even for the terminator: nothing written
  EXPECT_EQ(f.Tell(), 0u);
  EXPECT_EQ(f.ReadLineBuf(out, 1), 2);
  EXPECT_STREQ(out, "");
}

TEST_F(FileBufferTest, QuotedTextsSpanLinesAndStayInTheirBuffer) {
  m_folder.Write("q.txt", "\"one\"\r\n\"two\r\nlines\"\r\n\"END\"\r\n\"after\"\r\n\"open\r\n");
  CFileBuffer f;
  ASSERT_EQ(f.Read("q.txt"), 0);
  char out[300];
  EXPECT_EQ(f.ReadQuotedText(out, sizeof(out)), 0);
  EXPECT_STREQ(out, "one");
  EXPECT_EQ(f.ReadQuotedText(out, sizeof(out)), 0);
  EXPECT_STREQ(out, "two\nlines");
  EXPECT_EQ(f.ReadQuotedText(out, sizeof(out)), 1);  // the end of a list
  EXPECT_EQ(f.ReadQuotedText(out, 4), 1);            // "after" does not fit in 4 bytes
  EXPECT_STREQ(out, "");
  EXPECT_EQ(f.ReadQuotedText(out, sizeof(out)), 1);  // the data ends before the closing quote
  char guarded[8];
  std::memset(guarded, 'x', sizeof(guarded));
  m_folder.Write("long.txt", "\"a long quoted text\"\r\n");
  ASSERT_EQ(f.Read("long.txt"), 0);
  EXPECT_EQ(f.ReadQuotedText(guarded, 4), 1);
  EXPECT_EQ(std::string(guarded + 1, 7), "xxxxxxx");
}

TEST_F(FileBufferTest, ByteReadsAreBounded) {
  m_folder.Write("b.bin", "0123456789");
  CFileBuffer f;
  char out[16] = {};
  EXPECT_EQ(f.ReadBytes(out, 1), 2);
  EXPECT_EQ(f.ReadUpTo(out, 1), 0u);
  ASSERT_EQ(f.Read("b.bin"), 0);
  EXPECT_EQ(f.ReadBytes(out, 4), 0);
  EXPECT_EQ(std::string(out, 4), "0123");
  EXPECT_EQ(f.ReadBytes(out, 7), 1);  // past the end: a failure, nothing moves
  EXPECT_EQ(f.Tell(), 4u);
  EXPECT_EQ(f.ReadUpTo(out, 16), 6u);
  EXPECT_EQ(std::string(out, 6), "456789");
  EXPECT_EQ(f.ReadBytes(out, 0), 1);
  EXPECT_TRUE(f.Seek(100));
  EXPECT_EQ(f.Tell(), 10u);
  EXPECT_EQ(f.ReadUpTo(out, 1), 0u);
  EXPECT_TRUE(f.Seek(8));
  EXPECT_EQ(f.ReadBytes(out, 2), 0);
  EXPECT_EQ(std::string(out, 2), "89");
}

TEST_F(FileBufferTest, WriteReplacesTheWholeFile) {
  m_folder.Write("w.bin", "a much longer old content");
  CFileBuffer f;
  EXPECT_EQ(f.Write("w.bin", "new", 3), 0);
  EXPECT_EQ(m_folder.Read("w.bin"), "new");
  EXPECT_EQ(f.WriteVector("v.bin", {}), 0);
  EXPECT_EQ(m_folder.Read("v.bin"), "");
  EXPECT_EQ(f.Write("nofolder\\x.bin", "x", 1), 1);
  ::chmod(m_folder.File("w.bin").c_str(), 0444);  // marked read-only
  EXPECT_EQ(f.Write("w.bin", "other", 5), 1);
  EXPECT_EQ(m_folder.Read("w.bin"), "new");
  std::filesystem::create_directory(m_folder.File("dir"));
  EXPECT_EQ(f.Write("dir", "x", 1), 1);  // a folder is not replaced by a file
  EXPECT_EQ(m_folder.List(), (std::vector<std::string>{"dir", "v.bin", "w.bin"}));  // no leftovers
  ASSERT_EQ(f.WriteLines("l.txt", {"a\n", "b", "c\n"}), 0);
  EXPECT_EQ(m_folder.Read("l.txt"), "a\r\nbc\r\n");
  std::vector<unsigned char> back;
  ASSERT_EQ(f.ReadToVector("l.txt", back), 0);
  EXPECT_EQ(back, Bytes("a\r\nbc\r\n"));
  EXPECT_EQ(f.Delete("l.txt"), 0);
  EXPECT_EQ(f.Delete("l.txt"), 1);
  EXPECT_EQ(f.Delete(""), -1);
}

TEST_F(FileBufferTest, TextModeStreams) {
  CFileBuffer f;
  EXPECT_EQ(f.PutString("x"), -1);
  ASSERT_EQ(f.OpenText("t.txt", "w"), 0);
  EXPECT_EQ(f.GetFileName(), CanonicalizePath("t.txt"));
  EXPECT_EQ(f.PutString("a\nb\n"), 0);
  EXPECT_EQ(f.Close(), 0);
  EXPECT_EQ(f.GetFile(), nullptr);  // closed once, never again
  EXPECT_EQ(f.Close(), 0);
  EXPECT_EQ(m_folder.Read("t.txt"), "a\r\nb\r\n");
  ASSERT_EQ(f.OpenText("T.TXT", "rb"), 0);
  char line[8] = {};
  ASSERT_NE(std::fgets(line, sizeof(line), f.GetFile()), nullptr);
  EXPECT_STREQ(line, "a\r\n");
  EXPECT_EQ(f.OpenText("missing.txt", "r"), 1);
  EXPECT_EQ(f.GetFile(), nullptr);
}

TEST_F(FileBufferTest, SearchPathsAreTriedInOrder) {
  m_folder.Write("first/x.txt", "first");
  m_folder.Write("second/x.txt", "second");
  m_folder.Write("second/y.txt", "y");
  CStringVectorPtr paths = FileSearchPaths();
  paths->assign({"none", "first", "second"});
  CFileBuffer f;
  EXPECT_EQ(f.Read("x.txt"), 0);
  EXPECT_EQ(Data(f), "first");
  EXPECT_EQ(f.Read("y.txt"), 0);
  EXPECT_EQ(Data(f), "y");
  EXPECT_EQ(f.Read("z.txt"), 1);
  EXPECT_EQ(f.GetFileName(), "z.txt");
  paths->clear();
  EXPECT_EQ(f.Read("x.txt"), 1);
}

TEST_F(FileBufferTest, RealFilesForDataHeldInMemory) {
  std::string text = "in memory";
  CMemoryFile block(std::span(reinterpret_cast<unsigned char*>(text.data()), text.size()));
  CFileBuffer f;
  EXPECT_EQ(f.MakeRealFile(), 1);
  ASSERT_EQ(f.Read(block.Name()), 0);
  ASSERT_EQ(f.MakeRealFile(), 0);
  EXPECT_EQ(f.GetData(), nullptr);
  const std::string temporary = platform::HostPath(f.GetFileName());
  EXPECT_TRUE(GetFileNamePart(f.GetFileName()).starts_with("QIB"));
  std::ifstream in(temporary, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "in memory");
  f.Close();
  EXPECT_FALSE(std::filesystem::exists(temporary));
  // A plain file is already real.
  m_folder.Write("plain.txt", "p");
  ASSERT_EQ(f.Read("plain.txt"), 0);
  ASSERT_EQ(f.MakeRealFile(), 0);
  EXPECT_EQ(f.GetFileName(), "plain.txt");
  f.Close();
  EXPECT_TRUE(m_folder.Exists("plain.txt"));
}

}  // namespace
