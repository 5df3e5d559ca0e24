// Display lines: the pieces into which each document line is cut so that none is wider than the
// wrap width. The view works in display positions; every edit enters here, is turned into a
// document position for the document lines' primitives, and the touched lines are cut again.
// Each piece records the comment or string state at its start, so that a line can be coloured
// without scanning from the top of the file.
//
// Three kinds of position are in use: a document position (byte column, document line); a display
// position in bytes (byte offset within the piece, display line); a display position in cells
// (cell column from the left edge, counting the piece's indent, display line), where a one-byte
// character is one cell, a double-byte character two, a tab reaches the next multiple of the tab
// width and a line end counts as one character.
//
// Pieces do not store the index of their document line: it follows from the walk that reaches
// them (a piece whose document line differs from its neighbour's starts the next one), so an edit
// that adds or removes document lines renumbers nothing after it. The index goes with the piece
// wherever a lookup hands one out.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "editor/foundation/settings/comment_delimiters.h"
#include "editor/foundation/text/line_end.h"
#include "editor/foundation/text/object_blocks.h"

class CDocLine;
class CDocLineMgr;
class CJobProgressBar;
class CMemory;
class CRegexpDll;
struct ReplaceDataArg;
struct TypeSettings;

class CWrapLine {
 public:
  CWrapLine* m_pPrev = nullptr;
  CWrapLine* m_pNext = nullptr;
  CDocLine* m_pDocLine = nullptr;  // the document line this piece belongs to (not owned)
  int32_t m_nOffset = 0;           // bytes into the document line
  int32_t m_nLength = 0;           // bytes of the piece; the piece that ends a line holds one line-end byte
  int32_t m_nIndent = 0;           // cells left blank before the piece
  int32_t m_nColorState = 0;       // comment or string state at the piece's start
  CLineEnd m_cLineEnd;             // the line's line end on the piece that holds it; else none

  // The piece's bytes.
  const char* GetText() const;
};

// A manager's pieces come from blocks (object_blocks.h), all of them dropped at once when the whole
// list goes: a document has about as many pieces as lines, and cutting it all again must not cost
// an allocation each. A piece is never destroyed, only its place given back.
static_assert(std::is_trivially_destructible_v<CWrapLine>);

// The record of CWrapLineMgr::ReplaceText: a range in display positions (cells), the text to put
// there, and what the call did.
struct WrapReplaceArg {
  int32_t nDelLineFrom = 0;         // in: first display line of the range
  int32_t nDelColFrom = 0;          // in: its cell column
  int32_t nDelLineTo = 0;           // in: last display line of the range
  int32_t nDelColTo = 0;            // in: its cell column (end, exclusive)
  CMemory* pDeletedText = nullptr;  // out: the deleted bytes (may be null when not wanted)
  const char* pInsText = nullptr;   // in: text to insert
  int32_t nInsLen = 0;              // in: its length in bytes
  int32_t nAddLineNum = 0;          // out: display lines before minus after; when equal, removed minus
                                    //      created after the edit position
  int32_t nModLineFrom = 0;         // out: first display line to repaint
  int32_t nModLineTo = 0;           // out: last display line to repaint
  int32_t nNewLine = 0;             // out: display line of the end of the inserted text
  int32_t nNewPos = 0;              // out: its cell column
  int32_t nNewDocLine = 0;          // out: document line of the end of the inserted text
  int32_t nNewDocCol = 0;           // out: its byte column
};

class CWrapLineMgr {
 public:
  // Comment and string states.
  enum : int32_t {
    COLOR_NORMAL = 0,
    COLOR_LINE_COMMENT = 25,
    COLOR_SINGLE_QUOTE = 26,
    COLOR_DOUBLE_QUOTE = 27,
    COLOR_BLOCK_COMMENT1 = 45,
    COLOR_BLOCK_COMMENT2 = 46,
  };
  // The widths SetTabAndWrapWidth accepts.
  static constexpr int kMinTabWidth = 1;
  static constexpr int kMaxTabWidth = 64;
  static constexpr int kMinWrapWidth = 10;
  static constexpr int kMaxWrapWidth = 10240;

  CWrapLineMgr();
  ~CWrapLineMgr();
  CWrapLineMgr(const CWrapLineMgr&) = delete;
  CWrapLineMgr& operator=(const CWrapLineMgr&) = delete;

  // ---- Setup -----------------------------------------------------------------------------------

  // Empties the list and binds the document lines.
  void Attach(CDocLineMgr* pDocLineMgr);
  // Takes the wrapping, colouring and indent settings of the type (a wrap width outside 1-10240 or
  // a tab width outside 1-64 is brought to the nearer end); with bRewrap, then re-wraps everything
  // (the result of RewrapAll), else true.
  bool SetWrapSettings(bool bRewrap, CJobProgressBar* pBar, const TypeSettings& type);
  // False, with nothing changed, for a tab width outside 1-64 or a wrap width outside 10-10240;
  // else both are stored and everything is re-wrapped (the result of RewrapAll).
  bool SetTabAndWrapWidth(CJobProgressBar* pBar, int nTabWidth, int nWrapWidth);

  // Rebuilds every display line. With a bar it shows progress and lets pending messages through
  // every 1024 document lines; false when a quit request was met (the list is then incomplete).
  bool RewrapAll(CJobProgressBar* pBar);
  // Cuts nDocLines document lines from nFirstDocLine on, starting in the colour state given, and
  // links their pieces after pAfter (display line nAfterIndex; null and -1 for the front). Goes on
  // over the following lines, without cutting them again, while the colour state at their start
  // differs from what their pieces recorded, and rewrites those records; *pnUpdated counts them.
  // Returns the number of created pieces that end after the edit position.
  int RewrapRange(CWrapLine* pAfter, int nAfterIndex, int nFirstDocLine, int nDocLines, int nEditLine,
                  int nEditCol, int nColorState, int* pnUpdated);

  // ---- List and access -------------------------------------------------------------------------

  // Empties the list without deleting the pieces (after FreeAllLines).
  void ResetList();
  // Deletes every piece.
  void FreeAllLines();
  // A new piece; its line end is set when it reaches past the document line's text. The list
  // deletes it once linked.
  CWrapLine* CreateLine(CDocLine* pDocLine, int nOffset, int nLength, int nColorState, int nIndent);
  void AppendLine(CWrapLine* pLine);
  // Links pLine after pAfter (null: at the front).
  void InsertLineAfter(CWrapLine* pAfter, CWrapLine* pLine);

  int GetLineCount() const { return m_nLines; }
  // Null outside 0..count-1. The piece found becomes the lookup cursor; *pnDocLine gets the index
  // of its document line.
  CWrapLine* GetLine(int nIndex, int* pnDocLine = nullptr);
  // The piece's bytes in its document line and their count; null and 0 for a missing line.
  const char* GetLineText(int nIndex, int* pnLength);
  const char* GetLineTextAndNode(int nIndex, int* pnLength, CWrapLine** ppLine);
  // The document line of display line nIndex; -1 for a missing line.
  int GetDocLineIndex(int nIndex);
  // True at the end of a piece that goes on in the next display line.
  bool IsWrapPoint(int nIndex, int nOffset);

  // ---- Position conversion ---------------------------------------------------------------------

  // A byte column on a trail byte means its character; a column beyond the line's last piece
  // gives the cell after it; a document line without pieces gives (0, count).
  void DocToWrapPos(int nDocCol, int nDocLine, int* pnX, int* pnY);
  // A cell inside a character or a tab gives its byte column; a cell beyond the piece gives the
  // piece's end. One past the last display line is the start of a new line after a final line
  // end, else the end of the last line.
  void WrapToDocPos(int nX, int nY, int* pnDocCol, int* pnDocLine);
  // The piece of document line nDocLine whose bytes hold nDocCol (offset <= column <= offset +
  // length), searched from display line nFromIndex backward or forward towards it; the first one
  // met wins. When none does, the index after the last one tried and 0.
  void DocToWrapPosFrom(int nFromIndex, int nDocLine, int nDocCol, int* pnLine, int* pnOffset);

  // ---- Edits -----------------------------------------------------------------------------------
  // Each converts the display position, edits through the document lines' primitive and cuts the
  // touched lines again; false, with the outputs zero and nothing changed, when the primitive
  // refused.

  // Deletes nDelLen bytes at byte offset nOffset of display line nLine (a deletion that reaches
  // the line end joins the next line). Outputs: display lines removed that started after the edit
  // position, display lines created that end after it, and the further lines affected (lines
  // whose colour state changed beyond the touched ones, plus the net number of lines gone).
  bool DeleteData(int nLine, int nOffset, int nDelLen, int* pnRemovedAfter, int* pnCreatedAfter, int* pnAffected,
                  CMemory* pcmemDeleted);
  // Inserts at byte offset nOffset of display line nLine; a line past the last appends to the
  // text. Outputs: display lines removed that started after the edit position, lines affected (new
  // count plus colour changes minus old count), and the end of the inserted text as display line
  // and byte offset.
  bool InsertData(int nLine, int nOffset, const char* pData, int nDataLen, int* pnRemovedAfter, int* pnAffected,
                  int* pnNewLine, int* pnNewOffset);
  // Replaces a range given in cells by the text; nNewDocLine and nNewDocCol get the end of the
  // inserted text in document terms.
  bool ReplaceText(WrapReplaceArg* pArg);
  // The same with the range's ends already turned into document positions by WrapToDocPos (a
  // caller that needs them too converts them once).
  bool ReplaceConvertedText(WrapReplaceArg* pArg, int nDocColFrom, int nDocLineFrom, int nDocColTo, int nDocLineTo);
  // The same for a range given as document positions (the document lines' record, whose outputs
  // it fills): what undo and redo replay, with no display position in between. Outputs: display
  // lines removed that started after the edit position, and created that end after it.
  bool ReplaceDocText(ReplaceDataArg* pArg, int* pnRemovedAfter = nullptr, int* pnCreatedAfter = nullptr);
  // Several of them in order (each record's outputs filled), except that a run of replacements
  // inside one line (none takes or puts in a line end, the line stays) cuts that line once, after
  // the run: a step of a replace-all puts back two edits a line on every line it touched. False
  // when the document lines refused one; the others are made all the same.
  bool ReplaceDocTexts(std::span<ReplaceDataArg> args);

  // ---- Words and search in display terms ------------------------------------------------------
  // The document lines' word and search rules at a display position (display line and byte offset
  // within it); false, with the outputs untouched, when they find nothing.

  // The word around the position, its start and end as display line and byte offset: a word that
  // starts or ends where a display line breaks starts on the later line and ends on the earlier.
  bool GetWordRange(int nLine, int nOffset, int* pnLineFrom, int* pnOffsetFrom, int* pnLineTo, int* pnOffsetTo,
                    CMemory* pcmemWord, CMemory* pcmemWordLeft);
  // The next or previous word start in the position's document line.
  bool GetNextWordPos(int nLine, int nOffset, int* pnLineNew, int* pnOffsetNew, bool bBackward, bool bStopAtBlanks);
  // The match found from the position on (or backward before it), its start and end in cells.
  bool FindText(int nLine, int nOffset, const char* pszPattern, bool bForward, bool bRegexp, bool bCaseSensitive,
                bool bWholeWord, int* pnXFrom, int* pnYFrom, int* pnXTo, int* pnYTo, CRegexpDll* pRegexp);

  // ---- Wrapping ---------------------------------------------------------------------------------

  // Moves the colour state over offset nOffset of a line; *pnEnd is where the open string or
  // comment ends (-1 while not looked for). True when one closed exactly here, so that another may
  // open at the same offset.
  bool AdvanceColorState(int* pnState, int* pnEnd, int nOffset, int nLineLen, const char* pLine) const;
  // The offset after the quote that closes a string opened before nFrom, or the line length.
  int FindQuoteEnd(char cQuote, int nFrom, int nLineLen, const char* pLine) const;
  // True when a character of a cells still fits in r cells left but it and the next of b cells
  // do not.
  static bool CheckBreakRule(int r, int a, int b);
  // Membership of a character (its bytes and size, 1 or 2) in the line-head list, the line-end
  // list, the punctuation that may hang, and the fixed punctuation set.
  bool InUserCharSetA(const char* pChar, int nSize) const;
  bool InUserCharSetB(const char* pChar, int nSize) const;
  bool InPunctuationSubset(const char* pChar, int nSize) const;
  static bool IsFixedPunctuation(const char* pChar, int nSize);
  // Indent rules: the indent, in cells, of the display line that follows the one just made.
  int IndentNone(const CWrapLine* pLine) const;
  int IndentAfterTab(const CWrapLine* pLine) const;
  int IndentAfterLeadingChars(const CWrapLine* pLine) const;

  int GetWrapWidth() const { return m_nWrapWidth; }
  int GetTabWidth() const { return m_nTabWidth; }
  int GetEndColorState() const { return m_nEndColorState; }

 private:
  struct ColorRun;
  using IndentRule = int (CWrapLineMgr::*)(const CWrapLine*) const;

  // Cuts one document line; emit(offset, length, indent, state) makes a piece and returns it (the
  // indent rule reads it). state runs on into the next line.
  template <class Emit>
  void WrapDocLine(const CDocLine* pDocLine, int32_t& state, Emit&& emit) const;
  void RebuildCharLists(const char* pszHead, int nHeadSize, const char* pszTail, int nTailSize);
  void RebuildByteClasses();
  // Whether a character starts at s[nPos], knowing that one starts at s[nFrom] (nFrom <= nPos).
  bool CharStartsAt(const unsigned char* s, int nFrom, int nPos) const;

  // Lookups that keep the cursor and the document index of the piece they find.
  CWrapLine* Seek(int nIndex, int* pnDocLine);
  // The first piece of a document line, with its index; null when the line has none.
  CWrapLine* FindFirstPiece(int nDocLine, int* pnIndex);
  int HeadDocIndex() const;
  int TailDocIndex() const;
  void SetCache(CWrapLine* pLine, int nIndex, int nDocLine);
  void ClearCache();
  // Links without touching the cursor (the caller keeps it right).
  void LinkAfter(CWrapLine* pAfter, CWrapLine* pLine);
  // Unlinks and deletes a piece; returns the one that followed it.
  CWrapLine* RemoveLine(CWrapLine* pLine);

  // Whether the replacement stays inside its line as the document lines stand: it takes no line
  // end, puts in none, and leaves the line in place.
  bool StaysInsideLine(const ReplaceDataArg& arg) const;

  // Where an edit of a document line starts: the piece before the line's first piece (null at the
  // front) with its index and document line, and the colour state at the line's start.
  struct EditAnchor {
    CWrapLine* pAfter = nullptr;
    int nAfterIndex = -1;
    int nAfterDoc = -1;
    int32_t nState = COLOR_NORMAL;
  };
  EditAnchor FindEditAnchor(int nDocLine);
  // Deletes the pieces of nDocLines document lines after the anchor, the first of which was
  // document line nFirstDocLine (their document lines may be gone already: only the pieces are
  // read); *pnAfterEdit counts those that started after the edit position. Returns how many went.
  // The cursor is left at the anchor.
  int RemoveDocLines(const EditAnchor& anchor, int nFirstDocLine, int nDocLines, int nEditLine, int nEditCol,
                     int* pnAfterEdit);
  // Goes on from document line `line`, whose pieces follow `at`, in the colour state given, as
  // RewrapRange does after the lines it cut. Returns the pieces whose records it rewrote.
  int CarryColorState(CDocLine* line, CWrapLine* at, int32_t state);
  // After an edit inside document line pDocLine (the same line object, its pieces still after the
  // anchor found before the edit): when the line still makes as many pieces, they take the new cuts
  // in place, the colour state is carried on as RewrapRange does and the cursor is left at the
  // anchor. The counts are those RemoveDocLines and RewrapRange would give for the edit at byte
  // nEditCol. False, with nothing changed, when the pieces must be made again.
  bool RecutInPlace(const EditAnchor& anchor, CDocLine* pDocLine, int nEditCol, int* pnRemovedAfter,
                    int* pnCreatedAfter);
  // The document position of a display position (display line, byte offset); a line past the last
  // is the end of the text, which is a new line after a final line end. False for a negative
  // position.
  bool DisplayToDoc(int nLine, int nOffset, int* pnDocCol, int* pnDocLine);
  // The first piece, walking forward, of document line nDocLine that holds the byte column.
  void LocateForward(int nDocLine, int nDocCol, int* pnLine, int* pnOffset);

  CDocLineMgr* m_pDocLineMgr = nullptr;
  CObjectBlocks m_pool{sizeof(CWrapLine), 1024};
  CWrapLine* m_pFirst = nullptr;
  CWrapLine* m_pLast = nullptr;
  int32_t m_nEndColorState = COLOR_NORMAL;
  int32_t m_nLines = 0;

  int32_t m_nWrapWidth = 10;
  int32_t m_bWordWrap = 1;
  int32_t m_bKinsokuHead = 0;
  int32_t m_bKinsokuTail = 0;
  int32_t m_bKinsokuRet = 0;
  int32_t m_bKinsokuKuto = 0;
  // NUL-terminated runs of one-byte or two-byte entries.
  std::string m_strHead1, m_strHead2;  // line-head characters outside the fixed punctuation
  std::string m_strTail1, m_strTail2;  // line-end characters
  std::string m_strKuto1, m_strKuto2;  // punctuation that may hang, each once
  int32_t m_nTabWidth = 8;
  int32_t m_bColorComments = 0;
  int32_t m_bColorSingleQuotes = 0;
  int32_t m_bColorDoubleQuotes = 0;
  CLineCommentSet m_cLineComments;
  CCommentDelimiters m_cBlockComments;
  int32_t m_nQuoteEscape = 0;
  IndentRule m_pfnIndent = &CWrapLineMgr::IndentNone;
  // What the indent after leading characters reads of the type.
  int32_t m_bIndentZenSpace = 0;
  std::string m_strIndentChars;
  // What each byte is to the wrapping: a tab, a word character, a lead or trail byte, or where a
  // comment or string may open in the normal state (nothing else needs the full test).
  enum : uint8_t {
    kClassTab = 1,
    kClassWord = 2,
    kClassLead = 4,
    kClassTrigger = 8,
    kClassTrail = 16,
    kClassLineComment = 32,   // a line comment's first byte
    kClassBlockComment = 64,  // a block comment's first byte
  };
  static constexpr int kWordShift = 1;
  static constexpr int kLeadShift = 2;
  static constexpr int kTrailShift = 4;
  uint8_t m_byteClass[256] = {};

  // The lookup cursor: a piece, its index and its document line's index.
  CWrapLine* m_pCache = nullptr;
  int32_t m_nCacheIndex = 0;
  int32_t m_nCacheDoc = 0;
};
