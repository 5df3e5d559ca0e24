#include "game/seen_lists.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "game/error_box.h"
#include "game/fixed_text.h"
#include "sdk/framework/path_functions.h"
#include "platform/sjis_literal.h"

SeenNameList<kSeenPictures> SeenPictureList = {};
SeenNameList<kSeenScenes> SeenSceneList = {};
CIniProfile PictureProfile;
CIniProfile SceneProfile;

namespace {

template <int N>
bool Exchange(CIniProfile& profile, bool read, const char* section, const char* countKey, const char* maxKey,
              SeenNameList<N>& list) {
  profile.SetReadMode(read);
  if (!profile.IOProfileData(section, countKey, &list.count)) {
    ReportMissingIniKey(section, countKey);
    return false;
  }
  if (!profile.IOProfileData(section, maxKey, &list.maximum)) {
    ReportMissingIniKey(section, maxKey);
    return false;
  }
  // The file decides the numbers, but the lists hold no more than N names.
  list.count = std::clamp(list.count, 0, N);
  list.maximum = std::clamp(list.maximum, 0, N);
  for (int i = 0; i < list.count; ++i) {
    char key[16];
    std::snprintf(key, sizeof key, "Key[%03d]", i);
    profile.IOProfileString(section, key, list.names[i], kSeenNameBytes);
  }
  return true;
}

}  // namespace

bool ExchangeSeenLists(int mode) {
  const bool read = mode == kSeenListsRead;
  return Exchange(PictureProfile, read, "Pictures", "Picture", "MaxPicture", SeenPictureList) &&
         Exchange(SceneProfile, read, "Scenes", "Scene", "MaxScene", SeenSceneList);
}

void AddSeenPicture(std::string_view name) {
  char seen[kSeenNameBytes];
  std::string lower(name.substr(0, SjisFitLength(name, kSeenNameBytes - 1)));
  ToLowerSJIS(lower);
  CopyFixedText(seen, lower);
  if (seen[0] == '\0') return;
  SeenNameList<kSeenPictures>& list = SeenPictureList;
  for (int i = 0; i < list.maximum && i < kSeenPictures; ++i) {
    char* entry = list.names[i];
    if (std::strncmp(entry, seen, kSeenNameBytes) == 0) return;
    if (entry[0] == '\0') {
      std::memcpy(entry, seen, kSeenNameBytes);
      ++list.count;
      ExchangeSeenLists(kSeenListsWrite);
      const std::string header = std::string("Meridianeピクチャ設定ファイル "_sj) + kSeenMakerMark +
                                 "※このファイルをむやみやたらに変更してはいけません"_sj;
      PictureProfile.WriteProfile(nullptr, header.c_str());
      return;
    }
  }
}

void ClearSeenLists() {
  for (auto& name : SeenPictureList.names) name[0] = '\0';
  for (auto& name : SeenSceneList.names) name[0] = '\0';
}
