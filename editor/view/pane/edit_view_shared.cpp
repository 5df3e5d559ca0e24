#include "editor/foundation/document/edit_doc.h"
#include "editor/view/pane/edit_view.h"
#include "editor/view/commands/wrap_toggle.h"

namespace {
// What a pane reads when it has no document or no settings record: the defaults.
SharedSettings& FallbackSettings() {
  static SharedSettings* settings = [] {
    static SharedSettings record{};
    CShareData::InitDefaults(record);
    return &record;
  }();
  return *settings;
}
}  // namespace

CWrapLineMgr& CEditView::Layout() const { return m_pcEditDoc->m_cLayoutMgr; }

const TypeSettings& CEditView::Type() const {
  const SharedSettings& settings = m_pShareData ? *m_pShareData : FallbackSettings();
  const int type = m_pcEditDoc ? m_pcEditDoc->m_nSettingType : 0;
  return settings.TypeList[type >= 0 && type < kTypeSlots ? type : 0];
}

CommonSettings& CEditView::Common() const { return (m_pShareData ? *m_pShareData : FallbackSettings()).Common; }

const ColorItem& CEditView::ColorOf(int code) const {
  return Type().Colors[code >= 0 && code < kColorItemSlots ? code : 0];
}

bool CEditView::IsActivePane() const { return m_pcEditDoc && m_pcEditDoc->GetActivePane() == m_nMyIndex; }

CEditView* CEditView::PartnerPane(int index) const {
  if (!m_pcEditDoc || index < 0 || index > 3) return nullptr;
  return dynamic_cast<CEditView*>(m_pcEditDoc->Ports().panes[static_cast<size_t>(index)]);
}

// Modes 1 plain, 2 regular expression, 3 Migemo, each a forward then a backward command.
bool CEditView::IsISearchChecked(int command) const {
  constexpr int kFirst = 30981;
  if (m_nISearchMode < 1 || m_nISearchMode > 3) return false;
  return command == kFirst + (m_nISearchMode - 1) * 2 + (m_nISearchDirection == 0 ? 1 : 0);
}

int CEditView::NextWrapToggle() const {
  if (!m_pcEditDoc) return kWrapToggleNone;
  return NextWrapToggleStep(m_nViewColNum, Layout().GetWrapWidth(), Type().nWrapColumn).toggle;
}
