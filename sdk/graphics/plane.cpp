#include "sdk/graphics/plane.h"

#include "sdk/framework/error_log.h"
#include "sdk/framework/file_buffer.h"
#include "sdk/graphics/picture_loader.h"
#include "platform/sjis_literal.h"

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

int CPlane::Blt(CDrawTarget*, int, int, const RECT*, const int*, RECT*) { return kNoSurface; }

int CPlane::BltFast(CDrawTarget*, int, int, const RECT*, const int*, RECT*) {
  return kNoSurface;
}

int CPlane::BlendBlt(CDrawTarget*, int, int, uint32_t, uint32_t, const RECT*, const int*, RECT*) {
  return kNoSurface;
}

int CPlane::BlendBltFast(CDrawTarget*, int, int, uint32_t, uint32_t, const RECT*, const int*,
                         RECT*) {
  return kNoSurface;
}

int CPlane::BlendBltAlpha(CDrawTarget*, int, int, uint32_t, uint32_t, const RECT*, const int*,
                          RECT*) {
  return kNotSupported;
}

int CPlane::BltAlpha(CDrawTarget*, int, int, const RECT*, const int*, RECT*) {
  return kNotSupported;
}

int CPlane::BlendBltAlphaSimple(CDrawTarget*, int, int, int) { return kNotSupported; }

int CPlane::MosaicBlt(int, const RECT*) { return kNoSurface; }

int CPlane::FlushBlt(const RECT*) { return kNoSurface; }

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
  // The display of this system always runs at 32 bits per pixel.
  return LoadBitmap(nameOther, restoreFirst);
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

void CPlane::ReleaseSurface() { m_surface = nullptr; }

int CPlane::SetColorKey(int r, int g, int b) {
  return SetColorKeyColorRef(static_cast<COLORREF>(r) | static_cast<COLORREF>(g) << 8 |
                             static_cast<COLORREF>(b) << 16);
}

int CPlane::SetColorKeyColorRef(COLORREF) { return kNoSurface; }

int CPlane::SetColorKeyPos(int, int) { return kNoSurface; }

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
    m_createdBlank = true;
    SetFillColor(0);
  }
  return r;
}

int CPlane::CreateSurface(int width, int height) {
  ReleaseSurface();
  m_width = width;
  m_height = height;
  return kNoDirectDraw;
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
  m_loaded = true;
  return 0;
}

HDC CPlane::BeginPaint() {
  if (m_paintDC != nullptr) {
    ErrorLog::Out("CPlane::EndPaintが呼び出されていないのにBeginPaintが呼び出された"_sj);
    return nullptr;
  }
  return nullptr;
}

void CPlane::EndPaint() {
  if (m_paintDC == nullptr) {
    ErrorLog::Out("CPlane::BeginPaintが呼び出されていないのにEndPaintが呼び出された"_sj);
    return;
  }
  m_paintDC = nullptr;
}

int CPlane::SetFillColor(COLORREF) { return kNoSurface; }

int CPlane::FillRect(const RECT*) { return kNoSurface; }

int CPlane::SetSystemMemory(bool systemMemory) {
  m_systemMemory = systemMemory;
  return 0;
}

int CPlane::Restore() { return 0; }

int CPlane::RestoreAll() {
  for (CPlane* p : PlaneSet())
    if (p->m_restoreFirst) p->Restore();
  for (CPlane* p : PlaneSet()) p->Restore();
  return 0;
}
