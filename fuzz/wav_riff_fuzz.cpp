// Wave files of every kind, read as a sound's load reads them: a reader picked by content, then
// its whole PCM data (bounded here, so that a format that claims a huge size stays quick).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sdk/framework/memory_file.h"
#include "sdk/sound/pcm_reader_factory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<unsigned char> bytes(data, data + size);
  CMemoryFile lent(bytes);
  CPCMReaderFactory factory;
  PcmReaderPtr reader = factory.CreateReader(lent.Name());
  if (!reader) return 0;
  reader->SetLoop(0);
  reader->GetLength();
  reader->GetPosition();
  const uint32_t total = std::min<uint32_t>(reader->GetPCMSize(), 4u << 20);
  std::vector<uint8_t> pcm(64 * 1024);
  for (uint32_t done = 0; done < total;) {
    const uint32_t got = reader->Read(pcm.data(), std::min<uint32_t>(total - done, static_cast<uint32_t>(pcm.size())));
    if (got == 0) break;
    done += got;
  }
  // Reading again from a byte position, one byte at a time, as small reads do.
  reader->SetLoop(1);
  reader->SetPosition(reader->MsToBytes(1000));
  for (int i = 0; i < 64; ++i) reader->Read(pcm.data(), 1);
  return 0;
}
