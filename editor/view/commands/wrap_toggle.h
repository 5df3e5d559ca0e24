// The wrap-width toggle: from the pane's width and the current and the type's wrap widths, the
// width it sets next. The toggle command and the menu item that names it ask the same question.
#pragma once

enum WrapToggle : int {
  kWrapToggleNone = 0,         // nothing would change
  kWrapToggleOff = 1,          // no wrapping (the widest width)
  kWrapToggleWindowWidth = 2,  // the pane's width
  kWrapToggleTypeWidth = 3,    // the type's width
};

struct WrapToggleStep {
  WrapToggle toggle = kWrapToggleNone;
  int width = 0;  // the width set; the current one for kWrapToggleNone
};

// paneColumns: the columns the pane shows; currentWidth and typeWidth: wrap widths, where the
// widest (CWrapLineMgr::kMaxWrapWidth) means no wrapping.
WrapToggleStep NextWrapToggleStep(int paneColumns, int currentWidth, int typeWidth);
