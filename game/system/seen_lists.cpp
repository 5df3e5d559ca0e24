#include "game/system/seen_lists.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "game/app/error_box.h"
#include "game/text/fixed_text.h"
#include "platform/sjis_literal.h"
#include "sdk/framework/path_functions.h"

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

namespace {

// The header comment of a gallery file: its title, the maker's mark and the warning.
std::string SeenFileHeader(std::string_view title) {
  return std::string(title) + kSeenMakerMark + "※このファイルをむやみやたらに変更してはいけません"_sj;
}

// Puts name into the first empty entry below the list's maximum unless an entry already holds it
// (exact bytes), then writes the profile back with its header. Names are cut to 79 bytes on a
// character boundary.
template <int N>
void AddSeenName(SeenNameList<N>& list, std::string_view name, CIniProfile& profile, std::string_view title) {
  char seen[kSeenNameBytes];
  CopyFixedText(seen, name.substr(0, SjisFitLength(name, kSeenNameBytes - 1)));
  if (seen[0] == '\0') return;
  for (int i = 0; i < list.maximum && i < N; ++i) {
    char* entry = list.names[i];
    if (std::strncmp(entry, seen, kSeenNameBytes) == 0) return;
    if (entry[0] == '\0') {
      std::memcpy(entry, seen, kSeenNameBytes);
      ++list.count;
      ExchangeSeenLists(kSeenListsWrite);
      profile.WriteProfile(nullptr, SeenFileHeader(title).c_str());
      return;
    }
  }
}

}  // namespace

void AddSeenPicture(std::string_view name) {
  std::string lower(name.substr(0, SjisFitLength(name, kSeenNameBytes - 1)));
  ToLowerSJIS(lower);
  AddSeenName(SeenPictureList, lower, PictureProfile, "Meridianeピクチャ設定ファイル "_sj);
}

void AddSeenScene(std::string_view name) {
  AddSeenName(SeenSceneList, name, SceneProfile, "Meridianeシーン設定ファイル "_sj);
}

bool IsSceneSeen(std::string_view name) {
  // A name is recorded cut to its field; a long one is asked about the same way, or it would never
  // count as seen.
  name = name.substr(0, SjisFitLength(name, kSeenNameBytes - 1));
  const int count = std::clamp(SeenSceneList.count, 0, kSeenScenes);
  for (int i = 0; i < count; ++i) {
    const char* entry = SeenSceneList.names[i];
    if (std::string_view(entry, strnlen(entry, kSeenNameBytes)) == name) return true;
  }
  return false;
}

void ClearSeenLists() {
  for (auto& name : SeenPictureList.names) name[0] = '\0';
  for (auto& name : SeenSceneList.names) name[0] = '\0';
}
