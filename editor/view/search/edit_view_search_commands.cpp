// Find, replace, the search-key highlight and the find and replace dialogs' commands.
#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/regexp_dll.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/doc_line.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/ui/cancel_dialog.h"
#include "editor/foundation/ui/system_utils.h"
#include "editor/view/commands/command_handler.h"
#include "editor/view/pane/display_row.h"
#include "editor/view/pane/edit_view.h"
#include "editor/view/pane/edit_window.h"
#include "editor/view/search/search_dialogs.h"
#include "platform/beep.h"
#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/foreground_window.h"
#include "platform/message_box.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"
#include "platform/window_tree.h"

namespace {

constexpr char kCaption[] = "tovara";
constexpr int kReplaceAllTemplate = 160;
// How often a replace-all serves its cancel dialog, and how many hits it replaces between looks
// at the clock (a hit takes a few microseconds; a look costs about as much as a small part of one).
constexpr uint32_t kPumpEveryMs = 20;
constexpr int kClockEveryHits = 32;

// -1, 0 or 1 as (line1, column1) lies before, at or after (line2, column2).
int Compare(int line1, int column1, int line2, int column2) {
  if (line1 != line2) return line1 < line2 ? -1 : 1;
  return column1 < column2 ? -1 : column1 > column2 ? 1 : 0;
}

int Compare(POINT a, POINT b) { return Compare(a.y, a.x, b.y, b.x); }

// The replacement given to the engine: the hit kept behind it (insert before) or in front of it
// (insert after).
std::string EngineReplacement(const std::string& replacement, int mode) {
  if (mode == 1) return replacement + "$&";
  if (mode == 2) return "$&" + replacement;
  return replacement;
}

// One backward search of the pane's key from after the last row's last byte: its line end and any
// punctuation hanging past the wrap width included.
bool FindBackFromLastRowEnd(CEditView& view, SelectRange* pHit) {
  CWrapLineMgr& layout = view.Layout();
  const int last = layout.GetLineCount() - 1;
  int bytes = 0;
  CWrapLine* piece = nullptr;
  if (last < 0 || !layout.GetLineTextAndNode(last, &bytes, &piece)) return false;
  int xFrom = 0, yFrom = 0, xTo = 0, yTo = 0;
  if (!layout.FindText(last, bytes, view.m_szCurSrchKey.c_str(), false, view.m_bCurSrchRegularExp,
                       view.m_bCurSrchLoHiCase, view.m_bCurSrchWordOnly, &xFrom, &yFrom, &xTo, &yTo,
                       &view.m_CurRegexp)) {
    return false;
  }
  *pHit = SelectRange{yFrom, xFrom, yTo, xTo};
  return true;
}

}  // namespace

// ---------------------------------------------------------------- the key

const char* CEditView::NewestSearchKey() const {
  if (!m_pShareData || m_pShareData->nSearchKeyCount <= 0) return "";
  return m_pShareData->szSearchKeys[0];
}

bool CEditView::RefreshSearchKey(HWND hwndOwner, bool bWarn) {
  const CommonSettings& common = Common();
  const std::string key(NewestSearchKey(), strnlen(NewestSearchKey(), kMaxPath));
  const bool regexp = common.bSearchRegularExp != 0;
  const bool caseSensitive = common.bSearchLoHiCase != 0;
  const bool wordOnly = common.bSearchWordOnly != 0;
  if (regexp && !LoadRegexDllOrWarn(hwndOwner ? hwndOwner : m_hWnd, m_CurRegexp, bWarn)) return false;
  const bool differs = !m_bCurSrchKeyMark || m_szCurSrchKey != key || m_bCurSrchRegularExp != regexp ||
                       m_bCurSrchLoHiCase != caseSensitive || m_bCurSrchWordOnly != wordOnly;
  if (differs) {
    SetSearchHighlight(key.c_str(), regexp, caseSensitive, wordOnly);
    if (m_bDrawSWITCH) RepaintAll();
  }
  return !m_szCurSrchKey.empty() && m_bCurSrchKeyMark;
}

bool CEditView::FindFrom(int nLine, int nColumn, bool bForward, SelectRange* pHit) {
  int xFrom = 0, yFrom = 0, xTo = 0, yTo = 0;
  if (!Layout().FindText(nLine, LineColumnToOffset(nLine, nColumn), m_szCurSrchKey.c_str(), bForward,
                         m_bCurSrchRegularExp, m_bCurSrchLoHiCase, m_bCurSrchWordOnly, &xFrom, &yFrom, &xTo, &yTo,
                         &m_CurRegexp)) {
    return false;
  }
  *pHit = SelectRange{yFrom, xFrom, yTo, xTo};
  return true;
}

bool CEditView::StepOneCharacter(int* pnLine, int* pnColumn) {
  const DisplayRow row = DisplayRow::Of(Layout(), *pnLine);
  if (!row.exists) return false;
  const int offset = LineColumnToOffset(*pnLine, *pnColumn);
  if (offset < row.length) {
    // A whole character: a new search never starts on a trail byte.
    const int next = offset + SjisCharSize(row.text, row.length, offset);
    *pnColumn = LineOffsetToColumn(*pnLine, next);
    return true;
  }
  // The last row's end is the end of the text unless a line end follows it.
  if (*pnLine + 1 >= Layout().GetLineCount() && !row.hasLineEnd) return false;
  ++*pnLine;
  *pnColumn = 0;
  return true;
}

void CEditView::SelectHit(const SelectRange& hit) {
  if (m_bDrawSWITCH) AddCursorHistory();
  m_bBeginBoxSelect = false;
  m_bSelectingLock = false;
  m_sSelectBgn = SelectRange{hit.nLineFrom, hit.nColumnFrom, hit.nLineFrom, hit.nColumnFrom};
  m_sSelect = m_sSelectBgn;
  m_bDrawSelectArea = false;
  // An empty hit stays an (empty) selection, so that the next search starts one character on.
  if (!hit.IsEmpty()) ChangeSelectionTo(hit.nColumnTo, hit.nLineTo);
  PlaceCursor(hit.nColumnFrom, hit.nLineFrom, m_bDrawSWITCH != 0, 20);
  m_nCaretPosX_Prev = m_nCaretPosX;
}

void CEditView::ReportNotFound(bool bForward, bool bRedraw, HWND hwndOwner, const char* pszMessage) {
  ShowStatusMessage(bForward ? "▽見つかりませんでした"_sj : "△見つかりませんでした"_sj);
  platform::MessageBeep(MB_ICONHAND);
  if (!bRedraw || !Common().bSearchNOTIFYNOTFOUND) return;
  const HWND owner = hwndOwner ? hwndOwner : m_hWnd;
  if (pszMessage) {
    ShowMessageBox(owner, MB_ICONINFORMATION, kCaption, "%s", pszMessage);
    return;
  }
  const std::string key(NewestSearchKey(), strnlen(NewestSearchKey(), kMaxPath));
  ShowMessageBox(owner, MB_ICONINFORMATION, kCaption,
                 bForward ? "後方(↓) に文字列 '%s' が１つも見つかりません。"_sj
                          : "前方(↑) に文字列 '%s' が１つも見つかりません。"_sj,
                 key.c_str());
}

// ---------------------------------------------------------------- searching

bool CEditView::FinishSearch(const SearchOutcome& outcome, bool bForward, bool bRedraw, HWND hwndOwner,
                             const char* pszNotFoundMessage) {
  if (!outcome.hit) {
    if (outcome.kept) m_sSelect = *outcome.kept;
    ReportNotFound(bForward, bRedraw, hwndOwner, pszNotFoundMessage);
    return false;
  }
  const SelectRange& hit = *outcome.hit;
  if (outcome.kept) {
    // Select mode: the selection grows to the far side of the hit.
    if (m_bDrawSWITCH) AddCursorHistory();
    ChangeSelectionTo(bForward ? hit.nColumnTo : hit.nColumnFrom, bForward ? hit.nLineTo : hit.nLineFrom);
    PlaceCursor(hit.nColumnFrom, hit.nLineFrom, m_bDrawSWITCH != 0, 20);
    m_nCaretPosX_Prev = m_nCaretPosX;
  } else {
    SelectHit(hit);
  }
  const int side = Compare(hit.nLineFrom, hit.nColumnFrom, outcome.start.y, outcome.start.x);
  if (bForward && side < 0) ShowStatusMessage("▼先頭から再検索しました"_sj);
  if (!bForward && side > 0) ShowStatusMessage("▲末尾から再検索しました"_sj);
  return true;
}

bool CEditView::Command_SEARCHNEXT(bool bRedraw, HWND hwndOwner, const char* pszNotFoundMessage) {
  if (!m_pcEditDoc) return false;
  const bool hasKey = NewestSearchKey()[0] != '\0';
  int line = m_nCaretPosY;
  int column = m_nCaretPosX;
  bool selectMode = false;
  SelectRange kept;
  if (hasKey && IsTextSelected()) {
    const SelectRange selection = m_sSelect;
    if (m_bBeginBoxSelect || !m_bSelectingLock) {
      line = selection.nLineTo;
      column = selection.nColumnTo;
    } else {
      selectMode = true;
      kept = selection;
      const bool caretFirst =
          Compare(m_nCaretPosY, m_nCaretPosX, m_sSelectBgn.nLineFrom, m_sSelectBgn.nColumnFrom) <= 0;
      line = caretFirst ? selection.nLineFrom : selection.nLineTo;
      column = caretFirst ? selection.nColumnFrom : selection.nColumnTo;
    }
  }
  // An empty selection (an empty hit) starts the search one character on; past the end of the
  // text there is nothing left to find before a wrap.
  bool atEnd = hasKey && IsTextSelected() && m_sSelect.IsEmpty() && !StepOneCharacter(&line, &column);
  if (hasKey && !selectMode && IsTextSelected()) ClearSelection(true);

  bool found = false;
  SelectRange hit;
  if (hasKey && RefreshSearchKey(hwndOwner, bRedraw)) {
    bool wrapped = false;
    bool skipped = false;
    int l = line;
    int c = column;
    for (;;) {
      if (!atEnd && FindFrom(l, c, true, &hit)) {
        if (selectMode && !skipped && hit.nLineFrom == kept.nLineFrom && hit.nColumnFrom == kept.nColumnFrom) {
          skipped = true;
          l = hit.nLineTo;
          c = hit.nColumnTo;
          atEnd = hit.IsEmpty() && !StepOneCharacter(&l, &c);
          continue;
        }
        found = true;
        break;
      }
      if (Common().bSearchAll && m_bDrawSWITCH && !wrapped) {
        wrapped = true;
        atEnd = false;
        l = 0;
        c = 0;
        continue;
      }
      break;
    }
  }

  const SearchOutcome outcome{found ? &hit : nullptr, selectMode ? &kept : nullptr, POINT{column, line}};
  return FinishSearch(outcome, true, bRedraw, hwndOwner, pszNotFoundMessage);
}

bool CEditView::Command_SEARCHPREV(bool bRedraw, HWND hwndOwner) {
  if (!m_pcEditDoc) return false;
  const bool hasKey = NewestSearchKey()[0] != '\0';
  bool selectMode = false;
  SelectRange kept;
  if (hasKey && IsTextSelected()) {
    if (m_bBeginBoxSelect || !m_bSelectingLock) {
      ClearSelection(true);
    } else {
      selectMode = true;
      kept = m_sSelect;
    }
  }
  const int line = m_nCaretPosY;
  const int column = m_nCaretPosX;

  bool found = false;
  SelectRange hit;
  if (hasKey && RefreshSearchKey(hwndOwner, bRedraw)) {
    // Below the last row the search runs from the last row's end.
    found = line < Layout().GetLineCount() ? FindFrom(line, column, false, &hit) : FindBackFromLastRowEnd(*this, &hit);
    if (!found && Common().bSearchAll && m_bDrawSWITCH) found = FindBackFromLastRowEnd(*this, &hit);
  }
  const SearchOutcome outcome{found ? &hit : nullptr, selectMode ? &kept : nullptr, POINT{column, line}};
  return FinishSearch(outcome, false, bRedraw, hwndOwner, nullptr);
}

// ---------------------------------------------------------------- the dialogs

void CEditView::Command_SEARCHDIALOG() {
  if (!m_pcEditDoc || !m_pSearchDialogs) return;
  CMemory key;
  GetSelectionOrWord(&key);
  const HWND owner = m_pEditWnd && m_pEditWnd->Window() ? m_pEditWnd->Window() : m_hWnd;
  m_pSearchDialogs->Find().DoModeless(m_hInstance, owner, this, key.GetPtr());
}

void CEditView::Command_REPLACEDIALOG() {
  if (!m_pcEditDoc || !m_pSearchDialogs) return;
  CMemory key;
  GetSelectionOrWord(&key);
  CReplaceDialog& dialog = m_pSearchDialogs->Replace();
  dialog.m_nReplaceTarget = 0;
  dialog.m_nPaste = 0;
  const bool severalRows = IsTextSelected() && m_sSelect.nLineFrom != m_sSelect.nLineTo;
  const HWND owner = m_pEditWnd && m_pEditWnd->Window() ? m_pEditWnd->Window() : m_hWnd;
  dialog.DoModeless(m_hInstance, owner, this, key.GetPtr(), severalRows);
}

void CEditView::Command_REDRAW() {
  if (!m_pcEditDoc) return;
  RepaintAll();
}

// ---------------------------------------------------------------- replacing

bool CEditView::ReplaceClipboardReady(HWND hwndOwner) {
  CReplaceDialog* dialog = m_pSearchDialogs ? &m_pSearchDialogs->Replace() : nullptr;
  if (!dialog || !dialog->m_nPaste) return true;
  CMemory text;
  if (GetClipboardText(&text, nullptr) && text.GetLength() > 0) return true;
  ShowMessageBox(hwndOwner ? hwndOwner : m_hWnd, MB_OK, kCaption, "%s",
                 "クリップボードに有効なデータがありません！"_sj);
  dialog->TurnPasteOff();
  return false;
}

bool CEditView::CompileReplacement(HWND hwndOwner, int nMode, bool bWholeLine, std::optional<CRegexpDll>* pRegexp) {
  if (!Common().bSearchRegularExp) return true;
  CRegexpDll& regexp = pRegexp->emplace();
  const int options =
      (Common().bSearchLoHiCase ? CRegexpDll::kCaseSensitive : 0) | (bWholeLine ? CRegexpDll::kGlobal : 0);
  const HWND owner = hwndOwner ? hwndOwner : m_hWnd;
  if (!LoadRegexDllOrWarn(owner, regexp, true)) return false;
  if (!regexp.Compile(m_szCurSrchKey.c_str(), EngineReplacement(NewestReplaceKey(), nMode).c_str(), options)) {
    // The key compiled for the search: what the library refuses is the replacement.
    platform::MessageBox(owner, regexp.GetErrorText(), "正規表現エラー"_sj, MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  return true;
}

std::string CEditView::NewestReplaceKey() const {
  if (!m_pShareData || m_pShareData->nReplaceKeyCount <= 0) return {};
  return std::string(m_pShareData->szReplaceKeys[0], strnlen(m_pShareData->szReplaceKeys[0], kMaxPath));
}

bool CEditView::ReplaceSelectedHit(int nMode, bool bPaste, const char* pszReplacement, CRegexpDll* pReplaceRegexp,
                                   bool bWholeLine) {
  const SelectRange hit = m_sSelect;
  // The hit in document terms serves whole lines, the regexp and inserting before the hit only: a
  // plain replace-all of many hits would convert both ends of each for nothing.
  const bool needsDocPos = bWholeLine || pReplaceRegexp || nMode == 1;
  const POINT start = needsDocPos ? DocPosOf(hit.nColumnFrom, hit.nLineFrom) : POINT{};
  POINT end = needsDocPos ? DocPosOf(hit.nColumnTo, hit.nLineTo) : POINT{};
  CDocLine* docLine = needsDocPos ? m_pcEditDoc->m_cDocLineMgr.GetLine(start.y) : nullptr;
  if (bWholeLine && docLine) {
    // The rest of the hit's line goes with it.
    end = POINT{docLine->GetLengthWithoutEol(), start.y};
    int column = 0, line = 0;
    Layout().DocToWrapPos(end.x, end.y, &column, &line);
    m_sSelect.nLineTo = line;
    m_sSelect.nColumnTo = column;
  }

  if (pReplaceRegexp && !bPaste) {
    if (!docLine) return false;
    int length = 0;
    const char* text = docLine->GetText(&length);
    const int textEnd = docLine->GetLengthWithoutEol();
    if (!text || !pReplaceRegexp->Replace(text, length, start.x)) return false;
    const BREGEXP* result = pReplaceRegexp->GetResult();
    if (!result || !result->outp || result->outendp < result->outp) return false;
    const int outLength = static_cast<int>(result->outendp - result->outp);
    // The engine's output runs to the end of the line: the replaced range is the match (the rest
    // of the line for whole lines), and what followed it is not part of the replacement. A range
    // that ends inside the line end takes the whole line end, whose bytes the output then holds.
    int rangeEnd = length;
    if (!bWholeLine && result->endp && result->endp[0] && result->endp[0] >= text + start.x &&
        result->endp[0] <= text + length) {
      rangeEnd = static_cast<int>(result->endp[0] - text);
    }
    if (rangeEnd > textEnd && rangeEnd < length) rangeEnd = length;
    const int following = std::min(length - rangeEnd, outLength);
    int columnFrom = 0, lineFrom = 0, columnTo = 0, lineTo = 0;
    Layout().DocToWrapPos(std::min<int>(start.x, textEnd), start.y, &columnFrom, &lineFrom);
    if (rangeEnd > textEnd && length > textEnd) {
      Layout().DocToWrapPos(0, start.y + 1, &columnTo, &lineTo);
    } else {
      Layout().DocToWrapPos(rangeEnd, start.y, &columnTo, &lineTo);
    }
    ClearSelection(false);
    if (outLength - following == 0 && lineFrom == lineTo && columnFrom == columnTo) {
      // Nothing by nothing: the text and its undo stay as they are.
      PlaceCursor(columnFrom, lineFrom, false, 20);
      return true;
    }
    ReplaceRangeUndoable(lineFrom, columnFrom, lineTo, columnTo, nullptr, result->outp, outLength - following, false);
    return true;
  }

  // Inserting before or after the hit places the caret first, whatever is then put in.
  if (nMode == 1 || nMode == 2) {
    const SelectRange place = nMode == 1 ? SelectRange{hit.nLineFrom, hit.nColumnFrom, 0, 0}
                                         : SelectRange{m_sSelect.nLineTo, m_sSelect.nColumnTo, 0, 0};
    ClearSelection(m_bDrawSWITCH != 0);
    PlaceCursor(place.nColumnFrom, place.nLineFrom, false, 20);
  }
  if (bPaste) {
    Command_PASTE();
  } else {
    Command_INSTEXT(false, pszReplacement, static_cast<int>(strlen(pszReplacement)), true);
  }
  if (nMode == 1) {
    // On past the hit that now follows the inserted text.
    const POINT caret = DocPosOf(m_nCaretPosX, m_nCaretPosY);
    const POINT after =
        start.y == end.y ? POINT{caret.x + (end.x - start.x), caret.y} : POINT{end.x, caret.y + (end.y - start.y)};
    int column = 0, line = 0;
    Layout().DocToWrapPos(after.x, after.y, &column, &line);
    PlaceCursor(column, line, false, 20);
    m_nCaretPosX_Prev = m_nCaretPosX;
  }
  return true;
}

void CEditView::Command_REPLACE(HWND hwndOwner) {
  if (!m_pcEditDoc) return;
  const CReplaceDialog* dialog = m_pSearchDialogs ? &m_pSearchDialogs->Replace() : nullptr;
  const int mode = dialog ? dialog->m_nReplaceTarget : 0;
  if (!ReplaceClipboardReady(hwndOwner)) return;
  const bool paste = dialog && dialog->m_nPaste;
  if (IsTextSelected()) {
    const int line = m_sSelect.nLineFrom;
    const int column = m_sSelect.nColumnFrom;
    ClearSelection(true);
    PlaceCursor(column, line, true, 20);
  }
  if (!Command_SEARCHNEXT(true, hwndOwner, nullptr)) return;

  std::optional<CRegexpDll> regexp;
  if (!paste && !CompileReplacement(hwndOwner, mode, false, &regexp)) return;
  const bool emptyHit = m_sSelect.IsEmpty();
  ReplaceSelectedHit(mode, paste, NewestReplaceKey().c_str(), regexp ? &*regexp : nullptr, false);
  if (emptyHit) {
    // An empty selection where the empty hit was replaced: the next search starts one whole
    // character on, as if the hit had taken that character along, and the same place is not
    // replaced again.
    m_sSelectBgn = SelectRange{m_nCaretPosY, m_nCaretPosX, m_nCaretPosY, m_nCaretPosX};
    m_sSelect = m_sSelectBgn;
  }
  RepaintAll();
  Command_SEARCHNEXT(true, hwndOwner, "最後まで置換しました。"_sj);
}

void CEditView::Command_REPLACEALL() { ReplaceAllRun(false); }

void CEditView::Command_REPLACEALLLINE() { ReplaceAllRun(true); }

void CEditView::ReplaceAllRun(bool bWholeLine) {
  if (!m_pcEditDoc) return;
  CReplaceDialog* dialog = m_pSearchDialogs ? &m_pSearchDialogs->Replace() : nullptr;
  const int mode = dialog ? dialog->m_nReplaceTarget : 0;
  if (!ReplaceClipboardReady(nullptr)) return;
  const bool paste = dialog && dialog->m_nPaste;
  const CommonSettings& common = Common();

  // The area: the selection when asked for, else the whole text. A line area's end is kept as a
  // document position, which replacements before it move.
  const bool hasArea = common.bSearchSelectedArea && IsTextSelected();
  const bool areaBox = hasArea && m_bBeginBoxSelect;
  SelectRect box{};
  POINT areaStart{0, 0};
  POINT areaEnd{0, 0};
  if (hasArea) {
    box = MakeSelectionRect(m_sSelect.nLineFrom, m_sSelect.nColumnFrom, m_sSelect.nLineTo, m_sSelect.nColumnTo);
    areaStart = DocPosOf(m_sSelect.nColumnFrom, m_sSelect.nLineFrom);
    areaEnd = DocPosOf(m_sSelect.nColumnTo, m_sSelect.nLineTo);
    if (areaBox) areaStart = DocPosOf(box.nLeft, box.nTop);
  }

  const int drawSwitch = m_bDrawSWITCH;
  m_bDrawSWITCH = 0;
  CCancelDialog cancel;
  const HWND hwndCancel = cancel.DoModeless(m_hInstance, m_hWnd, kReplaceAllTemplate);
  // The job pumps messages: the pane and the windows around it take no input meanwhile. Only
  // those enabled now are enabled again at the end.
  std::vector<HWND> disabled;
  const HWND parent = m_hwndParent ? m_hwndParent : (m_hWnd ? platform::GetParent(m_hWnd) : nullptr);
  for (const HWND w : {m_hWnd, parent, parent ? platform::GetParent(parent) : nullptr}) {
    if (w && platform::EnableWindow(w, 0) == 0) disabled.push_back(w);
  }
  int rows = Layout().GetLineCount();
  int shift = 0;
  if (rows >= 0x8000) {
    while ((rows >> shift) >= 0x10000) ++shift;
  }
  if (hwndCancel) {
    platform::SendDlgItemMessage(hwndCancel, 1195, PBM_SETRANGE, 0, MAKELPARAM(0, rows >> shift));
    platform::SetDlgItemText(hwndCancel, 1197, "0");
  }

  ClearSelection(false);
  {
    int column = 0, line = 0;
    Layout().DocToWrapPos(areaStart.x, areaStart.y, &column, &line);
    PlaceCursor(column, line, false, 20);
  }

  const std::string replacement = NewestReplaceKey();
  bool ready = RefreshSearchKey(nullptr, false);
  std::optional<CRegexpDll> regexp;
  if (ready && !paste) ready = CompileReplacement(hwndCancel, mode, bWholeLine, &regexp);

  int count = 0;
  bool cancelled = false;
  SelectRange hit;
  bool have = ready && FindFrom(m_nCaretPosY, m_nCaretPosX, true, &hit);
  uint32_t lastPump = 0;
  bool pumped = false;
  int hitsSinceClock = 0;
  // What the dialog shows: set again only when it changed.
  int shownPos = -1;
  int shownCount = -1;
  // How far the replacements on one row moved the rest of it (a box area's columns).
  int boxShiftRow = -1;
  int boxShift = 0;
  while (have) {
    // The dialog is served (and its bar and count brought up to date) as often as a person can
    // see it change; serving it at every hit cost more than the replacing.
    const bool lookAtClock = hwndCancel && (!pumped || ++hitsSinceClock >= kClockEveryHits);
    if (lookAtClock && (!pumped || platform::NowMs() - lastPump >= kPumpEveryMs)) {
      // The bar paints at once when set, the count when the dialog is served: neither is touched
      // while it shows what it would be set to.
      if (const int pos = m_nCaretPosY >> shift; pos != shownPos) {
        platform::SendDlgItemMessage(hwndCancel, 1195, PBM_SETPOS, pos, 0);
        shownPos = pos;
      }
      if (count != shownCount) {
        platform::SetDlgItemText(hwndCancel, 1197, std::to_string(count).c_str());
        shownCount = count;
      }
      PumpPendingMessages(hwndCancel);
      if (!platform::IsWindow(hwndCancel)) break;
      pumped = true;
      lastPump = platform::NowMs();
    }
    if (lookAtClock) hitsSinceClock = 0;
    if (cancel.m_bCanceled) {
      cancelled = true;
      break;
    }
    bool inside = true;
    // A hit on the row of the last replacement is measured in the columns it had before the
    // replacements on that row moved it.
    const int boxShiftHere = areaBox && hit.nLineFrom == boxShiftRow ? boxShift : 0;
    if (areaBox) {
      const int from = hit.nColumnFrom - boxShiftHere;
      const int to = hit.nColumnTo - boxShiftHere;
      if (hit.nLineFrom > box.nBottom || (hit.nLineFrom == box.nBottom && to > box.nRight)) break;
      // A hit beside the box on one of its rows is not in the selection: passed over.
      inside = hit.nLineTo == hit.nLineFrom && from >= box.nLeft && to <= box.nRight;
    }
    POINT hitEnd{};
    if (hasArea && !areaBox) {
      hitEnd = DocPosOf(hit.nColumnTo, hit.nLineTo);
      // A hit reaching past the area's end would change text outside the selection.
      if (Compare(hitEnd, areaEnd) > 0) break;
    }
    int nextLine = hit.nLineTo;
    int nextColumn = hit.nColumnTo;
    bool replaced = false;
    if (inside) {
      const int rowsBefore = Layout().GetLineCount();
      SelectHit(hit);
      replaced = ReplaceSelectedHit(mode, paste, replacement.c_str(), regexp ? &*regexp : nullptr, bWholeLine);
      if (replaced) {
        if (hasArea && !areaBox) {
          const POINT caret = DocPosOf(m_nCaretPosX, m_nCaretPosY);
          if (hitEnd.y == areaEnd.y) areaEnd.x += caret.x - hitEnd.x;
          areaEnd.y += caret.y - hitEnd.y;
        }
        if (areaBox) {
          box.nBottom += Layout().GetLineCount() - rowsBefore;
          // The rest of the hit's row now follows the caret.
          boxShiftRow = m_nCaretPosY;
          boxShift = m_nCaretPosX - (hit.nColumnTo - boxShiftHere);
        }
        ++count;
        nextLine = m_nCaretPosY;
        nextColumn = m_nCaretPosX;
      } else {
        ClearSelection(false);
      }
    }
    // After an empty hit the next search starts one whole character on, so that the same empty
    // match is not replaced for ever; past the end of the text the run is over.
    const bool pastEnd = hit.IsEmpty() && !StepOneCharacter(&nextLine, &nextColumn);
    SelectRange next;
    have = !pastEnd && FindFrom(nextLine, nextColumn, true, &next);
    // An empty match right where a replaced one ended is not another hit (as sed has it).
    if (have && replaced && !hit.IsEmpty() && next.IsEmpty() && next.nLineFrom == nextLine &&
        next.nColumnFrom == nextColumn) {
      have = StepOneCharacter(&nextLine, &nextColumn) && FindFrom(nextLine, nextColumn, true, &next);
    }
    // The run also ends where the next hit would not take the caret forward.
    if (have && hit.IsEmpty() && next.IsEmpty() &&
        Compare(next.nLineFrom, next.nColumnFrom, m_nCaretPosY, m_nCaretPosX) <= 0) {
      have = false;
    }
    hit = next;
  }

  if (hwndCancel && platform::IsWindow(hwndCancel)) {
    platform::SendDlgItemMessage(hwndCancel, 1195, PBM_SETPOS, cancelled ? m_nCaretPosY >> shift : rows >> shift, 0);
    platform::SetDlgItemText(hwndCancel, 1197, std::to_string(count).c_str());
  }
  cancel.Close(0);
  for (const HWND w : disabled) platform::EnableWindow(w, 1);

  const POINT caret = DocPosOf(m_nCaretPosX, m_nCaretPosY);
  ClearSelection(false);
  if (hasArea && !cancelled) {
    int columnFrom = 0, lineFrom = 0, columnTo = 0, lineTo = 0;
    if (areaBox) {
      columnFrom = box.nLeft;
      lineFrom = box.nTop;
      columnTo = box.nRight;
      lineTo = box.nBottom;
    } else {
      Layout().DocToWrapPos(areaStart.x, areaStart.y, &columnFrom, &lineFrom);
      Layout().DocToWrapPos(areaEnd.x, areaEnd.y, &columnTo, &lineTo);
    }
    m_sSelectBgn = SelectRange{lineFrom, columnFrom, lineFrom, columnFrom};
    m_sSelect = SelectRange{lineFrom, columnFrom, lineTo, columnTo};
    m_bBeginBoxSelect = areaBox;
  }
  {
    int column = 0, line = 0;
    Layout().DocToWrapPos(caret.x, caret.y, &column, &line);
    PlaceCursor(column, line, false, 20);
    m_nCaretPosX_Prev = m_nCaretPosX;
  }
  if (dialog) {
    dialog->m_nReplaceCnt = count;
    dialog->m_bCanceled = cancelled ? 1 : 0;
  }
  m_bDrawSWITCH = drawSwitch;
  RepaintAll();
  if (m_pEditWnd && m_pEditWnd->Window()) platform::SetForegroundWindow(m_pEditWnd->Window());
}

// ---------------------------------------------------------------- the highlight

void CEditView::Command_SEARCHCLEARMARK() {
  if (!m_pcEditDoc) return;
  if (!IsTextSelected()) {
    m_bCurSrchKeyMark = false;
    RepaintAll();
    return;
  }
  CMemory text;
  SelectionOrWord(&text, CSearchDialogBase::kKeyLimit);
  if (text.GetLength() == 0) return;
  if (CShareData* share = CShareData::GetInstance()) share->AddSearchKey(text.GetPtr());
  Common().bSearchRegularExp = 0;
  Common().bSearchWordOnly = 0;
  RefreshSearchKey(m_hWnd, false);
  RepaintAll();
}

// ---------------------------------------------------------------- the family's registration table
namespace {

HWND OwnerOf(const CommandCall& call) { return reinterpret_cast<HWND>(call.lparam[0]); }

LRESULT SearchNext(CEditView& view, const CommandCall& call) {
  view.Command_SEARCHNEXT(call.bRedraw, OwnerOf(call), call.Text(1));
  return 1;
}

LRESULT SearchPrev(CEditView& view, const CommandCall& call) {
  view.Command_SEARCHPREV(call.bRedraw, OwnerOf(call));
  return 1;
}

LRESULT Replace(CEditView& view, const CommandCall& call) {
  view.Command_REPLACE(OwnerOf(call));
  return 1;
}

constexpr CommandHandlerEntry kSearchCommands[] = {
    {30901, 30901, &PlainHandler<&CEditView::Command_SEARCHDIALOG>},
    {30902, 30902, &SearchNext},
    {30903, 30903, &SearchPrev},
    {30904, 30904, &PlainHandler<&CEditView::Command_REPLACEDIALOG>},
    {30905, 30905, &PlainHandler<&CEditView::Command_SEARCHCLEARMARK>},
    {30906, 30906, &Replace},
    {30907, 30907, &PlainHandler<&CEditView::Command_REPLACEALL>},
    {30908, 30908, &PlainHandler<&CEditView::Command_SEARCHDIALOG>},
    {30912, 30912, &PlainHandler<&CEditView::Command_REPLACEALLLINE>},
    {31360, 31360, &PlainHandler<&CEditView::Command_REDRAW>},
};

}  // namespace

std::span<const CommandHandlerEntry> SearchCommandFamily() { return kSearchCommands; }
