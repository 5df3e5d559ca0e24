// The pane as drop target and drag source.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/ui/clipboard_formats.h"
#include "editor/view/commands/command_ids.h"
#include "editor/view/pane/edit_view.h"
#include "editor/view/pane/edit_window.h"

namespace {

// What the platform's drop target is told, handed to the pane.
class PaneDropTarget final : public platform::DropTarget {
 public:
  explicit PaneDropTarget(CEditView& view) : m_view(view) {}
  bool DragEnter(const platform::DropData& data, DWORD keyState, POINT point, DWORD* effect) override {
    return m_view.HandleDragEnter(data, keyState, point, effect);
  }
  DWORD DragOver(DWORD keyState, POINT point) override { return m_view.HandleDragOver(keyState, point); }
  void DragLeave() override { m_view.HandleDragLeave(); }
  DWORD Drop(const platform::DropData& data, DWORD keyState, POINT point) override {
    return m_view.HandleDrop(data, keyState, point);
  }

 private:
  CEditView& m_view;
};

bool CtrlHeld(DWORD keyState) { return (keyState & MK_CONTROL) != 0; }

std::string UpToNul(std::string_view bytes) { return std::string(bytes.substr(0, bytes.find('\0'))); }

// The text a drag brings: the editor's private block, byte for byte, when it holds up (another
// program may offer a broken one), else the plain text in Shift-JIS as a paste converts it; a
// drop's text ends at its first NUL.
std::optional<std::string> DropText(const platform::DropData& data) {
  if (const std::string* block = data.Format(PrivateClipFormat())) {
    if (const std::optional<std::string_view> bytes = ReadPrivateClipBlock(*block)) return UpToNul(*bytes);
  }
  if (!data.text) return std::nullopt;
  std::string units;
  units.reserve(data.text->size() * 2);
  for (const char16_t u : *data.text) {
    units.push_back(static_cast<char>(u & 0xFF));
    units.push_back(static_cast<char>(u >> 8));
  }
  CMemory converted(units.data(), static_cast<int>(units.size()));
  converted.UNICODEtoSJIS();
  return UpToNul(converted.View());
}

}  // namespace

void CEditView::RegisterDropTarget() {
  if (!m_hWnd) return;
  if (!m_pDropTarget) m_pDropTarget = std::make_unique<PaneDropTarget>(*this);
  platform::RegisterDropTarget(m_hWnd, m_pDropTarget.get());
}

void CEditView::RevokeDropTarget() {
  if (m_hWnd) platform::RevokeDropTarget(m_hWnd);
  m_bDropDataHeld = false;
  m_bDragMode = false;
}

bool CEditView::AcceptsEdits() const { return m_pcEditDoc && !m_pcEditDoc->IsCommandRefusedReadOnly(cmd::kInsText); }

DWORD CEditView::DropEffectAtCaret(DWORD dwKeyState) const {
  // The drag's own keys: the keyboard state may not have seen a Ctrl pressed during the drag.
  if (m_bDragSource && IsPositionInDraggedSelection(m_nCaretPosX, m_nCaretPosY, CtrlHeld(dwKeyState)) == 0) {
    return DROPEFFECT_NONE;
  }
  return m_bDragSource && !CtrlHeld(dwKeyState) ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
}

bool CEditView::HandleDragEnter(const platform::DropData& data, DWORD dwKeyState, POINT pt, DWORD* pdwEffect) {
  // A file drop is the edit window's: the pane takes text only.
  if (Common().bUseOLE_DragDrop != 1 || !AcceptsEdits() || !DropText(data) || !pdwEffect) return false;
  if (!IsActivePane()) m_pcEditDoc->SetActivePane(m_nMyIndex);
  m_bDragMode = true;
  HandleSetFocus();
  m_bDropDataHeld = true;
  if (m_hWnd) platform::SetFocus(m_hWnd);
  *pdwEffect = HandleDragOver(dwKeyState, pt);
  return true;
}

DWORD CEditView::HandleDragOver(DWORD dwKeyState, POINT pt) {
  HandleMouseMove(static_cast<WPARAM>(dwKeyState), pt.x, pt.y);
  return m_bDropDataHeld ? DropEffectAtCaret(dwKeyState) : DROPEFFECT_NONE;
}

void CEditView::HandleDragLeave() {
  if (m_bDragSource) {
    // The text went out of its own pane: the pane keeps showing its caret and selection.
    HandleSetFocus();
    if (m_pEditWnd) m_pEditWnd->TakeFocus();
  } else {
    HandleKillFocus();
    if (m_hWnd && platform::GetFocus() == m_hWnd) platform::SetFocus(nullptr);
  }
  m_bDropDataHeld = false;
  m_bDragMode = false;
}

DWORD CEditView::HandleDrop(const platform::DropData& data, DWORD dwKeyState, POINT pt) {
  if (!m_pcEditDoc) return DROPEFFECT_NONE;
  // No leave follows a drop: the pane stops following the pointer here, whatever comes of it.
  const auto endDrag = [this] {
    m_bDropDataHeld = false;
    m_bDragMode = false;
  };
  if (Common().bUseOLE_DragDrop == 1) MoveCursorToPoint(pt.x, pt.y);
  if (!m_bDragSource && IsTextSelected()) ClearSelection(true);
  // Nothing to put in, a document that stopped taking edits, or the own selection dropped on itself.
  // The drop brings its text itself: it needs no enter before it.
  const std::optional<std::string> text = DropText(data);
  const DWORD effect = DropEffectAtCaret(dwKeyState);
  if (!text || !AcceptsEdits() || effect == DROPEFFECT_NONE) {
    endDrag();
    return DROPEFFECT_NONE;
  }
  if (m_bDragSource) {
    DropOwnSelection(text->c_str(), static_cast<int>(text->size()), effect == DROPEFFECT_MOVE);
  } else {
    // Typed in, as one undo step.
    RunCommand(cmd::kInsText, true, reinterpret_cast<LPARAM>(text->c_str()), static_cast<LPARAM>(text->size()), 0, 0);
  }
  endDrag();
  if (m_pEditWnd) m_pEditWnd->TakeFocus();
  if (!IsActivePane()) m_pcEditDoc->SetActivePane(m_nMyIndex);
  return effect;
}

void CEditView::DropOwnSelection(const char* pszText, int nTextLen, bool bMove) {
  // One undo step for the whole move or copy, unless a command around it has its own block.
  const bool bOwnBlock = !m_pcOpeBlk;
  if (bOwnBlock) m_pcOpeBlk = std::make_unique<COpeBlk>();

  const bool bBox = m_bBeginBoxSelect;
  const POINT drop = DocPosOf(m_nCaretPosX, m_nCaretPosY);
  const auto insert = [&] {
    if (bBox) {
      PasteBoxText(pszText, nTextLen);
      RepaintClient();
    } else {
      Command_INSTEXT(true, pszText, nTextLen, true);
    }
  };

  if (!bMove) {
    ClearSelection(true);
    insert();
  } else {
    const SelectRange sel = m_sSelect;
    bool bDeleteFirst = false;
    if (bBox) {
      const SelectRect rect = MakeSelectionRect(sel.nLineFrom, sel.nColumnFrom, sel.nLineTo, sel.nColumnTo);
      const int height = rect.nBottom - rect.nTop + 1;
      const int above = rect.nTop - m_nCaretPosY;  // rows between the drop line and the box
      // Pasted rows that reach into the box's rows at a column before its right edge would shift
      // its text before it is deleted, and the wrong bytes would go: the box goes first there.
      const bool overlapsInside = above > 0 && above < height && m_nCaretPosX < rect.nRight;
      bDeleteFirst = above > height || m_nCaretPosX < rect.nLeft || overlapsInside;
    } else {
      bDeleteFirst = m_nCaretPosY < sel.nLineFrom || (m_nCaretPosY == sel.nLineFrom && m_nCaretPosX < sel.nColumnFrom);
    }
    if (bDeleteFirst) {
      // The deletion lies after the drop point (or on rows the drop point is not on): the point
      // stays where it was in the document.
      DeleteAtCursor(true);
      PlaceCaretAtDoc(drop.x, drop.y, true);
      insert();
    } else {
      const SelectRange anchor = m_sSelectBgn;
      const POINT selFrom = DocPosOf(sel.nColumnFrom, sel.nLineFrom);
      const POINT selTo = DocPosOf(sel.nColumnTo, sel.nLineTo);
      ClearSelection(true);
      insert();
      const POINT end{m_nCaretPosX_PHY, m_nCaretPosY_PHY};
      // The old place lies before the inserted text, which its deletion leaves where it is on the
      // screen: delete it as it was selected.
      m_sSelectBgn = anchor;
      m_sSelect = sel;
      m_sSelectOld = sel;
      m_bBeginBoxSelect = bBox;
      m_bDrawSelectArea = false;
      DeleteAtCursor(true);
      if (bBox || selFrom.y == selTo.y) {
        // Neither a box nor text from one line takes a line away: the drop point still names the
        // pasted rows' corner, or the place the text went to (its end when it moved along its
        // own line).
        PlaceCaretAtDoc(drop.x, drop.y, true);
      } else {
        // The end of the moved text, where its insertion left the caret, less the removed text
        // in front of it.
        const POINT moved = end.y == selTo.y ? POINT{end.x - selTo.x + selFrom.x, selFrom.y}
                                             : POINT{end.x, end.y - (selTo.y - selFrom.y)};
        PlaceCaretAtDoc(moved.x, moved.y, true);
      }
    }
  }

  if (bOwnBlock) {
    std::unique_ptr<COpeBlk> block = std::move(m_pcOpeBlk);
    if (block->GetNum() > 0) {
      m_pcEditDoc->m_cUndoBuffer.AppendBlock(block.release());
      m_pcEditDoc->RedrawSiblingPanes();
    }
  }
}

DWORD CEditView::DragSelectedText() {
  CMemory text;
  if (!m_hWnd || !GetSelectedText(&text, false, nullptr, false, Common().bAddCRLFWhenCopy != 0)) {
    return DROPEFFECT_NONE;
  }
  m_bDragSource = true;
  // The editor's own panes and windows get the bytes exactly through the private block.
  const std::vector<platform::DragFormat> formats{{PrivateClipFormat(), MakePrivateClipBlock(text.View())}};
  const DWORD effect = platform::DoDragDrop(m_hWnd, text.View(), formats, DROPEFFECT_COPY | DROPEFFECT_MOVE);
  m_bDragSource = false;
  return effect;
}
