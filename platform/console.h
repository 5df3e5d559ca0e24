// The terminal the program was started from: text written to it, and lines typed on it, read
// without ever waiting. A game thread that asks for a line goes on drawing its frames and asks again
// next frame until a whole line is there. Text is Shift-JIS on our side and UTF-8 on the terminal.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

enum class ConsoleRead {
  kLine,     // a whole line was read
  kPending,  // no whole line yet: ask again later
  kEnd,      // the input ended, or it cannot be read: no line will ever come
};

class Console {
 public:
  virtual ~Console() = default;
  // The next line without its line end (LF or CR LF). A last line that the end of the input cuts
  // off without a line end still counts as a line.
  virtual ConsoleRead ReadLine(std::string& line) = 0;
  virtual void Write(std::string_view text) = 0;
};

// A console over two open file descriptors, which it does not own. Reading polls and takes only
// what is there; a line longer than kMaxLineBytes is handed over in pieces of that size.
class FdConsole : public Console {
 public:
  static constexpr size_t kMaxLineBytes = 4096;

  FdConsole(int inFd, int outFd) : m_in(inFd), m_out(outFd), m_ended(inFd < 0) {}
  ConsoleRead ReadLine(std::string& line) override;
  void Write(std::string_view text) override;

 private:
  bool TakeLine(std::string& line);

  int m_in;
  int m_out;
  std::string m_buffer;
  bool m_ended;
};

// The console the program uses: standard input and output unless a test installed its own.
Console& ActiveConsole();
// Installs a console (null restores standard input and output) and returns the previous one
// (null for the standard one). The caller keeps ownership.
Console* SetConsole(Console* console);

}  // namespace platform
