#include "platform/file_type_icon.h"

#include <QIcon>
#include <QImage>
#include <QMimeDatabase>
#include <QMimeType>
#include <QPixmap>
#include <string>

#include "platform/gui_app.h"
#include "platform/icon_image_qt.h"
#include "platform/path.h"

namespace platform {

HICON FileTypeIcon(std::string_view path, int size) {
  if (size <= 0 || !IsGuiThread()) return nullptr;
  std::string host;
  if (!HostPathFor(path, PathMode::kExact, host)) return nullptr;
  const QMimeDatabase database;
  const QMimeType type = database.mimeTypeForFile(QString::fromStdString(host), QMimeDatabase::MatchExtension);
  if (!type.isValid() || type.isDefault()) return nullptr;
  QIcon icon = QIcon::fromTheme(type.iconName());
  if (icon.isNull()) icon = QIcon::fromTheme(type.genericIconName());
  if (icon.isNull()) return nullptr;

  // Registered as an icon resource under a name no resource of the program takes; the theme is
  // part of the name, so that a change of theme gives the new picture.
  const std::string key = "mime:" + QIcon::themeName().toStdString() + ":" + type.name().toStdString() + ":" +
                          std::to_string(size);
  if (HICON known = LoadIcon(nullptr, key.c_str())) return known;
  return RegisterIconImage(key, icon.pixmap(size, size).toImage().scaled(size, size, Qt::IgnoreAspectRatio,
                                                                          Qt::SmoothTransformation));
}

}  // namespace platform
