// The jump dialog (template 118, modal): a line number counted in display rows or document lines,
// or, for PL/SQL sources, counted from the first line of a package part chosen from the document's
// PL/SQL outline. One per document; its fields stay from one run to the next, and macros set them
// directly before the jump command reads them.
#pragma once

#include "editor/foundation/ui/dialog_base.h"
#include "editor/view/outline/jump_target.h"

class CEditDoc;

class CJumpDialog : public CDialogBase {
 public:
  static constexpr int kTemplate = 118;
  static constexpr int kLineNum = 1074;
  static constexpr int kLineNumSpin = 1372;
  static constexpr int kDisplayRows = 1214;
  static constexpr int kDocumentLines = 1215;
  static constexpr int kPlsql = 1076;
  static constexpr int kPlsqlBlocks = 1164;
  static constexpr int kPlsqlBaseLine = 1086;
  static constexpr int kPlsqlBaseSpin = 1186;
  static constexpr int kPlsqlLabel1 = 1362;
  static constexpr int kPlsqlLabel2 = 1363;
  static constexpr int kPlsqlLabel3 = 1364;
  static constexpr int kJump = 1388;
  static constexpr int kHelp = 1099;

  // Runs the dialog over the document, whose type's outline is nOutlineType (a PL/SQL one lists the
  // package parts, numbered in document lines when bCountDocumentLines, else in display rows, as the
  // type numbers lines); 1 when the user asked for the jump: the fields and the shared jump unit
  // then hold it.
  int DoModal(HINSTANCE hInstance, HWND hwndParent, CEditDoc* pcEditDoc, int nOutlineType,
              bool bCountDocumentLines);

  // What the jump command reads: these fields with the shared jump unit and the type's numbering.
  JumpRequest Request(bool bLineNumIsCRLF, bool bCountDocumentLines) const;

  INT_PTR OnInitDialog(HWND hwndDlg, WPARAM wParam, LPARAM lParam) override;
  INT_PTR OnNotify(WPARAM wParam, LPARAM lParam) override;
  INT_PTR OnButtonClicked(int wID) override;
  INT_PTR OnSelChange(HWND hwndCtl, int wID) override;
  void FillControls() override;
  // Reads the controls into the fields; 0 (the user told) when the line number is not a number.
  int ReadControls() override;

  static void RegisterTemplate();

  int m_nLineNum = 0;   // the line number; 0: none given
  int m_bPLSQL = 0;     // PL/SQL mode
  int m_nPLSQL_E1 = 1;  // the first line of the PL/SQL block the count starts at (1-based)
  int m_nPLSQL_E2 = 1;  // one more than the count that line starts from

 private:
  // The PL/SQL group enabled and the numbering radios disabled (forced to document lines) in
  // PL/SQL mode, the other way round outside it.
  void ApplyPlsqlMode();
  // The package headers and bodies of the document's PL/SQL outline as rows of 1164.
  void FillPackageRows();
  // One step of an up-down control on the number in its edit.
  void Step(int nEditId, int nDelta);
  bool SharedLineNumIsCRLF() const;
  void SetSharedLineNumIsCRLF(bool bDocumentLines);

  CEditDoc* m_pcEditDoc = nullptr;  // not owned; set while the dialog runs
  int m_nOutlineType = 0;
  bool m_bCountDocumentLines = true;
};

// A number typed into an edit: digits with blanks around them, saturating at INT32_MAX. False for
// an empty text, a sign or anything else.
bool ParseTypedLineNumber(const char* pszText, int* pnValue);
