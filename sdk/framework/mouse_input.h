// The mouse of the main window: its buttons from the window's messages, its position from the
// cursor, and the running total of the wheel.
#pragma once

#include <cstdint>
#include <utility>

#include "platform/win_types.h"
#include "sdk/framework/window_hook.h"

class CMouseInput : public IWindowHook {
 public:
  // Hooks the calling thread's application window.
  CMouseInput();
  ~CMouseInput() override;
  CMouseInput(const CMouseInput&) = delete;
  CMouseInput& operator=(const CMouseInput&) = delete;

  // Always 0: every message still reaches the window procedure.
  LRESULT OnWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

  // The cursor in client coordinates (in full screen, the picture's coordinates). In a window a
  // cursor outside the client area releases both buttons unless keep-when-outside is set.
  virtual int GetXY(int* x, int* y);
  virtual bool IsRButton() const { return m_right; }
  virtual bool IsLButton() const { return m_left; }
  // buttons: 1 when the right button is down, + 2 when the left one is.
  virtual int GetInfo(int* x, int* y, int* buttons);
  // Newly pushed since the last call; returns the left edge.
  virtual bool GetButtonPush(bool* left, bool* right);
  virtual void ClearPrevious();
  virtual int SetXY(int x, int y);
  // The sum of every wheel movement (120 a notch away from the user); wraps at 16 bits.
  virtual int16_t GetWheel() const { return static_cast<int16_t>(m_wheel); }
  virtual void SetKeepWhenOutside(bool keep) { m_keepWhenOutside = keep; }

 protected:
  // The live values, whatever a derived class reports from its own polls; a button pressed since
  // the last call reads as held once, even when it was released again.
  int LiveInfo(int* x, int* y, int* buttons);
  // Whether a message box took the buttons since the last call.
  bool TakeCancelled() { return std::exchange(m_cancelled, false); }

  bool m_right = false;
  bool m_left = false;
  bool m_previousRight = false;
  bool m_previousLeft = false;

 private:
  int LiveXY(int* x, int* y);

  bool m_keepWhenOutside = false;
  // Pressed since the live values were last taken.
  bool m_leftPressed = false;
  bool m_rightPressed = false;
  bool m_cancelled = false;
  uint16_t m_wheel = 0;
};

// The mouse polled once a frame, with push and release edges between two polls and a guard that
// ignores the edges for a number of polls (after a screen change, so that the click that made it
// is not taken again).
class CMouseInputEx : public CMouseInput {
 public:
  CMouseInputEx() = default;

  // The values of the last Update.
  int GetXY(int* x, int* y) override;
  bool IsRButton() const override { return m_currentRight; }
  bool IsLButton() const override { return m_currentLeft; }
  int GetInfo(int* x, int* y, int* buttons) override;
  bool GetButtonPush(bool* left, bool* right) override;
  void ClearPrevious() override;
  int SetXY(int x, int y) override;

  // Edges between the last two polls; none while guarded.
  bool IsRPushed() const { return m_currentRight && !m_previousRight && m_guard == 0; }
  bool IsLPushed() const { return m_currentLeft && !m_previousLeft && m_guard == 0; }
  bool IsRReleased() const { return !m_currentRight && m_previousRight && m_guard == 0; }
  bool IsLReleased() const { return !m_currentLeft && m_previousLeft && m_guard == 0; }
  // The same edges without the guard; returns the left one.
  bool GetButtonRelease(bool* left, bool* right) const;
  bool IsGuarded() const { return m_guard != 0; }
  void SetGuard(int polls) { m_guard = polls; }

  // Takes the current buttons and position; the guard counts down first. 1 when they could not be
  // read (both buttons then read up). After a message box took the buttons (WM_CANCELMODE) the
  // poll has no edges: their release was the box's.
  int Update();

 private:
  bool m_currentRight = false;
  bool m_currentLeft = false;
  int32_t m_buttons = 0;
  int32_t m_x = 0;
  int32_t m_y = 0;
  int32_t m_guard = 2;
};
