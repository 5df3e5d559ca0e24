// The edit window's bars, the editor font and the wrap width; and the commands whose dialogs the
// editor does not have yet, which only beep.
#include <span>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "editor/view/commands/command_handler.h"
#include "editor/view/commands/wrap_toggle.h"
#include "editor/view/pane/edit_view.h"
#include "editor/view/pane/edit_window.h"
#include "platform/beep.h"
#include "platform/font_dialog.h"

void CEditView::Command_SHOWBAR(IEditWindow::Bar bar) {
  if (m_pEditWnd) m_pEditWnd->ToggleBar(bar);
}

void CEditView::Command_FONT() {
  if (!m_pcEditDoc) return;
  CommonSettings& common = Common();
  LOGFONT font = common.lf;
  if (!m_pcEditDoc->ChooseFontDialog(&font)) return;
  common.lf = font;
  // Our own measure decides: the Japanese fixed faces call themselves proportional.
  common.bFontIs_FIXED_PITCH = platform::IsFixedPitchLogFont(font) ? 1 : 0;
  // Every window's panes rebuild their fonts; this one last, once the others have the news.
  if (CShareData* share = CShareData::GetInstance()) {
    share->PostToAllEditWindows(MYWM_CHANGESETTING, 0, 0, m_pEditWnd ? m_pEditWnd->WindowId() : 0);
  }
}

void CEditView::Command_WRAPWINDOWWIDTH() {
  if (!m_pcEditDoc) return;
  CWrapLineMgr& layout = Layout();
  const WrapToggleStep step = NextWrapToggleStep(m_nViewColNum, layout.GetWrapWidth(), Type().nWrapColumn);
  if (step.toggle == kWrapToggleNone) return;
  m_pcEditDoc->ChangeWrapWidth(true, layout.GetTabWidth(), step.width);
  ScrollToLeftColumn(0);
  RepaintAll();
}

// ---------------------------------------------------------------- registration

namespace {

template <IEditWindow::Bar kBar>
LRESULT ShowBar(CEditView& v, const CommandCall&) {
  v.Command_SHOWBAR(kBar);
  return 1;
}

// The type list, the settings sheets, the favourites, the file's properties and the page setup
// open dialogs the editor does not have yet: the command is there but cannot run.
LRESULT NotYetAvailable(CEditView&, const CommandCall&) {
  platform::MessageBeep(MB_ICONHAND);
  return 1;
}

constexpr CommandHandlerEntry kSettingCommands[] = {
    {30152, 30152, &NotYetAvailable},
    {30190, 30190, &NotYetAvailable},
    {31100, 31100, &ShowBar<IEditWindow::Bar::kToolBar>},
    {31101, 31101, &ShowBar<IEditWindow::Bar::kFuncKeyBar>},
    {31102, 31102, &ShowBar<IEditWindow::Bar::kStatusBar>},
    {31103, 31103, &ShowBar<IEditWindow::Bar::kTabBar>},
    {31110, 31113, &NotYetAvailable},
    {31120, 31120, &PlainHandler<&CEditView::Command_FONT>},
    {31140, 31140, &PlainHandler<&CEditView::Command_WRAPWINDOWWIDTH>},
};

}  // namespace

std::span<const CommandHandlerEntry> SettingCommandFamily() { return kSettingCommands; }
