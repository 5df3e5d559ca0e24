#include "sdk/framework/window_hook_list.h"

#include <algorithm>
#include <mutex>

void CWindowHookList::Add(IWindowHook* hook) {
  std::lock_guard lock(m_lock);
  m_hooks.push_back(hook);
}

void CWindowHookList::Remove(IWindowHook* hook) {
  std::lock_guard lock(m_lock);
  std::erase(m_hooks, hook);
}

bool CWindowHookList::Contains(const IWindowHook* hook) const {
  std::lock_guard lock(m_lock);
  return std::find(m_hooks.begin(), m_hooks.end(), hook) != m_hooks.end();
}

size_t CWindowHookList::Count() const {
  std::lock_guard lock(m_lock);
  return m_hooks.size();
}

LRESULT CWindowHookList::Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC previous) {
  {
    // Held while the hooks run (re-entrant), so that the hooks see one message at a time.
    std::lock_guard lock(m_lock);
    const std::vector<IWindowHook*> snapshot = m_hooks;
    for (IWindowHook* hook : snapshot) {
      if (!Contains(hook)) continue;  // removed by an earlier hook of this dispatch
      if (LRESULT result = hook->OnWindowMessage(hwnd, message, wParam, lParam)) return result;
    }
  }
  return platform::CallWindowProc(previous, hwnd, message, wParam, lParam);
}
