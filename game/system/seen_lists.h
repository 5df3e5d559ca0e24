// The pictures (CGs) and scenes the player has seen, for the galleries: kept across runs in
// picture.ini and scene.ini through two ini profiles.
#pragma once

#include <cstdint>
#include <string_view>

#include "sdk/framework/ini_profile.h"

constexpr int kSeenPictures = 1000;
constexpr int kSeenScenes = 200;
constexpr int kSeenNameBytes = 80;

template <int N>
struct SeenNameList {
  char names[N][kSeenNameBytes];
  int32_t count;    // names in use
  int32_t maximum;  // as the file sets it, never above N
};

extern SeenNameList<kSeenPictures> SeenPictureList;  // names in lower case
extern SeenNameList<kSeenScenes> SeenSceneList;      // letter case kept

// picture.ini and scene.ini, built in this order before the game starts.
extern CIniProfile PictureProfile;
extern CIniProfile SceneProfile;

constexpr int kSeenListsWrite = 0;
constexpr int kSeenListsRead = 1;

// Mode 1 reads the profiles into the lists, mode 0 writes the lists into the profiles. False
// (after an error box) when a count key is missing.
bool ExchangeSeenLists(int mode);

// The maker's mark in the header lines of the two gallery files.
constexpr const char* kSeenMakerMark = "(C)vrel ";

// Records a picture as seen (lower-cased; names are cut to 79 bytes). A new name is added to the
// list and picture.ini is written at once; a name already there, an empty one or a full list
// changes nothing.
void AddSeenPicture(std::string_view name);

// Records a scene as seen (letter case kept; cut to 79 bytes) the same way, writing scene.ini.
void AddSeenScene(std::string_view name);

// True when one of the scene names in use is exactly name, cut to 79 bytes as a recorded name is.
bool IsSceneSeen(std::string_view name);

// Both lists empty.
void ClearSeenLists();
