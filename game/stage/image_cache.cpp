#include "game/stage/image_cache.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "game/app/config.h"

namespace {

struct ImageCacheEntry {
  // The whole name, however long: two names that share their first bytes never swap pictures.
  std::string fileName;
  std::shared_ptr<CMemPlane> surface;
  double scale = 0;
  int32_t useCount = 0;
};

std::array<ImageCacheEntry, kImageCacheEntries> cacheEntries;
int32_t cacheLookups = 0;
int32_t cacheHits = 0;

std::unique_ptr<CMemPlane> Decode(std::string_view fileName, double scale) {
  auto surface = std::make_unique<CMemPlane>();
  if (surface->Load(fileName, 0, scale) != 0) return nullptr;
  return surface;
}

// Loads the file into an entry; the entry stays empty when the load fails.
std::shared_ptr<CMemPlane> Fill(ImageCacheEntry& entry, std::string_view fileName, double scale, int32_t useCount) {
  entry.surface = Decode(fileName, scale);
  if (!entry.surface) {
    entry = ImageCacheEntry{};
    return nullptr;
  }
  entry.fileName.assign(fileName);
  entry.scale = scale;
  entry.useCount = useCount;
  return entry.surface;
}

// The entry's surface for the picture, decoded into an entry first when none holds it; a fresh
// decode that no entry keeps when the cache has no entries.
std::shared_ptr<CMemPlane> Lookup(std::string_view fileName, double scale) {
  ++cacheLookups;
  const int n = ImageCacheSize();
  if (n == 0) return Decode(fileName, scale);
  const std::span<ImageCacheEntry> entries(cacheEntries.data(), static_cast<size_t>(n));
  for (ImageCacheEntry& e : entries) {
    if (e.useCount != 0) --e.useCount;
  }
  for (ImageCacheEntry& e : entries) {
    if (e.surface && e.scale == scale && e.fileName == fileName) {
      ++e.useCount;
      ++cacheHits;
      return e.surface;
    }
  }
  auto free = std::find_if(entries.begin(), entries.end(), [](const ImageCacheEntry& e) { return !e.surface; });
  if (free != entries.end()) return Fill(*free, fileName, scale, 1);
  // The least used entry goes, the first of them on a tie; the newcomer starts one use ahead.
  auto victim =
      std::min_element(entries.begin(), entries.end(),
                       [](const ImageCacheEntry& a, const ImageCacheEntry& b) { return a.useCount < b.useCount; });
  victim->surface.reset();
  return Fill(*victim, fileName, scale, 2);
}

}  // namespace

std::unique_ptr<CMemPlane> CopyMemPlane(const CMemPlane& source) {
  const CMemPlaneImpl& from = *source.GetImpl();
  if (!from.GetPixels()) return nullptr;
  auto copy = std::make_unique<CMemPlane>();
  CMemPlaneImpl& to = *copy->GetImpl();
  if (to.AllocPixels(from.Width(), from.Height()) != 0) return nullptr;
  std::memcpy(to.GetPixels(), from.GetPixels(), static_cast<size_t>(from.Width()) * from.Height() * 4);
  *to.GetHasAlphaPtr() = from.HasAlpha();
  const uint32_t key = from.GetColorKey();
  to.SetColorKey(static_cast<int>((key >> 16) & 0xFF), static_cast<int>((key >> 8) & 0xFF),
                 static_cast<int>(key & 0xFF));
  return copy;
}

int ImageCacheSize() { return std::clamp(Config.imageCacheSize, 0, kImageCacheEntries); }

std::unique_ptr<CMemPlane> LoadImageCached(std::string_view fileName, double scale) {
  // Without entries the decode is the caller's alone: no copy is needed.
  if (ImageCacheSize() == 0) {
    ++cacheLookups;
    return Decode(fileName, scale);
  }
  const std::shared_ptr<CMemPlane> cached = Lookup(fileName, scale);
  return cached ? CopyMemPlane(*cached) : nullptr;
}

std::shared_ptr<CMemPlane> LoadImageShared(std::string_view fileName, double scale) { return Lookup(fileName, scale); }

void ForgetCachedImage(std::string_view fileName) {
  for (ImageCacheEntry& e : cacheEntries) {
    if (e.surface && e.fileName == fileName) e = ImageCacheEntry{};
  }
}

void FlushImageCache() {
  for (ImageCacheEntry& e : cacheEntries) e = ImageCacheEntry{};
  cacheLookups = 0;
  cacheHits = 0;
}

int32_t ImageCacheLookups() { return cacheLookups; }
int32_t ImageCacheHits() { return cacheHits; }

int32_t ImageCacheUseCount(int entry) {
  if (entry < 0 || entry >= kImageCacheEntries) return 0;
  return cacheEntries[static_cast<size_t>(entry)].useCount;
}
