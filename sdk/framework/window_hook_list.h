// The ordered hooks of one window. The list does not own them.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/window.h"
#include "sdk/framework/lock_section.h"
#include "sdk/framework/window_hook.h"

class CWindowHookList {
 public:
  CWindowHookList() = default;
  CWindowHookList(const CWindowHookList&) = delete;
  CWindowHookList& operator=(const CWindowHookList&) = delete;

  // Appends at the end (a hook may be in the list more than once).
  void Add(IWindowHook* hook);
  // Removes every occurrence.
  void Remove(IWindowHook* hook);
  bool Contains(const IWindowHook* hook) const;
  size_t Count() const;

  // Offers the message to each hook in order; the first nonzero result is returned. When every hook
  // passes, the previous window procedure (or the default one) answers. Hooks may add and remove
  // hooks while they run: the message goes to the hooks listed when it arrived that are still
  // listed when their turn comes.
  LRESULT Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC previous);

 private:
  mutable CLockSection m_lock;
  std::vector<IWindowHook*> m_hooks;
};
