#include "game/system/game_wallpaper.h"

#include "game/app/error_box.h"
#include "game/system/file_utils.h"
#include "platform/sjis_literal.h"
#include "sdk/framework/wallpaper.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/mem_plane_impl.h"

bool SetGamePictureAsWallpaper(const CMemPlane* picture) {
  CreateDirectories("savedata");
  const CMemPlaneImpl* impl = picture ? picture->GetImpl() : nullptr;
  if (!impl || !impl->GetPixels() || impl->Save(kWallpaperFile, nullptr) != 0 ||
      SetDesktopWallpaper(kWallpaperFile) != 0) {
    ErrorBox("壁紙の設定に失敗しました"_sj);
    return false;
  }
  return true;
}
