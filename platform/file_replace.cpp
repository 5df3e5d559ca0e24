#include "platform/file_replace.h"

#include "platform/file.h"
#include "platform/path.h"

namespace platform {

std::string HostPathOf(std::string_view path) { return HostPath(path); }

bool ReplaceFileContents(const std::string& hostPath, std::string_view bytes) {
  std::string program;
  if (!ProgramPathFromHost(hostPath, program)) return false;
  AtomicFileWriter writer(program);
  writer.Write(bytes);
  return writer.Commit() == WriteStatus::kOk;
}

}  // namespace platform
