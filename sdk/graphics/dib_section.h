// A DIB section of any depth with its own memory device context: decodes pictures through the
// picture loader and writes a rectangle of itself as a 24-bit BMP file (the save thumbnails).
#pragma once

#include <memory>
#include <string>

#include "platform/mem_dc.h"
#include "platform/win_types.h"

class CDIBSection {
 public:
  CDIBSection() = default;
  CDIBSection(const CDIBSection&) = delete;
  CDIBSection& operator=(const CDIBSection&) = delete;
  virtual ~CDIBSection();

  // A new top-down section (any earlier one released first): 0 ok, 1 failure.
  int Create(int width, int height, int bitCount);
  // Deletes the context and the bitmap; 0.
  int Release();
  // 1 when there is no context, else the size and 0.
  int GetSize(int* width, int* height) const;
  // 0 ok; 1 decoding failed; 2 reading the size failed; 3 creating the section failed; 4 drawing
  // failed.
  int LoadByPictureLoader(const std::string& fileName, int bitCount);
  // Writes the rectangle (null: all of it) as a 24-bit bottom-up BMP through the file layer and
  // returns its result (0 ok, 1 cannot create, 2 write failed, 3 close failed); 0 without writing
  // when there is no context.
  int SaveBMP(const std::string& fileName, const RECT* rect);

  void* GetBits() const { return m_bits; }
  int GetBitCount() const { return m_bitCount; }
  HBITMAP GetBitmap() const { return m_bitmap.get(); }
  HDC GetDC() const { return m_dc.get(); }

 private:
  void* m_bits = nullptr;
  int m_width = 0;
  int m_height = 0;
  int m_bitCount = 0;
  std::unique_ptr<platform::Bitmap> m_bitmap;
  std::unique_ptr<platform::MemDC> m_dc;
};
