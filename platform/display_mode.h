// The switch between the desktop and an exclusive full-screen video mode, as the display asks for
// it. The real video mode is never changed: a full-screen mode is only recorded here (the window
// is then shown full screen and the presenter scales the picture to the screen). Every mode of a
// sane size and depth is granted unless a test has installed a policy that refuses it, which is
// how the fallbacks of a refused mode are exercised.
#pragma once

#include <functional>

#include "platform/win_types.h"

// Cooperative levels.
constexpr DWORD DDSCL_FULLSCREEN = 0x00000001;
constexpr DWORD DDSCL_NORMAL = 0x00000008;
constexpr DWORD DDSCL_EXCLUSIVE = 0x00000010;

constexpr HRESULT DD_OK = 0;
constexpr HRESULT DDERR_INVALIDPARAMS = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT DDERR_NOEXCLUSIVEMODE = static_cast<HRESULT>(0x887600E1u);
constexpr HRESULT DDERR_UNSUPPORTEDMODE = static_cast<HRESULT>(0x8876024Eu);

namespace platform {

// The largest width or height of a mode.
constexpr int kMaxDisplayModeSide = 16384;

// A request the switch would grant, handed to the policy.
struct DisplayModeRequest {
  enum class Kind { CooperativeLevel, DisplayMode };
  Kind kind = Kind::CooperativeLevel;
  DWORD flags = 0;  // CooperativeLevel
  int width = 0;    // DisplayMode
  int height = 0;
  int depth = 0;
};

// True grants the request, false refuses it (DDERR_UNSUPPORTEDMODE).
using DisplayModePolicy = std::function<bool(const DisplayModeRequest&)>;
// Installs a policy (empty: grant everything valid); returns the previous one.
DisplayModePolicy SetDisplayModePolicy(DisplayModePolicy policy);

// What the program holds of the screen.
struct EmulatedDisplayMode {
  bool exclusive = false;  // the full-screen exclusive level
  HWND window = nullptr;   // the window given with the level
  // The mode set while exclusive; all 0 while the desktop's own mode is in force.
  int width = 0;
  int height = 0;
  int depth = 0;
};

class DisplayModeSwitch {
 public:
  // DDSCL_NORMAL (any window, or none) or DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN (a live window);
  // leaving the exclusive level gives the desktop its mode back.
  HRESULT SetCooperativeLevel(HWND hwnd, DWORD flags);
  // Only at the exclusive level (DDERR_NOEXCLUSIVEMODE); width and height 1..16384 and a depth
  // of 8, 16, 24 or 32 (DDERR_INVALIDPARAMS).
  HRESULT SetDisplayMode(int width, int height, int depth);
  // The desktop's own mode again.
  HRESULT RestoreDisplayMode();

  const EmulatedDisplayMode& Mode() const { return m_mode; }

 private:
  EmulatedDisplayMode m_mode;
};

}  // namespace platform
