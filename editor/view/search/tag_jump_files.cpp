#include "editor/view/search/tag_jump_files.h"

#include <algorithm>
#include <vector>

#include "editor/foundation/text/editor_path.h"
#include "platform/folder_listing.h"
#include "platform/path.h"

bool CTagJumpFiles::IsFile(const std::string& candidate) {
  if (candidate.empty()) return false;
  if (candidate[0] == '/') return IsExistingFile(candidate.c_str(), true);
  if (candidate.find('/') == std::string::npos) {
    if (m_listing == Listing::kNotYet && ++m_asked > kAskedBeforeListing) {
      std::string hostFolder;
      std::vector<platform::FolderEntry> entries;
      m_listing = platform::ExactHostPath(m_base, hostFolder) && platform::ListFolder(hostFolder, entries)
                      ? Listing::kListed
                      : Listing::kUnreadable;
      for (platform::FolderEntry& entry : entries) m_names.insert(std::move(entry.name));
    }
    // A single level names an entry of the folder (never "." or "..", which are folders): one the
    // listing lacks is not there. A name without a host spelling is left to the file system.
    if (m_listing == Listing::kListed) {
      // ASCII is its own host spelling; anything else is converted as the file layer would.
      const bool ascii = std::all_of(candidate.begin(), candidate.end(),
                                     [](char c) { return c != '\0' && static_cast<unsigned char>(c) < 0x80; });
      std::string host;
      if (ascii ? !m_names.contains(candidate)
                : platform::ExactHostPath(candidate, host) && !m_names.contains(host)) {
        return false;
      }
    }
  }
  return IsExistingFile((m_base + candidate).c_str(), true);
}
