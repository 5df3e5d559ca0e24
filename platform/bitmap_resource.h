// Bitmaps by resource id and from picture files, as 32-bit top-down DIB sections.
//
// Contract: RegisterBitmapResource keeps the picture an image file's bytes decode to under the id
// (replacing an earlier one; the bytes need not outlive the call); false for bytes that do not
// decode. LoadBitmapResource and LoadBitmapFile give a new bitmap (0x00RRGGBB pixels), or null for
// an unknown id, a missing or undecodable file, or a picture beyond the DIB section limit.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "platform/mem_dc.h"
#include "platform/win_types.h"

namespace platform {

bool RegisterBitmapResource(UINT id, std::span<const uint8_t> imageFile);
std::unique_ptr<Bitmap> LoadBitmapResource(UINT id);
// The path is an exact path (platform/path.h).
std::unique_ptr<Bitmap> LoadBitmapFile(std::string_view path);

}  // namespace platform
