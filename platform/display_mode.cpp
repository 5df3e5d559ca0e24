#include "platform/display_mode.h"

#include <utility>

#include "platform/window.h"

namespace platform {
namespace {

DisplayModePolicy& Policy() {
  static DisplayModePolicy policy;
  return policy;
}

bool Granted(const DisplayModeRequest& request) { return !Policy() || Policy()(request); }

}  // namespace

DisplayModePolicy SetDisplayModePolicy(DisplayModePolicy policy) {
  return std::exchange(Policy(), std::move(policy));
}

HRESULT DisplayModeSwitch::SetCooperativeLevel(HWND hwnd, DWORD flags) {
  const bool exclusive = flags == (DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN);
  if (!exclusive && flags != DDSCL_NORMAL) return DDERR_INVALIDPARAMS;
  if (exclusive && !IsWindow(hwnd)) return DDERR_INVALIDPARAMS;
  DisplayModeRequest request;
  request.kind = DisplayModeRequest::Kind::CooperativeLevel;
  request.flags = flags;
  if (!Granted(request)) return DDERR_UNSUPPORTEDMODE;
  if (!exclusive) RestoreDisplayMode();
  m_mode.exclusive = exclusive;
  m_mode.window = hwnd;
  return DD_OK;
}

HRESULT DisplayModeSwitch::SetDisplayMode(int width, int height, int depth) {
  if (!m_mode.exclusive) return DDERR_NOEXCLUSIVEMODE;
  const bool sizeOk = width >= 1 && width <= kMaxDisplayModeSide && height >= 1 && height <= kMaxDisplayModeSide;
  const bool depthOk = depth == 8 || depth == 16 || depth == 24 || depth == 32;
  if (!sizeOk || !depthOk) return DDERR_INVALIDPARAMS;
  DisplayModeRequest request;
  request.kind = DisplayModeRequest::Kind::DisplayMode;
  request.width = width;
  request.height = height;
  request.depth = depth;
  if (!Granted(request)) return DDERR_UNSUPPORTEDMODE;
  m_mode.width = width;
  m_mode.height = height;
  m_mode.depth = depth;
  return DD_OK;
}

HRESULT DisplayModeSwitch::RestoreDisplayMode() {
  m_mode.width = m_mode.height = m_mode.depth = 0;
  return DD_OK;
}

}  // namespace platform
