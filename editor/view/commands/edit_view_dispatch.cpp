// The pane's command dispatcher: every typed character, menu item, key, button, dialog action and
// macro step comes through RunCommand, which pairs the bytes of double-byte characters, filters
// the command, hands it to its handler and makes what the handler recorded one undo step.
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/ui/tip_wnd.h"
#include "editor/view/commands/command_handler.h"
#include "editor/view/commands/command_handler_table.h"
#include "editor/view/commands/command_ids.h"
#include "editor/view/commands/command_table.h"
#include "editor/view/pane/edit_view.h"
#include "editor/view/pane/edit_window.h"
#include "platform/beep.h"
#include "platform/clock.h"
#include "platform/key_state.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"

namespace {

constexpr char kCaption[] = "tovara";

// The commands whose handler's own result is the caller's; every other command gives 1.
constexpr int kOwnResultIds[] = {
    cmd::kFileSave, cmd::kFileSaveAsDialog, cmd::kFileSaveAs, cmd::kFileSaveAll,   cmd::kFileSaveQuiet, cmd::kOpenHHpp,
    cmd::kOpenCCpp, cmd::kOpenHfromtoC,     cmd::kOutline,    cmd::kOutlineToggle, cmd::kBookmarkView,
};

bool ReturnsOwnResult(int id) {
  for (const int own : kOwnResultIds)
    if (own == id) return true;
  return false;
}

// The bytes a Char may insert: TAB, LF, CR, printable ASCII and half-width katakana.
bool IsInsertableByte(unsigned char c) {
  return c == '\t' || c == '\n' || c == '\r' || (c >= 0x20 && c <= 0x7E) || IsHalfwidthKana(c);
}

// The handler of an id, empty when it has none. A copy: a handler may run commands that change the
// table's entries while it runs.
CCommandHandlerTable::Handler HandlerOf(int id) {
  const CCommandHandlerTable::Handler* found = CCommandHandlerTable::Get().Find(id);
  return found ? *found : CCommandHandlerTable::Handler{};
}

// Runs the handler of the call's id; 1 when the id has none.
LRESULT RunHandler(CEditView& view, const CommandCall& call) {
  const CCommandHandlerTable::Handler handler = HandlerOf(call.nCommand);
  return handler ? handler(view, call) : 1;
}

// The routing around the handlers that more than one family relies on.
LRESULT Route(CEditView& view, const CommandCall& call) {
  switch (call.nCommand) {
    case cmd::kChar:
      if (!IsInsertableByte(static_cast<unsigned char>(call.lparam[0] & 0xFF))) {
        platform::MessageBeep(MB_ICONHAND);
        return 1;
      }
      return RunHandler(view, call);
    case cmd::kIndentSpace:
      if (view.IsTextSelected() && view.m_sSelect.nLineFrom != view.m_sSelect.nLineTo) return RunHandler(view, call);
      {
        CommandCall blank = call;
        blank.nCommand = cmd::kChar;
        blank.lparam = {' ', 0, 0, 0};
        return RunHandler(view, blank);
      }
    case cmd::kEolCrLf:
    case cmd::kEolLf:
    case cmd::kEolCr: {
      static constexpr LPARAM kLineEnds[] = {CLineEnd::CRLF, CLineEnd::LF, CLineEnd::CR};
      view.RunCommand(cmd::kChgmodEOL, call.bRedraw, kLineEnds[call.nCommand - cmd::kEolCrLf], 0, 0, 0);
      return 1;
    }
    case cmd::kChgmodEOL: {
      const LRESULT result = RunHandler(view, call);
      CommandCall cancel = call;
      cancel.nCommand = cmd::kCancelMode;
      cancel.lparam = {};
      RunHandler(view, cancel);
      return result;
    }
    default:
      break;
  }
  if (call.nCommand >= cmd::kCustMenuFirst && call.nCommand <= cmd::kCustMenuLast) {
    const CCommandHandlerTable::Handler popup = HandlerOf(call.nCommand);
    if (!popup) return 1;
    const int chosen = static_cast<int>(popup(view, call));
    if (chosen != 0) {
      HWND target = view.EditWindow() ? view.EditWindow()->Window() : view.m_hWnd;
      if (target) platform::PostMessage(target, WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(chosen), 0), 0);
    }
    return 1;
  }
  return RunHandler(view, call);
}

// Key-macro recording is on and this pane's edit window is the recorder.
bool IsRecordingHere(const CEditView& view) {
  const SharedSettings* shared = view.m_pShareData;
  if (!shared || !shared->bKeyMacroRecording) return false;
  const IDocFrame* frame = view.m_pcEditDoc->Ports().frame;
  return frame && frame->WindowId() == shared->hwndKeyMacroRecorder;
}

// Runs an external macro slot; a failure is told in a message box.
void RunMacroSlot(CEditView& view, int slot) {
  view.m_bExecutingKeyMacro = true;
  if (!GetViewMacros()->ExecuteSlot(slot, view.m_hInstance, &view)) {
    std::string_view name;
    if (view.m_pShareData) {
      const char* stored = view.m_pShareData->MacroSlots[slot].Name;
      name = std::string_view(stored, strnlen(stored, sizeof view.m_pShareData->MacroSlots[slot].Name));
    }
    const std::string text(name);
    ShowMessageBox(view.m_hWnd, MB_ICONINFORMATION, kCaption, "マクロ %d (%s) の実行に失敗しました。"_sj, slot,
                   text.c_str());
  }
  view.m_bExecutingKeyMacro = false;
}

// Makes the open undo block a step of the document's undo buffer when it holds records, and drops
// it when it holds none.
void CloseUndoBlock(CEditView& view) {
  std::unique_ptr<COpeBlk> block = std::move(view.m_pcOpeBlk);
  if (!block || block->GetNum() == 0) return;
  view.m_pcEditDoc->m_cUndoBuffer.AppendBlock(block.release());
  view.m_pcEditDoc->RedrawSiblingPanes();
}

}  // namespace

LRESULT CEditView::RunCommand(int nCommand, bool bRedraw, LPARAM lparam1, LPARAM lparam2, LPARAM lparam3,
                              LPARAM lparam4) {
  if (!m_pcEditDoc) return 0;
  CommandCall call;
  call.nCommand = LOWORD(static_cast<uint32_t>(nCommand));
  call.nSource = HIWORD(static_cast<uint32_t>(nCommand));
  call.bRedraw = bRedraw;
  call.lparam = {lparam1, lparam2, lparam3, lparam4};

  // Typed bytes come one at a time: a lead byte waits here for its trail byte. The byte waits in
  // this pane, so text typed into two panes never pairs across them.
  if (call.nCommand == cmd::kChar) {
    const auto c = static_cast<unsigned char>(call.lparam[0] & 0xFF);
    if (m_nPendingLeadByte != 0) {
      if (IsSjisTrailByte(c)) {
        call.nCommand = cmd::kCharIme;
        call.lparam[0] = (static_cast<LPARAM>(m_nPendingLeadByte) << 8) | call.lparam[0];
      }
      m_nPendingLeadByte = 0;
    } else if (IsSjisLeadByte(c)) {
      m_nPendingLeadByte = static_cast<int>(call.lparam[0]);
      return 1;
    }
  }

  // Enter on a grep result jumps to the hit (and with Ctrl closes this window).
  if (call.nCommand == cmd::kChar && m_pcEditDoc->m_bGrepWindow && Common().bGTJW_RETURN) {
    const auto c = call.lparam[0] & 0xFF;
    if (c == '\r' || c == '\n') {
      call.nCommand = cmd::kTagJump;
      call.lparam[0] = platform::GetKeyState(VK_CONTROL) < 0 ? 1 : 0;
    }
  }

  // The incremental search, once it exists, rewrites the command here.

  if (m_pcEditDoc->IsCommandRefusedReadOnly(call.nCommand)) return 1;

  ++m_pcEditDoc->m_nCommandExecNum;
  if (m_pcTipWnd) m_pcTipWnd->HideTip();
  m_dwLastCommandTick = platform::NowMs();
  m_dwTipTimer = m_dwLastCommandTick;

  if (m_pEditWnd && m_pEditWnd->IsPrintPreview() && call.nCommand != cmd::kPrintPreview) {
    platform::MessageBeep(MB_ICONHAND);
    return -1;
  }

  call.bRepeat = call.nCommand == m_nLastCommand;
  m_nLastCommand = call.nCommand;
  if (IsRecordingHere(*this)) {
    call.bRepeat = false;
    if (IsRecordableCommand(call.nCommand)) GetViewMacros()->RecordCommand(-1, call.nCommand, call.lparam[0], this);
  }
  if (m_bExecutingKeyMacro) call.bRepeat = false;

  // A macro's commands come back through here one by one, each its own undo step.
  if (call.nCommand >= cmd::kMacroSlotFirst && call.nCommand <= cmd::kMacroSlotLast) {
    RunMacroSlot(*this, call.nCommand - cmd::kMacroSlotFirst);
    return 1;
  }

  // The completion popup, once it exists, closes here for commands other than typing and Complete,
  // and the incremental search takes its own commands.

  // A command run from inside another one's handler finds the outer command's block open, adds its
  // records to it and closes it; the outer handler then gets a fresh block for what it records
  // afterwards, which the outer call closes.
  const bool bNested = m_pcOpeBlk != nullptr;
  if (!bNested) m_pcOpeBlk = std::make_unique<COpeBlk>();
  // The custom menu records nothing itself; what is chosen from it runs later as its own command.
  if (call.nCommand >= cmd::kCustMenuFirst && call.nCommand <= cmd::kCustMenuLast && !bNested) m_pcOpeBlk.reset();

  const LRESULT result = Route(*this, call);

  CloseUndoBlock(*this);
  if (bNested) m_pcOpeBlk = std::make_unique<COpeBlk>();
  return ReturnsOwnResult(call.nCommand) ? result : 1;
}

void CEditView::Command_SETMSGQUOTESTR(const char* pszQuote) {
  if (!pszQuote) return;
  char* quote = Common().szInyouKigou;
  CopyWholeChars(quote, sizeof Common().szInyouKigou, pszQuote);
  // A lead byte without its trail byte would take the first byte of every quoted line with it.
  const int length = static_cast<int>(strlen(quote));
  int at = 0;
  while (at < length) {
    const int size = SjisCharSize(reinterpret_cast<const unsigned char*>(quote), length, at);
    if (size == 1 && at == length - 1 && IsSjisLeadByte(static_cast<unsigned char>(quote[at]))) quote[at] = '\0';
    at += size;
  }
}

// The dispatcher's own handlers.
namespace {

LRESULT SetMsgQuoteStr(CEditView& view, const CommandCall& call) {
  view.Command_SETMSGQUOTESTR(call.Text(0));
  return 1;
}

constexpr CommandHandlerEntry kDispatchCommands[] = {
    {cmd::kSetMsgQuoteStr, cmd::kSetMsgQuoteStr, &SetMsgQuoteStr},
};

}  // namespace

std::span<const CommandHandlerEntry> DispatchCommandFamily() { return kDispatchCommands; }
