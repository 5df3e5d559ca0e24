#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "edit_fixture.h"
#include "editor/foundation/beep_capture.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/ope_blk.h"
#include "editor/view/pane/display_row.h"
#include "platform/sjis_literal.h"

namespace {

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

// ---- Random sequences ----------------------------------------------------------------------------

// Random edits through the four primitives on a small document with a narrow wrap width, tabs,
// kanji and every kind of line end: each command's undo gives back the bytes before it, redo the
// bytes after it, and the modified flag says whether the text is the saved one.
class UndoPropertyTest : public EditFixture, public testing::WithParamInterface<unsigned> {
 protected:
  void SetUp() override {
    EditFixture::SetUp();
    type().nWrapColumn = 10;
    type().nTabWidth = 4;
  }

  int Pick(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(rng); }

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

  std::string Text() {
    static const std::string kPieces[] = {"a",  "xyz", "漢"_sj,    "かな"_sj, "\r\n",          "\n",
                                          "\r", "\t",  "ab\r\ncd", "ｱ"_sj,    "1234567890abc", "字\n\r"_sj};
    std::string text;
    for (int n = 1 + Pick(3); n > 0; --n) text += kPieces[static_cast<size_t>(Pick(std::size(kPieces)))];
    return text;
  }

  // One random edit of the pane, as a command would make it.
  void RandomEdit(CEditView& pane, std::string* what) {
    switch (Pick(6)) {
      case 0:
      case 1: {  // typing
        const POINT at = Place();
        const std::string text = Text();
        *what = "insert at " + std::to_string(at.x) + "," + std::to_string(at.y);
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
      case 2: {  // a byte range of one row, maybe across its line end
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
        *what = "delete " + std::to_string(count) + " at " + std::to_string(at.x) + "," + std::to_string(at.y);
        auto* ope = new COpeRecord;
        CMemory removed;
        pane.DeleteRangeUndoable(at.x, at.y, count, &removed, ope);
        ope->m_nCaretPosX_PHY_After = ope->m_nCaretPosX_PHY_Before;
        ope->m_nCaretPosY_PHY_After = ope->m_nCaretPosY_PHY_Before;
        pane.m_pcOpeBlk->AppendOpe(ope);
        break;
      }
      case 3: {  // a selection, as lines or as a box
        POINT a = Place();
        POINT b = Place();
        if (b.y < a.y || (b.y == a.y && b.x < a.x)) std::swap(a, b);
        const bool box = Pick(2) == 0;
        *what = std::string(box ? "box" : "range") + " delete " + std::to_string(a.x) + "," + std::to_string(a.y) +
                " - " + std::to_string(b.x) + "," + std::to_string(b.y);
        pane.PlaceCursor(b.x, b.y, true, 20);
        pane.m_bBeginBoxSelect = box;
        pane.m_sSelect = SelectRange{a.y, a.x, b.y, b.x};
        pane.DeleteAtCursor(true);
        break;
      }
      case 4: {  // the character at the caret
        const POINT at = Place();
        *what = "delete at " + std::to_string(at.x) + "," + std::to_string(at.y);
        pane.PlaceCursor(at.x, at.y, true, 20);
        pane.DeleteAtCursor(true);
        break;
      }
      default: {  // replacement
        POINT a = Place();
        POINT b = Place();
        if (b.y < a.y || (b.y == a.y && b.x < a.x)) std::swap(a, b);
        const std::string text = Pick(3) == 0 ? std::string() : Text();
        *what = "replace " + std::to_string(a.x) + "," + std::to_string(a.y) + " - " + std::to_string(b.x) + "," +
                std::to_string(b.y);
        pane.ReplaceRangeUndoable(a.y, a.x, b.y, b.x, nullptr, text.data(), static_cast<int>(text.size()), true);
        break;
      }
    }
  }

  // The document's lines as the tests print them: each in brackets, line ends named, other
  // bytes above 127 as #.
  std::string Lines() {
    std::string lines;
    for (int k = 0; k < doc->m_cDocLineMgr.GetLineCount(); ++k) {
      int n = 0;
      const char* t = doc->m_cDocLineMgr.GetLine(k)->GetText(&n);
      std::string e;
      for (int q = 0; q < n; ++q)
        e += t[q] == 13      ? std::string("<CR>")
             : t[q] == 10    ? std::string("<LF>")
             : (t[q] & 0x80) ? std::string("#")
                             : std::string(1, t[q]);
      lines += "[" + e + "]";
    }
    return lines;
  }
  std::mt19937 rng{GetParam()};
};

TEST_P(UndoPropertyTest, UndoAllGivesTheOriginalAndRedoAllTheFinalBytes) {
  common().bIsFreeCursorMode = GetParam() % 2 == 1;
  const std::string original = "ab\tc漢字\r\nxyz\nかなカナ1234567890\rq\n\r\tend"_sj;
  SetText(original);
  doc->SetModified(false, false);
  std::vector<std::string> states{original};
  std::vector<std::string> whats;
  int savedAt = 0;
  for (int step = 0; step < 40; ++step) {
    std::string what;
    const int before = StepCount();
    RunEdit([&](CEditView& pane) { RandomEdit(pane, &what); });
    if (StepCount() == before) {
      ASSERT_EQ(DocBytes(), states.back()) << "a change without an undo step: " << what;
      continue;
    }
    states.push_back(DocBytes());
    whats.push_back(what);
    if (Pick(8) == 0) {  // saved here
      doc->m_cUndoBuffer.MarkSavePoint();
      doc->SetModified(false, false);
      savedAt = static_cast<int>(states.size()) - 1;
    }
  }
  const std::string final_bytes = states.back();
  for (int i = static_cast<int>(states.size()) - 1; i > 0; --i) {
    Undo();
    ASSERT_EQ(DocBytes(), states[static_cast<size_t>(i - 1)])
        << "undo of " << whats[static_cast<size_t>(i - 1)] << ", lines now " << Lines();
    EXPECT_EQ(doc->m_bIsModified, i - 1 != savedAt) << "after undoing " << whats[static_cast<size_t>(i - 1)];
  }
  EXPECT_EQ(DocBytes(), original);
  for (size_t i = 1; i < states.size(); ++i) {
    Redo();
    ASSERT_EQ(DocBytes(), states[i]) << "redo of " << whats[i - 1];
    EXPECT_EQ(doc->m_bIsModified, static_cast<int>(i) != savedAt);
  }
  EXPECT_EQ(DocBytes(), final_bytes);
}

INSTANTIATE_TEST_SUITE_P(Seeds, UndoPropertyTest, testing::Range(1u, 101u));

}  // namespace
