// The two duties of the edit window's timer: saving a modified document every few minutes when
// asked to, and noticing that another program changed the file on disk.
#include <cstdio>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/ui/reload_query_dialog.h"
#include "platform/local_time.h"
#include "platform/sjis_literal.h"

namespace {
constexpr int kAutoSaveBit = 0x40;  // of "bBackUpType2_Opt1"
}

void CEditDoc::ReloadAutoSaveSettings() {
  if (!m_pShareData) return;
  const CommonSettings& common = m_pShareData->Common;
  m_cAutoSaveTimer.SetInterval(common.bBackUpType2_Opt3);
  m_cAutoSaveTimer.Enable((common.bBackUpType2_Opt1 & kAutoSaveBit) != 0);
}

void CEditDoc::CheckAutoSave() {
  if (!m_cAutoSaveTimer.IsDue()) return;
  // A read-only document is never written behind the user's back, as the save command refuses it.
  if (!m_bIsModified || !m_szFilePath[0] || m_bReadOnly) return;
  // The period starts again when the save (and any question it asks) is over.
  const bool enabled = m_cAutoSaveTimer.IsEnabled();
  m_cAutoSaveTimer.Enable(false);
  SaveToPath(m_szFilePath);
  m_cAutoSaveTimer.Enable(enabled);
}

void CEditDoc::CheckFileChangedOnDisk() {
  if (!m_pShareData || !m_pShareData->Common.bCheckFileTimeStamp || m_pShareData->Common.nFileShareMode != 0) return;
  IDocFrame* frame = m_ports.frame;
  if (m_nChangeWatch == kWatchOff || !frame || !frame->IsActiveWindow() || !m_szFilePath[0] || m_nFileTime == 0) {
    return;
  }
  int64_t time = 0;
  if (!GetFileWriteTime(m_szFilePath, &time) || time == m_nFileTime) return;
  m_nFileTime = time;
  if (m_nChangeWatch == kWatchNotify) {
    SYSTEMTIME t;
    if (!platform::LocalSystemTimeOf(time, &t)) platform::LocalSystemTimeOf(platform::WallClockNs(), &t);
    char text[64];
    std::snprintf(text, sizeof text, "★ファイル更新 %02d:%02d:%02d"_sj, t.wHour, t.wMinute, t.wSecond);
    frame->ShowMessageText(text);
    return;
  }
  // Further ticks while the question is open must not ask again.
  m_nChangeWatch = kWatchOff;
  CReloadQueryDialog query;
  switch (query.DoModal(nullptr, frame->FrameWindow(), m_szFilePath, m_bIsModified)) {
    case CReloadQueryDialog::kReload:
      ReloadWithCode(m_nCharCode, m_bReadOnly);
      m_nChangeWatch = kWatchAsk;
      break;
    case CReloadQueryDialog::kNotifyOnly:
      m_nChangeWatch = kWatchNotify;
      break;
    case CReloadQueryDialog::kStopWatching:
      m_nChangeWatch = kWatchOff;
      break;
    default:
      m_nChangeWatch = kWatchAsk;
      break;
  }
}
