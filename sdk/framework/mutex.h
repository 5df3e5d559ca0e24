// A named mutex shared by every process of the user (a lock that the system frees when its holder
// ends, however it ends).
#pragma once

#include <memory>
#include <string_view>

namespace platform {
class NamedLock;
}

class CMutex {
 public:
  CMutex();
  CMutex(const CMutex&) = delete;
  CMutex& operator=(const CMutex&) = delete;
  virtual ~CMutex();

  // Closes what is held, then opens the named mutex asking to own it; the handle is kept also when
  // another holder has it. 1 when it already had a holder, else 0 (also when it cannot be made).
  int Open(std::string_view name);
  // Releases and closes the handle: 1 when one was held, 0 when there was none.
  int Close();

 private:
  std::unique_ptr<platform::NamedLock> m_handle;
};
