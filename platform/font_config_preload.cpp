#include "platform/font_config_preload.h"

#include <fontconfig/fontconfig.h>

#include <future>
#include <system_error>

namespace platform {

void StartLoadingFontConfig() {
  try {
    // Held until exit, whose destruction of it waits for the helper: the process never ends while
    // the font library is half way through building its configuration.
    static const std::future<void> loading = std::async(std::launch::async, [] { FcInit(); });
  } catch (const std::system_error&) {
    // No thread to spare: the configuration is read on first use instead.
  }
}

}  // namespace platform
