// Wave files of every kind, read as a sound's load reads them: a reader picked by content, then
// its whole PCM data (bounded here, so that a format that claims a huge size stays quick).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/read_all_pcm.h"
#include "sdk/framework/memory_file.h"
#include "sdk/sound/pcm_reader_factory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<unsigned char> bytes(data, data + size);
  CMemoryFile lent(bytes);
  CPCMReaderFactory factory;
  PcmReaderPtr reader = factory.CreateReader(lent.Name());
  if (!reader) return 0;
  reader->GetLength();
  reader->GetPosition();
  ReadAllPcm(*reader);
  std::vector<uint8_t> pcm(16);
  // Reading again from a byte position, one byte at a time, as small reads do.
  reader->SetLoop(1);
  reader->SetPosition(reader->MsToBytes(1000));
  for (int i = 0; i < 64; ++i) reader->Read(pcm.data(), 1);
  return 0;
}
