// AVI films made from frames and sound that the caller chose: uncompressed 24-bit or JPEG
// pictures, sound in any wave format. Every header field can be set, hostile values included,
// so the movie tests and the fuzz seeds come from here.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace film_writer {

struct Video {
  int32_t width = 0, height = 0;
  uint32_t rate = 15, scale = 1, start = 0;
  std::optional<uint32_t> length;  // default: the number of frames
  uint32_t compression = 0;        // 0: BI_RGB 24-bit; else a fourcc such as "MJPG"
  // One chunk per frame: bottom-up 24-bit rows (padded to 4 bytes) or a JPEG file; an empty
  // chunk repeats the previous picture.
  std::vector<std::vector<uint8_t>> frames;
};

struct Audio {
  std::vector<uint8_t> format;         // the "strf" bytes: a WAVEFORMATEX and its extra bytes
  uint32_t rate = 0, scale = 0;        // 0, 0: the format's byte rate over its block align
  std::optional<uint32_t> sampleSize;  // default: the block align
  std::optional<uint32_t> length;      // default: bytes / sample size
  std::vector<uint8_t> data;
  uint32_t chunkBytes = 4096;  // sound interleaved in chunks of this size
};

struct Film {
  std::optional<Video> video;
  std::optional<Audio> audio;
  bool index = true;
};

std::vector<uint8_t> MakeAvi(const Film& film);

// Frame pixels: rgb(x, y) = 0x00RRGGBB as rows for Video::frames.
std::vector<uint8_t> Rows24(int32_t width, int32_t height, uint32_t (*rgb)(int x, int y, int frame), int frame);
// A frame of one colour.
std::vector<uint8_t> Solid24(int32_t width, int32_t height, uint32_t rgb);
// A baseline JPEG of a frame (libjpeg-turbo); empty on failure.
std::vector<uint8_t> Jpeg(int32_t width, int32_t height, uint32_t (*rgb)(int x, int y, int frame), int frame,
                          int quality = 90);
// A baseline JPEG of top-down 0x00RRGGBB pixels, width x height of them; empty on failure.
std::vector<uint8_t> JpegPixels(int32_t width, int32_t height, std::span<const uint32_t> pixels, int quality = 90);

// The "fmt " and "data" contents of a RIFF WAVE file.
bool SplitWave(const std::vector<uint8_t>& wave, std::vector<uint8_t>& format, std::vector<uint8_t>& data);

}  // namespace film_writer
