// The document's text: a doubly linked list of lines with an access cursor that makes walking the
// lines in order (and near the last line asked for) one step per line. Bookmarks and diff marks
// live in the lines' flags.
#pragma once

#include <cstdint>

#include "editor/foundation/text/doc_line.h"

class CDocLineMgr {
 public:
  CDocLineMgr();
  ~CDocLineMgr();
  CDocLineMgr(const CDocLineMgr&) = delete;
  CDocLineMgr& operator=(const CDocLineMgr&) = delete;

  // Empties the list without deleting lines (after FreeAllLines).
  void ResetList();
  // Deletes every line; the members are left for ResetList.
  void FreeAllLines();

  int GetLineCount() const { return m_nLines; }
  // Null for an empty list or an index outside 0..count-1. The line found becomes the cursor.
  CDocLine* GetLine(int nLine);
  // Text with its line end (null and 0 for a missing line).
  const char* GetLineText(int nLine, int* pnLen);
  const char* GetLineTextNoLineEnd(int nLine, int* pnLen);

  // A new last line holding a copy of the bytes (which end with the line end of the code).
  CDocLine* AppendLine(const char* pData, int nDataLen, int nEolCode);
  // Unlinks and deletes the line.
  void RemoveLine(CDocLine* pLine);
  void ClearModifiedFlags();

  void ClearAllBookmarks();
  // The nearest bookmarked line after (forward) or before the line, not the line itself.
  bool FindBookmark(int nLine, bool bForward, int* pnFound);
  // "index," for each bookmarked line, at most 1023 characters; valid until the next call.
  const char* BookmarksToText();
  // Sets the bookmarks listed ("," and " " separate line indexes); the text is not changed.
  void BookmarksFromText(const char* pszText);

  void ClearAllDiffMarks();
  bool FindDiffMark(int nLine, bool bForward, int* pnFound);
  void SetDiffStateRange(int nState, int nFirst, int nLast);
  bool IsDiffPresent() const { return m_bDiffPresent != 0; }

  // Links followed by GetLine since construction: how far the cursor let it walk.
  int64_t GetWalkSteps() const { return m_nWalkSteps; }

  CDocLine* GetFirstLine() const { return m_pHead; }
  CDocLine* GetLastLine() const { return m_pTail; }

 private:
  bool FindFlagged(int nLine, bool bForward, int* pnFound, bool (*test)(const CDocLine&));

  CDocLine* m_pHead = nullptr;
  CDocLine* m_pTail = nullptr;
  CDocLine* m_pNextLine = nullptr;  // the line after the cursor line
  int32_t m_nLines = 0;
  int32_t m_nCursorIndex = 0;     // index of the cursor line
  CDocLine* m_pCursor = nullptr;  // the cursor line
  uint8_t m_bDiffPresent = 0;
  int64_t m_nWalkSteps = 0;
};
