#include "platform/url_opener.h"

#include <QDesktopServices>
#include <QUrl>
#include <utility>

#include "platform/gui_app.h"
#include "platform/window_qt.h"

namespace platform {
namespace {

// Touched on the GUI thread only.
UrlOpenerHook& Hook() {
  static UrlOpenerHook hook;
  return hook;
}

}  // namespace

bool OpenUrl(std::string_view sjisUrl) {
  if (!IsGuiThread() || sjisUrl.empty()) return false;
  const QUrl url(SjisToQString(sjisUrl), QUrl::TolerantMode);
  if (!url.isValid() || url.scheme().isEmpty()) return false;
  if (Hook()) return Hook()(std::string(sjisUrl));
  // The desktop's opener takes the address as a single argument of a program it starts.
  return QDesktopServices::openUrl(url);
}

UrlOpenerHook SetUrlOpenerHook(UrlOpenerHook hook) { return std::exchange(Hook(), std::move(hook)); }

}  // namespace platform
