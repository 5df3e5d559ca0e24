#include "sdk/framework/app_manager.h"

#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/sjis_literal.h"
#include "platform/sync.h"
#include "sdk/framework/error_log.h"
#include "sdk/framework/lock_section.h"
#include "sdk/framework/window_application.h"

namespace {

struct Registry {
  CLockSection lock;
  std::vector<std::unique_ptr<CAppEntry>> entries;
  int appCount = 0;
  CWindowApplication* ownedApp = nullptr;
  bool ownsApp = false;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

// The calling thread's entry; the registry lock must be held.
CAppEntry* CurrentEntry(Registry& r) {
  uint32_t id = platform::GetCurrentThreadId();
  for (auto& e : r.entries) {
    if (e->threadId == id) return e.get();
  }
  return nullptr;
}

// A field of the calling thread's entry, or null when the thread has none.
template <class T>
T* CurrentField(T* CAppEntry::*field) {
  auto& r = TheRegistry();
  std::lock_guard lock(r.lock);
  CAppEntry* e = CurrentEntry(r);
  return e ? e->*field : nullptr;
}

constexpr const char* kNoRoom = "CAppManager::Addするのに空きが無い"_sj;

}  // namespace

void CAppManager::IncAppCount() {
  auto& r = TheRegistry();
  std::lock_guard lock(r.lock);
  ++r.appCount;
}

void CAppManager::DecAppCount() {
  auto& r = TheRegistry();
  std::lock_guard lock(r.lock);
  --r.appCount;
}

int CAppManager::GetAppCount() {
  auto& r = TheRegistry();
  std::lock_guard lock(r.lock);
  return r.appCount;
}

void CAppManager::Add(CWindowApplication* app) {
  auto& r = TheRegistry();
  std::lock_guard lock(r.lock);
  for (auto& e : r.entries) {
    if (e->app != app) continue;
    if (e->threadId == 0) {
      e->threadId = platform::GetCurrentThreadId();
    } else {
      ErrorLog::Out(kNoRoom);
    }
    return;
  }
  auto entry = std::make_unique<CAppEntry>();
  entry->app = app;
  entry->threadId = platform::GetCurrentThreadId();
  r.entries.push_back(std::move(entry));
}

void CAppManager::Remove(CWindowApplication* app) {
  auto& r = TheRegistry();
  std::lock_guard lock(r.lock);
  std::erase_if(r.entries, [app](const auto& e) { return e->app == app; });
}

CWindowApplication* CAppManager::GetCurrentApp() { return CurrentField(&CAppEntry::app); }

void CAppManager::SetDraw(void* draw) {
  auto& r = TheRegistry();
  std::lock_guard lock(r.lock);
  if (CAppEntry* e = CurrentEntry(r)) {
    e->draw = draw;
  } else {
    ErrorLog::Out(kNoRoom);
  }
}

void CAppManager::ClearDraw(void* draw) {
  auto& r = TheRegistry();
  std::lock_guard lock(r.lock);
  uint32_t id = platform::GetCurrentThreadId();
  for (auto& e : r.entries) {
    if (e->threadId == id && e->draw == draw) e->draw = nullptr;
  }
}

void* CAppManager::GetDraw() { return CurrentField(&CAppEntry::draw); }

platform::DirectDraw* CAppManager::GetDirectDraw() { return CurrentField(&CAppEntry::directDraw); }

void CAppManager::SetDirectDraw(platform::DirectDraw* directDraw) {
  auto& r = TheRegistry();
  std::lock_guard lock(r.lock);
  CAppEntry* e = CurrentEntry(r);
  if (e == nullptr) {
    if (directDraw == nullptr) return;
    auto entry = std::make_unique<CAppEntry>();
    entry->threadId = platform::GetCurrentThreadId();
    e = entry.get();
    r.entries.push_back(std::move(entry));
  }
  e->directDraw = directDraw;
  if (directDraw == nullptr && e->app == nullptr && e->draw == nullptr && e->scopedObject == nullptr)
    std::erase_if(r.entries, [e](const auto& p) { return p.get() == e; });
}

void CAppManager::SetScopedObject(CAppScopedObject* object) {
  auto& r = TheRegistry();
  std::lock_guard lock(r.lock);
  if (CAppEntry* e = CurrentEntry(r)) e->scopedObject = object;
}

void CAppManager::ClearScopedObject(CAppScopedObject* object) {
  auto& r = TheRegistry();
  std::lock_guard lock(r.lock);
  for (auto& e : r.entries) {
    if (e->scopedObject == object) e->scopedObject = nullptr;
  }
}

void CAppManager::SetOwnedApp(CWindowApplication* app, bool owns) {
  auto& r = TheRegistry();
  std::lock_guard lock(r.lock);
  r.ownedApp = app;
  r.ownsApp = app && owns;
}

void CAppManager::WaitAllApps() {
  auto& r = TheRegistry();
  {
    std::lock_guard lock(r.lock);
    for (auto& e : r.entries) {
      if (e->app) static_cast<CThread*>(e->app)->InvalidateThread();
    }
  }
  for (;;) {
    {
      std::lock_guard lock(r.lock);
      if (r.appCount <= (r.ownedApp ? 2 : 1)) break;
    }
    platform::SleepMs(100);
  }
  CWindowApplication* owned = nullptr;
  bool owns = false;
  {
    std::lock_guard lock(r.lock);
    owned = std::exchange(r.ownedApp, nullptr);
    owns = std::exchange(r.ownsApp, false);
  }
  if (owned && owns) delete owned;
}
