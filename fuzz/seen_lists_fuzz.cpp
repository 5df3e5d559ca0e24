// The gallery records picture.ini and scene.ini as the game reads them at start (both from the same
// bytes here, each taking its own section), written back as at exit and read again at the next
// start, which must give the same lists.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fuzz_support.h"
#include "game/system/seen_lists.h"

namespace {

template <int N>
bool SameList(const SeenNameList<N>& a, const SeenNameList<N>& b) {
  if (a.count != b.count || a.maximum != b.maximum) return false;
  for (int i = 0; i < a.count; ++i) {
    if (std::strncmp(a.names[i], b.names[i], kSeenNameBytes) != 0) return false;
  }
  return true;
}

bool Start() {
  ClearSeenLists();
  SeenPictureList.count = SeenPictureList.maximum = 0;
  SeenSceneList.count = SeenSceneList.maximum = 0;
  SceneProfile = CIniProfile();
  PictureProfile = CIniProfile();
  return SceneProfile.ReadProfile("scene.ini") && PictureProfile.ReadProfile("picture.ini") &&
         ExchangeSeenLists(kSeenListsRead);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Environment();
  fuzz::WriteFile("scene.ini", {data, size});
  fuzz::WriteFile("picture.ini", {data, size});
  if (!Start()) return 0;
  static SeenNameList<kSeenPictures> pictures;
  static SeenNameList<kSeenScenes> scenes;
  pictures = SeenPictureList;
  scenes = SeenSceneList;
  if (!ExchangeSeenLists(kSeenListsWrite) || !SceneProfile.WriteProfile(nullptr, "scenes") ||
      !PictureProfile.WriteProfile(nullptr, "pictures")) {
    std::abort();
  }
  if (!Start() || !SameList(pictures, SeenPictureList) || !SameList(scenes, SeenSceneList)) std::abort();
  return 0;
}
