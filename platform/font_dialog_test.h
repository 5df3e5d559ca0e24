// Driving the font chooser's face, size and style lists from tests (platform/font_dialog.h), as a
// person picking in them would; its buttons are driven by id (platform/dialog_test.h).
// Faces are the toolkit's family names (UTF-8).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/win_types.h"

namespace platform::font_dialog_test {

// The faces the chooser lists, in its order; empty for a handle that is not a font chooser.
std::vector<std::string> OfferedFaces(HWND chooser);

struct Shown {
  std::string face;
  double points = 0;
  bool bold = false;
  bool italic = false;
};
// What the chooser shows as chosen.
Shown ShownFont(HWND chooser);

// The user picks a face, a size in points and a style; false (nothing changes) when the face is
// not listed.
bool Pick(HWND chooser, std::string_view face, double points, bool bold = false, bool italic = false);

}  // namespace platform::font_dialog_test
