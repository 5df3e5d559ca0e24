#include "sdk/sound/wave_file.h"

#include "sdk/sound/mmio_file.h"
#include "sdk/sound/mp3_file.h"

std::unique_ptr<kmWaveFile> CreateWaveFile(const char* name) {
  std::unique_ptr<kmWaveFile> file = std::make_unique<kmMmioFile>();
  if (file->Open(name)) return file;
  file = std::make_unique<kmMp3File>();
  if (file->Open(name)) return file;
  return nullptr;
}
