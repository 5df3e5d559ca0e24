#include "editor/view/search/tag_jump_file_check.h"

#include <vector>

#include "editor/foundation/text/editor_path.h"
#include "platform/folder_listing.h"
#include "platform/path.h"

bool CTagJumpFileCheck::IsFile(const std::string& candidate) {
  if (candidate.empty()) return false;
  const std::string full = candidate[0] == '/' ? candidate : m_base + candidate;
  std::string host;
  // A path without a host spelling is for the file system to refuse.
  if (!platform::ExactHostPath(full, host)) return IsExistingFile(full.c_str(), true);
  const size_t slash = host.rfind('/');
  if (slash == std::string::npos) return IsExistingFile(full.c_str(), true);
  const std::string name = host.substr(slash + 1);
  // "x/", "x/." and "x/.." name folders, never files.
  if (name.empty() || name == "." || name == "..") return false;
  const Folder& folder = FolderOf(host.substr(0, slash + 1));
  if (folder.state == State::kMissing) return false;
  if (folder.state == State::kListed && !folder.names.contains(name)) return false;
  return IsExistingFile(full.c_str(), true);
}

const CTagJumpFileCheck::Folder& CTagJumpFileCheck::FolderOf(const std::string& hostFolder) {
  if (const auto it = m_folders.find(hostFolder); it != m_folders.end()) return it->second;
  Folder folder;
  // A folder whose parent's listing lacks it is not there, without asking: a line of names with
  // "/" in them costs no call for each folder it seems to name. The walk up stops at the folder
  // relative names start from, which is listed directly.
  const size_t cut = hostFolder.size() >= 2 ? hostFolder.rfind('/', hostFolder.size() - 2) : std::string::npos;
  if (m_hostBase.empty()) platform::ExactHostPath(m_base, m_hostBase);
  if (cut != std::string::npos && hostFolder != m_hostBase) {
    const std::string level = hostFolder.substr(cut + 1, hostFolder.size() - cut - 2);
    const Folder& parent = FolderOf(hostFolder.substr(0, cut + 1));
    if (parent.state == State::kMissing ||
        (parent.state == State::kListed && !level.empty() && level != "." && level != ".." &&
         !parent.names.contains(level))) {
      folder.state = State::kMissing;
    }
  }
  if (folder.state != State::kMissing) {
    std::vector<platform::FolderEntry> entries;
    if (platform::ListFolder(hostFolder, entries)) {
      folder.state = State::kListed;
      for (platform::FolderEntry& entry : entries) folder.names.insert(std::move(entry.name));
    } else {
      // Readable or not, a folder that is there leaves its names to the file system.
      std::string exact;
      const bool missing = platform::ExactPathFromHost(hostFolder, exact) && !IsExistingFile(exact.c_str(), false);
      folder.state = missing ? State::kMissing : State::kUnlisted;
    }
  }
  return m_folders.emplace(hostFolder, std::move(folder)).first->second;
}
