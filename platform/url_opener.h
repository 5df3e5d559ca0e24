// Opening a web address (or a mail address as "mailto:") in the desktop's own program for it.
//
// The address goes to the desktop as one address, never through a shell: characters such as
// "$ ; & !" in it stay characters of the address. OpenUrl is false, and nothing is opened, for an
// empty address or one without a scheme ("http:", "mailto:", ...), and when the desktop has
// nothing to open it with. GUI thread only.
//
// While a hook is installed it takes the desktop's place: it gets the address as given (Shift-JIS)
// and answers what OpenUrl returns. Tests use it; the editor's two callers never open a browser.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace platform {

bool OpenUrl(std::string_view sjisUrl);

using UrlOpenerHook = std::function<bool(const std::string& sjisUrl)>;
// Installs a hook (an empty one restores the desktop) and returns the previous one.
UrlOpenerHook SetUrlOpenerHook(UrlOpenerHook hook);

}  // namespace platform
