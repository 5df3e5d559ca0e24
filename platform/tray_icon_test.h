// Driving tray icons from tests (platform/tray_icon.h), where the desktop has no notification area.
#pragma once

#include <QImage>
#include <QSystemTrayIcon>
#include <string>

#include "platform/win_types.h"

namespace platform::tray_icon_test {

// While one lives, NIM_ADD succeeds without a notification area: the icons are kept, never shown,
// and can be looked at and clicked through the functions below. GUI thread only; not nested.
class StandInTray {
 public:
  StandInTray();
  ~StandInTray();
  StandInTray(const StandInTray&) = delete;
  StandInTray& operator=(const StandInTray&) = delete;
};

// What an icon would show.
struct Shown {
  std::string tip;  // Shift-JIS
  UINT callbackMessage = 0;
  QImage icon;      // null without one
};

// False when the window has no icon of that id.
bool Inspect(HWND hwnd, UINT id, Shown* shown);

// The toolkit reports a person's click on the icon, as it would from a real notification area.
bool Activate(HWND hwnd, UINT id, QSystemTrayIcon::ActivationReason reason);

}  // namespace platform::tray_icon_test
