#include "sdk/graphics/plane.h"

#include "platform/sjis_literal.h"
#include "sdk/framework/app_manager.h"
#include "sdk/framework/error_log.h"
#include "sdk/framework/file_buffer.h"
#include "sdk/graphics/display_bpp.h"
#include "sdk/graphics/picture_loader.h"
#include "sdk/graphics/plane_lock.h"

using namespace platform;

namespace {

std::set<CPlane*>& PlaneSet() {
  static std::set<CPlane*> planes;
  return planes;
}

}  // namespace

CPlane::CPlane() {
  ResetColorKey();
  PlaneSet().insert(this);
}

CPlane::~CPlane() {
  PlaneSet().erase(this);
  CPlane::Release();
}

const std::set<CPlane*>& CPlane::Planes() { return PlaneSet(); }

int CPlane::BlendBltAlpha(CDrawTarget*, int, int, uint32_t, uint32_t, const RECT*, const int*, RECT*) {
  return kNotSupported;
}

int CPlane::BltAlpha(CDrawTarget*, int, int, const RECT*, const int*, RECT*) { return kNotSupported; }

int CPlane::BlendBltAlphaSimple(CDrawTarget*, int, int, int) { return kNotSupported; }

void CPlane::GetSize(int* width, int* height) const {
  if (width != nullptr) *width = m_width;
  if (height != nullptr) *height = m_height;
}

int CPlane::Load(std::string_view fileName, int restoreFirst, double) {
  ResetColorKey();
  m_twoNames = false;
  m_fileName = fileName;
  m_restoreFirst = restoreFirst != 0;
  return LoadBitmap(fileName, restoreFirst);
}

int CPlane::LoadByDepth(std::string_view name8, std::string_view nameOther, int restoreFirst) {
  ResetColorKey();
  m_twoNames = true;
  m_fileName = name8;
  m_secondFileName = nameOther;
  m_restoreFirst = restoreFirst != 0;
  return LoadBitmap(GetDisplayBpp() == 8 ? name8 : nameOther, restoreFirst);
}

void CPlane::Release() {
  ReleaseSurface();
  m_fileName.clear();
  m_secondFileName.clear();
  m_width = 0;
  m_height = 0;
  m_loaded = false;
  m_createdBlank = false;
}

void CPlane::ReleaseSurface() {
  if (m_surface && m_paintDC) {
    m_surface->ReleaseDC(m_paintDC);
    m_paintDC = nullptr;
  }
  m_surface.reset();
}

int CPlane::SetColorKey(int r, int g, int b) {
  return SetColorKeyColorRef(static_cast<COLORREF>(r) | static_cast<COLORREF>(g) << 8 | static_cast<COLORREF>(b) << 16);
}

int CPlane::SetColorKeyColorRef(COLORREF colour) {
  if (!m_surface) return kNoSurface;
  const uint32_t value = DDColorMatch(m_surface.get(), colour);
  m_keyByPosition = false;
  m_keyColour = colour;
  const DDCOLORKEY key{value, value};
  return m_surface->SetColorKey(DDCKEY_SRCBLT, &key);
}

int CPlane::SetColorKeyPos(int x, int y) {
  if (!m_surface) return kNoSurface;
  const uint32_t value = DDGetPixel(m_surface.get(), x, y);
  m_keyByPosition = true;
  m_keyX = x;
  m_keyY = y;
  const DDCOLORKEY key{value, value};
  return m_surface->SetColorKey(DDCKEY_SRCBLT, &key);
}

int CPlane::ApplyColorKey() {
  if (m_keyByPosition) {
    if (SetColorKeyPos(m_keyX, m_keyY) != 0) ErrorLog::Out("CPlane::位置指定型透過キーの設定に失敗"_sj);
  } else if (SetColorKeyColorRef(m_keyColour) != 0) {
    ErrorLog::Out("CPlane::色指定型透過キーの設定に失敗"_sj);
  }
  return 0;
}

void CPlane::ClearMSB() {
  if (!m_surface || GetDisplayBpp() != 32) return;
  DDSURFACEDESC desc;
  if (LockWholeSurface(m_surface.get(), &desc) != DD_OK) {
    ErrorLog::Out("CPlane::ClearMSBでSurfaceのLockに失敗"_sj);
    return;
  }
  if (desc.ddpfPixelFormat.dwRGBBitCount == 32) {
    const uint32_t mask = ColourBits(desc.ddpfPixelFormat);
    for (DWORD y = 0; y < desc.dwHeight; ++y) {
      auto* row =
          reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(desc.lpSurface) + static_cast<size_t>(y) * desc.lPitch);
      for (DWORD x = 0; x < desc.dwWidth; ++x) row[x] &= mask;
    }
  }
  m_surface->Unlock(nullptr);
}

void CPlane::ResetColorKey() {
  m_keyByPosition = true;
  m_keyX = 0;
  m_keyY = 0;
}

int CPlane::Create(int width, int height, int flag) {
  ResetColorKey();
  m_loaded = false;
  m_createdBlank = false;
  if (flag != 0) return kNotSupported;
  const int r = CreateSurface(width, height);
  if (r == 0) {
    ApplyColorKey();
    m_createdBlank = true;
    SetFillColor(0);
  }
  return r;
}

int CPlane::CreateSurface(int width, int height) {
  ReleaseSurface();
  DDSURFACEDESC desc;
  desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  desc.dwCaps = DDSCAPS_OFFSCREENPLAIN | (m_systemMemory ? DDSCAPS_SYSTEMMEMORY : 0);
  m_width = width;
  m_height = height;
  platform::DirectDraw* directDraw = CAppManager::GetDirectDraw();
  if (directDraw == nullptr) return kNoDirectDraw;
  // Negative sizes become huge ones, which the surface object refuses.
  desc.dwWidth = static_cast<DWORD>(width);
  desc.dwHeight = static_cast<DWORD>(height);
  if (directDraw->CreateSurface(desc, m_surface) != DD_OK) {
    ErrorLog::Out("CPlane::CreateSurfaceのCreateSurfaceに失敗"_sj);
    return 2;
  }
  FillRect(nullptr);
  return 0;
}

int CPlane::LoadBitmap(std::string_view fileName, int) {
  m_loaded = false;
  CFileBuffer file;
  if (file.Read(std::string(fileName)) != 0) return 1;
  const std::unique_ptr<CPictureLoader> loader = PictureLoaderFactory.Create();
  if (loader->Load(&file) != 0) return 2;
  int w = 0, h = 0;
  if (loader->GetSize(&w, &h) != 0) return 3;
  if (CreateSurface(w, h) != 0) return 4;
  HDC dc = BeginPaint();
  if (dc == nullptr) return 5;
  const int drawn = loader->Draw(dc);
  EndPaint();
  if (drawn != 0) return 6;
  if (loader->Release() != 0) return 7;
  ClearMSB();
  ApplyColorKey();
  m_loaded = true;
  return 0;
}

HDC CPlane::BeginPaint() {
  if (m_paintDC != nullptr) {
    ErrorLog::Out("CPlane::EndPaintが呼び出されていないのにBeginPaintが呼び出された"_sj);
    return nullptr;
  }
  if (!m_surface) return nullptr;
  HDC dc = nullptr;
  if (m_surface->GetDC(&dc) != DD_OK) dc = nullptr;
  m_paintDC = dc;
  return dc;
}

void CPlane::EndPaint() {
  if (m_paintDC == nullptr) {
    ErrorLog::Out("CPlane::BeginPaintが呼び出されていないのにEndPaintが呼び出された"_sj);
    return;
  }
  if (m_surface && m_surface->ReleaseDC(m_paintDC) == DD_OK) m_paintDC = nullptr;
}

int CPlane::SetFillColor(COLORREF colour) {
  if (!m_surface) return kNoSurface;
  m_fillColour = colour;
  m_fillValue = DDColorMatch(m_surface.get(), colour);
  return m_fillValue == kNoPixel ? 1 : 0;
}

int CPlane::FillRect(const RECT* rect) {
  if (!m_surface) return kNoSurface;
  DDBLTFX fx;
  fx.dwFillColor = m_fillValue;
  return m_surface->Blt(rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

int CPlane::SetSystemMemory(bool systemMemory) {
  m_systemMemory = systemMemory;
  return 0;
}

int CPlane::Restore() {
  if (!m_surface) return 0;
  if (m_surface->IsLost() == DD_OK && !m_systemMemory) return 0;
  // A lost surface is given its memory back first; the fill and a blank plane's own rebuild
  // would otherwise find it still lost for good.
  if (m_surface->IsLost() != DD_OK) m_surface->Restore();
  int result = 0;
  if (m_loaded) {
    const std::string name = m_twoNames ? (GetDisplayBpp() == 8 ? m_fileName : m_secondFileName) : m_fileName;
    result = LoadBitmap(name, m_restoreFirst ? 1 : 0);
  }
  SetFillColor(m_fillColour);
  if (m_createdBlank) result |= RestoreBlank();
  return result;
}

int CPlane::RestoreAll() {
  // A restore may make or drop planes (a derived plane's rebuild); walk a copy.
  const std::set<CPlane*> planes = PlaneSet();
  for (CPlane* p : planes)
    if (PlaneSet().count(p) && p->m_restoreFirst) p->Restore();
  for (CPlane* p : planes)
    if (PlaneSet().count(p)) p->Restore();
  return 0;
}
