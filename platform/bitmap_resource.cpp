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
std::map<UINT, std::vector<uint8_t>>& Resources() {
  static std::map<UINT, std::vector<uint8_t>> resources;
  return resources;
}

std::unique_ptr<Bitmap> Decode(std::span<const uint8_t> bytes) {
  QImage image;
  if (bytes.empty() || bytes.size() > static_cast<size_t>(INT32_MAX) ||
      !image.loadFromData(bytes.data(), static_cast<int>(bytes.size())))
    return nullptr;
  image = image.convertToFormat(QImage::Format_RGB32);
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
  if (!Decode(imageFile)) return false;
  std::lock_guard guard(registryLock);
  Resources()[id].assign(imageFile.begin(), imageFile.end());
  return true;
}

std::unique_ptr<Bitmap> LoadBitmapResource(UINT id) {
  std::vector<uint8_t> bytes;
  {
    std::lock_guard guard(registryLock);
    const auto it = Resources().find(id);
    if (it == Resources().end()) return nullptr;
    bytes = it->second;
  }
  return Decode(bytes);
}

std::unique_ptr<Bitmap> LoadBitmapFile(std::string_view path) {
  std::string host;
  if (!ExactHostPath(path, host)) return nullptr;
  std::ifstream in(host, std::ios::binary);
  if (!in) return nullptr;
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return Decode(bytes);
}

}  // namespace platform
