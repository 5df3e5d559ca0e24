// Loading a memory surface by the file's extension.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/image_limits.h"
#include "sdk/framework/file_buffer.h"
#include "sdk/framework/path_functions.h"
#include "sdk/graphics/bma_format.h"
#include "sdk/graphics/dib_image.h"
#include "sdk/graphics/dib_section.h"
#include "sdk/graphics/mem_plane_impl.h"
#include "sdk/graphics/picture_loader.h"
#include "sdk/graphics/png_reader.h"
#include "sdk/graphics/tga_reader.h"

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

namespace {

// One side scaled by percent, truncated toward zero; 0 when the result is not a usable size.
int ScaledSide(int side, double percent) {
  const double scaled = std::trunc(side * 0.01 * percent);
  return scaled >= 1.0 && scaled <= CMemPlaneImpl::kMaxSide ? static_cast<int>(scaled) : 0;
}

bool Decode(const std::string& ext, const std::string& path, CDibImage& image) {
  if (ext == "png") return LoadPngToDib(path, &image) != 0;
  if (ext == "tga") return LoadTgaToDib(path, &image) != 0;
  return image.LoadBmp(path, 0x3F);
}

}  // namespace

// png, bmp and tga: decoded into a device-independent image, made 32 bits, scaled, copied.
int CMemPlaneImpl::LoadDecoded(std::string_view fileName, const std::string& ext, double scalePercent) {
  if (ext == "png" && scalePercent == 100.0) {
    // A true-colour picture is decoded straight into the surface.
    bool alpha = false;
    const PngTrueColour r = LoadTrueColourPng(std::string(fileName), [&](int w, int h, bool hasAlpha) {
      alpha = hasAlpha;
      return AllocPixels(w, h) == 0 ? m_pixels : nullptr;
    });
    if (r == PngTrueColour::kDone) return FinishDecoded(ext, alpha ? 32 : 24);
    if (r == PngTrueColour::kFailed) {
      Release();
      return 1;
    }
  }
  CDibImage image;
  if (!Decode(ext, std::string(fileName), image)) return 1;
  const int bitCount = image.GetBitCount();
  if (scalePercent == 100.0 && bitCount != 32) {
    // Expanded row by row into the surface: no whole 32-bit copy of the picture is made.
    const int w = image.GetWidth(), h = std::abs(image.GetHeight());
    if (AllocPixels(w, h) != 0) return 1;
    const bool topDown = image.GetHeight() < 0;
    if (!image.ExpandTo32(
            [&](size_t row) { return GetRow(topDown ? static_cast<int>(row) : h - 1 - static_cast<int>(row)); })) {
      Release();
      return 1;
    }
    return FinishDecoded(ext, bitCount);
  }
  if (bitCount != 32 && !image.ConvertTo32()) return 1;
  if (scalePercent != 100.0) {
    const int w = ScaledSide(image.GetWidth(), scalePercent);
    const int h = ScaledSide(std::abs(image.GetHeight()), scalePercent);
    if (w == 0 || h == 0 || !image.Resize(w, h)) return 1;
  }
  const int w = image.GetWidth(), h = std::abs(image.GetHeight());
  if (AllocPixels(w, h) != 0) return 1;
  const bool topDown = image.GetHeight() < 0;
  const size_t stride = static_cast<size_t>(image.GetStride());
  for (int i = 0; i < h; ++i)
    std::memcpy(GetRow(i), image.GetBits() + static_cast<size_t>(topDown ? i : h - 1 - i) * stride,
                static_cast<size_t>(w) * 4);
  return FinishDecoded(ext, bitCount);
}

int CMemPlaneImpl::FinishDecoded(const std::string& ext, int bitCount) {
  m_loaded = true;
  if (ext == "bmp") {
    m_hasAlpha = false;
    SetColorKeyPos(0, 0);
  } else {
    m_hasAlpha = bitCount != 24;
  }
  return 0;
}

int CMemPlaneImpl::LoadByPictureLoader(std::string_view fileName) {
  CFileBuffer file;
  file.Read(std::string(fileName));  // a failed read leaves no data, which the loader refuses
  const std::unique_ptr<CPictureLoader> loader = PictureLoaderFactory.Create();
  if (loader->Load(&file) != 0) return 1;
  int w = 0, h = 0;
  if (loader->GetSize(&w, &h) != 0) return 2;
  // A top-down BMP reports a negative height: the surface takes its magnitude, as the BMP reader
  // does, and the loader writes its rows top-down either way.
  const int64_t rows = platform::DibRows(h);
  if (!platform::ImageSizeAllowed(w, rows) || AllocPixels(w, static_cast<int>(rows)) != 0) return 3;
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
  if (!header || !bma::DataCanCover(*header, bytes) || AllocPixels(header->width, header->height) != 0) return 2;
  const std::span<uint8_t> pixels(reinterpret_cast<uint8_t*>(m_pixels), static_cast<size_t>(Width()) * Height() * 4);
  const int r = bma::ReadPixels(*header, bytes, pixels);
  if (r != 0) Release();
  return r;
}
