// What a pane needs of the edit window around it: its status bar and caption message, its print
// preview, the focus, where commands go, the commands' names and states, and the menu drawer. The
// edit window implements it; tests fake it. Every pane of a document has the same one, and a pane
// without one (a document shown in a bare window) does what it can alone: no status texts, commands
// run on the pane itself, every command enabled.
#pragma once

#include <cstdint>

#include "platform/win_types.h"
#include "platform/window.h"

class CMemory;
class IMenuDrawer;

class IEditWindow {
 public:
  virtual ~IEditWindow() = default;

  // The top-level window: the target of the WM_COMMANDs that mouse bindings send and post, the
  // owner of pop-up menus and message boxes.
  virtual HWND Window() const = 0;
  // The edit window is the desktop's active window (the caret is shown only then).
  virtual bool IsActiveWindow() const = 0;
  // Gives the keyboard focus to the edit window (which hands it on to the active pane).
  virtual void TakeFocus() = 0;

  // The status bar: whether one is shown, and the text of one of its parts (0-6).
  virtual bool HasStatusBar() const = 0;
  virtual void SetStatusText(int part, const char* text) = 0;
  // The function-key bar is shown below the document (not above it).
  virtual bool HasFuncKeyBarAtBottom() const = 0;
  // The edit window is maximized. With a status bar, a function-key bar at the bottom or a
  // maximized window, the lower right pane's corner shows no size grip.
  virtual bool IsMaximized() const = 0;
  // The one-line message shown in the caption area while there is no status bar.
  virtual void SetCaptionMessage(const char* text) = 0;

  // The print preview is showing (every command but PrintPreview is refused).
  virtual bool IsPrintPreview() const = 0;

  // Command names and states for the right-click menu and the enable rule.
  virtual bool GetCommandName(int command, char* buffer, int size) const = 0;
  virtual bool IsCommandEnabled(int command) const = 0;
  virtual bool IsCommandChecked(int command) const = 0;
  // The owner-drawing menu builder; null when the edit window has none.
  virtual IMenuDrawer* MenuDrawer() = 0;
  // The key-assignment list as text (the key-list copy); false when there is none.
  virtual bool GetKeyBindList(CMemory* out) const = 0;
  // The command the key assignments bind to a key: nAccelCmd is the modifiers (Shift 1, Ctrl 2,
  // Alt 4) times 256 plus the virtual-key code. 0 for none (and without key assignments).
  virtual int KeyCommand(int nAccelCmd) const {
    (void)nAccelCmd;
    return 0;
  }

  // ---- What the file, view and window commands ask of the frame. An edit window that has none
  // of it (a bare window, a test's fake) keeps these: nothing happens.
  // The window's id in the shared window list (0: not listed).
  virtual uint32_t WindowId() const { return 0; }
  enum class Bar { kToolBar, kFuncKeyBar, kStatusBar, kTabBar };
  // Makes the bar when it is off and removes it when it is on, stores the new state in the common
  // settings and lays the window out again.
  virtual void ToggleBar(Bar) {}
  // Switches the print preview on or off.
  virtual void TogglePrintPreview() {}
  // The resident application's quit of every edit window and itself, with its confirmation.
  virtual void QuitAll() {}
  // 0 toggles, 1 sets, 2 clears the always-on-top state.
  virtual void SetTopMost(int) {}
  // The window-list menu at the mouse (atMouse) or near the active pane's top right corner; the
  // item chosen activates its window.
  virtual void ShowWindowListMenu(bool) {}
};
