#include "platform/trash.h"

#include <QFile>
#include <QString>
#include <string>

namespace platform {

bool MoveToTrash(std::string_view path, PathMode mode) {
  std::string host;
  if (path.empty() || !HostPathFor(path, mode, host)) return false;
  return QFile::moveToTrash(QString::fromUtf8(host.data(), static_cast<qsizetype>(host.size())));
}

}  // namespace platform
