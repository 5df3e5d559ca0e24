// Saving the document: over its file, under a name asked for or given, and every edit window at
// once. The close question runs these through the dispatcher and closes only on a result of 1, so
// a save that did not happen must never give 1.
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/view/commands/command_handler.h"
#include "editor/view/pane/edit_view.h"
#include "editor/view/pane/edit_window.h"
#include "platform/beep.h"
#include "platform/file.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"

namespace {

constexpr char kCaption[] = "tovara";
constexpr int kCmdSaveQuietly = 30121;

void Beep() { platform::MessageBeep(MB_ICONHAND); }

// Whether two paths name one file: the same device and inode when the first exists, else the same
// path exactly. Names that differ only in case are two files here.
bool IsSameFile(const char* pszChosen, const char* pszCurrent) {
  platform::PathStatus chosen;
  platform::PathStatus current;
  if (platform::StatPath(pszChosen, platform::PathMode::kExact, chosen)) {
    return platform::StatPath(pszCurrent, platform::PathMode::kExact, current) &&
           chosen.stamp.device == current.stamp.device && chosen.stamp.inode == current.stamp.inode;
  }
  return std::strcmp(pszChosen, pszCurrent) == 0;
}

}  // namespace

int CEditView::Command_FILESAVE(bool bBeep, bool bAsk) {
  if (!m_pcEditDoc) return 0;
  CEditDoc& doc = *m_pcEditDoc;
  if (!doc.m_bIsModified && !Common().bEnableUnmodifiedOverwrite) {
    if (bBeep) Beep();
    return 1;
  }
  if (doc.m_szFilePath[0] == '\0') return bAsk ? Command_SAVEAS_PROMPT() : 0;
  if (doc.m_bReadOnly) {
    if (bBeep) {
      Beep();
      ShowMessageBox(m_pEditWnd ? m_pEditWnd->Window() : nullptr, MB_ICONHAND | MB_TOPMOST, kCaption,
                     "%s\n\nは読み取り専用モードで開いています。 上書き保存はできません。\n\n"
                     "名前を付けて保存をすればいいと思います。"_sj,
                     doc.m_szFilePath);
    }
    return 0;
  }
  if (!doc.SaveToPath(doc.m_szFilePath)) return 0;
  ShowCaretPosition();
  return 1;
}

int CEditView::Command_SAVEAS_PROMPT() {
  if (!m_pcEditDoc) return 0;
  CEditDoc& doc = *m_pcEditDoc;
  // A read-only document starts from no name: its own name is the one it may not take.
  char path[kMaxPath] = {};
  if (!doc.m_bReadOnly) std::memcpy(path, doc.m_szFilePath, sizeof path);
  path[kMaxPath - 1] = '\0';
  int code = doc.m_nCharCode;
  int lineEnd = doc.m_nSaveLineEnd;
  bool bom = doc.m_bBomExist;
  if (!doc.ShowSaveDialog(path, &code, &lineEnd, &bom)) return 0;
  if (doc.m_bReadOnly && doc.m_szFilePath[0] != '\0' && IsSameFile(path, doc.m_szFilePath)) {
    Beep();
    ShowMessageBox(m_pEditWnd ? m_pEditWnd->Window() : nullptr, MB_ICONHAND | MB_TOPMOST, kCaption, "%s",
                   "読み取り専用モードでは同一ファイルへの上書き保存はできません。"_sj);
    return 0;
  }
  // The code, line ends and mark chosen are the document's from now on, unless the save fails.
  const int oldCode = doc.m_nCharCode;
  const int oldLineEnd = doc.m_nSaveLineEnd;
  const bool oldBom = doc.m_bBomExist;
  doc.m_nCharCode = code;
  doc.m_nSaveLineEnd = lineEnd;
  doc.m_bBomExist = bom;
  if (Command_FILESAVEAS(path) != 0) return 1;
  doc.m_nCharCode = oldCode;
  doc.m_nSaveLineEnd = oldLineEnd;
  doc.m_bBomExist = oldBom;
  return 0;
}

int CEditView::Command_FILESAVEAS(const char* pszPath) {
  if (!m_pcEditDoc || !pszPath || pszPath[0] == '\0') return 0;
  // A path too long to keep would be written and then forgotten: the document would stay untitled
  // and unsaved in its own eyes.
  if (strnlen(pszPath, kMaxPath) >= static_cast<size_t>(kMaxPath)) return 0;
  CEditDoc& doc = *m_pcEditDoc;
  const std::string target(pszPath);  // the argument may be the document's own path buffer
  if (!doc.SaveToPath(target.c_str())) return 0;
  ShowCaretPosition();
  // The new name may mean another type; the text is read back as the file now holds it.
  doc.OnSettingsChanged();
  doc.ReloadWithCode(doc.m_nCharCode, doc.m_bReadOnly);
  ShowCaretPosition();
  return 1;
}

void CEditView::Command_FILESAVEALL() {
  if (CShareData* share = CShareData::GetInstance()) share->SendToAllEditWindows(WM_COMMAND, kCmdSaveQuietly, 0, 0);
}

// ---------------------------------------------------------------- registration

namespace {

// 30103 beeps and asks, 30109 only asks (and closes the window once saved), 30121 does neither.
template <bool kBeep, bool kAsk>
LRESULT FileSave(CEditView& v, const CommandCall&) {
  return v.Command_FILESAVE(kBeep, kAsk);
}

LRESULT SaveAndClose(CEditView& v, const CommandCall&) {
  const int saved = v.Command_FILESAVE(false, true);
  if (saved && v.EditWindow() && v.EditWindow()->Window()) platform::PostMessage(v.EditWindow()->Window(), WM_CLOSE, 0, 0);
  return saved;
}

LRESULT SaveAsPrompt(CEditView& v, const CommandCall&) { return v.Command_SAVEAS_PROMPT(); }

LRESULT SaveAs(CEditView& v, const CommandCall& call) { return v.Command_FILESAVEAS(call.Text(0)); }

LRESULT SaveAll(CEditView& v, const CommandCall&) {
  v.Command_FILESAVEALL();
  return 1;
}

constexpr CommandHandlerEntry kFileCommands[] = {
    {30103, 30103, &FileSave<true, true>},
    {30104, 30104, &SaveAsPrompt},
    {30106, 30106, &SaveAs},
    {30109, 30109, &SaveAndClose},
    {30120, 30120, &SaveAll},
    {30121, 30121, &FileSave<false, false>},
};

}  // namespace

std::span<const CommandHandlerEntry> FileCommandFamily() { return kFileCommands; }
