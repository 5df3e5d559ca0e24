#include <gtest/gtest.h>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "edit_fixture.h"
#include "editor/foundation/document/fake_ports.h"
#include "editor/foundation/beep_capture.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/ope_blk.h"
#include "editor/view/commands/command_table.h"
#include "editor/view/pane/display_row.h"
#include "platform/sjis_literal.h"
#include "tests/editor/foundation/text/wrap_fixture.h"

namespace {

// Whether the display lines are those a whole rewrap of the document cuts (pieces, indents and
// the colour states they start in).
testing::AssertionResult LayoutIsFresh(CEditDoc& doc, const TypeSettings& type) {
  CWrapLineMgr fresh;
  fresh.Attach(&doc.m_cDocLineMgr);
  fresh.SetWrapSettings(true, nullptr, type);
  const std::vector<PieceRecord> have = Pieces(doc.m_cLayoutMgr);
  const std::vector<PieceRecord> want = Pieces(fresh);
  if (have != want) {
    for (size_t i = 0; i < std::max(have.size(), want.size()); ++i) {
      if (i >= have.size() || i >= want.size() || !(have[i] == want[i])) {
        testing::Message m;
        m << "display line " << i << " of " << have.size() << " (fresh " << want.size() << "): ";
        if (i < have.size()) m << have[i];
        m << " vs ";
        if (i < want.size()) m << want[i];
        return testing::AssertionFailure() << m;
      }
    }
  }
  if (doc.m_cLayoutMgr.GetEndColorState() != fresh.GetEndColorState()) {
    return testing::AssertionFailure() << "end colour state " << doc.m_cLayoutMgr.GetEndColorState() << " vs "
                                       << fresh.GetEndColorState();
  }
  return testing::AssertionSuccess();
}

class UndoTest : public EditFixture {
 protected:
  void SetUp() override {
    EditFixture::SetUp();
    type().nWrapColumn = 20;
    type().nTabWidth = 4;
  }
  void Type(int x, int y, const std::string& text) {
    RunEdit([&](CEditView& pane) {
      auto* ope = new COpeRecord;
      int line = 0;
      int pos = 0;
      pane.InsertTextUndoable(x, y, text.data(), static_cast<int>(text.size()), &line, &pos, ope, true);
      pane.m_pcOpeBlk->AppendOpe(ope);
      pane.PlaceCursor(pos, line, true, 20);
    });
  }
};

TEST_F(UndoTest, TypingPastTheEndOfAnEmptyLineIsUndoneWithItsBlanks) {
  common().bIsFreeCursorMode = true;
  SetText("\r\nnext");
  Type(10, 0, "x");
  EXPECT_EQ(DocBytes(), "          x\r\nnext");
  Undo();
  EXPECT_EQ(DocBytes(), "\r\nnext");
  EXPECT_EQ(view->Caret().x, 0);
  EXPECT_EQ(view->Caret().y, 0);
  Redo();
  EXPECT_EQ(DocBytes(), "          x\r\nnext");
  EXPECT_EQ(view->Caret().x, 11);
}

TEST_F(UndoTest, UndoOfAJoinedLineEndSplitsWithTheSameLineEnd) {
  for (const std::string text : {"ab\r\ncd", "ab\ncd", "ab\rcd", "ab\n\rcd"}) {
    SetText(text);
    doc->m_cUndoBuffer.Clear();
    view->PlaceCursor(2, 0, true, 20);
    RunEdit([](CEditView& pane) { pane.DeleteAtCursor(true); });
    EXPECT_EQ(DocBytes(), "abcd");
    Undo();
    EXPECT_EQ(DocBytes(), text);
    EXPECT_EQ(view->Caret().x, 2);
    EXPECT_EQ(view->Caret().y, 0);
  }
}

TEST_F(UndoTest, UndoOfABoxDeletionRestoresEveryRowAndTheCaret) {
  const std::string text = "abcd\r\nef\tgh\r\ni\r\n漢字かな\r\n"_sj;
  SetText(text);
  view->PlaceCursor(4, 3, true, 20);
  view->m_bBeginBoxSelect = true;
  view->m_sSelect = SelectRange{0, 1, 3, 3};
  RunEdit([](CEditView& pane) { pane.DeleteAtCursor(true); });
  EXPECT_EQ(DocBytes(), "ad\r\ne\tgh\r\ni\r\n字かな\r\n"_sj);
  EXPECT_EQ(view->Caret().x, 1);
  EXPECT_EQ(view->Caret().y, 0);
  Undo();
  EXPECT_EQ(DocBytes(), text);
  // Back where the command found it.
  EXPECT_EQ(view->Caret().x, 4);
  EXPECT_EQ(view->Caret().y, 3);
  Redo();
  EXPECT_EQ(DocBytes(), "ad\r\ne\tgh\r\ni\r\n字かな\r\n"_sj);
  EXPECT_EQ(view->Caret().x, 1);
  EXPECT_EQ(view->Caret().y, 0);
}

TEST_F(UndoTest, TheModifiedFlagFollowsTheSavePoint) {
  SetText("abc");
  Type(3, 0, "1");
  doc->m_cUndoBuffer.MarkSavePoint();
  doc->SetModified(false, false);
  Type(4, 0, "2");
  EXPECT_TRUE(doc->m_bIsModified);
  Undo();
  EXPECT_FALSE(doc->m_bIsModified) << "back at the save point";
  Undo();
  EXPECT_TRUE(doc->m_bIsModified) << "before the save point";
  Redo();
  EXPECT_FALSE(doc->m_bIsModified);
  Redo();
  EXPECT_TRUE(doc->m_bIsModified);
  EXPECT_EQ(DocBytes(), "abc12");
}

TEST_F(UndoTest, ACommandWithoutRecordsIsNoStepAndOneOfCaretMovesOnlyMovesTheCaret) {
  SetText("abc\r\ndef");
  RunEdit([](CEditView& pane) { pane.PlaceCursor(2, 1, true, 20); });
  EXPECT_EQ(StepCount(), 0);
  RunEdit([](CEditView& pane) {
    auto* ope = new COpeRecord;
    ope->m_nKind = COpeRecord::OPE_MOVECARET;
    ope->m_nCaretPosX_PHY_Before = pane.m_nCaretPosX_PHY;
    ope->m_nCaretPosY_PHY_Before = pane.m_nCaretPosY_PHY;
    pane.PlaceCursor(1, 0, true, 20);
    ope->m_nCaretPosX_PHY_After = pane.m_nCaretPosX_PHY;
    ope->m_nCaretPosY_PHY_After = pane.m_nCaretPosY_PHY;
    pane.m_pcOpeBlk->AppendOpe(ope);
  });
  EXPECT_EQ(StepCount(), 1);
  Undo();
  EXPECT_EQ(DocBytes(), "abc\r\ndef");
  EXPECT_EQ(view->Caret().x, 2);
  EXPECT_EQ(view->Caret().y, 1);
  EXPECT_FALSE(doc->m_bIsModified);
  Redo();
  EXPECT_EQ(view->Caret().x, 1);
  EXPECT_EQ(view->Caret().y, 0);
}

// Callers that place the caret elsewhere after an insert (box rows, indents, pastes) set the
// record's caret after there; undo still takes exactly the inserted bytes.
TEST_F(UndoTest, UndoOfAnInsertTakesItsOwnRangeWhereverTheCaretWent) {
  SetText("abc\r\ndef");
  RunEdit([](CEditView& pane) {
    auto* ope = new COpeRecord;
    pane.InsertTextUndoable(1, 0, "XYZ", 3, nullptr, nullptr, ope, true);
    ope->m_nCaretPosX_PHY_After = 3;
    ope->m_nCaretPosY_PHY_After = 1;
    pane.m_pcOpeBlk->AppendOpe(ope);
  });
  EXPECT_EQ(DocBytes(), "aXYZbc\r\ndef");
  Undo();
  EXPECT_EQ(DocBytes(), "abc\r\ndef");
  Redo();
  EXPECT_EQ(DocBytes(), "aXYZbc\r\ndef");
}

// A replacement on many lines in one step (what a replace-all makes): undo leaves the caret where
// the command found it and redo where its last replacement ended, each in view, however far the
// replacements lie from there.
TEST_F(UndoTest, AStepOfReplacementsFarApartPutsTheCaretAtItsEndsInView) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "line " + std::to_string(i) + " word\r\n";
  SetText(text);
  view->PlaceCursor(2, 3, true, 20);
  RunEdit([](CEditView& pane) {
    for (const int line : {10, 120, 190}) pane.ReplaceRangeUndoable(line, 0, line, 4, nullptr, "LINE!", 5, false);
  });
  EXPECT_EQ(view->Caret().y, 190);
  view->PlaceCursor(0, 60, true, 20);
  Undo();
  EXPECT_EQ(DocBytes(), text);
  EXPECT_EQ(view->Caret().x, 2);
  EXPECT_EQ(view->Caret().y, 3);
  EXPECT_LE(view->m_nViewTopLine, 3);
  Redo();
  EXPECT_EQ(view->Caret().x, 5);
  EXPECT_EQ(view->Caret().y, 190);
  EXPECT_LE(view->m_nViewTopLine, 190);
  EXPECT_GT(view->m_nViewTopLine + view->m_nViewRowNum, 190);
  int length = 0;
  const char* line = doc->m_cDocLineMgr.GetLineTextNoLineEnd(120, &length);
  EXPECT_EQ(std::string(line, static_cast<size_t>(length)), "LINE! 120 word");
}

TEST_F(UndoTest, DuringADragSelectionUndoOnlyBeeps) {
  SetText("abc");
  Type(0, 0, "x");
  BeepCapture beeps;
  view->m_bBeginSelect = true;
  Undo();
  view->m_bBeginSelect = false;
  EXPECT_EQ(beeps.beeps.size(), 1u);
  EXPECT_EQ(DocBytes(), "xabc");
  Undo();
  EXPECT_EQ(DocBytes(), "abc");
  Undo();  // nothing left: nothing happens
  EXPECT_EQ(DocBytes(), "abc");
  EXPECT_EQ(beeps.beeps.size(), 1u);
}

TEST_F(UndoTest, UndoCancelsTheSelection) {
  SetText("abc def");
  Type(0, 0, "x");
  view->PlaceCursor(1, 0, true, 20);
  view->BeginSelectionAtCaret();
  view->ChangeSelectionTo(3, 0);
  Undo();
  EXPECT_FALSE(view->IsTextSelected());
  EXPECT_EQ(DocBytes(), "abc def");
}

// A line that ends with a lone CR followed by a line that is only an LF holds the same bytes as
// one line with CR LF; put back whole, the removed text would lose a line.
TEST_F(UndoTest, UndoKeepsALoneCrAndTheEmptyLfLineAfterItApart) {
  SetText("x\rb\nz");
  RunEdit([](CEditView& pane) {
    auto* ope = new COpeRecord;
    pane.DeleteRangeUndoable(0, 1, 1, nullptr, ope);
    ope->m_nCaretPosX_PHY_After = ope->m_nCaretPosY_PHY_After = 0;
    pane.m_pcOpeBlk->AppendOpe(ope);
  });
  ASSERT_EQ(doc->m_cDocLineMgr.GetLineCount(), 3);
  RunEdit([](CEditView& pane) { pane.ReplaceRangeUndoable(0, 0, 2, 1, nullptr, "Q", 1, true); });
  EXPECT_EQ(DocBytes(), "Q");
  Undo();
  EXPECT_EQ(DocBytes(), "x\r\nz");
  EXPECT_EQ(doc->m_cDocLineMgr.GetLineCount(), 3);
  Undo();
  EXPECT_EQ(DocBytes(), "x\rb\nz");
  Redo();
  Redo();
  EXPECT_EQ(DocBytes(), "Q");
}

// Bytes that make a different character with their neighbours than they did where they came
// from: a lead byte inserted before a byte that can trail it, a byte inserted after a lone lead
// byte, a line end whose removal joins a lead byte to the next line's first byte. Undo and redo
// give back the bytes exactly, whatever characters they make now.
struct ExactBytesCase {
  const char* name;
  const char* text;
  int docCol;  // where the edit happens, in document terms
  int docLine;
  const char* inserted;  // inserted there (by InsertTextUndoable or as a replacement), or
  bool deleteAtCaret;    // the character or line end at the caret deleted
  bool asReplacement;
  const char* after;
};

const ExactBytesCase kExactBytesCases[] = {
    {"LeadByteBeforeATrailByte", "ab cd", 3, 0, "\x97", false, false, "ab \x97" "cd"},
    {"LeadByteBeforeATrailByteAsAReplacement", "ab cd", 3, 0, "\x97", false, true, "ab \x97" "cd"},
    {"TrailByteAfterALoneLeadByte", "ab \x97\r\nz", 4, 0, "c", false, false, "ab \x97" "c\r\nz"},
    {"TrailByteAfterALoneLeadByteAsAReplacement", "ab \x97\r\nz", 4, 0, "c", false, true, "ab \x97" "c\r\nz"},
    {"LeadByteAndLineEndBeforeText", "xy", 1, 0, "\x97\r\n", false, false, "x\x97\r\ny"},
    {"JoinedLinesMakeACharacter", "\x97\r\nc", 1, 0, "", true, false, "\x97" "c"},
};

TEST_F(UndoTest, UndoAndRedoRestoreBytesExactlyWhateverCharactersTheyMake) {
  for (const ExactBytesCase& c : kExactBytesCases) {
    SCOPED_TRACE(c.name);
    SetText(c.text);
    doc->m_cUndoBuffer.Clear();
    int x = 0;
    int y = 0;
    doc->m_cLayoutMgr.DocToWrapPos(c.docCol, c.docLine, &x, &y);
    const std::string inserted = c.inserted;
    if (c.deleteAtCaret) {
      view->PlaceCursor(x, y, true, 20);
      RunEdit([](CEditView& pane) { pane.DeleteAtCursor(true); });
    } else if (c.asReplacement) {
      RunEdit([&](CEditView& pane) {
        pane.ReplaceRangeUndoable(y, x, y, x, nullptr, inserted.data(), static_cast<int>(inserted.size()), true);
      });
    } else {
      Type(x, y, inserted);
    }
    ASSERT_EQ(DocBytes(), c.after);
    ASSERT_EQ(StepCount(), 1);
    Undo();
    EXPECT_EQ(DocBytes(), c.text);
    Redo();
    EXPECT_EQ(DocBytes(), c.after);
    Undo();
    EXPECT_EQ(DocBytes(), c.text);
  }
}

// A replacement inside a line is undone and redone as one edit of the line (taken and put back
// together); one that takes or puts back a line end is not. Every kind in one step, the bytes and
// the display lines exact after each replay.
TEST_F(UndoTest, ReplacementsInsideLinesAreUndoneAndRedoneExactly) {
  struct Case {
    const char* name;
    int docLine, docColFrom, docColTo;
    const char* replacement;
  };
  const Case cases[] = {
      {"longer", 0, 2, 4, "LONGER"},
      {"shorter", 1, 0, 6, "s"},
      {"by nothing", 2, 1, 3, ""},
      {"of nothing", 3, 2, 2, "new"},
      {"a lead byte before a trail byte", 4, 2, 3, "\x97"},
      {"with a line end", 5, 1, 2, "x\r\ny"},
      {"taking the line end", 6, 3, 6, "z"},
      {"in a line wider than the width", 8, 18, 20, "WIDE"},
  };
  const std::string text =
      "abcdefgh\r\nlineone two\r\nxyz\r\nab\r\nab cd\r\nk\tlm\r\nend\r\nnext\r\n"
      "0123456789abcdefghijklmnopqrstuvwxyz\r\n";
  SetText(text);
  doc->m_cUndoBuffer.Clear();
  RunEdit([&](CEditView& pane) {
    // From the last line up, so that each position is the one the text had.
    for (auto c = std::rbegin(cases); c != std::rend(cases); ++c) {
      int xFrom = 0, yFrom = 0, xTo = 0, yTo = 0;
      doc->m_cLayoutMgr.DocToWrapPos(c->docColFrom, c->docLine, &xFrom, &yFrom);
      doc->m_cLayoutMgr.DocToWrapPos(c->docColTo, c->docLine, &xTo, &yTo);
      pane.ReplaceRangeUndoable(yFrom, xFrom, yTo, xTo, nullptr, c->replacement,
                                static_cast<int>(std::strlen(c->replacement)), false);
    }
  });
  const std::string after = DocBytes();
  ASSERT_EQ(after,
            "abLONGERefgh\r\nse two\r\nx\r\nabnew\r\nab\x97" "cd\r\nkx\r\nylm\r\nendznext\r\n"
            "0123456789abcdefghWIDEklmnopqrstuvwxyz\r\n");
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    Undo();
    EXPECT_EQ(DocBytes(), text);
    EXPECT_TRUE(LayoutIsFresh(*doc, type()));
    Redo();
    EXPECT_EQ(DocBytes(), after);
    EXPECT_TRUE(LayoutIsFresh(*doc, type()));
  }
}

// A box that holds no text deletes nothing: no undo step, and the document stays unmodified.
TEST_F(UndoTest, DeletingABoxWithoutTextMakesNoStep) {
  SetText("ab\r\ncd\r\nef");
  doc->SetModified(false, false);
  view->PlaceCursor(8, 2, true, 20);
  view->m_bBeginBoxSelect = true;
  view->m_sSelect = SelectRange{0, 5, 2, 8};
  RunEdit([](CEditView& pane) { pane.DeleteAtCursor(true); });
  EXPECT_EQ(DocBytes(), "ab\r\ncd\r\nef");
  EXPECT_EQ(StepCount(), 0);
  EXPECT_FALSE(doc->m_bIsModified);
}

// A second pane on the document, with its caret and selection far below where the document will
// end, when an undo in the first takes most of the lines away: it repaints over rows that are gone
// and then undoes and redoes on its own.
TEST_F(UndoTest, APaneBelowTheEndAnUndoLeavesStillWorks) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "line " + std::to_string(i) + "\r\n";
  SetText(text);
  doc->m_cUndoBuffer.Clear();
  std::string many;
  for (int i = 0; i < 150; ++i) many += "new \x97" "line\r\n";
  RunEdit([&](CEditView& pane) {
    pane.ReplaceRangeUndoable(2, 0, 2, 0, nullptr, many.data(), static_cast<int>(many.size()), true);
  });
  const std::string after = DocBytes();
  CEditView below;
  below.SetEditWindow(&editWindow);
  below.AttachDocument(doc.get(), 2);
  below.SetClientSize(640, 480);
  FakeSplitter splitter;
  splitter.rows = 2;
  DocPorts ports = doc->Ports();
  ports.splitter = &splitter;
  ports.panes[2] = &below;
  doc->SetPorts(ports);
  below.PlaceCursor(3, 180, true, 20);
  below.BeginSelectionAtCaret();
  below.PlaceCursor(5, 185, true, 20);
  below.ChangeSelectionTo(5, 185);
  Undo();
  EXPECT_EQ(DocBytes(), text);
  below.RepaintAll();
  below.Command_UNDO();  // nothing left to undo
  EXPECT_EQ(DocBytes(), text);
  below.Command_REDO();
  EXPECT_EQ(DocBytes(), after);
  EXPECT_TRUE(LayoutIsFresh(*doc, type()));
  EXPECT_FALSE(below.IsTextSelected());
  EXPECT_EQ(below.Caret().y, 152);
  ports.splitter = nullptr;
  ports.panes[2] = nullptr;
  doc->SetPorts(ports);
}

// ---- Large steps ---------------------------------------------------------------------------------

// Comments and strings coloured, so that a change on one line may change the colour state every
// later line starts in.
void ColourComments(TypeSettings& type) {
  type.Colors[CWrapLineMgr::COLOR_LINE_COMMENT].bShow = true;
  type.Colors[CWrapLineMgr::COLOR_DOUBLE_QUOTE].bShow = true;
  type.LineComments.Set(0, "//", -1);
  type.BlockComments.SetPair(0, "/*", "*/");
}

// An insertion with its record at a document position.
void InsertAtDoc(CEditView& pane, int docCol, int docLine, const char* text) {
  int x = 0;
  int y = 0;
  pane.Layout().DocToWrapPos(docCol, docLine, &x, &y);
  auto* ope = new COpeRecord;
  pane.InsertTextUndoable(x, y, text, static_cast<int>(std::strlen(text)), nullptr, nullptr, ope, false);
  pane.m_pcOpeBlk->AppendOpe(ope);
}

// The line end of a document line deleted with its record: the next line joins.
void JoinAtDoc(CEditView& pane, int docLine) {
  int length = 0;
  pane.m_pcEditDoc->m_cDocLineMgr.GetLineTextNoLineEnd(docLine, &length);
  int x = 0;
  int y = 0;
  pane.Layout().DocToWrapPos(length, docLine, &x, &y);
  auto* ope = new COpeRecord;
  CMemory removed;
  pane.DeleteRangeUndoable(x, y, 2, &removed, ope);
  ope->m_nCaretPosX_PHY_After = ope->m_nCaretPosX_PHY_Before;
  ope->m_nCaretPosY_PHY_After = ope->m_nCaretPosY_PHY_Before;
  pane.m_pcOpeBlk->AppendOpe(ope);
}

// The first two bytes of a document line replaced by two lines.
void SplitAtDoc(CEditView& pane, int docLine) {
  int x0 = 0;
  int y0 = 0;
  int x1 = 0;
  int y1 = 0;
  pane.Layout().DocToWrapPos(0, docLine, &x0, &y0);
  pane.Layout().DocToWrapPos(2, docLine, &x1, &y1);
  static const char kTwoLines[] = "/*\r\n\"q";
  pane.ReplaceRangeUndoable(y0, x0, y1, x1, nullptr, kTwoLines, static_cast<int>(std::strlen(kTwoLines)), false);
}

// Steps of more records than the replay sends to the display lines at once, mixing edits inside
// one line with edits that join or split lines (and change the colour state of the lines after),
// undone and redone whole, also after the wrap width changed in between.
struct LargeStepCase {
  const char* name;
  void (*edit)(CEditView&);
  int wrapAfter;  // the wrap width set after the command, or 0
  POINT undone;   // where undo leaves the caret: where the step's first record found it
};

const LargeStepCase kLargeStepCases[] = {
    {"AThousandInsertionsInOneLine",
     [](CEditView& pane) {
       for (int i = 0; i < 1000; ++i) InsertAtDoc(pane, i % 3, 0, i % 2 ? "x" : "\x97");
     },
     0, {0, 0}},
    {"InsertionsAndJoinsInTurn",
     [](CEditView& pane) {
       for (int i = 0; i < 300; ++i) {
         InsertAtDoc(pane, 1, i, "*/");
         JoinAtDoc(pane, i);
         InsertAtDoc(pane, 0, i, "y");
       }
     },
     0, {1, 0}},
    {"ReplacementsThatSplitLines",
     [](CEditView& pane) {
       for (int i = 0; i < 300; ++i) SplitAtDoc(pane, 2 * i);
     },
     0, {3, 5}},
    {"InsertionsAndJoinsThenANarrowerWrap",
     [](CEditView& pane) {
       for (int i = 0; i < 300; ++i) {
         InsertAtDoc(pane, 1, i, "\"");
         JoinAtDoc(pane, i);
       }
     },
     7, {1, 0}},
    {"SplitsThenAWiderWrap",
     [](CEditView& pane) {
       for (int i = 0; i < 200; ++i) {
         SplitAtDoc(pane, 2 * i);
         InsertAtDoc(pane, 3, 2 * i + 1, "//");
       }
     },
     33, {3, 5}},
};

TEST_F(UndoTest, StepsOfManyRecordsAreUndoneAndRedoneWhole) {
  for (const LargeStepCase& c : kLargeStepCases) {
    SCOPED_TRACE(c.name);
    type().nWrapColumn = 20;
    ColourComments(type());
    std::string text;
    static const char* const kLines[] = {"ab\x8e\x9a" "cd /* e", "ab\"cd*/ ef gh ij kl", "ef // g"};
    for (int i = 0; i < 700; ++i) text += std::string(kLines[i % 3]) + "\r\n";
    SetText(text);
    doc->m_cUndoBuffer.Clear();
    doc->SetModified(false, false);
    view->PlaceCursor(3, 5, true, 20);
    int records = 0;
    RunEdit([&](CEditView& pane) {
      c.edit(pane);
      records = pane.m_pcOpeBlk->GetNum();
    });
    ASSERT_EQ(StepCount(), 1);
    ASSERT_GT(records, 512);
    const std::string after = DocBytes();
    if (c.wrapAfter > 0) {
      type().nWrapColumn = c.wrapAfter;
      Relayout();
    }
    Undo();
    EXPECT_EQ(DocBytes(), text);
    EXPECT_FALSE(doc->m_bIsModified);
    EXPECT_TRUE(LayoutIsFresh(*doc, type()));
    EXPECT_EQ(view->m_nCaretPosX_PHY, c.undone.x);
    EXPECT_EQ(view->m_nCaretPosY_PHY, c.undone.y);
    Redo();
    EXPECT_EQ(DocBytes(), after);
    EXPECT_TRUE(doc->m_bIsModified);
    EXPECT_TRUE(LayoutIsFresh(*doc, type()));
    Undo();
    EXPECT_EQ(DocBytes(), text);
    EXPECT_TRUE(LayoutIsFresh(*doc, type()));
  }
}

// ---- Random sequences ----------------------------------------------------------------------------

// Random sequences of commands on a small document with a narrow wrap width, tabs, kanji and every
// kind of line end, and lone lead bytes that pair with their neighbours: typing (ASCII, kanji,
// Enter, past the end in free cursor mode, over a selection, in overwrite mode), deletions of
// characters, lines, line selections and boxes, text and box pastes, indents and unindents, smart
// indent, replacements and the primitives themselves, with undos and redos and saves in between.
// Every step undone gives back the bytes before it and every step redone the bytes after it;
// undoing everything gives the original bytes, redoing everything the final ones; the modified flag
// says whether the text is the saved one, and a command that changes nothing leaves it alone. A
// failure prints the seed and every operation so far.
class UndoPropertyTest : public EditFixture, public testing::WithParamInterface<unsigned> {
 protected:
  void SetUp() override {
    EditFixture::SetUp();
    type().nWrapColumn = 10;
    type().nTabWidth = 4;
    // The seed chooses the settings the commands read.
    const unsigned seed = GetParam();
    common().bIsFreeCursorMode = seed % 2 == 1;
    common().bNotOverWriteCRLF = seed % 3 != 0;
    type().bAutoIndent = seed % 4 != 0;
    type().bAutoIndent_ZENSPACE = seed % 5 != 0;
    type().nSmartIndent = seed % 2 == 0 ? 1 : 0;
    type().bInsSpace = seed % 7 == 0;
    type().bRTrimPrevLine = seed % 3 == 1;
    if (seed % 4 != 1) ColourComments(type());
  }

  int Pick(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(rng); }
  template <typename T, size_t N>
  const T& PickOf(const T (&items)[N]) {
    return items[static_cast<size_t>(Pick(static_cast<int>(N)))];
  }
  static std::string At(POINT p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

  // The columns where characters start on a row, and its end column.
  std::vector<int> Stops(int line) {
    const DisplayRow row = DisplayRow::Of(doc->m_cLayoutMgr, line);
    std::vector<int> stops;
    int x = row.indent;
    for (int pos = 0; pos < row.length;) {
      stops.push_back(x);
      int size = 0;
      x += row.CellsAt(pos, x, &size);
      pos += size;
    }
    stops.push_back(x);
    return stops;
  }

  // A place to edit at: a row and a character start on it (or, in free cursor mode, a column past
  // its text).
  POINT Place() {
    const int count = doc->m_cLayoutMgr.GetLineCount();
    const int line = Pick(std::max(count, 1));
    const std::vector<int> stops = Stops(line);
    int x = stops[static_cast<size_t>(Pick(static_cast<int>(stops.size())))];
    if (common().bIsFreeCursorMode && Pick(4) == 0) x = std::min(stops.back() + 1 + Pick(3), 9);
    return POINT{x, line};
  }
  // Two places in order.
  std::pair<POINT, POINT> Range() {
    POINT a = Place();
    POINT b = Place();
    if (b.y < a.y || (b.y == a.y && b.x < a.x)) std::swap(a, b);
    return {a, b};
  }

  std::string Text() {
    static const std::string kPieces[] = {"a",  "xyz", "漢"_sj,    "かな"_sj, "\r\n",          "\n",
                                          "\r", "\t",  "ab\r\ncd", "ｱ"_sj,    "1234567890abc", "字\n\r"_sj,
                                          "  ", "　"_sj, "{",       "}",
                                          // comments and strings: the lines after change colour
                                          "/*", "*/", "//", "\"",
                                          // a lone lead byte: it pairs with whatever byte follows it
                                          "\x97"};
    std::string text;
    for (int n = 1 + Pick(3); n > 0; --n) text += PickOf(kPieces);
    return text;
  }

  // The caret somewhere, and sometimes a selection ending there: lines or a box.
  std::string Select() {
    view->ClearSelection(false);
    view->m_bBeginBoxSelect = false;
    switch (Pick(3)) {
      case 0: {
        const POINT at = Place();
        view->PlaceCursor(at.x, at.y, true, 20);
        return "caret " + At(at);
      }
      case 1: {
        const auto [a, b] = Range();
        view->PlaceCursor(a.x, a.y, true, 20);
        view->BeginSelectionAtCaret();
        view->PlaceCursor(b.x, b.y, true, 20);
        view->ChangeSelectionTo(b.x, b.y);
        return "lines " + At(a) + "-" + At(b);
      }
      default: {
        const auto [a, b] = Range();
        const int left = std::min(a.x, b.x);
        const int right = std::max(a.x, b.x);
        view->PlaceCursor(right, b.y, true, 20);
        view->m_bBeginBoxSelect = true;
        view->m_sSelectBgn = view->m_sSelect = SelectRange{a.y, left, b.y, right};
        return "box " + std::to_string(left) + "," + std::to_string(a.y) + "-" + std::to_string(right) + "," +
               std::to_string(b.y);
      }
    }
  }

  // One random edit through the primitives, as a command would make it.
  void PrimitiveEdit(CEditView& pane, std::string* what) {
    switch (Pick(5)) {
      case 0: {  // typing
        const POINT at = Place();
        const std::string text = Text();
        *what = "insert at " + At(at);
        auto* ope = new COpeRecord;
        int line = 0;
        int pos = 0;
        pane.InsertTextUndoable(at.x, at.y, text.data(), static_cast<int>(text.size()), &line, &pos, ope, true);
        // A caller may leave the caret somewhere else than the end.
        if (Pick(2) == 0) {
          ope->m_nCaretPosX_PHY_After = ope->m_nCaretPosX_PHY_Before;
          ope->m_nCaretPosY_PHY_After = ope->m_nCaretPosY_PHY_Before;
        }
        pane.m_pcOpeBlk->AppendOpe(ope);
        pane.PlaceCursor(pos, line, true, 20);
        break;
      }
      case 1: {  // a byte range of one row, maybe across its line end
        const POINT at = Place();
        if (at.y >= doc->m_cLayoutMgr.GetLineCount()) return;
        const POINT doc_at = pane.DocPosOf(at.x, at.y);
        CDocLine* line = doc->m_cDocLineMgr.GetLine(doc_at.y);
        if (!line) return;
        int length = 0;
        const char* bytes = line->GetText(&length);
        const int textLength = line->GetLengthWithoutEol();
        int count = 0;
        for (int n = 1 + Pick(3), pos = doc_at.x; n > 0 && pos < length; --n) {
          const int size = pos >= textLength ? length - pos : CMemory::CharSizeAt(bytes, textLength, pos);
          count += size;
          pos += size;
        }
        if (count == 0) return;
        *what = "delete " + std::to_string(count) + " at " + At(at);
        auto* ope = new COpeRecord;
        CMemory removed;
        pane.DeleteRangeUndoable(at.x, at.y, count, &removed, ope);
        ope->m_nCaretPosX_PHY_After = ope->m_nCaretPosX_PHY_Before;
        ope->m_nCaretPosY_PHY_After = ope->m_nCaretPosY_PHY_Before;
        pane.m_pcOpeBlk->AppendOpe(ope);
        // This primitive leaves the modified flag to its caller.
        doc->SetModified(true, true);
        break;
      }
      case 2: {  // a selection, as lines or as a box
        const auto [a, b] = Range();
        const bool box = Pick(2) == 0;
        *what = std::string(box ? "box" : "range") + " delete " + At(a) + " - " + At(b);
        pane.PlaceCursor(b.x, b.y, true, 20);
        pane.m_bBeginBoxSelect = box;
        pane.m_sSelect = SelectRange{a.y, a.x, b.y, b.x};
        pane.DeleteAtCursor(true);
        break;
      }
      case 3: {  // the character at the caret
        const POINT at = Place();
        *what = "delete at " + At(at);
        pane.PlaceCursor(at.x, at.y, true, 20);
        pane.DeleteAtCursor(true);
        break;
      }
      default: {  // replacement
        const auto [a, b] = Range();
        const std::string text = Pick(3) == 0 ? std::string() : Text();
        *what = "replace " + At(a) + " - " + At(b) + " by " + Printable(text);
        pane.ReplaceRangeUndoable(a.y, a.x, b.y, b.x, nullptr, text.data(), static_cast<int>(text.size()), true);
        break;
      }
    }
  }

  // A command by its macro name.
  void Run(const char* name, LPARAM arg = 0) {
    const int id = GetMacroFuncIdByName(name);
    ASSERT_GT(id, 0) << name;
    view->RunCommand(id, true, arg, 0, 0, 0);
  }

  // One random operation; what it did goes to the trail, and each command it runs is checked.
  void RandomOperation() {
    static const char* const kTyped = "ax1 \t{}:;#\r\n";
    static const int kImeCodes[] = {0x8ABF, 0x82A0, 0x8140, 0x4181, 'q', 0x835E};
    static const char* const kDeletions[] = {"Delete", "DeleteBack", "CutLine", "DeleteLine", "LineDeleteToEnd",
                                             "WordDelete", "DuplicateLine"};
    static const char* const kIndents[] = {"IndentTab", "UnindentTab", "IndentSpace", "UnindentSpace"};
    static const char* const kMoves[] = {"Up", "Down", "Left", "Right", "GoLineEnd", "WordRight"};
    // Steps of many records are slow to make: a quarter of the seeds make them.
    switch (Pick(GetParam() % 4 == 0 ? 14 : 13)) {
      case 0:
      case 1: {  // a typed byte
        const std::string where = Select();
        const char c = kTyped[Pick(static_cast<int>(std::strlen(kTyped)))];
        Command(where + ", Char " + Printable(std::string(1, c)), [&] { Run("Char", static_cast<unsigned char>(c)); });
        break;
      }
      case 2: {  // a double-byte character, typed in two bytes or from the input method
        const std::string where = Select();
        const int code = PickOf(kImeCodes);
        if (code > 0xFF && Pick(2) == 0) {
          // The lead byte waits for the trail byte (a lone one pairs with what is typed next).
          Command(where + ", Char " + std::to_string(code >> 8), [&] { Run("Char", code >> 8); });
          Command("Char " + std::to_string(code & 0xFF), [&] { Run("Char", code & 0xFF); });
        } else {
          Command(where + ", CharIme " + std::to_string(code), [&] { Run("CharIme", code); });
        }
        break;
      }
      case 3: {  // inserted text
        const std::string where = Select();
        const std::string text = Text();
        Command(where + ", InsText " + Printable(text), [&] {
          RunEdit([&](CEditView& pane) {
            pane.Command_INSTEXT(true, text.c_str(), static_cast<int>(text.size()), true);
          });
        });
        break;
      }
      case 4:
      case 5: {
        const std::string where = Select();
        const char* name = PickOf(kDeletions);
        Command(where + ", " + name, [&] { Run(name); });
        break;
      }
      case 6: {
        const std::string where = Select();
        const char* name = PickOf(kIndents);
        Command(where + ", " + name, [&] { Run(name); });
        break;
      }
      case 7: {  // a paste of text copied as text or as a box
        const std::string text = Text();
        const bool box = Pick(2) == 0;
        const bool asBox = Pick(2) == 0;
        view->SetClipboardText(text.c_str(), static_cast<int>(text.size()), box);
        const std::string where = Select();
        const char* name = asBox ? "PasteBox" : "Paste";
        Command(where + ", " + name + " of " + (box ? "box " : "text ") + Printable(text), [&] { Run(name); });
        break;
      }
      case 8: {
        Command("primitive", [&] {
          RunEdit([&](CEditView& pane) {
            std::string what;
            PrimitiveEdit(pane, &what);
            trail.back() += " " + what;
          });
        });
        break;
      }
      case 9: {  // caret moves, and the insert mode
        if (Pick(4) == 0) {
          Command("ChgmodINS", [&] { Run("ChgmodINS"); });
        } else {
          const char* name = PickOf(kMoves);
          Command(Select() + ", " + name, [&] { Run(name); });
        }
        break;
      }
      case 10:
      case 11: {  // undos and redos in between
        const bool undo = Pick(3) != 0;
        for (int n = 1 + Pick(3); n > 0; --n) {
          Command(undo ? "Undo" : "Redo", [&] { Run(undo ? "Undo" : "Redo"); });
        }
        break;
      }
      case 13: {  // a step of many records, which the replay sends on in parts
        Command("primitives", [&] {
          RunEdit([&](CEditView& pane) {
            for (int n = 340 + Pick(120); n > 0; --n) {
              std::string what;
              PrimitiveEdit(pane, &what);
            }
            trail.back() += " making " + std::to_string(pane.m_pcOpeBlk->GetNum()) + " records";
          });
        });
        break;
      }
      default:  // saved here
        doc->m_cUndoBuffer.MarkSavePoint();
        doc->SetModified(false, false);
        savedAt = doc->m_cUndoBuffer.GetCurrentPointer();
        trail.push_back("save");
        break;
    }
  }

  // Runs one operation and checks it against the steps so far: undo and redo reach the bytes of
  // the step they land on, a new step drops the ones that could be redone, a command without a
  // step changes no byte, and the modified flag follows.
  template <typename Fn>
  void Command(const std::string& what, Fn run) {
    trail.push_back(what);
    const bool wasModified = doc->m_bIsModified;
    const int before = doc->m_cUndoBuffer.GetCurrentPointer();
    run();
    const int after = doc->m_cUndoBuffer.GetCurrentPointer();
    const std::string bytes = DocBytes();
    ASSERT_TRUE(LayoutIsFresh(*doc, type())) << Trail();
    if (what == "Undo" || what == "Redo") {
      ASSERT_EQ(bytes, states[static_cast<size_t>(after)]) << Trail();
      // With nothing to undo or redo nothing happens.
      EXPECT_EQ(doc->m_bIsModified, after == before ? wasModified : after != savedAt) << Trail();
      return;
    }
    if (after == before) {
      ASSERT_EQ(bytes, states[static_cast<size_t>(before)]) << "a change without an undo step\n" << Trail();
      EXPECT_EQ(doc->m_bIsModified, wasModified) << "the flag changed without a change\n" << Trail();
      return;
    }
    ASSERT_EQ(after, before + 1) << "one command, one step\n" << Trail();
    ASSERT_EQ(doc->m_cUndoBuffer.GetCount(), after) << Trail();
    states.resize(static_cast<size_t>(after));
    states.push_back(bytes);
    if (savedAt > before) savedAt = -1;  // the saved state was in the steps dropped
    // A step that gives the same bytes (a character overwritten by itself) may still be a change.
    if (bytes != states[static_cast<size_t>(before)]) {
      EXPECT_TRUE(doc->m_bIsModified) << Trail();
    }
  }

  // The seed and every operation so far, for a failure's message.
  std::string Trail() const {
    std::string text = "seed " + std::to_string(GetParam()) + "; operations:\n";
    for (size_t i = 0; i < trail.size(); ++i) text += "  " + std::to_string(i + 1) + ". " + trail[i] + "\n";
    return text + "lines now " + Lines();
  }

  // Bytes as the messages print them: line ends named, bytes above 127 in hex.
  static std::string Printable(const std::string& bytes) {
    std::string out;
    for (const char c : bytes) {
      const auto b = static_cast<unsigned char>(c);
      if (c == '\r') {
        out += "<CR>";
      } else if (c == '\n') {
        out += "<LF>";
      } else if (c == '\t') {
        out += "<TAB>";
      } else if (b >= 0x80 || b < 0x20) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "<%02X>", b);
        out += hex;
      } else {
        out += c;
      }
    }
    return "\"" + out + "\"";
  }

  // The document's lines as the messages print them, each in brackets.
  std::string Lines() const {
    std::string lines;
    for (int k = 0; k < doc->m_cDocLineMgr.GetLineCount(); ++k) {
      int n = 0;
      const char* t = doc->m_cDocLineMgr.GetLine(k)->GetText(&n);
      lines += "[" + Printable(std::string(t ? t : "", static_cast<size_t>(n))) + "]";
    }
    return lines;
  }

  std::mt19937 rng{GetParam()};
  std::vector<std::string> states;  // the bytes after each step, from the original on
  std::vector<std::string> trail;
  int savedAt = 0;
};

TEST_P(UndoPropertyTest, UndoAllGivesTheOriginalAndRedoAllTheFinalBytes) {
  const std::string original = "ab\tc漢字\r\n  xyz {\nかなカナ1234567890\rq\n\r\tend　x"_sj;
  SetText(original);
  doc->SetModified(false, false);
  states = {original};
  for (int n = 0; n < 60 && !HasFatalFailure(); ++n) RandomOperation();
  if (HasFatalFailure()) return;
  const int top = doc->m_cUndoBuffer.GetCurrentPointer();
  for (int i = top; i > 0; --i) {
    Undo();
    ASSERT_EQ(DocBytes(), states[static_cast<size_t>(i - 1)]) << "undoing everything, step " << i << "\n" << Trail();
    ASSERT_TRUE(LayoutIsFresh(*doc, type())) << "undoing everything, step " << i << "\n" << Trail();
    EXPECT_EQ(doc->m_bIsModified, i - 1 != savedAt) << "undoing everything, step " << i << "\n" << Trail();
  }
  EXPECT_EQ(DocBytes(), original);
  const int last = static_cast<int>(states.size()) - 1;
  for (int i = 1; i <= last; ++i) {
    Redo();
    ASSERT_EQ(DocBytes(), states[static_cast<size_t>(i)]) << "redoing everything, step " << i << "\n" << Trail();
    ASSERT_TRUE(LayoutIsFresh(*doc, type())) << "redoing everything, step " << i << "\n" << Trail();
    EXPECT_EQ(doc->m_bIsModified, i != savedAt) << "redoing everything, step " << i << "\n" << Trail();
  }
  EXPECT_EQ(DocBytes(), states.back());
}

INSTANTIATE_TEST_SUITE_P(Seeds, UndoPropertyTest, testing::Range(1u, 101u));

}  // namespace

