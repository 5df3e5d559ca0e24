// Reads a reader's PCM data as a sound's load does, in pieces and bounded, so that a file that
// claims a huge size stays quick to fuzz.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "sdk/sound/pcm_reader.h"

inline void ReadAllPcm(CPCMReader& reader) {
  reader.SetLoop(0);
  const uint32_t total = std::min<uint32_t>(reader.GetPCMSize(), 4u << 20);
  std::vector<uint8_t> pcm(64 * 1024);
  for (uint32_t done = 0; done < total;) {
    const uint32_t got = reader.Read(pcm.data(), std::min<uint32_t>(total - done, static_cast<uint32_t>(pcm.size())));
    if (got == 0) break;
    done += got;
  }
}
