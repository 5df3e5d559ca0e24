// Whether a name read from a line of text is an existing file, for the tag-jump line scan. The scan
// asks about every run of words a line holds, so a long line of words asks thousands of times about
// names in the editor's current folder; after the first few questions the folder is listed once and
// a name it does not hold is answered without the file system. Every answer is the one
// IsExistingFile (files only) gives: the listing only rules out what is not there.
#pragma once

#include <string>
#include <unordered_set>

class CTagJumpFiles {
 public:
  // relativeBase: the exact folder (ending with "/") a name not starting with "/" is taken from.
  explicit CTagJumpFiles(std::string relativeBase) : m_base(std::move(relativeBase)) {}

  bool IsFile(const std::string& candidate);

 private:
  // Questions about single-level names asked of the file system before the folder is listed: a
  // line a user points at holds fewer, so an everyday jump never lists a large folder.
  static constexpr int kAskedBeforeListing = 64;

  std::string m_base;
  int m_asked = 0;
  enum class Listing { kNotYet, kListed, kUnreadable } m_listing = Listing::kNotYet;
  std::unordered_set<std::string> m_names;  // host bytes of the base folder's entries
};
