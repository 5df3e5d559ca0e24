#include "editor/view/pane/doc_views.h"

#include "editor/foundation/document/edit_doc.h"
#include "platform/window.h"

std::unique_ptr<CDocViews> CDocViews::Make(CEditDoc& doc, HINSTANCE instance, HWND parent, IEditWindow* editWindow) {
  std::unique_ptr<CDocViews> views(new CDocViews);
  views->m_doc = &doc;
  if (!views->m_splitter.Create(instance, parent, editWindow)) return nullptr;
  const HWND splitter = views->m_splitter.GetHwnd();
  std::array<CEditView*, 4> panes{};
  for (int i = 0; i < 4; ++i) {
    CEditView& pane = views->Pane(i);
    pane.SetEditWindow(editWindow);
    pane.SetSearchDialogs(&views->m_searchDialogs);
    pane.SetFuncListWindow(&views->m_funcList);
    pane.SetJumpDialog(&views->m_jumpDialog);
    if (!pane.Create(instance, splitter, &doc, i, i == 0) && i == 0) return nullptr;
    // A pane whose window could not be made takes no part in the splits.
    if (pane.Window()) panes[static_cast<size_t>(i)] = &pane;
  }
  DocPorts ports = doc.Ports();
  ports.splitter = &views->m_splitter;
  for (int i = 0; i < 4; ++i) ports.panes[static_cast<size_t>(i)] = &views->Pane(i);
  doc.SetPorts(ports);
  views->m_splitter.AttachPanes(panes);
  if (const HWND first = views->Pane(0).Window()) platform::SetFocus(first);
  return views;
}

CDocViews::~CDocViews() {
  if (!m_doc) return;
  // The document outlives its views only for the moment of its own destruction; it must not call
  // into panes that are going.
  // Only what these views set: a document whose views could not be made keeps its other ports.
  DocPorts ports = m_doc->Ports();
  if (ports.splitter == &m_splitter) ports.splitter = nullptr;
  for (size_t i = 0; i < ports.panes.size(); ++i) {
    if (ports.panes[i] == &m_panes[i]) ports.panes[i] = nullptr;
  }
  m_doc->SetPorts(ports);
}

void InstallDocViews() {
  SetDocViewsFactory([](CEditDoc& doc, HINSTANCE instance, HWND parent, void* editWindow) -> std::unique_ptr<IDocViews> {
    return CDocViews::Make(doc, instance, parent, static_cast<IEditWindow*>(editWindow));
  });
}
