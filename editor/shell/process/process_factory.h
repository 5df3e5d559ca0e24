// The editor's side of the process factory: which process a command line asks for, and making
// sure a resident runs (started when none does, then waited for) before an edit window starts.
// InstallEditorProcessFactory makes it what CEditorProcessFactory::Create serves.
#pragma once

#include <memory>
#include <string>

#include "editor/shell/process/command_line.h"
#include "editor/shell/process/edit_window_process.h"
#include "editor/shell/process/editor_process.h"
#include "platform/process.h"

struct EditorProcessSetup {
  EditorProcessNames names;
  EditorProcessLimits limits;
  // Starts the resident and, in the resident, every edit window; null: this executable.
  std::shared_ptr<platform::ProcessLauncher> launcher;
  ProcessEditWindowMaker makeWindow;
  // The grep windows' search; null: a grep window opens empty.
  std::shared_ptr<IGrepModeRunner> grep;
  // The resident's settings file; empty: the settings file's own place.
  std::string settingsFile;
  // What the command line's parse asks of the system; null: the host's.
  const CommandLineSystem* system = nullptr;
};

class CEditorProcessMaker {
 public:
  explicit CEditorProcessMaker(EditorProcessSetup setup);

  // A resident process for "-NOWIN" when none runs; else an edit-window process once a resident
  // runs and is ready; null otherwise (the user has been told, except where a resident already
  // runs or never came).
  std::unique_ptr<CProcessBase> Create(HINSTANCE hInstance, const char* pszCmdLine) const;

  // The system is always recent enough.
  static bool CheckOsVersion() { return true; }
  static bool IsResidentModeRequested(const CCommandLineOptions& options) { return options.m_bNoWindow; }
  bool ResidentProcessExists() const;
  // Starts the resident ("-NOWIN" in "/") and waits until it is ready for input.
  bool LaunchResidentProcess() const;
  // Until the resident says it is ready.
  bool WaitResidentProcessReady() const;

 private:
  EditorProcessSetup m_setup;
};

// What CEditorProcessFactory::Create serves from now on.
void InstallEditorProcessFactory(EditorProcessSetup setup);
