#include "platform/console.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "platform/sjis.h"

namespace platform {

namespace {

Console* installedConsole = nullptr;

}  // namespace

bool FdConsole::TakeLine(std::string& line) {
  const size_t end = m_buffer.find('\n');
  if (end == std::string::npos) {
    if (m_buffer.size() < kMaxLineBytes && !(m_ended && !m_buffer.empty())) return false;
    const size_t take = std::min(m_buffer.size(), kMaxLineBytes);
    line.assign(m_buffer, 0, take);
    m_buffer.erase(0, take);
    return true;
  }
  const size_t take = std::min(end, kMaxLineBytes);
  line.assign(m_buffer, 0, take);
  m_buffer.erase(0, take == end ? end + 1 : take);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

ConsoleRead FdConsole::ReadLine(std::string& line) {
  // A program in the background of its terminal would be stopped by the read itself: it reads only
  // once it is brought to the front.
  const bool background = isatty(m_in) && tcgetpgrp(m_in) != getpgrp();
  // Only what is already there is read, and only when nothing whole is kept, so a flood of input
  // never grows the buffer past one piece.
  while (!background && !m_ended && m_buffer.find('\n') == std::string::npos && m_buffer.size() < kMaxLineBytes) {
    pollfd request{m_in, POLLIN, 0};
    const int ready = poll(&request, 1, 0);
    if (ready < 0 && errno == EINTR) break;
    if (ready == 0) break;
    if (ready < 0 || (request.revents & POLLNVAL)) {
      m_ended = true;
      break;
    }
    char chunk[1024];
    const ssize_t got = read(m_in, chunk, std::min(sizeof chunk, kMaxLineBytes - m_buffer.size()));
    if (got < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) break;
    if (got <= 0) {
      m_ended = true;
      break;
    }
    m_buffer.append(chunk, static_cast<size_t>(got));
  }
  if (TakeLine(line)) return ConsoleRead::kLine;
  return m_ended ? ConsoleRead::kEnd : ConsoleRead::kPending;
}

void FdConsole::Write(std::string_view text) {
  const std::string out = SjisToUtf8(text);
  size_t done = 0;
  while (done < out.size()) {
    const ssize_t wrote = write(m_out, out.data() + done, out.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return;  // nobody is reading: the text is dropped
    done += static_cast<size_t>(wrote);
  }
}

Console& ActiveConsole() {
  static FdConsole standard(STDIN_FILENO, STDOUT_FILENO);
  return installedConsole ? *installedConsole : standard;
}

Console* SetConsole(Console* console) {
  Console* previous = installedConsole;
  installedConsole = console;
  return previous;
}

}  // namespace platform
