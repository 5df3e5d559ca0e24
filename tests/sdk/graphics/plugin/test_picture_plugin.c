/* A picture plug-in for the loader's tests. It reads "TSTP" files: the signature, the width and
   height as 16-bit little-endian values, a flag byte ('F' makes decoding fail), then RGB rows
   from the top. */
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

struct PictureInfo {
  int32_t left, top, width, height;
  uint16_t xDensity, yDensity;
  int16_t colorDepth;
  void* textInfo;
};

static int Width(const uint8_t* d) { return d[4] | (d[5] << 8); }
static int Height(const uint8_t* d) { return d[6] | (d[7] << 8); }

int IsSupported(const char* name, const void* data) {
  (void)name;
  return memcmp(data, "TSTP", 4) == 0;
}

int GetPictureInfo(const void* data, int32_t size, uint32_t flag, struct PictureInfo* info) {
  (void)size;
  (void)flag;
  memset(info, 0, sizeof *info);
  info->width = Width(data);
  info->height = Height(data);
  info->colorDepth = 24;
  return 0;
}

int GetPicture(const void* data, int32_t size, uint32_t flag, void** infoOut, void** bitsOut, void* progress,
               intptr_t user) {
  const uint8_t* d = data;
  (void)size;
  (void)flag;
  (void)progress;
  (void)user;
  if (d[8] == 'F') return 1;
  const int w = Width(d), h = Height(d), stride = (w * 3 + 3) & ~3;
  uint8_t* info = calloc(1, 44);
  uint8_t* bits = calloc(1, (size_t)stride * h);
  const int32_t header[3] = {40, w, h}; /* size, width, height: bottom-up */
  memcpy(info, header, sizeof header);
  info[12] = 1;  /* planes */
  info[14] = 24; /* bits per pixel */
  for (int y = 0; y < h; ++y) {
    const uint8_t* src = d + 9 + (size_t)y * w * 3;
    uint8_t* dst = bits + (size_t)(h - 1 - y) * stride;
    for (int x = 0; x < w; ++x) {
      dst[3 * x] = src[3 * x + 2];
      dst[3 * x + 1] = src[3 * x + 1];
      dst[3 * x + 2] = src[3 * x];
    }
  }
  *infoOut = info;
  *bitsOut = bits;
  return 0;
}
