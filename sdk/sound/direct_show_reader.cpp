#include "sdk/sound/direct_show_reader.h"

#include "sdk/sound/sound_log.h"

PcmReaderPtr CDirectShowPCMReader::Create() {
  SoundLog("%s", "InitDirectShow Failed");
  return nullptr;
}
