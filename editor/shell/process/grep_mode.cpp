#include "editor/shell/process/grep_mode.h"

#include "editor/foundation/document/edit_doc.h"
#include "editor/shell/process/process_edit_window.h"
#include "editor/view/pane/edit_view.h"
#include "editor/view/search/grep_dialog.h"
#include "platform/foreground_window.h"
#include "platform/window.h"

namespace {

constexpr int kGrepCommand = 30911;

}  // namespace

CEditView* CGrepModeRunner::ActivePane(IProcessEditWindow& window) {
  auto* process = dynamic_cast<CProcessEditWindow*>(&window);
  if (!process) return nullptr;
  CEditDoc& doc = process->Window().Document();
  const int active = doc.GetActivePane();
  if (active < 0 || active >= static_cast<int>(doc.Ports().panes.size())) return nullptr;
  return dynamic_cast<CEditView*>(doc.Ports().panes[static_cast<size_t>(active)]);
}

void CGrepModeRunner::RunGrepDialog(IProcessEditWindow& window, const GrepLaunchRequest& request) {
  CEditView* pane = ActivePane(window);
  if (!pane) return;
  CGrepDialog& dialog = pane->GrepDialog();
  dialog.m_szText = request.key;
  dialog.m_szFile = request.files;
  dialog.m_szFolder = request.folder;
  if (dialog.DoModal(pane->m_hInstance, pane->m_hWnd, pane->m_pcEditDoc->m_szFilePath) != 1) return;
  pane->RunCommand(kGrepCommand, true, 0, 0, 0, 0);
}

void CGrepModeRunner::RunGrep(IProcessEditWindow& window, const GrepLaunchRequest& request) {
  CEditView* pane = ActivePane(window);
  if (!pane) return;
  pane->RunGrep(request.key.c_str(), request.files.c_str(), request.folder.c_str(), request.subFolder, request.loHiCase,
                request.regularExp, request.code, request.outputLine, request.wordOnly, request.outputStyle);
}

CTrayGrepDialog::CTrayGrepDialog() : m_dialog(std::make_unique<CGrepDialog>()) {}
CTrayGrepDialog::~CTrayGrepDialog() = default;

bool CTrayGrepDialog::IsOpen() const { return m_dialog->GetHwnd() != nullptr; }

void CTrayGrepDialog::Raise() {
  HWND window = m_dialog->GetHwnd();
  if (!window) return;
  platform::ShowWindow(window, SW_RESTORE);
  platform::SetForegroundWindow(window);
}

bool CTrayGrepDialog::Run(const std::string& seedKey, GrepLaunchRequest* request) {
  m_dialog->m_szText = seedKey;
  m_dialog->m_szFolder.clear();
  if (m_dialog->DoModal(nullptr, nullptr, "") != 1) return false;
  if (request) *request = m_dialog->Request();
  return true;
}
