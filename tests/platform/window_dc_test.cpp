// A window's device contexts: what the procedure draws is the window's picture, and the widget
// shows it.
#include "platform/window_dc.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/presenter.h"
#include "platform/sys_color.h"

namespace {

using namespace platform;

// Paints a red square at (2, 3)-(6, 7) through BeginPaint, remembering the paint's rectangle.
// With painting off, WM_PAINT leaves the picture as it is.
RECT lastPaint;
int paints = 0;
bool painting = true;

LRESULT PaintingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT || !painting) return DefWindowProc(hwnd, message, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  lastPaint = ps.rcPaint;
  ++paints;
  for (int y = 3; y < 7; ++y) {
    for (int x = 2; x < 6; ++x) SetPixel(dc, x, y, RGB(255, 0, 0));
  }
  EndPaint(hwnd, &ps);
  return 0;
}

HWND MakeWindow(DWORD style) {
  static const bool registered = [] {
    WNDCLASSEX wc;
    wc.lpfnWndProc = PaintingProc;
    wc.lpszClassName = "WindowDcTest";
    wc.hbrBackground = GetSysColorBrush(COLOR_INFOBK);
    return RegisterClassEx(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  return CreateWindowEx(0, "WindowDcTest", "", style, 10, 10, 40, 30, nullptr, nullptr, nullptr, nullptr);
}

uint32_t Pixel(COLORREF c) { return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

TEST(WindowDc, WhatThePaintDrawsIsWhatTheWindowShows) {
  HWND hwnd = MakeWindow(WS_CAPTION | WS_VISIBLE);
  ASSERT_NE(hwnd, nullptr);
  paints = 0;
  std::vector<uint32_t> pixels;
  int w = 0, h = 0;
  ASSERT_TRUE(CaptureClientArea(hwnd, &pixels, &w, &h));
  EXPECT_GT(paints, 0);
  ASSERT_EQ(w, 40);
  ASSERT_EQ(h, 30);
  const COLORREF back = GetSysColor(COLOR_INFOBK);
  EXPECT_EQ(pixels[3 * 40 + 2], Pixel(RGB(255, 0, 0)));
  EXPECT_EQ(pixels[7 * 40 + 6], Pixel(back));  // the class background everywhere else
  EXPECT_EQ(lastPaint.right, 40);
  EXPECT_EQ(lastPaint.bottom, 30);

  // The same pixels through a context of the window.
  HDC dc = GetDC(hwnd);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetPixel(dc, 2, 3), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 6, 7), back);
  EXPECT_EQ(GetPixel(dc, 40, 0), CLR_INVALID);
  // Drawn outside a paint, shown by the window; a paint through BeginPaint starts afresh.
  SetPixel(dc, 30, 20, RGB(0, 0, 255));
  EXPECT_EQ(ReleaseDC(hwnd, dc), 1);
  EXPECT_EQ(ReleaseDC(hwnd, dc), 0);  // once
  painting = false;
  ASSERT_TRUE(CaptureClientArea(hwnd, &pixels, &w, &h));
  EXPECT_EQ(pixels[20 * 40 + 30], Pixel(RGB(0, 0, 255)));
  EXPECT_EQ(pixels[3 * 40 + 2], Pixel(RGB(255, 0, 0)));
  painting = true;
  ASSERT_TRUE(CaptureClientArea(hwnd, &pixels, &w, &h));
  EXPECT_EQ(pixels[20 * 40 + 30], Pixel(back));
  DestroyWindow(hwnd);
}

TEST(WindowDc, ThePictureFollowsTheClientSizeKeepingWhatWasDrawn) {
  HWND hwnd = MakeWindow(WS_CAPTION);
  ASSERT_NE(hwnd, nullptr);
  // Not painted by the toolkit: BeginPaint covers the whole client area.
  SendMessage(hwnd, WM_PAINT, 0, 0);
  EXPECT_EQ(lastPaint.left, 0);
  EXPECT_EQ(lastPaint.right, 40);
  MoveWindow(hwnd, 10, 10, 60, 50, 0);
  HDC dc = GetDC(hwnd);
  EXPECT_EQ(GetPixel(dc, 2, 3), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 59, 49), GetSysColor(COLOR_INFOBK));
  // While a context is out, the picture keeps its size.
  MoveWindow(hwnd, 10, 10, 20, 20, 0);
  HDC second = GetDC(hwnd);
  EXPECT_EQ(GetPixel(second, 59, 49), GetSysColor(COLOR_INFOBK));
  ReleaseDC(hwnd, second);
  ReleaseDC(hwnd, dc);
  HDC third = GetDC(hwnd);
  EXPECT_EQ(GetPixel(third, 59, 49), CLR_INVALID);
  ReleaseDC(hwnd, third);
  DestroyWindow(hwnd);
  EXPECT_EQ(GetDC(hwnd), nullptr);
}

TEST(WindowDc, AWindowWithoutPixelsStillGivesAContextThatMeasures) {
  HWND hwnd = CreateWindowEx(0, "WindowDcTest", "", WS_CAPTION, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  HDC dc = GetDC(hwnd);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(dc->GetBitmap(), nullptr);
  EXPECT_EQ(ReleaseDC(hwnd, dc), 1);
  DestroyWindow(hwnd);
}

}  // namespace
