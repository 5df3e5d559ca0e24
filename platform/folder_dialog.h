// Choosing a folder: the shell's folder browser in the shape the editor asks for it.
//
// Contract:
// - BrowseForFolder(owner, title, initial, chosen) runs a modal dialog of the dialog facility
//   (platform/dialog.h; its template is named "FolderChooser"): the title above a browser of the
//   file system's folders (the toolkit's own, never the desktop's native one), the edit 1148 with
//   the folder picked, and IDOK and IDCANCEL. Folders only; files are not shown.
// - The browser opens at the initial folder (an exact path, platform/path.h), which the edit shows;
//   a folder the user picks in the browser is written into the edit. The user may also type into
//   the edit: a path that does not start with "/" is taken within the folder the browser shows (an
//   empty edit names that folder).
// - IDOK (the default button, so Enter too) ends the dialog when the edit names an existing folder,
//   which becomes *chosen (exact path, no final "/" but for the root), and the result is true.
//   Otherwise it beeps and the dialog stays. IDCANCEL, Esc and the close button give false.
// - A folder whose name Shift-JIS cannot spell is never written into the edit.
// - Tests drive it through platform/dialog_test.h: Type into 1148, then press Enter or click IDOK.
#pragma once

#include <string>
#include <string_view>

#include "platform/win_types.h"

namespace platform {

// The id of the edit that holds the folder.
constexpr int kFolderChooserPath = 1148;

bool BrowseForFolder(HWND owner, std::string_view title, std::string_view initialFolder, std::string* chosen);

}  // namespace platform
