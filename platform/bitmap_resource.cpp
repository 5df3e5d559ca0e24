#include "platform/bitmap_resource.h"

#include <QImage>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/path.h"

namespace platform {
namespace {

std::mutex registryLock;
// Kept decoded: registering has to decode the bytes to know they are a picture, and every load
// would otherwise decode them again.
std::map<UINT, QImage>& Resources() {
  static std::map<UINT, QImage> resources;
  return resources;
}

QImage DecodeImage(std::span<const uint8_t> bytes) {
  QImage image;
  if (bytes.empty() || bytes.size() > static_cast<size_t>(INT32_MAX) ||
      !image.loadFromData(bytes.data(), static_cast<int>(bytes.size())))
    return {};
  return image.convertToFormat(QImage::Format_RGB32);
}

std::unique_ptr<Bitmap> ToBitmap(const QImage& image) {
  if (image.isNull()) return nullptr;
  auto bitmap = CreateDIBSection32(image.width(), image.height());
  if (!bitmap) return nullptr;
  for (int y = 0; y < image.height(); ++y) {
    const auto* src = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
    auto* dst = reinterpret_cast<uint32_t*>(bitmap->Row(y));
    for (int x = 0; x < image.width(); ++x) dst[x] = src[x] & 0xFFFFFF;
  }
  return bitmap;
}

}  // namespace

bool RegisterBitmapResource(UINT id, std::span<const uint8_t> imageFile) {
  QImage image = DecodeImage(imageFile);
  if (image.isNull()) return false;
  std::lock_guard guard(registryLock);
  Resources()[id] = std::move(image);
  return true;
}

std::unique_ptr<Bitmap> LoadBitmapResource(UINT id) {
  QImage image;
  {
    std::lock_guard guard(registryLock);
    const auto it = Resources().find(id);
    if (it == Resources().end()) return nullptr;
    // Shared, not copied: the registry's picture is never written to.
    image = it->second;
  }
  return ToBitmap(image);
}

std::unique_ptr<Bitmap> LoadBitmapFile(std::string_view path) {
  std::string host;
  if (!ExactHostPath(path, host)) return nullptr;
  std::ifstream in(host, std::ios::binary);
  if (!in) return nullptr;
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return ToBitmap(DecodeImage(bytes));
}

}  // namespace platform
