#include "platform/instance_channel.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/local_socket.h"
#include "platform/named_lock.h"

namespace platform {
namespace {

constexpr char kRequest[] = "raise\n";
constexpr std::chrono::milliseconds kAnswerTimeout(3000);

void SetTimeouts(int fd) { SetSocketTimeouts(fd, kAnswerTimeout); }

bool SendAll(int fd, std::string_view text) { return SendAllBytes(fd, text.data(), text.size()); }

// Reads until a line end, the peer's close or the limit.
std::string ReceiveLine(int fd) {
  std::string line;
  char c;
  while (line.size() < 16) {
    ssize_t n = ::recv(fd, &c, 1, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || c == '\n') break;
    line += c;
  }
  return line;
}

}  // namespace

bool InstanceChannel::Listen(std::string_view name, std::function<bool()> onRaise) {
  Close();
  m_listen = ListenLocal(name, m_path);
  m_wake = ::eventfd(0, EFD_CLOEXEC);
  if (m_listen < 0 || m_wake < 0) {
    Close();
    return false;
  }
  m_onRaise = std::move(onRaise);
  m_thread = std::thread([this] { Serve(); });
  return true;
}

void InstanceChannel::Close() {
  if (m_thread.joinable()) {
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(m_wake, &one, sizeof(one));
    m_thread.join();
  }
  if (m_listen >= 0) {
    ::close(m_listen);
    ::unlink(m_path.c_str());
  }
  if (m_wake >= 0) ::close(m_wake);
  m_listen = m_wake = -1;
  m_path.clear();
  m_onRaise = nullptr;
}

void InstanceChannel::Serve() {
  for (;;) {
    pollfd fds[2] = {{m_listen, POLLIN, 0}, {m_wake, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[1].revents) return;
    if (!(fds[0].revents & POLLIN)) continue;
    int peer = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
    if (peer < 0) continue;
    SetTimeouts(peer);
    if (ReceiveLine(peer) + "\n" == kRequest) {
      const bool raised = m_onRaise && m_onRaise();
      SendAll(peer, raised ? "1\n" : "0\n");
    }
    ::close(peer);
  }
}

bool RequestRaise(std::string_view name) {
  const int fd = ConnectLocal(name, kAnswerTimeout);
  if (fd < 0) return false;
  SetTimeouts(fd);
  bool raised = false;
  if (SendAll(fd, kRequest)) raised = ReceiveLine(fd) == "1";
  ::close(fd);
  return raised;
}

}  // namespace platform
