// Placeholder bodies until this part is built.
#include "editor/view/pane/edit_view.h"

int CEditView::Create(HINSTANCE, HWND, CEditDoc*, int, bool) { return 0; }
void CEditView::AttachDocument(CEditDoc*, int) {}
void CEditView::SetClientSize(int, int) {}
LRESULT CEditView::EditViewWindowProc(HWND, UINT, WPARAM, LPARAM) { return 0; }
LRESULT CEditView::DispatchEvent(HWND, UINT, WPARAM, LPARAM) { return 0; }
void CEditView::OnTimer() {}
void CEditView::HandleSize(int, int) {}
void CEditView::HandleSetFocus() {}
void CEditView::HandleKillFocus() {}
void CEditView::UpdateCharMetrics() {}
int CEditView::GetLineNumberDigits() { return 0; }
void CEditView::UpdateFonts() {}
const platform::Font* CEditView::GetFontFor(bool, bool) const { return nullptr; }
void CEditView::RepaintAll() {}
void CEditView::RepaintClient() {}
void CEditView::CopyViewStateTo(CEditView*) const {}
void CEditView::ShowSplitBoxes(bool, bool, bool) {}
void CEditView::ShowCaretPosition() {}
void CEditView::ShowSelectionSize() {}
void CEditView::ShowStatusMessage(const char*) {}
int CEditView::ShowContextMenu() { return 0; }
bool CEditView::IsInsertMode() const { return false; }
void CEditView::SetInsertMode(bool) {}
bool CEditView::ShowKeywordTipFor(int, int, const char*, const RECT*) { return false; }
bool CEditView::LookUpKeyword(const char*, int) { return false; }
void CEditView::InvalidateClient(const RECT*) {}
void CEditView::FlushImage(const RECT*) {}
LRESULT CEditView::DispatchMessage(HWND, UINT, WPARAM, LPARAM) { return 0; }
LRESULT CEditView::RunCommand(int) { return 0; }
void CEditView::ResetForNewText() {}
void CEditView::OnFocusLost() {}
void CEditView::OnFocusGained() {}
void CEditView::Redraw() {}
void CEditView::Invalidate() {}
bool CEditView::UpdateTextAreaLeft(bool) { return false; }
void CEditView::RecreateFonts() {}
POINT CEditView::Caret() const { return {}; }
void CEditView::SetViewTopLeft(int, int) {}
void CEditView::PlaceCaret(POINT) {}
PaneMarks CEditView::GetMarks() const { return {}; }
void CEditView::RestoreMarks(const PaneMarks&) {}
void CEditView::GetSelectedTextOrWord(CMemory*, int) const {}

#include "editor/foundation/ui/tip_wnd.h"
#include "editor/view/pane/split_box_wnd.h"
#include "platform/wheel_scroll.h"

CEditView::CEditView() = default;
CEditView::~CEditView() = default;

namespace {
class NoDictionary : public IKeywordDictionary {
 public:
  bool Search(const char*, const char*, CMemory*) override { return false; }
};
class NoMacros : public IViewMacros {
 public:
  void RecordCommand(int, int, LPARAM, CEditView*) override {}
  bool ExecuteSlot(int, HINSTANCE, CEditView*) override { return false; }
};
// The desktop's wheel setting.
class NoWheel : public IWheelSettings {
 public:
  std::optional<int> WheelScrollLines() const override { return platform::WheelScrollLines(); }
};
NoDictionary g_noDictionary;
NoMacros g_noMacros;
NoWheel g_noWheel;
IKeywordDictionary* g_dictionary = &g_noDictionary;
IViewMacros* g_macros = &g_noMacros;
IWheelSettings* g_wheel = &g_noWheel;
}  // namespace

IKeywordDictionary* GetKeywordDictionary() { return g_dictionary; }
void SetKeywordDictionary(IKeywordDictionary* d) { g_dictionary = d ? d : &g_noDictionary; }
IViewMacros* GetViewMacros() { return g_macros; }
void SetViewMacros(IViewMacros* m) { g_macros = m ? m : &g_noMacros; }
IWheelSettings* GetWheelSettings() { return g_wheel; }
void SetWheelSettings(IWheelSettings* s) { g_wheel = s ? s : &g_noWheel; }
