#include "editor/shell/process/process_edit_window.h"

#include <algorithm>

#include "editor/foundation/text/doc_line.h"

CProcessEditWindow::CProcessEditWindow(CShareData& share, const RecentFileRecord& request)
    : m_share(share), m_wnd(share) {
  m_wnd.SetWindowRequest(request);
}

HWND CProcessEditWindow::Create(HINSTANCE hInstance, EditWindowId residentWindow, const char* pszPath, int nCharCode,
                                bool bReadOnly, int nDocumentType) {
  return m_wnd.Create(hInstance, residentWindow, pszPath, nCharCode, bReadOnly, nDocumentType);
}

void CProcessEditWindow::BecomeOutputWindow() {
  m_wnd.SetAsOutputWindow();
  CEditDoc& doc = m_wnd.Document();
  const int type = m_share.GetTypeByExtension("output");
  doc.m_nSettingType = type;
  doc.m_bTypeFixed = false;
  if (SharedSettings* record = m_share.GetShareData(); record && type >= 0 && type < kTypeSlots)
    ++record->TypeList[type].nChangeCounter;
  doc.UpdateFileIcon();
}

void CProcessEditWindow::ApplyPositionRequest(const RecentFileRecord& request) {
  CEditDoc& doc = m_wnd.Document();
  const int active = doc.GetActivePane();
  IDocPane* pane = active >= 0 && active < static_cast<int>(doc.Ports().panes.size())
                       ? doc.Ports().panes[static_cast<size_t>(active)]
                       : nullptr;
  if (!pane) return;
  if (request.nViewTopLine >= 0 && request.nViewLeftCol >= 0 && request.nViewTopLine < doc.m_cLayoutMgr.GetLineCount())
    pane->SetViewTopLeft(request.nViewTopLine, request.nViewLeftCol);
  if (request.nX >= 0 || request.nY >= 0) {
    // A part not given counts from the start.
    int column = std::max(0, request.nX);
    const int line = std::max(0, request.nY);
    // A column past the line's text is its end, never a place among or after the line end.
    if (const CDocLine* docLine = doc.m_cDocLineMgr.GetLine(line))
      column = std::min(column, docLine->GetLengthWithoutEol());
    int x = 0, y = 0;
    doc.m_cLayoutMgr.DocToWrapPos(column, line, &x, &y);
    // Also what the caret's remembered column becomes.
    pane->PlaceCaret(POINT{x, y});
  }
  pane->Redraw();
}

std::unique_ptr<IProcessEditWindow> MakeProcessEditWindow(CShareData& share, const RecentFileRecord& request) {
  return std::make_unique<CProcessEditWindow>(share, request);
}
