// Saving a document and the backup copy made before the file is overwritten.
#include <cstdio>
#include <cstring>
#include <string>

#include "editor/foundation/document/backup_name.h"
#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/ui/hourglass_cursor.h"
#include "editor/foundation/document/save_lock.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/show_message_box.h"
#include "platform/beep.h"
#include "platform/file.h"
#include "platform/file_ops.h"
#include "platform/sjis_literal.h"
#include "platform/trash.h"

namespace {

constexpr char kCaption[] = "tovara";
constexpr platform::PathMode kExact = platform::PathMode::kExact;

bool IsFolder(const std::string& path) {
  platform::PathStatus status;
  return !path.empty() && platform::StatPath(path, kExact, status) && status.folder;
}

bool Exists(const std::string& path) { return platform::PathAllows(path, kExact, platform::Access::kExists); }

// The backup path with the generation number in its last two bytes.
std::string Generation(std::string path, int number) {
  path[path.size() - 2] = static_cast<char>('0' + number / 10);
  path[path.size() - 1] = static_cast<char>('0' + number % 10);
  return path;
}

// Makes room for a new generation 00: the copies beyond the keep count go, the others move one
// number up. Only consecutive numbers from 00 count; one after a gap is left alone. False (after
// telling) when a copy cannot be removed or moved.
bool ShiftGenerations(HWND owner, const std::string& backup, int keep) {
  int free = 0;
  while (free < 100 && Exists(Generation(backup, free))) ++free;
  const int lowestRemoved = keep > 0 ? keep - 1 : 0;
  for (int n = free - 1; n >= lowestRemoved; --n) {
    const std::string old = Generation(backup, n);
    if (!platform::RemoveFile(old, kExact)) {
      ShowMessageBox(owner, MB_OK, "削除失敗"_sj, "%s", old.c_str());
      return false;
    }
  }
  for (int n = (free < lowestRemoved ? free : lowestRemoved) - 1; n >= 0; --n) {
    const std::string from = Generation(backup, n);
    if (!platform::RenameFile(from, Generation(backup, n + 1), kExact)) {
      ShowMessageBox(owner, MB_OK, "移動失敗"_sj, "%s", from.c_str());
      return false;
    }
  }
  return true;
}

}  // namespace

bool CEditDoc::SaveToPath(const char* pszPath) {
  if (!WriteToFile(pszPath, m_nSaveLineEnd)) return false;
  SetModified(false, true);
  m_cUndoBuffer.MarkSavePoint();
  return true;
}

bool CEditDoc::WriteToFile(const char* pszPath, int nSaveLineEnd) {
  if (!pszPath) return false;
  const int watch = m_nChangeWatch;
  m_nChangeWatch = kWatchOff;
  IDocFrame* frame = m_ports.frame;
  HWND owner = frame ? frame->FrameWindow() : nullptr;
  CJobProgressBar* progress = frame ? frame->ShowProgress() : nullptr;
  const bool heldLock = HoldsFileLock();
  const int lockMode = m_nLockMode;
  ReleaseFileLock();

  bool saved = false;
  // Another editor process that locks the file keeps it: nothing is written, not even a backup.
  CSaveLock hold;
  if (hold.Take(pszPath) == CSaveLock::Result::kHeldElsewhere) {
    ShowMessageBox(
        owner, MB_OK | MB_ICONERROR, kCaption,
        "'%s'\nファイルを保存できません。\nパスが存在しないか、他のアプリケーションで使用されている可能性があります。"_sj,
        pszPath);
  } else {
    bool write = true;
    if (m_pShareData && m_pShareData->Common.bBackUp) {
      const int backup = CreateBackupCopy(pszPath);
      if (backup == 2) write = false;
      if (backup == 3) {
        write = ShowMessageBox(owner, MB_YESNO | MB_ICONQUESTION | MB_TOPMOST, "ファイル保存"_sj, "%s",
                               "バックアップの作成に失敗しました．元ファイルへの上書きを継続して行いますか．"_sj) == IDYES;
      }
    }
    if (write) {
      const CHourglassCursor hourglass(DocumentWindow());
      int64_t modified = 0;
      saved = m_cDocLineMgr.SaveToFile(pszPath, owner, progress, m_nCharCode, &modified, nSaveLineEnd, m_bBomExist);
      if (saved) m_nFileTime = modified;
    }
  }
  hold.Release();

  if (saved) {
    m_cDocLineMgr.ClearModifiedFlags();
    for (int i = 0; i < static_cast<int>(m_ports.panes.size()); ++i) {
      if (i != m_nActivePaneIndex && m_ports.panes[i]) m_ports.panes[i]->Redraw();
    }
    if (m_nActivePaneIndex >= 0 && m_nActivePaneIndex < static_cast<int>(m_ports.panes.size()) &&
        m_ports.panes[m_nActivePaneIndex]) {
      m_ports.panes[m_nActivePaneIndex]->Redraw();
    }
    if (pszPath != m_szFilePath) SetFilePath(pszPath);
    SetModified(false, false);
    SaveRecentFileRecord();
    m_cUndoBuffer.MarkSavePoint();
    m_bReadOnly = false;
    UpdateCaption(false);
    if (m_szFilePath[0]) AcquireFileLock();
  } else if (heldLock) {
    // The file stays this document's: no other process may take it because a save failed.
    AcquireFileLock();
  } else {
    // A lock mode whose lock could not be taken keeps refusing edits: only a lock taken ends that.
    m_nLockMode = lockMode;
  }
  if (frame) frame->HideProgress();
  m_nChangeWatch = watch;
  return saved;
}

int CEditDoc::CreateBackupCopy(const char* pszPath) {
  if (!pszPath || !m_pShareData || !CheckPathAccess(pszPath, 2)) return 0;
  const CommonSettings& common = m_pShareData->Common;
  HWND owner = m_ports.frame ? m_ports.frame->FrameWindow() : nullptr;
  if (common.bBackUpFolder) {
    const std::string folder(common.szBackUpFolder, strnlen(common.szBackUpFolder, sizeof common.szBackUpFolder));
    if (!IsFolder(folder)) {
      return ShowMessageBox(owner, MB_YESNO | MB_ICONQUESTION | MB_TOPMOST, "バックアップエラー"_sj,
                            "以下のバックアップフォルダが見つかりません．\n%s\nバックアップを作成せずに上書き保存してよろしいですか．"_sj,
                            folder.c_str()) == IDYES
                 ? 0
                 : 2;
    }
  }
  char backup[kMaxPath];
  if (!BuildBackupPath(backup, pszPath)) return 3;
  const bool recycle = common.bBackUpDustBox && IsFixedDrivePath(backup);
  if (common.bBackUpDialog) {
    platform::MessageBeep(MB_ICONQUESTION);
    // A copy bound for the trash cannot be kept instead: the question has no Cancel.
    const int answer =
        recycle
            ? ShowMessageBox(
                  owner, MB_YESNO | MB_ICONQUESTION | MB_TOPMOST, "バックアップ作成の確認"_sj,
                  "変更される前に、バックアップファイルを作成します。\nよろしいですか？  [いいえ(N)] を選ぶと作成せずに上書き（または名前を付けて）保存になります。\n\n%s\n    ↓\n%s\n\n作成したバックアップファイルをごみ箱に放り込みます。\n"_sj,
                  pszPath, backup)
            : ShowMessageBox(
                  owner, MB_YESNOCANCEL | MB_ICONQUESTION | MB_TOPMOST, "バックアップ作成の確認"_sj,
                  "変更される前に、バックアップファイルを作成します。\nよろしいですか？  [いいえ(N)] を選ぶと作成せずに上書き（または名前を付けて）保存になります。\n\n%s\n    ↓\n%s\n\n"_sj,
                  pszPath, backup);
    if (answer == IDNO) return 0;
    if (answer == IDCANCEL) return 2;
  }
  const std::string target = backup;
  if (BackupKeepsGenerations(common) && !ShiftGenerations(owner, target, BackupKeepCount(common))) return 0;
  const size_t slash = target.rfind('/');
  if (slash != std::string::npos && slash > 0) {
    const std::string folder = target.substr(0, slash);
    if (!Exists(folder)) platform::MakeFolder(folder, kExact);
  }
  if (!platform::CopyFileAtomically(pszPath, target, kExact)) return 3;
  if (recycle) platform::MoveToTrash(target, kExact);
  return 1;
}

bool CEditDoc::BuildBackupPath(char* pszOut, const char* pszPath) {
  if (!m_pShareData) {
    if (pszOut) pszOut[0] = '\0';
    return false;
  }
  return ::BuildBackupPath(m_pShareData->Common, pszPath, pszOut);
}
