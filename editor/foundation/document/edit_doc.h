// The document of one edit window: the text of one file with its display lines and undo history,
// the file's identity on disk (path, code, byte-order mark, line ends, last-write time, lock), and
// the panes that show it, reached through the ports of doc_interfaces.h.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "editor/foundation/document/auto_save_timer.h"
#include "editor/foundation/document/doc_interfaces.h"
#include "editor/foundation/settings/shared_settings.h"
#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/line_end.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/undo_buffer.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "platform/win_types.h"

class COpenFileDialog;

namespace platform {
class FileLock;
}

// Names of the character codes 0-6 in messages.
const char* CharCodeName(int code);  // null outside 0-6

// To an edit window, with wParam -1: activate pane 0 (lParam 0) or the last visible pane (lParam
// not 0).
constexpr UINT MYWM_SETACTIVEPANE = 0x85E6;

class CEditDoc {
 public:
  // Lock modes of "nFileShareMode".
  static constexpr int kLockNone = 0;
  static constexpr int kLockExclusive = 16;
  static constexpr int kLockDenyWrite = 32;
  // Change-watch states.
  static constexpr int kWatchAsk = 0;
  static constexpr int kWatchNotify = 1;
  static constexpr int kWatchOff = 2;

  CEditDoc();
  ~CEditDoc();
  CEditDoc(const CEditDoc&) = delete;
  CEditDoc& operator=(const CEditDoc&) = delete;

  // The windows around the document; any may be null (tests, or before the edit window exists).
  void SetPorts(const DocPorts& ports);
  const DocPorts& Ports() const { return m_ports; }

  // ---- Windows (edit_doc.cpp) ----------------------------------------------------------------
  // Makes the splitter inside the parent and the four panes in it (pane 0 shown and focused)
  // through the process's views factory; editWindow is handed to the views. False when no views
  // could be made.
  bool Create(HINSTANCE hInstance, HWND hwndParent, void* editWindow);
  LRESULT DispatchToViews(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void MoveDocWindow(int x, int y, int width, int height);

  // ---- Queries --------------------------------------------------------------------------------
  bool IsTextSelected() const;
  bool CanUndo() const;
  bool CanRedo() const;
  bool CanPaste() const;
  int GetActivePane() const { return m_nActivePaneIndex; }
  bool IsCommandRefusedReadOnly(int command) const;  // edit_doc_open.cpp
  // The part of the path after its last "/".
  const char* GetFileName() const;

  // ---- Opening and the lock (edit_doc_open.cpp) ------------------------------------------------
  // Loads a file into this (cleared or new) document. A relative path is taken from the editor's
  // current folder, which a successful load sets to the file's folder; a path of kMaxPath bytes or
  // more is refused. pszPath holds kMaxPath bytes: a folder given is replaced by the file chosen.
  bool FileRead(char* pszPath, bool* pbOpenedElsewhere, int nCharCode, bool bReadOnly, bool bConfirmCodeChange);
  // Routes an open request (null: ask with the open dialog): to the window that has the file, into
  // this document when it is empty and untitled, else to a new editor process. True when the file
  // is open somewhere now (or a process was started for it).
  bool OpenFile(const char* pszPath, int nCharCode, bool bReadOnly);
  void ReloadWithCode(int nCharCode, bool bReadOnly);
  // The lock of the lock mode ("nFileShareMode": 16 exclusive, 32 deny write) on the file, taken
  // without waiting; a file another editor process locks is reported and left unlocked.
  void AcquireFileLock();
  void ReleaseFileLock();
  bool HoldsFileLock() const;

  // ---- Closing (edit_doc.cpp) ------------------------------------------------------------------
  void ClearDocument();
  void ResetAllViews();
  bool QueryClose();
  bool ShowOpenDialog(HWND hwndOwner, const char* pszStartFolder, char* pszPath, int* pnCharCode, bool* pbReadOnly);
  bool ShowSaveDialog(char* pszPath, int* pnCharCode, int* pnSaveLineEnd, bool* pbBom);

  // ---- Panes (edit_doc.cpp) --------------------------------------------------------------------
  void SetActivePane(int index);
  LRESULT HandleCommand(int command);
  void RedrawSiblingPanes();
  bool UpdatePanesTextAreaLeft(bool redraw);
  // The block of every pane's caret and ranges in document positions, for RestorePanePositions.
  std::unique_ptr<PaneMarks[]> SavePanePositions();
  void RestorePanePositions(std::unique_ptr<PaneMarks[]> saved);
  void ChangeWrapWidth(bool showProgress, int tabWidth, int wrapWidth);

  // ---- Settings and state (edit_doc.cpp) -------------------------------------------------------
  void OnSettingsChanged();
  bool OpenCommonSettings(int page);
  bool OpenTypeSettings(int page, int typeIndex);
  // The font chooser owned by the document window, started at *font, offering only the faces our
  // font module judges fixed; on OK *font holds the choice (lfPitchAndFamily FIXED_PITCH exactly
  // when the module judges the chosen font fixed) and the result is true (edit_doc_dialogs.cpp).
  bool ChooseFontDialog(LOGFONT* font);
  // Does nothing: the toolkit can neither open nor close an input method nor set its mode.
  void SetImeMode(int mode);
  void SetModified(bool modified, bool refreshCaption);
  // A path of kMaxPath bytes or more is not stored (the path becomes empty).
  void SetFilePath(const char* path);
  void UpdateFileIcon();
  void FillRecentFileRecord(RecentFileRecord* record);
  void SaveRecentFileRecord();

  // ---- Saving and backups (edit_doc_save.cpp) --------------------------------------------------
  bool SaveToPath(const char* pszPath);
  bool WriteToFile(const char* pszPath, int nSaveLineEnd);
  int CreateBackupCopy(const char* pszPath);
  bool BuildBackupPath(char* pszOut, const char* pszPath);

  // ---- Auto-save and change watch (edit_doc_autosave.cpp) --------------------------------------
  void ReloadAutoSaveSettings();
  void CheckAutoSave();
  void CheckFileChangedOnDisk();

  // ---- Captions (edit_doc_caption.cpp) ---------------------------------------------------------
  void ExpandCaptionFormat(const char* pszTemplate, char* pszOut, int nSize);
  const char* SkipCaptionBranch(const char* position, int branches);
  int EvalCaptionCondition(char letter);
  void UpdateCaption(bool inactive);

  // ---- Fields (the order of the document's model) ----------------------------------------------
  CAutoSaveTimer m_cAutoSaveTimer;
  int m_nSettingType = 0;
  bool m_bTypeFixed = false;
  bool m_bIsModified = false;
  char m_szFilePath[kMaxPath] = {};
  int m_nGrepRunning = 0;
  int64_t m_nFileTime = 0;  // last-write time in nanoseconds; 0 = none
  CDocLineMgr m_cDocLineMgr;
  CWrapLineMgr m_cLayoutMgr;
  int m_nCharCode = 0;
  bool m_bBomExist = false;
  bool m_bInsMode = true;
  int m_nNewLineType = CLineEnd::CRLF;
  int m_nSaveLineEnd = CLineEnd::NONE;
  bool m_bReadOnly = false;
  bool m_bOutputWindow = false;
  bool m_bGrepWindow = false;
  std::string m_szGrepKey;
  CUndoBuffer m_cUndoBuffer;
  int m_nCommandExecNum = 0;  // commands the panes ran (those the edit filter let through)
  int m_nActivePaneIndex = 0;
  SharedSettings* m_pShareData = nullptr;
  std::unique_ptr<COpenFileDialog> m_pOpenFileDialog;  // made at its first use
  std::string m_szDefaultWildCard = "*.*";
  int m_nLockMode = kLockNone;
  std::unique_ptr<platform::FileLock> m_pFileLock;  // held lock; null = none
  int m_nChangeWatch = kWatchAsk;

 private:
  // The shared record of the process (refreshed from CShareData); null without one.
  SharedSettings* RefreshSettings();
  const TypeSettings* CurrentType() const;
  IDocPane* ActivePane() const;
  HWND FrameWindow() const;
  // The splitter's window, which is the document's; null before the panes exist.
  HWND DocumentWindow() const { return m_ports.splitter ? m_ports.splitter->Window() : nullptr; }
  COpenFileDialog& FileDialog();
  void CycleWindows(bool forward);

  DocPorts m_ports;
  // Last, so that the panes go before the rest of the document they show.
  std::unique_ptr<IDocViews> m_pViews;
};
