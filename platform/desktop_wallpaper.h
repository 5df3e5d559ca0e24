// Setting the desktop's wallpaper through the settings tool of the desktop in use.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {

// Makes an image file (host path, absolute) the wallpaper of the desktop named by
// XDG_CURRENT_DESKTOP: GNOME-like desktops, Cinnamon and MATE through gsettings, KDE Plasma through
// plasma-apply-wallpaperimage. False when the desktop is none of these, its tool is missing or
// the tool fails.
bool SetDesktopWallpaperImage(const std::string& hostPath);

// Runs a program with its arguments (no shell) and gives its exit status, or -1 when it cannot be
// started.
using CommandRunner = std::function<int(const std::vector<std::string>& argv)>;

// Installs the runner the wallpaper setter uses (an empty one restores the real one) and returns
// the previous one.
CommandRunner SetCommandRunner(CommandRunner runner);

}  // namespace platform
