// The drawing interface over an off-screen surface in the display's own pixel format. Such a
// surface is made by the surface object registered for the calling thread, and the game
// registers none: there every creation reports that (keeping the requested size), every drawing
// operation draws nothing, and the colour-key and fill operations find no surface. Tests register
// the memory stand-in, and then every operation works at 8, 16, 24 and 32 bits. Every plane is
// entered in one process-wide set so that the display can restore them all after a mode change.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "platform/direct_draw.h"
#include "platform/mem_dc.h"
#include "sdk/graphics/draw_target.h"

using platform::DirectDrawSurface;

// The value a colour has in the surface's pixel format; kNoPixel when it cannot be told.
constexpr uint32_t kNoPixel = 0xFFFFFFFFu;
uint32_t DDColorMatch(DirectDrawSurface* surface, COLORREF colour);
// The pixel at (x, y), colour bits only (all bits at 8 bits); kNoPixel outside or unlocked.
uint32_t DDGetPixel(DirectDrawSurface* surface, int x, int y);

class CPlane : public CDrawTarget {
 public:
  // Results of the operations that need a surface.
  static constexpr int kNoSurface = -1;
  static constexpr int kNotSupported = -1;
  // CreateSurface: no surface object for the calling thread.
  static constexpr int kNoDirectDraw = 1;
  // Blits: locking the destination failed; the source has no surface, is no plane of the same
  // format, or could not be locked; a stretched blit has nothing to draw.
  static constexpr int kDestLockFailed = 2;
  static constexpr int kBadSource = 3;
  static constexpr int kNothingStretched = 4;

  CPlane();
  ~CPlane() override;

  int GetType() const override { return kTypePlane; }
  int Blt(CDrawTarget* source, int x, int y, const RECT* sourceRect, const int* destSize, RECT* clip) override;
  int BltFast(CDrawTarget* source, int x, int y, const RECT* sourceRect, const int* destSize, RECT* clip) override;
  int BlendBlt(CDrawTarget* source, int x, int y, uint32_t destFactor, uint32_t sourceFactor, const RECT* sourceRect,
               const int* destSize, RECT* clip) override;
  int BlendBltFast(CDrawTarget* source, int x, int y, uint32_t destFactor, uint32_t sourceFactor,
                   const RECT* sourceRect, const int* destSize, RECT* clip) override;
  int BlendBltAlpha(CDrawTarget* source, int x, int y, uint32_t destFactor, uint32_t sourceFactor,
                    const RECT* sourceRect, const int* destSize, RECT* clip) override;
  int BltAlpha(CDrawTarget* source, int x, int y, const RECT* sourceRect, const int* destSize, RECT* clip) override;
  int BlendBltAlphaSimple(CDrawTarget* source, int x, int y, int ratio) override;
  int MosaicBlt(int blockSize, const RECT* rect) override;
  int FlushBlt(const RECT* rect) override;
  void GetSize(int* width, int* height) const override;
  bool IsLoaded() const override { return m_loaded; }
  int Clear(const RECT* rect) override { return FillRect(rect); }
  int Load(std::string_view fileName, int restoreFirst, double percent) override;
  int LoadByDepth(std::string_view name8, std::string_view nameOther, int restoreFirst) override;
  void Release() override;
  int SetColorKey(int r, int g, int b) override;
  int SetColorKeyPos(int x, int y) override;
  // Create: -1 when flag is set (not supported), else CreateSurface's result.
  int Create(int width, int height, int flag) override;

  // Hook for a derived plane made by Create to rebuild its content after a restore.
  virtual int RestoreBlank() { return 0; }
  // The colour key becomes the pixel at (0, 0) again (applied at the next load).
  virtual void ResetColorKey();
  // Decodes a file into a new surface: 0, or 1 file not read, 2 not decoded, 3 no picture size,
  // 4 no surface, 5 no device context, 6 not drawn, 7 not released.
  virtual int LoadBitmap(std::string_view fileName, int flag);
  // Records the size and makes the surface: 0, kNoDirectDraw, or 2 when refused.
  virtual int CreateSurface(int width, int height);

  int SetColorKeyColorRef(COLORREF colour);
  int SetFillColor(COLORREF colour);
  int FillRect(const RECT* rect);
  void ReleaseSurface();
  DirectDrawSurface* GetSurface() const { return m_surface.get(); }
  int SetSystemMemory(bool systemMemory);
  // The surface's device context until EndPaint; null without a surface or while one is held.
  HDC BeginPaint();
  void EndPaint();
  // Rebuilds a lost surface from the remembered file names (a surface in system memory on every
  // call); 0 without a surface.
  int Restore();
  // The colour key again on the surface, by position or by colour; failures are only logged.
  int ApplyColorKey();
  // At a 32-bit display, clears every pixel's bits outside the colour masks.
  void ClearMSB();
  // Restores every plane: first those loaded with the restore-first flag, then all.
  static int RestoreAll();
  // The planes that exist, ordered by address.
  static const std::set<CPlane*>& Planes();

 private:
  struct Clipped;
  template <bool kKeyed>
  int CopyClipped(CDrawTarget* source, int x, int y, const RECT* sourceRect, RECT* clip);
  template <bool kKeyed>
  int BlendClipped(CDrawTarget* source, int x, int y, uint32_t destFactor, uint32_t sourceFactor,
                   const RECT* sourceRect, RECT* clip);
  template <bool kKeyed, bool kBlend>
  int Stretch(CDrawTarget* source, int x, int y, uint32_t destFactor, uint32_t sourceFactor, const RECT* sourceRect,
              const int* destSize, RECT* clip);
  // The source's surface when it is a plane with a surface in this plane's format.
  DirectDrawSurface* SourceSurface(CDrawTarget* source) const;

  std::unique_ptr<DirectDrawSurface> m_surface;
  int m_width = 0;
  int m_height = 0;
  std::string m_fileName;
  std::string m_secondFileName;
  bool m_twoNames = false;
  bool m_restoreFirst = false;
  bool m_loaded = false;
  bool m_createdBlank = false;
  bool m_keyByPosition = true;
  int m_keyX = 0;
  int m_keyY = 0;
  COLORREF m_keyColour = 0;
  bool m_systemMemory = false;
  HDC m_paintDC = nullptr;
  COLORREF m_fillColour = 0;
  uint32_t m_fillValue = 0;
};
