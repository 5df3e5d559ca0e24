// The game menu's wallpaper: the game picture as the desktop's wallpaper.
#pragma once

class CMemPlane;

// The file the picture is written to, in the game's folder.
constexpr const char* kWallpaperFile = "savedata\\wallpaper.bmp";

// Writes the picture as a 24-bit BMP to kWallpaperFile (the folder made first, the file replaced in
// one step) and makes it the desktop's wallpaper. When there is no picture, the write fails or the
// desktop refuses, an error box says so and the result is false.
bool SetGamePictureAsWallpaper(const CMemPlane* picture);
