// What the input tests share: where a cell of a pane is in pixels, and a wheel setting of their
// choosing.
#pragma once

#include <optional>

#include "editor/view/pane/edit_view.h"

// The point just inside the left edge of a cell, halfway down its row; column -1 is the number area
// left of the text.
inline POINT CellPoint(const CEditView& view, int column, int line) {
  const int x = column < 0 ? view.m_nViewAlignLeft - 2
                           : view.m_nViewAlignLeft + (column - view.m_nViewLeftCol) * view.ColumnWidth() + 1;
  const int y = view.m_nViewAlignTop + (line - view.m_nViewTopLine) * view.LineHeight() + view.LineHeight() / 2;
  return POINT{x, y};
}

// The wheel's lines per notch while it lives.
class FixedWheel : public IWheelSettings {
 public:
  explicit FixedWheel(std::optional<int> lines) : m_lines(lines) { SetWheelSettings(this); }
  ~FixedWheel() override { SetWheelSettings(nullptr); }
  FixedWheel(const FixedWheel&) = delete;
  FixedWheel& operator=(const FixedWheel&) = delete;
  std::optional<int> WheelScrollLines() const override { return m_lines; }

 private:
  std::optional<int> m_lines;
};
