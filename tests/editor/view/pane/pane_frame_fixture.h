// A pane over a document with the frame's geometry laid out by the test itself (number columns,
// ruler, text area in columns of the box font), so that the number column, ruler, guide lines,
// underline and bracket highlight can be drawn and read pixel by pixel.
#pragma once

#include <cstdint>
#include <vector>

#include "editor/foundation/text/doc_line.h"
#include "platform/dc_draw.h"
#include "view_fixture.h"

class PaneFrameFixture : public ViewFixture {
 protected:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;
  static constexpr int kScrollBar = 16;
  // The default settings' font in the box engine: 13 pixels high, columns half of that.
  static constexpr int kCharHeight = 13;
  static constexpr int kCharWidth = 6;
  static constexpr COLORREF kPaper = RGB(1, 2, 3);

  void SetUp() override {
    ViewFixture::SetUp();
    CEditView& v = *view;
    v.m_pcEditDoc = doc.get();
    v.m_pShareData = record.get();
    if (!v.GetViewImage()) {
      v.m_pViewImage = platform::CreateDIBSection32(kWidth, kHeight);
      v.m_hdcView = std::make_unique<platform::MemDC>();
      v.m_hdcView->SelectBitmap(v.m_pViewImage.get());
    }
    v.m_cUnderLine.Bind(&v);
    v.m_nClientWidth = kWidth;
    v.m_nClientHeight = kHeight;
    Arrange();
  }

  // Lays the pane out from the settings: the ruler when "RUL" is shown, numberColumns columns of
  // numbers when "LNO" is shown (else the 8-pixel strip), the text area up to the scroll bar.
  void Arrange(int numberColumns = 4) {
    CEditView& v = *view;
    v.m_nCharWidth = kCharWidth;
    v.m_nCharHeight = kCharHeight;
    v.m_nTopYohaku = common().nRulerBottomSpace;
    v.m_nViewAlignTop = common().nRulerBottomSpace + (type().Colors[1].bShow ? common().nRulerHeight : 0);
    v.m_nViewAlignLeftCols = type().Colors[3].bShow ? numberColumns : 0;
    v.m_nViewAlignLeft =
        (type().Colors[3].bShow ? numberColumns * v.ColumnWidth() : 8) + common().nLineNumberRightSpace;
    v.m_nViewCx = kWidth - v.m_nViewAlignLeft - kScrollBar;
    v.m_nViewCy = kHeight - v.m_nViewAlignTop - kScrollBar;
    v.m_nViewColNum = v.m_nViewCx / v.ColumnWidth();
    v.m_nViewRowNum = v.m_nViewCy / v.LineHeight();
  }

  void ClearImage(COLORREF colour = kPaper) {
    platform::Brush brush(colour);
    const RECT all{0, 0, kWidth, kHeight};
    platform::FillRect(view->GetViewDC(), &all, &brush);
  }
  COLORREF Pixel(int x, int y) const { return platform::GetPixel(view->GetViewDC(), x, y); }
  std::vector<uint32_t> Snapshot() const {
    const platform::Bitmap* image = view->GetViewImage();
    std::vector<uint32_t> pixels;
    for (int y = 0; y < image->Height(); ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(image->Row(y));
      pixels.insert(pixels.end(), row, row + image->Width());
    }
    return pixels;
  }
  // Pixels of a colour in [x0, x1) x [y0, y1).
  int CountPixels(int x0, int y0, int x1, int y1, COLORREF colour) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += Pixel(x, y) == colour ? 1 : 0;
    return n;
  }

  // Left edge and top edge of a text cell (display column and line).
  int CellX(int column) const { return view->m_nViewAlignLeft + (column - view->m_nViewLeftCol) * view->ColumnWidth(); }
  int RowY(int line) const { return view->m_nViewAlignTop + (line - view->m_nViewTopLine) * view->LineHeight(); }

  CDocLine* DocLine(int index) { return doc->m_cDocLineMgr.GetLine(index); }
  ColorItem& Item(int code) { return type().Colors[code]; }
};
