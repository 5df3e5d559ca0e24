// The file test of one tag-jump line scan. The scan asks about every blank-separated run of a line
// as a possible file name, so a long line of words costs thousands of questions; each candidate is
// looked up in its folder's listing first, and only a name the listing holds is asked of the file
// system. The answers are those of IsExistingFile (files only, no folders): the listings only rule
// out names that cannot be there. Listings are kept for the life of the object (one scan).
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>

class CTagJumpFileCheck {
 public:
  // relativeBase: the exact folder (ending with "/") that a name not starting with "/" is taken
  // from.
  explicit CTagJumpFileCheck(std::string relativeBase) : m_base(std::move(relativeBase)) {}

  bool IsFile(const std::string& candidate);

 private:
  enum class State { kListed, kMissing, kUnlisted };
  struct Folder {
    State state = State::kUnlisted;
    std::unordered_set<std::string> names;  // host bytes, when listed
  };
  // The folder of a host path ending with "/".
  const Folder& FolderOf(const std::string& hostFolder);

  std::string m_base;
  std::string m_hostBase;  // m_base in host form once known
  std::unordered_map<std::string, Folder> m_folders;  // by host path ending with "/"
};
