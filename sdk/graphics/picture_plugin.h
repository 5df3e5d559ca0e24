// The calling interface of picture plug-in libraries ("spi/if" + extension + ".so" under the
// current directory). Each exports the three functions below with C linkage.
#pragma once

#include <cstdint>

// What GetPictureInfo fills. The loader relies on width and height only; the rest belongs to
// the plug-in.
struct PluginPictureInfo {
  int32_t left;
  int32_t top;
  int32_t width;
  int32_t height;
  uint16_t xDensity;
  uint16_t yDensity;
  int16_t colorDepth;
  void* textInfo;
};

extern "C" {
// Non-zero when the plug-in reads the data (at least 2048 bytes of it are given).
using PluginIsSupported = int (*)(const char* fileName, const void* data);
// Describes the picture held in memory (flag 1: the data is in memory).
using PluginGetPictureInfo = int (*)(const void* data, int32_t size, uint32_t flag, PluginPictureInfo* info);
// Decodes the picture into two blocks allocated with malloc: a BITMAPINFO with its colour table
// and the DIB's rows. 0 on success; the loader frees both blocks with free.
using PluginGetPicture = int (*)(const void* data, int32_t size, uint32_t flag, void** info, void** bits,
                                 void* progress, intptr_t user);
}
