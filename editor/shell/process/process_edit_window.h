// The edit window as the edit-window process makes and drives it.
#pragma once

#include <memory>

#include "editor/shell/process/edit_window_process.h"

// A new edit window for the process, its size and place requests taken from the command line's.
std::unique_ptr<IProcessEditWindow> MakeProcessEditWindow(CShareData& share, const RecentFileRecord& request);
