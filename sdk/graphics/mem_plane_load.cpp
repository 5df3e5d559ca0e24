// Loading a memory surface by the file's extension.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/sjis.h"
#include "sdk/framework/file_buffer.h"
#include "sdk/graphics/bma_format.h"
#include "sdk/graphics/mem_plane_impl.h"

namespace {

// The text after the last "." of the file-name part, ASCII letters lower-cased; trail bytes of
// double-byte characters are never taken for separators or letters.
std::string LowerExtension(std::string_view name) {
  size_t nameStart = 0;
  size_t dot = std::string_view::npos;
  for (size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (platform::IsSjisLead(c)) {
      ++i;
    } else if (c == '\\' || c == '/') {
      nameStart = i + 1;
      dot = std::string_view::npos;
    } else if (c == '.') {
      dot = i;
    }
  }
  if (dot == std::string_view::npos || dot < nameStart) return {};
  std::string ext(name.substr(dot + 1));
  for (size_t i = 0; i < ext.size(); ++i) {
    const auto c = static_cast<unsigned char>(ext[i]);
    if (platform::IsSjisLead(c))
      ++i;
    else if (c >= 'A' && c <= 'Z')
      ext[i] = static_cast<char>(c - 'A' + 'a');
  }
  return ext;
}

}  // namespace

int CMemPlaneImpl::Load(std::string_view fileName, int, double) {
  Release();
  const std::string ext = LowerExtension(fileName);
  if (ext == "bma") {
    const int r = LoadBMA(fileName);
    if (r == 0) {
      SetColorKeyPos(0, 0);
      m_loaded = true;
      m_hasAlpha = true;
    }
    return r;
  }
  return 1;
}

int CMemPlaneImpl::LoadBMA(std::string_view fileName) {
  CFileBuffer file;
  if (file.Read(std::string(fileName)) != 0) return 1;
  const std::span<const uint8_t> bytes(file.GetData(), file.GetSize());
  const auto header = bma::ReadHeader(bytes);
  if (!header || AllocPixels(header->width, header->height) != 0) return 2;
  const std::span<uint8_t> pixels(reinterpret_cast<uint8_t*>(m_pixels),
                                  static_cast<size_t>(Width()) * Height() * 4);
  const int r = bma::ReadPixels(*header, bytes, pixels);
  if (r != 0) Release();
  return r;
}
