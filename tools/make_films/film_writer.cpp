#include "tools/make_films/film_writer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <jpeglib.h>

namespace film_writer {

namespace {

void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
void Tag(std::vector<uint8_t>& b, const char* t) { b.insert(b.end(), t, t + 4); }
void Set32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// Opens a chunk or list; Close fills in its size.
size_t Open(std::vector<uint8_t>& b, const char* id, const char* listType = nullptr) {
  Tag(b, id);
  const size_t at = b.size();
  Put32(b, 0);
  if (listType) Tag(b, listType);
  return at;
}
void Close(std::vector<uint8_t>& b, size_t at) {
  Set32(b, at, static_cast<uint32_t>(b.size() - at - 4));
  if (b.size() & 1) b.push_back(0);
}

void StreamHeader(std::vector<uint8_t>& b, const char* type, uint32_t handler, uint32_t scale, uint32_t rate,
                  uint32_t start, uint32_t length, uint32_t sampleSize, int32_t w, int32_t h) {
  const size_t at = Open(b, "strh");
  Tag(b, type);
  Put32(b, handler);
  Put32(b, 0);  // flags
  Put32(b, 0);  // priority, language
  Put32(b, 0);  // initial frames
  Put32(b, scale);
  Put32(b, rate);
  Put32(b, start);
  Put32(b, length);
  Put32(b, 0);  // suggested buffer size
  Put32(b, 0xFFFFFFFF);
  Put32(b, sampleSize);
  Put16(b, 0);
  Put16(b, 0);
  Put16(b, static_cast<uint32_t>(w));
  Put16(b, static_cast<uint32_t>(h));
  Close(b, at);
}

}  // namespace

std::vector<uint8_t> MakeAvi(const Film& film) {
  std::vector<uint8_t> b;
  const size_t riff = Open(b, "RIFF", "AVI ");
  const size_t hdrl = Open(b, "LIST", "hdrl");
  const size_t avih = Open(b, "avih");
  const Video* v = film.video ? &*film.video : nullptr;
  const Audio* a = film.audio ? &*film.audio : nullptr;
  Put32(b, v && v->rate ? static_cast<uint32_t>(1000000ull * v->scale / v->rate) : 0);
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, film.index ? 0x10 : 0);
  Put32(b, v ? static_cast<uint32_t>(v->frames.size()) : 0);
  Put32(b, 0);
  Put32(b, (v ? 1 : 0) + (a ? 1 : 0));
  Put32(b, 0);
  Put32(b, v ? static_cast<uint32_t>(v->width) : 0);
  Put32(b, v ? static_cast<uint32_t>(v->height) : 0);
  for (int i = 0; i < 4; ++i) Put32(b, 0);
  Close(b, avih);

  uint32_t audioBlock = 1, audioRate = 0, audioScale = 0, audioSampleSize = 0;
  if (a && a->format.size() >= 16) {
    audioBlock = a->format[12] | a->format[13] << 8;
    const uint32_t bytesPerSec = Get32(a->format, 8);
    audioScale = a->scale || a->rate ? a->scale : audioBlock;
    audioRate = a->scale || a->rate ? a->rate : bytesPerSec;
    audioSampleSize = a->sampleSize.value_or(audioBlock);
  }
  if (v) {
    const size_t strl = Open(b, "LIST", "strl");
    StreamHeader(b, "vids", v->compression, v->scale, v->rate, v->start,
                 v->length.value_or(static_cast<uint32_t>(v->frames.size())), 0, v->width, v->height);
    const size_t strf = Open(b, "strf");
    Put32(b, 40);
    Put32(b, static_cast<uint32_t>(v->width));
    Put32(b, static_cast<uint32_t>(v->height));
    Put16(b, 1);
    Put16(b, 24);
    Put32(b, v->compression);
    Put32(b, static_cast<uint32_t>(((static_cast<uint64_t>(v->width) * 3 + 3) & ~uint64_t{3}) *
                                   static_cast<uint64_t>(v->height)));
    for (int i = 0; i < 4; ++i) Put32(b, 0);
    Close(b, strf);
    Close(b, strl);
  }
  if (a) {
    const size_t strl = Open(b, "LIST", "strl");
    const uint32_t length = a->length.value_or(audioSampleSize ? static_cast<uint32_t>(a->data.size() / audioSampleSize)
                                                               : static_cast<uint32_t>(a->data.size()));
    StreamHeader(b, "auds", 0, audioScale, audioRate, 0, length, audioSampleSize, 0, 0);
    const size_t strf = Open(b, "strf");
    b.insert(b.end(), a->format.begin(), a->format.end());
    Close(b, strf);
    Close(b, strl);
  }
  Close(b, hdrl);

  struct Entry {
    const char* id;
    uint32_t flags, offset, size;
  };
  std::vector<Entry> index;
  const size_t movi = Open(b, "LIST", "movi");
  const size_t moviStart = movi + 4;  // index offsets count from the list's type
  const std::string vid = "00dc", aud = v ? "01wb" : "00wb";
  size_t audioAt = 0;
  const size_t frames = v ? v->frames.size() : 0;
  const size_t audioChunks = a && a->chunkBytes ? (a->data.size() + a->chunkBytes - 1) / a->chunkBytes : 0;
  for (size_t i = 0; i < std::max(frames, audioChunks); ++i) {
    if (a && audioAt < a->data.size()) {
      const size_t n = std::min<size_t>(a->chunkBytes, a->data.size() - audioAt);
      const uint32_t off = static_cast<uint32_t>(b.size() - moviStart);
      const size_t at = Open(b, aud.c_str());
      b.insert(b.end(), a->data.begin() + static_cast<ptrdiff_t>(audioAt),
               a->data.begin() + static_cast<ptrdiff_t>(audioAt + n));
      Close(b, at);
      index.push_back({aud.c_str(), 0x10, off, static_cast<uint32_t>(n)});
      audioAt += n;
    }
    if (i < frames) {
      const uint32_t off = static_cast<uint32_t>(b.size() - moviStart);
      const size_t at = Open(b, vid.c_str());
      b.insert(b.end(), v->frames[i].begin(), v->frames[i].end());
      Close(b, at);
      index.push_back({vid.c_str(), 0x10, off, static_cast<uint32_t>(v->frames[i].size())});
    }
  }
  Close(b, movi);
  if (film.index) {
    const size_t idx = Open(b, "idx1");
    for (const Entry& e : index) {
      Tag(b, e.id);
      Put32(b, e.flags);
      Put32(b, e.offset);
      Put32(b, e.size);
    }
    Close(b, idx);
  }
  Close(b, riff);
  return b;
}

std::vector<uint8_t> Rows24(int32_t width, int32_t height, uint32_t (*rgb)(int, int, int), int frame) {
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  std::vector<uint8_t> rows(stride * height, 0);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = &rows[stride * (height - 1 - y)];
    for (int x = 0; x < width; ++x) {
      const uint32_t c = rgb(x, y, frame);
      row[3 * x] = static_cast<uint8_t>(c);
      row[3 * x + 1] = static_cast<uint8_t>(c >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(c >> 16);
    }
  }
  return rows;
}

std::vector<uint8_t> Solid24(int32_t width, int32_t height, uint32_t rgb) {
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  std::vector<uint8_t> rows(stride * height, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      rows[stride * y + 3 * x] = static_cast<uint8_t>(rgb);
      rows[stride * y + 3 * x + 1] = static_cast<uint8_t>(rgb >> 8);
      rows[stride * y + 3 * x + 2] = static_cast<uint8_t>(rgb >> 16);
    }
  return rows;
}

std::vector<uint8_t> Jpeg(int32_t width, int32_t height, uint32_t (*rgb)(int, int, int), int frame, int quality) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels[static_cast<size_t>(y) * width + x] = rgb(x, y, frame);
  return JpegPixels(width, height, pixels, quality);
}

std::vector<uint8_t> JpegPixels(int32_t width, int32_t height, std::span<const uint32_t> pixels, int quality) {
  if (width <= 0 || height <= 0 || pixels.size() < static_cast<size_t>(width) * height) return {};
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = static_cast<JDIMENSION>(width);
  c.image_height = static_cast<JDIMENSION>(height);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  jpeg_start_compress(&c, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
  while (c.next_scanline < c.image_height) {
    const uint32_t* source = &pixels[static_cast<size_t>(c.next_scanline) * width];
    for (int x = 0; x < width; ++x) {
      row[3 * x] = static_cast<uint8_t>(source[x] >> 16);
      row[3 * x + 1] = static_cast<uint8_t>(source[x] >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(source[x]);
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<uint8_t> bytes(out, out + size);
  jpeg_destroy_compress(&c);
  std::free(out);
  return bytes;
}

bool SplitWave(const std::vector<uint8_t>& wave, std::vector<uint8_t>& format, std::vector<uint8_t>& data) {
  if (wave.size() < 12) return false;
  size_t at = 12;
  bool haveFormat = false, haveData = false;
  while (at + 8 <= wave.size()) {
    const uint32_t size = Get32(wave, at + 4);
    if (size > wave.size() - at - 8) return false;
    if (std::memcmp(&wave[at], "fmt ", 4) == 0) {
      format.assign(wave.begin() + static_cast<ptrdiff_t>(at + 8),
                    wave.begin() + static_cast<ptrdiff_t>(at + 8 + size));
      haveFormat = true;
    } else if (std::memcmp(&wave[at], "data", 4) == 0) {
      data.assign(wave.begin() + static_cast<ptrdiff_t>(at + 8), wave.begin() + static_cast<ptrdiff_t>(at + 8 + size));
      haveData = true;
    }
    at += 8 + size + (size & 1);
  }
  return haveFormat && haveData;
}

}  // namespace film_writer
