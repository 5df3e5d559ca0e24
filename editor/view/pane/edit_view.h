// One pane of an edit window: it shows the document's display lines in a grid of one column per
// byte, keeps its own caret, scroll origin and selection, and turns mouse, character and
// input-method input into commands for its dispatcher.
//
// The pane is a core object that works without a window: it paints into its own 32-bit image (a
// DIB section of the client size under a memory device context), and every drawing between paints
// (selection inversion, ruler mark, caret-line underline, bracket highlight, block moves when it
// scrolls) happens there, so inversions drawn twice restore every pixel. The pane window (class
// "EditorClient") only shows that image, draws the caret and the input method's preedit over it,
// and hands its input messages to DispatchEvent. Tests build a pane with SetClientSize and no
// window, paint it and read its pixels.
//
// The members are grouped by concern, each group implemented in its own file:
//   edit_view.cpp            construction, window, messages, timer, the document's pane port
//   edit_view_metrics.cpp    fonts, character metrics, geometry, repainting
//   edit_view_status.cpp     status texts, right-click menu, keyword tip
//   edit_view_paint.cpp      PaintView, PaintLine, the colour-state machine, marks, search hits
//   edit_view_caret.cpp      caret, its placement and vertical moves, column conversions
//   edit_view_scroll.cpp     scrolling, scroll bars, partner panes
//   edit_view_select.cpp     selection ranges, their comparison and incremental inversion
//   edit_view_input.cpp      mouse, wheel, URLs under the caret, cursor shapes
//   edit_view_ime.cpp        input-method reconversion
//   edit_view_ruler.cpp      number column, ruler, guide lines, caret-line underline
//   edit_view_bracket.cpp    bracket pairs
//   edit_view_shared.cpp     the settings, layout and partner lookups every part uses
//   edit_view_edit.cpp       the editing primitives and their undo records
//   ../commands/edit_view_dispatch.cpp   RunCommand and its handler table
//   ../commands/edit_view_cursor_commands.cpp   caret moves, selection modes, cursor history
//   ../commands/edit_view_undo.cpp       Undo and Redo
//   ../commands/edit_view_input_commands.cpp   typing, inserted text, indentation
//   edit_view_clipboard.cpp  selected text, clipboard, conversions of the selection
//   edit_view_drag_drop.cpp  drag and drop
//   ../commands/edit_view_clipboard_commands.cpp   deletion, cut, copy and paste
//   ../commands/edit_view_file_commands.cpp   saving the document
//   ../search/edit_view_search_commands.cpp   find, replace, highlight and the find dialogs
//   ../search/edit_view_grep.cpp   the grep engine and its output
//   ../search/edit_view_grep_commands.cpp   the grep dialog and commands
//   ../search/edit_view_tag_commands.cpp   tag jumps and paired files
//   ../outline/edit_view_outline_commands.cpp   the outline window
//   ../outline/edit_view_jump_commands.cpp   the jump dialog, Jump and the bookmarks
// GUI thread only.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "editor/foundation/document/doc_interfaces.h"
#include "editor/foundation/document/regex_highlighter.h"
#include "editor/foundation/settings/regexp_dll.h"
#include "editor/foundation/settings/shared_settings.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/ope_blk.h"
#include "editor/view/commands/cursor_history.h"
#include "editor/view/completion/keyword_dictionary.h"
#include "editor/view/pane/edit_window.h"
#include "platform/drag_drop.h"
#include "platform/font.h"
#include "platform/mem_dc.h"
#include "platform/win_types.h"
#include "platform/window.h"

class CEditDoc;
class CSearchDialogs;
struct FuncListWindow;
class CJumpDialog;
struct JumpRequest;
class CDocLine;
class CGrepDialog;
class CEditView;
class CSplitBoxWnd;
class CTipWnd;
class CWrapLine;
class CWrapLineMgr;
class IEditWindow;
class PaneImeQueries;

// Private messages of the pane and the splitter.
constexpr UINT MYWM_DOSPLIT = 0x85DC;  // split request: wParam x, lParam y

// A range of display positions: from (line, column) to (line, column). All four -1: no range.
struct SelectRange {
  int nLineFrom = -1;
  int nColumnFrom = -1;
  int nLineTo = -1;
  int nColumnTo = -1;
  bool IsSet() const { return nLineFrom >= 0 && nColumnFrom >= 0 && nLineTo >= 0 && nColumnTo >= 0; }
  bool IsEmpty() const { return nLineFrom == nLineTo && nColumnFrom == nColumnTo; }
  void Clear() { *this = SelectRange{}; }
  bool operator==(const SelectRange&) const = default;
};

// A normalised rectangle of display positions for box selections.
struct SelectRect {
  int nTop = 0;     // first line
  int nBottom = 0;  // last line
  int nLeft = 0;    // left column
  int nRight = 0;   // right column (exclusive)
};

// The caret-line underline of one pane. Locked while a box drag runs, while the whole pane repaints
// for a new text-area left and while its own row is repainted; Show and Hide do nothing then.
class CCursorLineUnderline {
 public:
  void Bind(CEditView* view) { m_pView = view; }
  void Lock() { ++m_nLockCounter; }
  void Unlock() { m_nLockCounter = m_nLockCounter > 0 ? m_nLockCounter - 1 : 0; }
  bool IsLocked() const { return m_nLockCounter > 0; }
  void Show(bool repaint);
  void Hide(bool repaint);

 private:
  int m_nLockCounter = 0;
  CEditView* m_pView = nullptr;
};

// Key-macro recording and the fifty macro slots, as the dispatcher reaches them. The real ones come
// with the macro engines; until then nothing records and no slot runs.
class IViewMacros {
 public:
  virtual ~IViewMacros() = default;
  // slot -1 is the temporary key macro.
  virtual void RecordCommand(int slot, int command, LPARAM argument, CEditView* view) = 0;
  // Runs a slot (0-49); false when it failed.
  virtual bool ExecuteSlot(int slot, HINSTANCE instance, CEditView* view) = 0;
};
IViewMacros* GetViewMacros();  // never null
void SetViewMacros(IViewMacros* macros);

// Where the mouse wheel takes its line count from (the desktop's wheel setting); none: 6.
class IWheelSettings {
 public:
  virtual ~IWheelSettings() = default;
  virtual std::optional<int> WheelScrollLines() const = 0;
};
IWheelSettings* GetWheelSettings();  // never null: the toolkit's setting by default
void SetWheelSettings(IWheelSettings* settings);

class CEditView : public IDocPane {
 public:
  // Colour states of the line painter (besides the comment and string states of the display
  // lines): a state is drawn with the colour item of the same code, block comments with 25, a
  // regular-expression keyword state 1000 + c with item c.
  static constexpr int kStateNormal = 0;
  static constexpr int kStateControl = 8;
  static constexpr int kStateNumber = 13;
  static constexpr int kStateFound = 14;
  static constexpr int kStateKeyword1 = 15;  // 15-24: keyword sets 1-10
  static constexpr int kStateLineComment = 25;
  static constexpr int kStateSingleQuote = 26;
  static constexpr int kStateDoubleQuote = 27;
  static constexpr int kStateUrl = 28;
  static constexpr int kStateBlockComment1 = 45;
  static constexpr int kStateBlockComment2 = 46;
  static constexpr int kStateRegexKeyword = 1000;  // + colour code

  // Command sources in the high word of a command word.
  static constexpr int kSourceProgram = 0;
  static constexpr int kSourceAccelerator = 1;
  static constexpr int kSourceMouse = 2;

  static constexpr int kTimerId = 1;
  static constexpr int kTimerInterval = 31;  // milliseconds
  static constexpr int kHistoryMax = 30;
  static constexpr int kSplitBoxSize = 7;

  CEditView();
  ~CEditView() override;
  CEditView(const CEditView&) = delete;
  CEditView& operator=(const CEditView&) = delete;

  // ================================================================ edit_view.cpp: the pane
  // Makes the pane window inside the splitter; 1, or 0 when the window cannot be made.
  int Create(HINSTANCE hInstance, HWND hwndParent, CEditDoc* pcEditDoc, int nMyIndex, bool bShow);
  // Binds a document without a window (tests, benchmarks): the pane then paints into an image of
  // the client size given by SetClientSize.
  void AttachDocument(CEditDoc* pcEditDoc, int nMyIndex);
  void SetClientSize(int width, int height);
  void SetEditWindow(IEditWindow* editWindow) { m_pEditWnd = editWindow; }
  IEditWindow* EditWindow() const { return m_pEditWnd; }

  static LRESULT EditViewWindowProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  LRESULT DispatchEvent(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  // Timer 1: the keyword tip and the scrolling of a mouse drag outside the pane.
  void OnTimer();

  void HandleSize(int nWidth, int nHeight);
  void HandleSetFocus();
  void HandleKillFocus();
  void UpdateCharMetrics();
  int GetLineNumberDigits();
  void UpdateFonts();
  const platform::Font* GetFontFor(bool bBold, bool bUnderline) const;
  void RepaintAll();
  void RepaintClient();
  void CopyViewStateTo(CEditView* pcOther) const;
  void ShowSplitBoxes(bool bVertical, bool bHorizontal, bool bSizeGrip);
  void ShowCaretPosition() override;
  void ShowSelectionSize();
  void ShowStatusMessage(const char* text);
  // The chosen command id; 0 for none.
  int ShowContextMenu();
  bool IsInsertMode() const;
  void SetInsertMode(bool insert);
  bool ShowKeywordTipFor(int x, int y, const char* word, const RECT* popupRect);
  // Looks the first line of a text up in the keyword dictionary through the one-word cache.
  bool LookUpKeyword(const char* word, int length);
  // The digits of the number column for a count of lines: 3, one more for each power of ten from
  // 100 up to the count, at most 12.
  static int LineNumberDigitsFor(int64_t count);

  // The pane's image and its context: what PaintView and every drawing between paints draw on.
  HDC GetViewDC() const { return m_hdcView.get(); }
  platform::Bitmap* GetViewImage() const { return m_pViewImage.get(); }
  // Marks part of the client area for painting: the window's invalid region, or without a window
  // an immediate paint of the core image.
  void InvalidateClient(const RECT* rect);
  // Shows what was drawn into the image outside a paint.
  void FlushImage(const RECT* rect);

 private:
  // edit_view.cpp and its companions edit_view_metrics.cpp and edit_view_status.cpp.
  void CreateFonts();
  // The client size, the image of that size and everything measured from them.
  void ResizeImage(int width, int height);
  void RecalcGeometry();
  int VScrollBarWidth() const;
  // The text-area left and the number columns that the settings and the line count give now.
  int ComputeTextAreaLeft(int* pnColumns);
  void PlaceChildWindows(int width, int height);
  void CreateCornerBox(bool bSizeGrip);
  bool IsMouseInPane() const;
  // The first line of the selected text (up to the first CR, LF or NUL); false without a selection.
  bool GetSelectedFirstLine(CMemory* out) const;
  void ActivateFromInput();

 public:
  // ================================================================ edit_view_paint.cpp
  void PaintView(HDC hdc, const RECT* pRect);
  int PaintLine(HDC hdc, int nLine, int nX, int* pnLineIndex, int* pnY, int nLastLine, bool bSelected);
  void SelectTextColor(HDC hdc, int nState);
  int DrawTextRun(HDC hdc, int x, int y, const char* pData, int nLength);
  void DrawLineEndMark(HDC hdc, int x, int y, int nLineEndCode, COLORREF colour, bool bBold);
  void DrawTabArrow(HDC hdc, int x, int y, COLORREF colour, bool bBold);
  void DrawEofMark(HDC hdc, int x, int y);
  int GetColorStateAt(HDC hdc, int nLine, int nColumn);
  // A search hit at nPos of the text: its start and end.
  bool FindNextSearchHit(const char* pLine, int nLength, int nPos, int* pnStart, int* pnEnd);
  // Sets what search hits are highlighted: the key, plain or regular expression, case and words.
  // A regular expression that does not compile switches the highlight off.
  void SetSearchHighlight(const char* key, bool bRegexp, bool bCaseSensitive, bool bWordOnly);
  void SetSearchHighlightOn(bool on) { m_bCurSrchKeyMark = on; }

  // ================================================================ edit_view_caret.cpp, edit_view_scroll.cpp
  void UpdateCaret();
  void SetImeCompositionPos();
  void SetImeCompositionFont();
  void ShowCaretOnce();
  void HideCaretOnce();
  int PlaceCursor(int nColumn, int nLine, bool bRepaint, int nDivisor);
  bool ClampPositionToEnd(int* pnColumn, int* pnLine);
  void MoveCursorToPoint(int x, int y);
  int MoveCursorVertically(int nDelta, bool bSelect);
  int ScrollToTopLine(int nLine);
  int ScrollToLeftColumn(int nColumn);
  void FollowVertically(int nAmount);
  void FollowHorizontally(int nAmount);
  void OnVScrollBar(int nCode, int nPos);
  void OnHScrollBar(int nCode, int nPos);
  void UpdateScrollBars();
  // The pane with that index among its document's panes (null when the document has none).
  CEditView* PartnerPane(int index) const;
  // The caret's character cell in client coordinates, as SetImeCompositionPos last placed it:
  // where the input method shows its candidates.
  RECT ImeCompositionRect() const { return m_rcImeComposition; }

  int LineColumnToOffset(int nLine, int nColumn);
  int LineColumnToOffsetEx(int nLine, int nColumn, int* pnEndColumn);
  int LineOffsetToColumn(int nLine, int nOffset);
  int DocLineColumnToOffset(int nDocLine, int nColumn);
  int DocLineOffsetToColumn(int nDocLine, int nOffset);
  // Pixels of the character under the caret: its columns (one on a tab, a line end or past the
  // text) times the column width.
  int CaretCellWidth();
  // Moves the part of the image inside area by (dx, dy) pixels and repaints the strips it uncovered.
  void ScrollImage(int dx, int dy, const RECT& area);
  RECT TextAreaRect() const;
  // Draws the ruler again at once: all of it when it is marked for repaint, else its caret mark.
  void RepaintRulerNow();

  // ================================================================ edit_view_select.cpp
  SelectRect MakeSelectionRect(int nLine1, int nColumn1, int nLine2, int nColumn2) const;
  bool IsTextSelected() const { return m_sSelect.IsSet(); }
  void BeginSelectionAtCaret();
  void ClearSelection(bool bRepaint) override;
  void ChangeSelectionTo(int nColumn, int nLine);
  void ComputeSelection(int nColumn, int nLine, SelectRange* pRange) const;
  // -1 before the selection (and without one), 0 inside, 1 after.
  int IsPositionInSelection(int nColumn, int nLine) const;
  // The same as while this pane's own drag is over it, with the drag's Ctrl (held: a copy).
  int IsPositionInDraggedSelection(int nColumn, int nLine, bool bCtrl) const;
  int ComparePositionWithRange(int nColumn, int nLine, const SelectRange& range) const;
  void InvertSelection();
  // The columns [from, to) of display line nLine that a range highlights (box or normal by the
  // box mode); false when it highlights none there.
  bool SelectionSpanInRow(int nLine, const SelectRange& range, int* pnFrom, int* pnTo);
  // The pixels of that span in the row whose top is nY, cut to the visible columns and the text
  // area; an empty box is a bar a third of a column wide. False when nothing of it shows.
  bool SelectionRectInRow(int nLine, int nY, const SelectRange& range, RECT* pRect);
  void InvertSelectionLine(int nLine, const SelectRange& range);
  // The painter's part: inverts the selected part of display line nLine, just painted on hdc with
  // its top at nY. The same pixels as InvertSelection inverts for that row, so that a highlight
  // drawn by either is taken away by the other. Output outside a partial paint is kept off by the
  // context's clip rectangle.
  void InvertSelectionInRow(HDC hdc, int nLine, int nY);

  // ================================================================ edit_view_input.cpp
  void HandleLButtonDown(WPARAM fwKeys, int x, int y);
  void HandleLButtonUp(WPARAM fwKeys, int x, int y);
  void HandleLButtonDblClk(WPARAM fwKeys, int x, int y);
  void HandleRButtonUp(WPARAM fwKeys, int x, int y);
  void HandleMButtonDown(WPARAM fwKeys, int x, int y);
  void HandleXButton1Down(WPARAM fwKeys, int x, int y);
  void HandleXButton2Down(WPARAM fwKeys, int x, int y);
  void HandleMouseMove(WPARAM fwKeys, int x, int y);
  void HandleMouseWheel(WPARAM wParam);
  bool IsUrlAtCaret(int nColumn, int nLine, int* pnUrlLine, int* pnUrlStart, int* pnUrlLength, CMemory* pcmemUrl);
  // Sends or posts the command bound to a mouse entry (0 double click .. 4 right side button) for
  // the modifiers held; false when none is bound.
  bool RunMouseBinding(int entry, bool bSend);

  // ================================================================ edit_view_ime.cpp
  // The reconversion text around the target (caret or selection): the text in UTF-16, the
  // target's start and length in UTF-16 units. Empty without one (box mode, empty line).
  struct ReconvertText {
    std::u16string text;
    int targetStart = 0;
    int targetLength = 0;
  };
  ReconvertText HandleReconvertString();
  // Makes the range of the pending reconversion (start and length in UTF-16 units of its text)
  // the selection; false without a pending reconversion.
  bool HandleConfirmReconvert(int start, int length);

  // ================================================================ edit_view_ruler.cpp
  // One row of the number column, y its top: nLine is the display line shown in the row (its
  // document line gives the marks, and the number when document lines are counted), nLineIndex
  // the index numbered nLineIndex + 1 otherwise.
  void PaintLineNumber(HDC hdc, int nLine, int nLineIndex, int y);
  // The whole ruler while it needs repaint, else only the caret's mark when the caret moved.
  void PaintRuler(HDC hdc);
  void PaintGuideLines(HDC hdc);
  void DrawCursorLineUnderline(bool bRepaint);
  void EraseCursorLineUnderline(bool bRepaint);
  // The colour item of a row of the number column: line number, modified line, comparison state
  // or bookmark (null: a row without a line).
  int LineNumberColorCode(const CDocLine* pDocLine) const;
  // The ruler's background, base line, ticks and labels (without the caret's mark); nBottom is the
  // ruler's height.
  void PaintRulerScale(HDC hdc, int nBottom);
  // Inverts the caret's mark at a column; drawing it again with the same caret state restores it.
  void DrawRulerMark(HDC hdc, int nColumn, bool bCaretExists);

  // ================================================================ edit_view_bracket.cpp
  bool FindMatchingBracket(int nColumn, int nLine, int* pnColumnOut, int* pnLineOut, int* pnFlags);
  void UpdateBracketPair(bool bSearch);
  void DrawBracketHighlight(bool bDraw);
  // Whether the character at nOffset of a NUL-terminated text is a bracket; its byte size goes
  // to *pnSize (may be null).
  bool IsBracketChar(const char* pLine, int nOffset, int* pnSize) const;
  // The bracket at byte nOffset of a document line shown on display line nLine: 1 with its
  // partner's document position, 0 when none was found within reach, -1 when it is no bracket.
  int SearchBracketPartner(int nDocLine, int nOffset, int nLine, bool bWholeDocument, int* pnDocColumn, int* pnDocLine);
  // A document line's bytes without its line end (null and 0 for none).
  const char* BracketDocLine(int nDocLine, int* pnLength) const;
  // Draws a bracket's bytes at its cell in the TXT colours overlaid by a colour item (applied even
  // while not shown with bAlways).
  void DrawBracketCell(HDC hdc, int nColumn, int nLine, const char* pBytes, int nSize, int nColorCode, bool bAlways);

  // ================================================================ edit_view_edit.cpp: editing primitives
  // Every change a pane makes to its text goes through these four. Each edits through the display
  // lines, keeps caret, selection and painting right and, outside undo and redo, fills the record
  // it is given (or appends its own records to the open undo block) and marks the document
  // modified. Positions are display positions (column, line).
  //
  // Inserts at (nX, nY), after the blanks that reach the column when it lies past the row's text;
  // a selection is deleted first and the caret taken instead. The end of the inserted text goes to
  // *pnNewLine, *pnNewPos. The record becomes an insert whose range end and caret after are that
  // end in document terms.
  void InsertTextUndoable(int nX, int nY, const char* pData, int nDataLen, int* pnNewLine, int* pnNewPos,
                          COpeRecord* pcOpe, bool bRedraw);
  // Deletes nDelLen bytes at (nX, nY) (a count that reaches the line end joins the next line); the
  // removed bytes go to pcMem, which the record then owns. The caret moves there, unpainted.
  void DeleteRangeUndoable(int nX, int nY, int nDelLen, CMemory* pcMem, COpeRecord* pcOpe);
  // Deletes the selection (line or box), else the character or line end at the caret.
  void DeleteAtCursor(bool bRedraw);
  // Replaces the range by the text (either may be empty); the removed bytes are copied to
  // pcmemCopyOfDeleted when one is given. The caret ends after the inserted text.
  void ReplaceRangeUndoable(int nDelLineFrom, int nDelColFrom, int nDelLineTo, int nDelColTo,
                            CMemory* pcmemCopyOfDeleted, const char* pInsData, int nInsDataLen, bool bRedraw);
  // The document position (byte column, line) of a display position; never inside a line end.
  POINT DocPosOf(int nX, int nY);

  // ================================================================ ../commands/edit_view_undo.cpp
  void Command_UNDO();
  void Command_REDO();

  // ================================================================ ../commands/edit_view_input_commands.cpp
  // Typing, inserted text, duplicate line, date and time, control codes, the insert mode and the
  // input line end, and the indent and unindent of line and box selections.
  void Command_CHAR(int nCode);
  void Command_CHARIME(int nCode);
  // nTextLen -1: up to the NUL.
  void Command_INSTEXT(bool bRedraw, const char* pszText, int nTextLen, bool bNoWaitCursor);
  void Command_ADDTAIL(const char* pszData, int nDataLen);
  void Command_DUPLICATELINE();
  void Command_INDENTTAB();
  void Command_INDENTSPACE(char cChar);
  // UnindentTab and UnindentSpace: cChar is TAB or space.
  void Command_UNINDENT(char cChar);
  void Command_INSERTDATE();
  void Command_INSERTTIME();
  void Command_CTRLCODEDIALOG();
  void Command_CHGMODINS();
  void Command_CHGMODEOL(int nEolType);
  void Command_IME_RECONVERSION();
  // Inserts the text at the left column of every row of a box, or at the start of every document
  // line of a line selection; bSkipEmpty leaves box rows without text inside the columns alone.
  void IndentLines(const char* pData, int nDataLen, bool bSkipEmpty);
  void SmartIndentCpp(char cChar);
  void RTrimPrevLine();

 private:
  // Beeps while a mouse drag-selection runs; true then (the command does nothing).
  bool RefuseDuringDragSelect();
  // Inserts at the caret with an insert record and puts the caret after the text.
  void InsertAtCaret(const char* pData, int nDataLen, bool bRepaintCaret);
  // A typed character or pair that is not a line end: into every row of a box, over a line
  // selection, or over the character under the caret in overwrite mode.
  void TypeText(const char* pData, int nDataLen);
  // After a line indent or unindent: rows nFirst..nEnd (exclusive) selected whole, the caret at
  // the end, and when the rows changed a caret-move record from oldCaret.
  void SelectWholeRows(int nFirst, int nEnd, POINT oldCaret, bool bChanged);

 public:

  // ================================================================ edit_view_clipboard.cpp
  // The selection as text: box rows each followed by CR LF; normal lines with the quote prefix and
  // line numbers asked, their line ends as nEolType gives them (-1: each line's own; a CLineEnd
  // code otherwise). 1, or 0 without a selection.
  int GetSelectedText(CMemory* pcmemBuf, bool bFirstLineOnly, const char* pszQuote, bool bWithLineNumber,
                      bool bAddCRLFWhenCopy, int nEolType = -1);
  // Widens the selection to whole rows and copies them as text (line ends added as the common
  // setting asks); a refusing clipboard beeps. True when the clipboard took the text.
  bool CopySelectedLines(const char* pszQuote, bool bWithLineNumber);
  // The selection's text (read as a copy reads it, bAddCRLFWhenCopy included) or the word at the
  // caret, at most 259 bytes cut on a whole character, up to its first line end or NUL.
  void GetSelectionOrWord(CMemory* pcmemBuf);
  // The part of a word that ends at the caret; its length.
  int GetWordBeforeCaret(CMemory* pcmemWord);
  // Converts the selected text in place as one conversion command does (nothing when that leaves
  // the text as it was); a box row by row.
  void ConvertSelection(int nFuncCode);
  void ConvertText(CMemory* pcMem, int nFuncCode);
  // The clipboard's text and whether it was copied as a box (pbColumnSelect may be null): the
  // private block when it holds up, else the desktop's text in Shift-JIS up to its first NUL.
  bool GetClipboardText(CMemory* pcmemBuf, bool* pbColumnSelect);
  // Puts the text (NUL bytes and all) on the clipboard in one go; false when the clipboard is
  // held elsewhere or refused it.
  bool SetClipboardText(const char* pszText, int nTextLen, bool bColumnSelect);

 private:
  // The selection's bytes up to its first line end or NUL, or else the word at the caret, cut to
  // maxBytes on a whole character; the selection and the caret stay as they are. With
  // bAddCRLFWhenCopy a selection is read as a copy reads it, so a wrap point ends it too.
  void SelectionOrWord(CMemory* out, int maxBytes, bool bAddCRLFWhenCopy = false) const;
  void ConvertBoxSelection(int nFuncCode);
  void ConvertNormalSelection(int nFuncCode);

 public:

  // ================================================================ edit_view_drag_drop.cpp
  // The pane's side of drag and drop (platform/drag_drop): the pane window is a drop target from
  // Create until it is destroyed, and a click inside the selection drags its text. Points are
  // client coordinates, key states MK_ flags.
  // A drag comes over the pane: false refuses it (drag and drop off, a document that takes no
  // edits, no text); otherwise *pdwEffect is the effect at the point.
  bool HandleDragEnter(const platform::DropData& data, DWORD dwKeyState, POINT pt, DWORD* pdwEffect);
  // The caret follows the pointer; the effect there.
  DWORD HandleDragOver(DWORD dwKeyState, POINT pt);
  void HandleDragLeave();
  // The text goes in at the point: moved or copied inside the pane it came from, else typed in as
  // InsText. The effect; DROPEFFECT_NONE when nothing went in.
  DWORD HandleDrop(const platform::DropData& data, DWORD dwKeyState, POINT pt);
  // Drags the selected text out of the pane; the effect its drop took (DROPEFFECT_NONE: none).
  DWORD DragSelectedText();

 private:
  // Create and WM_DESTROY: the pane window as drop target.
  void RegisterDropTarget();
  void RevokeDropTarget();
  // Whether the document takes edits now: neither read-only nor missing the write lock it needs.
  bool AcceptsEdits() const;
  // The drop of the pane's own selection at the caret: copied, or moved with its old place deleted.
  void DropOwnSelection(const char* pszText, int nTextLen, bool bMove);
  // The effect of text let go at the caret with those keys: none inside the pane's own dragged
  // selection, a move of it without Ctrl, else a copy.
  DWORD DropEffectAtCaret(DWORD dwKeyState) const;

  std::unique_ptr<platform::DropTarget> m_pDropTarget;  // forwards to the Handle* calls above
  bool m_bDropDataHeld = false;                          // a drag over the pane carries text

 public:

  // ================================================================ ../commands/edit_view_clipboard_commands.cpp
  // Deleting characters, words and lines; cut, copy and paste; copying the file's name, a tag and
  // the key list.
  void Command_DELETE();
  void Command_DELETEBACK();
  void Command_WORDDELETETOSTART();
  void Command_WORDDELETETOEND();
  void Command_WORDCUT();
  void Command_WORDDELETE();
  void Command_LINECUTTOSTART();
  void Command_LINECUTTOEND();
  void Command_LINEDELETETOSTART();
  void Command_LINEDELETETOEND();
  void Command_CUTLINE();
  void Command_DELETELINE();
  void Command_CUT();
  // bAddCRLFWhenCopy: a copied row gets a line end; nEolType as GetSelectedText's.
  void Command_COPY(bool bIgnoreLockAndDisable, bool bAddCRLFWhenCopy, int nEolType);
  void Command_PASTE();
  void Command_PASTEBOX();
  void Command_COPYLINES();
  void Command_COPYLINESASPASSAGE();
  void Command_COPYLINESWITHLINENUMBER();
  void Command_COPYPATH();
  void Command_COPYFILENAME();
  void Command_COPYTAG();
  void Command_COPYKEYBINDLIST();
  // Pastes the lines of the text as a box at the caret (the box paste of PasteBox and of a drop).
  void PasteBoxText(const char* pszText, int nTextLen);

 private:
  // Makes the range a normal selection, anchored at its start.
  void SelectSpan(int nColumnFrom, int nLineFrom, int nColumnTo, int nLineTo);
  // Puts the selection on the clipboard, then deletes it; a clipboard that refuses the text gets a
  // beep and the text stays. True when the text went.
  bool CutSelection();
  // Cuts or deletes a selection the command made from the caret at (nOldX, nOldY); a refused cut
  // drops that selection and puts the caret back.
  void CutOrDeleteMadeSelection(bool bCut, int nOldX, int nOldY);
  // LineCutToStart .. LineDeleteToEnd: from the document line's start to the caret, or from the
  // caret to the end of the line's text.
  void CutOrDeleteLinePart(bool bCut, bool bToEnd);
  // CutLine and DeleteLine: the caret's row as a whole line.
  void RemoveCaretRow(bool bCut);
  // WordDeleteToStart and WordDeleteToEnd.
  void DeleteToWord(bool bBackward);
  // Puts a text on the clipboard as plain text only; false when the clipboard refused it.
  bool SetClipboardPlainText(const char* pText, int nLength);
  // Copies the file's path, name or a tag as text; a refused clipboard beeps.
  void CopyDocumentText(const char* pText, int nLength);

 private:
  // edit_view_edit.cpp: repaints display lines nFrom..nTo (nTo -1: to the bottom of the pane).
  void RepaintRows(int nFrom, int nTo);
  // Repaints after an edit: only the caret when the number column changed width, else the rows.
  void RepaintAfterEdit(int nFrom, int nTo, bool bRedraw);
  // Appends a caret-move record to the open undo block (outside undo and redo).
  void AppendCaretMoveRecord(POINT before, POINT after);
  // Marks the document modified after a change (outside undo and redo); true when it was not.
  bool MarkModifiedByEdit(bool bRedraw);
  // Places the caret at a document position.
  void PlaceCaretAtDoc(int nDocCol, int nDocLine, bool bRepaint);

 public:
  // ================================================================ ../commands/edit_view_convert_commands.cpp
  // The conversions of the selected text as a whole (ConvertSelection with the command's id), the
  // trimming of blanks, sorting and merging of lines, and decoding into a file.
  void Command_CONVERT(int nFuncCode);
  // LTrim and RTrim; without a selection, the caret's row.
  void Command_TRIM(bool bLeft);
  void Command_SORT(bool bAscending);
  void Command_MERGE();
  void Command_BASE64DECODE();
  void Command_UUDECODE();

 private:
  // The document lines a sort or merge takes (first..last); false for fewer than two.
  bool SelectedDocLines(bool bBox, int* pnFirst, int* pnLast);
  // Replaces document lines first..last by the text, then selects (box: as it was; else the new
  // text) and places the caret as a sort or merge leaves them.
  void ReplaceDocLines(int nFirst, int nLast, const std::string& text, bool bBox);
  // Base64Decode and Uudecode: the selection as a copy takes it, decoded into a file.
  void DecodeSelectionToFile(bool bUuencoded);
  // Asks for a file name (starting from the one proposed) and writes the bytes there.
  void SaveDecodedBytes(const CMemory& bytes, const std::string& proposedName);

 public:
  // ================================================================ ../commands/edit_view_dispatch.cpp
  // Runs one command: the six values of a command (command word with id and source, redraw flag,
  // four arguments) through the filters, the handler and one undo step. Handlers of later steps
  // join the table of edit_view_dispatch.cpp.
  LRESULT RunCommand(int nCommand, bool bRedraw, LPARAM lparam1, LPARAM lparam2, LPARAM lparam3, LPARAM lparam4);
  // Sets the quote prefix for copied passages (at most 31 bytes, cut on a whole character).
  void Command_SETMSGQUOTESTR(const char* pszQuote);

  // ================================================================ ../commands/edit_view_cursor_commands.cpp
  // Caret moves, scrolling without moving the text position, selection modes and the cursor
  // history. A move given bSelect starts a selection at the caret when none exists and extends it
  // to the new caret; without it an existing selection goes first. bRepeat: the previous command
  // had the same id (a held key).
  int Command_UP(bool bSelect, bool bRepeat);
  int Command_DOWN(bool bSelect, bool bRepeat);
  // 1 when the caret moved, 0 when it could not.
  int Command_LEFT(bool bSelect, bool bRepeat);
  // bKeepSelection: box insertion moves the caret without touching the selection.
  void Command_RIGHT(bool bSelect, bool bKeepSelection, bool bRepeat);
  void Command_UP2(bool bSelect);
  void Command_DOWN2(bool bSelect);
  void Command_WORDLEFT(bool bSelect);
  void Command_WORDRIGHT(bool bSelect);
  // nOption bits: 1 the row's start column, 4 select, 8 the document line's first row.
  void Command_GOLINETOP(bool bSelect, int nOption);
  void Command_GOLINEEND(bool bSelect);
  void Command_HALFPAGEUP(bool bSelect);
  void Command_HALFPAGEDOWN(bool bSelect);
  void Command_1PAGEUP(bool bSelect);
  void Command_1PAGEDOWN(bool bSelect);
  void Command_GOFILETOP(bool bSelect);
  void Command_GOFILEEND(bool bSelect);
  void Command_GONEXTPARAGRAPH(bool bSelect);
  void Command_GOPREVPARAGRAPH(bool bSelect);
  void Command_CURLINECENTER();
  void Command_F_WNDSCROLLDOWN();
  void Command_F_WNDSCROLLUP();
  void Command_MOVEHISTPREV();
  void Command_MOVEHISTNEXT();
  void Command_MOVEHISTSET();
  void Command_SELECTWORD();
  void Command_SELECTALL();
  void Command_BEGINSELECT();
  void Command_BEGINBOXSELECT();
  void Command_CANCELMODE();
  void Command_SEARCHSTARTPOS();
  void Command_BRACKETPAIR();
  // Adds the caret's document position to the cursor history.
  void AddCursorHistory();

 private:
  // Left or Right with a selection and no select: the caret goes to its start or end corner.
  void CollapseSelection(bool bToEnd);
  // One pass of Left or Right; false when Left could not move.
  bool MoveLeftOnce(bool bSelect);
  void MoveRightOnce(bool bSelect, bool bKeepSelection);
  // The selection rule around a horizontal move: before it, starts (bSelect) or removes the
  // selection; after it, extends the selection and takes the caret column as the preferred one.
  void BeforeMove(bool bSelect);
  void AfterMove(bool bSelect);
  // Places the caret at a document position (clamped to the document) after the selection rule.
  void MoveCaretToDocPos(int nDocColumn, int nDocLine, bool bSelect);
  // A page move of nRows (negative: up) keeping the caret's screen row.
  void MovePageKeepingRow(int nRows, bool bSelect);

 public:
  // ================================================================ ../commands/edit_view_file_commands.cpp
  // Saving: over the file, under a name asked for or given, and every edit window at once. Each
  // gives 1 when the document is saved (or needs no saving) and 0 when it is not.
  // bBeep: beep and tell when there is nothing to save or the document is read-only; bAsk: an
  // untitled document asks for a name (else it is not saved).
  int Command_FILESAVE(bool bBeep, bool bAsk);
  int Command_SAVEAS_PROMPT();
  int Command_FILESAVEAS(const char* pszPath);
  // Sends the quiet save (30121) to every listed edit window, this one included.
  void Command_FILESAVEALL();

 public:
  // ================================================================ ../commands/edit_view_file_open_commands.cpp
  // The document as a file: new windows, opening, closing, reopening in a code, printing, the
  // desktop's program for it, read-only mode and quitting the editor.
  void Command_FILENEW();
  void Command_FILEOPEN(const char* pszPath);
  void Command_FILECLOSE();
  // Without a path the open dialog asks for one (and its code and read-only choice).
  void Command_FILECLOSE_OPEN(const char* pszPath, int nCharCode, bool bReadOnly);
  // A code below 0 is the document's own; bNoConfirm: no question about losing the changes.
  void Command_FILE_REOPEN(int nCharCode, bool bNoConfirm);
  void Command_PRINT();
  void Command_PRINT_PREVIEW();
  void Command_BROWSE();
  void Command_READONLY();
  void Command_EXITALL();

  // ================================================================ ../commands/edit_view_setting_commands.cpp
  // The bars, the editor font and the wrap width.
  void Command_SHOWBAR(IEditWindow::Bar bar);
  void Command_FONT();
  void Command_WRAPWINDOWWIDTH();

  // ================================================================ ../commands/edit_view_window_commands.cpp
  // The set of edit windows: closing, the output window, splitting, arranging and listing.
  void Command_WINCLOSE();
  void Command_WINCLOSEALL();
  void Command_ACTIVATE_OUTPUT();
  void Command_SPLIT(bool bVertical, bool bHorizontal);
  void Command_CASCADE();
  // bSideBySide: TileWinH (each the full height); else TileWinV (each the full width).
  void Command_TILE(bool bSideBySide);
  // bVertical: MaximizeV (the work area's top and bottom); else MaximizeH.
  void Command_MAXIMIZE(bool bVertical);
  void Command_MINIMIZEALL();
  void Command_TOGGLESHAREDPLACEMENT();
  void Command_WINTOPMOST(int nMode);
  void Command_WINLIST(int nSource);

 public:
  // ================================================================ ../search/edit_view_search_commands.cpp
  // Find, replace and the search-key highlight. bRedraw: the command comes from the user interface
  // (a keyboard, menu or dialog; a macro step gives false), which allows the not-found message box.
  // hwndOwner owns the message boxes (null: the pane).
  // True when a hit was found and selected.
  bool Command_SEARCHNEXT(bool bRedraw, HWND hwndOwner, const char* pszNotFoundMessage);
  bool Command_SEARCHPREV(bool bRedraw, HWND hwndOwner);
  void Command_SEARCHDIALOG();
  void Command_REPLACEDIALOG();
  void Command_REPLACE(HWND hwndOwner);
  void Command_REPLACEALL();
  void Command_REPLACEALLLINE();
  void Command_SEARCHCLEARMARK();
  void Command_REDRAW();
  // The document's find and replace dialogs (borrowed; null: the pane has none and the replace
  // commands run with their defaults).
  void SetSearchDialogs(CSearchDialogs* dialogs) { m_pSearchDialogs = dialogs; }
  CSearchDialogs* SearchDialogs() const { return m_pSearchDialogs; }

  // ================================================================ ../outline/edit_view_outline_commands.cpp
  // The outline window. nAction 0 shows it (an open one showing the same outline is only
  // activated), 2 toggles it (an open one showing the same outline closes), any other parses again
  // and refills it; nOutlineType -1 is the type setting's outline. 1 when it ran; 0 for a pane
  // without a document or without the document's outline window.
  LRESULT Command_FUNCLIST(int nAction, int nOutlineType);
  // The document's outline and its window (borrowed; null: the outline commands do nothing).
  void SetFuncListWindow(FuncListWindow* window) { m_pFuncList = window; }
  FuncListWindow* FuncList() const { return m_pFuncList; }

  // ================================================================ ../outline/edit_view_jump_commands.cpp
  // The jump dialog (30920) over this pane's document; confirmed, Jump runs in the document's
  // active pane. Nothing without the document's jump dialog.
  void Command_JUMP_DIALOG();
  // Jump (30921) with the jump dialog's values (their defaults without one) and the shared jump
  // unit.
  void Command_JUMP();
  // The jump itself: an empty document beeps; else the selection goes, the caret's place joins the
  // cursor history and the caret moves to column 0 of the row the request names.
  void JumpTo(const JumpRequest& request);
  // BookmarkSet (30970): toggles the bookmarks of the document lines a selection over several rows
  // touches (the last one too when the selection ends at its column 0), else the caret's line.
  void Command_BOOKMARKSET();
  // BookmarkNext (30971) and BookmarkPrev (30972): to column 0 of the next or previous bookmarked
  // line as a move does (select mode extends the selection), once around the ends with
  // bSearchAll; the status bar (and with bSearchNOTIFYNOTFOUND a message) tells when none is left.
  void Command_BOOKMARKNEXT();
  void Command_BOOKMARKPREV();
  // BookmarkReset (30973): no line of the document keeps its bookmark.
  void Command_BOOKMARKRESET();
  // BookmarkPattern (30975): every line matching the search key, with the search options, gains a
  // bookmark; nothing when the key cannot be searched (bWarn: tell why).
  void Command_BOOKMARKPATTERN(bool bWarn);
  // The document's jump dialog (borrowed; null: the jump dialog command does nothing).
  void SetJumpDialog(CJumpDialog* dialog) { m_pJumpDialog = dialog; }
  CJumpDialog* JumpDialog() const { return m_pJumpDialog; }

 private:
  void MoveToBookmark(bool bForward);
  // Every pane of the document paints again (this one too when the document does not list it).
  void RepaintDocumentPanes();

 public:

 private:
  // The newest search key of the shared histories ("" without one).
  const char* NewestSearchKey() const;
  // Makes the pane's key and options those of the shared record; false when the key cannot be
  // searched (no regular-expression library, a pattern that does not compile).
  bool RefreshSearchKey(HWND hwndOwner, bool bWarn);
  // One search of the pane's key from a display position; the hit in display positions.
  bool FindFrom(int nLine, int nColumn, bool bForward, SelectRange* pHit);
  // Makes the hit the selection (an empty hit too) with the caret at its start.
  void SelectHit(const SelectRange& hit);
  // The position one whole character after a display position (the next row's start at a row's
  // end); false at the end of the text, which has no position after it.
  bool StepOneCharacter(int* pnLine, int* pnColumn);
  // What a search found: the hit (null: none), the selection select mode keeps (null outside it),
  // the position it started from.
  struct SearchOutcome {
    const SelectRange* hit;
    const SelectRange* kept;
    POINT start;
  };
  // The end both directions share: the hit selected (or the kept selection grown to it) with the
  // wrap's status text, or the not-found report. True when a hit was found.
  bool FinishSearch(const SearchOutcome& outcome, bool bForward, bool bRedraw, HWND hwndOwner,
                    const char* pszNotFoundMessage);
  // The not-found report of both directions.
  void ReportNotFound(bool bForward, bool bRedraw, HWND hwndOwner, const char* pszMessage);
  // The paste-mode check of the replace commands: false (told, the dialog's paste box switched
  // off) when paste mode finds no text on the clipboard.
  bool ReplaceClipboardReady(HWND hwndOwner);
  // The newest replace key ("" without one).
  std::string NewestReplaceKey() const;
  // With regular expressions on, the pane's key compiled into *pRegexp with the replacement of the
  // mode (every match of the rest of the line for whole lines); false (the user told) when it
  // cannot run. Without them *pRegexp stays empty.
  bool CompileReplacement(HWND hwndOwner, int nMode, bool bWholeLine, std::optional<CRegexpDll>* pRegexp);
  // Replaces the selected hit by the replacement (the clipboard's text in paste mode) as Replace
  // and ReplaceAll do; false when a regular expression finds no match at the hit (nothing changed).
  bool ReplaceSelectedHit(int nMode, bool bPaste, const char* pszReplacement, CRegexpDll* pReplaceRegexp,
                          bool bWholeLine);
  void ReplaceAllRun(bool bWholeLine);

 public:

  // ================================================================ ../search/edit_view_grep.cpp
  // Greps the files of folder matching the patterns for key, appending the result to this pane's
  // document; the hits found (the files listed for an empty key).
  int RunGrep(const char* pszKey, const char* pszFile, const char* pszFolder, bool bGrepSubFolder,
              bool bGrepLoHiCase, bool bGrepRegularExp, int nGrepCharSet, bool bGrepOutputLine,
              bool bGrepWordOnly, int nGrepOutputStyle);

  // ================================================================ ../search/edit_view_grep_commands.cpp
  // Grep dialog (30910): the key is the selection or the word at the caret, else the newest search
  // key; the document's grep dialog runs and, confirmed, Grep follows.
  void Command_GREP_DIALOG();
  // Grep (30911) with what the document's grep dialog holds: in this pane when the document is a
  // grep result or an unmodified one without a file, else in a new edit window.
  void Command_GREP();
  // The document's grep dialog, kept by its first pane for all of them.
  CGrepDialog& GrepDialog();

  // ================================================================ ../search/edit_view_tag_commands.cpp
  // Jumps to what the caret's document line names (a grep hit or file header, a file with its
  // line and column), else to the word's definition through the tags files; the status bar tells
  // when nothing was opened. bClose closes this edit window once the jump arrived.
  void Command_TAGJUMP(bool bClose);
  // Goes back to the last place a jump left, in its window; the point is used up either way.
  void Command_TAGJUMPBACK();
  // The word at the caret (or the selection's first line) through the tags files of the
  // document's folder and those above it. False when nothing was opened; a choice the user
  // cancelled counts as done.
  bool Command_DIRECTTAGJUMP();
  // The tags list dialog in keyword mode; the same results as above.
  bool Command_KEYWORDTAGJUMP(const char* pszKeyword);
  // Makes a tags file through the process's runner of outside programs.
  void Command_TAGMAKE();
  // The header of this source file (OPENHHPP) or the source of this header (OPENCCPP), opened or
  // activated; with bCheckOnly only whether there is one. OPENHFROMTOC tries both and beeps only
  // when neither works.
  bool Command_OPENHHPP(bool bCheckOnly, bool bBeepWhenMiss);
  bool Command_OPENCCPP(bool bCheckOnly, bool bBeepWhenMiss);
  bool Command_OPENHFROMTOC(bool bCheckOnly);
  // Opens or activates the file (made absolute from the editor's current folder) with the caret at
  // line and column (1-based; 0 leaves it where that window has it) and pushes this place on the
  // tag-jump ring; true when a window shows the file afterwards.
  bool OpenTagTarget(const char* pszPath, int nLine, int nColumn, bool bClose);
  // The partner of this document whose extension is in sources: the same name with the first of
  // targets that exists. pszFailure heads the message shown when its window cannot be had.
  bool OpenPairedFile(bool bCheckOnly, bool bBeep, std::span<const char* const> sources,
                      std::span<const char* const> targets, const char* pszFailure);

 private:
  // The edit window, owner of the dialogs and messages these commands show.
  HWND TagJumpOwner() const;
  // This edit window and the caret's document position, as the place to come back to.
  void PushTagJumpReturnPoint(CShareData& share) const;


 public:

  // ================================================================ IDocPane (edit_view.cpp)
  HWND Window() const override { return m_hWnd; }
  LRESULT DispatchMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT RunCommand(int command) override;
  bool HasSelection() const override { return IsTextSelected(); }
  void ResetForNewText() override;
  void OnFocusLost() override;
  void OnFocusGained() override;
  void Redraw() override;
  void Invalidate() override;
  // True when the text area's left edge moved.
  bool UpdateTextAreaLeft(bool redraw) override;
  void RecreateFonts() override;
  POINT Caret() const override;
  int ViewTopLine() const override { return m_nViewTopLine; }
  int ViewLeftColumn() const override { return m_nViewLeftCol; }
  void SetViewTopLeft(int topLine, int leftColumn) override;
  void PlaceCaret(POINT position) override;
  PaneMarks GetMarks() const override;
  void RestoreMarks(const PaneMarks& marks) override;
  void GetSelectedTextOrWord(CMemory* out, int maxBytes) const override;
  bool HasCursorHistory(bool next) const override { return next ? m_cHistory.CanGoNext() : m_cHistory.CanGoPrev(); }
  bool HasSearchStart() const override { return m_nSrchStartPosX_PHY >= 0 && m_nSrchStartPosY_PHY >= 0; }
  bool IsISearchChecked(int command) const override;  // edit_view_shared.cpp
  int NextWrapToggle() const override;                 // edit_view_shared.cpp

  // ================================================================ edit_view_shared.cpp
  CWrapLineMgr& Layout() const;
  const TypeSettings& Type() const;
  CommonSettings& Common() const;
  const ColorItem& ColorOf(int code) const;
  // The cell every position is measured in; at least one pixel, since callers divide by it and a
  // tiny font or negative spacings in the settings could leave nothing.
  int ColumnWidth() const { return std::max(m_nCharWidth + Type().nCharSpacing, 1); }
  int LineHeight() const { return std::max(m_nCharHeight + Type().nLineSpace, 1); }
  // Where a display column's cells start and a display line's row starts, in pane pixels.
  int ColumnX(int column) const { return m_nViewAlignLeft + (column - m_nViewLeftCol) * ColumnWidth(); }
  int LineY(int line) const { return m_nViewAlignTop + (line - m_nViewTopLine) * LineHeight(); }
  bool IsActivePane() const;

  // ================================================================ fields
  // Links.
  int m_bDrawSWITCH = 1;            // painting, scroll bars and caret-line drawing enabled
  CEditDoc* m_pcEditDoc = nullptr;  // not owned
  SharedSettings* m_pShareData = nullptr;
  int m_nMyIndex = 0;                 // pane index 0-3
  IEditWindow* m_pEditWnd = nullptr;  // not owned

  // Windows.
  HINSTANCE m_hInstance = nullptr;
  HWND m_hWnd = nullptr;
  HWND m_hwndParent = nullptr;  // the splitter
  HWND m_hwndVScrollBar = nullptr;
  HWND m_hwndHScrollBar = nullptr;
  int m_nVScrollRate = 1;
  HWND m_hwndSizeBox = nullptr;
  bool m_bSizeBoxIsGrip = false;
  std::unique_ptr<CSplitBoxWnd> m_pcsbwVSplitBox;
  std::unique_ptr<CSplitBoxWnd> m_pcsbwHSplitBox;
  std::unique_ptr<CTipWnd> m_pcTipWnd;
  int m_nClientWidth = 0;
  int m_nClientHeight = 0;

  // The image the pane paints into.
  std::unique_ptr<platform::Bitmap> m_pViewImage;
  std::unique_ptr<platform::MemDC> m_hdcView;

  // Search-hit highlight.
  CRegexpDll m_CurRegexp;
  bool m_bCurSrchKeyMark = false;
  std::string m_szCurSrchKey;
  bool m_bCurSrchRegularExp = false;
  bool m_bCurSrchLoHiCase = false;
  bool m_bCurSrchWordOnly = false;

  // Regular-expression keywords.
  std::unique_ptr<CRegexHighlighter> m_pRegexKeyword;

  // Geometry.
  int m_nViewAlignLeft = 0;      // text-area left
  int m_nViewAlignLeftCols = 0;  // line-number columns (digits + 1) while shown, else 0
  int m_nViewAlignTop = 0;       // text-area top
  int m_nTopYohaku = 0;          // ruler gap
  int m_nViewCx = 0;             // text-area width
  int m_nViewCy = 0;             // text-area height
  int m_nCharWidth = 10;
  int m_nCharHeight = 18;
  int m_nViewColNum = 0;  // visible columns
  int m_nViewRowNum = 0;  // visible rows

  // Scroll.
  int m_nViewTopLine = 0;
  int m_nViewLeftCol = 0;

  // Caret.
  int m_nCaretPosX = 0;       // display column
  int m_nCaretPosY = 0;       // display line
  int m_nCaretPosX_PHY = 0;   // byte offset in the document line
  int m_nCaretPosY_PHY = 0;   // document line
  int m_nCaretPosX_Prev = 0;  // the preferred column
  int m_nCaretWidth = 0;
  int m_nCaretHeight = 0;
  bool m_bCaretShowFlag = false;
  POINT m_ptCaretPixel{};     // the caret's top left corner as last placed
  RECT m_rcImeComposition{};  // see ImeCompositionRect

  // Selection.
  bool m_bSelectingLock = false;    // select mode
  bool m_bBeginBoxSelect = false;   // box mode
  bool m_bBeginSelect = false;      // mouse drag in progress
  bool m_bBeginLineSelect = false;  // line drag
  bool m_bBeginWordSelect = false;  // word drag
  bool m_bDrawSelectArea = false;   // a selection highlight is on screen
  SelectRange m_sSelectBgn;         // anchor range
  SelectRange m_sSelect;            // selection
  SelectRange m_sSelectOld;         // drawn range
  POINT m_ptMouseRollPos{};         // last mouse point

  // Caret-line underline, ruler, brackets.
  CCursorLineUnderline m_cUnderLine;
  int m_nOldUnderLineY = -1;
  bool m_bRedrawRuler = true;
  int m_nOldCaretPosX = -1;  // ruler mark column
  int m_nOldCaretWidth = 0;  // caret state the mark was drawn with
  int m_nCharSize = 0;       // bracket byte size
  int m_nBracketCaretPosX_PHY = -1;
  int m_nBracketCaretPosY_PHY = -1;
  int m_nBracketPairPosX_PHY = -1;
  int m_nBracketPairPosY_PHY = -1;

  // Fonts: normal, bold, underlined, bold underlined.
  std::array<std::optional<platform::Font>, 4> m_fonts;
  const platform::Font* m_pFontOld = nullptr;

  // Input.
  int m_nLastCommand = 0;  // previous command id
  uint32_t m_dwLastCommandTick = 0;
  int m_nPendingLeadByte = 0;           // a Shift-JIS lead byte waiting for its trail byte
  std::unique_ptr<COpeBlk> m_pcOpeBlk;  // undo block of the running command
  bool m_bDoing_UndoRedo = false;
  bool m_bExecutingKeyMacro = false;  // external macro running
  bool m_bHokan = false;              // completion popup shown
  bool m_bFocused = false;
  bool m_bInMenuLoop = false;
  bool m_bDragSource = false;
  bool m_bDragMode = false;  // a drop target is active
  int m_nISearchMode = 0;
  int m_nISearchDirection = 1;

  // Keyword tip.
  uint32_t m_dwTipTimer = 0;
  POINT m_poTipCurPos{};
  CKeywordDictionary m_cDicMgr;  // the lookups of the tip, the menu and completion
  CMemory m_cTipWord;
  CMemory m_cTipText;
  bool m_bTipFound = false;

  // Input-method reconversion pending: document line and byte start, -1 when none.
  int m_nLastReconvLine = -1;
  int m_nLastReconvIndex = -1;
  // What the pane window answers the input method (edit_view.cpp).
  std::unique_ptr<PaneImeQueries> m_pImeQueries;

  // Cursor history and the search start (../commands/edit_view_cursor_commands.cpp).
  CCursorHistory m_cHistory;
  // Where the last search began, as a document position; -1 while none is remembered.
  int m_nSrchStartPosX_PHY = -1;
  int m_nSrchStartPosY_PHY = -1;

  // The grep dialog of the document while this is its first pane (../search/edit_view_grep_commands.cpp).
  std::shared_ptr<CGrepDialog> m_pcGrepDialog;
  // Find and replace (../search/edit_view_search_commands.cpp).
  CSearchDialogs* m_pSearchDialogs = nullptr;  // not owned
  FuncListWindow* m_pFuncList = nullptr;       // not owned
  CJumpDialog* m_pJumpDialog = nullptr;        // not owned
  // A find or replace dialog was opened: its first search makes the caret position it remembered
  // the search start.
  bool m_bSearchStartPending = false;
};
