#include "game/system/file_utils.h"

#include <string>

#include "platform/sjis.h"
#include "platform/sjis_literal.h"
#include "sdk/framework/file_buffer.h"

const char* const kUnreadableFileText = " を読み込めません（壊れているか、形式が違います）"_sj;

bool GameFileFound(std::string_view name) {
  CFileBuffer file;
  const int result = file.Read(std::string(name));
  return result != kReadNotFound && result != kReadEmptyName;
}

std::string FileFailureText(std::string_view name) {
  if (!GameFileFound(name)) return "ファイルが見つかりません"_sj;
  return std::string(name) + kUnreadableFileText;
}

bool FileExists(std::string_view path) {
  platform::FileInfo info;
  return !path.empty() && platform::QueryFileInfo(path, info);
}

std::unique_ptr<FileTimeRecord> OpenFileKeepTimes(std::string_view path) {
  auto record = std::make_unique<FileTimeRecord>();
  if (!record->file.Open(path)) return nullptr;
  const platform::FileInfo& info = record->file.Info();
  record->size = info.size;
  record->creationNs = info.birthNs;
  record->accessNs = info.accessNs;
  record->writeNs = info.modifiedNs;
  return record;
}

void CloseFileRestoreTimes(std::unique_ptr<FileTimeRecord> record) {
  if (record) record->file.Close();
}

bool LocalTimeOfNs(int64_t nanoseconds, std::tm* local) {
  if (!local) return false;
  // Whole seconds toward minus infinity, so a time just before 1970 stays in its own second.
  int64_t seconds = nanoseconds / 1000000000;
  if (nanoseconds % 1000000000 < 0) --seconds;
  const std::time_t t = static_cast<std::time_t>(seconds);
  return localtime_r(&t, local) != nullptr;
}

bool FileLocalWriteTime(std::string_view path, std::tm* local) {
  std::unique_ptr<FileTimeRecord> record = OpenFileKeepTimes(path);
  if (!record || !local) return false;
  const int64_t writeNs = record->writeNs;
  CloseFileRestoreTimes(std::move(record));
  return LocalTimeOfNs(writeNs, local);
}

bool CreateDirectories(std::string_view path) {
  // Every separator but a leading one and one after a drive colon ends a folder to make. Trail
  // bytes equal to "\" (as in "表") belong to their character.
  for (size_t i = 0; i < path.size();) {
    const unsigned char c = static_cast<unsigned char>(path[i]);
    if (platform::IsSjisLead(c) && i + 1 < path.size()) {
      i += 2;
      continue;
    }
    if ((c == '\\' || c == '/') && i > 0 && path[i - 1] != ':') platform::MakeFolder(path.substr(0, i));
    ++i;
  }
  if (!path.empty()) platform::MakeFolder(path);
  return true;
}
