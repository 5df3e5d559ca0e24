// The folders grep walks: one folder's entries with their names in Shift-JIS, and the folders
// already entered during a run, so that a symbolic link that leads back up the tree (or to a
// folder seen through another path) is searched once.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct GrepEntry {
  enum class Kind { kFile, kFolder, kOther };
  std::string name;  // Shift-JIS; "〓" for each character Shift-JIS lacks when !spellable
  bool spellable = true;
  Kind kind = Kind::kOther;
};

// A host name (UTF-8) in Shift-JIS: exact when it can be spelled so that it names the same file,
// else with "〓" for each character (or stray byte) that has no form; *pbExact tells which.
std::string GrepNameFromHost(std::string_view hostName, bool* pbExact);

class GrepFolderWalker {
 public:
  // The entries of a folder (an exact path ending with "/"), in the byte order of their names on
  // disk; false when it cannot be listed.
  bool List(std::string_view folder, std::vector<GrepEntry>& entries) const;
  // Marks the folder entered; false when the run entered it before (or it is no folder).
  bool Enter(std::string_view folder);

 private:
  std::set<std::pair<uint64_t, uint64_t>> m_entered;  // device, inode
};
