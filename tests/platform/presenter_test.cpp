#include "platform/presenter.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/window.h"

namespace {

using namespace platform;

HWND MakeWindow(DWORD style) {
  static const bool registered = [] {
    WNDCLASSEX wc;
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = "PresenterTestClass";
    return RegisterClassEx(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  return CreateWindowEx(0, "PresenterTestClass", "", style, 0, 0, 6, 4, nullptr, nullptr, nullptr, nullptr);
}

std::vector<uint32_t> Front(HWND hwnd, int* w, int* h) {
  std::vector<uint32_t> pixels;
  EXPECT_TRUE(CaptureFrontImage(hwnd, &pixels, w, h));
  return pixels;
}

// A 6 x 4 frame stored with a pitch wider than its rows, alpha bytes all over the place.
struct Frame {
  std::vector<uint32_t> storage = std::vector<uint32_t>(8 * 4);
  Frame() {
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 8; ++x) storage[y * 8 + x] = uint32_t(x * 0x31 + y) << 24 | uint32_t(y << 12 | x);
  }
  FrameView View() const { return FrameView{storage.data(), 6, 4, 8 * 4}; }
  uint32_t Opaque(int x, int y) const { return storage[y * 8 + x] | 0xFF000000u; }
};

TEST(Presenter, CopiesBlocksCutToTheFrameWithAlphaOpaque) {
  HWND hwnd = MakeWindow(WS_CAPTION);
  ASSERT_NE(hwnd, nullptr);
  const Frame frame;
  int w = 0, h = 0;
  std::vector<uint32_t> pixels;
  EXPECT_FALSE(CaptureFrontImage(hwnd, &pixels, &w, &h));

  // A block reaching beyond every edge: the part on the frame is copied, the rest of a new front
  // image is black.
  ASSERT_TRUE(CopyToFrontImage(hwnd, frame.View(), -2, 1, 5, 100));
  pixels = Front(hwnd, &w, &h);
  ASSERT_EQ(w, 6);
  ASSERT_EQ(h, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool copied = x < 3 && y >= 1;
      EXPECT_EQ(pixels[y * 6 + x], copied ? frame.Opaque(x, y) : 0xFF000000u) << x << "," << y;
    }

  ASSERT_TRUE(CopyToFrontImage(hwnd, frame.View(), 0, 0, 6, 4));
  pixels = Front(hwnd, &w, &h);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(pixels[y * 6 + x], frame.Opaque(x, y));

  RECT r;
  ASSERT_TRUE(GetPictureRect(hwnd, &r));
  EXPECT_EQ(r.right, 6);
  EXPECT_EQ(r.bottom, 4);
  DestroyWindow(hwnd);
}

TEST(Presenter, RefusesWhatItCannotShow) {
  HWND hwnd = MakeWindow(WS_CAPTION);
  const Frame frame;
  FrameView narrowPitch = frame.View();
  narrowPitch.pitch = 6 * 4 - 1;
  FrameView noPixels = frame.View();
  noPixels.pixels = nullptr;
  FrameView empty = frame.View();
  empty.width = 0;
  for (const FrameView& bad : {narrowPitch, noPixels, empty}) EXPECT_FALSE(CopyToFrontImage(hwnd, bad, 0, 0, 6, 4));
  EXPECT_FALSE(CopyToFrontImage(nullptr, frame.View(), 0, 0, 6, 4));
  // Outside a paint there is no painting.
  ASSERT_TRUE(CopyToFrontImage(hwnd, frame.View(), 0, 0, 6, 4));
  EXPECT_FALSE(PaintFrontImage(hwnd));
  DestroyWindow(hwnd);
  EXPECT_FALSE(CopyToFrontImage(hwnd, frame.View(), 0, 0, 6, 4));
  std::vector<uint32_t> pixels;
  int w = 0, h = 0;
  EXPECT_FALSE(CaptureFrontImage(hwnd, &pixels, &w, &h));
  EXPECT_GT(MenuBarHeight(), 0);
}

LRESULT PaintingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PaintFrontImage(hwnd);
    return 0;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

// The start-up benchmark learns when the first frame shows from one byte on the descriptor the
// environment names: written by the first paint that shows a presented frame, not by a paint
// before anything was presented, and once only.
TEST(Presenter, TheFirstPaintedFrameIsMarkedOnTheNamedDescriptor) {
  WNDCLASSEX wc;
  wc.lpfnWndProc = PaintingProc;
  wc.lpszClassName = "PresenterMarkTestClass";
  ASSERT_NE(RegisterClassEx(&wc), 0);
  HWND hwnd = CreateWindowEx(0, "PresenterMarkTestClass", "", WS_CAPTION, 0, 0, 6, 4, nullptr, nullptr, nullptr,
                             nullptr);
  ASSERT_NE(hwnd, nullptr);
  int mark[2];
  ASSERT_EQ(pipe2(mark, O_NONBLOCK), 0);
  ASSERT_EQ(setenv("VREL_FIRST_FRAME_FD", std::to_string(mark[1]).c_str(), 1), 0);
  std::vector<uint32_t> pixels;
  int w = 0, h = 0;
  char byte = 0;
  ASSERT_TRUE(CaptureClientArea(hwnd, &pixels, &w, &h));
  EXPECT_EQ(read(mark[0], &byte, 1), -1) << "marked before a frame was presented";
  const Frame frame;
  ASSERT_TRUE(CopyToFrontImage(hwnd, frame.View(), 0, 0, 6, 4));
  ASSERT_TRUE(CaptureClientArea(hwnd, &pixels, &w, &h));
  EXPECT_EQ(read(mark[0], &byte, 1), 1);
  // The descriptor was closed after the mark, so the pipe has no writer left.
  EXPECT_EQ(read(mark[0], &byte, 1), 0);
  unsetenv("VREL_FIRST_FRAME_FD");
  close(mark[0]);
  DestroyWindow(hwnd);
}

}  // namespace
