// How a second copy of the program asks the first to bring its window to the front: the copy that
// holds a name listens on a local socket in the user's runtime folder, named after that name.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

namespace platform {

class InstanceChannel {
 public:
  InstanceChannel() = default;
  InstanceChannel(const InstanceChannel&) = delete;
  InstanceChannel& operator=(const InstanceChannel&) = delete;
  ~InstanceChannel() { Close(); }

  // Starts answering requests for name on a thread of its own, which calls onRaise for each one;
  // onRaise says whether a window was brought to the front. Only the holder of the name's lock
  // listens: a socket left behind by an ended holder is replaced. False when it cannot listen.
  bool Listen(std::string_view name, std::function<bool()> onRaise);
  // Stops answering and removes the socket.
  void Close();

 private:
  void Serve();

  std::string m_path;
  std::function<bool()> m_onRaise;
  int m_listen = -1;
  int m_wake = -1;
  std::thread m_thread;
};

// Asks the copy that listens for name to bring its window to the front; true when it answers
// that it did. Never waits long for a copy that does not answer.
bool RequestRaise(std::string_view name);

}  // namespace platform
