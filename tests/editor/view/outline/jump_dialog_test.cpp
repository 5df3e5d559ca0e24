#include "editor/view/outline/jump_dialog.h"

#include <climits>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "editor/foundation/document/outline_parsers.h"
#include "editor/foundation/message_box_capture.h"
#include "jump_fixture.h"
#include "platform/dialog_test.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"

namespace {

namespace dt = platform::dialog_test;

constexpr char kPackages[] =
    "CREATE OR REPLACE PACKAGE pkg AS\n"
    "  PROCEDURE run;\n"
    "END;\n"
    "/\n"
    "CREATE OR REPLACE PACKAGE BODY pkg AS\n"
    "  PROCEDURE run IS\n"
    "  BEGIN\n"
    "    NULL;\n"
    "  END;\n"
    "END;\n";

class JumpDialogTest : public JumpFixture {
 protected:
  void TearDown() override {
    dt::SetShownHook(nullptr);
    JumpFixture::TearDown();
  }
  // Runs the jump dialog command; the action plays the user inside the dialog.
  void RunDialog(const std::function<void(HWND)>& action) {
    dt::SetShownHook([&](HWND dialog) {
      shown = dialog;
      action(dialog);
      // Whatever the action left open is cancelled, so that the loop ends.
      if (platform::IsWindow(dialog) && dt::Query(dialog, IDCANCEL)) dt::Click(dialog, IDCANCEL);
    });
    Run(kJumpDialog);
    dt::SetShownHook(nullptr);
  }
  static dt::ControlState State(HWND dialog, int id) { return dt::Query(dialog, id).value(); }
  static std::string Text(HWND dialog, int id) { return State(dialog, id).text; }

  HWND shown = nullptr;
};

TEST_F(JumpDialogTest, ZeroIsANumberAndJumpsToTheFirstLine) {
  SetText("a\nb\nc\nd\n");
  PlaceAt({0, 3});
  MessageBoxCapture boxes;
  RunDialog([](HWND dialog) {
    EXPECT_EQ(dt::TemplateOf(dialog), "118");
    EXPECT_EQ(Text(dialog, CJumpDialog::kLineNum), "") << "no line number given yet";
    ASSERT_TRUE(dt::Type(dialog, CJumpDialog::kLineNum, "0"));
    ASSERT_TRUE(dt::Click(dialog, CJumpDialog::kJump));
  });
  EXPECT_TRUE(boxes.requests.empty());
  EXPECT_EQ(jumpDialog.m_nLineNum, 0);
  EXPECT_EQ(Where(), (Pos{0, 0}));
}

struct TypedCase {
  const char* name;
  std::string typed;
  bool accepted;
  int stored;  // the line number kept when accepted
};

class TypedNumberTable : public JumpDialogTest, public testing::WithParamInterface<TypedCase> {};

TEST_P(TypedNumberTable, IsTakenOrRefusedWithTheMessage) {
  const TypedCase& c = GetParam();
  SetText("a\nb\nc\nd\n");
  PlaceAt({0, 1});
  MessageBoxCapture boxes;
  bool stillOpen = false;
  RunDialog([&](HWND dialog) {
    if (!c.typed.empty()) {
      ASSERT_TRUE(dt::Type(dialog, CJumpDialog::kLineNum, c.typed));
    }
    ASSERT_TRUE(dt::Click(dialog, CJumpDialog::kJump));
    stillOpen = dt::Query(dialog, CJumpDialog::kJump).has_value();
  });
  if (c.accepted) {
    EXPECT_TRUE(boxes.requests.empty());
    EXPECT_EQ(jumpDialog.m_nLineNum, c.stored);
    EXPECT_EQ(Where(), (Pos{0, 3})) << "the last line";
  } else {
    ASSERT_EQ(boxes.requests.size(), 1u);
    EXPECT_EQ(boxes.requests[0].text, "正しく行番号を入力してください。"_sj);
    EXPECT_EQ(boxes.requests[0].caption, "tovara");
    EXPECT_EQ(boxes.requests[0].flags, static_cast<UINT>(MB_OK));
    EXPECT_TRUE(stillOpen) << "the dialog stays for a correction";
    EXPECT_EQ(Where(), (Pos{0, 1})) << "no jump";
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, TypedNumberTable,
                         testing::Values(TypedCase{"Empty", "", false, 0}, TypedCase{"Letters", "abc", false, 0},
                                         TypedCase{"DigitsThenLetters", "12a", false, 0},
                                         TypedCase{"Negative", "-3", false, 0},
                                         TypedCase{"BlanksAround", " 9 ", true, 9},
                                         TypedCase{"TooLongSaturates", "99999999999999999999", true, INT_MAX}),
                         [](const testing::TestParamInfo<TypedCase>& info) { return std::string(info.param.name); });

TEST_F(JumpDialogTest, APlsqlSourceListsItsPackagePartsWithTheBodyChosen) {
  type().nDefaultOutline = outline_type::kPlsql;
  record->bLineNumIsCRLF = 0;
  SetText(kPackages);
  PlaceAt({0, 9});
  RunDialog([](HWND dialog) {
    const dt::ControlState blocks = State(dialog, CJumpDialog::kPlsqlBlocks);
    EXPECT_EQ(blocks.items,
              (std::vector<std::string>{"1 行  pkg  パッケージ仕様部"_sj, "5 行  pkg  パッケージ本体部"_sj}));
    EXPECT_EQ(blocks.selection, 1);
    EXPECT_EQ(Text(dialog, CJumpDialog::kPlsqlBaseLine), "5");
    EXPECT_EQ(State(dialog, CJumpDialog::kPlsql).check, BST_CHECKED);
    EXPECT_EQ(State(dialog, CJumpDialog::kDocumentLines).check, BST_CHECKED);
    EXPECT_FALSE(State(dialog, CJumpDialog::kDisplayRows).enabled);
    EXPECT_TRUE(State(dialog, CJumpDialog::kPlsqlBaseLine).enabled);

    ASSERT_TRUE(dt::Select(dialog, CJumpDialog::kPlsqlBlocks, 0));
    EXPECT_EQ(Text(dialog, CJumpDialog::kPlsqlBaseLine), "1") << "a chosen part gives its line";
    ASSERT_TRUE(dt::Select(dialog, CJumpDialog::kPlsqlBlocks, 1));
    ASSERT_TRUE(dt::Type(dialog, CJumpDialog::kLineNum, "3"));
    ASSERT_TRUE(dt::Click(dialog, CJumpDialog::kJump));
  });
  EXPECT_EQ(record->bLineNumIsCRLF, 1);
  // Counted from the body's line 5: its first line is 1, "BEGIN" is 3.
  EXPECT_EQ(CaretDocLine(), 6);
}

// A type that numbers display rows: the rows give display lines, as the numbers beside the text do,
// even when the last jump counted document lines, and the jump counts from the row's line.
TEST_F(JumpDialogTest, PackageRowsNumberLinesAsTheTypeDoesAndTheJumpCountsFromThem) {
  type().nDefaultOutline = outline_type::kPlsql;
  type().bCountDocumentLines = 0;
  type().nWrapColumn = 40;
  record->bLineNumIsCRLF = 1;
  std::string text = kPackages;
  text.insert(text.find('\n') + 1, "  -- " + std::string(65, 'x') + "\n");  // two rows below line 1
  SetText(text);
  RunDialog([](HWND dialog) {
    EXPECT_EQ(State(dialog, CJumpDialog::kPlsqlBlocks).items,
              (std::vector<std::string>{"1 行  pkg  パッケージ仕様部"_sj, "7 行  pkg  パッケージ本体部"_sj}));
    EXPECT_EQ(Text(dialog, CJumpDialog::kPlsqlBaseLine), "7");
    ASSERT_TRUE(dt::Type(dialog, CJumpDialog::kLineNum, "3"));
    ASSERT_TRUE(dt::Click(dialog, CJumpDialog::kJump));
  });
  EXPECT_EQ(CaretDocLine(), 7) << "BEGIN, the body's third line";
}

TEST_F(JumpDialogTest, PlsqlModeForcesDocumentLinesAndLocksTheUnit) {
  record->bLineNumIsCRLF = 0;
  SetText("a\nb\n");
  RunDialog([&](HWND dialog) {
    EXPECT_EQ(State(dialog, CJumpDialog::kDisplayRows).check, BST_CHECKED);
    EXPECT_TRUE(State(dialog, CJumpDialog::kDisplayRows).enabled);
    for (const int id : {CJumpDialog::kPlsqlBlocks, CJumpDialog::kPlsqlBaseLine, CJumpDialog::kPlsqlBaseSpin,
                         CJumpDialog::kPlsqlLabel1, CJumpDialog::kPlsqlLabel2, CJumpDialog::kPlsqlLabel3})
      EXPECT_FALSE(State(dialog, id).enabled) << id;

    ASSERT_TRUE(dt::Click(dialog, CJumpDialog::kPlsql));
    EXPECT_EQ(record->bLineNumIsCRLF, 1);
    EXPECT_EQ(State(dialog, CJumpDialog::kDocumentLines).check, BST_CHECKED);
    EXPECT_EQ(State(dialog, CJumpDialog::kDisplayRows).check, BST_UNCHECKED);
    EXPECT_FALSE(State(dialog, CJumpDialog::kDisplayRows).enabled);
    EXPECT_FALSE(State(dialog, CJumpDialog::kDocumentLines).enabled);
    for (const int id : {CJumpDialog::kPlsqlBlocks, CJumpDialog::kPlsqlBaseLine, CJumpDialog::kPlsqlBaseSpin,
                         CJumpDialog::kPlsqlLabel1, CJumpDialog::kPlsqlLabel2, CJumpDialog::kPlsqlLabel3})
      EXPECT_TRUE(State(dialog, id).enabled) << id;

    ASSERT_TRUE(dt::Click(dialog, CJumpDialog::kPlsql));
    EXPECT_TRUE(State(dialog, CJumpDialog::kDisplayRows).enabled);
    EXPECT_FALSE(State(dialog, CJumpDialog::kPlsqlBaseLine).enabled);
    EXPECT_EQ(State(dialog, CJumpDialog::kDocumentLines).check, BST_CHECKED) << "the unit stays as forced";
  });
}

struct SpinCase {
  const char* name;
  int spin;
  int edit;
  std::string before;
  bool up;
  std::string after;
};

class SpinTable : public JumpDialogTest, public testing::WithParamInterface<SpinCase> {};

TEST_P(SpinTable, UpRaisesByOneDownLowersNeverBelowOne) {
  const SpinCase& c = GetParam();
  SetText("a\n");
  RunDialog([&](HWND dialog) {
    if (c.spin == CJumpDialog::kPlsqlBaseSpin) {
      ASSERT_TRUE(dt::Click(dialog, CJumpDialog::kPlsql));
    }
    ASSERT_TRUE(platform::SetDlgItemText(dialog, c.edit, c.before.c_str()));
    ASSERT_TRUE(dt::Spin(dialog, c.spin, c.up));
    EXPECT_EQ(Text(dialog, c.edit), c.after);
  });
}

INSTANTIATE_TEST_SUITE_P(
    Steps, SpinTable,
    testing::Values(SpinCase{"UpRaises", CJumpDialog::kLineNumSpin, CJumpDialog::kLineNum, "5", true, "6"},
                    SpinCase{"DownLowers", CJumpDialog::kLineNumSpin, CJumpDialog::kLineNum, "5", false, "4"},
                    SpinCase{"DownStopsAtOne", CJumpDialog::kLineNumSpin, CJumpDialog::kLineNum, "1", false, "1"},
                    SpinCase{"UpFromEmptyIsOne", CJumpDialog::kLineNumSpin, CJumpDialog::kLineNum, "", true, "1"},
                    SpinCase{"UpFromLettersIsOne", CJumpDialog::kLineNumSpin, CJumpDialog::kLineNum, "x", true, "1"},
                    SpinCase{"UpStaysAtTheLargest", CJumpDialog::kLineNumSpin, CJumpDialog::kLineNum, "2147483647",
                             true, "2147483647"},
                    SpinCase{"BaseLineUp", CJumpDialog::kPlsqlBaseSpin, CJumpDialog::kPlsqlBaseLine, "1", true, "2"},
                    SpinCase{"BaseLineDownStopsAtOne", CJumpDialog::kPlsqlBaseSpin, CJumpDialog::kPlsqlBaseLine, "1",
                             false, "1"}),
    [](const testing::TestParamInfo<SpinCase>& info) { return std::string(info.param.name); });

TEST_F(JumpDialogTest, CancelKeepsTheCaretAndTheFieldsStayForTheNextRun) {
  SetText("a\nb\nc\n");
  PlaceAt({0, 2});
  jumpDialog.m_nLineNum = 2;
  RunDialog([](HWND dialog) {
    EXPECT_EQ(Text(dialog, CJumpDialog::kLineNum), "2");
    EXPECT_EQ(Text(dialog, CJumpDialog::kPlsqlBaseLine), "1");
    ASSERT_TRUE(dt::Click(dialog, IDCANCEL));
  });
  EXPECT_EQ(Where(), (Pos{0, 2}));
}

}  // namespace
