#include "sdk/graphics/mem_plane.h"

#include "sdk/framework/cpu_level.h"
#include "sdk/graphics/mem_plane_mmx.h"
#include "sdk/graphics/mem_plane_x86.h"

namespace {

std::unique_ptr<CMemPlaneImpl> MakeKernels(int cpuLevel) {
  if (cpuLevel >= 3) return std::make_unique<CMemPlaneMMX>();
  return std::make_unique<CMemPlaneX86>();
}

// The failure of a blit whose source is not a memory surface.
constexpr int kNotMemorySource = 1;

}  // namespace

CMemPlane::CMemPlane() : m_impl(MakeKernels(GetCpuLevel())) {}

CMemPlane::CMemPlane(std::unique_ptr<CMemPlaneImpl> impl) : m_impl(std::move(impl)) {}

CMemPlane::~CMemPlane() = default;

CMemPlane* CMemPlane::AsMemPlane(CDrawTarget* target) {
  return dynamic_cast<CMemPlane*>(target);
}

int CMemPlane::Blt(CDrawTarget* source, int x, int y, const RECT* sourceRect,
                   const int* destSize, RECT* clip) {
  CMemPlane* s = AsMemPlane(source);
  return s ? m_impl->Blt(s, x, y, sourceRect, destSize, clip) : kNotMemorySource;
}

int CMemPlane::BltFast(CDrawTarget* source, int x, int y, const RECT* sourceRect,
                       const int* destSize, RECT* clip) {
  CMemPlane* s = AsMemPlane(source);
  return s ? m_impl->BltFast(s, x, y, sourceRect, destSize, clip) : kNotMemorySource;
}

int CMemPlane::BlendBlt(CDrawTarget* source, int x, int y, uint32_t destFactor,
                        uint32_t sourceFactor, const RECT* sourceRect, const int* destSize,
                        RECT* clip) {
  CMemPlane* s = AsMemPlane(source);
  return s ? m_impl->BlendBlt(s, x, y, destFactor, sourceFactor, sourceRect, destSize, clip)
           : kNotMemorySource;
}

int CMemPlane::BlendBltFast(CDrawTarget* source, int x, int y, uint32_t destFactor,
                            uint32_t sourceFactor, const RECT* sourceRect, const int* destSize,
                            RECT* clip) {
  CMemPlane* s = AsMemPlane(source);
  return s ? m_impl->BlendBltFast(s, x, y, destFactor, sourceFactor, sourceRect, destSize, clip)
           : kNotMemorySource;
}

int CMemPlane::BlendBltAlpha(CDrawTarget* source, int x, int y, uint32_t destFactor,
                             uint32_t sourceFactor, const RECT* sourceRect, const int* destSize,
                             RECT* clip) {
  CMemPlane* s = AsMemPlane(source);
  return s ? m_impl->BlendBltAlpha(s, x, y, destFactor, sourceFactor, sourceRect, destSize, clip)
           : kNotMemorySource;
}

int CMemPlane::BltAlpha(CDrawTarget* source, int x, int y, const RECT* sourceRect,
                        const int* destSize, RECT* clip) {
  CMemPlane* s = AsMemPlane(source);
  return s ? m_impl->BltAlpha(s, x, y, sourceRect, destSize, clip) : kNotMemorySource;
}

int CMemPlane::BlendBltAlphaSimple(CDrawTarget* source, int x, int y, int ratio) {
  if (AsMemPlane(source) == nullptr) return kNotMemorySource;
  if (ratio <= 0) return 0;
  if (ratio >= 256) return BltAlpha(source, x, y, nullptr, nullptr, nullptr);
  const uint32_t f = static_cast<uint32_t>(ratio) * 0x010101u;
  return BlendBltAlpha(source, x, y, 0xFFFFFF - f, f, nullptr, nullptr, nullptr);
}

int CMemPlane::MosaicBlt(int blockSize, const RECT* rect) {
  return m_impl->MosaicEffect(blockSize, rect);
}

int CMemPlane::FlushBlt(const RECT* rect) { return m_impl->NegateEffect(rect); }

void CMemPlane::GetSize(int* width, int* height) const { m_impl->GetSize(width, height); }

bool CMemPlane::IsLoaded() const { return m_impl->IsLoaded(); }

bool CMemPlane::HasAlpha() const { return m_impl->HasAlpha(); }

int CMemPlane::Clear(const RECT* rect) { return m_impl->Clear(0xFFFFFFFF, rect); }

int CMemPlane::BlendBltNatural(CDrawTarget* source, int x, int y, int ratio,
                               const RECT* sourceRect, const int* destSize, RECT* clip) {
  CMemPlane* s = AsMemPlane(source);
  return s ? m_impl->BlendBltNatural(s, x, y, ratio, sourceRect, destSize, clip)
           : kNotMemorySource;
}

int CMemPlane::BltNatural(CDrawTarget* source, int x, int y, const RECT* sourceRect,
                          const int* destSize, RECT* clip) {
  CMemPlane* s = AsMemPlane(source);
  return s ? m_impl->BltNatural(s, x, y, sourceRect, destSize, clip) : kNotMemorySource;
}

int CMemPlane::Load(std::string_view fileName, int flag, double scalePercent) {
  return m_impl->Load(fileName, flag, scalePercent);
}

int CMemPlane::LoadByDepth(std::string_view, std::string_view, int) { return 1; }

void CMemPlane::Release() { m_impl->Release(); }

int CMemPlane::SetColorKey(int r, int g, int b) { return m_impl->SetColorKey(r, g, b); }

int CMemPlane::SetColorKeyPos(int x, int y) { return m_impl->SetColorKeyPos(x, y); }

int CMemPlane::Create(int width, int height, int) { return m_impl->CreateSurface(width, height); }

int CMemPlane::GetPixelAlpha(int x, int y) const { return m_impl->GetPixelAlpha(x, y); }

int CMemPlane::AlphaGradient(CMemPlane* mask, int lower, int upper, int alphaLower,
                             int alphaUpper, const RECT* rect) {
  return m_impl->AlphaGradient(mask, lower, upper, alphaLower, alphaUpper, rect);
}

int CMemPlane::AlphaScale(int ratio, const RECT* rect) { return m_impl->AlphaScale(ratio, rect); }

int CMemPlane::AlphaCopy(CMemPlane* source, int ratio, const RECT* rect) {
  return m_impl->AlphaCopy(source, ratio, rect);
}

int CMemPlane::FadeEffect(int ratio, const RECT* rect) { return m_impl->FadeEffect(ratio, rect); }

int CMemPlane::AlphaInvert(const RECT* rect) { return m_impl->AlphaInvert(rect); }
