// The display of an application: a 32-bit memory surface (the back buffer) that everything is
// drawn into and that is presented in the application's main window once a frame. Its drawing
// operations go to the back buffer, so the display is drawn on like any memory surface. It
// switches the screen between a window and full screen through the shared mode switch; each
// successful switch gives it a new blank back buffer of the new size.
//
// A switch is BeginChangeDisplay, one or more TestDisplayMode (the first that succeeds wins, the
// later ones of the same switch do nothing), then EndChangeDisplay, which sizes the window and
// restores the planes. SetDisplayMode runs that sequence with window mode as the fallback of a
// refused full-screen mode.
//
// The display hooks the main window to repaint it, is the calling thread's draw object in the
// application registry, and calls its screen listeners before each presentation. Everything
// runs on the application's thread.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "platform/win_types.h"
#include "sdk/framework/window_hook.h"
#include "sdk/graphics/direct_draw_base.h"
#include "sdk/graphics/draw_target.h"
#include "sdk/graphics/mem_plane.h"

class CScreenListener;

class CDIBDraw : public IWindowHook, public CDrawTarget {
 public:
  // Result of the drawing operations while there is no back buffer.
  static constexpr int kNoBackBuffer = 1;

  // On the application's thread, after its window exists.
  CDIBDraw();
  ~CDIBDraw() override;

  // The calling thread's display, or null.
  static CDIBDraw* Current();

  // The paint hook: repaints the window from the last presented frame. Always 0.
  LRESULT OnWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  // Presents the back buffer, all of it (null) or one rectangle; notify runs the listeners
  // first. 1 when presented (nothing is painted while the window is minimised), 0 without a back
  // buffer or a window.
  virtual int Refresh(const RECT* rect, bool notify);

  // Stores the size (each part only when nonzero) and the depth (16 for 0), then switches. 0,
  // whatever the switch reported.
  int SetDisplayMode(bool fullScreen, int width, int height, int depth);
  // 0 switched, 1 no mode switch, 2 no attempt succeeded.
  int ChangeDisplay(bool fullScreen);
  int BeginChangeDisplay();
  // 0 when this attempt switched the display; 1 when no change is pending, there is no mode
  // switch, or the mode or the back buffer was refused.
  int TestDisplayMode(int width, int height, bool fullScreen, int depth);
  // 0 done; 1 without a mode switch or when no attempt of the change succeeded.
  int EndChangeDisplay();
  // Copies the back buffer, whole or one rectangle, into the window's picture, which repaints
  // what changed. In full screen the menu bar shows over the top rows while the cursor is on them,
  // and those rows are left alone. 1 when copied, 0 when the window is minimised or there is no
  // back buffer.
  int PaintToDC(const RECT* rect);

  // The back buffer (null before the first successful switch); marks the display drawn on.
  CMemPlane* GetSecondary();
  // 0 when there is a screen, 1 when there is none.
  static int TestDC();

  void AddScreenListener(CScreenListener* listener);
  // Takes out every entry of the listener.
  void RemoveScreenListener(CScreenListener* listener);
  const std::vector<CScreenListener*>& GetScreenListeners() const { return m_listeners; }

  bool IsFullScreenMode() const { return m_fullScreen; }
  int GetWidth() const { return m_width; }
  int GetHeight() const { return m_height; }
  int GetColorDepth() const { return m_colorDepth; }
  bool IsDirty() const { return m_dirty; }
  void SetDirty() { m_dirty = true; }
  HWND GetWindowHandle() const { return m_window; }

  // ---- the drawing interface, on the back buffer ----
  int GetType() const override { return kTypeOther; }
  int Blt(CDrawTarget* source, int x, int y, const RECT* sourceRect, const int* destSize, RECT* clip) override;
  int BltFast(CDrawTarget* source, int x, int y, const RECT* sourceRect, const int* destSize, RECT* clip) override;
  int BlendBlt(CDrawTarget* source, int x, int y, uint32_t destFactor, uint32_t sourceFactor, const RECT* sourceRect,
               const int* destSize, RECT* clip) override;
  int BlendBltFast(CDrawTarget* source, int x, int y, uint32_t destFactor, uint32_t sourceFactor,
                   const RECT* sourceRect, const int* destSize, RECT* clip) override;
  int BlendBltAlpha(CDrawTarget* source, int x, int y, uint32_t destFactor, uint32_t sourceFactor,
                    const RECT* sourceRect, const int* destSize, RECT* clip) override;
  int BltAlpha(CDrawTarget* source, int x, int y, const RECT* sourceRect, const int* destSize, RECT* clip) override;
  int BlendBltAlphaSimple(CDrawTarget* source, int x, int y, int ratio) override;
  int MosaicBlt(int blockSize, const RECT* rect) override;
  int FlushBlt(const RECT* rect) override;
  // (0, 0) without a back buffer.
  void GetSize(int* width, int* height) const override;
  bool IsLoaded() const override;
  int Clear(const RECT* rect) override;
  int BlendBltNatural(CDrawTarget* source, int x, int y, int ratio, const RECT* sourceRect, const int* destSize,
                      RECT* clip) override;
  int BltNatural(CDrawTarget* source, int x, int y, const RECT* sourceRect, const int* destSize, RECT* clip) override;
  // Loads into the back buffer at 100 percent, whatever scale is passed.
  int Load(std::string_view fileName, int flag, double scalePercent) override;
  int LoadByDepth(std::string_view name8, std::string_view nameOther, int flag) override;
  void Release() override;
  int SetColorKey(int r, int g, int b) override;
  int SetColorKeyPos(int x, int y) override;

 private:
  bool HasBackBuffer() const;
  // The back buffer, when it has pixels to draw on; marks the display drawn on.
  CMemPlane* Target() const;
  // One drawing operation on the back buffer, or kNoBackBuffer without one.
  template <class... Params, class... Args>
  int Forward(int (CDrawTarget::*operation)(Params...), Args... args) {
    CMemPlane* back = Target();
    return back ? (back->*operation)(args...) : kNoBackBuffer;
  }
  std::unique_ptr<CMemPlane> CreateSecondary(int width, int height) const;

  CDirectDrawBase m_directDraw{false};
  bool m_fullScreen = false;
  int m_width = 640;
  int m_height = 480;
  int m_colorDepth = 16;
  bool m_changePending = false;
  bool m_modeChanged = false;
  int m_menuBarHeight = 0;
  std::unique_ptr<CMemPlane> m_secondary;
  // Set by every drawing call, also by the size query; Refresh presents whether it is set or not.
  mutable bool m_dirty = false;
  HWND m_window = nullptr;
  std::vector<CScreenListener*> m_listeners;
};

// Calls OnDrawDIB of each enabled listener of the display, in registration order.
void NotifyScreenListeners(CDIBDraw* display);
