#include "editor/shell/process/process_factory.h"

#include <new>
#include <utility>

#include "editor/foundation/text/show_message_box.h"
#include "editor/shell/process/launch_arguments.h"
#include "editor/shell/process/resident_process.h"
#include "platform/named_event.h"
#include "platform/named_mutex.h"
#include "platform/sjis_literal.h"

namespace {

// The resident's command line and folder: nothing of its starter's folder is kept busy.
constexpr char kResidentCommandLine[] = "-NOWIN";
constexpr char kResidentFolder[] = "/";

}  // namespace

CEditorProcessMaker::CEditorProcessMaker(EditorProcessSetup setup) : m_setup(std::move(setup)) {
  if (!m_setup.launcher) m_setup.launcher = std::make_shared<platform::SelfLauncher>(kEditorLaunchMarker);
}

std::unique_ptr<CProcessBase> CEditorProcessMaker::Create(HINSTANCE hInstance, const char* pszCmdLine) const {
  try {
    const CommandLineSystem& system = m_setup.system ? *m_setup.system : HostCommandLineSystem();
    const CCommandLineOptions* options = CCommandLineOptions::GetInstance(pszCmdLine ? pszCmdLine : "", system);
    if (!options) return nullptr;
    if (!CheckOsVersion()) return nullptr;
    if (IsResidentModeRequested(*options)) {
      if (ResidentProcessExists()) return nullptr;
      return std::make_unique<CResidentProcess>(hInstance, pszCmdLine, m_setup.names, m_setup.launcher,
                                                m_setup.settingsFile);
    }
    if (!ResidentProcessExists()) LaunchResidentProcess();
    if (!WaitResidentProcessReady()) return nullptr;
    return std::make_unique<CEditWindowProcess>(hInstance, pszCmdLine, m_setup.names, *options, m_setup.makeWindow,
                                                m_setup.grep.get(), m_setup.launcher,
                                                m_setup.limits.initMutex);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

bool CEditorProcessMaker::ResidentProcessExists() const {
  return platform::NamedMutex::OwnerExists(m_setup.names.residentMutex);
}

bool CEditorProcessMaker::LaunchResidentProcess() const {
  const platform::ProcessLauncher::Result result =
      m_setup.launcher->Launch(kResidentCommandLine, kResidentFolder, m_setup.limits.residentIdle);
  const CommandLineSystem& system = m_setup.system ? *m_setup.system : HostCommandLineSystem();
  const std::string path = system.ExecutablePath();
  switch (result.status) {
    case platform::ProcessLauncher::Status::kStarted:
      return true;
    case platform::ProcessLauncher::Status::kStartFailed:
      ShowMessageBox(nullptr, MB_OK | MB_ICONERROR, kProcessCaption, "'%s'\nプロセスの起動に失敗しました。\n%s"_sj,
                     path.c_str(), result.errorText.c_str());
      return false;
    case platform::ProcessLauncher::Status::kNotReady:
      ShowMessageBox(nullptr, MB_OK | MB_ICONERROR, kProcessCaption, "'%s'\nコントロールプロセスの起動に失敗しました。"_sj,
                     path.c_str());
      return false;
  }
  return false;
}

bool CEditorProcessMaker::WaitResidentProcessReady() const {
  if (!ResidentProcessExists()) return false;
  switch (platform::NamedEvent::Wait(m_setup.names.readyEvent, m_setup.limits.residentReady)) {
    case platform::NamedEvent::WaitResult::kTimeout:
      ShowMessageBox(nullptr, MB_OK | MB_ICONERROR | MB_TOPMOST, kProcessCaption, "%s",
                     "エディタまたはシステムがビジー状態です。\nしばらく待って開きなおしてください。"_sj);
      return false;
    case platform::NamedEvent::WaitResult::kSignalled:
    case platform::NamedEvent::WaitResult::kFailed:  // an event that cannot be opened counts as ready
      return true;
  }
  return true;
}

void InstallEditorProcessFactory(EditorProcessSetup setup) {
  auto maker = std::make_shared<const CEditorProcessMaker>(std::move(setup));
  SetEditorProcessCreator([maker](HINSTANCE hInstance, const char* pszCmdLine) {
    return maker->Create(hInstance, pszCmdLine);
  });
}
