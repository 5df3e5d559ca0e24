#include "platform/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

namespace platform {

namespace {

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

}  // namespace

bool ListFolder(std::string_view hostFolder, std::vector<FolderEntry>& entries) {
  entries.clear();
  const std::string path(hostFolder);
  std::unique_ptr<DIR, DirCloser> dir(::opendir(path.empty() ? "." : path.c_str()));
  if (!dir) return false;
  const int fd = ::dirfd(dir.get());
  errno = 0;
  while (const dirent* entry = ::readdir(dir.get())) {
    const char* name = entry->d_name;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
    FolderEntry item;
    item.name = name;
    // The kind the listing tells is enough for a plain file or folder; a link (or a file system
    // that does not tell) is asked where it leads.
    if (entry->d_type == DT_REG) {
      item.kind = FolderEntry::Kind::kFile;
      entries.push_back(std::move(item));
      errno = 0;
      continue;
    }
    if (entry->d_type == DT_DIR) {
      item.kind = FolderEntry::Kind::kFolder;
      entries.push_back(std::move(item));
      errno = 0;
      continue;
    }
    struct stat st;
    if (::fstatat(fd, name, &st, 0) == 0) {
      if (S_ISDIR(st.st_mode)) {
        item.kind = FolderEntry::Kind::kFolder;
      } else if (S_ISREG(st.st_mode)) {
        item.kind = FolderEntry::Kind::kFile;
      }
    }
    entries.push_back(std::move(item));
    errno = 0;
  }
  if (errno != 0) {
    entries.clear();
    return false;
  }
  std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  return true;
}

bool FolderIdentity(std::string_view hostFolder, uint64_t& device, uint64_t& inode) {
  const std::string path(hostFolder);
  struct stat st;
  if (::stat(path.empty() ? "." : path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  device = static_cast<uint64_t>(st.st_dev);
  inode = static_cast<uint64_t>(st.st_ino);
  return true;
}

}  // namespace platform
