#include "editor/shell/process/resident_process.h"

#include <cerrno>
#include <sys/stat.h>
#include <utility>

#include "editor/foundation/text/show_message_box.h"
#include "editor/shell/process/control_tray.h"
#include "editor/shell/process/grep_mode.h"
#include "editor/shell/process/launch_arguments.h"
#include "platform/beep.h"
#include "platform/dialog.h"
#include "platform/path.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"

namespace {

constexpr const char* kCreateMutexFailed = "CreateMutex()失敗。\n終了します。"_sj;

INT_PTR ExitingNoticeProc(HWND, UINT uMsg, WPARAM, LPARAM) { return uMsg == WM_INITDIALOG ? 1 : 0; }

}  // namespace

bool RegisterExitingNoticeTemplate() {
  return platform::RegisterDialogTemplate(kExitingNoticeTemplate, [](platform::DialogBuilder& b) {
    b.Caption(kProcessCaption);
    b.StaticText(-1, "設定を保存しています。しばらくお待ちください。"_sj);
  });
}

CResidentProcess::CResidentProcess(HINSTANCE hInstance, const char* pszCmdLine, EditorProcessNames names,
                                   std::shared_ptr<platform::ProcessLauncher> launcher, std::string settingsFile)
    : CEditorProcess(hInstance, pszCmdLine, std::move(names)),
      m_launcher(std::move(launcher)),
      m_settingsFile(std::move(settingsFile)) {}

CResidentProcess::~CResidentProcess() {
  m_pcEditApp.reset();
  m_hEventCPInitialized.Close();
  m_hMutexCP.Close();
  m_hMutex.Close();
}

void CResidentProcess::ShowFailure(const char* text) {
  platform::MessageBeep(MB_ICONHAND);
  ShowMessageBox(nullptr, MB_OK | MB_ICONERROR | MB_TOPMOST, kProcessCaption, "%s", text);
}

bool CResidentProcess::LoadSettings() {
  return m_settingsFile.empty() ? m_cShareData.LoadFromIni() : m_cShareData.IOSettings(true, m_settingsFile);
}

bool CResidentProcess::SettingsFileMissing() const {
  const std::string path = m_settingsFile.empty() ? CShareData::GetIniFilePath() : m_settingsFile;
  if (path.empty()) return false;
  struct stat st {};
  return ::lstat(platform::HostPath(path).c_str(), &st) != 0 && errno == ENOENT;
}

bool CResidentProcess::SaveSettings() {
  return m_settingsFile.empty() ? m_cShareData.SaveToIni() : m_cShareData.IOSettings(false, m_settingsFile);
}

bool CResidentProcess::Initialize() {
  if (m_hMutex.CreateNotOwned(m_names.mutex) != platform::NamedMutex::Result::kHeld) {
    ShowFailure(kCreateMutexFailed);
    return false;
  }
  // A resident that lost the race finds the winner's event; the mark below then sends it home.
  if (m_hEventCPInitialized.Create(m_names.readyEvent) == platform::NamedEvent::Result::kFailed) {
    ShowFailure("CreateEvent()失敗。\n終了します。"_sj);
    return false;
  }
  switch (m_hMutexCP.CreateOwned(m_names.residentMutex)) {
    case platform::NamedMutex::Result::kOwned:
      break;
    case platform::NamedMutex::Result::kExists:
      return false;  // another resident runs
    default:
      ShowFailure(kCreateMutexFailed);
      return false;
  }
  if (!AttachShareData()) return false;

  // No settings file yet: the defaults become the first one. A file that is there but cannot be
  // read is still the user's: writing the defaults over it would lose the settings.
  if (!LoadSettings()) {
    if (SettingsFileMissing()) {
      SaveSettings();
    } else {
      m_bKeepUnreadableSettings = true;
    }
  }

  if (!m_launcher) m_launcher = std::make_shared<platform::SelfLauncher>(kEditorLaunchMarker);
  m_pcEditApp = std::make_unique<CEditApp>(m_cShareData, *m_launcher);
  m_pcEditApp->SetSettingsFile(m_settingsFile);
  m_pcEditApp->SetSettingsWritable(!m_bKeepUnreadableSettings);
  m_pcGrepDialog = std::make_unique<CTrayGrepDialog>();
  m_pcEditApp->SetGrepDialog(m_pcGrepDialog.get());
  m_hWnd = m_pcEditApp->Create(m_hInstance);
  if (!m_hWnd) {
    ShowFailure("ウィンドウの作成に失敗しました。\n起動できません。"_sj);
    return false;
  }
  m_pcEditApp->Launcher().Install();
  m_pShareData->hwndResident = m_pcEditApp->GetTrayWindowId();

  if (!m_hEventCPInitialized.Set()) {
    ShowFailure("SetEvent()失敗。\n終了します。"_sj);
    return false;
  }
  return true;
}

bool CResidentProcess::RunMessageLoop() {
  if (!m_pcEditApp || !m_hWnd) return false;
  return m_pcEditApp->RunMessageLoop();
}

void CResidentProcess::Finish() {
  HWND notice = nullptr;
  if (m_pShareData && m_pShareData->Common.bDispExitingDialog == 1) {
    notice = platform::CreateDialogParam(m_hInstance, MAKEINTRESOURCE(kExitingNoticeTemplate), nullptr,
                                         ExitingNoticeProc, 0);
    if (notice) platform::ShowWindow(notice, SW_SHOW);
  }
  if (!m_bKeepUnreadableSettings) SaveSettings();
  if (notice) platform::DestroyWindow(notice);
  if (m_pShareData) {
    m_pShareData->hwndResident = 0;
    // Accelerator tables stay in their processes: the field is never set.
    m_pShareData->hSharedAccel = 0;
  }
}
