// The game's own watcher of the game window's messages: the menu bar's commands and the cursor on
// mouse moves. It also keeps the bar's check marks and slot items in step with the settings.
#pragma once

#include "sdk/framework/window_hook.h"

class CScriptApp;

class CScriptAppHook : public IWindowHook {
 public:
  // Joins the window's hooks of the calling thread's application (none: nothing to join).
  explicit CScriptAppHook(CScriptApp& app);
  ~CScriptAppHook() override;
  CScriptAppHook(const CScriptAppHook&) = delete;
  CScriptAppHook& operator=(const CScriptAppHook&) = delete;

  // WM_COMMAND runs the menu command of its low word; WM_MOUSEMOVE shows the cursor of the current
  // kind. Always 0: the message goes on to the other hooks and the window.
  LRESULT OnWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

  // Check marks from the settings, slot items from the save files. Nothing without a menu.
  void UpdateMenu();
  // Tries full screen at the depth and the larger ones, then the window; stores and checks the
  // depth the display ends in (0 for the window).
  void ChangeColorDepth(int depth);
  void CheckColorDepthMenu(int depth);

  // One command, as WM_COMMAND of that id runs it.
  void RunCommand(unsigned id);

 private:
  CScriptApp& m_app;
};
