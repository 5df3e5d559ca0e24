// MPEG audio files (ID3 tags, frame headers, frames), opened by path as the game opens them, then
// decoded as a sound's load decodes them (bounded here).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "fuzz/read_all_pcm.h"
#include "sdk/sound/mp3_file.h"
#include "sdk/sound/pcm_reader_factory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/vrel-mp3-fuzz-" + std::to_string(getpid()) + ".mp3";
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  kmMp3File file;
  if (file.Open(path.c_str())) {
    std::vector<uint8_t> raw(4096);
    file.Seek(-100);
    file.Read(raw.data(), static_cast<uint32_t>(raw.size()));
    file.Seek(1 << 30);
    file.Tell();
    file.Rewind();
  }
  CPCMReaderFactory factory;
  PcmReaderPtr reader = factory.CreateReader(path);
  if (reader) ReadAllPcm(*reader);
  std::remove(path.c_str());
  return 0;
}
