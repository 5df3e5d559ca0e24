// The resident (control) process: one per user, started with "-NOWIN" in "/" and in a session of
// its own, so that it outlives whoever started it. It holds the marks that tell others it runs,
// keeps the settings (read at start, written at the end), owns the tray application and, through
// it, starts every further edit window.
#pragma once

#include <memory>
#include <string>

#include "editor/shell/process/editor_process.h"
#include "platform/named_event.h"
#include "platform/named_mutex.h"
#include "platform/process.h"

class CEditApp;
class ITrayGrepDialog;

// Registers dialog template 175: the notice shown while the settings are written at the end.
bool RegisterExitingNoticeTemplate();
constexpr int kExitingNoticeTemplate = 175;

class CResidentProcess : public CEditorProcess {
 public:
  // launcher: what the tray starts edit windows with. settingsFile: empty for the settings file's
  // own place (tests give theirs).
  CResidentProcess(HINSTANCE hInstance, const char* pszCmdLine, EditorProcessNames names,
                   std::shared_ptr<platform::ProcessLauncher> launcher, std::string settingsFile = {});
  // Ends the tray, then lets go of the event and both mutexes before the record is detached.
  ~CResidentProcess() override;

  CEditApp* GetEditApp() const { return m_pcEditApp.get(); }

 protected:
  bool Initialize() override;
  bool RunMessageLoop() override;
  void Finish() override;
  // The settings file into the record, and back.
  virtual bool LoadSettings();
  virtual bool SaveSettings();
  // Nothing at all stands at the settings path (a file there that cannot be read is not missing).
  bool SettingsFileMissing() const;

 private:
  // An error beep, then the message as the resident's failures show it.
  static void ShowFailure(const char* text);

  platform::NamedMutex m_hMutex;
  platform::NamedMutex m_hMutexCP;
  platform::NamedEvent m_hEventCPInitialized;
  std::shared_ptr<platform::ProcessLauncher> m_launcher;
  std::string m_settingsFile;
  // The settings file was there but could not be read: this run never writes over it.
  bool m_bKeepUnreadableSettings = false;
  // The tray's grep dialog; it outlives the tray that points at it.
  std::unique_ptr<ITrayGrepDialog> m_pcGrepDialog;
  std::unique_ptr<CEditApp> m_pcEditApp;
};
