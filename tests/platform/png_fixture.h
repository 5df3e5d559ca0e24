// A square picture of one colour as the bytes of a PNG file, for the tests of icons.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <cstdint>
#include <span>
#include <string>

namespace platform_test {

inline std::string Png(int size, QColor colour) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

inline std::span<const uint8_t> Bytes(const std::string& file) {
  return std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size());
}

}  // namespace platform_test
