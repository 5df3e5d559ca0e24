#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/job_progress.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/sjis_char.h"
#include "platform/sjis_literal.h"
#include "tests/editor/foundation/message_box_capture.h"
#include "tests/editor/foundation/text/doc_text.h"

namespace {

// The same lines after an edit of each: every block has room to spare, so that edits within a
// line happen in place.
void LoadRoomy(CDocLineMgr& mgr, const std::string& text) {
  LoadDocText(mgr, text);
  for (int i = 0; i < mgr.GetLineCount(); ++i) {
    mgr.InsertText(i, 0, "x", 1, nullptr, nullptr, nullptr);
    mgr.DeleteRange(i, 0, 1, nullptr, nullptr, nullptr, nullptr, nullptr);
  }
  mgr.ClearModifiedFlags();
}

std::vector<std::string> Lines(const CDocLineMgr& mgr) {
  std::vector<std::string> v;
  for (const CDocLine* line = mgr.GetFirstLine(); line; line = line->m_pNext) {
    int len = 0;
    const char* p = line->GetText(&len);
    v.emplace_back(p ? p : "", len);
  }
  return v;
}

// Flags of every line: what an edit that changes nothing must leave alone.
std::vector<uint32_t> Flags(const CDocLineMgr& mgr) {
  std::vector<uint32_t> v;
  for (const CDocLine* line = mgr.GetFirstLine(); line; line = line->m_pNext) v.push_back(line->m_nFlags);
  return v;
}

// The list is linked both ways, counted right, and each line holds its own line end at its end
// and none before it. The first lookup after an edit goes through the cursor the edit left (probe
// the edit's line): it must find the same line as a walk from the head.
void ExpectSound(CDocLineMgr& mgr, int probe = -1) {
  int n = 0;
  const CDocLine* prev = nullptr;
  for (const CDocLine* line = mgr.GetFirstLine(); line; prev = line, line = line->m_pNext, ++n) {
    ASSERT_EQ(line->m_pPrev, prev) << "line " << n;
    int len = 0;
    const char* p = line->GetText(&len);
    const int eol = line->m_cLineEnd.GetLen();
    ASSERT_GE(len, eol) << "line " << n;
    EXPECT_EQ(std::string(p ? p + len - eol : "", eol), line->m_cLineEnd.GetBytes()) << "line " << n;
    for (int i = 0; i < len - eol; ++i) ASSERT_TRUE(p[i] != '\r' && p[i] != '\n') << "line " << n;
    EXPECT_GT(len, 0) << "an empty line object at " << n;
  }
  EXPECT_EQ(prev, mgr.GetLastLine());
  EXPECT_EQ(n, mgr.GetLineCount());
  std::vector<const CDocLine*> order;
  for (const CDocLine* line = mgr.GetFirstLine(); line; line = line->m_pNext) order.push_back(line);
  for (int i : {probe, probe + 1, probe - 1, probe + 2}) {
    if (i >= 0 && i < n) {
      ASSERT_EQ(mgr.GetLine(i), order[i]) << "line " << i;
    }
  }
}

std::string Str(const CMemory& m) { return std::string(m.View()); }

// The record of a replace of the range by the text (which must outlive it).
ReplaceDataArg Arg(int lineFrom, int colFrom, int lineTo, int colTo, const std::string& ins, CMemory* deleted) {
  ReplaceDataArg a;
  a.nDelLineFrom = lineFrom;
  a.nDelColFrom = colFrom;
  a.nDelLineTo = lineTo;
  a.nDelColTo = colTo;
  a.pDeletedText = deleted;
  a.pInsText = ins.data();
  a.nInsLen = static_cast<int>(ins.size());
  return a;
}

// ---- DeleteRange -------------------------------------------------------------------------------

struct DeleteCase {
  const char* name;
  std::string text;
  int line, col, len;
  std::vector<std::string> after;
  std::string deleted;
  int modTo, delFrom, delNum;
};

TEST(DocLineEdit, DeleteRangeCases) {
  const std::string hyo = "表"_sj;  // 0x95 0x5C: its trail byte is a backslash
  const DeleteCase cases[] = {
      {"one byte at a CR LF takes the whole line end; the next line gives its code",
       "ab\r\ncd\n", 0, 2, 1, {"abcd\n"}, "\r\n", 1, 1, 1},
      {"inside the text", "abcdef\r\n", 0, 1, 3, {"aef\r\n"}, "bcd", 0, 0, 0},
      {"up to the line end, not into it", "abc\r\nx", 0, 1, 2, {"a\r\n", "x"}, "bc", 0, 0, 0},
      {"past the text: the line end goes too (length ignored)", "abc\r\nx", 0, 1, 9, {"ax"}, "bc\r\n", 1, 1, 1},
      {"everything from 0 of a last line without line end removes it", "ab\r\ncd", 1, 0, 2, {"ab\r\n"}, "cd", 1, 1, 1},
      {"part of a last line without line end", "ab\r\ncd", 1, 1, 5, {"ab\r\n", "c"}, "d", 1, 0, 0},
      {"a last line end joins nothing and leaves code 0", "ab\r\n", 0, 1, 3, {"a"}, "b\r\n", 0, 0, 0},
      {"a column inside CR LF means its start", "ab\r\ncd\n", 0, 3, 1, {"abcd\n"}, "\r\n", 1, 1, 1},
      {"a trail byte means its character's start", "a" + hyo + "b\n", 0, 2, 2, {"ab\n"}, hyo, 0, 0, 0},
      {"an end on a trail byte keeps that character", "a" + hyo + "b\n", 0, 0, 2, {hyo + "b\n"}, "a", 0, 0, 0},
      {"zero bytes at the line end still take it", "ab\ncd\n", 0, 2, 0, {"abcd\n"}, "\n", 1, 1, 1},
  };
  for (auto load : {LoadDocText, LoadRoomy})
  for (const DeleteCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.name << (load == LoadDocText ? "" : " (in place)"));
    CDocLineMgr mgr;
    load(mgr, c.text);
    int modFrom = -9, modTo = -9, delFrom = -9, delNum = -9;
    CMemory deleted("junk", 4);
    ASSERT_TRUE(mgr.DeleteRange(c.line, c.col, c.len, &modFrom, &modTo, &delFrom, &delNum, &deleted));
    EXPECT_EQ(Lines(mgr), c.after);
    EXPECT_EQ(Str(deleted), c.deleted);
    EXPECT_EQ(modFrom, c.line);
    EXPECT_EQ(modTo, c.modTo);
    EXPECT_EQ(delFrom, c.delFrom);
    EXPECT_EQ(delNum, c.delNum);
    ExpectSound(mgr, c.line);
    if (mgr.GetLine(c.line)) {
      EXPECT_TRUE(mgr.GetLine(c.line)->IsModified());
    }
  }
}

TEST(DocLineEdit, DeleteRangeJoinDropsTheJoinedLinesMarks) {
  CDocLineMgr mgr;
  LoadDocText(mgr, "ab\ncd\r\nef\n");
  mgr.GetLine(1)->SetBookmark(true);
  ASSERT_TRUE(mgr.DeleteRange(0, 2, 1, nullptr, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(Lines(mgr), (std::vector<std::string>{"abcd\r\n", "ef\n"}));
  EXPECT_FALSE(mgr.GetLine(0)->IsBookmarked());  // the joined line's mark went with it
  EXPECT_FALSE(mgr.GetLine(1)->IsModified());
}

// ---- InsertText --------------------------------------------------------------------------------

struct InsertCase {
  const char* name;
  std::string text;
  int line, col;
  std::string ins;
  std::vector<std::string> after;
  int added, endLine, endCol;
};

TEST(DocLineEdit, InsertTextCases) {
  const std::string hyo = "表"_sj;
  const InsertCase cases[] = {
      {"no line end in the middle of a line", "hello\r\n", 0, 2, "abc", {"heabcllo\r\n"}, 0, 0, 5},
      {"line ends of every kind", "ab\r\n", 0, 1, "1\n2\r3\n\r4\r\n", {"a1\n", "2\r", "3\n\r", "4\r\n", "b\r\n"}, 4, 4, 0},
      {"text that ends with a line end", "ab\n", 0, 1, "x\r\n", {"ax\r\n", "b\n"}, 1, 1, 0},
      {"at the end of a last line without line end", "ab", 0, 2, "\ncd", {"ab\n", "cd"}, 1, 1, 2},
      {"after the last line", "ab\n", 1, 0, "cd\nef", {"ab\n", "cd\n", "ef"}, 2, 2, 2},
      {"into an empty document", "", 0, 0, "xy", {"xy"}, 1, 0, 2},
      {"a line end into an empty document", "", 0, 0, "\r\n", {"\r\n"}, 1, 1, 0},
      {"a column inside CR LF means its start", "ab\r\n", 0, 3, "x", {"abx\r\n"}, 0, 0, 3},
      {"a column past the line means the line end's start", "ab\n", 0, 9, "x", {"abx\n"}, 0, 0, 3},
      {"a trail byte means its character's start", hyo + "\n", 0, 1, "x", {"x" + hyo + "\n"}, 0, 0, 1},
      {"a column after the last line means its start", "ab\n", 1, 4, "x", {"ab\n", "x"}, 1, 1, 1},
  };
  for (auto load : {LoadDocText, LoadRoomy})
  for (const InsertCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.name << (load == LoadDocText ? "" : " (in place)"));
    CDocLineMgr mgr;
    load(mgr, c.text);
    int added = -9, endLine = -9, endCol = -9;
    ASSERT_TRUE(mgr.InsertText(c.line, c.col, c.ins.data(), static_cast<int>(c.ins.size()), &added, &endLine, &endCol));
    EXPECT_EQ(Lines(mgr), c.after);
    EXPECT_EQ(added, c.added);
    EXPECT_EQ(endLine, c.endLine);
    EXPECT_EQ(endCol, c.endCol);
    ExpectSound(mgr, c.line);
    for (int i = c.line; i <= c.endLine && i < mgr.GetLineCount(); ++i) {
      EXPECT_TRUE(mgr.GetLine(i)->IsModified()) << "line " << i;
    }
  }
}

TEST(DocLineEdit, InsertedLineEndMovesTheBookmarkOnlyFromColumnZero) {
  struct Case {
    int col;
    std::vector<bool> marks;
  };
  for (const Case& c : {Case{0, {false, true, false}}, Case{5, {true, false, false}}}) {
    SCOPED_TRACE(c.col);
    CDocLineMgr mgr;
    LoadDocText(mgr, "0123456789\nnext\n");
    mgr.GetLine(0)->SetBookmark(true);
    ASSERT_TRUE(mgr.InsertText(0, c.col, "new\r\n", 5, nullptr, nullptr, nullptr));
    ASSERT_EQ(mgr.GetLineCount(), 3);
    std::vector<bool> marks;
    for (int i = 0; i < 3; ++i) marks.push_back(mgr.GetLine(i)->IsBookmarked());
    EXPECT_EQ(marks, c.marks);
  }
}

// ---- ReplaceData -------------------------------------------------------------------------------

struct ReplaceCase {
  const char* name;
  std::string text;
  int lineFrom, colFrom, lineTo, colTo;
  std::string ins;
  std::vector<std::string> after;
  std::string deleted;
  int deletedLines, insertedLines, newLine, newCol;
};

TEST(DocLineEdit, ReplaceDataCases) {
  const std::string hyo = "表"_sj;
  const ReplaceCase cases[] = {
      {"an end inside CR LF deletes the whole line end", "ab\r\ncd\n", 0, 1, 0, 3, "", {"acd\n"}, "b\r\n", 1, 0, 0, 1},
      {"empty range, no text: nothing", "ab\n", 0, 1, 0, 1, "", {"ab\n"}, "", 0, 0, 0, 1},
      {"empty range: an insertion", "ab\n", 0, 1, 0, 1, "x\ny", {"ax\n", "yb\n"}, "", 0, 1, 1, 1},
      {"no text: a deletion inside a line", "abcd\n", 0, 1, 0, 3, "", {"ad\n"}, "bc", 0, 0, 0, 1},
      {"one word for another", "say foo now\r\n", 0, 4, 0, 7, "barbaz", {"say barbaz now\r\n"}, "foo", 0, 0, 0, 10},
      {"over lines from mid line to mid line", "abc\r\ndef\nghi\n", 0, 1, 2, 1, "X", {"aXhi\n"}, "bc\r\ndef\ng", 2, 0, 0, 2},
      {"from column 0: the first line goes, the last one's rest stays", "abc\ndef\nghi\n", 0, 0, 1, 1, "",
       {"ef\n", "ghi\n"}, "abc\nd", 1, 0, 0, 0},
      {"whole lines", "abc\ndef\nghi\n", 0, 0, 2, 0, "", {"ghi\n"}, "abc\ndef\n", 2, 0, 0, 0},
      {"whole lines by their line end", "abc\ndef\nghi\n", 0, 0, 1, 4, "", {"ghi\n"}, "abc\ndef\n", 2, 0, 0, 0},
      {"to the end of a line from its middle joins the next", "abc\ndef\r\nghi\n", 0, 1, 1, 4, "",
       {"aghi\n"}, "bc\ndef\r\n", 2, 0, 0, 1},
      {"the whole document", "abc\ndef", 0, 0, 1, 3, "", {}, "abc\ndef", 2, 0, 0, 0},
      {"to the line after the last", "abc\ndef\n", 0, 2, 2, 0, "", {"ab"}, "c\ndef\n", 1, 0, 0, 2},
      {"the whole document for new text", "abc\ndef\n", 0, 0, 2, 0, "x\ny", {"x\n", "y"}, "abc\ndef\n", 2, 2, 1, 1},
      {"lines into lines", "1\n2\n3\n", 1, 0, 1, 2, "a\nb\nc\n", {"1\n", "a\n", "b\n", "c\n", "3\n"}, "2\n", 1, 3, 4, 0},
      {"text after the last line", "ab\n", 1, 0, 1, 0, "cd", {"ab\n", "cd"}, "", 0, 1, 1, 2},
      {"columns on trail bytes move to their characters' starts", hyo + hyo + hyo + "\n", 0, 1, 0, 5, "x",
       {"x" + hyo + "\n"}, hyo + hyo, 0, 0, 0, 1},
      {"a start inside CR LF means its start", "ab\r\ncd\n", 0, 3, 1, 1, "", {"abd\n"}, "\r\nc", 1, 0, 0, 2},
  };
  for (auto load : {LoadDocText, LoadRoomy})
  for (const ReplaceCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.name << (load == LoadDocText ? "" : " (in place)"));
    CDocLineMgr mgr;
    load(mgr, c.text);
    CMemory deleted("junk", 4);
    ReplaceDataArg a = Arg(c.lineFrom, c.colFrom, c.lineTo, c.colTo, c.ins, &deleted);
    ASSERT_TRUE(mgr.ReplaceData(&a));
    EXPECT_EQ(Lines(mgr), c.after);
    EXPECT_EQ(Str(deleted), c.deleted);
    EXPECT_EQ(a.nDeletedLines, c.deletedLines);
    EXPECT_EQ(a.nInsertedLines, c.insertedLines);
    EXPECT_EQ(a.nNewLine, c.newLine);
    EXPECT_EQ(a.nNewCol, c.newCol);
    ExpectSound(mgr, c.lineFrom);
  }
}

TEST(DocLineEdit, ReplaceDataLeavesBookmarksWhereTheyAre) {
  CDocLineMgr mgr;
  LoadDocText(mgr, "abc\ndef\n");
  mgr.GetLine(0)->SetBookmark(true);
  const std::string ins = "new\n";
  ReplaceDataArg a = Arg(0, 0, 0, 0, ins, nullptr);
  ASSERT_TRUE(mgr.ReplaceData(&a));  // an insertion at column 0 of the marked line
  ASSERT_EQ(Lines(mgr), (std::vector<std::string>{"new\n", "abc\n", "def\n"}));
  EXPECT_TRUE(mgr.GetLine(0)->IsBookmarked());
  EXPECT_FALSE(mgr.GetLine(1)->IsBookmarked());
}

// Positions that name nothing change nothing, whatever the edit.
TEST(DocLineEdit, InvalidPositionsChangeNothing) {
  const std::string text = "abc\r\ndef\nghi";
  struct Range {
    const char* name;
    int lineFrom, colFrom, lineTo, colTo;
  };
  const Range ranges[] = {
      {"start line past the count", 4, 0, 4, 0},
      {"end line past the count", 1, 0, 4, 0},
      {"negative line", -1, 0, 0, 0},
      {"negative column", 0, -1, 0, 1},
      {"negative end column", 0, 0, 0, -1},
      {"end line before start line", 2, 0, 1, 0},
      {"end column before start column", 1, 2, 1, 1},
  };
  for (const Range& r : ranges) {
    SCOPED_TRACE(r.name);
    CDocLineMgr mgr;
    LoadDocText(mgr, text);
    mgr.GetLine(1)->SetBookmark(true);
    const auto flags = Flags(mgr);
    CMemory deleted("junk", 4);
    const std::string ins = "x\ny";
    ReplaceDataArg a = Arg(r.lineFrom, r.colFrom, r.lineTo, r.colTo, ins, &deleted);
    EXPECT_FALSE(mgr.ReplaceData(&a));
    EXPECT_EQ(DocText(mgr), text);
    EXPECT_EQ(Flags(mgr), flags);
    EXPECT_EQ(deleted.GetLength(), 0);
    EXPECT_EQ(a.nDeletedLines, 0);
    EXPECT_EQ(a.nInsertedLines, 0);
  }
  struct Point {
    const char* name;
    int line, col, len;
    bool insertToo;  // also no place to insert
  };
  const Point points[] = {
      {"line past the count", 4, 0, 1, true},
      {"line at the count (nothing to delete)", 3, 0, 1, false},
      {"negative line", -1, 0, 1, true},
      {"negative column", 0, -1, 1, true},
      {"negative length", 0, 0, -1, false},
      {"column at the end of a last line without line end", 2, 3, 1, false},
  };
  for (const Point& p : points) {
    SCOPED_TRACE(p.name);
    CDocLineMgr mgr;
    LoadDocText(mgr, text);
    const auto flags = Flags(mgr);
    CMemory deleted("junk", 4);
    int delNum = -9;
    EXPECT_FALSE(mgr.DeleteRange(p.line, p.col, p.len, nullptr, nullptr, nullptr, &delNum, &deleted));
    EXPECT_EQ(delNum, 0);
    EXPECT_EQ(deleted.GetLength(), 0);
    if (p.insertToo) {
      int added = -9;
      EXPECT_FALSE(mgr.InsertText(p.line, p.col, "x\n", 2, &added, nullptr, nullptr));
      EXPECT_EQ(added, 0);
    }
    EXPECT_EQ(DocText(mgr), text);
    EXPECT_EQ(Flags(mgr), flags);
  }
  CDocLineMgr mgr;
  LoadDocText(mgr, text);
  EXPECT_FALSE(mgr.InsertText(0, 0, nullptr, 2, nullptr, nullptr, nullptr));
  EXPECT_FALSE(mgr.InsertText(0, 0, "x", -1, nullptr, nullptr, nullptr));
  EXPECT_FALSE(mgr.ReplaceData(nullptr));
  EXPECT_EQ(DocText(mgr), text);
}

// ---- Random edits against a plain string -------------------------------------------------------

// The document as one string, and positions as the rules read them.
struct Model {
  std::string text;
  std::vector<int> starts;  // offset of each line
  std::vector<int> lens;    // full length of each line
  std::vector<int> eols;    // line-end length of each line

  explicit Model(CDocLineMgr& mgr) {
    for (const std::string& line : Lines(mgr)) {
      starts.push_back(static_cast<int>(text.size()));
      lens.push_back(static_cast<int>(line.size()));
      int eol = 0;
      while (eol < static_cast<int>(line.size()) &&
             (line[line.size() - 1 - eol] == '\r' || line[line.size() - 1 - eol] == '\n')) {
        ++eol;
      }
      eols.push_back(eol);
      text += line;
    }
  }
  // A character start at or before col by a walk from the line's start.
  int Walk(int line, int col) const {
    return WholeCharsPrefixLength(text.data() + starts[line], lens[line] - eols[line], col);
  }
  int StartOffset(int line, int col) const {
    if (line == static_cast<int>(starts.size())) return static_cast<int>(text.size());
    const int textLen = lens[line] - eols[line];
    return starts[line] + (col >= textLen ? textLen : Walk(line, col));
  }
  int EndOffset(int line, int col) const {
    if (line == static_cast<int>(starts.size())) return static_cast<int>(text.size());
    const int textLen = lens[line] - eols[line];
    return starts[line] + (col > textLen ? lens[line] : Walk(line, col));
  }
  // The position of an offset: the line that holds it, or the line after the last.
  std::pair<int, int> PositionOf(int offset) const {
    for (size_t i = 0; i < starts.size(); ++i) {
      if (offset < starts[i] + lens[i]) return {static_cast<int>(i), offset - starts[i]};
    }
    if (!starts.empty() && eols.back() == 0) return {static_cast<int>(starts.size()) - 1, offset - starts.back()};
    return {static_cast<int>(starts.size()), 0};
  }
};

std::string RandomText(std::mt19937& rng, int maxLen) {
  static const char* const pieces[] = {"a", "b", " ", "\r\n", "\n", "\x95\x5c", "\x82\xa0", "\x83\x41", "\x81", "\t"};
  std::string s;
  const int n = static_cast<int>(rng() % (maxLen + 1));
  for (int i = 0; i < n; ++i) s += pieces[rng() % std::size(pieces)];
  return s;
}

TEST(DocLineEdit, RandomEditsMatchTheStringModel) {
  std::mt19937 rng(1234);
  for (int round = 0; round < 300; ++round) {
    CDocLineMgr mgr;
    LoadDocText(mgr, RandomText(rng, 30));
    for (int step = 0; step < 12; ++step) {
      SCOPED_TRACE(testing::Message() << "round " << round << " step " << step);
      const Model before(mgr);
      const int count = mgr.GetLineCount();
      const int kind = static_cast<int>(rng() % 3);
      auto randomLine = [&] { return static_cast<int>(rng() % (count + 1)); };
      auto randomCol = [&](int line) {
        return static_cast<int>(rng() % ((line < count ? before.lens[line] : 0) + 2));
      };
      const std::string ins = RandomText(rng, 6);
      const int insLen = static_cast<int>(ins.size());
      int editLine = 0;
      if (kind == 0) {
        int l0 = randomLine(), l1 = randomLine();
        if (l1 < l0) std::swap(l0, l1);
        int c0 = randomCol(l0), c1 = randomCol(l1);
        if (l0 == l1 && c1 < c0) std::swap(c0, c1);
        if (l0 == count && count > 0 && before.eols.back() == 0) continue;  // as for insertions
        const bool empty = l0 == l1 && c0 == c1;
        editLine = l0;
        const int off0 = before.StartOffset(l0, c0);
        const int off1 = empty ? off0 : before.EndOffset(l1, c1);
        CMemory deleted;
        ReplaceDataArg a = Arg(l0, c0, l1, c1, ins, &deleted);
        ASSERT_TRUE(mgr.ReplaceData(&a));
        EXPECT_EQ(Str(deleted), before.text.substr(off0, off1 - off0));
        const std::string expected = before.text.substr(0, off0) + ins + before.text.substr(off1);
        ASSERT_EQ(DocText(mgr), expected);
        EXPECT_EQ(mgr.GetLineCount(), count - a.nDeletedLines + a.nInsertedLines);
        if (insLen > 0) {
          const Model after(mgr);
          EXPECT_EQ(std::make_pair(a.nNewLine, a.nNewCol), after.PositionOf(off0 + insLen));
        }
      } else if (kind == 1) {
        const int line = randomLine();
        if (line == count && count > 0 && before.eols.back() == 0) continue;  // no line after an open last line
        const int col = randomCol(line);
        editLine = line;
        const int off = before.StartOffset(line, col);
        int added = -1, endLine = -1, endCol = -1;
        ASSERT_TRUE(mgr.InsertText(line, col, ins.data(), insLen, &added, &endLine, &endCol));
        ASSERT_EQ(DocText(mgr), before.text.substr(0, off) + ins + before.text.substr(off));
        EXPECT_EQ(mgr.GetLineCount(), count + added);
        if (insLen > 0) {
          const Model after(mgr);
          EXPECT_EQ(std::make_pair(endLine, endCol), after.PositionOf(off + insLen));
        }
      } else {
        if (count == 0) continue;
        const int line = static_cast<int>(rng() % count);
        const int col = static_cast<int>(rng() % before.lens[line]);
        const int len = static_cast<int>(rng() % 4);
        editLine = line;
        const int off0 = before.StartOffset(line, col);
        const int textLen = before.lens[line] - before.eols[line];
        const int colStart = off0 - before.starts[line];
        const bool hasEol = before.eols[line] > 0;
        const bool inside = hasEol ? (colStart != textLen && colStart + len <= textLen) : colStart + len < before.lens[line];
        const int off1 = inside ? before.EndOffset(line, colStart + len) : before.starts[line] + before.lens[line];
        CMemory deleted;
        ASSERT_TRUE(mgr.DeleteRange(line, col, len, nullptr, nullptr, nullptr, nullptr, &deleted));
        EXPECT_EQ(Str(deleted), before.text.substr(off0, off1 - off0));
        ASSERT_EQ(DocText(mgr), before.text.substr(0, off0) + before.text.substr(off1));
      }
      ExpectSound(mgr, editLine);
    }
  }
}

// ---- Running out of memory ---------------------------------------------------------------------

// Fails the one allocation numbered g_failAt (from 0) and lets every other through, so that an
// edit that carried on after a failure would go on to finish with something missing.
int g_failAt = 0;
int g_allocations = 0;
void* FailOneRealloc(void* p, size_t n) {
  if (g_allocations++ == g_failAt) return nullptr;
  return std::realloc(p, n);
}

struct Snapshot {
  std::vector<std::string> lines;
  std::vector<uint32_t> flags;
  bool operator==(const Snapshot&) const = default;
};
Snapshot Take(const CDocLineMgr& mgr) { return {Lines(mgr), Flags(mgr)}; }

// Each allocation an edit makes is made to fail in turn: each failure must leave the document
// exactly as it was and say false (and the user is told); the edit otherwise gives what it gives
// with memory enough.
TEST(DocLineEdit, AllocationFailureChangesNothing) {
  const std::string text = "first line\r\nsecond line\nthird\r\nfourth\n";
  const std::string ins = "new A\nnew B\r\nnew C";
  struct Edit {
    const char* name;
    bool (*run)(CDocLineMgr&, CMemory&, const std::string&);
  };
  const Edit edits[] = {
      {"replace over lines",
       [](CDocLineMgr& m, CMemory& d, const std::string& t) {
         ReplaceDataArg a = Arg(0, 3, 2, 2, t, &d);
         return m.ReplaceData(&a);
       }},
      {"replace whole lines from column 0",
       [](CDocLineMgr& m, CMemory& d, const std::string& t) {
         ReplaceDataArg a = Arg(0, 0, 2, 0, t, &d);
         return m.ReplaceData(&a);
       }},
      {"insert", [](CDocLineMgr& m, CMemory&, const std::string& t) {
         return m.InsertText(1, 3, t.data(), static_cast<int>(t.size()), nullptr, nullptr, nullptr);
       }},
      {"delete joining lines", [](CDocLineMgr& m, CMemory& d, const std::string&) {
         return m.DeleteRange(1, 2, 100, nullptr, nullptr, nullptr, nullptr, &d);
       }},
  };
  for (const Edit& e : edits) {
    SCOPED_TRACE(e.name);
    auto fresh = [&](CDocLineMgr& mgr) {
      LoadDocText(mgr, text);
      mgr.GetLine(1)->SetBookmark(true);
    };
    CDocLineMgr good;
    fresh(good);
    CMemory goodDeleted;
    g_allocations = 0;
    g_failAt = -1;
    auto previous = CMemory::SetReallocForTesting(&FailOneRealloc);
    ASSERT_TRUE(e.run(good, goodDeleted, ins));
    CMemory::SetReallocForTesting(previous);
    const int allocations = g_allocations;
    ASSERT_GE(allocations, 2);
    for (int failAt = 0; failAt < allocations; ++failAt) {
      SCOPED_TRACE(testing::Message() << "allocation " << failAt << " fails");
      CDocLineMgr mgr;
      fresh(mgr);
      const Snapshot before = Take(mgr);
      MessageBoxCapture boxes;
      CMemory deleted;
      g_allocations = 0;
      g_failAt = failAt;
      previous = CMemory::SetReallocForTesting(&FailOneRealloc);
      const bool ok = e.run(mgr, deleted, ins);
      CMemory::SetReallocForTesting(previous);
      EXPECT_FALSE(ok);
      EXPECT_EQ(Take(mgr), before);
      EXPECT_EQ(deleted.GetLength(), 0);
      EXPECT_EQ(boxes.requests.size(), 1u);
      ExpectSound(mgr);
    }
  }
}

// ---- Progress of large replaces ----------------------------------------------------------------

struct ProgressLog {
  int opened = 0;
  int closed = 0;
  std::vector<std::pair<int, int>> ranges;
  std::vector<int> positions;
};
ProgressLog* g_log = nullptr;

class LoggingBar : public CJobProgressBar {
 public:
  ~LoggingBar() override { ++g_log->closed; }
  void SetRange(int32_t low, int32_t high) override { g_log->ranges.emplace_back(low, high); }
  void SetPos(int32_t pos) override { g_log->positions.push_back(pos); }
};

class ProgressUi {
 public:
  ProgressUi() {
    g_log = &log;
    JobUi ui;
    ui.openReplaceProgress = [] {
      ++g_log->opened;
      return std::unique_ptr<CJobProgressBar>(new LoggingBar);
    };
    SetJobUi(ui);
  }
  ~ProgressUi() {
    SetJobUi(JobUi{});
    g_log = nullptr;
  }
  ProgressLog log;
};

TEST(DocLineEdit, LargeReplacesShowProgress) {
  std::string doc;
  for (int i = 0; i < 3100; ++i) doc += "line " + std::to_string(i) + "\r\n";
  struct Case {
    const char* name;
    int lineTo;
    int insLen;
    bool shown;
  };
  const Case cases[] = {
      {"3001 lines", 3001, 0, true},
      {"3000 lines", 3000, 0, false},
      {"1024001 bytes", 0, 1024001, true},
      {"1024000 bytes", 0, 1024000, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CDocLineMgr mgr;
    LoadDocText(mgr, doc);
    // Line ends at every multiple of 1024, where the bar moves.
    std::string ins = "\n";
    while (static_cast<int>(ins.size()) < c.insLen) ins += std::string(1023, 'x') + "\n";
    ins.resize(c.insLen);
    ProgressUi ui;
    CMemory deleted;
    ReplaceDataArg a = Arg(0, 1, c.lineTo, 2, ins, &deleted);
    ASSERT_TRUE(mgr.ReplaceData(&a));
    EXPECT_EQ(ui.log.opened, c.shown ? 1 : 0);
    EXPECT_EQ(ui.log.closed, ui.log.opened);
    if (!c.shown) continue;
    EXPECT_EQ(ui.log.ranges, (std::vector<std::pair<int, int>>{{0, 100}}));
    ASSERT_FALSE(ui.log.positions.empty());
    EXPECT_EQ(ui.log.positions.front(), 0);
    for (int p : ui.log.positions) {
      EXPECT_GE(p, 0);
      EXPECT_LE(p, 100);
    }
    if (c.lineTo > 0) {
      // Collecting reaches the half, deleting goes on from there.
      EXPECT_GT(ui.log.positions.size(), 3000u / 32);
      EXPECT_TRUE(std::is_sorted(ui.log.positions.begin(), ui.log.positions.end()));
      EXPECT_GE(ui.log.positions.back(), 95);
    } else {
      EXPECT_GE(*std::max_element(ui.log.positions.begin(), ui.log.positions.end()), 99);
    }
  }
}

// Edits keep the list's cursor where they worked, so that the next edit nearby walks no distance.
TEST(DocLineEdit, EditsKeepTheCursorNearby) {
  CDocLineMgr mgr;
  std::string doc;
  for (int i = 0; i < 100000; ++i) doc += "line\n";
  LoadDocText(mgr, doc);
  ASSERT_TRUE(mgr.DeleteRange(50000, 4, 1, nullptr, nullptr, nullptr, nullptr, nullptr));  // joins 50001
  int64_t steps = mgr.GetWalkSteps();
  ASSERT_NE(mgr.GetLine(50001), nullptr);
  EXPECT_LE(mgr.GetWalkSteps() - steps, 1);
  const std::string ins = "a\nb\nc\nd\n";
  ReplaceDataArg a = Arg(40000, 0, 40002, 0, ins, nullptr);
  ASSERT_TRUE(mgr.ReplaceData(&a));
  steps = mgr.GetWalkSteps();
  ASSERT_NE(mgr.GetLine(40003), nullptr);
  EXPECT_LE(mgr.GetWalkSteps() - steps, 3);
  ExpectSound(mgr);
}

}  // namespace
