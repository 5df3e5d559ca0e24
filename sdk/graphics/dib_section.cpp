#include "sdk/graphics/dib_section.h"

#include <cstring>
#include <vector>

#include "platform/image_limits.h"
#include "sdk/framework/file_buffer.h"
#include "sdk/graphics/picture_loader.h"

namespace {

constexpr uint32_t kBmpHeaderBytes = 54;
constexpr int32_t kPixelsPerMetre = 3780;

void Put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

CDIBSection::~CDIBSection() { Release(); }

int CDIBSection::Create(int width, int height, int bitCount) {
  Release();
  // The section is always top-down. A picture that reports a negative height is a top-down one
  // of that many rows, so only the magnitude counts; it is taken in 64 bits, where -INT32_MIN
  // exists, and held to the surface limits.
  const int64_t rows = platform::DibRows(height);
  if (!platform::ImageSizeAllowed(width, rows)) return 1;
  // Room for a full colour table: the header states none, so a palette depth takes 2^depth
  // entries, all black.
  std::vector<uint32_t> words((sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)) / 4, 0);
  BITMAPINFOHEADER h;
  h.biSize = sizeof h;
  h.biWidth = width;
  h.biHeight = -static_cast<int32_t>(rows);
  h.biPlanes = 1;
  h.biBitCount = static_cast<uint16_t>(bitCount);
  h.biCompression = BI_RGB;
  std::memcpy(words.data(), &h, sizeof h);
  m_bitmap = platform::CreateDIBSection(reinterpret_cast<const BITMAPINFO*>(words.data()), DIB_RGB_COLORS);
  if (!m_bitmap) return 1;
  m_bits = m_bitmap->Bits();
  m_width = width;
  m_height = static_cast<int>(rows);
  m_bitCount = bitCount;
  m_dc = std::make_unique<platform::MemDC>();
  m_dc->SelectBitmap(m_bitmap.get());
  return 0;
}

int CDIBSection::Release() {
  m_dc.reset();
  m_bitmap.reset();
  m_bits = nullptr;
  return 0;
}

int CDIBSection::GetSize(int* width, int* height) const {
  if (!m_dc) return 1;
  *width = m_width;
  *height = m_height;
  return 0;
}

int CDIBSection::LoadByPictureLoader(const std::string& fileName, int bitCount) {
  CFileBuffer file;
  file.Read(fileName);  // a failed read leaves no data, which the loader refuses
  std::unique_ptr<CPictureLoader> loader = g_pictureLoaderFactory.Create();
  if (loader->Load(&file) != 0) return 1;
  int width = 0, height = 0;
  if (loader->GetSize(&width, &height) != 0) return 2;
  if (Create(width, height, bitCount) != 0) return 3;
  if (bitCount == 32 && loader->ConvertBits(m_bits, width * 4) == 0) return 0;
  return loader->Draw(m_dc.get()) == 0 ? 0 : 4;
}

int CDIBSection::SaveBMP(const std::string& fileName, const RECT* rect) {
  if (!m_dc) return 0;
  const RECT r = rect ? *rect : RECT{0, 0, m_width, m_height};
  const int64_t width = int64_t{r.right} - r.left;
  const int64_t height = int64_t{r.bottom} - r.top;
  // An inverted rectangle, or one larger than any section can be, is a write that cannot be made.
  if (width < 0 || height < 0) return 2;
  const uint64_t rowBytes = static_cast<uint64_t>((width + 1) * 3) & ~uint64_t{3};
  const uint64_t fileBytes = kBmpHeaderBytes + rowBytes * static_cast<uint64_t>(height);
  if (fileBytes > kBmpHeaderBytes + platform::kMaxDibSectionBytes) return 2;

  std::vector<uint8_t> file(static_cast<size_t>(fileBytes), 0);
  uint8_t* p = file.data();
  p[0] = 'B';
  p[1] = 'M';
  Put32(p + 2, static_cast<uint32_t>(fileBytes));
  Put32(p + 10, kBmpHeaderBytes);
  Put32(p + 14, sizeof(BITMAPINFOHEADER));
  Put32(p + 18, static_cast<uint32_t>(width));
  Put32(p + 22, static_cast<uint32_t>(height));
  Put16(p + 26, 1);
  Put16(p + 28, 24);
  Put32(p + 38, kPixelsPerMetre);
  Put32(p + 42, kPixelsPerMetre);
  for (int64_t y = r.top; y < r.bottom; ++y) {
    uint8_t* out = p + kBmpHeaderBytes + static_cast<size_t>(r.bottom - 1 - y) * rowBytes;
    for (int64_t x = r.left; x < r.right; ++x, out += 3) {
      const COLORREF c = platform::GetPixel(m_dc.get(), static_cast<int>(x), static_cast<int>(y));
      out[0] = static_cast<uint8_t>(GetBValue(c));
      out[1] = static_cast<uint8_t>(GetGValue(c));
      out[2] = static_cast<uint8_t>(GetRValue(c));
    }
  }
  CFileBuffer writer;
  return writer.Write(fileName, file.data(), static_cast<uint32_t>(fileBytes));
}
