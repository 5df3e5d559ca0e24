// The scene gallery: a page of twelve thumbnails of the scenes a script listed, from which the
// player picks a seen scene to replay; the pick is reported as the buttons' clicked result.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "sdk/graphics/mem_plane.h"

constexpr int kGalleryEntries = 300;
constexpr int kGalleryNameBytes = 128;
constexpr int kGalleryCells = 12;
constexpr int32_t kGalleryPickBase = 100;

struct SceneGalleryState {
  char keys[kGalleryEntries][kGalleryNameBytes];
  char thumbs[kGalleryEntries][kGalleryNameBytes];  // lower case
  int32_t count = 0;
  int32_t page = 0;
  int32_t pageBuilt = -1;
  bool active = false;
  std::array<std::unique_ptr<CMemPlane>, kGalleryCells> thumbnails;
  std::array<bool, kGalleryCells> seen{};
};
extern SceneGalleryState SceneGallery;

// Empty, inactive, page 0, nothing built; the scene replay ends.
void InitSceneMode();
// The key of the next entry (the count does not change); nothing when the list is full.
void AddSceneModeKey(std::string_view key);
// The thumbnail name of the next entry, lower-cased, which completes it; nothing when full.
void AddSceneModeThumb(std::string_view name);
void StartSceneMode();
// Thumbnails deleted, inactive, empty.
void EndSceneMode();
// The gallery's frame while it is active.
void DrawSceneMode();
