#include "sdk/graphics/dib_draw.h"

#include <algorithm>

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/presenter.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"
#include "sdk/framework/app_manager.h"
#include "sdk/framework/error_log.h"
#include "sdk/framework/full_screen.h"
#include "sdk/framework/time_period.h"
#include "sdk/framework/window_application.h"
#include "sdk/graphics/display_bpp.h"
#include "sdk/graphics/plane.h"
#include "sdk/graphics/screen_listener.h"

namespace {

// A change into or out of full screen waits this long for the screen to settle.
constexpr uint32_t kModeChangeSettleMs = 500;

// The window of the calling thread's application, or null.
CWindow* AppWindow() {
  CWindowApplication* app = CAppManager::GetCurrentApp();
  return app ? &app->GetWindow() : nullptr;
}

void ApplyScreenToWindow(bool fullScreen) {
  SetFullScreen(fullScreen);
  if (CWindow* window = AppWindow()) window->ChangeScreen();
}

}  // namespace

CDIBDraw::CDIBDraw() : m_menuBarHeight(platform::MenuBarHeight()), m_window(GetAppWindowHandle()) {
  CAppManager::SetDraw(static_cast<void*>(this));
  AddWindowHook(this);
  BeginTimePeriod();
}

CDIBDraw::~CDIBDraw() {
  EndTimePeriod();
  RemoveWindowHook(this);
  CAppManager::ClearDraw(static_cast<void*>(this));
}

CDIBDraw* CDIBDraw::Current() { return static_cast<CDIBDraw*>(CAppManager::GetDraw()); }

// ---- switching ------------------------------------------------------------------------------

int CDIBDraw::SetDisplayMode(bool fullScreen, int width, int height, int depth) {
  if (width != 0) m_width = width;
  if (height != 0) m_height = height;
  m_colorDepth = depth != 0 ? depth : 16;
  ChangeDisplay(fullScreen);
  return 0;
}

int CDIBDraw::ChangeDisplay(bool fullScreen) {
  if (CDirectDrawBase::Object() == nullptr) return 1;
  BeginChangeDisplay();
  if (fullScreen) TestDisplayMode(m_width, m_height, true, m_colorDepth);
  // Does nothing once the full-screen attempt has succeeded: the window is the fallback.
  TestDisplayMode(m_width, m_height, false, 0);
  return EndChangeDisplay() != 0 ? 2 : 0;
}

int CDIBDraw::BeginChangeDisplay() {
  m_modeChanged = false;
  m_changePending = true;
  platform::DisplayModeSwitch* modes = CDirectDrawBase::Object();
  if (modes != nullptr && m_fullScreen) {
    if (modes->SetCooperativeLevel(m_window, DDSCL_NORMAL) != DD_OK)
      ErrorLog::Out("CDirectDraw::BeginChangeDisplayでSetCooperativeLevelに失敗.."_sj);
    if (modes->RestoreDisplayMode() != DD_OK)
      ErrorLog::Out("CDirectDraw::BeginChangeDisplayでRestoreDisplayModeに失敗.."_sj);
  }
  return 0;
}

int CDIBDraw::TestDisplayMode(int width, int height, bool fullScreen, int depth) {
  platform::DisplayModeSwitch* modes = CDirectDrawBase::Object();
  if (!m_changePending || modes == nullptr) return 1;
  if (!fullScreen) {
    if (modes->SetCooperativeLevel(m_window, DDSCL_NORMAL) != DD_OK) {
      ErrorLog::Out("CDirectDraw::TestDisplayModeのSetCooperativeLevelにDDSC_NORMALで失敗"_sj);
      return 1;
    }
  } else {
    if (modes->SetCooperativeLevel(m_window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN) != DD_OK) {
      ErrorLog::Out("CDirectDraw::TestDisplayModeのSetCooperativeLevelにDDSC_EXCLUSIVEで失敗"_sj);
      return 1;
    }
    if (modes->SetDisplayMode(width, height, depth) != DD_OK) {
      ErrorLog::Out("CDirectDraw::TestDisplayModeのSetDisplayModeに失敗"_sj);
      return 1;
    }
  }
  // The new back buffer is made before anything changes: when it cannot be had, the display
  // keeps its mode and its old back buffer instead of being left with none.
  std::unique_ptr<CMemPlane> secondary = CreateSecondary(width, height);
  if (!secondary) {
    ErrorLog::Out("CDIBDraw::TestDisplayModeでCreateSecondaryに失敗"_sj);
    return 1;
  }
  m_modeChanged = m_modeChanged || m_fullScreen || fullScreen;
  m_fullScreen = fullScreen;
  m_secondary = std::move(secondary);
  ApplyScreenToWindow(fullScreen);
  m_changePending = false;
  m_colorDepth = depth;
  m_width = width;
  m_height = height;
  return 0;
}

int CDIBDraw::EndChangeDisplay() {
  if (CDirectDrawBase::Object() == nullptr) return 1;
  if (m_changePending) {
    ErrorLog::Out("CDirectDraw::BeginChangeDisplay～EndChangeDisplayに失敗"_sj);
    return 1;
  }
  if (m_modeChanged) platform::SleepMs(kModeChangeSettleMs);
  GetDesktopBpp();
  if (CWindow* window = AppWindow()) window->SetSize(m_width, m_height);
  ApplyScreenToWindow(m_fullScreen);
  CPlane::RestoreAll();
  if (m_secondary) m_secondary->GetImpl()->Resize(m_width, m_height);
  return 0;
}

std::unique_ptr<CMemPlane> CDIBDraw::CreateSecondary(int width, int height) const {
  auto plane = std::make_unique<CMemPlane>();
  // A device context over the pixels, so that text can be drawn into the back buffer.
  plane->GetImpl()->SetUseDIBSection(true);
  if (plane->Create(width, height, 0) != 0) return nullptr;
  return plane;
}

// ---- presenting -----------------------------------------------------------------------------

int CDIBDraw::Refresh(const RECT* rect, bool notify) {
  if (!HasBackBuffer() || !platform::IsWindow(m_window)) return 0;
  if (notify) NotifyScreenListeners(this);
  // The one copy of this presentation; it marks what it copied for repainting, and the paint
  // shows the front image as it stands.
  PaintToDC(rect);
  m_dirty = false;
  return 1;
}

int CDIBDraw::PaintToDC(const RECT* rect) {
  if (const CWindow* window = AppWindow(); window != nullptr && window->IsMinimised()) return 0;
  if (!HasBackBuffer()) return 0;
  const CMemPlaneImpl* back = m_secondary->GetImpl();
  int top = 0;
  if (m_fullScreen) {
    POINT cursor;
    const bool onMenu = platform::GetActiveWindow() == m_window && platform::GetCursorPos(&cursor) &&
                        cursor.y < m_menuBarHeight && platform::GetMenu(m_window) != nullptr;
    platform::RevealMenuBar(m_window, onMenu);
    if (onMenu) top = m_menuBarHeight;
  }
  const platform::FrameView frame{back->GetPixels(), back->Width(), back->Height(), back->GetPitch()};
  // The whole picture is the back buffer as it is: after a refused change the stored size is the
  // refused one. A caller's rectangle is cut to the back buffer in 64 bits, so that one reaching
  // the ends of the coordinate range neither overflows nor loses its part on the picture.
  const int64_t left = rect != nullptr ? std::max<int64_t>(rect->left, 0) : 0;
  const int64_t y = std::max<int64_t>(rect != nullptr ? rect->top : 0, top);
  const int64_t right = std::min<int64_t>(rect != nullptr ? rect->right : frame.width, frame.width);
  const int64_t bottom = std::min<int64_t>(rect != nullptr ? rect->bottom : frame.height, frame.height);
  platform::CopyToFrontImage(m_window, frame, static_cast<int>(std::min<int64_t>(left, frame.width)),
                             static_cast<int>(std::min<int64_t>(y, frame.height)),
                             static_cast<int>(std::max<int64_t>(right - left, 0)),
                             static_cast<int>(std::max<int64_t>(bottom - y, 0)));
  return 1;
}

// The paint shows the last presented frame: copying the back buffer again here would copy every
// frame twice and make a presented rectangle cost the whole window.
LRESULT CDIBDraw::OnWindowMessage(HWND, UINT message, WPARAM, LPARAM) {
  if (message != WM_PAINT || !HasBackBuffer()) return 0;
  platform::PaintFrontImage(m_window);
  return 0;
}

CMemPlane* CDIBDraw::GetSecondary() {
  m_dirty = true;
  return m_secondary.get();
}

int CDIBDraw::TestDC() { return platform::DesktopBitsPerPixel() > 0 ? 0 : 1; }

void CDIBDraw::AddScreenListener(CScreenListener* listener) { m_listeners.push_back(listener); }

void CDIBDraw::RemoveScreenListener(CScreenListener* listener) { std::erase(m_listeners, listener); }

void NotifyScreenListeners(CDIBDraw* display) {
  if (display == nullptr) return;
  // By index: a listener may take itself or another one out while it draws.
  const std::vector<CScreenListener*>& listeners = display->GetScreenListeners();
  for (size_t i = 0; i < listeners.size(); ++i) {
    CScreenListener* listener = listeners[i];
    if (listener->IsEnabled()) listener->OnDrawDIB(display);
  }
}

// ---- the drawing interface ------------------------------------------------------------------

bool CDIBDraw::HasBackBuffer() const { return m_secondary && m_secondary->GetImpl()->GetPixels() != nullptr; }

CMemPlane* CDIBDraw::Target() const {
  m_dirty = true;
  return HasBackBuffer() ? m_secondary.get() : nullptr;
}

int CDIBDraw::Blt(CDrawTarget* source, int x, int y, const RECT* sourceRect, const int* destSize, RECT* clip) {
  return Forward(&CDrawTarget::Blt, source, x, y, sourceRect, destSize, clip);
}

int CDIBDraw::BltFast(CDrawTarget* source, int x, int y, const RECT* sourceRect, const int* destSize, RECT* clip) {
  return Forward(&CDrawTarget::BltFast, source, x, y, sourceRect, destSize, clip);
}

int CDIBDraw::BlendBlt(CDrawTarget* source, int x, int y, uint32_t destFactor, uint32_t sourceFactor,
                       const RECT* sourceRect, const int* destSize, RECT* clip) {
  return Forward(&CDrawTarget::BlendBlt, source, x, y, destFactor, sourceFactor, sourceRect, destSize, clip);
}

int CDIBDraw::BlendBltFast(CDrawTarget* source, int x, int y, uint32_t destFactor, uint32_t sourceFactor,
                           const RECT* sourceRect, const int* destSize, RECT* clip) {
  return Forward(&CDrawTarget::BlendBltFast, source, x, y, destFactor, sourceFactor, sourceRect, destSize, clip);
}

int CDIBDraw::BlendBltAlpha(CDrawTarget* source, int x, int y, uint32_t destFactor, uint32_t sourceFactor,
                            const RECT* sourceRect, const int* destSize, RECT* clip) {
  return Forward(&CDrawTarget::BlendBltAlpha, source, x, y, destFactor, sourceFactor, sourceRect, destSize, clip);
}

int CDIBDraw::BltAlpha(CDrawTarget* source, int x, int y, const RECT* sourceRect, const int* destSize, RECT* clip) {
  return Forward(&CDrawTarget::BltAlpha, source, x, y, sourceRect, destSize, clip);
}

int CDIBDraw::BlendBltAlphaSimple(CDrawTarget* source, int x, int y, int ratio) {
  return Forward(&CDrawTarget::BlendBltAlphaSimple, source, x, y, ratio);
}

int CDIBDraw::MosaicBlt(int blockSize, const RECT* rect) { return Forward(&CDrawTarget::MosaicBlt, blockSize, rect); }

int CDIBDraw::FlushBlt(const RECT* rect) { return Forward(&CDrawTarget::FlushBlt, rect); }

void CDIBDraw::GetSize(int* width, int* height) const {
  if (const CMemPlane* back = Target()) {
    back->GetSize(width, height);
    return;
  }
  if (width != nullptr) *width = 0;
  if (height != nullptr) *height = 0;
}

bool CDIBDraw::IsLoaded() const { return m_secondary && m_secondary->IsLoaded(); }

int CDIBDraw::Clear(const RECT* rect) { return Forward(&CDrawTarget::Clear, rect); }

int CDIBDraw::BlendBltNatural(CDrawTarget* source, int x, int y, int ratio, const RECT* sourceRect, const int* destSize,
                              RECT* clip) {
  return Forward(&CDrawTarget::BlendBltNatural, source, x, y, ratio, sourceRect, destSize, clip);
}

int CDIBDraw::BltNatural(CDrawTarget* source, int x, int y, const RECT* sourceRect, const int* destSize, RECT* clip) {
  return Forward(&CDrawTarget::BltNatural, source, x, y, sourceRect, destSize, clip);
}

// Loading and releasing work on the back buffer object even while it has no pixels: a load gives
// it pixels of the file's size, as on any memory surface.
int CDIBDraw::Load(std::string_view fileName, int flag, double) {
  m_dirty = true;
  return m_secondary ? m_secondary->Load(fileName, flag, 100.0) : kNoBackBuffer;
}

int CDIBDraw::LoadByDepth(std::string_view name8, std::string_view nameOther, int flag) {
  m_dirty = true;
  return m_secondary ? m_secondary->LoadByDepth(name8, nameOther, flag) : kNoBackBuffer;
}

void CDIBDraw::Release() {
  m_dirty = true;
  if (m_secondary) m_secondary->Release();
}

int CDIBDraw::SetColorKey(int r, int g, int b) {
  m_dirty = true;
  return m_secondary ? m_secondary->SetColorKey(r, g, b) : kNoBackBuffer;
}

int CDIBDraw::SetColorKeyPos(int x, int y) {
  m_dirty = true;
  return m_secondary ? m_secondary->SetColorKeyPos(x, y) : kNoBackBuffer;
}
