// The edit-window process: one top-level edit window on one document. Its start is serialised with
// every other edit window's (the init mutex), so that "is the file already open?" and the new
// window's entry in the shared list happen as one step; a file another window shows moves that
// window's caret (when a line was asked for) and brings it forward instead of opening twice.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "editor/shell/process/command_line.h"
#include "editor/shell/process/editor_launcher.h"
#include "editor/shell/process/editor_process.h"
#include "editor/shell/process/tray_command_text.h"
#include "platform/named_mutex.h"
#include "platform/process.h"

// What the process asks of its edit window.
class IProcessEditWindow {
 public:
  virtual ~IProcessEditWindow() = default;
  // Makes the window and loads the file (null: an empty document). residentWindow is the tray
  // window, told of the window's end. nDocumentType -1 keeps the type the name chooses. Null when
  // no window results (the user has been told).
  virtual HWND Create(HINSTANCE hInstance, EditWindowId residentWindow, const char* pszPath, int nCharCode,
                      bool bReadOnly, int nDocumentType) = 0;
  // Until the window is gone; ends only the window's own loop. A quit request of the process's
  // other user (the game) taken meanwhile closes the window as WM_CLOSE does; its exit code is
  // returned.
  virtual std::optional<int> RunMessageLoop() = 0;
  // Debug mode: the window becomes the output window (unless a live one exists), its document
  // takes the type of the "output" extension (not fixed), that type's change is counted and the
  // icons follow the type.
  virtual void BecomeOutputWindow() = 0;
  // A new window on a file: the view's top line and left column, then the caret, as asked.
  virtual void ApplyPositionRequest(const RecentFileRecord& request) = 0;
};

// Makes the process's edit window; the window's size and place requests come with it.
using ProcessEditWindowMaker =
    std::function<std::unique_ptr<IProcessEditWindow>(CShareData& share, const RecentFileRecord& request)>;

// How a grep window runs its search (the request the grep command line carries); the search side
// provides it. Without one a grep window
// opens empty.
class IGrepModeRunner {
 public:
  virtual ~IGrepModeRunner() = default;
  // The grep dialog seeded with the request, run modally; confirmed, the grep command runs.
  virtual void RunGrepDialog(IProcessEditWindow& window, const GrepLaunchRequest& request) = 0;
  // The grep at once in the window's active pane.
  virtual void RunGrep(IProcessEditWindow& window, const GrepLaunchRequest& request) = 0;
};

class CEditWindowProcess : public CEditorProcess {
 public:
  // options: the command line as parsed for this process; launcher: what the window starts further
  // windows (and the output window) with.
  CEditWindowProcess(HINSTANCE hInstance, const char* pszCmdLine, EditorProcessNames names,
                     const CCommandLineOptions& options, ProcessEditWindowMaker makeWindow,
                     IGrepModeRunner* grep, std::shared_ptr<platform::ProcessLauncher> launcher,
                     std::chrono::milliseconds initLimit);
  // The window goes before the record is detached.
  ~CEditWindowProcess() override;

  IProcessEditWindow* GetEditWindow() const { return m_pcEditWnd.get(); }

 protected:
  bool Initialize() override;
  bool RunMessageLoop() override;
  void Finish() override {}

 private:
  // Owns the init mutex, or says why not (the mutex is then not held).
  bool AcquireInitMutex();
  // The file is open in another window: its caret moved as asked, the window brought forward.
  void MoveOpenWindow(EditWindowId window, const RecentFileRecord& request);
  bool StartGrepMode();
  GrepLaunchRequest GrepRequest() const;

  const CCommandLineOptions m_options;
  ProcessEditWindowMaker m_makeWindow;
  IGrepModeRunner* m_pGrep;
  std::shared_ptr<platform::ProcessLauncher> m_launcher;
  std::unique_ptr<CEditorLauncher> m_pcLauncher;
  std::chrono::milliseconds m_initLimit;
  platform::NamedMutex m_hMutexInit;
  std::unique_ptr<IProcessEditWindow> m_pcEditWnd;
};
