#include "fuzz_support.h"

#include <string>

#include "platform/message_box.h"
#include "platform/path.h"
#include "sdk/framework/path_functions.h"

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
