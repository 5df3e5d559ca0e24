// The tag-jump list (template 228): the candidates of a tag search in a list view, one chosen with
// OK or a double click. In list mode it shows what the caller added; in keyword mode it searches
// the tags files itself as the user types a keyword.
#pragma once

#include <string>

#include "editor/foundation/ui/dialog_base.h"
#include "editor/foundation/ui/tag_candidate_list.h"
#include "platform/timer.h"

class CTagJumpListDialog : public CDialogBase {
 public:
  static constexpr int kTemplate = 228;
  static constexpr int kList = 1468;
  static constexpr int kKeyword = 1499;
  static constexpr int kKeywordLabel = 1500;
  static constexpr int kIgnoreCase = 1501;
  static constexpr int kAnywhere = 1502;
  static constexpr int kHelp = 1099;
  static constexpr UINT_PTR kSearchTimer = 12345;
  static constexpr UINT kSearchDelay = 700;  // ms after the last change
  static constexpr int kCapacity = 100;

  CTagJumpListDialog();
  ~CTagJumpListDialog() override;

  // Runs the dialog: keyword mode searches itself, list mode shows what was added. 1 when a
  // candidate was chosen, else 0.
  INT_PTR DoModal(HINSTANCE hInstance, HWND hwndParent, bool bKeywordMode);

  // The document whose folder the search starts from (exact path); its folder depth is kept,
  // limited to 0..130.
  void SetFileName(const char* pszPath);
  void SetKeyword(const char* pszKeyword);
  // The first candidate added is also the one selected.
  bool AddParam(const char* pszKeyword, const char* pszFile, int nLine, int nType, const char* pszNote, int nDepth);
  // The chosen candidate's fields (texts need 260 bytes; any output may be null); false when none
  // was chosen.
  bool GetSelectedParam(char* pszKeyword, char* pszFile, int* pnLine, int* pnType, char* pszNote, int* pnDepth) const;

  // The index of the chosen candidate (in the order they are listed), -1 when none was chosen.
  int GetSelectedIndex() const { return m_nIndex; }
  int GetDepth() const { return m_nDepth; }
  int GetCandidateCount() const { return m_cList.GetCount(); }

  INT_PTR OnInitDialog(HWND hwndDlg, WPARAM wParam, LPARAM lParam) override;
  INT_PTR OnDestroy() override;
  INT_PTR OnButtonClicked(int wID) override;
  INT_PTR OnNotify(WPARAM wParam, LPARAM lParam) override;
  INT_PTR OnTimer(WPARAM wParam) override;
  INT_PTR OnSelChange(HWND hwndCtl, int wID) override;
  INT_PTR OnComboEditChange(HWND hwndCtl, int wID) override;
  const DWORD* GetHelpIds() override;

  static void RegisterTemplate();

 private:
  void StartSearchTimer();
  void StopSearchTimer();
  void RunKeywordSearch();
  // Fills the list view from the candidates and selects the row of the initial-selection rule.
  void UpdateData();
  int InitialSelection() const;
  // Ends the dialog with 1 when a candidate's row is selected; 0 otherwise.
  void Choose();

  CTagCandidateList m_cList{kCapacity};
  int m_nIndex = -1;
  std::string m_strFilePath;
  int m_nDepth = 0;
  std::string m_strKeyword;
  bool m_bKeywordMode = false;
  int m_bTagJumpICase = 0;
  int m_bTagJumpAnyWhere = 0;
  UINT_PTR m_nTimerId = 0;
};
