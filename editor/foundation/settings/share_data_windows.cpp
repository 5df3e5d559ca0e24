// The list of edit windows in the shared record and the requests between them. Several processes
// change the list: the list and its counter change under the record's lock, and a request that
// uses the exchange area holds the exchange lock from writing it to reading the answer. No lock is
// held across a send except the exchange lock, whose wait serves incoming sends.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>
#include <thread>

#include "editor/foundation/settings/recent_list.h"
#include "editor/foundation/settings/share_data.h"
#include "platform/ipc.h"
#include "platform/named_lock.h"

namespace {

constexpr std::chrono::milliseconds kRecordLockWait(2000);
constexpr std::chrono::milliseconds kExchangeLockWait(10000);

// The record's lock: one flock per process, counted so that it nests.
struct ProcessRecordLock {
  std::recursive_mutex mutex;
  int depth = 0;
  platform::NamedLock file;
};
ProcessRecordLock& RecordLockState() {
  static ProcessRecordLock state;
  return state;
}

std::vector<EditWindowId> SnapshotWindows(SharedSettings* s) {
  std::vector<EditWindowId> ids;
  CRecentList list;
  if (!list.BindToShareData(s, CRecentList::kEditWindows)) return ids;
  for (int i = 0; i < list.GetCount(); ++i)
    ids.push_back(reinterpret_cast<const EditWindowEntry*>(list.GetItem(i))->hwnd);
  return ids;
}

// The listed windows that are gone: their processes ended (crashed, killed) without taking them off
// the list. A process that does not answer (stopped) keeps its entries and is asked only once.
std::vector<EditWindowId> GoneWindows(const std::vector<EditWindowId>& listed) {
  std::vector<EditWindowId> gone;
  std::set<pid_t> silent;
  for (EditWindowId id : listed) {
    if (silent.count(platform::ipc::ProcessOf(id))) continue;
    switch (platform::ipc::GetPresence(id)) {
      case platform::ipc::Presence::kGone:
        gone.push_back(id);
        break;
      case platform::ipc::Presence::kNoAnswer:
        silent.insert(platform::ipc::ProcessOf(id));
        break;
      case platform::ipc::Presence::kLive:
        break;
    }
  }
  return gone;
}

}  // namespace

bool IsEditWindow(EditWindowId window) {
  return window != 0 && platform::ipc::IsLive(window) && platform::ipc::GetClassName(window) == kEditWindowClass;
}

void WriteExchangePosition(SharedSettings& record, int32_t column, int32_t line) {
  std::memcpy(record.szExchangeText, &column, sizeof column);
  std::memcpy(record.szExchangeText + sizeof column, &line, sizeof line);
}

void ReadExchangePosition(const SharedSettings& record, int32_t* column, int32_t* line) {
  std::memcpy(column, record.szExchangeText, sizeof *column);
  std::memcpy(line, record.szExchangeText + sizeof *column, sizeof *line);
}

CShareData::RecordLock::RecordLock(CShareData& share) {
  ProcessRecordLock& l = RecordLockState();
  l.mutex.lock();
  if (l.depth++ != 0) return;
  if (l.file.OpenWaiting(share.m_recordName + ".record", kRecordLockWait) != platform::NamedLock::Result::kAcquired) {
    // The holder is stopped or stuck (or the lock file cannot be had). Waiting on would stop this
    // editor with it, so the change goes ahead without the lock: what is done under it is a few
    // fields at a time, and at worst one of two changes made to a list at the same moment is lost.
    std::fprintf(stderr, "tovara: the lock of the shared settings was not had within %lld ms; going on without it\n",
                 static_cast<long long>(kRecordLockWait.count()));
  }
}

CShareData::RecordLock::~RecordLock() {
  ProcessRecordLock& l = RecordLockState();
  if (--l.depth == 0) l.file.Close();
  l.mutex.unlock();
}

CShareData::ExchangeLock::ExchangeLock(CShareData& share) : m_share(share) {
  platform::NamedLock& lock = m_share.m_exchangeLock;
  const auto deadline = std::chrono::steady_clock::now() + kExchangeLockWait;
  for (;;) {
    if (lock.Open(m_share.m_recordName + ".exchange") == platform::NamedLock::Result::kAcquired) {
      m_bHeld = true;
      return;
    }
    lock.Close();
    // Another process's request may be waiting on a send to us.
    platform::ipc::ServeIncomingSends();
    if (std::chrono::steady_clock::now() >= deadline) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

CShareData::ExchangeLock::~ExchangeLock() { m_share.m_exchangeLock.Close(); }

bool CShareData::RegisterEditWindow(EditWindowId window) {
  if (!m_pShareData || window == 0) return false;
  // Entries of windows that are gone would fill the list for good; they go before a window is
  // added. The processes are asked before the lock is taken, since no lock is held across a
  // request.
  std::vector<EditWindowId> listed = SnapshotWindows(m_pShareData);
  std::vector<EditWindowId> gone;
  if (std::find(listed.begin(), listed.end(), window) == listed.end()) gone = GoneWindows(listed);
  int code = 1;
  {
    RecordLock lock(*this);
    CRecentList list;
    if (!list.BindToShareData(m_pShareData, CRecentList::kEditWindows)) return false;
    for (EditWindowId id : gone) {
      const int at = list.FindItem(reinterpret_cast<const char*>(&id));
      if (at >= 0) list.DeleteItem(at);
    }
    EditWindowEntry entry{};
    entry.hwnd = window;
    const int found = list.FindItem(reinterpret_cast<const char*>(&entry.hwnd));
    if (found >= 0) {
      std::memcpy(&entry, list.GetItem(found), sizeof entry);
      code = 3;
    } else if (list.GetCount() >= kEditWindowSlots) {
      return false;
    }
    if (platform::ipc::GetWindowLong(window, 4) == 0) {
      const int number = ++m_pShareData->nLastWindowNumber;
      platform::ipc::SetWindowLong(window, 4, number);
      entry.nWindowNumber = number;
    }
    list.AppendItem(reinterpret_cast<const char*>(&entry));
  }
  PostToAllEditWindows(MYWM_TAB_WINDOW_NOTIFY, static_cast<WPARAM>(code), static_cast<LPARAM>(window), window);
  return true;
}

void CShareData::UnregisterEditWindow(EditWindowId window) {
  if (!m_pShareData) return;
  {
    RecordLock lock(*this);
    CRecentList list;
    if (!list.BindToShareData(m_pShareData, CRecentList::kEditWindows)) return;
    const int found = list.FindItem(reinterpret_cast<const char*>(&window));
    if (found < 0) return;
    list.DeleteItem(found);
  }
  PostToAllEditWindows(MYWM_TAB_WINDOW_NOTIFY, 2, static_cast<LPARAM>(window), 0);
}

int CShareData::GetEditWindowCount() {
  int n = 0;
  for (EditWindowId id : SnapshotWindows(m_pShareData))
    if (IsEditWindow(id)) ++n;
  return n;
}

std::vector<EditWindowEntry> CShareData::GetEditWindowList(bool sortByNumber) {
  std::vector<EditWindowEntry> out;
  if (!m_pShareData) return out;
  std::vector<std::pair<int, EditWindowEntry>> entries;
  {
    RecordLock lock(*this);
    CRecentList list;
    if (!list.BindToShareData(m_pShareData, CRecentList::kEditWindows)) return out;
    for (int i = 0; i < list.GetCount(); ++i) {
      EditWindowEntry e;
      std::memcpy(&e, list.GetItem(i), sizeof e);
      entries.emplace_back(i, e);
    }
  }
  std::vector<std::pair<int, EditWindowEntry>> live;
  for (auto& p : entries)
    if (IsEditWindow(p.second.hwnd)) live.push_back(p);
  if (sortByNumber)
    std::stable_sort(live.begin(), live.end(),
                     [](const auto& a, const auto& b) { return a.second.nWindowNumber < b.second.nWindowNumber; });
  for (auto& p : live) {
    p.second.nWindowNumber = p.first;
    out.push_back(p.second);
  }
  return out;
}

bool CShareData::PostToAllEditWindows(UINT message, WPARAM wParam, LPARAM lParam, EditWindowId last) {
  for (EditWindowId id : SnapshotWindows(m_pShareData))
    if (id != last && IsEditWindow(id)) platform::ipc::PostMessage(id, message, wParam, lParam);
  if (last && IsEditWindow(last)) platform::ipc::PostMessage(last, message, wParam, lParam);
  return true;
}

bool CShareData::SendToAllEditWindows(UINT message, WPARAM wParam, LPARAM lParam, EditWindowId last) {
  for (EditWindowId id : SnapshotWindows(m_pShareData))
    if (id != last && IsEditWindow(id)) platform::ipc::SendMessage(id, message, wParam, lParam);
  if (last && IsEditWindow(last)) platform::ipc::SendMessage(last, message, wParam, lParam);
  return true;
}

bool ActivateEditWindow(EditWindowId window) {
  CShareData* share = CShareData::GetInstance();
  const SharedSettings* s = share ? share->GetShareData() : nullptr;
  WINDOWPLACEMENT placement{};
  bool placed = false;
  // The record is read first: asking the window's process costs a round trip each.
  if (s && s->wpSavedEditWindow.length == sizeof(WINDOWPLACEMENT) && s->Common.bDispTabWnd &&
      !s->Common.bDispTabWndMultiWin && IsEditWindow(window)) {
    placement = s->wpSavedEditWindow;  // copied: another process may write the record meanwhile
    placed = true;
  }
  return platform::ipc::Activate(window, placed ? &placement : nullptr);
}

bool CShareData::RequestCloseAllEditWindows() {
  for (EditWindowId id : SnapshotWindows(m_pShareData)) {
    if (!IsEditWindow(id)) continue;
    ActivateEditWindow(id);
    if (platform::ipc::SendMessage(id, MYWM_CLOSE, 0, 0) == 0) return false;
  }
  return true;
}

RecentFileRecord CShareData::AskWindowFileInfo(EditWindowId window) {
  RecentFileRecord info = kEmptyRecentFileRecord;
  if (!m_pShareData) return info;
  ExchangeLock exchange(*this);
  if (!exchange.Held()) return info;
  platform::ipc::SendMessage(window, MYWM_GETFILEINFO, 1, 0);
  info = m_pShareData->ExchangeFileInfo;
  info.szPath[kMaxPath - 1] = '\0';
  info.szGrepText[sizeof info.szGrepText - 1] = '\0';
  return info;
}

bool CShareData::FindEditWindowByPath(const char* path, EditWindowId* window) {
  if (window) *window = 0;
  if (!m_pShareData || !path || !window || GetEditWindowCount() == 0) return false;
  for (EditWindowId id : SnapshotWindows(m_pShareData)) {
    if (!IsEditWindow(id)) continue;
    ExchangeLock exchange(*this);
    if (!exchange.Held()) return false;
    std::memset(m_pShareData->ExchangeFileInfo.szPath, 0, kMaxPath);
    platform::ipc::SendMessage(id, MYWM_GETFILEINFO, 1, 0);
    // Paths are names of this system's files: only the same bytes are the same file.
    if (strncmp(m_pShareData->ExchangeFileInfo.szPath, path, kMaxPath) == 0) {
      *window = id;
      return true;
    }
  }
  return false;
}
