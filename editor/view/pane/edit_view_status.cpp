// What the pane tells the edit window (status-bar texts or the caption message), its right-click
// menu, and the keyword tip.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/menu_drawer_interface.h"
#include "editor/foundation/text/char_codes.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/ui/tip_wnd.h"
#include "editor/view/pane/edit_view.h"
#include "editor/view/pane/edit_window.h"
#include "platform/desktop.h"
#include "platform/monitor.h"
#include "platform/popup_menu.h"
#include "platform/sjis_literal.h"
#include "platform/string_resource.h"

namespace {

constexpr int kDictionaryItemId = 2000;
constexpr int kDictionaryItemBytes = 80;

struct DocPoint {
  int column = 0;  // byte offset in the document line
  int line = 0;    // document line
};

DocPoint ToDocPoint(CWrapLineMgr& layout, int column, int line) {
  DocPoint point;
  layout.WrapToDocPos(column, line, &point.column, &point.line);
  return point;
}

bool Before(const DocPoint& a, const DocPoint& b) {
  return a.line < b.line || (a.line == b.line && a.column < b.column);
}

// A byte offset of a selection end in its document line: one inside or past the line end counts
// the whole line end, however many bytes it has.
int SelectionOffset(CDocLineMgr& lines, const DocPoint& point) {
  int length = 0;
  int content = 0;
  if (!lines.GetLineText(point.line, &length)) return 0;
  lines.GetLineTextNoLineEnd(point.line, &content);
  if (point.column > content) return length;
  return std::clamp(point.column, 0, length);
}

bool PointInRect(const RECT& rect, POINT point) {
  return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

}  // namespace

// ---- Status texts --------------------------------------------------------------------------------

void CEditView::ShowCaretPosition() {
  if (!m_bDrawSWITCH || !m_pcEditDoc || !m_pEditWnd) return;
  CDocLineMgr& lines = m_pcEditDoc->m_cDocLineMgr;
  const DocPoint caret = ToDocPoint(Layout(), m_nCaretPosX, m_nCaretPosY);
  int line = m_nCaretPosY + 1;
  int column = m_nCaretPosX + 1;
  if (Type().bCountDocumentLines) {
    line = caret.line + 1;
    column = DocLineOffsetToColumn(caret.line, caret.column) + 1;
  }

  // The bytes of the character under the caret; on the line end, all of its bytes.
  unsigned char bytes[2] = {};
  int count = 0;
  int length = 0;
  int content = 0;
  const char* text = lines.GetLineText(caret.line, &length);
  lines.GetLineTextNoLineEnd(caret.line, &content);
  if (text && caret.column >= 0 && caret.column < content) {
    count = SjisCharSize(reinterpret_cast<const unsigned char*>(text), content, caret.column);
  } else if (text && caret.column == content && length > content) {
    count = std::min(2, length - content);
  }
  for (int i = 0; i < count; ++i) bytes[i] = static_cast<unsigned char>(text[caret.column + i]);

  const CLineEnd lineEnd(m_pcEditDoc->m_nNewLineType);
  const int code = m_pcEditDoc->m_nCharCode;
  char buffer[256];
  if (!m_pEditWnd->HasStatusBar()) {
    const char* shortName = code >= 0 && code < kCodeCount ? kCodeShortNames[code] : "";
    if (count == 1) {
      snprintf(buffer, sizeof(buffer), "%s(%s)   [%02x]%6d：%d"_sj, shortName, lineEnd.GetName(), bytes[0], line,
               column);
    } else if (count == 2) {
      snprintf(buffer, sizeof(buffer), "%s(%s) [%02x%02x]%6d：%d"_sj, shortName, lineEnd.GetName(), bytes[0], bytes[1],
               line, column);
    } else {
      snprintf(buffer, sizeof(buffer), "%s(%s)       %6d：%d"_sj, shortName, lineEnd.GetName(), line, column);
    }
    m_pEditWnd->SetCaptionMessage(buffer);
    return;
  }
  m_pEditWnd->SetStatusText(0, "");
  snprintf(buffer, sizeof(buffer), "%5d 行 %4d 桁"_sj, line, column);
  m_pEditWnd->SetStatusText(1, buffer);
  m_pEditWnd->SetStatusText(2, lineEnd.GetName());
  if (count == 1) {
    snprintf(buffer, sizeof(buffer), "%02x  ", bytes[0]);
  } else if (count == 2) {
    snprintf(buffer, sizeof(buffer), "%02x%02x", bytes[0], bytes[1]);
  } else {
    snprintf(buffer, sizeof(buffer), "    ");
  }
  m_pEditWnd->SetStatusText(3, buffer);
  const char* codeName = CharCodeName(code);
  m_pEditWnd->SetStatusText(4, codeName ? codeName : "");
  m_pEditWnd->SetStatusText(5, "");
  m_pEditWnd->SetStatusText(6, IsInsertMode() ? "挿入"_sj : "上書"_sj);
}

void CEditView::ShowSelectionSize() {
  if (!m_pEditWnd || !m_pEditWnd->HasStatusBar()) return;
  if (!m_pcEditDoc || !IsTextSelected()) {
    m_pEditWnd->SetStatusText(0, "");
    return;
  }
  char buffer[128];
  const SelectRange& s = m_sSelect;
  if (m_bBeginBoxSelect) {
    snprintf(buffer, sizeof(buffer), "%d Columns * %d lines selected.", std::abs(s.nColumnTo - s.nColumnFrom),
             std::abs(s.nLineTo - s.nLineFrom) + 1);
    m_pEditWnd->SetStatusText(0, buffer);
    return;
  }
  DocPoint from = ToDocPoint(Layout(), s.nColumnFrom, s.nLineFrom);
  DocPoint to = ToDocPoint(Layout(), s.nColumnTo, s.nLineTo);
  int lastLine = s.nLineTo;
  int firstLine = s.nLineFrom;
  int lastColumn = s.nColumnTo;
  if (Before(to, from)) {
    std::swap(from, to);
    std::swap(firstLine, lastLine);
    lastColumn = s.nColumnFrom;
  }
  CDocLineMgr& lines = m_pcEditDoc->m_cDocLineMgr;
  const int fromOffset = SelectionOffset(lines, from);
  const int toOffset = SelectionOffset(lines, to);
  int64_t bytes = 0;
  if (from.line == to.line) {
    bytes = toOffset - fromOffset;
  } else {
    int length = 0;
    lines.GetLineText(from.line, &length);
    bytes = length - fromOffset;
    for (int line = from.line + 1; line < to.line; ++line) {
      lines.GetLineText(line, &length);
      bytes += length;
    }
    bytes += toOffset;
  }
  int lineCount = lastLine - firstLine + 1;
  if (lastColumn == 0 || lastLine >= Layout().GetLineCount()) --lineCount;
  snprintf(buffer, sizeof(buffer), "%lld bytes (%d lines) selected.",
           static_cast<long long>(std::max<int64_t>(0, bytes)), lineCount);
  m_pEditWnd->SetStatusText(0, buffer);
}

void CEditView::ShowStatusMessage(const char* text) {
  if (!m_pEditWnd) return;
  if (m_pEditWnd->HasStatusBar()) {
    m_pEditWnd->SetStatusText(0, text ? text : "");
  } else {
    m_pEditWnd->SetCaptionMessage(text ? text : "");
  }
}

// ---- Selected text -------------------------------------------------------------------------------

bool CEditView::GetSelectedFirstLine(CMemory* out) const {
  out->Clear();
  if (!IsTextSelected()) return false;
  SelectionOrWord(out, INT32_MAX);
  return out->GetLength() > 0;
}

void CEditView::GetSelectedTextOrWord(CMemory* out, int maxBytes) const {
  if (out) SelectionOrWord(out, maxBytes);
}

// ---- Right-click menu ----------------------------------------------------------------------------

bool CEditView::IsMouseInPane() const {
  POINT mouse{};
  RECT window{};
  return m_hWnd && platform::GetCursorPos(&mouse) && platform::GetWindowRect(m_hWnd, &window) &&
         PointInRect(window, mouse);
}

int CEditView::ShowContextMenu() {
  const CommonSettings& common = Common();
  const HMENU menu = CreatePopupMenu();
  if (!menu) return 0;
  IMenuDrawer* drawer = m_pEditWnd ? m_pEditWnd->MenuDrawer() : nullptr;
  const int items = std::clamp(common.nCMIN[0], 0, kCustomMenuItems);
  for (int i = 0; i < items; ++i) {
    const int command = common.nCMIF[0][i];
    if (command == 0) {
      AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    char name[256] = {};
    if (!m_pEditWnd || !m_pEditWnd->GetCommandName(command, name, sizeof(name))) {
      LoadString(m_hInstance, static_cast<UINT>(command), name, sizeof(name));
    }
    char label[300];
    const char key = common.nCMIK[0][i];
    if (key != '\0') {
      snprintf(label, sizeof(label), "%s (&%c)", name, key);
    } else {
      snprintf(label, sizeof(label), "%s", name);
    }
    const bool enabled = !m_pEditWnd || m_pEditWnd->IsCommandEnabled(command);
    const UINT flags = MF_BYPOSITION | MF_STRING | (enabled ? 0 : MF_GRAYED);
    if (drawer) {
      drawer->MyAppendMenu(menu, flags, static_cast<uintptr_t>(command), label);
    } else {
      AppendMenu(menu, flags, static_cast<uintptr_t>(command), label);
    }
  }

  CMemory word;
  if (Type().bUseKeyWordHelp && m_nCaretWidth > 0 && !m_bInMenuLoop && IsMouseInPane() && GetSelectedFirstLine(&word) &&
      LookUpKeyword(word.GetPtr(), word.GetLength())) {
    // Cut on a whole character, so that the item never ends in half of one; "&" shows as itself.
    const int kept = WholeCharsPrefixLength(m_cTipText.GetPtr(), m_cTipText.GetLength(), kDictionaryItemBytes);
    std::string item;
    for (int i = 0; i < kept; ++i) {
      item += m_cTipText.GetPtr()[i];
      if (m_cTipText.GetPtr()[i] == '&') item += '&';
    }
    InsertMenu(menu, 0, MF_BYPOSITION | MF_STRING, kDictionaryItemId, item.c_str());
    InsertMenu(menu, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  }

  POINT mouse{};
  platform::GetCursorPos(&mouse);
  const HWND owner = m_pEditWnd && m_pEditWnd->Window() ? m_pEditWnd->Window() : m_hWnd;
  const int chosen = platform::TrackPopupMenu(menu, TPM_TOPALIGN | TPM_LEFTALIGN | TPM_RETURNCMD | TPM_LEFTBUTTON,
                                              mouse.x, mouse.y - 4, 0, owner, nullptr);
  DestroyMenu(menu);
  return chosen;
}

// ---- Keyword tip ---------------------------------------------------------------------------------

bool CEditView::LookUpKeyword(const char* word, int length) {
  if (!word || length <= 0) return false;
  if (m_cTipWord.GetLength() > 0 && m_cTipWord.View() == std::string_view(word, static_cast<size_t>(length))) {
    return m_bTipFound;
  }
  m_cTipWord.Assign(word, length);
  m_cTipText.Clear();
  const char* file = Type().szKeyWordHelpFile;
  m_bTipFound = m_cDicMgr.Search(m_cTipWord.View(), &m_cTipText,
                                 std::string_view(file, strnlen(file, sizeof(Type().szKeyWordHelpFile))));
  return m_bTipFound;
}

bool CEditView::ShowKeywordTipFor(int x, int y, const char* word, const RECT* popupRect) {
  if (!Type().bUseKeyWordHelp || m_bInMenuLoop || m_dwTipTimer == 0 || !m_pcTipWnd || !word) return false;
  if (!LookUpKeyword(word, static_cast<int>(strlen(word)))) return false;
  m_dwTipTimer = 0;
  m_pcTipWnd->m_cKey.AssignFrom(m_cTipWord);
  m_pcTipWnd->m_KeyWasHit = 1;
  m_pcTipWnd->m_cInfo.AssignFrom(m_cTipText);
  RECT size{};
  m_pcTipWnd->MeasureText(&size);
  const int tipWidth = size.right - size.left + 8;
  if (popupRect) {
    MONITORINFO monitor;
    const HMONITOR screen = platform::MonitorFromRect(popupRect, MONITOR_DEFAULTTONEAREST);
    if (screen && platform::GetMonitorInfo(screen, &monitor) && popupRect->right + tipWidth >= monitor.rcWork.right &&
        popupRect->left - tipWidth - 8 >= monitor.rcWork.left) {
      x = popupRect->left - tipWidth - 8;
    }
  }
  m_pcTipWnd->ShowTip(x, y, nullptr, nullptr);
  return true;
}
