// The pane's fonts, character metrics and geometry, and its repainting.
#include <algorithm>
#include <memory>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/view/pane/color_items.h"
#include "editor/view/pane/edit_view.h"
#include "editor/view/pane/edit_window.h"
#include "platform/attached_image.h"
#include "platform/dc_text.h"
#include "platform/sjis_literal.h"

namespace {

constexpr int kNumberAreaHidden = 8;  // width of the number area while line numbers are hidden
constexpr int kMaxDigits = 12;

// The font every fresh settings record starts with: what the pane falls back on when the
// configured one cannot be realised (a height beyond what fonts allow, a face that is missing).
const LOGFONT& DefaultEditorFont() {
  static const LOGFONT font = [] {
    auto settings = std::make_unique<SharedSettings>();
    CShareData::InitDefaults(*settings);
    return settings->Common.lf;
  }();
  return font;
}

}  // namespace

// ---- Fonts ---------------------------------------------------------------------------------------

void CEditView::CreateFonts() {
  if (m_hdcView) platform::SelectFont(m_hdcView.get(), nullptr);
  for (auto& font : m_fonts) font.reset();
  LOGFONT lf = Common().lf;
  std::optional<platform::Font> normal = platform::CreateFontIndirect(&lf);
  if (!normal) {
    lf = DefaultEditorFont();
    normal = platform::CreateFontIndirect(&lf);
  }
  if (!normal) return;  // no font at all: metrics keep their last values
  m_fonts[0] = std::move(normal);
  const auto make = [&](bool bold, bool underline) {
    LOGFONT variant = lf;
    if (bold) variant.lfWeight = std::min<LONG>(variant.lfWeight + 300, 1000);
    if (underline) variant.lfUnderline = 1;
    std::optional<platform::Font> font = platform::CreateFontIndirect(&variant);
    return font ? font : m_fonts[0];
  };
  m_fonts[1] = make(true, false);
  m_fonts[2] = make(false, true);
  m_fonts[3] = make(true, true);
  if (m_hdcView) platform::SelectFont(m_hdcView.get(), GetFontFor(false, false));
}

const platform::Font* CEditView::GetFontFor(bool bBold, bool bUnderline) const {
  const auto& font = m_fonts[(bBold ? 1 : 0) + (bUnderline ? 2 : 0)];
  return font ? &*font : nullptr;
}

void CEditView::UpdateFonts() {
  CreateFonts();
  UpdateCharMetrics();
  PlaceCursor(m_nCaretPosX, m_nCaretPosY, true, 20);
  UpdateScrollBars();
  if (m_hWnd) {
    HandleSize(m_nClientWidth, m_nClientHeight);
  } else {
    RecalcGeometry();
  }
  InvalidateClient(nullptr);
}

void CEditView::UpdateCharMetrics() {
  if (const platform::Font* font = GetFontFor(false, false)) {
    platform::MemDC measure;
    platform::SelectFont(&measure, font);
    SIZE size{};
    // Columns are half a full-width character wide, whatever the face's own half-width advance.
    if (platform::GetTextExtentPoint32A(&measure, "大"_sj, 2, &size)) {
      m_nCharWidth = std::max(1, static_cast<int>(size.cx) / 2);
      m_nCharHeight = std::max(1, static_cast<int>(size.cy));
    }
  }
  RecalcGeometry();
  UpdateTextAreaLeft(false);
  InvalidateClient(nullptr);
  SetImeCompositionFont();
}

// ---- Geometry ------------------------------------------------------------------------------------

int CEditView::LineNumberDigitsFor(int64_t count) {
  if (count <= 0) return 3;
  int digits = 3;
  for (int64_t power = 100; power <= count && digits < kMaxDigits; power *= 10) ++digits;
  return digits;
}

int CEditView::GetLineNumberDigits() {
  if (!m_pcEditDoc) return 3;
  const int count = Type().bCountDocumentLines ? m_pcEditDoc->m_cDocLineMgr.GetLineCount() : Layout().GetLineCount();
  return LineNumberDigitsFor(count);
}

int CEditView::ComputeTextAreaLeft(int* pnColumns) {
  const bool numbers = ColorOf(kColorLineNumber).bShow != 0;
  *pnColumns = numbers ? GetLineNumberDigits() + 1 : 0;
  const int numberWidth = numbers ? *pnColumns * ColumnWidth() : kNumberAreaHidden;
  // A gap from the settings file never reaches past the pane.
  return numberWidth + std::clamp(Common().nLineNumberRightSpace, 0, m_nClientWidth);
}

// The strips the scroll bars cover: none in a pane without a window, which has no scroll bars.
int CEditView::VScrollBarWidth() const { return m_hwndVScrollBar ? platform::GetSystemMetrics(SM_CXVSCROLL) : 0; }

void CEditView::RecalcGeometry() {
  const CommonSettings& common = Common();
  const int width = m_nClientWidth;
  const int height = m_nClientHeight;
  m_nTopYohaku = std::clamp(common.nRulerBottomSpace, 0, height);
  const int ruler = ColorOf(kColorRuler).bShow ? std::clamp(common.nRulerHeight, 0, height - m_nTopYohaku) : 0;
  m_nViewAlignTop = m_nTopYohaku + ruler;
  m_nViewAlignLeft = ComputeTextAreaLeft(&m_nViewAlignLeftCols);
  m_nViewCx = std::max(0, width - m_nViewAlignLeft - VScrollBarWidth());
  const int hscroll = m_hwndHScrollBar ? platform::GetSystemMetrics(SM_CYHSCROLL) : 0;
  m_nViewCy = std::max(0, height - m_nViewAlignTop - hscroll);
  m_nViewColNum = m_nViewCx / ColumnWidth();
  m_nViewRowNum = m_nViewCy / LineHeight();
}

bool CEditView::UpdateTextAreaLeft(bool redraw) {
  int columns = 0;
  const int left = ComputeTextAreaLeft(&columns);
  m_nViewAlignLeftCols = columns;
  if (left == m_nViewAlignLeft) return false;
  m_nViewAlignLeft = left;
  m_nViewCx = std::max(0, m_nClientWidth - m_nViewAlignLeft - VScrollBarWidth());
  m_nViewColNum = m_nViewCx / ColumnWidth();
  if (redraw) {
    m_cUnderLine.Lock();
    RepaintClient();
    m_cUnderLine.Unlock();
    UpdateCaret();
  }
  m_bRedrawRuler = true;
  return true;
}

void CEditView::ResizeImage(int width, int height) {
  m_nClientWidth = std::max(0, width);
  m_nClientHeight = std::max(0, height);
  if (!m_hdcView) m_hdcView = std::make_unique<platform::MemDC>();
  m_hdcView->SelectBitmap(nullptr);
  // The window shows the image itself; it lets go of the old one before that goes.
  if (m_hWnd) platform::AttachWindowImage(m_hWnd, nullptr);
  m_pViewImage.reset();
  if (m_nClientWidth > 0 && m_nClientHeight > 0)
    m_pViewImage = platform::CreateDIBSection32(m_nClientWidth, m_nClientHeight);
  m_hdcView->SelectBitmap(m_pViewImage.get());
  platform::SelectFont(m_hdcView.get(), GetFontFor(false, false));
  if (m_hWnd && m_pViewImage) platform::AttachWindowImage(m_hWnd, m_pViewImage.get());
}

// ---- Repainting ----------------------------------------------------------------------------------

void CEditView::InvalidateClient(const RECT* rect) {
  if (m_hWnd) {
    platform::InvalidateRect(m_hWnd, rect, 0);
    return;
  }
  if (!m_pViewImage) return;
  const RECT all{0, 0, m_nClientWidth, m_nClientHeight};
  PaintView(GetViewDC(), rect ? rect : &all);
}

void CEditView::FlushImage(const RECT* rect) {
  if (m_hWnd) platform::ShowWindowImage(m_hWnd, rect);
}

void CEditView::RepaintClient() {
  if (!m_pViewImage) return;
  // Until the window's next paint draws all of it anyway (a new image, a window not painted yet)
  // nothing drawn now would ever show: at start that is a paint of the empty text and one of the
  // loaded text before the first frame.
  if (m_hWnd && platform::WindowImageOwesPaint(m_hWnd, nullptr)) return;
  const RECT all{0, 0, m_nClientWidth, m_nClientHeight};
  PaintView(GetViewDC(), &all);
  FlushImage(&all);
}

void CEditView::RepaintAll() {
  RepaintClient();
  UpdateCaret();
  ShowCaretPosition();
  if (m_pcEditDoc) m_pcEditDoc->UpdateCaption(m_pEditWnd && !m_pEditWnd->IsActiveWindow());
  ShowSelectionSize();
  UpdateScrollBars();
}

void CEditView::CopyViewStateTo(CEditView* pcOther) const {
  if (!pcOther || pcOther == this) return;
  pcOther->m_nCaretPosX = m_nCaretPosX;
  pcOther->m_nCaretPosX_Prev = m_nCaretPosX_Prev;
  pcOther->m_nCaretPosY = m_nCaretPosY;
  pcOther->m_nCaretPosX_PHY = m_nCaretPosX_PHY;
  pcOther->m_nCaretPosY_PHY = m_nCaretPosY_PHY;
  pcOther->m_bSelectingLock = m_bSelectingLock;
  pcOther->m_bBeginSelect = m_bBeginSelect;
  pcOther->m_bBeginBoxSelect = m_bBeginBoxSelect;
  pcOther->m_sSelectBgn = m_sSelectBgn;
  pcOther->m_sSelect = m_sSelect;
  pcOther->m_sSelectOld = m_sSelectOld;
  pcOther->m_ptMouseRollPos = m_ptMouseRollPos;
  pcOther->m_nViewTopLine = m_nViewTopLine;
  pcOther->m_nViewLeftCol = m_nViewLeftCol;
  pcOther->m_nCharWidth = m_nCharWidth;
  pcOther->m_nCharHeight = m_nCharHeight;
}
