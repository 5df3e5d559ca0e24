// The reader that would decode through the system's media streaming framework. There is no such
// framework here: making one always fails, as it does where the framework is missing, and the
// factory goes on to the next reader.
#pragma once

#include "sdk/sound/pcm_reader.h"

class CDirectShowPCMReader {
 public:
  // Null, with the failure text in the error log.
  static PcmReaderPtr Create();
};
