// The document's text: a doubly linked list of lines with an access cursor that makes walking the
// lines in order (and near the last line asked for) one step per line. Bookmarks and diff marks
// live in the lines' flags.
#pragma once

#include <cstdint>

#include "editor/foundation/text/doc_line.h"
#include "platform/win_types.h"

class CJobProgressBar;
class CMemory;
class CRegexpDll;

// The record CDocLineMgr::ReplaceData works on: a range of document positions (byte column, line
// index) to delete, the text to put there, and what the call did.
struct ReplaceDataArg {
  int32_t nDelLineFrom = 0;          // in: first line of the range
  int32_t nDelColFrom = 0;           // in: byte column in the first line
  int32_t nDelLineTo = 0;            // in: last line of the range
  int32_t nDelColTo = 0;             // in: byte column in the last line (end, exclusive)
  CMemory* pDeletedText = nullptr;   // out: the deleted bytes (may be null when not wanted)
  int32_t nDeletedLines = 0;         // out: line objects removed
  const char* pInsText = nullptr;    // in: text to insert
  int32_t nInsLen = 0;               // in: its length in bytes (0: delete only)
  int32_t nInsertedLines = 0;        // out: line objects added by the insertion
  int32_t nNewLine = 0;              // out: line of the end of the inserted text
  int32_t nNewCol = 0;               // out: byte column of the end of the inserted text
  // in: columns are taken as they stand instead of on character starts (a column inside or past
  // the line end still means its start, or its end for the range end). Undo and redo put back
  // bytes recorded exactly, whatever characters the bytes around them now make.
  bool bExactColumns = false;
};

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

  // The three edits every change of the text is made of. Positions never split a character: a
  // column on a trail byte means its character's start, a column inside or past a line end means
  // the line end's start (the end of a range there takes the whole line end). A line past the
  // count, a negative position, a range that ends before it starts, or memory running out changes
  // nothing and gives false (with the outputs as they start: no lines touched, no text).

  // Deletes nDelLen bytes at (nCol, nLine); a deletion that reaches the line end takes the whole
  // line end and joins the next line. Outputs: first and last touched line, index and number (0 or
  // 1) of the removed line, the deleted bytes (each may be null).
  bool DeleteRange(int nLine, int nCol, int nDelLen, int* pnModLineOldFrom, int* pnModLineOldTo,
                   int* pnDelLineOldFrom, int* pnDelLineOldNum, CMemory* pcmemDeleted);
  // Inserts bytes that may hold line ends at (nCol, nLine); nLine may equal the count (after the
  // last line). Outputs: lines added, and the line and column of the end of the inserted text.
  bool InsertText(int nLine, int nCol, const char* pData, int nDataLen, int* pnInsLineNum, int* pnNewLine,
                  int* pnNewPos);
  // Replaces the range by the text (either may be empty), over any number of lines; a large job
  // shows the replace progress dialog.
  bool ReplaceData(ReplaceDataArg* pArg);

  // Replaces the document by the file at the exact path, read in the code (0-6, 99 to detect it).
  // The file's last-write time goes to *pModifiedNs, whether a byte-order mark was skipped to
  // *pbBomPresent (either may be null). Failures are told in a message box owned by hWndParent and
  // give false with no lines (a read error frees the lines read); a quit request met while
  // letting messages through gives false and keeps the lines read so far. Characters that had no
  // Shift-JIS code are counted and told once after the load.
  bool LoadFromFile(const char* pszPath, HWND hWndParent, CJobProgressBar* pcProgress, int nCharCode,
                    int64_t* pModifiedNs, bool bMimeDecode, bool* pbBomPresent);
  // Writes the lines to the exact path in the code, each with the save line end (CLineEnd code, 0
  // for each line's own; a last line without one gets none), after the code's byte-order mark when
  // bBomExist is set. The old file is replaced only when everything was written: a failure or a
  // "No" to the question about characters the code cannot hold leaves it as it was. A quit request
  // met while saving does not stop the save (it stays pending). The new file's last-write time goes
  // to *pModifiedNs. False, after telling the user, on failure.
  bool SaveToFile(const char* pszPath, HWND hWndParent, CJobProgressBar* pcProgress, int nCharCode,
                  int64_t* pModifiedNs, int nSaveLineEnd, bool bBomExist);

  // Words and search (doc_line_search.cpp). Each works on a line's full text, line end included; a
  // missing line gives false. The case switch ignores the case of one-byte ASCII letters only.

  // The word around the column (GetWordRangeInText), its start and end as columns.
  bool GetWordRange(int nLine, int nCol, int* pnStart, int* pnEnd, CMemory* pcmemWord, CMemory* pcmemWordLeft);
  // The next or previous word start on the line (GetNextWordPosInText); false when there is none.
  bool GetNextWordPos(int nLine, int nCol, int* pnColNew, bool bBackward, bool bStopAtBlanks);
  // The first match from (nCol, nLine) onward, or backward the last one that starts before it, in
  // one of three modes: plain (FindPlainText), whole word (a word equal to the pattern), or the
  // regular expression the engine holds (compiled by the caller; the pattern text is then unused).
  // On success the line and the match's columns; a regular-expression match reaching into the line
  // end starts at most at the line end.
  bool FindText(int nLine, int nCol, const char* pszPattern, bool bForward, bool bRegexp, bool bCaseSensitive,
                bool bWholeWord, int* pnLineFound, int* pnColFrom, int* pnColTo, CRegexpDll* pRegexp);
  // Sets the bookmark of every line that holds a match (in the same three modes).
  void BookmarkMatchingLines(const char* pszPattern, bool bRegexp, bool bCaseSensitive, bool bWholeWord,
                             CRegexpDll* pRegexp);

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
  struct EditPlan;
  bool ApplyEdit(EditPlan& plan);
  void SetCursorAt(CDocLine* pLine, int nLine);

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
