// Lets one copy of the game run per executable path: a later copy finds the first one's mutex,
// asks it to bring its window to the front and reports itself invalid.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "sdk/framework/mutex.h"

namespace platform {
class InstanceChannel;
}

class CSingleInstanceChecker : public CMutex {
 public:
  // The check for the running executable.
  CSingleInstanceChecker();
  // The check for a copy started from exePath (program form).
  explicit CSingleInstanceChecker(std::string_view exePath);
  ~CSingleInstanceChecker() override;

  // True when no other copy was found.
  bool IsValid() const { return m_valid; }

  // The mutex name of an executable path: every byte "\" (0x5C, trail bytes included) becomes "+".
  static std::string MutexNameOf(std::string_view exePath);

 private:
  void Check(std::string_view exePath);

  bool m_valid = false;
  // While valid, answers later copies' requests to come to the front.
  std::unique_ptr<platform::InstanceChannel> m_channel;
};

// What the first copy does when a later copy asks it to come to the front: returns whether a
// window was raised. Called on a thread of its own, never the GUI thread. Without a handler (the
// default, and after an empty one) the main application's window is restored and brought to the
// front.
void SetInstanceRaiseHandler(std::function<bool()> handler);
