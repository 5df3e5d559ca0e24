// The base of the editor's own child and pop-up windows (split boxes, the splitter, the tab bar, the
// tip, the function-key bar): one object per window, one window procedure for every class
// registered through it, and one virtual handler per message the editor cares about.
//
// A derived class stores its instance and parent, registers its class with RegisterWC and calls
// Create; from the window's first message on (WM_NCCREATE, before CreateWindowEx returns) every
// message of the window reaches the object's handlers. Destroying the object unbinds the window
// before destroying it, so the window's last messages go to the default procedure; a window
// destroyed from outside (with its parent) runs OnDestroy and OnNcDestroy, and the object forgets it.
// GUI thread only.
#pragma once

#include "platform/window.h"

class CWnd {
 public:
  CWnd();
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  // Registers a class whose windows this framework serves: double clicks, 32 extra bytes, the
  // object's instance. The atom, or 0 (a class of that name exists already).
  ATOM RegisterWC(HICON hIcon, HICON hIconSm, HCURSOR hCursor, HBRUSH hbrBackground, const char* lpszMenuName,
                  const char* lpszClassName);
  // Makes the window with the stored parent and instance and binds it to this object; AfterCreate
  // follows. Null (and a message box owned by the parent) when the window cannot be made.
  HWND Create(DWORD dwExStyle, const char* lpClassName, const char* lpWindowName, DWORD dwStyle, int x, int y,
              int nWidth, int nHeight, HMENU hMenu);

  // The one window procedure of every class registered through RegisterWC.
  static LRESULT WindowProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

  HWND GetHwnd() const { return m_hWnd; }
  HWND GetParentHwnd() const { return m_hwndParent; }
  HINSTANCE GetAppInstance() const { return m_hInstance; }
  // "CWnd" followed by "::" and the name of each derived class: informational only.
  const char* GetClassInheritances() const { return m_szClassInheritances; }

 protected:
  // For derived constructors: adds "::" and the class name to the chain, as far as it holds.
  void AppendClassInheritance(const char* pszClassName);

  // Routes a message to its handler: 0x8000-0xBFFF to OnAppMessage, the messages below to theirs,
  // everything else (registered messages too) to CallDefWndProc.
  virtual LRESULT DispatchEvent(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnAppMessage(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual void PreCreate();
  // Shows the window.
  virtual void AfterCreate();
  // Forgets the window; 0.
  virtual LRESULT OnNcDestroy(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnCreate(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnCommand(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnPaint(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnLButtonDown(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnLButtonUp(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnLButtonDblClk(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnRButtonDown(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnRButtonUp(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnRButtonDblClk(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnMButtonDown(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnMButtonUp(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnMButtonDblClk(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnMouseMove(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnMouseWheel(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnTimer(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnSize(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnMove(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnClose(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnDestroy(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnQueryEndSession(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnMeasureItem(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnMenuChar(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnNotify(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnDrawItem(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnMDIActivate(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  // The default procedure.
  virtual LRESULT CallDefWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  // What every handler above does unless overridden: CallDefWndProc.
  LRESULT OnDefaultMessage(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

  char m_szClassInheritances[1024];
  HINSTANCE m_hInstance = nullptr;
  HWND m_hwndParent = nullptr;
  HWND m_hWnd = nullptr;
};
