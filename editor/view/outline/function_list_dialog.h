// The function list (template 122): a document's outline in a modeless dialog, as a sortable
// three-column list or as a tree, by the outline type. It preselects the entry around the caret,
// jumps the edit window's active pane to the chosen entry, copies the whole outline as text, and
// remembers its size and position relative to the edit window when the settings ask for it.
// One per document; the object outlives its window.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "editor/foundation/document/outline_items.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/ui/dialog_base.h"

class CEditView;

class CFuncListDialog : public CDialogBase {
 public:
  static constexpr int kTemplate = 122;
  static constexpr int kList = 1092;
  static constexpr int kTree = 1140;
  static constexpr int kSortCombo = 1118;
  static constexpr int kSortLabel = 1433;
  static constexpr int kCopy = 1149;
  static constexpr int kHelp = 1099;
  static constexpr int kAutoClose = 1306;
  static constexpr int kMarkUpBlank = 1307;
  static constexpr int kFocusOnJump = 1308;
  static constexpr int kRememberPos = 1491;
  // Tree nodes made for scopes (and the global group) are numbered from here up; entries by index.
  static constexpr int kFirstScopeNumber = -64000;

  // Closes an open dialog here, so that its own destruction handling (the remembered position) runs.
  ~CFuncListDialog() override { Close(0); }

  bool IsOpen() const { return m_hWnd != nullptr; }
  // The outline type the open dialog shows.
  int OutlineType() const { return m_nOutlineType; }
  CEditView* Pane() const { return m_pcEditView; }

  // Opens the dialog over the pane for the list (not owned; it must live as long as the dialog).
  // nCurLine: the caret's display line + 1. bLineNumIsCRLF: column 0 shows document lines.
  HWND Open(HINSTANCE hInstance, HWND hwndParent, CEditView* pane, COutlineItemList* list, int nCurLine,
            int nOutlineType, bool bLineNumIsCRLF);
  // Shows a new outline in the open dialog.
  void Redraw(int nOutlineType, COutlineItemList* list, int nCurLine);
  // Fills list or tree, caption and check boxes from the stored outline.
  void FillList();
  // Jumps to the selected entry; with bCloseOrFocus, then closes (auto-close) or gives the pane the
  // focus (focus-on-jump). False when the selection names no line.
  bool JumpToItem(bool bCloseOrFocus);
  // The list view's order: by document line, by name (unsigned bytes) or by kind; sortParam is
  // the dialog.
  static int CompareItems(LPARAM first, LPARAM second, LPARAM sortParam);

  // The outline as the copy button puts it on the clipboard.
  const CMemory& CopyText() const { return m_cmemClipText; }

  INT_PTR OnInitDialog(HWND hwndDlg, WPARAM wParam, LPARAM lParam) override;
  INT_PTR OnDestroy() override;
  INT_PTR OnNotify(WPARAM wParam, LPARAM lParam) override;
  INT_PTR OnSize(WPARAM wParam, LPARAM lParam) override;
  // The selected entry's document line (1-based); -1 for none or a scope node.
  int ReadControls() override;
  void FillControls() override { FillList(); }
  INT_PTR OnButtonClicked(int wID) override;
  INT_PTR OnSelChange(HWND hwndCtl, int wID) override;
  const DWORD* GetHelpIds() override;

  static void RegisterTemplate();

 private:
  // ---- function_list_dialog_fill.cpp
  // The entry index the caret falls in (-1 for an empty outline).
  int PreselectedIndex() const;
  void FillPlainList(bool bVisualBasic);
  void FillTreeCpp(bool bSuffixes);
  void FillTreeByDepth();
  // The check boxes from the settings (1307 only for the bookmark list).
  void ApplyCheckBoxes();
  // ---- function_list_dialog.cpp
  void SortList(int nColumn);
  void SortTree();
  // The tree's document order: the order the nodes were made in (sortParam is the dialog).
  static int CompareTreeOrder(LPARAM first, LPARAM second, LPARAM sortParam);
  // A key pressed in the list or the tree, looked up in the key assignments.
  void OnKey(int nVirtualKey);
  void CopyToClipboard();
  void FocusPane();
  // The edit window's normal position (its left and top), false when it has none.
  bool FrameOrigin(POINT* origin) const;

  COutlineItemList* m_pcFuncInfoArr = nullptr;  // not owned
  int m_nCurLine = 0;
  int m_nSortCol = 0;
  int m_nOutlineType = 0;
  CMemory m_cmemClipText;
  bool m_bLineNumIsCRLF = false;
  bool m_bWaitTreeProcess = false;  // a tree double-click jumped; the focus question waits
  int m_nSortType = 0;              // tree: 0 document order, 1 alphabetical
  bool m_bTreeMode = false;
  CEditView* m_pcEditView = nullptr;
  // A scope tree's numbers (entry indices and scope numbers) by the place they were made at; empty
  // for the depth tree, whose entry indices are that order already.
  std::map<LPARAM, int> m_treeOrder;
};

// What the outline command keeps for a document: the outline of its last parse and the dialog that
// shows it (which closes before the list goes).
struct FuncListWindow {
  COutlineItemList cList;
  CFuncListDialog cDialog;
};
