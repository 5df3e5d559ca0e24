// The desktop wallpaper behind the game menu's wallpaper command.
#pragma once

// Copies the image (a plain file or an archive entry, unscrambled) under its own file name into the
// program's per-user data folder, replacing an earlier file of that name, and makes that copy the
// desktop's wallpaper. 0 on success, 1 on any failure (the wallpaper is then unchanged unless the
// desktop's tool itself failed).
int SetDesktopWallpaper(const char* imagePath);
