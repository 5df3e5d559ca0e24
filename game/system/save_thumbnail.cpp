#include "game/system/save_thumbnail.h"

#include <cstring>
#include <span>

#include "game/app/error_box.h"
#include "game/stage/image_cache.h"
#include "game/system/save_file.h"
#include "platform/dib.h"
#include "platform/file.h"
#include "platform/sjis_literal.h"
#include "sdk/framework/file_buffer.h"
#include "sdk/graphics/dib_image.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/mem_plane_impl.h"

namespace {

constexpr uint32_t kBmpHeaderBytes = 54;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kPixelsPerMetre = 3780;

void Put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

std::vector<uint8_t> MakeThumbnailBmp(const CMemPlane& picture) {
  const CMemPlaneImpl* impl = picture.GetImpl();
  if (!impl || !impl->GetPixels() || impl->Width() <= 0 || impl->Height() <= 0) return {};
  const int width = impl->Width();
  const int height = impl->Height();
  // Bottom-up, as the picture's BMP file reads back: the resampling sees the rows in that order.
  CDibImage image;
  if (!image.Create(width, height, 24)) return {};
  const int stride = image.GetStride();
  for (int y = 0; y < height; ++y) {
    const uint32_t* in = impl->GetRow(y);
    uint8_t* out = image.GetBits() + static_cast<size_t>(height - 1 - y) * static_cast<size_t>(stride);
    for (int x = 0; x < width; ++x, out += 3) {
      out[0] = static_cast<uint8_t>(in[x]);
      out[1] = static_cast<uint8_t>(in[x] >> 8);
      out[2] = static_cast<uint8_t>(in[x] >> 16);
    }
  }
  if (!image.Resize(kThumbnailWidth, kThumbnailHeight) || image.GetHeight() != kThumbnailHeight ||
      image.GetStride() != kThumbnailWidth * 3) {
    return {};
  }
  std::vector<uint8_t> file(kThumbnailFileBytes, 0);
  uint8_t* p = file.data();
  p[0] = 'B';
  p[1] = 'M';
  Put32(p + 2, static_cast<uint32_t>(kThumbnailFileBytes));
  Put32(p + 10, kBmpHeaderBytes);
  Put32(p + 14, kInfoHeaderBytes);
  Put32(p + 18, kThumbnailWidth);
  Put32(p + 22, kThumbnailHeight);
  Put16(p + 26, 1);
  Put16(p + 28, 24);
  Put32(p + 38, kPixelsPerMetre);
  Put32(p + 42, kPixelsPerMetre);
  std::memcpy(p + kBmpHeaderBytes, image.GetBits(), kThumbnailFileBytes - kBmpHeaderBytes);
  return file;
}

bool SaveSlot(std::string_view savePath, const CMemPlane* picture) {
  if (!WriteSaveBlock(savePath)) return false;
  if (!picture) return true;
  const std::vector<uint8_t> thumbnail = MakeThumbnailBmp(*picture);
  if (thumbnail.empty()) return true;
  const std::string thumbnailPath = SaveThumbnailPath(savePath);
  if (platform::WriteFileAtomically(thumbnailPath, thumbnail) != platform::WriteStatus::kOk) {
    ErrorBox("セーブデータの書き込みに失敗しました"_sj);
    return false;
  }
  ForgetCachedImage(thumbnailPath);
  return true;
}

std::unique_ptr<CMemPlane> LoadSlotThumbnail(std::string_view savePath) {
  const std::string path = SaveThumbnailPath(savePath);
  // A few dozen bytes of run-length data can claim a picture of hundreds of megabytes, and the load
  // screen decodes six of them at once: the size is settled from the header first.
  CFileBuffer file;
  if (file.Read(path) != kReadOk || !file.GetData()) return nullptr;
  int width = 0, height = 0;
  if (!ReadBmpSize(std::span<const uint8_t>(file.GetData(), file.GetSize()), &width, &height) ||
      width != kThumbnailWidth || platform::DibRows(height) != kThumbnailHeight) {
    return nullptr;
  }
  return LoadImageCached(path, 100);
}
