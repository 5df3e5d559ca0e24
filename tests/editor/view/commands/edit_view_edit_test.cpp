#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "edit_fixture.h"
#include "editor/foundation/document/fake_ports.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/ope_blk.h"
#include "editor/view/pane/display_row.h"
#include "platform/sjis_literal.h"

namespace {

// A record as the tests compare it: kind, caret before, range end, caret after, length, text.
struct Rec {
  int kind;
  int bx, by, ex, ey, ax, ay;
  int length;
  std::string text;
  bool operator==(const Rec&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Rec& r) {
  return os << "{" << r.kind << " before(" << r.bx << "," << r.by << ") end(" << r.ex << "," << r.ey << ") after("
            << r.ax << "," << r.ay << ") len " << r.length << " '" << r.text << "'}";
}

Rec RecOf(const COpeRecord& r) {
  const bool ranged = r.m_nKind != COpeRecord::OPE_MOVECARET;
  return Rec{r.m_nKind,
             r.m_nCaretPosX_PHY_Before,
             r.m_nCaretPosY_PHY_Before,
             ranged ? r.m_nRangeEndX_PHY : 0,
             ranged ? r.m_nRangeEndY_PHY : 0,
             r.m_nCaretPosX_PHY_After,
             r.m_nCaretPosY_PHY_After,
             ranged ? r.m_nTextLen : 0,
             r.m_pText ? std::string(r.m_pText->View()) : std::string()};
}

// Kind 3 record from (x, y) to (x2, y2).
Rec Move(int x, int y, int x2, int y2) { return Rec{3, x, y, 0, 0, x2, y2, 0, ""}; }

class EditPrimitiveTest : public EditFixture {
 protected:
  void SetUp() override {
    EditFixture::SetUp();
    type().nWrapColumn = 10;
    type().nTabWidth = 4;
    // The caret-line underline and the bracket highlight are drawn over the painted text; they
    // are not what the repaint tests look at.
    type().Colors[2].bShow = 0;
    type().Colors[42].bShow = 0;
  }

  // The records of the last undo step.
  std::vector<Rec> LastStep() {
    std::vector<Rec> records;
    CUndoBuffer& buffer = doc->m_cUndoBuffer;
    if (buffer.GetCount() == 0) return records;
    bool modified = false;
    COpeBlk* block = buffer.StepBack(&modified);
    for (int i = 0; i < block->GetNum(); ++i) records.push_back(RecOf(*block->GetRecord(i)));
    buffer.StepForward(&modified);
    return records;
  }

  // The display lines, each its bytes.
  std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    for (int i = 0; i < doc->m_cLayoutMgr.GetLineCount(); ++i) {
      int length = 0;
      const char* text = doc->m_cLayoutMgr.GetLineText(i, &length);
      rows.emplace_back(text, static_cast<size_t>(length));
    }
    return rows;
  }

  // What the pane shows now, and what a paint of the whole pane shows.
  bool ImageIsFresh() {
    const platform::Bitmap* image = view->GetViewImage();
    const size_t size = static_cast<size_t>(image->Pitch()) * image->Height();
    const std::vector<uint8_t> shown(image->Bits(), image->Bits() + size);
    view->RepaintClient();
    for (int y = 0; y < image->Height(); ++y) {
      const uint8_t* fresh = image->Row(y);
      const uint8_t* before = shown.data() + (image->Row(y) - image->Bits());
      if (std::memcmp(fresh, before, static_cast<size_t>(image->Width()) * 4) != 0) {
        ADD_FAILURE() << "pixel row " << y << " differs from a fresh paint";
        return false;
      }
    }
    return true;
  }
};

// ---- Insert ---------------------------------------------------------------------------------------

struct InsertCase {
  const char* name;
  std::string text;
  int x, y;
  std::string data;
  bool freeCursor;
  std::string after;
  Rec record;
  int newLine, newPos;
  std::vector<std::string> rows;
};

class InsertTable : public EditPrimitiveTest, public testing::WithParamInterface<InsertCase> {};

TEST_P(InsertTable, FillsTheRecordAndShowsTheText) {
  const InsertCase& c = GetParam();
  common().bIsFreeCursorMode = c.freeCursor;
  SetText(c.text);
  int newLine = -1;
  int newPos = -1;
  RunEdit([&](CEditView& pane) {
    auto* ope = new COpeRecord;
    pane.InsertTextUndoable(c.x, c.y, c.data.data(), static_cast<int>(c.data.size()), &newLine, &newPos, ope, true);
    pane.m_pcOpeBlk->AppendOpe(ope);
  });
  EXPECT_EQ(DocBytes(), c.after);
  EXPECT_EQ(LastStep(), std::vector<Rec>{c.record});
  EXPECT_EQ(newLine, c.newLine);
  EXPECT_EQ(newPos, c.newPos);
  EXPECT_EQ(Rows(), c.rows);
  EXPECT_TRUE(doc->m_bIsModified);
  EXPECT_TRUE(ImageIsFresh()) << "the rows the insert changed were not all repainted";
}

const InsertCase kInsertCases[] = {
    {"AsciiInsideALine",
     "abc\r\ndef",
     1,
     0,
     "XY",
     false,
     "aXYbc\r\ndef",
     {1, 1, 0, 3, 0, 3, 0, 2, ""},
     0,
     3,
     {"aXYbc\r", "def"}},
    {"PastTheTextBlanksFirst",
     "ab\r\ncd",
     5,
     0,
     "x",
     true,
     "ab   x\r\ncd",
     {1, 2, 0, 6, 0, 6, 0, 4, ""},
     0,
     6,
     {"ab   x\r", "cd"}},
    {"BelowTheLastLine", "ab\r\n", 3, 1, "x", true, "ab\r\n   x", {1, 0, 1, 4, 1, 4, 1, 4, ""}, 1, 4, {"ab\r", "   x"}},
    {"LineEndSplitsTheLine",
     "ab\ncd",
     1,
     0,
     "\r\n",
     false,
     "a\r\nb\ncd",
     {1, 1, 0, 0, 1, 0, 1, 2, ""},
     1,
     0,
     {"a\r", "b\n", "cd"}},
    {"KanjiBetweenKanji",
     "漢字\r"_sj,
     2,
     0,
     "か"_sj,
     false,
     "漢か字\r"_sj,
     {1, 2, 0, 4, 0, 4, 0, 2, ""},
     0,
     4,
     {"漢か字\r"_sj}},
    {"AfterATab", "\tb", 4, 0, "x", false, "\txb", {1, 1, 0, 2, 0, 2, 0, 1, ""}, 0, 5, {"\txb"}},
    // The end reaches the wrap width: the caret goes to the start of the next row.
    {"EndAtTheWrapWidth",
     "012345678",
     9,
     0,
     "x",
     false,
     "012345678x",
     {1, 9, 0, 10, 0, 10, 0, 1, ""},
     1,
     0,
     {"012345678x"}},
    {"IntoAWrappedLine",
     "0123456789abc",
     0,
     1,
     "Z",
     false,
     "0123456789Zabc",
     {1, 10, 0, 11, 0, 11, 0, 1, ""},
     1,
     1,
     {"0123456789", "Zabc"}},
};

INSTANTIATE_TEST_SUITE_P(Edit, InsertTable, testing::ValuesIn(kInsertCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditPrimitiveTest, InsertOverASelectionDeletesItFirst) {
  SetText("abcdef");
  view->PlaceCursor(1, 0, true, 20);
  view->BeginSelectionAtCaret();
  view->ChangeSelectionTo(4, 0);
  RunEdit([](CEditView& pane) { pane.InsertTextUndoable(0, 0, "Q", 1, nullptr, nullptr, nullptr, true); });
  EXPECT_EQ(DocBytes(), "aQef");
  EXPECT_FALSE(view->IsTextSelected());
}

// ---- Delete a range -----------------------------------------------------------------------------

struct DeleteCase {
  const char* name;
  std::string text;
  int x, y, count;
  std::string after;
  Rec record;
  std::vector<std::string> rows;
};

class DeleteTable : public EditPrimitiveTest, public testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteTable, FillsTheRecordAndMovesTheCaret) {
  const DeleteCase& c = GetParam();
  SetText(c.text);
  CMemory removed;
  RunEdit([&](CEditView& pane) {
    auto* ope = new COpeRecord;
    pane.DeleteRangeUndoable(c.x, c.y, c.count, &removed, ope);
    ope->m_nCaretPosX_PHY_After = ope->m_nCaretPosX_PHY_Before;
    ope->m_nCaretPosY_PHY_After = ope->m_nCaretPosY_PHY_Before;
    pane.m_pcOpeBlk->AppendOpe(ope);
  });
  EXPECT_EQ(DocBytes(), c.after);
  EXPECT_EQ(LastStep(), std::vector<Rec>{c.record});
  EXPECT_EQ(std::string(removed.View()), c.record.text);
  EXPECT_EQ(view->m_nCaretPosX_PHY, c.record.bx);
  EXPECT_EQ(view->m_nCaretPosY_PHY, c.record.by);
  EXPECT_EQ(Rows(), c.rows);
}

const DeleteCase kDeleteCases[] = {
    {"InsideARow", "abcdef", 1, 0, 2, "adef", {2, 1, 0, 3, 0, 1, 0, 2, "bc"}, {"adef"}},
    {"CrLfJoinsTheLines", "ab\r\ncd", 2, 0, 2, "abcd", {2, 2, 0, 0, 1, 2, 0, 2, "\r\n"}, {"abcd"}},
    {"AKanji", "a漢b"_sj, 1, 0, 2, "ab", {2, 1, 0, 3, 0, 1, 0, 2, "漢"_sj}, {"ab"}},
    // A row of a wrapped line: the offset counts from the row's start in the document line.
    {"OnAContinuationRow",
     "0123456789abc",
     1,
     1,
     2,
     "0123456789a",
     {2, 11, 0, 13, 0, 11, 0, 2, "bc"},
     {"0123456789", "a"}},
};

INSTANTIATE_TEST_SUITE_P(Edit, DeleteTable, testing::ValuesIn(kDeleteCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Delete at the cursor -------------------------------------------------------------------------

TEST_F(EditPrimitiveTest, DeleteAtCursorRemovesTheWholeLineEnd) {
  SetText("ab\r\ncd\nef");
  view->PlaceCursor(2, 0, true, 20);
  RunEdit([](CEditView& pane) { pane.DeleteAtCursor(true); });
  EXPECT_EQ(DocBytes(), "abcd\nef");
  EXPECT_EQ(LastStep(), (std::vector<Rec>{{2, 2, 0, 0, 1, 2, 0, 2, "\r\n"}}));
  EXPECT_EQ(view->Caret().x, 2);
  EXPECT_EQ(view->Caret().y, 0);
  EXPECT_TRUE(ImageIsFresh());
}

TEST_F(EditPrimitiveTest, DeleteAtCursorTakesAWholeKanji) {
  SetText("a漢b"_sj);
  view->PlaceCursor(1, 0, true, 20);
  RunEdit([](CEditView& pane) { pane.DeleteAtCursor(true); });
  EXPECT_EQ(DocBytes(), "ab");
}

TEST_F(EditPrimitiveTest, DeleteAtTheEndOfTheLastRowChangesNothing) {
  SetText("ab\r\ncd");
  view->PlaceCursor(2, 1, true, 20);
  RunEdit([](CEditView& pane) { pane.DeleteAtCursor(true); });
  EXPECT_EQ(DocBytes(), "ab\r\ncd");
  EXPECT_EQ(StepCount(), 0);
  EXPECT_FALSE(doc->m_bIsModified);
}

TEST_F(EditPrimitiveTest, DeleteOfTheLastLineEndPullsTheCaretBack) {
  SetText("ab\r\n");
  view->PlaceCursor(2, 0, true, 20);
  RunEdit([](CEditView& pane) { pane.DeleteAtCursor(true); });
  EXPECT_EQ(DocBytes(), "ab");
  EXPECT_EQ(view->Caret().x, 2);
  EXPECT_EQ(view->Caret().y, 0);
}

TEST_F(EditPrimitiveTest, BoxDeletionGoesBottomUpAndEndsAtTheTopLeft) {
  SetText("abcd\r\nefgh\r\nij\r\nk\r\n");
  view->PlaceCursor(3, 0, true, 20);
  view->m_bBeginBoxSelect = true;
  view->m_sSelect = SelectRange{0, 1, 3, 3};
  RunEdit([](CEditView& pane) { pane.DeleteAtCursor(true); });
  EXPECT_EQ(DocBytes(), "ad\r\neh\r\ni\r\nk\r\n");
  EXPECT_EQ(LastStep(), (std::vector<Rec>{Move(3, 0, 3, 0),
                                          {2, 1, 2, 2, 2, 1, 2, 1, "j"},
                                          {2, 1, 1, 3, 1, 1, 1, 2, "fg"},
                                          {2, 1, 0, 3, 0, 1, 0, 2, "bc"},
                                          Move(3, 0, 1, 0)}));
  EXPECT_EQ(view->Caret().x, 1);
  EXPECT_EQ(view->Caret().y, 0);
  EXPECT_FALSE(view->IsTextSelected());
  EXPECT_TRUE(view->m_bDrawSWITCH);
  EXPECT_TRUE(ImageIsFresh());
}

TEST_F(EditPrimitiveTest, LineSelectionIsReplacedWithNothing) {
  SetText("abc\r\ndef\r\n");
  view->PlaceCursor(1, 0, true, 20);
  view->BeginSelectionAtCaret();
  view->ChangeSelectionTo(1, 1);
  RunEdit([](CEditView& pane) { pane.DeleteAtCursor(true); });
  EXPECT_EQ(DocBytes(), "aef\r\n");
  EXPECT_EQ(LastStep(), (std::vector<Rec>{Move(1, 0, 1, 0), {2, 1, 0, 1, 1, 1, 0, 5, "bc\r\nd"}, Move(1, 0, 1, 0)}));
}

// ---- Replace ---------------------------------------------------------------------------------------

struct ReplaceCase {
  const char* name;
  std::string text;
  int lineFrom, colFrom, lineTo, colTo;
  std::string data;
  std::string after;
  std::vector<Rec> records;  // with the caret at (0, 0) before
  int caretX, caretY;
};

class ReplaceTable : public EditPrimitiveTest, public testing::WithParamInterface<ReplaceCase> {};

TEST_P(ReplaceTable, AppendsItsRecordsAndPutsTheCaretAfterTheText) {
  const ReplaceCase& c = GetParam();
  SetText(c.text);
  CMemory removed;
  RunEdit([&](CEditView& pane) {
    pane.ReplaceRangeUndoable(c.lineFrom, c.colFrom, c.lineTo, c.colTo, &removed, c.data.data(),
                              static_cast<int>(c.data.size()), true);
  });
  EXPECT_EQ(DocBytes(), c.after);
  EXPECT_EQ(LastStep(), c.records);
  EXPECT_EQ(view->Caret().x, c.caretX);
  EXPECT_EQ(view->Caret().y, c.caretY);
  EXPECT_TRUE(ImageIsFresh());
}

const ReplaceCase kReplaceCases[] = {
    {"AcrossALineEnd",
     "abc\r\ndef\r\n",
     0,
     1,
     1,
     1,
     "XY",
     "aXYef\r\n",
     {Move(0, 0, 0, 0), {2, 1, 0, 1, 1, 1, 0, 5, "bc\r\nd"}, {1, 1, 0, 3, 0, 3, 0, 2, ""}, Move(0, 0, 3, 0)},
     3,
     0},
    {"InsertOnly",
     "abc",
     0,
     1,
     0,
     1,
     "Z\n",
     "aZ\nbc",
     {Move(0, 0, 0, 0), {1, 1, 0, 0, 1, 0, 1, 2, ""}, Move(0, 0, 0, 1)},
     0,
     1},
    {"DeleteOnly",
     "abc",
     0,
     0,
     0,
     2,
     "",
     "c",
     {Move(0, 0, 0, 0), {2, 0, 0, 2, 0, 0, 0, 2, "ab"}, Move(0, 0, 0, 0)},
     0,
     0},
    // The end past everything its row holds takes the line end.
    {"EndPastTheLineEnd",
     "ab\ncd",
     0,
     1,
     0,
     7,
     "",
     "acd",
     {Move(0, 0, 0, 0), {2, 1, 0, 0, 1, 1, 0, 2, "b\n"}, Move(0, 0, 1, 0)},
     1,
     0},
    // A start at a wrap point is the next row's start: the same place in the document.
    {"StartAtAWrapPoint",
     "0123456789abc",
     0,
     10,
     1,
     1,
     "",
     "0123456789bc",
     {Move(0, 0, 0, 0), {2, 10, 0, 11, 0, 10, 0, 1, "a"}, Move(0, 0, 10, 0)},
     0,
     1},
};

INSTANTIATE_TEST_SUITE_P(Edit, ReplaceTable, testing::ValuesIn(kReplaceCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditPrimitiveTest, ReplaceOverMoreThan2000RowsHandsBackEveryByte) {
  std::string text;
  for (int i = 0; i < 2100; ++i) text += "line\r\n";
  SetText(text);
  CMemory removed;
  RunEdit([&](CEditView& pane) { pane.ReplaceRangeUndoable(0, 0, 2050, 0, &removed, nullptr, 0, true); });
  EXPECT_EQ(removed.GetLength(), 2050 * 6);
  EXPECT_EQ(doc->m_cDocLineMgr.GetLineCount(), 50);
  Undo();
  EXPECT_EQ(DocBytes(), text);
}

TEST_F(EditPrimitiveTest, AnEmptyRangeReplacedByNothingLeavesTheDocumentUnmodified) {
  SetText("abc");
  RunEdit([](CEditView& pane) { pane.ReplaceRangeUndoable(0, 1, 0, 1, nullptr, nullptr, 0, true); });
  EXPECT_EQ(DocBytes(), "abc");
  EXPECT_FALSE(doc->m_bIsModified);
}

// ---- Outside the records -------------------------------------------------------------------------

TEST_F(EditPrimitiveTest, DuringUndoNoRecordIsMadeAndNothingIsMarked) {
  SetText("abc");
  view->m_pcOpeBlk = std::make_unique<COpeBlk>();
  view->m_bDoing_UndoRedo = true;
  COpeRecord ope;
  view->InsertTextUndoable(1, 0, "x", 1, nullptr, nullptr, &ope, false);
  view->ReplaceRangeUndoable(0, 0, 0, 1, nullptr, "y", 1, false);
  view->m_bDoing_UndoRedo = false;
  EXPECT_EQ(DocBytes(), "yxbc");
  EXPECT_EQ(ope.m_nKind, COpeRecord::OPE_UNKNOWN);
  EXPECT_EQ(view->m_pcOpeBlk->GetNum(), 0);
  EXPECT_FALSE(doc->m_bIsModified);
  view->m_pcOpeBlk.reset();
}

TEST_F(EditPrimitiveTest, AnEditAndItsUndoRepaintTheSiblingPanes) {
  SetText("abc\r\ndef");
  FakeSplitter splitter;
  splitter.rows = 2;
  FakePane below;
  DocPorts ports = doc->Ports();
  ports.splitter = &splitter;
  ports.panes[2] = &below;
  doc->SetPorts(ports);
  RunEdit([](CEditView& pane) { pane.InsertTextUndoable(0, 0, "x", 1, nullptr, nullptr, nullptr, true); });
  EXPECT_EQ(below.redraws, 0) << "an edit that recorded nothing is no step";
  RunEdit([](CEditView& pane) { pane.ReplaceRangeUndoable(0, 0, 0, 1, nullptr, "y", 1, true); });
  EXPECT_EQ(below.redraws, 1);
  Undo();
  EXPECT_EQ(below.redraws, 2);
  ports.splitter = nullptr;
  ports.panes[2] = nullptr;
  doc->SetPorts(ports);
}

}  // namespace
