#include "platform/icon_file.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <span>
#include <string>

#include "platform/gui_app.h"
#include "platform/icon_image_qt.h"
#include "platform/path.h"
#include "platform/window_qt.h"

namespace platform {
namespace {

// The picture of that size among those the file holds, else the largest scaled to it.
QImage ReadIconPicture(const std::string& hostPath, int cx, int cy) {
  QImageReader reader(QString::fromStdString(hostPath));
  QImage largest;
  const int count = std::max(reader.imageCount(), 1);
  for (int i = 0; i < count; ++i) {
    if (i > 0 && !reader.jumpToImage(i)) break;
    QImage picture = reader.read();
    if (picture.isNull()) continue;
    if (picture.width() == cx && picture.height() == cy) return picture;
    if (picture.width() * picture.height() > largest.width() * largest.height()) largest = std::move(picture);
  }
  if (largest.isNull()) return largest;
  return largest.scaled(cx, cy, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

HICON LoadImage(HINSTANCE instance, const char* name, UINT type, int cx, int cy, UINT flags) {
  if (type != IMAGE_ICON || !name || !IsGuiThread()) return nullptr;
  if (!(flags & LR_LOADFROMFILE)) return LoadIcon(instance, name);
  std::string hostPath;
  if (cx <= 0 || cy <= 0 || !ExactHostPath(name, hostPath)) return nullptr;
  // Registered as a resource under a name that no resource of the program takes.
  std::string key = "file:";
  key += std::to_string(cx) + "x" + std::to_string(cy) + ":" + name;
  if (HICON icon = LoadIcon(instance, key.c_str())) return icon;
  return RegisterIconImage(key, ReadIconPicture(hostPath, cx, cy));
}

HICON RegisterIconImage(std::string_view name, const QImage& picture) {
  if (picture.isNull()) return nullptr;
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!picture.save(&buffer, "PNG")) return nullptr;
  const auto* bytes = reinterpret_cast<const uint8_t*>(png.constData());
  if (!RegisterIconResource(name, std::span(bytes, static_cast<size_t>(png.size())))) return nullptr;
  return LoadIcon(nullptr, std::string(name).c_str());
}

bool GetIconSize(HICON icon, SIZE* size) {
  const QImage image = IconImage(icon);
  if (image.isNull() || !size) return false;
  *size = SIZE{image.width(), image.height()};
  return true;
}

}  // namespace platform
