// The document's life, its panes and its state: construction, clearing, the close question, pane
// activation and the panes' common operations, settings changes, icons and the recent-file record.
#include "editor/foundation/document/edit_doc.h"

#include "editor/foundation/ui/open_file_dialog.h"

#include <algorithm>
#include <cstring>

#include "editor/foundation/settings/recent_menus.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/ui/clipboard_formats.h"
#include "editor/foundation/ui/system_utils.h"
#include "platform/beep.h"
#include "platform/clipboard.h"
#include "platform/file_lock.h"
#include "platform/file_type_icon.h"
#include "platform/ipc.h"
#include "platform/sjis_literal.h"

namespace {

constexpr char kCaption[] = "tovara";
constexpr const char* kCodeNames[] = {"SJIS", "JIS", "EUC", "Unicode", "UTF-8", "UTF-7", "UniBE"};

// Commands the document runs or handles itself.
constexpr int kCmdFileSave = 30103;
constexpr int kCmdFileSaveAsDialog = 30104;
constexpr int kCmdNextWindow = 31340;
constexpr int kCmdPrevWindow = 31341;

// The application's icon: the file beside the executable, else the icon resource.
constexpr int kAppIconResource = 230;
constexpr char kAppIconFile[] = "my_appicon.ico";

}  // namespace

const char* CharCodeName(int code) { return code >= 0 && code < 7 ? kCodeNames[code] : nullptr; }

CEditDoc::CEditDoc() {
  m_cLayoutMgr.Attach(&m_cDocLineMgr);
  if (RefreshSettings()) {
    m_cLayoutMgr.SetWrapSettings(false, nullptr, m_pShareData->TypeList[0]);
    m_bInsMode = m_pShareData->Common.bInsertModeDefault != 0;
  }
  ReloadAutoSaveSettings();
}

CEditDoc::~CEditDoc() = default;

void CEditDoc::SetPorts(const DocPorts& ports) { m_ports = ports; }

bool CEditDoc::Create(HINSTANCE hInstance, HWND hwndParent, void* editWindow) {
  const DocViewsFactory factory = GetDocViewsFactory();
  if (!factory) return false;
  m_pViews.reset();
  m_pViews = factory(*this, hInstance, hwndParent, editWindow);
  return m_pViews != nullptr;
}

SharedSettings* CEditDoc::RefreshSettings() {
  CShareData* share = CShareData::GetInstance();
  m_pShareData = share ? share->GetShareData() : nullptr;
  return m_pShareData;
}

const TypeSettings* CEditDoc::CurrentType() const {
  if (!m_pShareData) return nullptr;
  const int type = m_nSettingType >= 0 && m_nSettingType < kTypeSlots ? m_nSettingType : 0;
  return &m_pShareData->TypeList[type];
}

IDocPane* CEditDoc::ActivePane() const {
  return m_nActivePaneIndex >= 0 && m_nActivePaneIndex < 4 ? m_ports.panes[m_nActivePaneIndex] : nullptr;
}

HWND CEditDoc::FrameWindow() const { return m_ports.frame ? m_ports.frame->FrameWindow() : nullptr; }

// ---- Windows ------------------------------------------------------------------------------------

LRESULT CEditDoc::DispatchToViews(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ENTERMENULOOP || message == WM_EXITMENULOOP) {
    for (IDocPane* pane : m_ports.panes)
      if (pane) pane->DispatchMessage(pane->Window(), message, wParam, lParam);
    return 0;
  }
  IDocPane* pane = ActivePane();
  return pane ? pane->DispatchMessage(window, message, wParam, lParam) : 0;
}

void CEditDoc::MoveDocWindow(int x, int y, int width, int height) {
  if (m_ports.splitter) m_ports.splitter->Move(x, y, width, height);
}

// ---- Queries ------------------------------------------------------------------------------------

bool CEditDoc::IsTextSelected() const {
  const IDocPane* pane = ActivePane();
  return pane && pane->HasSelection();
}

bool CEditDoc::CanUndo() const { return m_cUndoBuffer.CanUndo(); }
bool CEditDoc::CanRedo() const { return m_cUndoBuffer.CanRedo(); }

bool CEditDoc::CanPaste() const {
  return platform::IsClipboardFormatAvailable(CF_OEMTEXT) || platform::IsClipboardFormatAvailable(PrivateClipFormat());
}

const char* CEditDoc::GetFileName() const {
  const char* name = m_szFilePath;
  const int length = static_cast<int>(strnlen(m_szFilePath, kMaxPath));
  const auto* bytes = reinterpret_cast<const unsigned char*>(m_szFilePath);
  for (int i = 0; i < length; i += SjisCharSize(bytes, length, i)) {
    if (m_szFilePath[i] == '/') name = m_szFilePath + i + 1;
  }
  return name;
}

// ---- Closing ------------------------------------------------------------------------------------

void CEditDoc::ClearDocument() {
  m_bReadOnly = false;
  m_szGrepKey.clear();
  m_bGrepWindow = false;
  m_nChangeWatch = kWatchAsk;
  if (m_bOutputWindow) {
    // The next diagnostic text then starts an output window of its own.
    if (m_ports.frame) m_ports.frame->ReleaseOutputRole();
    m_bOutputWindow = false;
  }
  ReleaseFileLock();
  m_cUndoBuffer.Clear();
  m_cDocLineMgr.FreeAllLines();
  m_cDocLineMgr.ResetList();
  SetFilePath("");
  m_nFileTime = 0;
  CShareData* share = CShareData::GetInstance();
  if (RefreshSettings() && share) {
    m_nSettingType = share->GetTypeByPath(m_szFilePath);
    m_bTypeFixed = false;
    ++m_pShareData->TypeList[m_nSettingType].nChangeCounter;
    UpdateFileIcon();
    m_cLayoutMgr.SetWrapSettings(true, nullptr, *CurrentType());
  } else {
    m_cLayoutMgr.RewrapAll(nullptr);
  }
  SetModified(false, false);
  m_nCharCode = 0;
  m_bBomExist = false;
  m_nNewLineType = CLineEnd::CRLF;
  m_bInsMode = m_pShareData ? m_pShareData->Common.bInsertModeDefault != 0 : true;
}

void CEditDoc::ResetAllViews() {
  for (IDocPane* pane : m_ports.panes)
    if (pane) pane->ResetForNewText();
}

bool CEditDoc::QueryClose() {
  SaveRecentFileRecord();
  const HWND owner = FrameWindow();
  if (m_nGrepRunning) {
    if (m_ports.frame) m_ports.frame->Activate();
    ShowMessageBox(owner, MB_OK | MB_ICONINFORMATION | MB_TOPMOST, kCaption, "Grepの処理中です。\n"_sj);
    return false;
  }
  const bool grepExitConfirm = m_pShareData && m_pShareData->Common.bGrepExitConfirm;
  if (!m_bIsModified || m_bOutputWindow || (m_bGrepWindow && !grepExitConfirm)) return true;

  if (m_ports.frame) m_ports.frame->Activate();
  platform::MessageBeep(MB_ICONQUESTION);
  const char* name = m_szFilePath[0] ? m_szFilePath : "（無題）"_sj;
  constexpr UINT kAsk = MB_YESNOCANCEL | MB_ICONQUESTION | MB_TOPMOST;
  int answer;
  int saveCommand;
  if (m_bReadOnly) {
    answer = ShowMessageBox(owner, kAsk, kCaption,
                            "%s\nは変更されています。 閉じる前に保存しますか？\n\n"
                            "読み取り専用で開いているので、名前を付けて保存すればいいと思います。\n"_sj,
                            name);
    saveCommand = kCmdFileSaveAsDialog;
  } else {
    answer = ShowMessageBox(owner, kAsk, kCaption, "%s\nは変更されています。 閉じる前に保存しますか？"_sj, name);
    saveCommand = m_szFilePath[0] ? kCmdFileSave : kCmdFileSaveAsDialog;
  }
  switch (answer) {
    case IDYES:
      return HandleCommand(saveCommand) != 0;
    case IDNO:
      return true;
    default:
      return false;
  }
}

// ---- Panes --------------------------------------------------------------------------------------

void CEditDoc::SetActivePane(int index) {
  if (index < 0 || index >= 4) return;
  if (IDocPane* old = ActivePane()) old->OnFocusLost();
  m_nActivePaneIndex = index;
  if (IDocPane* pane = ActivePane()) pane->OnFocusGained();
  if (m_ports.splitter) m_ports.splitter->SetActivePane(index);
  if (m_ports.companions) m_ports.companions->RebindToPane(index);
}

LRESULT CEditDoc::HandleCommand(int command) {
  // The high word says where the command came from (an accelerator, a control); the command is
  // the same.
  switch (LOWORD(static_cast<uint32_t>(command))) {
    case kCmdNextWindow:
      CycleWindows(true);
      return 1;
    case kCmdPrevWindow:
      CycleWindows(false);
      return 1;
    default: {
      IDocPane* pane = ActivePane();
      return pane ? pane->RunCommand(command) : 0;
    }
  }
}

// The next (previous) visible pane of the split, else the next (previous) edit window by the
// order the windows were opened in, round the ends.
void CEditDoc::CycleWindows(bool forward) {
  if (m_ports.splitter) {
    const int pane = forward ? m_ports.splitter->NextVisiblePane(m_nActivePaneIndex)
                             : m_ports.splitter->PrevVisiblePane(m_nActivePaneIndex);
    if (pane >= 0) {
      SetActivePane(pane);
      return;
    }
  }
  CShareData* share = CShareData::GetInstance();
  if (!share) return;
  const std::vector<EditWindowEntry> windows = share->GetEditWindowList(true);
  const int count = static_cast<int>(windows.size());
  if (count == 0) return;
  const EditWindowId self = m_ports.frame ? m_ports.frame->WindowId() : 0;
  int at = forward ? 0 : count - 1;  // where a window missing from the list counts
  for (int i = 0; i < count; ++i) {
    if (windows[i].hwnd == self) at = i;
  }
  const EditWindowId target = windows[(at + (forward ? 1 : count - 1)) % count].hwnd;
  ActivateEditWindow(target);
  platform::ipc::PostMessage(target, MYWM_SETACTIVEPANE, static_cast<WPARAM>(-1), forward ? 0 : 1);
}

void CEditDoc::RedrawSiblingPanes() {
  if (!m_ports.splitter) return;
  const bool twoColumns = m_ports.splitter->Columns() > 1;
  const bool twoRows = m_ports.splitter->Rows() > 1;
  const auto redraw = [this](int index) {
    if (IDocPane* pane = m_ports.panes[index & 3]) pane->Redraw();
  };
  if (twoColumns) redraw(m_nActivePaneIndex ^ 1);
  if (twoRows) {
    redraw(m_nActivePaneIndex ^ 2);
    if (twoColumns) redraw(m_nActivePaneIndex ^ 3);
  }
}

bool CEditDoc::UpdatePanesTextAreaLeft(bool redraw) {
  IDocPane* active = ActivePane();
  if (!active || !active->UpdateTextAreaLeft(redraw)) return false;
  const bool twoColumns = m_ports.splitter && m_ports.splitter->Columns() > 1;
  const bool twoRows = m_ports.splitter && m_ports.splitter->Rows() > 1;
  const auto update = [this](int index, bool paint) {
    if (IDocPane* pane = m_ports.panes[index & 3]) pane->UpdateTextAreaLeft(paint);
  };
  update(m_nActivePaneIndex ^ 1, redraw && twoColumns);
  update(m_nActivePaneIndex ^ 2, redraw && twoRows);
  update(m_nActivePaneIndex ^ 3, redraw && twoRows && twoColumns);
  return true;
}

std::unique_ptr<PaneMarks[]> CEditDoc::SavePanePositions() {
  auto saved = std::make_unique<PaneMarks[]>(4);
  for (int i = 0; i < 4; ++i) {
    const IDocPane* pane = m_ports.panes[i];
    if (!pane) continue;
    PaneMarks marks = pane->GetMarks();
    int column = 0, line = 0;
    m_cLayoutMgr.WrapToDocPos(marks.caret.x, marks.caret.y, &column, &line);
    marks.caret = POINT{column, line};
    for (size_t r = 0; r < marks.ranges.size(); r += 2) {
      if (marks.ranges[r].y < 0) continue;  // no such range
      for (size_t end = r; end < r + 2; ++end) {
        m_cLayoutMgr.WrapToDocPos(marks.ranges[end].x, marks.ranges[end].y, &column, &line);
        marks.ranges[end] = POINT{column, line};
      }
    }
    saved[i] = marks;
  }
  return saved;
}

void CEditDoc::RestorePanePositions(std::unique_ptr<PaneMarks[]> saved) {
  if (!saved) return;
  for (int i = 0; i < 4; ++i) {
    IDocPane* pane = m_ports.panes[i];
    if (!pane) continue;
    PaneMarks marks = saved[i];
    int x = 0, y = 0;
    m_cLayoutMgr.DocToWrapPos(marks.caret.x, marks.caret.y, &x, &y);
    marks.caret = POINT{x, y};
    for (size_t r = 0; r < marks.ranges.size(); r += 2) {
      if (marks.ranges[r].y < 0) continue;
      for (size_t end = r; end < r + 2; ++end) {
        m_cLayoutMgr.DocToWrapPos(marks.ranges[end].x, marks.ranges[end].y, &x, &y);
        marks.ranges[end] = POINT{x, y};
      }
    }
    pane->RestoreMarks(marks);
  }
}

void CEditDoc::ChangeWrapWidth(bool showProgress, int tabWidth, int wrapWidth) {
  CJobProgressBar* bar = showProgress && m_ports.frame ? m_ports.frame->ShowProgress() : nullptr;
  auto saved = SavePanePositions();
  m_cLayoutMgr.SetTabAndWrapWidth(bar, tabWidth, wrapWidth);
  RestorePanePositions(std::move(saved));
  for (IDocPane* pane : m_ports.panes)
    if (pane) pane->Invalidate();
  if (showProgress && m_ports.frame) m_ports.frame->HideProgress();
}

// ---- Settings and state -------------------------------------------------------------------------

void CEditDoc::OnSettingsChanged() {
  CJobProgressBar* bar = nullptr;
  if (m_ports.frame) {
    m_ports.frame->RestartFunctionKeys();
    bar = m_ports.frame->ShowProgress();
  }
  CShareData* share = CShareData::GetInstance();
  if (RefreshSettings() && share) {
    if (m_nLockMode != m_pShareData->Common.nFileShareMode) {
      ReleaseFileLock();
      AcquireFileLock();
    }
    share->ExpandNicknameSources();
    if (!m_bTypeFixed) {
      m_nSettingType = share->GetTypeByPath(m_szFilePath);
      ++m_pShareData->TypeList[m_nSettingType].nChangeCounter;
      UpdateFileIcon();
    }
    auto saved = SavePanePositions();
    m_cLayoutMgr.SetWrapSettings(true, bar, *CurrentType());
    for (IDocPane* pane : m_ports.panes)
      if (pane) pane->RecreateFonts();
    RestorePanePositions(std::move(saved));
  }
  if (m_ports.frame) m_ports.frame->HideProgress();
}

namespace {

// After a sheet's OK the resident process hears of the change first, then every edit window, this
// one last.
void NotifyResident(const SharedSettings& settings) {
  if (settings.hwndResident) platform::ipc::SendMessage(settings.hwndResident, MYWM_CHANGESETTING, 0, 0);
}

void NotifyEditWindows(EditWindowId self) {
  if (CShareData* share = CShareData::GetInstance()) share->SendToAllEditWindows(MYWM_CHANGESETTING, 0, 0, self);
}

}  // namespace

bool CEditDoc::OpenCommonSettings(int page) {
  if (!m_ports.sheets || !RefreshSettings()) return false;
  auto copy = std::make_unique<CommonSettings>(m_pShareData->Common);
  if (!m_ports.sheets->RunCommonSheet(page, copy.get())) return false;
  m_pShareData->Common = *copy;
  NotifyResident(*m_pShareData);
  for (IDocPane* pane : m_ports.panes)
    if (pane) pane->RecreateFonts();
  NotifyEditWindows(m_ports.frame ? m_ports.frame->WindowId() : 0);
  return true;
}

bool CEditDoc::OpenTypeSettings(int page, int typeIndex) {
  if (!m_ports.sheets || !RefreshSettings() || typeIndex < 0 || typeIndex >= kTypeSlots) return false;
  auto copy = std::make_unique<TypeSettings>(m_pShareData->TypeList[typeIndex]);
  if (!m_ports.sheets->RunTypeSheet(page, copy.get())) return false;
  m_pShareData->TypeList[typeIndex] = *copy;
  NotifyResident(*m_pShareData);
  NotifyEditWindows(m_ports.frame ? m_ports.frame->WindowId() : 0);
  return true;
}

void CEditDoc::SetImeMode(int) {}

void CEditDoc::SetModified(bool modified, bool refreshCaption) {
  if (m_bIsModified == modified) return;
  m_bIsModified = modified;
  if (refreshCaption) UpdateCaption(false);
}

void CEditDoc::SetFilePath(const char* path) {
  if (path && strnlen(path, kMaxPath) < static_cast<size_t>(kMaxPath)) {
    std::memmove(m_szFilePath, path, std::strlen(path) + 1);
  } else {
    m_szFilePath[0] = '\0';
  }
  UpdateFileIcon();
}

void CEditDoc::UpdateFileIcon() {
  if (m_bGrepWindow || !m_ports.frame) return;
  HICON small = nullptr, big = nullptr;
  const TypeSettings* type = CurrentType();
  if (type && type->bUseDocumentIcon && m_szFilePath[0]) {
    small = platform::FileTypeIcon(m_szFilePath, 16);
    big = platform::FileTypeIcon(m_szFilePath, 32);
  }
  if (!small || !big) {
    small = LoadIconFile(nullptr, kAppIconResource, kAppIconFile, true);
    big = LoadIconFile(nullptr, kAppIconResource, kAppIconFile, false);
  }
  m_ports.frame->SetIcons(small, big);
}

void CEditDoc::FillRecentFileRecord(RecentFileRecord* record) {
  if (!record) return;
  std::memcpy(record->szPath, m_szFilePath, kMaxPath);
  if (const IDocPane* pane = ActivePane()) {
    record->nViewTopLine = pane->ViewTopLine();
    record->nViewLeftCol = pane->ViewLeftColumn();
    const POINT caret = pane->Caret();
    int column = 0, line = 0;
    m_cLayoutMgr.WrapToDocPos(caret.x, caret.y, &column, &line);
    record->nX = column;
    record->nY = line;
  }
  record->bModified = m_bIsModified ? 1 : 0;
  record->nCharCode = m_nCharCode;
  record->bGrepWindow = m_bGrepWindow ? 1 : 0;
  record->bOutputWindow = m_bOutputWindow ? 1 : 0;
  const size_t key = std::min(m_szGrepKey.size(), sizeof record->szGrepText - 1);
  std::memcpy(record->szGrepText, m_szGrepKey.data(), key);
  record->szGrepText[key] = '\0';
}

void CEditDoc::SaveRecentFileRecord() {
  CShareData* share = CShareData::GetInstance();
  if (!share) return;
  RecentFileRecord record = kEmptyRecentFileRecord;
  record.nViewTopLine = record.nViewLeftCol = record.nX = record.nY = -1;
  record.nCharCode = 99;
  FillRecentFileRecord(&record);
  const char* marks = m_cDocLineMgr.BookmarksToText();
  const size_t length = marks ? strnlen(marks, sizeof record.szMark - 1) : 0;
  if (length) std::memcpy(record.szMark, marks, length);
  record.szMark[length] = '\0';
  CRecentFileMenu(share).AddRecord(&record);
}
