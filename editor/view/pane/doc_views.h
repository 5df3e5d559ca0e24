// The views CEditDoc::Create makes: the splitter inside the edit window and the document's four
// panes inside it, pane 0 shown and focused, the others hidden until a split shows them.
#pragma once

#include <array>
#include <memory>

#include "editor/foundation/document/doc_interfaces.h"
#include "editor/view/pane/edit_view.h"
#include "editor/view/pane/splitter_wnd.h"
#include "editor/view/outline/function_list_dialog.h"
#include "editor/view/outline/jump_dialog.h"
#include "editor/view/search/search_dialogs.h"

class IEditWindow;

class CDocViews : public IDocViews {
 public:
  // Null when the splitter or pane 0 cannot be made.
  static std::unique_ptr<CDocViews> Make(CEditDoc& doc, HINSTANCE instance, HWND parent, IEditWindow* editWindow);
  ~CDocViews() override;

  CSplitterWnd& Splitter() { return m_splitter; }
  CEditView& Pane(int index) { return m_panes[static_cast<size_t>(index)]; }

 private:
  CDocViews() = default;
  CEditDoc* m_doc = nullptr;
  CSplitterWnd m_splitter;
  std::array<CEditView, 4> m_panes;
  // The document's find and replace dialogs; they close before the panes they work on go.
  CSearchDialogs m_searchDialogs;
  // The document's outline and function list; closed before the panes go.
  FuncListWindow m_funcList;
  // The document's jump dialog: its values stay from one jump to the next.
  CJumpDialog m_jumpDialog;
};

// Makes CEditDoc::Create build these views in this process.
void InstallDocViews();
