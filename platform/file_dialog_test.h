// Driving the file dialog's browser from tests (platform/file_dialog.h), as a person pointing and
// double-clicking in it would; its other controls are driven by id (platform/dialog_test.h).
// Names are the host's (UTF-8), within the folder the browser shows.
#pragma once

#include <string>
#include <string_view>

#include "platform/win_types.h"

namespace platform::file_dialog_test {

// The folder the browser shows (a host path); empty for a handle that is not a file dialog.
std::string ShownFolder(HWND fileDialog);
// The patterns the browser lists files by, joined by " ".
std::string ShownPatterns(HWND fileDialog);
// The user points at an entry of the folder shown; false when it is not there.
bool Point(HWND fileDialog, std::string_view name);
// The user double-clicks an entry: a folder is entered, a file is taken as IDOK takes it.
bool Open(HWND fileDialog, std::string_view name);
// The dialog made from the caller's template; null without one.
HWND TemplateDialog(HWND fileDialog);

}  // namespace platform::file_dialog_test
