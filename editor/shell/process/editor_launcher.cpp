#include "editor/shell/process/editor_launcher.h"

#include <optional>
#include <string>

#include "editor/foundation/settings/edit_window_limit.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/shell/process/tray_command_text.h"
#include "platform/message_box.h"
#include "platform/path.h"
#include "platform/sjis_literal.h"

namespace {

constexpr const char* kCaption = "tovara";

std::string ExecutablePath() {
  std::string path;
  if (!platform::ExactModuleFileName(path)) return {};
  return path;
}

}  // namespace

CEditorLauncher::CEditorLauncher(CShareData& share, platform::ProcessLauncher& launcher)
    : m_share(share), m_launcher(launcher) {}

CEditorLauncher::~CEditorLauncher() {
  if (!m_installed) return;
  if (GetDocLauncher() == this) SetDocLauncher(nullptr);
  CShareData::SetOutputWindowLauncher(nullptr);
}

void CEditorLauncher::Install() {
  SetDocLauncher(this);
  CShareData::SetOutputWindowLauncher([this] { Launch(nullptr, "-DEBUGMODE", 0, false, true, nullptr); });
  m_installed = true;
}

bool CEditorLauncher::BelowWindowLimit() {
  return BelowEditWindowLimit(m_share.GetShareData(), nullptr);
}

bool CEditorLauncher::Launch(HWND owner, const char* text, int code, bool readOnly, bool wait, const char* folder) {
  if (!BelowWindowLimit()) return false;
  return Start(owner, EditorLaunchText(text, code, readOnly), wait, folder);
}

bool CEditorLauncher::LaunchForFile(HWND owner, const RecentFileRecord& record, bool readOnly, bool wait) {
  if (!BelowWindowLimit()) return false;
  return Launch(owner, EditorLaunchTextForFile(record, readOnly).c_str(), kDetectCharCode, readOnly, wait, nullptr);
}

bool CEditorLauncher::Start(HWND owner, const std::string& text, bool wait, const char* folder) {
  const std::string where = folder && *folder ? std::string(folder) : EditorCurrentFolder();
  const std::optional<std::chrono::milliseconds> limit =
      wait ? std::optional<std::chrono::milliseconds>(kLaunchReadyLimit) : std::nullopt;
  const platform::ProcessLauncher::Result result = m_launcher.Launch(text, where, limit);
  switch (result.status) {
    case platform::ProcessLauncher::Status::kStarted:
      return true;
    case platform::ProcessLauncher::Status::kStartFailed:
      ShowMessageBox(owner, MB_OK | MB_ICONERROR, kCaption, "'%s'\nプロセスの起動に失敗しました。\n%s"_sj,
                     ExecutablePath().c_str(), result.errorText.c_str());
      return false;
    case platform::ProcessLauncher::Status::kNotReady:
      ShowMessageBox(owner, MB_OK | MB_ICONERROR, kCaption, "'%s'\nプロセスの起動に失敗しました。"_sj,
                     ExecutablePath().c_str());
      return false;
  }
  return false;
}
