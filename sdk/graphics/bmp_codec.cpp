// BMP files of CDibImage: the reader (uncompressed and 8-bit run-length rows) and the writer.
#include <cstring>
#include <vector>

#include "platform/image_limits.h"
#include "sdk/framework/file_buffer.h"
#include "sdk/graphics/byte_source.h"
#include "sdk/graphics/dib_image.h"

namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;

uint32_t DepthMaskBit(int bitCount) {
  switch (bitCount) {
    case 1:
      return 0x01;
    case 4:
      return 0x02;
    case 8:
      return 0x04;
    case 16:
      return 0x08;
    case 24:
      return 0x10;
    case 32:
      return 0x20;
    default:
      return 0;
  }
}

// Decodes 8-bit run-length data into zeroed rows, in memory order from the first row. Runs and
// deltas are cut at the image's edges; the data ends at an end-of-bitmap code or when it runs
// out.
void DecodeRle8(ByteSource in, uint8_t* bits, int width, int height, size_t stride) {
  int64_t x = 0, y = 0;
  auto put = [&](uint8_t v) {
    if (x >= 0 && x < width && y < height) bits[static_cast<size_t>(y) * stride + static_cast<size_t>(x)] = v;
    ++x;
  };
  uint8_t n = 0, v = 0;
  while (y < height && in.Byte(n)) {
    if (n > 0) {
      if (!in.Byte(v)) return;
      for (int i = 0; i < n; ++i) put(v);
      continue;
    }
    if (!in.Byte(n)) return;
    if (n == 0) {
      ++y;
      x = 0;
    } else if (n == 1) {
      return;
    } else if (n == 2) {
      uint8_t dx = 0, dy = 0;
      if (!in.Byte(dx) || !in.Byte(dy)) return;
      x += dx;
      y += dy;
    } else {
      for (int i = 0; i < n; ++i) {
        if (!in.Byte(v)) return;
        put(v);
      }
      if ((n & 1) && !in.Skip(1)) return;
    }
  }
}

// The file header's pixel offset and the information header; false unless the bytes begin with
// both, with the header size this reader takes.
bool ReadHeaders(ByteSource& in, uint32_t& pixelOffset, BITMAPINFOHEADER& h) {
  uint16_t type = 0;
  uint32_t fileSize = 0, reserved = 0;
  if (!in.Le16(type) || !in.Le32(fileSize) || !in.Le32(reserved) || !in.Le32(pixelOffset)) return false;
  return type == BMP_FILE_TYPE && in.Read(&h, sizeof h) && h.biSize == kInfoHeaderBytes;
}

}  // namespace

bool ReadBmpSize(std::span<const uint8_t> file, int* width, int* height) {
  ByteSource in(file);
  uint32_t pixelOffset = 0;
  BITMAPINFOHEADER h;
  if (!ReadHeaders(in, pixelOffset, h)) return false;
  *width = h.biWidth;
  *height = h.biHeight;
  return true;
}

bool CDibImage::LoadBmp(const std::string& path, uint32_t depthMask) {
  FreeHeader();
  FreeBits();
  CFileBuffer file;
  if (file.Read(path) != 0 || !file.GetData()) return false;
  ByteSource in(std::span<const uint8_t>(file.GetData(), file.GetSize()));

  uint32_t pixelOffset = 0;
  BITMAPINFOHEADER h;
  if (!ReadHeaders(in, pixelOffset, h)) return false;
  if (h.biCompression != BI_RGB && !(h.biCompression == BI_RLE8 && h.biBitCount == 8)) return false;
  if (!(DepthMaskBit(h.biBitCount) & depthMask)) return false;
  // Nothing is allocated or decoded for a picture larger than any surface: a kilobyte of
  // run-length data can claim hundreds of megabytes.
  const int64_t height = platform::DibRows(h.biHeight);
  if (!platform::ImageSizeAllowed(h.biWidth, height)) return false;

  // The table always has room for every index the depth can hold; a file that declares more
  // entries keeps only those.
  const uint64_t declared = h.biBitCount > 8 ? 0 : (h.biClrUsed ? h.biClrUsed : (1u << h.biBitCount));
  const uint32_t room = h.biBitCount > 8 ? 0 : (1u << h.biBitCount);
  const uint32_t count = static_cast<uint32_t>(std::min<uint64_t>(declared, room));
  const uint32_t compressedBytes = h.biSizeImage;
  const bool rle = h.biCompression == BI_RLE8;
  h.biClrUsed = count;
  h.biCompression = BI_RGB;
  const uint64_t stride = platform::DibStride(h.biWidth, h.biBitCount);
  const uint64_t imageBytes = stride * static_cast<uint64_t>(height);
  if (stride == 0 || imageBytes > kMaxDibImageBytes) return false;
  h.biSizeImage = static_cast<uint32_t>(imageBytes);

  DibBlock<uint8_t> header(static_cast<uint8_t*>(DibAlloc(kDibGlobalFixed, sizeof h + 4 * size_t{room})));
  DibBlock<uint8_t> bits(static_cast<uint8_t*>(DibAlloc(kDibGlobalFixed, static_cast<size_t>(imageBytes))));
  if (!header || !bits) return false;
  std::memcpy(header.get(), &h, sizeof h);
  if (!in.Read(header.get() + sizeof h, 4 * size_t{count})) return false;

  // Pixels start where the file header says when that lies after the table and inside the file;
  // otherwise right after the declared table.
  const uint64_t tableEnd = kFileHeaderBytes + kInfoHeaderBytes + 4 * declared;
  const uint64_t minimum = kFileHeaderBytes + kInfoHeaderBytes + 4 * uint64_t{count};
  const bool offsetValid = pixelOffset >= minimum && pixelOffset < file.GetSize();
  if (!in.SeekTo(offsetValid ? pixelOffset : tableEnd)) return false;

  if (rle) {
    if (compressedBytes > in.Remaining()) return false;
    DecodeRle8(ByteSource(std::span<const uint8_t>(in.Here(), compressedBytes)), bits.get(), h.biWidth,
               static_cast<int>(height), static_cast<size_t>(stride));
  } else if (!in.Read(bits.get(), static_cast<size_t>(imageBytes))) {
    return false;
  }
  return Attach(reinterpret_cast<BITMAPINFO*>(header.release()), kDibGlobalFixed, bits.release(), kDibGlobalFixed);
}

bool CDibImage::SaveBmp(const std::string& path) const {
  if (!m_header || !m_bits || !platform::IsDibDepth(GetBitCount()) || GetWidth() <= 0 || AbsHeight() == 0) return false;
  BITMAPINFOHEADER h = m_header->bmiHeader;
  const std::span<const RGBQUAD> colors = GetColors();
  if (h.biBitCount <= 8) h.biClrUsed = static_cast<uint32_t>(colors.size());
  const size_t stride = static_cast<size_t>(GetStride());
  const int height = AbsHeight();
  const uint64_t imageBytes = uint64_t{stride} * static_cast<uint64_t>(height);
  const uint32_t offset = kFileHeaderBytes + kInfoHeaderBytes + 4 * static_cast<uint32_t>(colors.size());
  const uint64_t fileBytes = offset + imageBytes;
  if (imageBytes > kMaxDibImageBytes) return false;
  const uint32_t statedImage =
      m_header->bmiHeader.biSizeImage ? m_header->bmiHeader.biSizeImage : static_cast<uint32_t>(imageBytes);
  h.biHeight = height;
  h.biSizeImage = static_cast<uint32_t>(imageBytes);

  std::vector<uint8_t> out(static_cast<size_t>(fileBytes));
  uint8_t* p = out.data();
  const uint16_t type = BMP_FILE_TYPE;
  const uint32_t size = offset + statedImage, zero = 0;
  std::memcpy(p, &type, 2);
  std::memcpy(p + 2, &size, 4);
  std::memcpy(p + 6, &zero, 4);
  std::memcpy(p + 10, &offset, 4);
  std::memcpy(p + kFileHeaderBytes, &h, sizeof h);
  if (!colors.empty()) std::memcpy(p + kFileHeaderBytes + kInfoHeaderBytes, colors.data(), colors.size_bytes());
  if (GetHeight() > 0) {
    std::memcpy(p + offset, m_bits, static_cast<size_t>(imageBytes));
  } else {
    // A top-down image is stored bottom-up: its last row first.
    for (int y = 0; y < height; ++y)
      std::memcpy(p + offset + static_cast<size_t>(y) * stride,
                  GetBits() + static_cast<size_t>(height - 1 - y) * stride, stride);
  }
  CFileBuffer file;
  return file.Write(path, out.data(), static_cast<uint32_t>(fileBytes)) == 0;
}
