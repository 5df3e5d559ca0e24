#include "editor/view/outline/jump_dialog.h"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <string>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/document/outline_items.h"
#include "editor/foundation/document/outline_parsers.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/foundation/ui/system_utils.h"
#include "platform/message_box.h"
#include "platform/sjis_literal.h"
#include "platform/win_help.h"

using namespace platform;

namespace {

constexpr char kCaption[] = "tovara";
constexpr int kJumpDialogCommand = 30920;
// Every control of the PL/SQL group: enabled together in PL/SQL mode.
constexpr int kPlsqlGroup[] = {CJumpDialog::kPlsqlBaseLine, CJumpDialog::kPlsqlBaseSpin, CJumpDialog::kPlsqlBlocks,
                               CJumpDialog::kPlsqlLabel1,   CJumpDialog::kPlsqlLabel2,   CJumpDialog::kPlsqlLabel3};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

using dlg::Check;
using dlg::Checked;
using dlg::Enable;

std::string NumberText(int value) { return std::to_string(value); }

// The number an edit holds; false when it holds none.
bool ReadNumber(HWND dialog, int id, int* value) {
  // Read whole, however long: a long run of digits saturates instead of being cut.
  const HWND control = GetDlgItem(dialog, id);
  return control && ParseTypedLineNumber(GetWindowText(control).c_str(), value);
}

}  // namespace

bool ParseTypedLineNumber(const char* pszText, int* pnValue) {
  if (!pszText) return false;
  const char* p = pszText;
  while (IsBlank(*p)) ++p;
  if (*p < '0' || *p > '9') return false;
  int64_t value = 0;
  while (*p >= '0' && *p <= '9') {
    value = std::min<int64_t>(value * 10 + (*p - '0'), INT32_MAX);
    ++p;
  }
  while (IsBlank(*p)) ++p;
  if (*p) return false;
  if (pnValue) *pnValue = static_cast<int>(value);
  return true;
}

void CJumpDialog::RegisterTemplate() {
  RegisterDialogTemplate(kTemplate, [](DialogBuilder& b) {
    b.Caption("指定行へジャンプ"_sj);
    b.Row([&] {
      b.StaticText(-1, "行番号(&L)"_sj);
      b.Edit(kLineNum).Width(12);
      b.UpDown(kLineNumSpin);
      b.Stretch();
    });
    b.Group(-1, "行番号の単位"_sj, [&] {
      b.RadioButton(kDisplayRows, "折り返し単位(&R)"_sj).NewGroup();
      b.RadioButton(kDocumentLines, "改行単位(&C)"_sj);
    });
    b.Group(-1, "PL/SQL", [&] {
      b.CheckBox(kPlsql, "PL/SQLソースの有効行(&P)"_sj);
      b.Row([&] {
        b.StaticText(kPlsqlLabel1, "ブロック(&B)"_sj);
        b.DropDownList(kPlsqlBlocks).Width(40);
      });
      b.Row([&] {
        b.StaticText(kPlsqlLabel2, "ブロックの開始行(&S)"_sj);
        b.Edit(kPlsqlBaseLine).Width(12);
        b.UpDown(kPlsqlBaseSpin);
        b.StaticText(kPlsqlLabel3, "行目から数える"_sj);
        b.Stretch();
      });
    });
    b.Row([&] {
      b.Stretch();
      b.PushButton(kJump, "ジャンプ(&J)"_sj).Default();
      b.PushButton(IDCANCEL, "キャンセル(&X)"_sj);
      b.PushButton(kHelp, "ヘルプ(&H)"_sj);
    });
  });
}

int CJumpDialog::DoModal(HINSTANCE hInstance, HWND hwndParent, CEditDoc* pcEditDoc, int nOutlineType,
                         bool bCountDocumentLines) {
  static std::once_flag registered;
  std::call_once(registered, RegisterTemplate);
  // The record attached now (the object may be older than the attachment).
  if (CShareData* share = CShareData::GetInstance()) m_pShareData = share->GetShareData();
  m_pcEditDoc = pcEditDoc;
  m_nOutlineType = nOutlineType;
  m_bCountDocumentLines = bCountDocumentLines;
  const INT_PTR result = CDialogBase::DoModal(hInstance, hwndParent, kTemplate, 0);
  m_pcEditDoc = nullptr;
  return result == 1 ? 1 : 0;
}

JumpRequest CJumpDialog::Request(bool bLineNumIsCRLF, bool bCountDocumentLines) const {
  JumpRequest request;
  request.nLineNum = m_nLineNum;
  request.bDocumentLines = bLineNumIsCRLF;
  request.bPlsql = m_bPLSQL != 0;
  request.nPlsqlBaseLine = m_nPLSQL_E1;
  request.bPlsqlBaseInDocumentLines = bCountDocumentLines;
  request.nPlsqlCountStart = m_nPLSQL_E2;
  return request;
}

bool CJumpDialog::SharedLineNumIsCRLF() const { return !m_pShareData || m_pShareData->bLineNumIsCRLF != 0; }

void CJumpDialog::SetSharedLineNumIsCRLF(bool bDocumentLines) {
  if (m_pShareData) m_pShareData->bLineNumIsCRLF = bDocumentLines ? 1 : 0;
}

INT_PTR CJumpDialog::OnInitDialog(HWND hwndDlg, WPARAM wParam, LPARAM lParam) {
  m_hWnd = hwndDlg;
  return CDialogBase::OnInitDialog(hwndDlg, wParam, lParam);
}

void CJumpDialog::FillControls() {
  const HWND dialog = m_hWnd;
  SetDlgItemText(dialog, kLineNum, m_nLineNum == 0 ? "" : NumberText(m_nLineNum).c_str());
  SetDlgItemText(dialog, kPlsqlBaseLine, NumberText(m_nPLSQL_E1).c_str());
  FillPackageRows();
  Check(dialog, kPlsql, m_bPLSQL != 0);
  ApplyPlsqlMode();
}

void CJumpDialog::FillPackageRows() {
  const HWND dialog = m_hWnd;
  SendDlgItemMessage(dialog, kPlsqlBlocks, CB_RESETCONTENT, 0, 0);
  if (!m_pcEditDoc) return;
  if (m_nOutlineType != outline_type::kPlsql) return;
  COutlineItemList list;
  ParseOutlinePlsql(*m_pcEditDoc, list);
  int rows = 0;
  int bodyRow = -1;
  int bodyLine = 0;
  for (int i = 0; i < list.GetCount(); ++i) {
    const COutlineItem* item = list.GetAt(i);
    const bool spec = item->m_nKind == outline_kind::kPlsqlPackageSpec;
    const bool body = item->m_nKind == outline_kind::kPlsqlPackageBody;
    if (!spec && !body) continue;
    // Numbered as the type numbers lines (the numbers beside the text), the unit the jump reads the
    // block's first line in; the shared jump unit is forced to document lines in PL/SQL mode and
    // says nothing about the first line.
    const int line = m_bCountDocumentLines ? item->m_nFileLine : item->m_nDisplayLine;
    const std::string text = NumberText(line) + " 行  "_sj + std::string(item->m_cName.View()) +
                             (spec ? "  パッケージ仕様部"_sj : "  パッケージ本体部"_sj);
    const LRESULT row =
        SendDlgItemMessage(dialog, kPlsqlBlocks, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (row < 0) continue;
    SendDlgItemMessage(dialog, kPlsqlBlocks, CB_SETITEMDATA, static_cast<WPARAM>(row), line);
    ++rows;
    if (body) {
      bodyRow = static_cast<int>(row);
      bodyLine = line;
    }
  }
  if (bodyRow >= 0) {
    SendDlgItemMessage(dialog, kPlsqlBlocks, CB_SETCURSEL, static_cast<WPARAM>(bodyRow), 0);
    m_nPLSQL_E1 = bodyLine;
    SetDlgItemText(dialog, kPlsqlBaseLine, NumberText(bodyLine).c_str());
  }
  if (rows > 0) m_bPLSQL = 1;
}

void CJumpDialog::ApplyPlsqlMode() {
  const HWND dialog = m_hWnd;
  const bool on = Checked(dialog, kPlsql);
  if (on) SetSharedLineNumIsCRLF(true);
  for (const int id : kPlsqlGroup) Enable(dialog, id, on);
  Enable(dialog, kDisplayRows, !on);
  Enable(dialog, kDocumentLines, !on);
  const bool documentLines = SharedLineNumIsCRLF();
  Check(dialog, kDisplayRows, !documentLines);
  Check(dialog, kDocumentLines, documentLines);
}

void CJumpDialog::Step(int nEditId, int nDelta) {
  int value = 0;
  if (!ReadNumber(m_hWnd, nEditId, &value)) value = 0;
  // The up arrow (a negative delta) raises the number; the number never goes below 1.
  const int64_t stepped = static_cast<int64_t>(value) + (nDelta < 0 ? 1 : -1);
  const int next = static_cast<int>(std::clamp<int64_t>(stepped, 1, INT32_MAX));
  SetDlgItemText(m_hWnd, nEditId, NumberText(next).c_str());
}

INT_PTR CJumpDialog::OnNotify(WPARAM wParam, LPARAM lParam) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (!header || header->code != UDN_DELTAPOS) return CDialogBase::OnNotify(wParam, lParam);
  const auto* updown = reinterpret_cast<const NMUPDOWN*>(lParam);
  switch (static_cast<int>(wParam)) {
    case kLineNumSpin:
      Step(kLineNum, updown->iDelta);
      return 1;
    case kPlsqlBaseSpin:
      Step(kPlsqlBaseLine, updown->iDelta);
      return 1;
    default:
      return CDialogBase::OnNotify(wParam, lParam);
  }
}

INT_PTR CJumpDialog::OnSelChange(HWND hwndCtl, int wID) {
  if (wID != kPlsqlBlocks) return CDialogBase::OnSelChange(hwndCtl, wID);
  const LRESULT row = SendDlgItemMessage(m_hWnd, kPlsqlBlocks, CB_GETCURSEL, 0, 0);
  if (row == CB_ERR) return 1;
  const LRESULT line = SendDlgItemMessage(m_hWnd, kPlsqlBlocks, CB_GETITEMDATA, static_cast<WPARAM>(row), 0);
  SetDlgItemText(m_hWnd, kPlsqlBaseLine, NumberText(static_cast<int>(line)).c_str());
  return 1;
}

INT_PTR CJumpDialog::OnButtonClicked(int wID) {
  switch (wID) {
    case kHelp:
      WinHelp(m_hWnd, m_szHelpFile, HELP_CONTEXT, static_cast<uintptr_t>(CommandToHelpId(kJumpDialogCommand)));
      return 1;
    case kPlsql:
      ApplyPlsqlMode();
      return 1;
    case kJump:
      if (ReadControls()) Close(1);
      return 1;
    case IDCANCEL:
      Close(0);
      return 1;
    default:
      return CDialogBase::OnButtonClicked(wID);
  }
}

int CJumpDialog::ReadControls() {
  const HWND dialog = m_hWnd;
  SetSharedLineNumIsCRLF(!Checked(dialog, kDisplayRows));
  m_bPLSQL = Checked(dialog, kPlsql) ? 1 : 0;
  if (!ReadNumber(dialog, kPlsqlBaseLine, &m_nPLSQL_E1)) m_nPLSQL_E1 = 1;
  if (!ReadNumber(dialog, kLineNum, &m_nLineNum)) {
    ShowMessageBox(dialog, MB_OK, kCaption, "%s", "正しく行番号を入力してください。"_sj);
    return 0;
  }
  return 1;
}
