// Tag jumps and paired files: from the caret's line (a grep result, a path with its line and
// column) or through the tags files to another place, back along the jumps, and between a C/C++
// source and its header. Other windows are reached through the shared window list and the
// exchange area; a file no window shows gets a new edit process, waited for until its window is
// ready, so that the list can tell whether the jump arrived.
#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/char_codes.h"
#include "editor/foundation/text/doc_line.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/foundation/text/sjis_compare.h"
#include "editor/view/commands/command_handler.h"
#include "editor/view/pane/edit_view.h"
#include "editor/view/pane/edit_window.h"
#include "editor/view/search/tag_jump_files.h"
#include "editor/view/search/tag_jump_line.h"
#include "editor/view/search/tag_search.h"
#include "platform/beep.h"
#include "platform/ipc.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"
#include "sdk/framework/editor_process_factory.h"

namespace {

constexpr char kCaption[] = "tovara";
constexpr const char* kSourceExtensions[] = {"c", "cpp", "cxx", "cc", "cp", "c++"};
constexpr const char* kHeaderExtensions[] = {"h", "hpp", "hxx", "hh", "hp", "h++"};

void Beep() { platform::MessageBeep(MB_ICONHAND); }

// The document line's bytes (line end included); empty for a line that is not there.
std::string_view DocLineText(CEditDoc& doc, int line) {
  const CDocLine* docLine = line >= 0 ? doc.m_cDocLineMgr.GetLine(line) : nullptr;
  if (!docLine) return {};
  int length = 0;
  const char* text = docLine->GetText(&length);
  return text && length > 0 ? std::string_view(text, static_cast<size_t>(length)) : std::string_view();
}

// Asks another edit window to move its caret to a document position (0-based).
void MoveCaretOf(CShareData& share, EditWindowId window, int column, int line) {
  CShareData::ExchangeLock lock(share);
  WriteExchangePosition(*share.GetShareData(), column, line);
  platform::ipc::SendMessage(window, MYWM_SETCARETPOS, 0, 0);
}

bool InList(std::span<const char* const> list, const std::string& extension) {
  return std::any_of(list.begin(), list.end(),
                     [&extension](const char* item) { return SjisStrICmp(item, extension.c_str()) == 0; });
}

}  // namespace

HWND CEditView::TagJumpOwner() const { return m_pEditWnd && m_pEditWnd->Window() ? m_pEditWnd->Window() : m_hWnd; }

void CEditView::PushTagJumpReturnPoint(CShareData& share) const {
  const IDocFrame* frame = m_pcEditDoc ? m_pcEditDoc->Ports().frame : nullptr;
  share.PushReturnPoint(TagJumpReturnPoint{frame ? frame->WindowId() : 0, m_nCaretPosX_PHY, m_nCaretPosY_PHY});
}

void CEditView::Command_TAGJUMP(bool bClose) {
  if (!m_pcEditDoc) return;
  CEditDoc& doc = *m_pcEditDoc;
  const int caretLine = m_nCaretPosY_PHY;
  // A relative name is looked for from the editor's current folder, where the jump then opens it.
  CTagJumpFiles files(EditorCurrentFolder());
  const CTagJumpLineParser parser([&files](const std::string& candidate) { return files.IsFile(candidate); });
  TagJumpPlace place;
  const auto above = [&doc, caretLine](int n) -> std::optional<std::string_view> {
    if (n > caretLine || !doc.m_cDocLineMgr.GetLine(caretLine - n)) return std::nullopt;
    return DocLineText(doc, caretLine - n);
  };
  bool jumped = false;
  switch (parser.Parse(DocLineText(doc, caretLine), above, &place)) {
    case CTagJumpLineParser::Result::kPlace:
      jumped = OpenTagTarget(place.path.c_str(), place.line, place.column, bClose);
      break;
    case CTagJumpLineParser::Result::kGrepNoFile:
      break;
    case CTagJumpLineParser::Result::kNoPath:
      jumped = Command_DIRECTTAGJUMP();
      break;
  }
  if (!jumped) ShowStatusMessage("タグジャンプできません"_sj);
}

bool CEditView::OpenTagTarget(const char* pszPath, int nLine, int nColumn, bool bClose) {
  std::string path;
  if (!pszPath || !GetLongPath(pszPath, path)) return false;
  CShareData* share = CShareData::GetInstance();
  if (!share || !share->GetShareData()) return false;
  PushTagJumpReturnPoint(*share);

  EditWindowId window = 0;
  bool opened = false;
  if (share->FindEditWindowByPath(path.c_str(), &window)) {
    if (nLine > 0) MoveCaretOf(*share, window, std::max(nColumn - 1, 0), nLine - 1);
    ActivateEditWindow(window);
    opened = true;
  } else if (IDocLauncher* launcher = GetDocLauncher()) {
    // The new window places its caret from its command line; no number means no move.
    std::string text = EditorCommandToken(path);
    if (nColumn > 0) text += " -X=" + std::to_string(nColumn);
    if (nLine > 0) text += " -Y=" + std::to_string(nLine);
    launcher->LaunchEditorProcess(text.c_str(), kCodeDetect, false, true, nullptr);
    opened = share->FindEditWindowByPath(path.c_str(), &window);
  }
  // Closing is the last step of a jump that arrived: a failed jump keeps the window it started
  // from, since the user still needs that line.
  if (opened && bClose && m_pEditWnd && m_pEditWnd->Window()) {
    platform::PostMessage(m_pEditWnd->Window(), WM_CLOSE, 0, 0);
  }
  return opened;
}

void CEditView::Command_TAGJUMPBACK() {
  CShareData* share = CShareData::GetInstance();
  TagJumpReturnPoint point{};
  if (!share || !share->GetShareData() || !share->PopReturnPoint(&point) || !IsEditWindow(point.hwnd)) {
    ShowStatusMessage("タグジャンプバックできません"_sj);
    return;
  }
  ActivateEditWindow(point.hwnd);
  MoveCaretOf(*share, point.hwnd, point.nCaretX, point.nCaretY);
}

bool CEditView::Command_DIRECTTAGJUMP() {
  if (!m_pcEditDoc || m_pcEditDoc->m_szFilePath[0] == '\0') return false;
  CMemory name;
  GetSelectionOrWord(&name);
  if (name.GetLength() == 0) return false;
  TagTarget target;
  switch (FindDirectTag(name.View(), m_pcEditDoc->m_szFilePath, TagJumpOwner(), &target)) {
    case TagLookup::kFound:
      return OpenTagTarget(target.path.c_str(), target.line, 0, false);
    case TagLookup::kCancelled:
      return true;
    case TagLookup::kNotFound:
      break;
  }
  return false;
}

bool CEditView::Command_KEYWORDTAGJUMP(const char* pszKeyword) {
  if (!m_pcEditDoc || m_pcEditDoc->m_szFilePath[0] == '\0') return false;
  TagTarget target;
  switch (ChooseKeywordTag(pszKeyword ? pszKeyword : "", m_pcEditDoc->m_szFilePath, TagJumpOwner(), &target)) {
    case TagLookup::kFound:
      return OpenTagTarget(target.path.c_str(), target.line, 0, false);
    case TagLookup::kCancelled:
      return true;
    case TagLookup::kNotFound:
      break;
  }
  return false;
}

void CEditView::Command_TAGMAKE() {
  std::string folder;
  if (m_pcEditDoc && m_pcEditDoc->m_szFilePath[0] != '\0') {
    SplitFolderAndFile(m_pcEditDoc->m_szFilePath, &folder, nullptr);
    AddTrailingBackslash(folder);
  }
  // Without a runner of outside programs there is nothing the tags program could run through.
  platform::OutsidePrograms* programs = GetOutsidePrograms();
  if (!programs) return;
  MakeTagsFile(folder, TagJumpOwner(), *programs);
}

bool CEditView::Command_OPENHHPP(bool bCheckOnly, bool bBeepWhenMiss) {
  return OpenPairedFile(bCheckOnly, bBeepWhenMiss, kSourceExtensions, kHeaderExtensions,
                        "C/C++ヘッダファイルのオープンに失敗しました。"_sj);
}

bool CEditView::Command_OPENCCPP(bool bCheckOnly, bool bBeepWhenMiss) {
  return OpenPairedFile(bCheckOnly, bBeepWhenMiss, kHeaderExtensions, kSourceExtensions,
                        "C/C++ソースファイルのオープンに失敗しました。"_sj);
}

bool CEditView::Command_OPENHFROMTOC(bool bCheckOnly) {
  if (Command_OPENHHPP(bCheckOnly, false) || Command_OPENCCPP(bCheckOnly, false)) return true;
  Beep();
  return false;
}

bool CEditView::OpenPairedFile(bool bCheckOnly, bool bBeep, std::span<const char* const> sources,
                               std::span<const char* const> targets, const char* pszFailure) {
  const auto fail = [bBeep] {
    if (bBeep) Beep();
    return false;
  };
  if (!m_pcEditDoc) return fail();
  const std::string path = m_pcEditDoc->m_szFilePath;
  const size_t nameStart = path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1;
  const size_t dot = path.rfind('.');
  if (path.empty() || dot == std::string::npos || dot < nameStart) return fail();
  if (!InList(sources, path.substr(dot + 1))) return fail();

  // The partner is spelled with the list's own extensions and must exist under exactly that name.
  std::string partner;
  for (const char* extension : targets) {
    const std::string candidate = path.substr(0, dot + 1) + extension;
    if (IsExistingFile(candidate.c_str(), true)) {
      partner = candidate;
      break;
    }
  }
  if (partner.empty()) return fail();
  if (bCheckOnly) return true;

  CShareData* share = CShareData::GetInstance();
  if (!share || !share->GetShareData()) return false;
  EditWindowId window = 0;
  if (!share->FindEditWindowByPath(partner.c_str(), &window)) {
    if (IDocLauncher* launcher = GetDocLauncher()) {
      launcher->LaunchEditorProcess(EditorCommandToken(partner).c_str(), m_pcEditDoc->m_nCharCode, false, true,
                                    nullptr);
    }
    if (!share->FindEditWindowByPath(partner.c_str(), &window)) {
      ShowMessageBox(TagJumpOwner(), MB_OK | MB_ICONERROR, kCaption, "%s\n\n%s\n\n", pszFailure, partner.c_str());
      return false;
    }
  }
  ActivateEditWindow(window);
  PushTagJumpReturnPoint(*share);
  return true;
}

// ---------------------------------------------------------------- registration

namespace {

LRESULT TagJump(CEditView& v, const CommandCall& call) {
  v.Command_TAGJUMP(call.lparam[0] != 0);
  return 1;
}

LRESULT TagJumpAndClose(CEditView& v, const CommandCall&) {
  v.Command_TAGJUMP(true);
  return 1;
}

LRESULT DirectTagJump(CEditView& v, const CommandCall&) { return v.Command_DIRECTTAGJUMP() ? 1 : 0; }

LRESULT KeywordTagJump(CEditView& v, const CommandCall& call) { return v.Command_KEYWORDTAGJUMP(call.Text(0)) ? 1 : 0; }

LRESULT OpenHHpp(CEditView& v, const CommandCall& call) { return v.Command_OPENHHPP(call.lparam[0] != 0, true) ? 1 : 0; }

LRESULT OpenCCpp(CEditView& v, const CommandCall& call) { return v.Command_OPENCCPP(call.lparam[0] != 0, true) ? 1 : 0; }

LRESULT OpenHfromtoC(CEditView& v, const CommandCall&) { return v.Command_OPENHFROMTOC(false) ? 1 : 0; }

constexpr CommandHandlerEntry kTagCommands[] = {
    {30160, 30160, &OpenHHpp},
    {30161, 30161, &OpenCCpp},
    {30162, 30162, &OpenHfromtoC},
    {30940, 30940, &TagJump},
    {30941, 30941, &PlainHandler<&CEditView::Command_TAGJUMPBACK>},
    {30943, 30943, &PlainHandler<&CEditView::Command_TAGMAKE>},
    {30944, 30944, &DirectTagJump},
    {30945, 30945, &TagJumpAndClose},
    {30946, 30946, &KeywordTagJump},
};

}  // namespace

std::span<const CommandHandlerEntry> TagCommandFamily() { return kTagCommands; }
