#include "editor/foundation/text/doc_line_mgr.h"

#include <gtest/gtest.h>
#include <string>

#include "platform/sjis_literal.h"

namespace {

void Fill(CDocLineMgr& mgr, int lines) {
  for (int i = 0; i < lines; ++i) {
    const std::string text = "line " + std::to_string(i) + "\r\n";
    mgr.AppendLine(text.data(), static_cast<int>(text.size()), CLineEnd::CRLF);
  }
}

std::string Text(CDocLineMgr& mgr, int line) {
  int len = 0;
  const char* p = mgr.GetLineText(line, &len);
  return p ? std::string(p, len) : std::string("<null>");
}

TEST(CDocLineMgr, EmptyDocument) {
  CDocLineMgr mgr;
  EXPECT_EQ(mgr.GetLineCount(), 0);
  EXPECT_EQ(mgr.GetLine(0), nullptr);
  int len = 5;
  EXPECT_EQ(mgr.GetLineText(0, &len), nullptr);
  EXPECT_EQ(len, 0);
  EXPECT_STREQ(mgr.BookmarksToText(), "");
  mgr.BookmarksFromText("0,1,");
  mgr.SetDiffStateRange(3, 0, 5);  // nothing to mark
  EXPECT_EQ(mgr.GetLineCount(), 0);
  int found = -1;
  EXPECT_FALSE(mgr.FindBookmark(0, true, &found));
}

TEST(CDocLineMgr, GetLineWalksFromTheNearestKnownLine) {
  CDocLineMgr mgr;
  Fill(mgr, 1000);
  EXPECT_EQ(mgr.GetLine(1000), nullptr);
  EXPECT_EQ(mgr.GetLine(-1), nullptr);
  struct Step {
    int line;
    int64_t steps;  // links followed for this request
  };
  const Step steps[] = {
      {10, 10},    // no cursor: from the head
      {12, 2},     // from the cursor
      {3, 3},      // the cursor is 9 away, the head 3: from the head
      {3, 0},      // the cursor itself
      {998, 1},    // from the tail
      {500, 498},  // the cursor (498 away) is no farther than the head (500) or the tail (500)
  };
  for (const Step& s : steps) {
    const int64_t before = mgr.GetWalkSteps();
    ASSERT_NE(mgr.GetLine(s.line), nullptr);
    EXPECT_EQ(mgr.GetWalkSteps() - before, s.steps) << "line " << s.line;
    EXPECT_EQ(Text(mgr, s.line), "line " + std::to_string(s.line) + "\r\n");
  }
  int len = 0;
  const char* p = mgr.GetLineTextNoLineEnd(7, &len);
  EXPECT_EQ(std::string(p, len), "line 7");
}

TEST(CDocLineMgr, RemovingLinesKeepsTheCursorTrue) {
  CDocLineMgr mgr;
  Fill(mgr, 20);
  CDocLine* cursor = mgr.GetLine(10);
  mgr.RemoveLine(cursor);
  EXPECT_EQ(mgr.GetLineCount(), 19);
  EXPECT_EQ(Text(mgr, 10), "line 11\r\n");  // the line that followed
  // A line before the cursor goes: the cursor's index would be stale.
  mgr.RemoveLine(mgr.GetLine(2));
  EXPECT_EQ(Text(mgr, 10), "line 12\r\n");
  EXPECT_EQ(Text(mgr, 9), "line 11\r\n");
  mgr.RemoveLine(mgr.GetLine(0));
  mgr.RemoveLine(mgr.GetLine(mgr.GetLineCount() - 1));
  EXPECT_EQ(Text(mgr, 0), "line 1\r\n");
  EXPECT_EQ(Text(mgr, mgr.GetLineCount() - 1), "line 18\r\n");
  while (mgr.GetLineCount() > 0) mgr.RemoveLine(mgr.GetLine(0));
  EXPECT_EQ(mgr.GetFirstLine(), nullptr);
  EXPECT_EQ(mgr.GetLastLine(), nullptr);
}

TEST(CLineEnd, CodesBytesAndNames) {
  struct Case {
    const char* name;
    std::string bytes;
    int code;
  };
  const Case cases[] = {
      {"CR LF", "\r\nx", CLineEnd::CRLF},    {"LF CR is one", "\n\rx", CLineEnd::LFCR}, {"LF", "\nx", CLineEnd::LF},
      {"CR at the end", "\r", CLineEnd::CR}, {"none", "x\r", CLineEnd::NONE},           {"LF LF", "\n\n", CLineEnd::LF},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DetectLineEnd(c.bytes.data(), static_cast<int>(c.bytes.size())), c.code) << c.name;
  EXPECT_EQ(DetectLineEndUtf16Le("\n\0\r\0", 2), CLineEnd::LFCR);
  EXPECT_EQ(DetectLineEndUtf16Le("\n\0\r\0", 1), CLineEnd::LF);
  EXPECT_EQ(DetectLineEndUtf16Be("\0\r\0\n", 2), CLineEnd::CRLF);
  EXPECT_EQ(DetectLineEndUtf16Be("\r\0", 1), CLineEnd::NONE);

  CLineEnd eol;
  EXPECT_FALSE(eol.Set(7));
  EXPECT_EQ(eol.GetCode(), CLineEnd::CRLF);
  EXPECT_TRUE(eol.Set(CLineEnd::LFCR));
  EXPECT_EQ(std::string(eol.GetBytes(), eol.GetLen()), "\n\r");
  EXPECT_EQ(std::string(eol.GetBytesUtf16Le(), 2 * eol.GetLen()), std::string("\n\0\r\0", 4));
  EXPECT_EQ(std::string(eol.GetBytesUtf16Be(), 2 * eol.GetLen()), std::string("\0\n\0\r", 4));
  EXPECT_TRUE(eol.Set(CLineEnd::NONE));
  EXPECT_STREQ(eol.GetName(), "改行無"_sj);
}

TEST(CDocLineMgr, BookmarksRoundTripWithinTheLimit) {
  CDocLineMgr mgr;
  Fill(mgr, 2000);
  for (int line : {0, 5, 12}) mgr.GetLine(line)->SetBookmark(true);
  const std::string text = mgr.BookmarksToText();
  EXPECT_EQ(text, "0,5,12,");
  int found = -1;
  EXPECT_TRUE(mgr.FindBookmark(5, true, &found));
  EXPECT_EQ(found, 12);
  EXPECT_TRUE(mgr.FindBookmark(5, false, &found));
  EXPECT_EQ(found, 0);
  EXPECT_FALSE(mgr.FindBookmark(12, true, &found));
  mgr.ClearAllBookmarks();
  const char input[] = "0,5, 12,99999999999,-3,abc";
  mgr.BookmarksFromText(input);
  EXPECT_STREQ(input, "0,5, 12,99999999999,-3,abc");  // read, not written
  EXPECT_EQ(mgr.BookmarksToText(), text);

  for (int line = 1000; line < 2000; ++line) mgr.GetLine(line)->SetBookmark(true);
  const std::string many = mgr.BookmarksToText();
  EXPECT_LE(many.size(), 1023u);
  EXPECT_GT(many.size(), 1018u);  // stopped before the number that would not fit
  EXPECT_EQ(many.back(), ',');
}

TEST(CDocLineMgr, DiffRanges) {
  CDocLineMgr mgr;
  Fill(mgr, 10);
  mgr.SetDiffStateRange(CDocLine::DIFF_ADDED, 8, 12);
  EXPECT_TRUE(mgr.IsDiffPresent());
  EXPECT_EQ(mgr.GetLine(7)->GetDiffState(), 0);
  EXPECT_EQ(mgr.GetLine(8)->GetDiffState(), CDocLine::DIFF_ADDED);
  EXPECT_EQ(mgr.GetLine(9)->GetDiffState(), CDocLine::DIFF_ADDED);
  mgr.ClearAllDiffMarks();
  EXPECT_FALSE(mgr.IsDiffPresent());
  mgr.SetDiffStateRange(CDocLine::DIFF_DELETED, 10, 10);
  EXPECT_EQ(mgr.GetLine(9)->GetDiffState(), CDocLine::DIFF_DELETED_AFTER);
  EXPECT_EQ(mgr.GetLine(8)->GetDiffState(), 0);
  int found = -1;
  EXPECT_TRUE(mgr.FindDiffMark(0, true, &found));
  EXPECT_EQ(found, 9);
  EXPECT_FALSE(mgr.FindDiffMark(9, true, &found));
}

TEST(CDocLine, FlagsAndWhitespace) {
  CDocLineMgr mgr;
  mgr.AppendLine(" \t\r\n", 4, CLineEnd::CRLF);
  mgr.AppendLine("  x", 3, CLineEnd::NONE);
  CDocLine* blank = mgr.GetLine(0);
  EXPECT_TRUE(blank->IsWhitespaceOnly());
  EXPECT_FALSE(mgr.GetLine(1)->IsWhitespaceOnly());
  EXPECT_TRUE(blank->IsModified());
  EXPECT_FALSE(blank->IsBookmarked());
  mgr.ClearModifiedFlags();
  EXPECT_FALSE(blank->IsModified());
  blank->SetDiffState(9);  // masked to three bits
  EXPECT_EQ(blank->GetDiffState(), 1);
  blank->SetBookmark(true);
  EXPECT_EQ(blank->GetDiffState(), 1);
}

}  // namespace
