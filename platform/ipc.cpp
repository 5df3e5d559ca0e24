#include "platform/ipc.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "platform/foreground_window.h"
#include "platform/gui_call.h"
#include "platform/local_socket.h"
#include "platform/window_qt.h"

namespace platform::ipc {
namespace {

enum Kind : uint32_t {
  kSend = 1,
  kPost = 2,
  kQueryLive = 3,
  kQueryClass = 4,
  kQueryLong = 5,
  kActivate = 6,
  kQueryVisible = 7,
  kSendData = 8,  // a send of WM_COPYDATA; index is the count of bytes that follow the request
  kWindowOp = 9   // a WindowOp follows; served on the GUI thread as a send is
};

// What a window request asks of the window's own process.
enum WindowOpKind : int32_t { kOpPlacement = 1, kOpIconic = 2, kOpShow = 3, kOpPosition = 4 };
struct WindowOp {
  int32_t op;
  int32_t command;  // kOpShow: the ShowWindow command
  uint32_t behind;  // kOpPosition: the window to go behind (0: the top)
  uint32_t flags;   // kOpPosition: SWP_ flags
  int32_t x, y, cx, cy;
};
static_assert(sizeof(WindowOp) == 32);

// The listener answers everything but a send itself, in microseconds; a process that has not
// answered after this is not going to soon.
constexpr std::chrono::milliseconds kQueryLimit(200);
// The listener's wait for a request's bytes after a connect.
constexpr std::chrono::milliseconds kRequestWait(2000);

struct Request {
  uint32_t kind;
  uint32_t target;
  uint32_t message;
  int32_t index;
  int64_t wParam;
  int64_t lParam;
};
static_assert(sizeof(Request) == 32);

struct Reply {
  int64_t result;
  uint32_t ok;
  char className[64];  // a class name, or the WINDOWPLACEMENT a placement request asked for
  uint32_t padding;
};
static_assert(sizeof(Reply) == 80);
static_assert(sizeof(WINDOWPLACEMENT) <= sizeof(Reply::className));

struct Entry {
  HWND hwnd;
  std::string className;
  int32_t longs[4] = {};  // indices 0, 4, 8, 12
  bool visible = false;   // kept by the GUI thread as the window shows and hides
};

struct PendingSend {
  int fd;
  Request request;
  std::string bytes;  // of a WM_COPYDATA, or the WindowOp of a window request
};

struct State {
  std::mutex lock;
  std::map<WindowId, Entry> windows;
  uint32_t next = 1;
  int listen = -1;
  int wake = -1;
  pid_t listener = 0;  // the process that made the socket (a forked copy must not remove it)
  std::string path;
  std::thread thread;
  std::deque<PendingSend> pendingSends;  // answered on the GUI thread
  std::atomic<int64_t> timeoutMs{5000};
};

State& S() {
  static State* state = new State;  // lives to the end of the process: the listener may still run
  return *state;
}

std::string SocketName(pid_t pid) { return "tovara-ipc-" + std::to_string(pid); }
bool IsLocal(WindowId id) { return id != 0 && ProcessOf(id) == ::getpid(); }

bool ProcessAlive(pid_t pid) { return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM); }

Reply Answer(const Request& r) {
  Reply reply{};
  std::lock_guard guard(S().lock);
  const auto it = S().windows.find(r.target);
  if (it == S().windows.end()) return reply;
  reply.ok = 1;
  if (r.kind == kQueryClass) {
    std::strncpy(reply.className, it->second.className.c_str(), sizeof reply.className - 1);
  } else if (r.kind == kQueryLong) {
    reply.result = r.index >= 0 && r.index < 16 && r.index % 4 == 0 ? it->second.longs[r.index / 4] : 0;
  } else if (r.kind == kQueryVisible) {
    reply.result = it->second.visible ? 1 : 0;
  }
  return reply;
}

// Request.index of kActivate: a window placement follows the request.
constexpr int32_t kWithPlacement = 1;

bool ActivateLocal(HWND hwnd, const WINDOWPLACEMENT* placement) {
  if (!hwnd || !IsWindow(hwnd)) return false;
  if (placement) SetWindowPlacement(hwnd, placement);
  WINDOWPLACEMENT now{};
  now.length = sizeof now;
  const bool maximised = GetWindowPlacement(hwnd, &now) && now.showCmd == SW_SHOWMAXIMIZED;
  ShowWindow(hwnd, IsIconic(hwnd) ? SW_RESTORE : maximised ? SW_MAXIMIZE : SW_SHOW);
  return SetForegroundWindow(hwnd) != 0;
}

LRESULT SendCopyDataLocal(HWND hwnd, WindowId from, uintptr_t tag, std::string_view bytes) {
  COPYDATASTRUCT data;
  data.dwData = tag;
  data.cbData = static_cast<DWORD>(bytes.size());
  data.lpData = bytes.data();
  return platform::SendMessage(hwnd, WM_COPYDATA, static_cast<WPARAM>(from), reinterpret_cast<LPARAM>(&data));
}

// Carries out a window request on a window of this process (GUI thread).
Reply DoWindowOp(HWND hwnd, const WindowOp& op) {
  Reply reply{};
  if (!hwnd || !IsWindow(hwnd)) return reply;
  switch (op.op) {
    case kOpPlacement: {
      WINDOWPLACEMENT placement{};
      placement.length = sizeof placement;
      reply.ok = platform::GetWindowPlacement(hwnd, &placement) ? 1 : 0;
      std::memcpy(reply.className, &placement, sizeof placement);
      break;
    }
    case kOpIconic:
      reply.ok = 1;
      reply.result = platform::IsIconic(hwnd) ? 1 : 0;
      break;
    case kOpShow:
      reply.ok = 1;
      reply.result = platform::ShowWindow(hwnd, op.command);
      break;
    case kOpPosition: {
      // The frame's rectangle was asked for; the window is sized by its client area, which the
      // frame and the menu bar surround.
      RECT outer{}, client{};
      platform::GetWindowRect(hwnd, &outer);
      platform::GetClientRect(hwnd, &client);
      // A frame is a border and a menu bar around the client area. A window not laid out yet (one
      // minimised since it was made) still has the toolkit's default size around its client area,
      // or no client area: a difference larger than the client itself is no frame, and the frame
      // is then taken as the client's size.
      const int clientWidth = static_cast<int>(client.right - client.left);
      const int clientHeight = static_cast<int>(client.bottom - client.top);
      const int outerWidth = static_cast<int>(outer.right - outer.left);
      const int outerHeight = static_cast<int>(outer.bottom - outer.top);
      const auto frameOf = [](int outerSize, int clientSize) {
        const int extra = outerSize - clientSize;
        return clientSize > 0 && extra > 0 && extra <= clientSize ? extra : 0;
      };
      const int extraWidth = frameOf(outerWidth, clientWidth);
      const int extraHeight = frameOf(outerHeight, clientHeight);
      UINT flags = op.flags;
      HWND insertAfter = HWND_TOP;
      if (op.behind != 0) {
        insertAfter = LocalWindow(op.behind);
        // A window of another process cannot be named to the toolkit: the order is left as it is.
        if (!insertAfter) flags |= SWP_NOZORDER;
      }
      reply.ok = platform::SetWindowPos(hwnd, insertAfter, op.x, op.y, std::max(0, op.cx - extraWidth),
                                        std::max(0, op.cy - extraHeight), flags)
                     ? 1
                     : 0;
      break;
    }
    default:
      break;
  }
  return reply;
}

void ServeOne(const PendingSend& send) {
  const Request& r = send.request;
  Reply reply{};
  const HWND hwnd = LocalWindow(r.target);
  if (r.kind == kWindowOp) {
    WindowOp op{};
    if (send.bytes.size() == sizeof op) {
      std::memcpy(&op, send.bytes.data(), sizeof op);
      reply = DoWindowOp(hwnd, op);
    }
  } else if (hwnd) {
    reply.ok = 1;
    reply.result =
        r.kind == kSendData
            ? SendCopyDataLocal(hwnd, static_cast<WindowId>(r.wParam), static_cast<uintptr_t>(r.lParam), send.bytes)
            : platform::SendMessage(hwnd, r.message, static_cast<WPARAM>(r.wParam), static_cast<LPARAM>(r.lParam));
  }
  SendAllBytes(send.fd, &reply, sizeof reply);
  ::close(send.fd);
}

void Listener() {
  State& s = S();
  for (;;) {
    pollfd fds[2] = {{s.listen, POLLIN, 0}, {s.wake, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[1].revents) return;
    if (!(fds[0].revents & POLLIN)) continue;
    const int peer = ::accept4(s.listen, nullptr, nullptr, SOCK_CLOEXEC);
    if (peer < 0) continue;
    SetSocketTimeouts(peer, kRequestWait);
    Request r{};
    if (!ReceiveAllBytes(peer, &r, sizeof r)) {
      ::close(peer);
      continue;
    }
    switch (r.kind) {
      case kSend:
      case kSendData:
      case kWindowOp: {
        std::string bytes;
        if (r.kind == kSendData || r.kind == kWindowOp) {
          const auto size = static_cast<size_t>(static_cast<uint32_t>(r.index));
          if (size > kMostCopyDataBytes || (r.kind == kWindowOp && size != sizeof(WindowOp))) break;
          bytes.resize(size);
          if (!ReceiveAllBytes(peer, bytes.data(), size)) break;
        }
        {
          std::lock_guard guard(s.lock);
          s.pendingSends.push_back({peer, r, std::move(bytes)});
        }
        CallOnGuiThread([] { ServeIncomingSends(); });
        continue;  // the GUI thread answers and closes
      }
      case kPost: {
        const HWND hwnd = LocalWindow(r.target);
        Reply reply{};
        reply.ok = hwnd &&
                   platform::PostMessage(hwnd, r.message, static_cast<WPARAM>(r.wParam), static_cast<LPARAM>(r.lParam));
        SendAllBytes(peer, &reply, sizeof reply);
        break;
      }
      case kActivate: {
        // A placement, when the request carries one, follows it.
        WINDOWPLACEMENT placement{};
        const bool placed = r.index == kWithPlacement;
        if (placed && !ReceiveAllBytes(peer, &placement, sizeof placement)) break;
        Reply reply{};
        reply.ok = LocalWindow(r.target) != nullptr;
        if (reply.ok) {
          const WindowId id = r.target;
          CallOnGuiThread([id, placed, placement] { ActivateLocal(LocalWindow(id), placed ? &placement : nullptr); });
        }
        SendAllBytes(peer, &reply, sizeof reply);
        break;
      }
      default: {
        const Reply reply = Answer(r);
        SendAllBytes(peer, &reply, sizeof reply);
        break;
      }
    }
    ::close(peer);
  }
}

bool StartListening() {
  State& s = S();
  if (s.listen >= 0) return true;
  s.listen = ListenLocal(SocketName(::getpid()), s.path);
  if (s.listen < 0) return false;
  s.listener = ::getpid();
  std::atexit([] {
    if (S().listener == ::getpid()) ::unlink(S().path.c_str());
  });
  s.wake = ::eventfd(0, EFD_CLOEXEC);
  s.thread = std::thread(Listener);
  s.thread.detach();
  return true;
}

enum class Outcome { kAnswered, kGone, kNoAnswer };

// Sends bytes by the deadline however many there are (the socket's own limit counts per call).
bool SendBytesBefore(int fd, const void* data, size_t size, std::chrono::steady_clock::time_point deadline) {
  const auto* p = static_cast<const char*>(data);
  while (size > 0) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd out{fd, POLLOUT, 0};
    const int ready = ::poll(&out, 1, static_cast<int>(std::min<int64_t>(left.count(), 50)));
    if (ready < 0 && errno != EINTR) return false;
    if (ready <= 0) continue;
    const ssize_t n = ::send(fd, p, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
      return false;
    }
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// One request to another process and its reply. kGone when the process has ended or nobody
// listens for it; kNoAnswer when it did not answer within the request's limit. While a send
// waits, sends that come in are served.
Outcome Exchange(const Request& r, Reply& reply, const void* extra = nullptr, size_t extraSize = 0) {
  const pid_t pid = ProcessOf(r.target);
  if (!ProcessAlive(pid)) return Outcome::kGone;
  // Only a send waits for a window procedure; a listener that takes longer than the query limit
  // for anything else belongs to a process that is stopped.
  const bool send = r.kind == kSend || r.kind == kSendData || r.kind == kWindowOp;
  const std::chrono::milliseconds limit = send ? std::chrono::milliseconds(S().timeoutMs.load()) : kQueryLimit;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  const int fd = ConnectLocal(SocketName(pid), limit);
  if (fd < 0) return errno == ECONNREFUSED || errno == ENOENT ? Outcome::kGone : Outcome::kNoAnswer;
  SetSocketTimeouts(fd, limit);
  bool answered = false;
  if (SendAllBytes(fd, &r, sizeof r) && (!extra || SendBytesBefore(fd, extra, extraSize, deadline))) {
    while (std::chrono::steady_clock::now() < deadline) {
      pollfd p{fd, POLLIN, 0};
      const int ready = ::poll(&p, 1, 1);
      if (ready > 0) {
        answered = ReceiveAllBytes(fd, &reply, sizeof reply);
        break;
      }
      if (ready < 0 && errno != EINTR) break;
      if (send) ServeIncomingSends();
      if (!ProcessAlive(pid)) break;
    }
  }
  ::close(fd);
  if (answered) return Outcome::kAnswered;
  return ProcessAlive(pid) ? Outcome::kNoAnswer : Outcome::kGone;
}

bool Ask(const Request& r, Reply& reply, const void* extra = nullptr, size_t extraSize = 0) {
  return Exchange(r, reply, extra, extraSize) == Outcome::kAnswered && reply.ok;
}

}  // namespace

WindowId RegisterWindow(HWND hwnd, std::string_view className) {
  if (!hwnd) return 0;
  State& s = S();
  WindowId id = 0;
  {
    std::lock_guard guard(s.lock);
    for (const auto& [known, e] : s.windows)
      if (e.hwnd == hwnd) return known;
    if (!StartListening()) return 0;
    id = (static_cast<uint32_t>(::getpid()) << 8) | (s.next & 0xFF);
    s.next = s.next % 255 + 1;
    s.windows[id] = Entry{hwnd, std::string(className)};
  }
  // Outside the lock: the watch tells the state at once, and takes the lock to keep it.
  WatchVisibility(hwnd, [id](bool shown) {
    std::lock_guard guard(S().lock);
    if (const auto it = S().windows.find(id); it != S().windows.end()) it->second.visible = shown;
  });
  return id;
}

void UnregisterWindow(WindowId id) {
  std::lock_guard guard(S().lock);
  S().windows.erase(id);
}

HWND LocalWindow(WindowId id) {
  std::lock_guard guard(S().lock);
  const auto it = S().windows.find(id);
  return it == S().windows.end() ? nullptr : it->second.hwnd;
}

Presence GetPresence(WindowId id) {
  if (id == 0) return Presence::kGone;
  if (IsLocal(id)) return LocalWindow(id) ? Presence::kLive : Presence::kGone;
  Reply reply{};
  switch (Exchange({kQueryLive, id, 0, 0, 0, 0}, reply)) {
    case Outcome::kAnswered:
      return reply.ok ? Presence::kLive : Presence::kGone;
    case Outcome::kGone:
      return Presence::kGone;
    case Outcome::kNoAnswer:
      break;
  }
  return Presence::kNoAnswer;
}

bool IsLive(WindowId id) { return GetPresence(id) == Presence::kLive; }

std::string GetClassName(WindowId id) {
  if (IsLocal(id)) {
    Reply r = Answer({kQueryClass, id, 0, 0, 0, 0});
    return r.ok ? std::string(r.className) : std::string();
  }
  Reply reply{};
  if (!Ask({kQueryClass, id, 0, 0, 0, 0}, reply)) return {};
  reply.className[sizeof reply.className - 1] = '\0';
  return reply.className;
}

int32_t GetWindowLong(WindowId id, int index) {
  const Request r{kQueryLong, id, 0, index, 0, 0};
  if (IsLocal(id)) return static_cast<int32_t>(Answer(r).result);
  Reply reply{};
  return Ask(r, reply) ? static_cast<int32_t>(reply.result) : 0;
}

bool SetWindowLong(WindowId id, int index, int32_t value) {
  if (!IsLocal(id) || index < 0 || index >= 16 || index % 4 != 0) return false;
  std::lock_guard guard(S().lock);
  const auto it = S().windows.find(id);
  if (it == S().windows.end()) return false;
  it->second.longs[index / 4] = value;
  return true;
}

bool IsWindowVisible(WindowId id) {
  const Request r{kQueryVisible, id, 0, 0, 0, 0};
  if (IsLocal(id)) return Answer(r).result != 0;
  Reply reply{};
  return Ask(r, reply) && reply.result != 0;
}

bool Activate(WindowId id, const WINDOWPLACEMENT* placement) {
  if (IsLocal(id)) return ActivateLocal(LocalWindow(id), placement);
  Reply reply{};
  const Request r{kActivate, id, 0, placement ? kWithPlacement : 0, 0, 0};
  return Ask(r, reply, placement, placement ? sizeof *placement : 0);
}

namespace {

// A window request, carried out here for a window of this process.
bool AskWindowOp(WindowId id, const WindowOp& op, Reply& reply) {
  if (IsLocal(id)) {
    reply = DoWindowOp(LocalWindow(id), op);
    return reply.ok != 0;
  }
  const Request r{kWindowOp, id, 0, static_cast<int32_t>(sizeof op), 0, 0};
  return Exchange(r, reply, &op, sizeof op) == Outcome::kAnswered && reply.ok;
}

}  // namespace

bool GetWindowPlacement(WindowId id, WINDOWPLACEMENT* placement) {
  if (!placement) return false;
  Reply reply{};
  if (!AskWindowOp(id, WindowOp{kOpPlacement, 0, 0, 0, 0, 0, 0, 0}, reply)) return false;
  std::memcpy(placement, reply.className, sizeof *placement);
  return true;
}

bool IsIconic(WindowId id) {
  Reply reply{};
  return AskWindowOp(id, WindowOp{kOpIconic, 0, 0, 0, 0, 0, 0, 0}, reply) && reply.result != 0;
}

bool ShowWindow(WindowId id, int command) {
  Reply reply{};
  return AskWindowOp(id, WindowOp{kOpShow, command, 0, 0, 0, 0, 0, 0}, reply);
}

bool SetWindowPos(WindowId id, WindowId behind, int x, int y, int cx, int cy, UINT flags) {
  Reply reply{};
  return AskWindowOp(id, WindowOp{kOpPosition, 0, behind, flags, x, y, cx, cy}, reply);
}

LRESULT SendMessage(WindowId id, UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsLocal(id)) {
    const HWND hwnd = LocalWindow(id);
    return hwnd ? platform::SendMessage(hwnd, message, wParam, lParam) : 0;
  }
  Reply reply{};
  if (Exchange({kSend, id, message, 0, static_cast<int64_t>(wParam), static_cast<int64_t>(lParam)}, reply) !=
      Outcome::kAnswered)
    return 0;
  return static_cast<LRESULT>(reply.result);
}

bool PostMessage(WindowId id, UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsLocal(id)) {
    const HWND hwnd = LocalWindow(id);
    return hwnd && platform::PostMessage(hwnd, message, wParam, lParam);
  }
  Reply reply{};
  return Ask({kPost, id, message, 0, static_cast<int64_t>(wParam), static_cast<int64_t>(lParam)}, reply);
}

LRESULT SendCopyData(WindowId id, WindowId from, uintptr_t tag, std::string_view bytes) {
  if (bytes.size() > kMostCopyDataBytes) return 0;
  if (IsLocal(id)) {
    const HWND hwnd = LocalWindow(id);
    return hwnd ? SendCopyDataLocal(hwnd, from, tag, bytes) : 0;
  }
  const auto size = static_cast<int32_t>(bytes.size());
  const Request r{kSendData, id, WM_COPYDATA, size, static_cast<int64_t>(from), static_cast<int64_t>(tag)};
  Reply reply{};
  if (Exchange(r, reply, bytes.data(), bytes.size()) != Outcome::kAnswered) return 0;
  return static_cast<LRESULT>(reply.result);
}

void SetSendTimeout(std::chrono::milliseconds limit) { S().timeoutMs = limit.count(); }

int ServeIncomingSends() {
  int served = 0;
  for (;;) {
    PendingSend next;
    {
      std::lock_guard guard(S().lock);
      if (S().pendingSends.empty()) return served;
      next = std::move(S().pendingSends.front());
      S().pendingSends.pop_front();
    }
    ServeOne(next);
    ++served;
  }
}

bool RemoveSocketOfEndedProcess(pid_t pid) {
  if (pid <= 0 || ProcessAlive(pid)) return false;
  sockaddr_un address;
  std::string path;
  return LocalSocketAddress(SocketName(pid), address, path) && ::unlink(path.c_str()) == 0;
}

}  // namespace platform::ipc
