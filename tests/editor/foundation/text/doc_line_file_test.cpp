#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "editor/foundation/message_box_capture.h"
#include "editor/foundation/text/char_codes.h"
#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/file_reader.h"
#include "editor/foundation/text/file_writer.h"
#include "editor/foundation/text/job_progress.h"
#include "editor/foundation/text/memory.h"
#include "platform/sjis.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"

namespace {

using Line = std::pair<std::string, int>;  // text without line end, line-end code

std::vector<Line> Lines(CDocLineMgr& mgr) {
  std::vector<Line> lines;
  for (int i = 0; i < mgr.GetLineCount(); ++i) {
    CDocLine* line = mgr.GetLine(i);
    int len = 0;
    const char* text = line->GetText(&len);
    lines.emplace_back(std::string(text, line->GetLengthWithoutEol()), line->m_cLineEnd.GetCode());
  }
  return lines;
}

void Fill(CDocLineMgr& mgr, const std::vector<Line>& lines) {
  for (const Line& l : lines) {
    const std::string text = l.first + CLineEnd(l.second).GetBytes();
    mgr.AppendLine(text.data(), static_cast<int>(text.size()), l.second);
  }
}

bool Load(CDocLineMgr& mgr, const std::string& path, int code, bool* bom = nullptr, bool mime = false) {
  bool present = false;
  return mgr.LoadFromFile(path.c_str(), nullptr, nullptr, code, nullptr, mime, bom ? bom : &present);
}

bool Save(CDocLineMgr& mgr, const std::string& path, int code, int saveEol = 0, bool bom = false,
          CJobProgressBar* bar = nullptr) {
  return mgr.SaveToFile(path.c_str(), nullptr, bar, code, nullptr, saveEol, bom);
}

mode_t ModeOf(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

// The one message box a step showed (caption "tovara").
void ExpectOneBox(const MessageBoxCapture& boxes, const std::string& text, UINT flags) {
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].text, text);
  EXPECT_EQ(boxes.requests[0].caption, "tovara");
  EXPECT_EQ(boxes.requests[0].flags, flags);
}

// The progress bar a job moves, recorded.
class RecordingBar : public CJobProgressBar {
 public:
  void SetRange(int32_t low, int32_t high) override { ranges.emplace_back(low, high); }
  void SetPos(int32_t pos) override { positions.push_back(pos); }
  std::vector<std::pair<int32_t, int32_t>> ranges;
  std::vector<int32_t> positions;
};

// A message pump that meets a quit request from its nth call on (0: never), as the window side's
// pump does: once met, the request stays and every later call meets it again.
struct FakePump {
  static inline int calls = 0;
  static inline int quitFrom = 0;
  static bool Pump() {
    ++calls;
    return quitFrom == 0 || calls < quitFrom;
  }
};

class ScopedFakePump {
 public:
  explicit ScopedFakePump(int quitFrom) {
    FakePump::calls = 0;
    FakePump::quitFrom = quitFrom;
    JobUi ui;
    ui.pump = &FakePump::Pump;
    SetJobUi(ui);
  }
  ~ScopedFakePump() { SetJobUi(JobUi{}); }
};

// Every line kind a document has, in characters all seven codes can hold: ASCII, kanji, kana of
// both widths, symbols, an empty line, each line end, a line longer than a read block, and a last
// line without a line end.
std::vector<Line> MixedLines() {
  std::string longLine;
  while (longLine.size() < 70000) longLine += "長い行 long line ｶﾀｶﾅ "_sj;
  return {
      {"plain ASCII", CLineEnd::CRLF},
      {"漢字とかな、カタカナ。"_sj, CLineEnd::LF},
      {"ﾊﾝｶｸｶﾀｶﾅ and 表示 (trail 0x5C)"_sj, CLineEnd::CR},
      {"", CLineEnd::CRLF},
      {"記号：「」【】〒※→"_sj, CLineEnd::LFCR},
      {longLine + "end", CLineEnd::CRLF},
      {"\tタブと  空白"_sj, CLineEnd::LF},
      {"last 最後"_sj, CLineEnd::NONE},
  };
}

TEST(DocLineFile, MixedLinesComeBackThroughEveryCode) {
  ScopedTempDir dir;
  MessageBoxCapture boxes;
  const std::vector<Line> lines = MixedLines();
  for (int code = 0; code < kCodeCount; ++code) {
    for (bool bom : {false, true}) {
      SCOPED_TRACE(std::string(kCodeLongNames[code]) + (bom ? " with mark" : ""));
      const std::string path = dir.File("mixed" + std::to_string(code) + (bom ? "b" : ""));
      CDocLineMgr doc;
      Fill(doc, lines);
      ASSERT_TRUE(Save(doc, path, code, 0, bom)) << (boxes.requests.empty() ? "" : boxes.requests.back().text);
      const bool markWritten = bom && (code == kCodeUtf16Le || code == kCodeUtf8 || code == kCodeUtf16Be);
      CDocLineMgr back;
      bool present = !markWritten;
      ASSERT_TRUE(Load(back, path, code, &present));
      EXPECT_EQ(present, markWritten);
      EXPECT_EQ(Lines(back), lines);
      // Loaded lines are the file's, not edits.
      for (CDocLine* l = back.GetFirstLine(); l; l = l->m_pNext) EXPECT_FALSE(l->IsModified());
    }
  }
  CDocLineMgr doc;
  Fill(doc, lines);
  ASSERT_TRUE(Save(doc, dir.File("sjis"), kCodeSjis));
  std::string expected;
  for (const Line& l : lines) expected += l.first + CLineEnd(l.second).GetBytes();
  EXPECT_EQ(dir.Read("sjis"), expected);
  EXPECT_TRUE(boxes.requests.empty());
}

TEST(DocLineFile, DetectedCodesLoadTheSameLines) {
  ScopedTempDir dir;
  MessageBoxCapture boxes;
  std::vector<Line> lines = MixedLines();
  lines.erase(lines.begin() + 5);  // detection reads the first block; keep the text short
  for (int code : {kCodeSjis, kCodeJis, kCodeEuc, kCodeUtf8, kCodeUtf16Le, kCodeUtf16Be}) {
    SCOPED_TRACE(kCodeLongNames[code]);
    const std::string path = dir.File("detect" + std::to_string(code));
    CDocLineMgr doc;
    Fill(doc, lines);
    ASSERT_TRUE(Save(doc, path, code, 0, true));
    CFileReader reader;
    EXPECT_EQ(reader.Open(path.c_str(), kCodeDetect, 0), code);
    CDocLineMgr back;
    ASSERT_TRUE(Load(back, path, kCodeDetect));
    EXPECT_EQ(Lines(back), lines);
  }
}

// The edge cases of reading, as files of known bytes.
TEST(DocLineFile, ReadingEdgeCases) {
  ScopedTempDir dir;
  MessageBoxCapture boxes;
  const std::string a32766(32766, 'a');
  const std::string a32767(32767, 'a');
  struct Case {
    const char* name;
    std::string bytes;
    int code;
    std::vector<Line> lines;
    bool bom;
  };
  const Case cases[] = {
      {"UTF-8 mark, read as UTF-8",
       "\xEF\xBB\xBF"
       "abc\r\n",
       kCodeUtf8,
       {{"abc", CLineEnd::CRLF}},
       true},
      {"UTF-8 mark, detected",
       "\xEF\xBB\xBF"
       "abc\r\n",
       kCodeDetect,
       {{"abc", CLineEnd::CRLF}},
       true},
      {"UTF-8 mark, read as Shift-JIS",
       "\xEF\xBB\xBF"
       "abc\r\n",
       kCodeSjis,
       {{"\xEF\xBB\xBF"
         "abc",
         CLineEnd::CRLF}},
       false},
      {"empty file", "", kCodeSjis, {}, false},
      {"a line end at the end gives no empty line", "a\nb\n", kCodeSjis, {{"a", 3}, {"b", 3}}, false},
      {"CR LF cut by the block boundary", a32767 + "\r\nb", kCodeSjis, {{a32767, 1}, {"b", 0}}, false},
      {"CR LF just before the boundary", a32766 + "\r\nb", kCodeSjis, {{a32766, 1}, {"b", 0}}, false},
      {"LF CR cut by the block boundary", a32767 + "\n\rb", kCodeSjis, {{a32767, 2}, {"b", 0}}, false},
      {"a CR at the boundary before text", a32767 + "\rb", kCodeSjis, {{a32767, 4}, {"b", 0}}, false},
      {"exactly one block", a32766 + "\r\n", kCodeSjis, {{a32766, 1}}, false},
      {"one byte over a block", a32767 + "\r\n", kCodeSjis, {{a32767, 1}}, false},
      {"a line of three blocks",
       std::string(3 * 32768 + 5, 'z'),
       kCodeSjis,
       {{std::string(3 * 32768 + 5, 'z'), 0}},
       false},
      {"lone CR file", "\r", kCodeSjis, {{"", 4}}, false},
      // A last line that converts to nothing is no line (the odd byte is counted as unconverted).
      {"UTF-16LE odd last byte", std::string("a\0\n\0x", 5), kCodeUtf16Le, {{"a", 3}}, false},
      {"JIS file ending in an escape", "a\r\n\x1B(B", kCodeJis, {{"a", 1}}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dir.Write("edge", c.bytes);
    CDocLineMgr doc;
    bool bom = !c.bom;
    ASSERT_TRUE(Load(doc, dir.File("edge"), c.code, &bom));
    EXPECT_EQ(Lines(doc), c.lines);
    EXPECT_EQ(bom, c.bom);
  }
}

// UTF-16 units cut by the block boundary: the boundary falls inside the line end in both byte
// orders, and a long line spans blocks.
TEST(DocLineFile, Utf16LineEndsAcrossBlocks) {
  ScopedTempDir dir;
  MessageBoxCapture boxes;
  for (int code : {kCodeUtf16Le, kCodeUtf16Be}) {
    for (int pad : {16382, 16383, 16384}) {  // units before the CR LF, after the 2-byte mark
      SCOPED_TRACE(std::to_string(code) + " " + std::to_string(pad));
      std::string bytes = code == kCodeUtf16Le ? "\xFF\xFE" : "\xFE\xFF";
      auto unit = [&](char c) { bytes += code == kCodeUtf16Le ? std::string{c, '\0'} : std::string{'\0', c}; };
      for (int i = 0; i < pad; ++i) unit('a');
      unit('\r');
      unit('\n');
      unit('b');
      dir.Write("u16", bytes);
      CDocLineMgr doc;
      ASSERT_TRUE(Load(doc, dir.File("u16"), code));
      EXPECT_EQ(Lines(doc), (std::vector<Line>{{std::string(pad, 'a'), 1}, {"b", 0}}));
    }
  }
}

TEST(DocLineFile, OpenFailuresSayWhy) {
  ScopedTempDir dir;
  const std::string noRead = dir.File("noread.txt");
  dir.Write("noread.txt", "secret");
  ::chmod(noRead.c_str(), 0200);
  std::filesystem::create_directory(dir.File("folder"));
  ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0644), 0);
  const std::string big = dir.File("big");
  dir.Write("big", "");
  ASSERT_EQ(::truncate(big.c_str(), 0x80000000LL), 0);  // sparse: takes no room
  struct Case {
    std::string path;
    std::string text;
  };
  const std::string inUse =
      "'\nというファイルを開けません。\n他のアプリケーションで使用されている可能性があります。"_sj;
  const Case cases[] = {
      {dir.File("missing"), dir.File("missing") + "\nというファイルを開けません。\nファイルが存在しません。"_sj},
      {noRead, "'" + noRead + "'\nというファイルを開けません。\n読み込みアクセス権がありません。"_sj},
      {dir.File("folder"), "'" + dir.File("folder") + inUse},
      {dir.File("fifo"), "'" + dir.File("fifo") + inUse},
      {big, "'" + big + "'\nというファイルは大きすぎて開けません。"_sj},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    MessageBoxCapture boxes;
    CDocLineMgr doc;
    Fill(doc, {{"old", 1}});
    EXPECT_FALSE(Load(doc, c.path, kCodeSjis));
    EXPECT_EQ(doc.GetLineCount(), 0);
    ExpectOneBox(boxes, c.text, MB_OK | MB_ICONERROR);
  }
}

TEST(DocLineFile, SavingEdgeCases) {
  ScopedTempDir dir;
  MessageBoxCapture boxes;
  CDocLineMgr doc;
  Fill(doc, {{"a", CLineEnd::CRLF}, {"b", CLineEnd::CR}, {"c", CLineEnd::NONE}});
  ASSERT_TRUE(Save(doc, dir.File("u16"), kCodeUtf16Le, 0, true));
  EXPECT_EQ(dir.Read("u16"), std::string("\xFF\xFE"
                                         "a\0\r\0\n\0"
                                         "b\0\r\0"
                                         "c\0",
                                         14));
  ASSERT_TRUE(Save(doc, dir.File("u16be"), kCodeUtf16Be, 0, true));
  EXPECT_EQ(dir.Read("u16be"), std::string("\xFE\xFF"
                                           "\0a\0\r\0\n"
                                           "\0b\0\r"
                                           "\0c",
                                           14));
  ASSERT_TRUE(Save(doc, dir.File("lf"), kCodeSjis, CLineEnd::LF));
  EXPECT_EQ(dir.Read("lf"), "a\nb\nc");
  ASSERT_TRUE(Save(doc, dir.File("lf8"), kCodeUtf8, CLineEnd::LF, true));
  EXPECT_EQ(dir.Read("lf8"),
            "\xEF\xBB\xBF"
            "a\nb\nc");
  ASSERT_TRUE(Save(doc, dir.File("nomark"), kCodeUtf8, 0, false));
  EXPECT_EQ(dir.Read("nomark"), "a\r\nb\rc");
  ASSERT_TRUE(Save(doc, dir.File("jismark"), kCodeJis, 0, true));  // codes without a mark write none
  EXPECT_EQ(dir.Read("jismark"), "a\r\nb\rc");
  CDocLineMgr empty;
  ASSERT_TRUE(Save(empty, dir.File("empty"), kCodeUtf16Le, 0, false));
  EXPECT_EQ(dir.Read("empty"), "");
  // Each line is converted by itself: JIS returns to ASCII before every line end.
  CDocLineMgr kanji;
  Fill(kanji, {{"漢"_sj, CLineEnd::CRLF}, {"字"_sj, CLineEnd::NONE}});
  ASSERT_TRUE(Save(kanji, dir.File("jis"), kCodeJis));
  EXPECT_EQ(dir.Read("jis"), "\x1B$B4A\x1B(B\r\n\x1B$B;z\x1B(B");
  EXPECT_TRUE(boxes.requests.empty());
}

// A save replaces the file in one step: through a link the target is replaced and the link stays,
// the mode bits stay, and a file without write bits is left alone with the save message.
TEST(DocLineFile, SavingKeepsLinksAndModeBits) {
  ScopedTempDir dir;
  dir.Write("target.txt", "old");
  ::chmod(dir.File("target.txt").c_str(), 0640);
  std::filesystem::create_symlink(dir.File("target.txt"), dir.File("link.txt"));
  CDocLineMgr doc;
  Fill(doc, {{"new", CLineEnd::CRLF}});
  {
    MessageBoxCapture boxes;
    int64_t written = 0;
    ASSERT_TRUE(doc.SaveToFile(dir.File("link.txt").c_str(), nullptr, nullptr, kCodeSjis, &written, 0, false));
    EXPECT_TRUE(boxes.requests.empty());
    EXPECT_GT(written, 0);
    int64_t loaded = 0;
    CDocLineMgr back;
    bool bom = false;
    ASSERT_TRUE(back.LoadFromFile(dir.File("target.txt").c_str(), nullptr, nullptr, 0, &loaded, false, &bom));
    EXPECT_EQ(loaded, written);
  }
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.txt")));
  EXPECT_EQ(dir.Read("target.txt"), "new\r\n");
  EXPECT_EQ(ModeOf(dir.File("target.txt")), 0640u);

  dir.Write("readonly.txt", "keep me");
  ::chmod(dir.File("readonly.txt").c_str(), 0444);
  for (const std::string name : {"readonly.txt", "folder", "no/such/folder.txt"}) {
    SCOPED_TRACE(name);
    if (name == "folder") std::filesystem::create_directory(dir.File("folder"));
    MessageBoxCapture boxes;
    EXPECT_FALSE(Save(doc, dir.File(name), kCodeSjis));
    ExpectOneBox(
        boxes,
        "'" + dir.File(name) +
            "'\nファイルを保存できません。\nパスが存在しないか、他のアプリケーションで使用されている可能性があります。"_sj,
        MB_OK | MB_ICONERROR);
  }
  EXPECT_EQ(dir.Read("readonly.txt"), "keep me");
  EXPECT_EQ(ModeOf(dir.File("readonly.txt")), 0444u);
}

struct FailingOutput {
  static inline int writesBeforeFailure = -1;  // -1: never fail a write
  static inline bool failCommit = false;
  static bool Write(platform::AtomicFileWriter& file, std::span<const unsigned char> bytes) {
    if (writesBeforeFailure == 0) return false;
    if (writesBeforeFailure > 0) --writesBeforeFailure;
    return file.Write(bytes);
  }
  static platform::WriteStatus Commit(platform::AtomicFileWriter& file) {
    if (failCommit) return platform::WriteStatus::kCommitFailed;
    return file.Commit();
  }
};

TEST(DocLineFile, AFailedWriteKeepsTheOldFileAndSaysSo) {
  ScopedTempDir dir;
  const std::string old = "the old text\r\n" + std::string(200000, 'o');
  std::vector<Line> lines;
  for (int i = 0; i < 20000; ++i) lines.emplace_back("line " + std::to_string(i), CLineEnd::CRLF);
  CDocLineMgr doc;
  Fill(doc, lines);
  struct Case {
    const char* name;
    int writesBeforeFailure;
    bool failCommit;
  };
  const Case cases[] = {{"first write", 0, false}, {"a later write", 1, false}, {"commit", -1, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dir.Write("doc.txt", old);
    FailingOutput::writesBeforeFailure = c.writesBeforeFailure;
    FailingOutput::failCommit = c.failCommit;
    const auto previous = CFileWriter::SetOutputForTesting({&FailingOutput::Write, &FailingOutput::Commit});
    MessageBoxCapture boxes;
    const bool saved = Save(doc, dir.File("doc.txt"), kCodeSjis);
    CFileWriter::SetOutputForTesting(previous);
    EXPECT_FALSE(saved);
    EXPECT_EQ(dir.Read("doc.txt"), old);
    EXPECT_EQ(dir.List(), std::vector<std::string>{"doc.txt"});  // no new version left behind
    ExpectOneBox(boxes,
                 "'" + dir.File("doc.txt") +
                     "'\nファイルの書き込み中にエラーが発生しました。\n元のファイルは変更されていません。"_sj,
                 MB_OK | MB_ICONERROR);
  }
}

TEST(DocLineFile, AQuitDuringASaveLetsItFinishAndStaysPending) {
  ScopedTempDir dir;
  dir.Write("doc.txt", "old");
  std::vector<Line> lines;
  for (int i = 0; i < 5000; ++i) lines.emplace_back("line " + std::to_string(i), CLineEnd::CRLF);
  CDocLineMgr doc;
  Fill(doc, lines);
  ScopedFakePump pump(2);  // the quit comes at the second pump, at line 2048
  RecordingBar bar;
  MessageBoxCapture boxes;
  EXPECT_TRUE(Save(doc, dir.File("doc.txt"), kCodeSjis, 0, false, &bar));
  std::string expected;
  for (const Line& l : lines) expected += l.first + "\r\n";
  EXPECT_EQ(dir.Read("doc.txt"), expected);
  // Once the request is seen nothing pumps again: it stays for the loop that ends the program.
  EXPECT_EQ(FakePump::calls, 2);
  EXPECT_EQ(bar.ranges, (std::vector<std::pair<int32_t, int32_t>>{{0, 100}}));
  EXPECT_EQ(bar.positions, (std::vector<int32_t>{0, 20, 40, 61, 81, 0}));
  EXPECT_TRUE(boxes.requests.empty());
}

TEST(DocLineFile, LoadingPumpsEvery512LinesAndAQuitEndsIt) {
  ScopedTempDir dir;
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "line " + std::to_string(i) + "\n";
  dir.Write("doc.txt", text);
  {
    ScopedFakePump pump(0);
    RecordingBar bar;
    CDocLineMgr doc;
    bool bom = false;
    ASSERT_TRUE(doc.LoadFromFile(dir.File("doc.txt").c_str(), nullptr, &bar, kCodeSjis, nullptr, false, &bom));
    EXPECT_EQ(doc.GetLineCount(), 2000);
    EXPECT_EQ(FakePump::calls, 1 + 3 + 1);  // before, at lines 512, 1024, 1536, after
    ASSERT_EQ(bar.positions.size(), 5u);
    EXPECT_EQ(bar.positions.front(), 0);
    EXPECT_EQ(bar.positions.back(), 0);
    EXPECT_LT(bar.positions[1], bar.positions[2]);
  }
  {
    ScopedFakePump pump(3);  // at line 1024
    CDocLineMgr doc;
    EXPECT_FALSE(Load(doc, dir.File("doc.txt"), kCodeSjis));
    EXPECT_EQ(doc.GetLineCount(), 1024);  // what was read stays
  }
  {
    ScopedFakePump pump(1);  // already pending
    CDocLineMgr doc;
    EXPECT_FALSE(Load(doc, dir.File("doc.txt"), kCodeSjis));
    EXPECT_EQ(doc.GetLineCount(), 0);
  }
}

TEST(DocLineFile, UnconvertibleCharactersAreToldAfterALoad) {
  ScopedTempDir dir;
  dir.Write("emoji.txt", "a\xF0\x9F\x98\x80z\r\nok\r\n");
  {
    // The reader only counts: grep reads through it and says nothing.
    MessageBoxCapture boxes;
    CFileReader reader;
    ASSERT_EQ(reader.Open(dir.File("emoji.txt").c_str(), kCodeUtf8, 0), kCodeUtf8);
    int len = 0;
    CLineEnd eol;
    const char* line = reader.ReadLine(&len, &eol);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(std::string(line, len), "a\x81\xACz\r\n");
    EXPECT_EQ(reader.GetUnconvertedCount(), 1);
    EXPECT_TRUE(boxes.requests.empty());
  }
  MessageBoxCapture boxes;
  CDocLineMgr doc;
  ASSERT_TRUE(Load(doc, dir.File("emoji.txt"), kCodeUtf8));
  EXPECT_EQ(Lines(doc), (std::vector<Line>{{"a\x81\xACz", 1}, {"ok", 1}}));
  ExpectOneBox(boxes,
               "'" + dir.File("emoji.txt") +
                   "'\n1 文字を変換できず、〓 で表示しています。\n保存すると〓として書き込まれます。"_sj,
               MB_OK | MB_ICONWARNING);
}

TEST(DocLineFile, ASaveAsksAboutCharactersTheCodeCannotHold) {
  ScopedTempDir dir;
  // A user-defined character has no EUC code; the two bytes of one that is not Shift-JIS at all
  // have no Unicode one.
  const std::string userDefined = "\xF0\x40";
  CDocLineMgr doc;
  Fill(doc, {{userDefined + "と"_sj + userDefined, CLineEnd::CRLF}, {"ok", CLineEnd::NONE}});
  dir.Write("euc.txt", "old");
  {
    MessageBoxCapture boxes(IDNO);
    EXPECT_FALSE(Save(doc, dir.File("euc.txt"), kCodeEuc));
    ExpectOneBox(boxes, "2 文字は EUC で保存できないため〓になります。\n保存しますか？"_sj,
                 MB_YESNO | MB_ICONQUESTION | MB_TOPMOST);
    EXPECT_EQ(dir.Read("euc.txt"), "old");
    EXPECT_EQ(dir.List(), std::vector<std::string>{"euc.txt"});
  }
  {
    MessageBoxCapture boxes(IDYES);
    EXPECT_TRUE(Save(doc, dir.File("euc.txt"), kCodeEuc));
    ASSERT_EQ(boxes.requests.size(), 1u);
    EXPECT_EQ(dir.Read("euc.txt"), userDefined + "\xA4\xC8" + userDefined + "\r\nok");
  }
  {
    CDocLineMgr broken;
    Fill(broken, {{"a\x80z", CLineEnd::NONE}});
    MessageBoxCapture boxes(IDYES);
    EXPECT_TRUE(Save(broken, dir.File("utf8.txt"), kCodeUtf8));
    ExpectOneBox(boxes, "1 文字は UTF-8 で保存できないため〓になります。\n保存しますか？"_sj,
                 MB_YESNO | MB_ICONQUESTION | MB_TOPMOST);
  }
  {
    // 纊 (an IBM-row kanji) has an EUC code through its NEC-selected twin, and Shift-JIS and the
    // Unicode codes hold it as it is: no question, and it reads back as the same character.
    CDocLineMgr kanji;
    Fill(kanji, {{"纊"_sj, CLineEnd::NONE}});
    MessageBoxCapture boxes(IDNO);
    for (int code : {kCodeSjis, kCodeEuc, kCodeUtf8}) {
      SCOPED_TRACE(code);
      ASSERT_TRUE(Save(kanji, dir.File("kanji.txt"), code));
      CDocLineMgr back;
      ASSERT_TRUE(Load(back, dir.File("kanji.txt"), code));
      const std::string text = Lines(back)[0].first;
      ASSERT_EQ(text.size(), 2u);
      EXPECT_EQ(
          platform::SjisCodeToUnicode((static_cast<unsigned char>(text[0]) << 8) | static_cast<unsigned char>(text[1])),
          0x7E8Au);
    }
    EXPECT_TRUE(boxes.requests.empty());
  }
}

// The allocator seam fails one request, the nth from its installation, as a heap that is short
// for a moment does.
struct FailingAllocator {
  static inline int countdown = 0;
  static void* Realloc(void* p, size_t n) {
    if (countdown-- == 0) return nullptr;
    return std::realloc(p, n);
  }
};

TEST(DocLineFile, AFailedAllocationTakesTheReadErrorPath) {
  ScopedTempDir dir;
  std::string text;
  for (int i = 0; i < 100; ++i) text += "行 "_sj + std::to_string(i) + "\n";
  dir.Write("doc.txt", text);
  const std::string readError =
      "'" + dir.File("doc.txt") +
      "'というファイルの読み込み中にエラーが発生しました。\nファイルの読み込みを中止します。"_sj;
  for (int code : {kCodeSjis, kCodeUtf8}) {
    for (int failing : {0, 1, 40}) {  // the read block, the first line, a later line
      SCOPED_TRACE(std::to_string(code) + " " + std::to_string(failing));
      MessageBoxCapture boxes;
      CDocLineMgr doc;
      FailingAllocator::countdown = failing;
      const auto previous = CMemory::SetReallocForTesting(&FailingAllocator::Realloc);
      const bool loaded = Load(doc, dir.File("doc.txt"), code);
      CMemory::SetReallocForTesting(previous);
      EXPECT_FALSE(loaded);
      EXPECT_EQ(doc.GetLineCount(), 0);
      ASSERT_FALSE(boxes.requests.empty());
      EXPECT_EQ(boxes.requests.back().text, readError);
    }
  }
}

TEST(CFileReader, ProgressFollowsTheTextHandedOut) {
  ScopedTempDir dir;
  dir.Write("small", "abcd\r\nefgh\r\n");  // 12 bytes, 8 of text
  CFileReader reader;
  EXPECT_EQ(reader.GetProgressPercent(), 100);  // nothing open
  ASSERT_EQ(reader.Open(dir.File("small").c_str(), kCodeSjis, 0), kCodeSjis);
  EXPECT_EQ(reader.GetProgressPercent(), 0);
  int len = 0;
  CLineEnd eol;
  ASSERT_NE(reader.ReadLine(&len, &eol), nullptr);
  EXPECT_EQ(reader.GetProgressPercent(), 4 * 100 / 12);
  ASSERT_NE(reader.ReadLine(&len, &eol), nullptr);
  EXPECT_EQ(reader.ReadLine(&len, &eol), nullptr);
  EXPECT_EQ(reader.GetProgressPercent(), 8 * 100 / 12);
  EXPECT_THROW(reader.Open(dir.File("small").c_str(), kCodeSjis, 0), CError_FileOpen);  // already open
  reader.Close();

  dir.Write("large", std::string(100000, 'x') + "\n" + std::string(99999, 'y'));
  ASSERT_EQ(reader.Open(dir.File("large").c_str(), kCodeSjis, 0), kCodeSjis);
  ASSERT_NE(reader.ReadLine(&len, &eol), nullptr);
  EXPECT_EQ(len, 100001);
  EXPECT_EQ(reader.GetProgressPercent(), (100000 / 128 * 100) / (200000 / 128));
}

TEST(CFileReader, MimeHeaderWordsDecodeOnlyWhenAsked) {
  ScopedTempDir dir;
  dir.Write("mime", "=?ISO-2022-JP?B?GyRCNEEbKEI=?=\n");  // 漢 in a MIME header word
  for (bool mime : {false, true}) {
    CDocLineMgr doc;
    bool bom = false;
    MessageBoxCapture boxes;
    ASSERT_TRUE(doc.LoadFromFile(dir.File("mime").c_str(), nullptr, nullptr, kCodeJis, nullptr, mime, &bom));
    EXPECT_EQ(Lines(doc)[0].first, mime ? std::string("漢"_sj) : std::string("=?ISO-2022-JP?B?GyRCNEEbKEI=?="));
  }
}

}  // namespace
