// Starting edit-window processes: every new window of the editor, from the tray's menu, from an
// edit window's commands (through the document's launcher port) and the output window that debug
// texts ask for.
//
// A launch starts this executable with the editor's private marker and the command text (see
// tray_command_text.h) in the given folder, else in the editor's own current folder (never the
// process's: an edit window may live in the game's process, which must keep its own). With the
// wait flag the launch waits up to 10 s for the new process to be ready for input.
#pragma once

#include <chrono>

#include "editor/foundation/document/doc_interfaces.h"
#include "editor/foundation/settings/shared_settings.h"
#include "platform/process.h"
#include "platform/win_types.h"

class CShareData;

// The most edit windows open at once.
constexpr int kMaxEditWindows = kEditWindowSlots;
constexpr std::chrono::milliseconds kLaunchReadyLimit{10000};

class CEditorLauncher final : public IDocLauncher {
 public:
  CEditorLauncher(CShareData& share, platform::ProcessLauncher& launcher);
  ~CEditorLauncher() override;
  CEditorLauncher(const CEditorLauncher&) = delete;
  CEditorLauncher& operator=(const CEditorLauncher&) = delete;

  // Becomes the document's launcher and the output window's starter ("-DEBUGMODE"), until it goes.
  void Install();

  // False, with a message box owned by the owner, when 256 windows are open, when the process
  // cannot be started (the system's text said) or, with the wait flag, when it is not ready in
  // time. folder: null or empty for the editor's current folder.
  bool Launch(HWND owner, const char* text, int code, bool readOnly, bool wait, const char* folder);
  // A recent file reopened where it was left (tray_command_text.h), its code detected unless the
  // record names one.
  bool LaunchForFile(HWND owner, const RecentFileRecord& record, bool readOnly, bool wait);

  bool LaunchEditorProcess(const char* text, int code, bool readOnly, bool wait, const char* folder) override {
    return Launch(nullptr, text, code, readOnly, wait, folder);
  }

 private:
  bool BelowWindowLimit();
  bool Start(HWND owner, const std::string& text, bool wait, const char* folder);

  CShareData& m_share;
  platform::ProcessLauncher& m_launcher;
  bool m_installed = false;
};
