// Opening files into the document, routing open requests, reloading in another code, the file lock
// and the commands refused while the document may not be edited.
#include <algorithm>
#include <iterator>
#include <cstring>
#include <string>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/ui/hourglass_cursor.h"
#include "editor/foundation/settings/recent_menus.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/show_message_box.h"
#include "platform/beep.h"
#include "platform/file_lock.h"
#include "platform/ipc.h"
#include "platform/sjis_literal.h"

namespace {

constexpr char kCaption[] = "tovara";
constexpr int kCodeDetect = 99;
constexpr int kCmdGoFileEnd = 30351;

// The editing commands refused on a read-only document, or while a configured lock is not held;
// sorted.
constexpr int kEditingCommands[] = {
    30200, 30201,                // Char, CharIme
    30221, 30222,                // Delete, DeleteBack
    30230, 30231, 30232, 30233,  // WordDeleteToStart, WordDeleteToEnd, WordCut, WordDelete
    30240, 30241, 30242, 30243,  // LineCutToStart, LineCutToEnd, LineDeleteToStart, LineDeleteToEnd
    30244, 30245, 30250,         // CutLine, DeleteLine, DuplicateLine
    30260, 30261, 30262, 30263,  // IndentTab, UnindentTab, IndentSpace, UnindentSpace
    30280, 30281, 30282, 30283,  // LTrim, RTrim, SortAsc, SortDesc
    30284,                       // Merge
    30601, 30604, 30605, 30606,  // Cut, Paste, PasteBox, InsText
    30607,                       // AddTail
    30790, 30791, 30792,         // InsertDate, InsertTime, CtrlCodeDialog
    30800, 30801,                // ToLower, ToUpper
    30810, 30811, 30812, 30813,  // ToHankaku, ToZenKata, ToZenHira, HanKataToZenKata
    30814, 30815, 30816, 30817,  // HanKataToZenHira, ToZenEi, ToHanEi, ToHankata
    30830, 30831,                // TABToSPACE, SPACEToTAB
    30850, 30851, 30852, 30853,  // AutoToSJIS, JIStoSJIS, EUCtoSJIS, CodeCnvUNICODEtoSJIS
    30854, 30855, 30856,         // UTF8toSJIS, UTF7toSJIS, CodeCnvUNICODEBEtoSJIS
    30860, 30861, 30862, 30863,  // SJIStoJIS, SJIStoEUC, SJIStoUTF8, SJIStoUTF7
    30904, 30906, 30907,         // ReplaceDialog, Replace, ReplaceAll
    31001,                       // ChgmodINS
    31430,                       // Complete
};
static_assert(std::is_sorted(std::begin(kEditingCommands), std::end(kEditingCommands)));

const char* CodeNameOrEmpty(int code) {
  const char* name = CharCodeName(code);
  return name ? name : "";
}

bool IsBomCode(int code) { return code == 3 || code == 6; }

void TellPathTooLong(HWND owner, const char* path) {
  ShowMessageBox(owner, MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST, kCaption, "'%s'\nというパスは長すぎます。"_sj, path);
}

// The absolute form of a path (a relative one from the editor's current folder) into out, which
// holds kMaxPath bytes; false, with a message, when it does not fit.
bool MakeFullPath(HWND owner, const char* path, char* out) {
  std::string full;
  if (strnlen(path, kMaxPath) >= static_cast<size_t>(kMaxPath) || !GetLongPath(path, full)) {
    TellPathTooLong(owner, path);
    return false;
  }
  std::memcpy(out, full.c_str(), full.size() + 1);
  return true;
}

void TellBug(HWND owner, const char* text) {
  ShowMessageBox(owner, MB_YESNO | MB_ICONEXCLAMATION | MB_TOPMOST, "バグじゃぁあああ！！！"_sj, "%s", text);
}

const char* LockModeName(int mode) {
  switch (mode) {
    case CEditDoc::kLockExclusive:
      return "読み書き禁止モード"_sj;
    case CEditDoc::kLockDenyWrite:
      return "書き込み禁止モード"_sj;
    default:
      return "未定義のモード（問題があります）"_sj;
  }
}

}  // namespace

bool CEditDoc::FileRead(char* pszPath, bool* pbOpenedElsewhere, int nCharCode, bool bReadOnly,
                        bool bConfirmCodeChange) {
  const CHourglassCursor hourglass(DocumentWindow());
  if (pbOpenedElsewhere) *pbOpenedElsewhere = false;
  m_bReadOnly = bReadOnly;
  RefreshSettings();
  const HWND owner = FrameWindow();
  if (!pszPath) {
    TellBug(owner,
            "CEditDoc::FileRead()\n\nNULL == pszPath\n【対処】エラーの出た状況を作者に連絡してくださいね。"_sj);
    return false;
  }
  if (!pszPath[0]) return false;
  char path[kMaxPath];
  if (!MakeFullPath(owner, pszPath, path)) return false;

  bool exists = IsExistingFile(path, false);
  if (exists && !IsExistingFile(path, true)) {
    // A folder: the file is chosen in it.
    char chosen[kMaxPath] = {};
    int code = kCodeDetect;
    bool readOnly = false;
    if (!ShowOpenDialog(owner, path, chosen, &code, &readOnly)) return false;
    if (!MakeFullPath(owner, chosen, path)) return false;
    std::memcpy(pszPath, path, std::strlen(path) + 1);
    nCharCode = code;
    m_bReadOnly = readOnly;
    exists = IsExistingFile(path, true);
  }
  if (exists && !CheckPathAccess(path, 4)) {
    ShowMessageBox(owner, MB_OK | MB_ICONSTOP, kCaption,
                   "'%s'\nというファイルを開けません。\n読み込みアクセス権がありません。"_sj, path);
    return false;
  }

  CShareData* share = CShareData::GetInstance();
  EditWindowId other = 0;
  if (share && share->FindEditWindowByPath(path, &other)) {
    const RecentFileRecord info = share->AskWindowFileInfo(other);
    ActivateEditWindow(other);
    if (pbOpenedElsewhere) *pbOpenedElsewhere = true;
    CRecentFileMenu(share).AddRecord(&info);
    return false;
  }

  bool loaded = false;
  CJobProgressBar* bar = nullptr;
  const auto finish = [&](bool ok) {
    if (IDocPane* pane = ActivePane()) pane->ShowCaretPosition();
    if (bar && m_ports.frame) m_ports.frame->HideProgress();
    if (ok && m_szFilePath[0]) AcquireFileLock();
    if (!ok) {
      SetFilePath("");
      if (loaded) {
        // What a failed or stopped load read is dropped: a failed open leaves an empty document.
        m_cDocLineMgr.FreeAllLines();
        m_cDocLineMgr.ResetList();
        m_cLayoutMgr.RewrapAll(nullptr);
        m_nFileTime = 0;  // the load may have noted the file's time before it stopped
      }
      m_bBomExist = IsBomCode(m_nCharCode);
    }
    return ok;
  };

  for (IDocPane* pane : m_ports.panes)
    if (pane && pane->HasSelection()) pane->ClearSelection(true);
  SetFilePath(path);

  if ((nCharCode >= -1 && nCharCode <= 6) || nCharCode == kCodeDetect) m_nCharCode = nCharCode;
  RecentFileRecord record = kEmptyRecentFileRecord;
  const bool hasRecord = share && CRecentFileMenu(share).GetRecordByPath(path, &record);
  if (hasRecord && m_nCharCode == -1) m_nCharCode = record.nCharCode;
  if (!exists && m_nCharCode == kCodeDetect) m_nCharCode = 0;
  if (m_nCharCode == kCodeDetect) {
    m_nCharCode = CMemory::DetectFileCode(path);
    if (m_nCharCode == -1) {
      ShowMessageBox(owner, MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST, kCaption,
                     "%s\n文字コードの判別処理でエラーが発生しました。"_sj, path);
      m_nCharCode = 0;
      return finish(false);
    }
  }
  if (hasRecord && m_nCharCode != record.nCharCode && bConfirmCodeChange) {
    const char* recordName = CharCodeName(record.nCharCode);
    if (!recordName) {
      TellBug(owner, "【対処】エラーの出た状況を作者に連絡してください。"_sj);
      return finish(false);
    }
    platform::MessageBeep(MB_ICONQUESTION);
    const int answer = ShowMessageBox(
        owner, MB_YESNOCANCEL | MB_ICONQUESTION | MB_TOPMOST, "文字コード情報"_sj,
        "%s\n\nこのファイルは、前回は別の文字コード %s で開かれています。\n前回と同じ文字コードを使いますか？\n\n"
        "・[はい(Y)]  ＝%s\n・[いいえ(N)]＝%s\n・[キャンセル]＝開きません"_sj,
        path, recordName, recordName, CodeNameOrEmpty(m_nCharCode));
    if (answer == IDYES) {
      m_nCharCode = record.nCharCode;
    } else if (answer != IDNO) {
      m_nCharCode = 0;
      return finish(false);
    }
  }
  // -1 with nothing remembered is Shift-JIS; so is a code a damaged record brought.
  if (m_nCharCode < 0 || m_nCharCode > 6) m_nCharCode = 0;

  std::string longPath;
  if (GetLongPath(m_szFilePath, longPath)) std::memcpy(m_szFilePath, longPath.c_str(), longPath.size() + 1);
  if (share && m_pShareData) {
    m_nSettingType = share->GetTypeByPath(m_szFilePath);
    ++m_pShareData->TypeList[m_nSettingType].nChangeCounter;
  }
  m_bTypeFixed = false;
  UpdateFileIcon();
  m_bBomExist = IsBomCode(m_nCharCode);

  if (exists) {
    bar = m_ports.frame ? m_ports.frame->ShowProgress() : nullptr;
    bool bom = m_bBomExist;
    loaded = true;
    const bool mime = m_pShareData && m_pShareData->Common.bAutoMIMEdecode;
    if (!m_cDocLineMgr.LoadFromFile(m_szFilePath, owner, bar, m_nCharCode, &m_nFileTime, mime, &bom)) {
      return finish(false);
    }
    m_bBomExist = bom;
  } else if (m_pShareData && m_pShareData->Common.bAlertIfFileNotExist) {
    platform::MessageBeep(MB_ICONASTERISK);
    ShowMessageBox(owner, MB_OK | MB_ICONINFORMATION | MB_TOPMOST, kCaption,
                   "%s\nというファイルは存在しません。\n\nファイルを保存したときに、ディスク上にこのファイルが作成されます。"_sj,
                   m_szFilePath);
  }

  if (const TypeSettings* type = CurrentType()) {
    m_cLayoutMgr.SetWrapSettings(true, bar, *type);
    ResetAllViews();
    SetImeMode(type->nImeState);
  } else {
    m_cLayoutMgr.RewrapAll(bar);
    ResetAllViews();
  }

  IDocPane* pane = ActivePane();
  if (hasRecord) {
    if (pane && m_pShareData && m_pShareData->Common.m_bRestoreCurPosition && record.nX >= 0 && record.nY >= 0) {
      int x = 0, y = 0;
      m_cLayoutMgr.DocToWrapPos(record.nX, record.nY, &x, &y);
      if (y >= m_cLayoutMgr.GetLineCount()) {
        pane->RunCommand(kCmdGoFileEnd);
      } else {
        // The record comes from the settings file: the view starts on a line of this text.
        const int lastLine = std::max(0, m_cLayoutMgr.GetLineCount() - 1);
        pane->SetViewTopLeft(std::clamp(record.nViewTopLine, 0, lastLine),
                             std::clamp(record.nViewLeftCol, 0, std::max(0, m_cLayoutMgr.GetWrapWidth())));
        const CDocLine* line = m_cDocLineMgr.GetLine(record.nY);
        if (line && record.nX > line->GetLengthWithoutEol() && x > 0) --x;
        pane->PlaceCaret(POINT{x, y});
      }
    }
    if (m_pShareData && m_pShareData->Common.m_bRestoreBookmarks) {
      record.szMark[sizeof record.szMark - 1] = '\0';
      m_cDocLineMgr.BookmarksFromText(record.szMark);
    }
  } else {
    record.szMark[0] = '\0';
  }

  FillRecentFileRecord(&record);
  m_nNewLineType = CLineEnd::CRLF;
  if (const CDocLine* first = m_cDocLineMgr.GetLine(0); first && first->m_cLineEnd.GetCode() != CLineEnd::NONE) {
    m_nNewLineType = first->m_cLineEnd.GetCode();
  }
  if (share) CRecentFileMenu(share).AddRecord(&record);

  // The editor's own folder follows the file; the process's folder stays where it was.
  std::string folder;
  SplitFolderAndFile(m_szFilePath, &folder, nullptr);
  SetEditorCurrentFolder(folder);
  return finish(true);
}

bool CEditDoc::OpenFile(const char* pszPath, int nCharCode, bool bReadOnly) {
  const HWND owner = FrameWindow();
  char path[kMaxPath] = {};
  if (!pszPath) {
    if (!ShowOpenDialog(owner, nullptr, path, &nCharCode, &bReadOnly)) return false;
    pszPath = path;
  }
  if (!pszPath[0] || !MakeFullPath(owner, pszPath, path)) return false;

  RefreshSettings();
  CShareData* share = CShareData::GetInstance();
  EditWindowId other = 0;
  if (share && share->FindEditWindowByPath(path, &other)) {
    const RecentFileRecord info = share->AskWindowFileInfo(other);
    int code = nCharCode;
    if (code == kCodeDetect) {
      const int detected = CMemory::DetectFileCode(path);
      if (detected >= 0) code = detected;
    }
    if (code < 7 && code != kCodeDetect && code != info.nCharCode && m_pShareData &&
        m_pShareData->Common.bQueryIfCodeChange) {
      ShowMessageBox(owner, MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST, kCaption,
                     "%s\n\n\n既に開いているファイルを違う文字コードで開く場合は、\n一旦閉じてから開いてください。\n\n"
                     "現在の文字コードセット=[%s]\n新しい文字コードセット=[%s]"_sj,
                     path, CodeNameOrEmpty(info.nCharCode), CodeNameOrEmpty(code));
    }
    if (std::strcmp(path, m_szFilePath) != 0) ActivateEditWindow(other);
    return true;
  }

  if (!m_bIsModified && !m_szFilePath[0] && !m_bGrepWindow && !m_bOutputWindow) {
    bool elsewhere = false;
    const bool confirm = m_pShareData && m_pShareData->Common.bQueryIfCodeChange;
    return FileRead(path, &elsewhere, nCharCode, bReadOnly, confirm) || elsewhere;
  }

  IDocLauncher* launcher = GetDocLauncher();
  if (!launcher) return false;
  const std::string text = std::strchr(path, ' ') ? "\"" + std::string(path) + "\"" : std::string(path);
  return launcher->LaunchEditorProcess(text.c_str(), nCharCode, bReadOnly, false, EditorCurrentFolder().c_str());
}

void CEditDoc::ReloadWithCode(int nCharCode, bool bReadOnly) {
  if (!IsExistingFile(m_szFilePath, true)) {
    m_nCharCode = nCharCode;
    m_bBomExist = IsBomCode(nCharCode);
    return;
  }
  const IDocPane* pane = ActivePane();
  const POINT caret = pane ? pane->Caret() : POINT{0, 0};
  char path[kMaxPath];
  std::memcpy(path, m_szFilePath, kMaxPath);
  SaveRecentFileRecord();
  ClearDocument();
  ResetAllViews();
  UpdateCaption(false);
  bool elsewhere = false;
  FileRead(path, &elsewhere, nCharCode, bReadOnly, false);
  if (IDocPane* active = ActivePane()) active->PlaceCaret(caret);
}

void CEditDoc::AcquireFileLock() {
  m_pFileLock.reset();
  if (!IsExistingFile(m_szFilePath, true)) {
    m_nLockMode = kLockNone;
    return;
  }
  m_nLockMode = RefreshSettings() ? m_pShareData->Common.nFileShareMode : kLockNone;
  if (!m_szFilePath[0] || m_bReadOnly) return;
  const HWND owner = FrameWindow();
  // A file without its write bit is not locked, and not reported: it is read-only on disk.
  if (CheckPathAccess(m_szFilePath, 2)) {
    if (!platform::CanLockExclusively(m_szFilePath)) {
      platform::MessageBeep(MB_ICONEXCLAMATION);
      ShowMessageBox(owner, MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST, kCaption,
                     "%s\nは現在他のプロセスによって書込みが禁止されています。"_sj, m_szFilePath);
    } else if (m_nLockMode != kLockExclusive && m_nLockMode != kLockDenyWrite) {
      m_nLockMode = kLockNone;
      return;
    } else {
      auto lock = std::make_unique<platform::FileLock>();
      const auto mode = m_nLockMode == kLockExclusive ? platform::FileLock::Mode::kExclusive
                                                      : platform::FileLock::Mode::kShared;
      if (lock->Lock(m_szFilePath, mode) == platform::FileLock::Result::kLocked) {
        m_pFileLock = std::move(lock);
        return;
      }
      platform::MessageBeep(MB_ICONEXCLAMATION);
      ShowMessageBox(owner, MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST, kCaption,
                     "%s\nを%sでロックできませんでした。\n現在このファイルに対する排他制御は無効となります。"_sj,
                     m_szFilePath, LockModeName(m_nLockMode));
    }
  }
  UpdateCaption(false);
}

void CEditDoc::ReleaseFileLock() {
  m_pFileLock.reset();
  m_nLockMode = kLockNone;
}

bool CEditDoc::HoldsFileLock() const { return m_pFileLock && m_pFileLock->IsHeld(); }

bool CEditDoc::IsCommandRefusedReadOnly(int command) const {
  const bool lockMissing = m_nLockMode != kLockNone && !HoldsFileLock();
  if (!m_bReadOnly && !lockMissing) return false;
  return std::binary_search(std::begin(kEditingCommands), std::end(kEditingCommands), command);
}
