// How a command reaches its handler. The dispatcher (CEditView::RunCommand) looks the id up in the
// process's handler table and calls the handler with the command as it stands after the filters.
//
// Handlers come in families, one file each (the dispatcher's own in edit_view_dispatch.cpp). A
// family file ends with its registration table: rows of ids and a function that adapts the call to
// the family's CEditView::Command_ member, named Command_ and the macro name in upper case. Several
// ids served by one member (aliases, an argument fixed by the id, the copy commands' line-end
// choices, the reopen codes, TagJump closing its window for 30945) are rows of that table. A
// family is listed once in command_handler_table.cpp. An id without a row does nothing and gives 1.
//
// What the dispatcher does around the handlers (so that no family repeats it):
// - Char 30200 reaches its handler only with a low byte of 9, 10, 13, 32-126 or 161-223;
// - IndentSpace 30262 reaches its handler only for a selection over several lines, else the Char
//   handler runs with a blank;
// - ChgmodEOL 32800 is followed by the CancelMode 31099 handler;
// - a CustMenu handler (31501-31524) pops its menu up and returns the chosen id (0 for none), which
//   the dispatcher posts to the edit window as WM_COMMAND;
// - only the results of 30103, 30104, 30106, 30120, 30121, 30160-30162, 30930, 30931 and 30974 are
//   returned to the caller; every other command gives 1.
#pragma once

#include <array>
#include <cstddef>
#include <span>

#include "platform/win_types.h"

class CEditView;

struct CommandCall {
  int nCommand = 0;      // the id
  int nSource = 0;       // CEditView::kSourceProgram, kSourceAccelerator or kSourceMouse
  bool bRedraw = true;   // false while a macro plays: no repaint, few message boxes
  bool bRepeat = false;  // the pane's previous command had the same id (held keys accelerate)
  std::array<LPARAM, 4> lparam{};

  // An argument given as a NUL-terminated text; null for none.
  const char* Text(size_t index) const { return reinterpret_cast<const char*>(lparam[index]); }
};

using CommandHandler = LRESULT (*)(CEditView& view, const CommandCall& call);

// Ids nFirstId to nLastId (both included) run the handler.
struct CommandHandlerEntry {
  int nFirstId;
  int nLastId;
  CommandHandler pfnHandler;
};

// The handler of a command whose member takes no argument (a row's function for it). Instantiated
// where CEditView is complete.
template <void (CEditView::*kCommand)()>
LRESULT PlainHandler(CEditView& view, const CommandCall&) {
  (view.*kCommand)();
  return 1;
}

// The registration tables of the families.
std::span<const CommandHandlerEntry> DispatchCommandFamily();  // edit_view_dispatch.cpp
std::span<const CommandHandlerEntry> CursorCommandFamily();    // edit_view_cursor_commands.cpp
std::span<const CommandHandlerEntry> UndoCommandFamily();      // edit_view_undo.cpp
std::span<const CommandHandlerEntry> InputCommandFamily();     // edit_view_input_commands.cpp
std::span<const CommandHandlerEntry> ClipboardCommandFamily();  // edit_view_clipboard_commands.cpp
std::span<const CommandHandlerEntry> FileCommandFamily();       // edit_view_file_commands.cpp
std::span<const CommandHandlerEntry> FileOpenCommandFamily();   // edit_view_file_open_commands.cpp
std::span<const CommandHandlerEntry> SettingCommandFamily();    // edit_view_setting_commands.cpp
std::span<const CommandHandlerEntry> WindowCommandFamily();     // edit_view_window_commands.cpp
std::span<const CommandHandlerEntry> GrepCommandFamily();       // ../search/edit_view_grep_commands.cpp
std::span<const CommandHandlerEntry> SearchCommandFamily();     // ../search/edit_view_search_commands.cpp
std::span<const CommandHandlerEntry> TagCommandFamily();        // ../search/edit_view_tag_commands.cpp
std::span<const CommandHandlerEntry> ConvertCommandFamily();    // edit_view_convert_commands.cpp
std::span<const CommandHandlerEntry> OutlineCommandFamily();    // ../outline/edit_view_outline_commands.cpp
std::span<const CommandHandlerEntry> JumpCommandFamily();       // ../outline/edit_view_jump_commands.cpp
