// The hold a save keeps on the file it replaces: an exclusive lock, taken without waiting before
// anything is written and kept until the new version has been renamed over the old one, so that no
// other editor process reads or locks a file that is being replaced. Like every lock between the
// editor's processes it is advisory: other programs are not stopped.
#pragma once

#include <memory>

namespace platform {
class FileLock;
}

class CSaveLock {
 public:
  enum class Result {
    kTaken,          // this object holds the file
    kNoFile,         // nothing to hold: the file does not exist (or cannot be opened)
    kHeldElsewhere,  // another holder locks the file
  };

  CSaveLock();
  ~CSaveLock();
  CSaveLock(const CSaveLock&) = delete;
  CSaveLock& operator=(const CSaveLock&) = delete;

  // The exact path of the file about to be replaced.
  Result Take(const char* pszPath);
  void Release();

 private:
  std::unique_ptr<platform::FileLock> m_lock;
};
