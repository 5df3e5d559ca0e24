// The thumbnail beside a save slot: the game picture shrunk to 120 x 90 and kept as a 24-bit
// bottom-up BMP file, made in memory and written once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

class CMemPlane;

constexpr int kThumbnailWidth = 120;
constexpr int kThumbnailHeight = 90;
constexpr size_t kThumbnailFileBytes = 54 + kThumbnailWidth * 3 * kThumbnailHeight;
static_assert(kThumbnailFileBytes == 32454);

// The thumbnail file of a picture: the picture as 24 bits, resampled to 120 x 90 and given the
// header a section's BMP writer gives it. Empty when the picture has no pixels.
std::vector<uint8_t> MakeThumbnailBmp(const CMemPlane& picture);

// Saves the snapshot to a slot file and then its thumbnail beside it, each replacing the old file
// in one step; the thumbnail is written only after the save succeeded, and the image cache forgets
// the old one. False (with the error box when a write failed) when the save was not made.
bool SaveSlot(std::string_view savePath, const CMemPlane* picture);

// The thumbnail of a slot's save, through the image cache. Null when the file is missing or its
// header claims any size but 120 x 90: such a file is never decoded, however large the picture it
// claims, and the slot shows the empty-slot picture.
std::unique_ptr<CMemPlane> LoadSlotThumbnail(std::string_view savePath);
