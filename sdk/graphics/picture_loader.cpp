#include "sdk/graphics/picture_loader.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "sdk/framework/file_buffer.h"
#include "sdk/framework/little_endian.h"
#include "sdk/framework/path_functions.h"

namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kPluginMinimumBytes = 2048;

// An aligned copy of a header and as much of its colour table as the data holds (the rest black),
// for the drawing functions that read the header's fields.
std::vector<uint32_t> AlignedInfo(const BITMAPINFOHEADER& header, const uint8_t* table, size_t tableBytes) {
  std::vector<uint32_t> words((sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)) / 4, 0);
  BITMAPINFOHEADER h = header;
  h.biSize = sizeof(BITMAPINFOHEADER);
  const uint32_t count = std::min<uint32_t>(platform::DibColorCount(h), 256);
  h.biClrUsed = h.biBitCount <= 8 ? count : 0;
  std::memcpy(words.data(), &h, sizeof h);
  std::memcpy(reinterpret_cast<uint8_t*>(words.data()) + sizeof h, table, std::min<size_t>(tableBytes, count * 4));
  return words;
}

// The header inside file data is not aligned for its fields: it is only ever copied out.
void HeaderCopy(const uint8_t* header, BITMAPINFOHEADER& out) { std::memcpy(&out, header, sizeof out); }

}  // namespace

CPictureLoader::~CPictureLoader() { Release(); }

int CPictureLoader::Load(CFileBuffer* file) {
  if (LoadBmpImage(file) == 0) return 0;
  if (LoadOlePicture(file) == 0) return 0;
  if (LoadPlugin(file) == 0) return 0;
  return 1;
}

int CPictureLoader::LoadBmpImage(CFileBuffer* file) {
  if (!file || !file->GetData()) return 1;
  const uint8_t* data = file->GetData();
  const uint32_t size = file->GetSize();
  if (size < kFileHeaderBytes + sizeof(BITMAPINFOHEADER) || data[0] != 'B' || data[1] != 'M') return 1;
  // The header and the pixel offset must lie inside the data before anything is taken in place.
  const uint32_t headerBytes = LoadLe32(data + kFileHeaderBytes);
  const uint32_t offset = LoadLe32(data + 10);
  if (headerBytes < sizeof(BITMAPINFOHEADER) || headerBytes > size - kFileHeaderBytes || offset > size) return 1;
  m_data = data;
  m_size = size;
  m_header = data + kFileHeaderBytes;
  m_bits = data + offset;
  return 0;
}

int CPictureLoader::LoadOlePicture(CFileBuffer* file) {
  if (!file || !file->GetData() || file->GetSize() == 0) {
    Release();
    return 1;
  }
  m_picture = platform::Picture::Load(std::span<const uint8_t>(file->GetData(), file->GetSize()));
  if (!m_picture) {
    Release();
    return 2;
  }
  return 0;
}

int CPictureLoader::LoadPlugin(CFileBuffer* file) {
  if (!file) return 1;
  m_module = platform::DynLib::Open(CanonicalizePath("spi/if" + GetExtensionOf(file->GetFileName()) + ".so"));
  if (!m_module) return 1;
  m_isSupported = reinterpret_cast<PluginIsSupported>(m_module->Symbol("IsSupported"));
  m_getPictureInfo = reinterpret_cast<PluginGetPictureInfo>(m_module->Symbol("GetPictureInfo"));
  m_getPicture = reinterpret_cast<PluginGetPicture>(m_module->Symbol("GetPicture"));
  m_file = file;
  if (!m_isSupported || !m_getPictureInfo || !m_getPicture) {
    Release();
    return 1;
  }
  if (!file->GetData() || file->GetSize() < kPluginMinimumBytes) {
    // The module stays loaded until Release, but a file the plug-in was never asked about is
    // not handed to it later either.
    m_file = nullptr;
    return 1;
  }
  if (m_isSupported(nullptr, file->GetData()) == 0) {
    Release();
    return 1;
  }
  return 0;
}

int CPictureLoader::GetSize(int* width, int* height) {
  if (m_header) {
    BITMAPINFOHEADER h;
    HeaderCopy(m_header, h);
    *width = h.biWidth;
    *height = h.biHeight;
    return 0;
  }
  if (m_picture) {
    *width = m_picture->Width();
    *height = m_picture->Height();
    return 0;
  }
  if (m_module && m_getPictureInfo && m_file && m_file->GetData()) {
    PluginPictureInfo info{};
    m_getPictureInfo(m_file->GetData(), static_cast<int32_t>(m_file->GetSize()), 1, &info);
    *width = info.width;
    *height = info.height;
    return 0;
  }
  return 1;
}

bool CPictureLoader::BmpRowsPresent() const {
  BITMAPINFOHEADER h;
  HeaderCopy(m_header, h);
  if (h.biCompression != BI_RGB || h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN) return false;
  const uint64_t stride = platform::DibStride(h.biWidth, h.biBitCount);
  const uint64_t rows = static_cast<uint64_t>(platform::DibRows(h.biHeight));
  return stride != 0 && static_cast<uint64_t>(m_bits - m_data) + stride * rows <= m_size;
}

int CPictureLoader::Draw(HDC dc) {
  if (m_header) {
    if (!BmpRowsPresent()) return 1;
    BITMAPINFOHEADER h;
    HeaderCopy(m_header, h);
    const size_t tableStart = kFileHeaderBytes + platform::DibHeaderBytes(h);
    const std::vector<uint32_t> info =
        AlignedInfo(h, m_data + tableStart, m_size - std::min<size_t>(m_size, tableStart));
    const DWORD rows = static_cast<DWORD>(platform::DibRows(h.biHeight));
    return platform::SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(h.biWidth), rows, 0, 0, 0, rows, m_bits,
                                       reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS) == 0;
  }
  if (m_picture) return m_picture->Render(dc, 0, 0) ? 0 : 1;
  if (m_module && m_getPicture && m_file && m_file->GetData()) {
    FreePicture();
    if (m_getPicture(m_file->GetData(), static_cast<int32_t>(m_file->GetSize()), 1, &m_infoHandle, &m_bitsHandle,
                     nullptr, 0) != 0 ||
        !m_infoHandle || !m_bitsHandle) {
      Release();
      return 1;
    }
    int width = 0, height = 0;
    GetSize(&width, &height);
    const auto* info = static_cast<const BITMAPINFO*>(m_infoHandle);
    const int32_t stored = info->bmiHeader.biHeight;
    const UINT lines = static_cast<UINT>(platform::DibRows(stored));
    const int drawn = platform::SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0,
                                                  0, lines, m_bitsHandle, info, DIB_RGB_COLORS);
    FreePicture();
    if (drawn == 0) {
      Release();
      return 1;
    }
    return 0;
  }
  return 1;
}

int CPictureLoader::ConvertBits(void* dest, int pitch) {
  if (!m_header || !dest) return 1;
  BITMAPINFOHEADER h;
  HeaderCopy(m_header, h);
  if (h.biCompression != BI_RGB) return 2;
  if (h.biBitCount != 24 || !BmpRowsPresent()) return 3;
  const uint32_t stride = platform::DibStride(h.biWidth, 24);
  const int rows = static_cast<int>(platform::DibRows(h.biHeight));
  // The picture's top row first: the last row in memory of a bottom-up BMP, the first of a
  // top-down one.
  const bool topDown = h.biHeight < 0;
  for (int i = 0; i < rows; ++i) {
    const uint8_t* src = m_bits + static_cast<size_t>(topDown ? i : rows - 1 - i) * stride;
    uint8_t* out = static_cast<uint8_t*>(dest) + static_cast<ptrdiff_t>(i) * pitch;
    for (int x = 0; x < h.biWidth; ++x) {
      const uint32_t v = (uint32_t{src[3 * x + 2]} << 16) | (uint32_t{src[3 * x + 1]} << 8) | src[3 * x];
      std::memcpy(out + 4 * static_cast<size_t>(x), &v, 4);
    }
  }
  return 0;
}

int CPictureLoader::GetPaletteEntries(PALETTEENTRY* entries) {
  if (!m_header) return 1;
  BITMAPINFOHEADER h;
  HeaderCopy(m_header, h);
  if (h.biBitCount > 8) return 2;
  for (int i = 0; i < 256; ++i) entries[i] = PALETTEENTRY{};
  for (int i = 0; i < 10; ++i) {
    entries[i] = PALETTEENTRY{static_cast<uint8_t>(i), 0, 0, PC_EXPLICIT};
    entries[255 - i] = PALETTEENTRY{static_cast<uint8_t>(255 - i), 0, 0, PC_EXPLICIT};
  }
  const int count = h.biBitCount == 1 ? 2 : h.biBitCount == 2 ? 4 : h.biBitCount == 4 ? 16 : 236;
  const size_t tableStart = kFileHeaderBytes + platform::DibHeaderBytes(h);
  const size_t present = tableStart < m_size ? (m_size - tableStart) / 4 : 0;
  for (int i = 0; i < count && static_cast<size_t>(i) < present; ++i) {
    const uint8_t* q = m_data + tableStart + 4 * static_cast<size_t>(i);
    entries[10 + i] = PALETTEENTRY{q[2], q[1], q[0], PC_RESERVED | PC_NOCOLLAPSE};
  }
  return 0;
}

int CPictureLoader::Release() {
  m_data = nullptr;
  m_size = 0;
  m_header = nullptr;
  m_bits = nullptr;
  if (m_picture) {
    m_picture.reset();
    return 0;
  }
  FreePicture();
  m_module.reset();
  m_isSupported = nullptr;
  m_getPictureInfo = nullptr;
  m_getPicture = nullptr;
  m_file = nullptr;
  return 0;
}

void CPictureLoader::FreePicture() {
  std::free(m_bitsHandle);
  std::free(m_infoHandle);
  m_bitsHandle = nullptr;
  m_infoHandle = nullptr;
}
