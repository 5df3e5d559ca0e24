// A bar the edit window lays out between its toolbar and its status bar: the function-key bar and
// the tab bar. Until those bars are built the frame holds a closed one in each place, which never
// opens and takes no height, so the layout already leaves them their rows.
#pragma once

#include "platform/win_types.h"

class IFrameBar {
 public:
  virtual ~IFrameBar() = default;
  // Makes the bar inside the frame; false when it cannot be made.
  virtual bool Open(HINSTANCE instance, HWND frame) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // The frame's WM_SIZE reached the bar: its height now (0 while closed).
  virtual int OnFrameSize(WPARAM sizeType, int width, int height) = 0;
  // Places the bar in the frame's client area.
  virtual void Move(int x, int y, int width, int height) = 0;
  // The size grip at the bar's right end (the function-key bar at the bottom carries it when there
  // is no status bar).
  virtual void SetSizeGrip(bool on) = 0;
  virtual bool HasSizeGrip() const = 0;
  // Hidden while the print preview shows.
  virtual void Show(bool show) = 0;
  // The bar's own timer runs only while the frame is active.
  virtual void SetTimer(bool on) = 0;
  // The shared window list changed (the tab bar follows it): the change's kind and the window.
  virtual void OnWindowListChanged(WPARAM /*kind*/, LPARAM /*window*/) {}
};

// The bar that is not there yet.
class CClosedFrameBar final : public IFrameBar {
 public:
  bool Open(HINSTANCE, HWND) override { return false; }
  void Close() override {}
  bool IsOpen() const override { return false; }
  int OnFrameSize(WPARAM, int, int) override { return 0; }
  void Move(int, int, int, int) override {}
  void SetSizeGrip(bool) override {}
  bool HasSizeGrip() const override { return false; }
  void Show(bool) override {}
  void SetTimer(bool) override {}
};
