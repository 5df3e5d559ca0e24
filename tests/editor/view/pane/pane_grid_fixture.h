// A pane of the view fixture on a grid fixed by the test rather than by its font: cells of
// kCell x kRow pixels, the text area's top left corner at (kLeft, kTop), and as many visible rows
// and columns as the test asks for. Caret, scrolling and selection work in these cells, so tests
// can name pixels by arithmetic.
#pragma once

#include <string_view>

#include "editor/foundation/text/wrap_line_mgr.h"
#include "view_fixture.h"

namespace pane_grid {
constexpr int kCell = 10;
constexpr int kRow = 20;
constexpr int kLeft = 30;
constexpr int kTop = 20;
}  // namespace pane_grid

class PaneGridFixture : public ViewFixture {
 protected:
  static constexpr int kCell = pane_grid::kCell;
  static constexpr int kRow = pane_grid::kRow;
  static constexpr int kLeft = pane_grid::kLeft;
  static constexpr int kTop = pane_grid::kTop;

  void SetUp() override {
    ViewFixture::SetUp();
    Bind(*view);
  }

  // Makes sure a pane reads this fixture's document and settings record.
  void Bind(CEditView& pane) {
    if (!pane.m_pcEditDoc) pane.m_pcEditDoc = doc.get();
    if (!pane.m_pShareData) pane.m_pShareData = record.get();
  }

  // Lays the text out with the tab width and wrap column given and shows it on rows x columns.
  void Show(std::string_view text, int rows, int columns, int tabWidth = 4, int wrapColumn = 80) {
    type().nTabWidth = tabWidth;
    type().nWrapColumn = wrapColumn;
    SetText(text);
    Grid(*view, rows, columns);
  }

  void Grid(CEditView& pane, int rows, int columns) {
    type().nCharSpacing = 0;
    type().nLineSpace = 0;
    pane.m_nCharWidth = kCell;
    pane.m_nCharHeight = kRow;
    pane.m_nViewAlignLeft = kLeft;
    pane.m_nViewAlignTop = kTop;
    pane.m_nViewRowNum = rows;
    pane.m_nViewColNum = columns;
    pane.m_nViewCx = columns * kCell;
    pane.m_nViewCy = rows * kRow;
  }

  // The pixel in the middle of a cell of the pane as it is scrolled now.
  int XOf(int column) const { return kLeft + (column - view->m_nViewLeftCol) * kCell + kCell / 2; }
  int YOf(int line) const { return kTop + (line - view->m_nViewTopLine) * kRow + kRow / 2; }

  void PutCaret(int column, int line) {
    view->m_nCaretPosX = column;
    view->m_nCaretPosY = line;
    view->m_nCaretPosX_Prev = column;
  }
};
