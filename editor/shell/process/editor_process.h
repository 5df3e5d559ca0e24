// What every editor process has: the instance it was given, its main window (the tray window or
// the edit window), its command line and its access to the shared settings record. The game runs
// an editor process through CProcessBase::Run; the resident and the edit-window process fill in
// the three steps.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "editor/foundation/settings/share_data.h"
#include "sdk/framework/editor_process_factory.h"
#include "platform/win_types.h"

// The caption of every message the processes show.
constexpr const char* kProcessCaption = "tovara";

// The names of what the processes share with each other. A test gives its own, so that it never
// meets an editor the user runs.
struct EditorProcessNames {
  std::string record = "CShareData";
  std::string mutex = "MutexTovaraEditor";
  std::string residentMutex = "MutexTovaraEditorCP";
  std::string readyEvent = "EventTovaraEditorCPInitialized";
  std::string initMutex = "MutexTovaraEditorInit";

  // Every name with the suffix added.
  static EditorProcessNames WithSuffix(std::string_view suffix);
};

// How long a start waits for the resident (to be ready for input, then to be ready) and for the
// start of another edit window.
struct EditorProcessLimits {
  std::chrono::milliseconds residentIdle{10000};
  std::chrono::milliseconds residentReady{10000};
  std::chrono::milliseconds initMutex{15000};
};

class CEditorProcess : public CProcessBase {
 public:
  CEditorProcess(HINSTANCE hInstance, const char* pszCmdLine, EditorProcessNames names);
  // Detaches the shared record.
  ~CEditorProcess() override;
  CEditorProcess(const CEditorProcess&) = delete;
  CEditorProcess& operator=(const CEditorProcess&) = delete;

  // Initialize, then, only when that succeeded, RunMessageLoop and Finish.
  bool Run() final;

  HWND GetMainWindow() const { return m_hWnd; }
  CShareData& GetShareData() { return m_cShareData; }
  SharedSettings* GetSharedRecord() const { return m_pShareData; }

 protected:
  // Attaches the shared record; the derived steps call it first.
  virtual bool Initialize() { return AttachShareData(); }
  virtual bool RunMessageLoop() = 0;
  virtual void Finish() = 0;

  // False, after saying that another version runs, when the record cannot be attached.
  bool AttachShareData();

  HINSTANCE m_hInstance;
  HWND m_hWnd = nullptr;
  // The command line as the process was started with it (the caller's text may not outlive it).
  std::string m_szCmdLine;
  const EditorProcessNames m_names;
  CShareData m_cShareData;
  SharedSettings* m_pShareData = nullptr;
};
