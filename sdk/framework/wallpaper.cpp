#include "sdk/framework/wallpaper.h"

#include "platform/desktop_wallpaper.h"
#include "platform/path.h"
#include "sdk/framework/file_buffer.h"
#include "sdk/framework/path_functions.h"

int SetDesktopWallpaper(const char* imagePath) {
  if (imagePath == nullptr) return 1;
  CFileBuffer image;
  if (image.Read(imagePath) != 0) return 1;
  const std::string folder = GetWindowsDir();
  if (folder.empty()) return 1;
  const std::string target = folder + GetFileNamePart(imagePath);
  if (image.Save(target) != 0) return 1;
  return platform::SetDesktopWallpaperImage(platform::HostPath(target)) ? 0 : 1;
}
