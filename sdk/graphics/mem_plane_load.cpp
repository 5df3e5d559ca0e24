// Loading a memory surface by the file's extension.
#include <algorithm>
#include <cstring>
#include <string>

#include "sdk/framework/file_buffer.h"
#include "sdk/framework/path_functions.h"
#include "sdk/graphics/bma_format.h"
#include "sdk/graphics/dib_section.h"
#include "sdk/graphics/mem_plane_impl.h"
#include "sdk/graphics/picture_loader.h"

int CMemPlaneImpl::Load(std::string_view fileName, int, double scalePercent) {
  Release();
  std::string ext = GetExtensionOf(fileName);
  ToLowerSJIS(ext);
  if (ext == "bma") {
    const int r = LoadBMA(fileName);
    if (r == 0) {
      SetColorKeyPos(0, 0);
      m_loaded = true;
      m_hasAlpha = true;
    }
    return r;
  }
  if (ext == "png" || ext == "bmp" || ext == "tga") return LoadDecoded(fileName, ext, scalePercent);
  if (m_useDIBSection) {
    const int r = LoadByPictureLoader(fileName);
    if (r == 0) SetColorKeyPos(0, 0);
    return r;
  }
  return LoadByDIBSection(fileName);
}

int CMemPlaneImpl::LoadDecoded(std::string_view, const std::string&, double) { return 1; }

int CMemPlaneImpl::LoadByPictureLoader(std::string_view fileName) {
  CFileBuffer file;
  file.Read(std::string(fileName));  // a failed read leaves no data, which the loader refuses
  const std::unique_ptr<CPictureLoader> loader = g_pictureLoaderFactory.Create();
  if (loader->Load(&file) != 0) return 1;
  int w = 0, h = 0;
  if (loader->GetSize(&w, &h) != 0) return 2;
  if (AllocPixels(w, h) != 0) return 3;
  if (loader->ConvertBits(m_pixels, m_pitch) == 0) return 0;
  if (m_dc == nullptr || loader->Draw(m_dc.get()) != 0) {
    Release();
    return 4;
  }
  ClearAlpha();
  return 0;
}

// Heap storage: the picture is decoded into a temporary 32-bit section and copied.
int CMemPlaneImpl::LoadByDIBSection(std::string_view fileName) {
  CDIBSection section;
  if (section.LoadByPictureLoader(std::string(fileName), 32) != 0) return 1;
  int w = 0, h = 0;
  if (section.GetSize(&w, &h) != 0) return 2;
  if (section.GetDC() == nullptr || AllocPixels(w, h) != 0) return 3;
  std::memcpy(m_pixels, section.GetBits(), static_cast<size_t>(w) * h * 4);
  ClearAlpha();
  m_loaded = true;
  SetColorKeyPos(0, 0);
  return 0;
}

int CMemPlaneImpl::LoadBMA(std::string_view fileName) {
  CFileBuffer file;
  if (file.Read(std::string(fileName)) != 0) return 1;
  const std::span<const uint8_t> bytes(file.GetData(), file.GetSize());
  const auto header = bma::ReadHeader(bytes);
  if (!header || AllocPixels(header->width, header->height) != 0) return 2;
  const std::span<uint8_t> pixels(reinterpret_cast<uint8_t*>(m_pixels),
                                  static_cast<size_t>(Width()) * Height() * 4);
  const int r = bma::ReadPixels(*header, bytes, pixels);
  if (r != 0) Release();
  return r;
}
