#include "fuzz_support.h"

#include <string>

#include "platform/audio_mixer.h"
#include "platform/message_box.h"
#include "platform/path.h"
#include "sdk/framework/path_functions.h"
#include "sdk/sound/direct_sound.h"

namespace fuzz {

namespace {

int FirstButton(const platform::MessageBoxRequest& request) {
  switch (request.flags & 0x0F) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
      return IDYES;
    case MB_RETRYCANCEL:
      return IDRETRY;
    case MB_ABORTRETRYIGNORE:
      return IDABORT;
    default:
      return IDOK;
  }
}

}  // namespace

const ScopedTempDir& Environment() {
  static const ScopedTempDir folder;
  static const bool ready = [] {
    platform::SetMessageBoxHook(FirstButton);
    // The mixer is rendered by hand, as in the tests: no sound card is opened and closed for every
    // sound an input makes and drops, which costs a sound thread each time.
    platform::SetAudioManualRender(true);
    // The game holds its system sounds for its whole run, so its sound device stays open; so does
    // the one here, instead of being made and dropped for every sound an input makes and drops.
    AddSoundDeviceUser();
    std::string program;
    platform::ProgramPathFromHost(folder.path().string(), program);
    SetCurrentDir(program);
    return true;
  }();
  (void)ready;
  return folder;
}

void WriteFile(std::string_view name, std::span<const uint8_t> bytes) {
  Environment().Write(name, std::span<const unsigned char>(bytes.data(), bytes.size()));
}

}  // namespace fuzz
