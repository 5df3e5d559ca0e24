// The application's main window: a system window whose messages pass through an ordered list of
// hooks (the window's own first), so that the application, the display, the input devices and the
// sound device each see what they need without a window procedure of their own.
#pragma once

#include <string_view>

#include "platform/window.h"
#include "sdk/framework/window_hook.h"
#include "sdk/framework/window_hook_list.h"
#include "sdk/framework/window_option.h"

class CWindow : public IWindowHook {
 public:
  CWindow() = default;
  CWindow(const CWindow&) = delete;
  CWindow& operator=(const CWindow&) = delete;
  // Takes its own hook out, then destroys the system window.
  ~CWindow() override;

  // The window's own hook: hides on WM_DESTROY, follows minimising, forgets the handle on
  // WM_NCDESTROY. Always 0.
  LRESULT OnWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

  // 0 on success, 1 on failure. A window made by an earlier Create is destroyed first.
  int Create(const CWindowOption& option, HWND parent);
  // Moves a windowed window; 1 only when the move failed.
  int SetPos(int x, int y);
  // Stores a new client size for the next ChangeScreen.
  void SetSize(int width, int height);
  // Applies the full-screen flag and a stored size to the window.
  void ChangeScreen();
  // The outer rectangle for the option's client size.
  void AdjustRect(RECT* rect, const CWindowOption& option) const;
  static bool IsStandardClass(std::string_view className);

  HWND GetHandle() const { return m_hwnd; }
  bool IsMinimised() const { return m_minimised; }
  bool IsWindowFullScreen() const { return m_fullScreen; }
  bool HasMenu() const { return m_hasMenu; }
  const CWindowOption& GetOption() const { return m_option; }
  CWindowHookList& GetHooks() { return m_hooks; }

 private:
  friend LRESULT FrameworkWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  int m_backgroundSelector = 0;  // 0: black class background, else white
  HWND m_hwnd = nullptr;
  bool m_fullScreen = false;
  CWindowOption m_option;
  CWindowHookList m_hooks;
  bool m_hasMenu = false;
  bool m_sizeChanged = false;
  WNDPROC m_previousProc = nullptr;
  bool m_minimised = false;
};

// The window procedure of every framework window: the hooks of the CWindow stored in the window's
// user data, or the default procedure when there is none.
LRESULT FrameworkWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

void GetScreenSize(int* width, int* height);
