// A whole Ogg file in memory and the callbacks through which the Vorbis decoder reads it.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vorbis/vorbisfile.h>

struct COggMemoryFile {
  int32_t state = -1;  // 0 loaded, -1 closed
  int32_t baseOffset = 0;
  int32_t size = 0;
  int32_t position = 0;
  struct Free {
    void operator()(unsigned char* p) const { std::free(p); }
  };
  std::unique_ptr<unsigned char, Free> data;

  // Reads the whole file through the file layer; false (nothing changed) on any failure.
  bool Load(const std::string& name);
  // Takes a copy of bytes (for readers fed from memory); false without memory.
  bool Assign(const unsigned char* bytes, size_t count);
  void Clear();
};

size_t OggMemRead(void* dst, size_t size, size_t count, void* file);
int OggMemSeek(void* file, ogg_int64_t offset, int origin);
int OggMemClose(void* file);
long OggMemTell(void* file);

// The four callbacks in the decoder's order.
ov_callbacks OggMemCallbacks();
