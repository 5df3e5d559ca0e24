// The image cache through which every game picture is loaded: decoded surfaces kept by name and
// scale, handed out as copies that the caller owns, or shared with readers that never write, so a
// picture shown again costs a copy or nothing instead of a decode. Its size is the configuration's cache size (0 to 150
// entries; 0 decodes every time).
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "sdk/graphics/mem_plane.h"

constexpr int kImageCacheEntries = 150;

// A new surface of the picture, owned by the caller, or null when the file cannot be loaded.
std::unique_ptr<CMemPlane> LoadImageCached(std::string_view fileName, double scale);
// The cached surface itself, shared with the cache, or null when the file cannot be loaded: for a
// holder that never writes into it (a layer shows its picture as loaded), so that the picture is
// held once instead of once more for each holder. Counted and evicted like LoadImageCached; an
// evicted or forgotten surface lives on with its holders.
std::shared_ptr<CMemPlane> LoadImageShared(std::string_view fileName, double scale);
// Drops the cached surfaces of one file (every scale): the file was replaced, so its next lookup
// decodes the new picture.
void ForgetCachedImage(std::string_view fileName);
// Deletes every cached surface and zeroes the counters.
void FlushImageCache();

// Lookups and hits since the last flush (the information overlay's hit rate).
int32_t ImageCacheLookups();
int32_t ImageCacheHits();
// The entries in use now: the configured size clamped to 0..150.
int ImageCacheSize();
// The use count of an entry (tests follow eviction through it); 0 for an empty entry.
int32_t ImageCacheUseCount(int entry);

// An independent copy of a surface: its pixels, its per-pixel alpha flag and its colour key. Null
// when the surface has no pixels or no memory is left.
std::unique_ptr<CMemPlane> CopyMemPlane(const CMemPlane& source);
