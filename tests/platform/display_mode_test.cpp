#include "platform/display_mode.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/window.h"

namespace {

using namespace platform;

HWND MakeWindow() {
  static const bool registered = [] {
    WNDCLASSEX wc;
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = "DisplayModeTestClass";
    return RegisterClassEx(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  return CreateWindowEx(0, "DisplayModeTestClass", "", WS_CAPTION, 0, 0, 64, 48, nullptr, nullptr, nullptr,
                        nullptr);
}

struct PolicyScope {
  explicit PolicyScope(DisplayModePolicy policy) { SetDisplayModePolicy(std::move(policy)); }
  ~PolicyScope() { SetDisplayModePolicy({}); }
};

TEST(DisplayModeSwitch, CooperativeLevels) {
  HWND hwnd = MakeWindow();
  ASSERT_NE(hwnd, nullptr);
  DisplayModeSwitch modes;
  const struct {
    HWND window;
    DWORD flags;
    HRESULT result;
  } cases[] = {
      {hwnd, DDSCL_NORMAL, DD_OK},
      {nullptr, DDSCL_NORMAL, DD_OK},
      {hwnd, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN, DD_OK},
      {nullptr, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN, DDERR_INVALIDPARAMS},
      {hwnd, DDSCL_EXCLUSIVE, DDERR_INVALIDPARAMS},
      {hwnd, DDSCL_FULLSCREEN, DDERR_INVALIDPARAMS},
      {hwnd, DDSCL_NORMAL | DDSCL_EXCLUSIVE, DDERR_INVALIDPARAMS},
      {hwnd, 0, DDERR_INVALIDPARAMS},
  };
  for (const auto& c : cases) {
    const bool wasExclusive = modes.Mode().exclusive;
    EXPECT_EQ(modes.SetCooperativeLevel(c.window, c.flags), c.result) << c.flags;
    if (c.result == DD_OK) {
      EXPECT_EQ(modes.Mode().exclusive, c.flags != DDSCL_NORMAL);
      EXPECT_EQ(modes.Mode().window, c.window);
    } else {
      EXPECT_EQ(modes.Mode().exclusive, wasExclusive);
    }
  }
  DestroyWindow(hwnd);
}

TEST(DisplayModeSwitch, ModesOfSaneSizeAndDepthAtTheExclusiveLevel) {
  HWND hwnd = MakeWindow();
  DisplayModeSwitch modes;
  EXPECT_EQ(modes.SetDisplayMode(640, 480, 32), DDERR_NOEXCLUSIVEMODE);
  ASSERT_EQ(modes.SetCooperativeLevel(hwnd, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
  const struct {
    int width, height, depth;
    HRESULT result;
  } cases[] = {
      {640, 480, 8, DD_OK},         {640, 480, 16, DD_OK},       {1, 1, 24, DD_OK},
      {16384, 16384, 32, DD_OK},    {0, 480, 32, DDERR_INVALIDPARAMS}, {640, 0, 32, DDERR_INVALIDPARAMS},
      {16385, 480, 32, DDERR_INVALIDPARAMS}, {640, 16385, 32, DDERR_INVALIDPARAMS},
      {-640, 480, 32, DDERR_INVALIDPARAMS},  {640, 480, 15, DDERR_INVALIDPARAMS},
      {640, 480, 0, DDERR_INVALIDPARAMS},    {640, 480, 64, DDERR_INVALIDPARAMS},
  };
  for (const auto& c : cases) {
    const EmulatedDisplayMode before = modes.Mode();
    EXPECT_EQ(modes.SetDisplayMode(c.width, c.height, c.depth), c.result)
        << c.width << "x" << c.height << "x" << c.depth;
    const EmulatedDisplayMode& after = modes.Mode();
    const EmulatedDisplayMode& expected =
        c.result == DD_OK ? EmulatedDisplayMode{true, hwnd, c.width, c.height, c.depth} : before;
    EXPECT_EQ(after.width, expected.width);
    EXPECT_EQ(after.height, expected.height);
    EXPECT_EQ(after.depth, expected.depth);
  }
  // Leaving the exclusive level gives the desktop its mode back.
  ASSERT_EQ(modes.SetCooperativeLevel(hwnd, DDSCL_NORMAL), DD_OK);
  EXPECT_EQ(modes.Mode().depth, 0);
  EXPECT_EQ(modes.Mode().width, 0);
  DestroyWindow(hwnd);
}

TEST(DisplayModeSwitch, APolicyRefusesWhatItNamesAndNothingChanges) {
  HWND hwnd = MakeWindow();
  DisplayModeSwitch modes;
  ASSERT_EQ(modes.SetCooperativeLevel(hwnd, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
  ASSERT_EQ(modes.SetDisplayMode(800, 600, 32), DD_OK);
  std::vector<DisplayModeRequest> asked;
  PolicyScope scope([&](const DisplayModeRequest& r) {
    asked.push_back(r);
    return !(r.kind == DisplayModeRequest::Kind::DisplayMode && r.depth == 16) &&
           !(r.kind == DisplayModeRequest::Kind::CooperativeLevel && r.flags == DDSCL_NORMAL);
  });
  EXPECT_EQ(modes.SetDisplayMode(800, 600, 16), DDERR_UNSUPPORTEDMODE);
  EXPECT_EQ(modes.Mode().depth, 32);
  EXPECT_EQ(modes.SetCooperativeLevel(hwnd, DDSCL_NORMAL), DDERR_UNSUPPORTEDMODE);
  EXPECT_TRUE(modes.Mode().exclusive);
  EXPECT_EQ(modes.SetDisplayMode(1024, 768, 24), DD_OK);
  // Invalid requests are refused before the policy is asked.
  EXPECT_EQ(modes.SetDisplayMode(0, 768, 24), DDERR_INVALIDPARAMS);
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[0].depth, 16);
  EXPECT_EQ(asked[1].flags, DDSCL_NORMAL);
  EXPECT_EQ(asked[2].width, 1024);
  EXPECT_EQ(modes.RestoreDisplayMode(), DD_OK);
  EXPECT_EQ(modes.Mode().depth, 0);
  DestroyWindow(hwnd);
}

}  // namespace
