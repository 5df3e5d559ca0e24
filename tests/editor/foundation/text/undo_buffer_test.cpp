#include "editor/foundation/text/undo_buffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/ope_blk.h"
#include "platform/sjis_literal.h"
#include "tests/editor/foundation/message_box_capture.h"

namespace {

// A caret move with its positions set. Records and steps that a test drops without freeing are
// the leak checker's to find (the sanitizer build), with the text each record owns.
COpeRecord* Record() {
  auto* r = new COpeRecord;
  r->m_nKind = COpeRecord::OPE_MOVECARET;
  r->m_nCaretPosX_PHY_Before = r->m_nCaretPosY_PHY_Before = r->m_nCaretPosX_PHY_After = r->m_nCaretPosY_PHY_After = 0;
  r->m_pText = new CMemory("text", 4);
  return r;
}

COpeBlk* Step() {
  auto* step = new COpeBlk;
  step->AppendOpe(Record());
  return step;
}

// One command: a step appended and the document modified.
struct Doc {
  CUndoBuffer undo;
  bool modified = false;
  void Edit() {
    ASSERT_TRUE(undo.AppendBlock(Step()));
    modified = true;
  }
  bool Undo() { return undo.StepBack(&modified) != nullptr; }
  bool Redo() { return undo.StepForward(&modified) != nullptr; }
  void Save() {
    undo.MarkSavePoint();
    modified = false;
  }
};

TEST(UndoBuffer, UndoAndRedoAroundTheSavePoint) {
  Doc doc;
  doc.Edit();
  doc.Edit();
  doc.Save();
  ASSERT_TRUE(doc.Undo());
  EXPECT_TRUE(doc.modified);
  ASSERT_TRUE(doc.Redo());
  EXPECT_FALSE(doc.modified);
  ASSERT_TRUE(doc.Undo());
  ASSERT_TRUE(doc.Undo());
  EXPECT_TRUE(doc.modified);
  ASSERT_TRUE(doc.Redo());
  ASSERT_TRUE(doc.Redo());
  EXPECT_FALSE(doc.modified);
  EXPECT_FALSE(doc.Redo());
  EXPECT_FALSE(doc.modified);
}

// Saved at 2, two undone, two new edits: the text differs from the file at every position, though
// the counts meet the old save point again.
TEST(UndoBuffer, EditsAfterUndoingPastTheSavePointNeverReadAsSaved) {
  Doc doc;
  doc.Edit();
  doc.Edit();
  doc.Save();
  ASSERT_TRUE(doc.Undo());
  ASSERT_TRUE(doc.Undo());
  doc.Edit();
  doc.Edit();
  EXPECT_EQ(doc.undo.GetSavePoint(), -1);
  EXPECT_FALSE(doc.undo.CanRedo());
  ASSERT_TRUE(doc.Undo());
  EXPECT_TRUE(doc.modified);
  ASSERT_TRUE(doc.Redo());
  EXPECT_TRUE(doc.modified);  // position 2 again, but not the saved text
  while (doc.Undo()) EXPECT_TRUE(doc.modified);
  while (doc.Redo()) EXPECT_TRUE(doc.modified);
  doc.Save();  // a new save makes a new point to come back to
  ASSERT_TRUE(doc.Undo());
  ASSERT_TRUE(doc.Redo());
  EXPECT_FALSE(doc.modified);
}

// A history dropped above the save point keeps it: the save point is the state before the new edit.
TEST(UndoBuffer, DroppingRedoAboveTheSavePointKeepsIt) {
  Doc doc;
  doc.Edit();
  doc.Save();
  doc.Edit();
  doc.Edit();
  ASSERT_TRUE(doc.Undo());
  doc.Edit();
  EXPECT_EQ(doc.undo.GetSavePoint(), 1);
  ASSERT_TRUE(doc.Undo());
  ASSERT_TRUE(doc.Undo());
  EXPECT_FALSE(doc.modified);
  // At the save point itself nothing that leads back to it is dropped either.
  doc.Edit();
  EXPECT_EQ(doc.undo.GetSavePoint(), 1);
  ASSERT_TRUE(doc.Undo());
  EXPECT_FALSE(doc.modified);
}

TEST(UndoBuffer, NewEditDropsTheUndoneSteps) {
  Doc doc;
  doc.Edit();
  doc.Edit();
  doc.Edit();
  ASSERT_TRUE(doc.Undo());
  ASSERT_TRUE(doc.Undo());
  doc.Edit();
  EXPECT_EQ(doc.undo.GetCount(), 2);
  EXPECT_EQ(doc.undo.GetCurrentPointer(), 2);
  EXPECT_FALSE(doc.undo.CanRedo());
  ASSERT_TRUE(doc.Undo());
  ASSERT_TRUE(doc.Undo());
  doc.Edit();  // drops every step: the array starts again
  EXPECT_EQ(doc.undo.GetCount(), 1);
}

TEST(UndoBuffer, EmptyBufferHasNothingToStep) {
  CUndoBuffer undo;
  bool modified = true;
  EXPECT_FALSE(undo.CanUndo());
  EXPECT_FALSE(undo.CanRedo());
  EXPECT_EQ(undo.StepBack(&modified), nullptr);
  EXPECT_EQ(undo.StepForward(&modified), nullptr);
  EXPECT_TRUE(modified);
  EXPECT_EQ(undo.GetCount(), 0);
  EXPECT_EQ(undo.GetCurrentPointer(), 0);
  EXPECT_EQ(undo.GetSavePoint(), 0);
}

TEST(UndoBuffer, ClearForgetsStepsAndSavePoint) {
  Doc doc;
  doc.Edit();
  doc.Edit();
  doc.Save();
  ASSERT_TRUE(doc.Undo());
  doc.Edit();
  doc.undo.Clear();
  EXPECT_EQ(doc.undo.GetCount(), 0);
  EXPECT_EQ(doc.undo.GetCurrentPointer(), 0);
  EXPECT_EQ(doc.undo.GetSavePoint(), 0);
  doc.Edit();
  ASSERT_TRUE(doc.Undo());
  EXPECT_FALSE(doc.modified);  // back at the state Clear took as the file's
}

TEST(UndoBuffer, StepsComeBackInOrder) {
  CUndoBuffer undo;
  std::vector<COpeBlk*> steps;
  for (int i = 0; i < 100; ++i) {
    steps.push_back(Step());
    ASSERT_TRUE(undo.AppendBlock(steps.back()));
  }
  for (int i = 99; i >= 0; --i) ASSERT_EQ(undo.StepBack(nullptr), steps[i]);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(undo.StepForward(nullptr), steps[i]);
}

// ---- COpeBlk ----------------------------------------------------------------------------------

TEST(OpeBlk, RecordStartsUnset) {
  COpeRecord r;
  EXPECT_EQ(r.m_nKind, COpeRecord::OPE_UNKNOWN);
  EXPECT_EQ(r.m_nCaretPosX_PHY_Before, -1);
  EXPECT_EQ(r.m_nCaretPosY_PHY_Before, -1);
  EXPECT_EQ(r.m_nRangeEndX_PHY, 0);
  EXPECT_EQ(r.m_nRangeEndY_PHY, 0);
  EXPECT_EQ(r.m_nCaretPosX_PHY_After, -1);
  EXPECT_EQ(r.m_nCaretPosY_PHY_After, -1);
  EXPECT_EQ(r.m_nTextLen, 0);
  EXPECT_EQ(r.m_pText, nullptr);
}

TEST(OpeBlk, KeepsRecordsInOrderAndOwnsThem) {
  COpeBlk blk;
  std::vector<COpeRecord*> records;
  for (int i = 0; i < 1000; ++i) {
    records.push_back(Record());
    ASSERT_TRUE(blk.AppendOpe(records.back()));
  }
  EXPECT_EQ(blk.GetNum(), 1000);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(blk.GetRecord(i), records[i]);
  EXPECT_EQ(blk.GetRecord(1000), nullptr);
  EXPECT_EQ(blk.GetRecord(-1), nullptr);
}

TEST(OpeBlk, UnsetCaretIsReportedAndKept) {
  struct Case {
    const char* name;
    int xb, yb, xa, ya;
  };
  for (const Case& c : {Case{"before x", -1, 2, 3, 4}, Case{"before y", 1, -1, 3, 4}, Case{"after x", 1, 2, -1, 4},
                        Case{"after y", 1, 2, 3, -1}}) {
    SCOPED_TRACE(c.name);
    MessageBoxCapture boxes;
    COpeBlk blk;
    auto* r = new COpeRecord;
    r->m_nKind = COpeRecord::OPE_INSERT;
    r->m_nCaretPosX_PHY_Before = c.xb;
    r->m_nCaretPosY_PHY_Before = c.yb;
    r->m_nCaretPosX_PHY_After = c.xa;
    r->m_nCaretPosY_PHY_After = c.ya;
    EXPECT_TRUE(blk.AppendOpe(r));
    EXPECT_EQ(blk.GetRecord(0), r);
    ASSERT_EQ(boxes.requests.size(), 1u);
    EXPECT_EQ(boxes.requests[0].owner, nullptr);
    EXPECT_EQ(boxes.requests[0].caption, "tovara");
    EXPECT_EQ(boxes.requests[0].flags, static_cast<UINT>(MB_ICONERROR | MB_TOPMOST));
    EXPECT_EQ(boxes.requests[0].text, std::string("COpeBlk::AppendOpe() error.\n") + " バグ"_sj +
                                          "\npcOpe->m_nCaretPosX_PHY_Before = " + std::to_string(c.xb) +
                                          "\npcOpe->m_nCaretPosY_PHY_Before = " + std::to_string(c.yb) +
                                          "\npcOpe->m_nCaretPosX_PHY_After = " + std::to_string(c.xa) +
                                          "\npcOpe->m_nCaretPosY_PHY_After = " + std::to_string(c.ya));
  }
  MessageBoxCapture boxes;
  COpeBlk blk;
  EXPECT_TRUE(blk.AppendOpe(Record()));
  EXPECT_TRUE(boxes.requests.empty());
}

// ---- Running out of memory ---------------------------------------------------------------------

void* FailingRealloc(void*, size_t) { return nullptr; }

void ExpectAllocFailureBox(const MessageBoxCapture& boxes) {
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].owner, nullptr);
  EXPECT_EQ(boxes.requests[0].flags, static_cast<UINT>(MB_OK));
  EXPECT_EQ(boxes.requests[0].text, "COpeBlk::AppendOpe() error");
  EXPECT_EQ(boxes.requests[0].caption, "メモリ確保に失敗しました。\n非常に危険な状態です。"_sj);
}

TEST(OpeBlk, FailedGrowthKeepsTheStepAsItWas) {
  COpeBlk blk;
  COpeRecord* first = Record();
  ASSERT_TRUE(blk.AppendOpe(first));
  COpeRecord* second = Record();
  MessageBoxCapture boxes;
  const auto previous = CMemory::SetReallocForTesting(&FailingRealloc);
  const bool ok = blk.AppendOpe(second);  // refused and freed, not leaked
  CMemory::SetReallocForTesting(previous);
  EXPECT_FALSE(ok);
  ExpectAllocFailureBox(boxes);
  EXPECT_EQ(blk.GetNum(), 1);
  EXPECT_EQ(blk.GetRecord(0), first);
}

TEST(UndoBuffer, FailedGrowthKeepsTheBufferApartFromTheDroppedRedo) {
  Doc doc;
  doc.Edit();
  doc.Edit();
  doc.Edit();
  doc.Save();
  ASSERT_TRUE(doc.Undo());
  COpeBlk* step = Step();
  MessageBoxCapture boxes;
  const auto previous = CMemory::SetReallocForTesting(&FailingRealloc);
  const bool ok = doc.undo.AppendBlock(step);
  CMemory::SetReallocForTesting(previous);
  EXPECT_FALSE(ok);
  ExpectAllocFailureBox(boxes);
  EXPECT_EQ(doc.undo.GetCount(), 2);
  EXPECT_EQ(doc.undo.GetCurrentPointer(), 2);
  EXPECT_EQ(doc.undo.GetSavePoint(), -1);
  EXPECT_FALSE(doc.undo.CanRedo());
  EXPECT_TRUE(doc.Undo());
}

}  // namespace
