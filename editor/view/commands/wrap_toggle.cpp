#include "editor/view/commands/wrap_toggle.h"

#include "editor/foundation/text/wrap_line_mgr.h"

WrapToggleStep NextWrapToggleStep(int paneColumns, int currentWidth, int typeWidth) {
  constexpr int kOff = CWrapLineMgr::kMaxWrapWidth;
  if (currentWidth == paneColumns) return {kWrapToggleOff, kOff};
  // A pane too narrow to wrap at its own width only switches between no wrapping and the type's.
  if (paneColumns < 11) {
    if (currentWidth != kOff) return {kWrapToggleOff, kOff};
    if (typeWidth == kOff) return {kWrapToggleNone, currentWidth};
    return {kWrapToggleTypeWidth, typeWidth};
  }
  if (currentWidth != kOff || typeWidth == kOff) return {kWrapToggleWindowWidth, paneColumns};
  return {kWrapToggleTypeWidth, typeWidth};
}
