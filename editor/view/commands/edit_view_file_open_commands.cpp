// The document as a file: a new window, opening, closing (and opening another in its place),
// reopening in another code, printing, the desktop's own program for the file, read-only mode and
// the editor's quit.
#include <cstring>
#include <span>
#include <string>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/view/commands/command_handler.h"
#include "editor/view/pane/edit_view.h"
#include "editor/view/pane/edit_window.h"
#include "platform/beep.h"
#include "platform/sjis_literal.h"
#include "platform/url_opener.h"

namespace {

constexpr char kCaption[] = "tovara";
constexpr int kCodeDetect = 99;

// The path as a "file:" address. The address is read leniently, so only the characters that would
// end the path or be read as an escape are escaped; none of them is a Shift-JIS trail byte.
std::string FileAddress(const char* path) {
  std::string address = "file://";
  for (const char* p = path; *p; ++p) {
    switch (*p) {
      case '%': address += "%25"; break;
      case '#': address += "%23"; break;
      case '?': address += "%3F"; break;
      default: address += *p; break;
    }
  }
  return address;
}

}  // namespace

void CEditView::Command_FILENEW() {
  if (IDocLauncher* launcher = GetDocLauncher()) {
    launcher->LaunchEditorProcess(nullptr, kCodeDetect, false, false, EditorCurrentFolder().c_str());
  }
}

void CEditView::Command_FILEOPEN(const char* pszPath) {
  if (!m_pcEditDoc) return;
  // An empty path is no file: the dialog asks as for none.
  m_pcEditDoc->OpenFile(pszPath && pszPath[0] ? pszPath : nullptr, kCodeDetect, false);
}

void CEditView::Command_FILECLOSE() {
  if (!m_pcEditDoc) return;
  CEditDoc& doc = *m_pcEditDoc;
  if (!doc.QueryClose()) return;
  doc.ClearDocument();
  doc.ResetAllViews();
  doc.UpdateCaption(false);
  RepaintAll();
}

void CEditView::Command_FILECLOSE_OPEN(const char* pszPath, int nCharCode, bool bReadOnly) {
  if (!m_pcEditDoc) return;
  CEditDoc& doc = *m_pcEditDoc;
  if (!doc.QueryClose()) return;
  char path[kMaxPath] = {};
  if (pszPath && pszPath[0]) {
    if (strnlen(pszPath, kMaxPath) >= static_cast<size_t>(kMaxPath)) return;
    std::strcpy(path, pszPath);
  } else {
    const std::string folder = doc.m_szFilePath[0] ? std::string() : EditorCurrentFolder();
    if (!doc.ShowOpenDialog(m_pEditWnd ? m_pEditWnd->Window() : nullptr, folder.empty() ? nullptr : folder.c_str(),
                            path, &nCharCode, &bReadOnly)) {
      return;
    }
  }
  doc.ClearDocument();
  doc.ResetAllViews();
  bool elsewhere = false;
  doc.FileRead(path, &elsewhere, nCharCode, bReadOnly, false);
  doc.UpdateCaption(false);
  RepaintAll();
}

void CEditView::Command_FILE_REOPEN(int nCharCode, bool bNoConfirm) {
  if (!m_pcEditDoc) return;
  CEditDoc& doc = *m_pcEditDoc;
  if (nCharCode < 0) nCharCode = doc.m_nCharCode;
  if (!bNoConfirm && doc.m_bIsModified && IsExistingFile(doc.m_szFilePath, true)) {
    const int answer = ShowMessageBox(m_pEditWnd ? m_pEditWnd->Window() : nullptr,
                                      MB_OKCANCEL | MB_ICONQUESTION | MB_TOPMOST, kCaption,
                                      "%s\n\nこのファイルは変更されています。\n再ロードを行うと変更が失われますが、よろしいですか?"_sj,
                                      doc.m_szFilePath);
    if (answer != IDOK) return;
  }
  doc.ReloadWithCode(nCharCode, doc.m_bReadOnly);
  ShowCaretPosition();
}

void CEditView::Command_PRINT() {
  // Printing starts from the preview; while one is shown only PrintPreview reaches a pane.
  if (m_pEditWnd && !m_pEditWnd->IsPrintPreview()) m_pEditWnd->TogglePrintPreview();
}

void CEditView::Command_PRINT_PREVIEW() {
  if (m_pEditWnd) m_pEditWnd->TogglePrintPreview();
}

void CEditView::Command_BROWSE() {
  if (!m_pcEditDoc || m_pcEditDoc->m_szFilePath[0] == '\0') {
    platform::MessageBeep(MB_ICONHAND);
    return;
  }
  platform::OpenUrl(FileAddress(m_pcEditDoc->m_szFilePath));
}

void CEditView::Command_READONLY() {
  if (!m_pcEditDoc) return;
  m_pcEditDoc->m_bReadOnly = !m_pcEditDoc->m_bReadOnly;
  m_pcEditDoc->UpdateCaption(false);
}

void CEditView::Command_EXITALL() {
  if (m_pEditWnd) m_pEditWnd->QuitAll();
}

// ---------------------------------------------------------------- registration

namespace {

LRESULT FileNew(CEditView& v, const CommandCall&) {
  v.Command_FILENEW();
  return 1;
}

LRESULT FileOpen(CEditView& v, const CommandCall& call) {
  v.Command_FILEOPEN(call.Text(0));
  return 1;
}

LRESULT FileClose(CEditView& v, const CommandCall&) {
  v.Command_FILECLOSE();
  return 1;
}

// (path, code, read-only); a code the caller left out (0 and no path) is the detection's.
LRESULT FileCloseOpen(CEditView& v, const CommandCall& call) {
  const char* path = call.Text(0);
  const int code = path ? static_cast<int>(call.lparam[1]) : kCodeDetect;
  v.Command_FILECLOSE_OPEN(path, code, call.lparam[2] != 0);
  return 1;
}

// 30111-30117 reopen in codes 0-6, 30119 in the document's own code.
LRESULT FileReopen(CEditView& v, const CommandCall& call) {
  const int code = call.nCommand == 30119 ? -1 : call.nCommand - 30111;
  v.Command_FILE_REOPEN(code, call.lparam[0] != 0);
  return 1;
}

constexpr CommandHandlerEntry kFileOpenCommands[] = {
    {30101, 30101, &FileNew},
    {30102, 30102, &FileOpen},
    {30105, 30105, &FileClose},
    {30107, 30107, &FileCloseOpen},
    {30108, 30108, &FileOpen},
    {30111, 30117, &FileReopen},
    {30119, 30119, &FileReopen},
    {30150, 30150, &PlainHandler<&CEditView::Command_PRINT>},
    {30151, 30151, &PlainHandler<&CEditView::Command_PRINT_PREVIEW>},
    {30180, 30180, &PlainHandler<&CEditView::Command_BROWSE>},
    {30185, 30185, &PlainHandler<&CEditView::Command_READONLY>},
    {30195, 30195, &PlainHandler<&CEditView::Command_EXITALL>},
};

}  // namespace

std::span<const CommandHandlerEntry> FileOpenCommandFamily() { return kFileOpenCommands; }
