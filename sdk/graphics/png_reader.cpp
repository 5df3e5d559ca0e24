#include "sdk/graphics/png_reader.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <png.h>
#include <utility>
#include <vector>

#include "platform/image_limits.h"
#include "sdk/framework/file_buffer.h"
#include "sdk/graphics/dib_image.h"

namespace {

// libpng's read function over a CFileBuffer: raises "Read Error" when the data runs out.
void PngReadCallback(png_structp png, png_bytep buffer, size_t length) {
  auto* file = static_cast<CFileBuffer*>(png_get_io_ptr(png));
  if (!file || length > UINT32_MAX || file->ReadBytes(buffer, static_cast<unsigned>(length)) != 0)
    png_error(png, "Read Error");
}

// Errors end in the long jump; nothing is printed.
void SilentError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void SilentWarning(png_structp, png_const_charp) {}

struct PngReadState {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::vector<png_bytep> rows;  // lives outside the frame the long jump returns to
};

struct PngHeader {
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colorType = 0, interlace = 0;
};

// The header, read under the caller's setjmp; false when the size is refused.
bool ReadHeader(PngReadState& s, CFileBuffer& file, PngHeader& h) {
  png_set_read_fn(s.png, &file, PngReadCallback);
  png_set_sig_bytes(s.png, 0);
  // A few bytes of header can claim any size. The sides are held to the surface limits before
  // any row is allocated. The chunks the picture does not need (texts, profiles, suggested
  // palettes...) are skipped unread, since libpng would allocate whatever length such a chunk
  // claims even after calling it too large; no chunk that is kept may claim more than the file.
  png_set_user_limits(s.png, static_cast<png_uint_32>(platform::kMaxImageSide),
                      static_cast<png_uint_32>(platform::kMaxImageSide));
  png_set_chunk_malloc_max(s.png, std::max<png_alloc_size_t>(file.GetSize(), 1));
  png_set_keep_unknown_chunks(s.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_read_info(s.png, s.info);
  png_get_IHDR(s.png, s.info, &h.width, &h.height, &h.bitDepth, &h.colorType, &h.interlace, nullptr, nullptr);
  return platform::ImageSizeAllowed(h.width, h.height);
}

// A transparency chunk becomes an alpha channel.
bool HasTransparency(const PngReadState& s, int colorType) {
  return png_get_valid(s.png, s.info, PNG_INFO_tRNS) != 0 &&
         (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_RGB || colorType == PNG_COLOR_TYPE_PALETTE);
}

// Everything after setjmp lives here, with nothing in this frame that needs destroying.
bool Decode(PngReadState& s, CFileBuffer& file, CDibImage& image) {
  if (setjmp(png_jmpbuf(s.png))) return false;
  PngHeader h;
  if (!ReadHeader(s, file, h)) return false;
  const png_uint_32 width = h.width, height = h.height;
  const int colorType = h.colorType, bitDepth = h.bitDepth;

  png_set_strip_16(s.png);
  // Such pictures are made 32 bits wide.
  const bool transparency = HasTransparency(s, colorType);
  int bitCount = 0;
  if (transparency) {
    bitCount = 32;
    png_set_expand(s.png);
    if (colorType == PNG_COLOR_TYPE_GRAY) png_set_gray_to_rgb(s.png);
  } else {
    switch (colorType) {
      case PNG_COLOR_TYPE_GRAY:
        bitCount = 8;
        if (bitDepth < 8) png_set_expand(s.png);
        break;
      case PNG_COLOR_TYPE_RGB:
        bitCount = 24;
        break;
      case PNG_COLOR_TYPE_PALETTE:
        bitCount = 8;
        break;
      case PNG_COLOR_TYPE_GRAY_ALPHA:
        bitCount = 8;
        png_set_strip_alpha(s.png);
        break;
      case PNG_COLOR_TYPE_RGB_ALPHA:
        bitCount = 32;
        break;
      default:
        return false;
    }
  }
  if (!image.Create(static_cast<int>(width), static_cast<int>(height), bitCount)) return false;
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) image.SetGreyPalette();
  if (colorType == PNG_COLOR_TYPE_PALETTE && bitCount == 8) {
    png_colorp palette = nullptr;
    int entries = 0;
    if (png_get_PLTE(s.png, s.info, &palette, &entries) != 0 && palette) {
      const std::span<RGBQUAD> table = image.GetColors();
      for (size_t i = 0; i < std::min(table.size(), static_cast<size_t>(entries)); ++i)
        table[i] = RGBQUAD{palette[i].blue, palette[i].green, palette[i].red, 0};
    }
  }
  png_set_packing(s.png);
  png_set_packswap(s.png);
  png_set_interlace_handling(s.png);
  png_read_update_info(s.png, s.info);
  // The rows libpng will write must be exactly the rows the image has.
  const size_t pixelBytes = static_cast<size_t>(bitCount) / 8;
  if (png_get_rowbytes(s.png, s.info) != static_cast<size_t>(width) * pixelBytes) return false;

  const size_t stride = static_cast<size_t>(image.GetStride());
  s.rows.resize(height);
  for (png_uint_32 i = 0; i < height; ++i)
    s.rows[i] = image.GetBits() + static_cast<size_t>(height - 1 - i) * stride;  // PNG row i from the top
  png_read_image(s.png, s.rows.data());
  png_read_end(s.png, nullptr);

  if (bitCount >= 24) {
    for (png_uint_32 y = 0; y < height; ++y) {
      uint8_t* p = s.rows[y];
      for (png_uint_32 x = 0; x < width; ++x, p += pixelBytes) std::swap(p[0], p[2]);
    }
  }
  return true;
}

// Under its own setjmp, like Decode.
PngTrueColour DecodeTrueColour(PngReadState& s, CFileBuffer& file, const PngRowsFn& rowsFor) {
  if (setjmp(png_jmpbuf(s.png))) return PngTrueColour::kFailed;
  PngHeader h;
  if (!ReadHeader(s, file, h)) return PngTrueColour::kFailed;
  const bool alpha = h.colorType == PNG_COLOR_TYPE_RGB_ALPHA;
  if ((h.colorType != PNG_COLOR_TYPE_RGB && !alpha) || HasTransparency(s, h.colorType))
    return PngTrueColour::kOtherKind;
  png_set_strip_16(s.png);
  png_set_bgr(s.png);
  // Opaque pictures get the alpha byte 0xFF that the 24-bit expansion gives.
  if (!alpha) png_set_filler(s.png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(s.png);
  png_read_update_info(s.png, s.info);
  if (png_get_rowbytes(s.png, s.info) != static_cast<size_t>(h.width) * 4) return PngTrueColour::kFailed;
  uint32_t* const pixels = rowsFor(static_cast<int>(h.width), static_cast<int>(h.height), alpha);
  if (!pixels) return PngTrueColour::kFailed;
  s.rows.resize(h.height);
  for (png_uint_32 i = 0; i < h.height; ++i)
    s.rows[i] = reinterpret_cast<png_bytep>(pixels + static_cast<size_t>(i) * h.width);
  png_read_image(s.png, s.rows.data());
  png_read_end(s.png, nullptr);
  return PngTrueColour::kDone;
}

// A read struct and its info, freed on every way out.
class PngReader {
 public:
  PngReader() {
    m_state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, SilentError, SilentWarning);
    if (m_state.png) m_state.info = png_create_info_struct(m_state.png);
  }
  ~PngReader() {
    if (m_state.png) png_destroy_read_struct(&m_state.png, m_state.info ? &m_state.info : nullptr, nullptr);
  }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;
  bool ok() const { return m_state.png && m_state.info; }
  PngReadState& state() { return m_state; }

 private:
  PngReadState m_state;
};

}  // namespace

PngTrueColour LoadTrueColourPng(const std::string& path, const PngRowsFn& rowsFor) {
  CFileBuffer file;
  if (file.Read(path) != 0) return PngTrueColour::kFailed;
  PngReader reader;
  if (!reader.ok()) return PngTrueColour::kFailed;
  return DecodeTrueColour(reader.state(), file, rowsFor);
}

uint8_t LoadPngToDib(const std::string& path, CDibImage* image, int, int) {
  if (!image) return 0;
  CFileBuffer file;
  if (file.Read(path) != 0) return 0;
  PngReader reader;
  return reader.ok() && Decode(reader.state(), file, *image) ? 1 : 0;
}
