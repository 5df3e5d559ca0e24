// One running application: its main window, its thread and its main routine. The first application
// whose Run is called is the main application and runs on the calling thread, which must be the
// GUI thread (windows live there).
#pragma once

#include <atomic>
#include <cstdint>

#include "sdk/framework/thread.h"
#include "sdk/framework/window.h"
#include "sdk/framework/window_hook.h"
#include "sdk/framework/window_option.h"

class CWindowApplication : public IWindowHook, public CThread {
 public:
  CWindowApplication();
  // Stops the thread, counts the application out, then destroys the window.
  ~CWindowApplication() override;

  // WM_CLOSE: asks OnCloseQuery (unless Close asked) and ends the main loop; WM_DESTROY of the main
  // application posts the quit message.
  LRESULT OnWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

  // Runs the application: the main application on the calling thread (0). Another application
  // would need a thread of its own, and windows cannot live off the GUI thread: 1.
  virtual int Run();
  // Closes without asking OnCloseQuery.
  virtual int Close();
  // The main routine: pumps messages until the thread is invalidated.
  virtual int AppMain();
  // Nonzero ends the run before anything is made.
  virtual int OnPreCreate();
  // Fills the window option; nonzero ends the run.
  virtual int PrepareWindowOption(CWindowOption& option);
  // Nonzero ends the run once the window exists.
  virtual int OnInit();
  // Called after AppMain returns.
  virtual int OnExit();
  // Nonzero vetoes a close that did not come from Close.
  virtual int OnCloseQuery();

  // One pass of the message pump; true while the application should keep running.
  bool PumpMessages();

  void ThreadBody() override;
  // In blocking-pump mode also posts WM_CLOSE, so that a pump waiting for a message wakes.
  void InvalidateThread() override;

  CWindow& GetWindow() { return m_window; }
  bool IsMainLoopRunning() const { return m_mainLoopRunning; }
  bool IsCloseRequested() const { return m_closeRequested; }
  // The pump waits while the window is minimised (the game sets this).
  void SetBlockWhileMinimised(bool block) { m_blockWhileMinimised = block; }
  // The pump waits for one message instead of draining the queue.
  void SetBlockingPump(bool blocking) { m_blockingPump = blocking; }

  // The main application; null before the first Run and after its destruction.
  static CWindowApplication* GetMainApp();

 private:
  CWindow m_window;
  std::atomic<bool> m_mainLoopRunning{false};
  bool m_blockWhileMinimised = false;
  std::atomic<bool> m_closeRequested{false};
  std::atomic<bool> m_blockingPump{false};
  std::atomic<int32_t> m_startResult{0};
};

// Operations on the calling thread's application. Without one they do nothing or return null.
void AddWindowHook(IWindowHook* hook);
void RemoveWindowHook(IWindowHook* hook);
HWND GetAppWindowHandle();
