// Decodes the picture formats the library has no reader of its own for: a BMP used in place, a
// JPEG or GIF through the picture service, or a picture plug-in chosen by the file's extension.
#pragma once

#include <memory>

#include "platform/dib.h"
#include "platform/dynlib.h"
#include "platform/mem_dc.h"
#include "platform/picture.h"
#include "sdk/graphics/picture_plugin.h"

class CFileBuffer;

// Users: CFileBuffer::Read the file, Create a loader, Load, GetSize, make a target of that size,
// ConvertBits into it and, when that fails, Draw onto its context. The file must outlive the
// loader's use of it.
class CPictureLoader {
 public:
  CPictureLoader() = default;
  CPictureLoader(const CPictureLoader&) = delete;
  CPictureLoader& operator=(const CPictureLoader&) = delete;
  virtual ~CPictureLoader();

  // 0 when one way read the file, 1 otherwise.
  virtual int Load(CFileBuffer* file);
  // 0, or 1 when nothing is loaded. A top-down BMP reports a negative height.
  virtual int GetSize(int* width, int* height);
  // 0 drawn at (0, 0), 1 failed.
  virtual int Draw(HDC dc);
  // 32-bit 0x00RRGGBB rows for an uncompressed 24-bit BMP, the last stored row first: 0 copied,
  // 1 no BMP loaded, 2 compressed, 3 not 24 bits (or rows missing from the data).
  virtual int ConvertBits(void* dest, int pitch);
  virtual int Release();
  // Palette for an 8-bit display: 0, 1 no BMP loaded, 2 more than 8 bits.
  virtual int GetPaletteEntries(PALETTEENTRY* entries);

 protected:
  virtual int LoadBmpImage(CFileBuffer* file);
  // 0, 1 no data, 2 not decoded.
  virtual int LoadOlePicture(CFileBuffer* file);
  virtual int LoadPlugin(CFileBuffer* file);
  virtual void FreePicture();

 private:
  // The uncompressed BMP's rows lie inside the file's data.
  bool BmpRowsPresent() const;

  const uint8_t* m_data = nullptr;  // BMP way: the file's data, m_size bytes
  uint32_t m_size = 0;
  const uint8_t* m_header = nullptr;  // the BITMAPINFO inside the data
  const uint8_t* m_bits = nullptr;
  std::unique_ptr<platform::Picture> m_picture;
  std::unique_ptr<platform::DynLib> m_module;
  PluginIsSupported m_isSupported = nullptr;
  PluginGetPictureInfo m_getPictureInfo = nullptr;
  PluginGetPicture m_getPicture = nullptr;
  CFileBuffer* m_file = nullptr;
  void* m_bitsHandle = nullptr;
  void* m_infoHandle = nullptr;
};

class CPictureLoaderFactory {
 public:
  std::unique_ptr<CPictureLoader> Create() const { return std::make_unique<CPictureLoader>(); }
};

// The process-wide factory every user asks for a loader.
inline const CPictureLoaderFactory PictureLoaderFactory;
