// Decoded frames of an AVI video stream, and drawing them, in the shape of the system's frame
// decompressor and DIB drawing library.
//
// Contract:
// - Open fails (null) when there is no decoder for the stream's codec, or the first frame cannot
//   be decoded or is larger than the memory surfaces' limits.
// - GetFrame(n) hands out a packed DIB (a BITMAPINFOHEADER followed by its pixels: 32 bits,
//   top-down (a negative height), no colour table) of frame n, valid until the next call. Frame n + 1 after n
//   decodes one chunk; any other n decodes forward from the key frame at or before it. An empty
//   chunk repeats the previous picture; n past the end gives the last frame; a decoded picture
//   whose size differs from the first is skipped (the previous one stays). Null when nothing
//   has been decoded at all.
// - One decoding thread: frame threads would hand pictures out late.
// - DrawDibDraw draws a packed DIB 1:1 at (x, y), within the DC's output rectangle, as
//   SetDIBitsToDevice does; a 32-bit top-down DIB onto a 32-bit bitmap is copied row by row.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/avi_file.h"
#include "platform/dib.h"
#include "platform/mem_dc.h"

namespace platform {

class AviFrameDecoder;

class AviGetFrame {
 public:
  ~AviGetFrame();
  AviGetFrame(const AviGetFrame&) = delete;
  AviGetFrame& operator=(const AviGetFrame&) = delete;

  // A decoder over its own reader of the stream's file.
  static std::unique_ptr<AviGetFrame> Open(const AviStream& stream);
  const BITMAPINFOHEADER* GetFrame(int32_t n);

 private:
  explicit AviGetFrame(std::unique_ptr<AviFrameDecoder> decoder);
  std::unique_ptr<AviFrameDecoder> m_decoder;
};

// True when the DIB was drawn.
bool DrawDibDraw(HDC dc, int x, int y, const BITMAPINFOHEADER* dib);

}  // namespace platform
