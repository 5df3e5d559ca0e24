#include "editor/shell/process/process_edit_window.h"

#include <cstdio>

// The edit window is not part of this build yet: an edit-window process makes none and ends.
std::unique_ptr<IProcessEditWindow> MakeProcessEditWindow(CShareData&, const RecentFileRecord&) {
  std::fputs("tovara: the edit window is not part of this build yet\n", stderr);
  return nullptr;
}
