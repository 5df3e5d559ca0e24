#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "edit_fixture.h"
#include "editor/foundation/beep_capture.h"
#include "editor/foundation/message_box_capture.h"
#include "editor/foundation/text/line_end.h"
#include "platform/dialog.h"
#include "platform/dialog_test.h"
#include "platform/file_dialog.h"
#include "platform/gui_app.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"

namespace {

namespace dt = platform::dialog_test;

constexpr int kToLower = 30800, kToUpper = 30801, kToHankaku = 30810, kToZenKata = 30811, kToZenHira = 30812,
              kHanKataToZenKata = 30813, kHanKataToZenHira = 30814, kToZenEi = 30815, kToHanEi = 30816,
              kToHankata = 30817, kTabToSpace = 30830, kSpaceToTab = 30831, kEucToSjis = 30852,
              kSjisToUtf8 = 30862, kLTrim = 30280, kRTrim = 30281, kSortAsc = 30282, kSortDesc = 30283,
              kMerge = 30284, kBase64Decode = 30870, kUudecode = 30880;

struct Caret {
  int column;
  int row;
};

// A command over the whole text, and the text it leaves.
struct TextCase {
  const char* name;
  int command;
  std::string text;
  std::string expected;
};

class ConvertCommandsTest : public EditFixture {
 protected:
  void SetUp() override {
    EditFixture::SetUp();
    platform::EnsureGuiApp();
    type().nWrapColumn = 40;
    type().nTabWidth = 4;
    Relayout();
  }
  void TearDown() override {
    dt::SetShownHook(nullptr);
    EditFixture::TearDown();
  }

  void Run(int command) { view->RunCommand(command, true, 0, 0, 0, 0); }
  void PlaceAt(Caret c) {
    view->PlaceCursor(c.column, c.row, true, 20);
    view->m_nCaretPosX_Prev = view->m_nCaretPosX;
  }
  void Select(Caret from, Caret to) {
    PlaceAt(from);
    view->BeginSelectionAtCaret();
    PlaceAt(to);
    view->ChangeSelectionTo(to.column, to.row);
  }
  void SelectBox(Caret from, Caret to) {
    PlaceAt(from);
    view->Command_BEGINBOXSELECT();
    PlaceAt(to);
    view->ChangeSelectionTo(to.column, to.row);
    view->m_bSelectingLock = false;
  }
  // The whole text selected, from its start to the end of its last row.
  void SelectAll() { view->RunCommand(30401, true, 0, 0, 0, 0); }

  // Answers the save dialog: keeps the name it proposes, then types the path (empty: cancels).
  void AnswerSaveDialog(const std::string& path) {
    dt::SetShownHook([this, path](HWND d) {
      ++dialogs;
      char name[512] = {};
      platform::GetDlgItemText(d, platform::kFileDialogName, name, sizeof name);
      proposed = name;
      if (path.empty()) {
        dt::Click(d, IDCANCEL);
        return;
      }
      platform::SetDlgItemText(d, platform::kFileDialogName, "");
      EXPECT_TRUE(dt::Type(d, platform::kFileDialogName, path));
      dt::Click(d, IDOK);
    });
  }

  ScopedTempDir dir;
  BeepCapture beeps;
  MessageBoxCapture boxes{IDYES};
  int dialogs = 0;
  std::string proposed;
};

// Each conversion command over a selection of the whole text, and one undo step that gives the
// old bytes back.
TEST_F(ConvertCommandsTest, ConversionsRewriteTheSelectionAsOneStep) {
  const TextCase cases[] = {
      {"upper case", kToUpper, "ab1\r\ncd", "AB1\r\nCD"},
      {"lower case, full width too", kToLower, "AB\r\n"_sj + std::string("ＡＢ"_sj), "ab\r\n"_sj + std::string("ａｂ"_sj)},
      {"to full width letters", kToZenEi, "a1 ", "ａ１　"_sj},
      {"to half width letters only", kToHanEi, "ａ１カ"_sj, "a1カ"_sj},
      {"everything to half width", kToHankaku, "がａ"_sj, "ｶﾞa"_sj},
      {"katakana to half width only", kToHankata, "カかａ"_sj, "ｶかａ"_sj},
      {"half width to katakana", kToZenKata, "ｶﾞa"_sj, "ガａ"_sj},
      {"half width to hiragana", kToZenHira, "ｶa"_sj, "かａ"_sj},
      {"half-width kana only to katakana", kHanKataToZenKata, "ｶa"_sj, "カa"_sj},
      {"half-width kana only to hiragana", kHanKataToZenHira, "ｶa"_sj, "かa"_sj},
      {"tabs to spaces at the tab width", kTabToSpace, "\tx\r\nab\ty", "    x\r\nab  y"},
      {"spaces to tabs at the tab width", kSpaceToTab, "    x", "\tx"},
      {"a code conversion", kSjisToUtf8, "あ"_sj, "\xE3\x81\x82"},
      {"EUC-JP to Shift-JIS", kEucToSjis, "\xA4\xA2", "あ"_sj},
      {"trailing blanks of every line", kRTrim, "a \r\nb\t\n", "a\r\nb\n"},
      {"leading blanks of every line", kLTrim, " a\r\n\tb", "a\r\nb"},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.name);
    MakeDocumentAndPane();  // an undo history of its own
    SetText(c.text);
    SelectAll();
    const int steps = StepCount();
    Run(c.command);
    EXPECT_EQ(DocBytes(), c.expected);
    EXPECT_EQ(StepCount(), steps + 1);
    Undo();
    EXPECT_EQ(DocBytes(), c.text);
  }
}

TEST_F(ConvertCommandsTest, ConversionWithoutSelectionChangesNothing) {
  SetText("abc\r\n");
  PlaceAt({1, 0});
  const int steps = StepCount();
  Run(kToUpper);
  EXPECT_EQ(DocBytes(), "abc\r\n");
  EXPECT_EQ(StepCount(), steps);
  EXPECT_FALSE(doc->m_bIsModified);
}

TEST_F(ConvertCommandsTest, TrimTakesTabsSpacesAndFullWidthSpacesOnly) {
  const TextCase cases[] = {
      {"two full-width spaces and a tab", kRTrim, "a　　\t\r\nb"_sj, "a\r\nb"},
      {"blanks only keep their line end", kRTrim, " 　\t\n\r\nx"_sj, "\n\r\nx"},
      {"leading run of all three", kLTrim, "\t　 a b \r\n"_sj, "a b \r\n"},
      {"blanks only, leading", kLTrim, "\t \r\nx", "\r\nx"},
      // The kanji 0x88 0x81 followed by "@" holds the bytes of a full-width space, split.
      {"a trail byte with @ is no blank", kRTrim, std::string("\x88\x81@ \r\n"), std::string("\x88\x81@\r\n")},
      {"line ends kept as they were", kRTrim, "a \rb \n\rc ", "a\rb\n\rc"},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetText(c.text);
    SelectAll();
    Run(c.command);
    EXPECT_EQ(DocBytes(), c.expected);
  }
}

TEST_F(ConvertCommandsTest, TrimWithoutSelectionTakesTheCaretRowOnly) {
  for (const int command : {kLTrim, kRTrim}) {
    SCOPED_TRACE(command);
    SetText("  a  \r\n  b  \r\n  c  ");
    PlaceAt({3, 1});
    Run(command);
    EXPECT_EQ(DocBytes(), command == kLTrim ? "  a  \r\nb  \r\n  c  " : "  a  \r\n  b\r\n  c  ");
    EXPECT_FALSE(view->IsTextSelected());
    Undo();
    EXPECT_EQ(DocBytes(), "  a  \r\n  b  \r\n  c  ");
  }
}

// A command over the selection from one caret to another, and the text it leaves.
struct LinesCase {
  const char* name;
  int command;
  std::string text;
  Caret from;
  Caret to;
  std::string expected;
};

TEST_F(ConvertCommandsTest, SortOrdersWholeLinesByteWise) {
  const LinesCase cases[] = {
      {"ascending, a prefix first", kSortAsc, "b\r\na\r\nab\r\n", {0, 0}, {0, 3}, "a\r\nab\r\nb\r\n"},
      {"descending", kSortDesc, "b\r\na\r\nab\r\n", {0, 0}, {0, 3}, "b\r\nab\r\na\r\n"},
      {"keys equal in their first eight bytes", kSortAsc, "abcdefgh2\r\nabcdefgh1\r\nabcdefgh\r\n", {0, 0}, {0, 3},
       "abcdefgh\r\nabcdefgh1\r\nabcdefgh2\r\n"},
      {"a NUL byte sorts lowest", kSortAsc, std::string("a\r\na\0\r\n", 7), {0, 0}, {0, 2},
       std::string("a\0\r\na\r\n", 7)},
      {"bytes compare unsigned", kSortAsc, "あ\r\nz\r\n"_sj, {0, 0}, {0, 2}, "z\r\nあ\r\n"_sj},
      {"a line reached at column 0 stays", kSortAsc, "c\r\nb\r\na\r\n", {0, 0}, {0, 2}, "b\r\nc\r\na\r\n"},
      {"a line entered counts", kSortAsc, "c\r\nb\r\na\r\n", {0, 0}, {1, 2}, "a\r\nb\r\nc\r\n"},
      {"started inside a line", kSortAsc, "x\r\nc\r\nb\r\n", {1, 1}, {0, 3}, "x\r\nb\r\nc\r\n"},
      {"line ends travel with their lines", kSortAsc, "b\na\r\nc", {0, 0}, {0, 2}, "a\r\nb\nc"},
      // A final line without a line end cannot be followed by another: the selection leaves it.
      {"a last line without line end stays", kSortAsc, "c\r\nb\r\na", {0, 0}, {1, 2}, "b\r\nc\r\na"},
      {"one line: nothing", kSortAsc, "b\r\na\r\n", {0, 0}, {1, 0}, "b\r\na\r\n"},
  };
  for (const LinesCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetText(c.text);
    Select(c.from, c.to);
    Run(c.command);
    EXPECT_EQ(DocBytes(), c.expected);
    if (c.expected != c.text) {
      Undo();
      EXPECT_EQ(DocBytes(), c.text);
    }
  }
}

// The lines are replaced as one step even when none moves or none is dropped: the selection
// becomes the whole lines, and a caret at the selection's end stays there.
TEST_F(ConvertCommandsTest, SortAndMergeSelectTheReplacedLines) {
  const LinesCase cases[] = {
      {"sorted", kSortAsc, "x\r\nc\r\nb\r\na\r\ny", {0, 1}, {0, 4}, "x\r\na\r\nb\r\nc\r\ny"},
      {"already in order", kSortAsc, "x\r\na\r\nb\r\ny", {1, 1}, {0, 3}, "x\r\na\r\nb\r\ny"},
      {"nothing to merge", kMerge, "x\r\na\r\nb\r\ny", {1, 1}, {0, 3}, "x\r\na\r\nb\r\ny"},
  };
  for (const LinesCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetText(c.text);
    doc->m_bIsModified = false;
    Select(c.from, c.to);
    const int steps = StepCount();
    Run(c.command);
    EXPECT_EQ(DocBytes(), c.expected);
    EXPECT_EQ(StepCount(), steps + 1);
    EXPECT_TRUE(doc->m_bIsModified);
    EXPECT_FALSE(view->m_bBeginBoxSelect);
    EXPECT_EQ(view->m_sSelect.nLineFrom, c.from.row);
    EXPECT_EQ(view->m_sSelect.nColumnFrom, 0);
    EXPECT_EQ(view->m_sSelect.nLineTo, c.to.row);
    EXPECT_EQ(view->m_sSelect.nColumnTo, 0);
    EXPECT_EQ(view->m_nCaretPosY, c.to.row);
    EXPECT_EQ(view->m_nCaretPosX, 0);
  }
}

TEST_F(ConvertCommandsTest, BoxSortKeysAreTheBoxColumnsAndEqualKeysKeepTheirOrder) {
  SetText("z1b\r\ny0a\r\nx1a\r\nw0\r\n");
  // Columns 1 to 2: keys "1", "0", "1", "0".
  SelectBox({1, 0}, {2, 3});
  Run(kSortAsc);
  EXPECT_EQ(DocBytes(), "y0a\r\nw0\r\nz1b\r\nx1a\r\n");
  EXPECT_TRUE(view->m_bBeginBoxSelect);
  EXPECT_TRUE(view->IsTextSelected());
  EXPECT_EQ(view->m_nCaretPosX, 1);
  EXPECT_EQ(view->m_nCaretPosY, 0);

  // A box of width zero reaches the wrap width: the keys are the rest of each line.
  SetText("b2\r\nb1\r\na9\r\n");
  SelectBox({1, 0}, {1, 2});
  Run(kSortDesc);
  EXPECT_EQ(DocBytes(), "a9\r\nb2\r\nb1\r\n");
}

// The document's last line has no line end; sorted away from the end it gets the input line end,
// and the line that becomes last keeps its own.
TEST_F(ConvertCommandsTest, SortMovingTheLastLineWithoutLineEndGivesItTheInputLineEnd) {
  const std::string text = "b\r\nc\n\ra";
  SetText(text);
  doc->m_nNewLineType = CLineEnd::LF;
  SelectBox({0, 0}, {1, 2});
  const int steps = StepCount();
  Run(kSortAsc);
  EXPECT_EQ(DocBytes(), "a\nb\r\nc\n\r");
  EXPECT_EQ(doc->m_cDocLineMgr.GetLineCount(), 3);
  EXPECT_EQ(StepCount(), steps + 1);
  Undo();
  EXPECT_EQ(DocBytes(), text);
  Redo();
  EXPECT_EQ(DocBytes(), "a\nb\r\nc\n\r");

  // Staying last, it stays without a line end.
  SetText("b\r\na\r\nc");
  SelectBox({0, 0}, {1, 2});
  Run(kSortAsc);
  EXPECT_EQ(DocBytes(), "a\r\nb\r\nc");
}

TEST_F(ConvertCommandsTest, MergeDropsLinesEqualToTheOneBefore) {
  struct Case {
    const char* name;
    std::string text;
    Caret to;
    bool box;
    std::string expected;
    std::string message;  // empty: none
  };
  const std::string none = "マージ可能な行がみつかりませんでした。"_sj;
  const Case cases[] = {
      {"a a b a", "a\r\na\r\nb\r\na\r\n", {0, 4}, false, "a\r\nb\r\na\r\n", "1行をマージしました。"_sj},
      {"line ends count", "a\r\na\nb\r\n", {0, 3}, false, "a\r\na\nb\r\n", none},
      {"nothing equal", "a\r\nb\r\n", {0, 2}, false, "a\r\nb\r\n", none},
      {"a run of three", "a\r\na\r\na\r\n", {0, 3}, false, "a\r\n", "2行をマージしました。"_sj},
      {"a box does nothing", "a\r\na\r\n", {1, 1}, true, "a\r\na\r\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetText(c.text);
    boxes.requests.clear();
    if (c.box) {
      SelectBox({0, 0}, c.to);
    } else {
      Select({0, 0}, c.to);
    }
    Run(kMerge);
    EXPECT_EQ(DocBytes(), c.expected);
    if (c.message.empty()) {
      EXPECT_TRUE(boxes.requests.empty());
      continue;
    }
    ASSERT_EQ(boxes.requests.size(), 1u);
    EXPECT_EQ(boxes.requests[0].text, c.message);
    EXPECT_EQ(boxes.requests[0].caption, "tovara");
    EXPECT_EQ(boxes.requests[0].flags, static_cast<UINT>(c.expected == c.text ? MB_ICONINFORMATION : MB_TOPMOST));
    if (c.expected != c.text) {
      Undo();
      EXPECT_EQ(DocBytes(), c.text);
    }
  }
}

TEST_F(ConvertCommandsTest, DecodedBytesGoToTheChosenFile) {
  struct Case {
    const char* name;
    int command;
    std::string text;
    const char* proposed;
    std::string bytes;
  };
  const Case cases[] = {
      {"Base64 skips junk between runs", kBase64Decode, "SGVs*bG8=\r\n!!", "", "Hello"},
      {"Base64 of binary bytes", kBase64Decode, "AP8A", "", std::string("\x00\xFF\x00", 3)},
      {"uudecode proposes the last path component", kUudecode, "begin 644 ../../x\r\n#0V%T\r\n`\r\nend\r\n", "x",
       "Cat"},
      {"uudecode of a plain name", kUudecode, "begin 600 cat.bin\r\n#0V%T\r\nend\r\n", "cat.bin", "Cat"},
      {"a folder of dots proposes nothing", kUudecode, "begin 644 a\\..\r\n#0V%T\r\nend\r\n", "", "Cat"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetText(c.text);
    SelectAll();
    const std::string target = dir.File("out.bin");
    std::filesystem::remove(target);
    AnswerSaveDialog(target);
    dialogs = 0;
    beeps.beeps.clear();
    Run(c.command);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(proposed, c.proposed);
    EXPECT_EQ(dir.Read("out.bin"), c.bytes);
    EXPECT_TRUE(beeps.beeps.empty());
    EXPECT_EQ(DocBytes(), c.text);
  }
}

TEST_F(ConvertCommandsTest, DecodeRefusals) {
  SetText("SGVsbG8=");
  // Without a selection: a beep, no dialog.
  AnswerSaveDialog(dir.File("out.bin"));
  for (const int command : {kBase64Decode, kUudecode}) {
    PlaceAt({0, 0});
    beeps.beeps.clear();
    Run(command);
    EXPECT_EQ(beeps.beeps.size(), 1u);
  }
  EXPECT_EQ(dialogs, 0);
  EXPECT_FALSE(dir.Exists("out.bin"));

  // Cancelled: nothing written, nothing said.
  SelectAll();
  AnswerSaveDialog("");
  beeps.beeps.clear();
  boxes.requests.clear();
  Run(kBase64Decode);
  EXPECT_EQ(dialogs, 1);
  EXPECT_FALSE(dir.Exists("out.bin"));
  EXPECT_TRUE(beeps.beeps.empty());
  EXPECT_TRUE(boxes.requests.empty());
}

TEST_F(ConvertCommandsTest, TargetWithoutWriteBitsIsRefusedAndKept) {
  dir.Write("locked.bin", "old");
  const std::string target = dir.File("locked.bin");
  std::filesystem::permissions(target, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
  SetText("SGVsbG8=");
  SelectAll();
  AnswerSaveDialog(target);
  Run(kBase64Decode);
  EXPECT_EQ(dir.Read("locked.bin"), "old");
  EXPECT_EQ(beeps.beeps.size(), 1u);
  ASSERT_FALSE(boxes.requests.empty());
  const platform::MessageBoxRequest& box = boxes.requests.back();
  EXPECT_EQ(box.text, "ファイルの作成に失敗しました。\n\n"_sj + target);
  EXPECT_EQ(box.caption, "tovara");
  EXPECT_EQ(box.flags, static_cast<UINT>(MB_ICONERROR));
  // No temporary file is left beside it.
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 1);
}

}  // namespace
