// The grep commands of the pane: the dialog that asks what to grep for, and the grep itself, run
// in this pane when the document may take the result, else in a new edit window.
#include <cstring>
#include <memory>
#include <span>

#include "editor/foundation/document/doc_interfaces.h"
#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/edit_window_limit.h"
#include "editor/foundation/text/grep_command_text.h"
#include "editor/foundation/text/memory.h"
#include "editor/view/commands/command_handler.h"
#include "editor/view/pane/edit_view.h"
#include "editor/view/search/grep_dialog.h"

namespace {

// The code that tells the launcher to add no "-CODE=" of its own: the grep text names its code.
constexpr int kNoCodeOption = 99;

}  // namespace

CGrepDialog& CEditView::GrepDialog() {
  CEditView* first = PartnerPane(0);
  CEditView& keeper = first ? *first : *this;
  if (!keeper.m_pcGrepDialog) keeper.m_pcGrepDialog = std::make_shared<CGrepDialog>();
  return *keeper.m_pcGrepDialog;
}

void CEditView::Command_GREP_DIALOG() {
  CGrepDialog& dialog = GrepDialog();
  CMemory key;
  GetSelectedTextOrWord(&key, kMaxPath - 1);
  if (key.GetLength() > 0) {
    dialog.m_szText.assign(key.View());
  } else if (m_pShareData && m_pShareData->nSearchKeyCount > 0) {
    dialog.m_szText.assign(m_pShareData->szSearchKeys[0], strnlen(m_pShareData->szSearchKeys[0], kMaxPath));
  }
  if (dialog.DoModal(m_hInstance, m_hWnd, m_pcEditDoc->m_szFilePath) != 1) return;
  Command_GREP();
}

void CEditView::Command_GREP() {
  if (!BelowEditWindowLimit(m_pShareData, m_hWnd)) return;
  const GrepLaunchRequest request = GrepDialog().Request();
  CEditDoc& doc = *m_pcEditDoc;
  if (doc.m_bGrepWindow || (!doc.m_bIsModified && doc.m_szFilePath[0] == '\0')) {
    RunGrep(request.key.c_str(), request.files.c_str(), request.folder.c_str(), request.subFolder, request.loHiCase,
            request.regularExp, request.code, request.outputLine, request.wordOnly, request.outputStyle);
    return;
  }
  if (IDocLauncher* launcher = GetDocLauncher()) {
    const std::string text = GrepLaunchText(request, GrepLetterOrder::kWordAfterFolders);
    launcher->LaunchEditorProcess(text.c_str(), kNoCodeOption, false, false, nullptr);
  }
}

// ---------------------------------------------------------------- registration

namespace {

constexpr CommandHandlerEntry kGrepCommands[] = {
    {30910, 30910, &PlainHandler<&CEditView::Command_GREP_DIALOG>},
    {30911, 30911, &PlainHandler<&CEditView::Command_GREP>},
};

}  // namespace

std::span<const CommandHandlerEntry> GrepCommandFamily() { return kGrepCommands; }
