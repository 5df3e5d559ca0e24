#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jerror.h>
#include <jpeglib.h>

#include "platform/image_limits.h"
#include "platform/picture_decoders.h"

namespace platform {

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1); }

// Recoverable damage is decoded as far as it goes, but data that simply ends early is a broken
// file, not a picture.
void EmitMessage(j_common_ptr cinfo, int level) {
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) ErrorExit(cinfo);
}

void OutputMessage(j_common_ptr) {}

// Kept out of DecodeJpeg so that nothing with a destructor lives in the frame that longjmp
// returns to.
bool Decode(jpeg_decompress_struct& cinfo, ErrorManager& err, std::span<const uint8_t> data, Picture::Decoded& out) {
  if (setjmp(err.jump)) return false;
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
  if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) return false;
  // The size is checked before anything is allocated for the picture: a few bytes of header can
  // claim any size.
  if (!ImageSizeAllowed(cinfo.image_width, cinfo.image_height)) return false;
  const uint64_t pixels = uint64_t{cinfo.image_width} * cinfo.image_height;
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
  jpeg_start_decompress(&cinfo);
  if (cinfo.output_width != cinfo.image_width || cinfo.output_height != cinfo.image_height) return false;

  out.width = static_cast<int>(cinfo.output_width);
  out.height = static_cast<int>(cinfo.output_height);
  out.pixels.assign(static_cast<size_t>(pixels), 0);
  while (cinfo.output_scanline < cinfo.output_height) {
    uint32_t* row = out.pixels.data() + static_cast<size_t>(cinfo.output_scanline) * cinfo.output_width;
    JSAMPROW line = reinterpret_cast<JSAMPROW>(row);
    jpeg_read_scanlines(&cinfo, &line, 1);
    if (cmyk) {
      // Four samples a pixel, stored as written by Adobe applications: inverted.
      for (size_t x = 0; x < cinfo.output_width; ++x) {
        uint8_t s[4];
        std::memcpy(s, &row[x], 4);
        const unsigned k = s[3];
        row[x] = 0xFF000000u | ((s[0] * k / 255) << 16) | ((s[1] * k / 255) << 8) | (s[2] * k / 255);
      }
    }
  }
  jpeg_finish_decompress(&cinfo);
  return true;
}

}  // namespace

bool IsJpegData(std::span<const uint8_t> data) {
  return data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

bool DecodeJpeg(std::span<const uint8_t> data, Picture::Decoded& out) {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  std::memset(&cinfo, 0, sizeof cinfo);
  cinfo.err = jpeg_std_error(&err.base);
  err.base.error_exit = ErrorExit;
  err.base.emit_message = EmitMessage;
  err.base.output_message = OutputMessage;
  const bool ok = Decode(cinfo, err, data, out);
  jpeg_destroy_decompress(&cinfo);
  if (!ok) out = {};
  return ok;
}

}  // namespace platform
