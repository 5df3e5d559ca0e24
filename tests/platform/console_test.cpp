#include "platform/console.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/sjis_literal.h"

namespace {

// A pipe each way: the test writes what is typed and reads what the console wrote.
class Pipes {
 public:
  Pipes() {
    EXPECT_EQ(pipe(m_in), 0);
    EXPECT_EQ(pipe(m_out), 0);
  }
  ~Pipes() {
    for (int fd : {m_in[0], m_in[1], m_out[0], m_out[1]}) {
      if (fd >= 0) close(fd);
    }
  }
  Pipes(const Pipes&) = delete;
  Pipes& operator=(const Pipes&) = delete;

  int consoleIn() const { return m_in[0]; }
  int consoleOut() const { return m_out[1]; }
  void Type(std::string_view text) {
    ASSERT_EQ(write(m_in[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  void CloseTyping() {
    close(m_in[1]);
    m_in[1] = -1;
  }
  std::string Written() {
    fcntl(m_out[0], F_SETFL, O_NONBLOCK);
    std::string text;
    char buffer[256];
    for (ssize_t got; (got = read(m_out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(got));
    return text;
  }

 private:
  int m_in[2] = {-1, -1};
  int m_out[2] = {-1, -1};
};

struct Read {
  platform::ConsoleRead result;
  std::string line;
};

Read Next(platform::Console& console) {
  Read r{platform::ConsoleRead::kEnd, "(untouched)"};
  r.result = console.ReadLine(r.line);
  return r;
}

// Input that comes in pieces: nothing is handed over before its line is whole, and a read never
// waits for the rest.
TEST(FdConsole, LinesComeWholeAndNothingWaits) {
  using R = platform::ConsoleRead;
  Pipes pipes;
  platform::FdConsole console(pipes.consoleIn(), pipes.consoleOut());
  EXPECT_EQ(Next(console).result, R::kPending);
  pipes.Type("4");
  EXPECT_EQ(Next(console).result, R::kPending);
  pipes.Type("2\r\n7\n\nlast");
  const std::vector<std::pair<R, std::string>> expected = {
      {R::kLine, "42"}, {R::kLine, "7"}, {R::kLine, ""}, {R::kPending, ""}};
  for (const auto& [result, line] : expected) {
    const Read r = Next(console);
    EXPECT_EQ(r.result, result) << line;
    if (result == R::kLine) {
      EXPECT_EQ(r.line, line);
    }
  }
  // The end of the input completes the last line; after it every read says so.
  pipes.CloseTyping();
  const Read last = Next(console);
  EXPECT_EQ(last.result, R::kLine);
  EXPECT_EQ(last.line, "last");
  EXPECT_EQ(Next(console).result, R::kEnd);
  EXPECT_EQ(Next(console).result, R::kEnd);
}

TEST(FdConsole, AnUnreadableInputIsAtItsEnd) {
  platform::FdConsole console(-1, -1);
  EXPECT_EQ(Next(console).result, platform::ConsoleRead::kEnd);
  console.Write("dropped");  // nobody to write to: no harm
}

// A line without end is handed over in pieces, so the input cannot grow the buffer without bound.
TEST(FdConsole, AnEndlessLineComesInPieces) {
  Pipes pipes;
  platform::FdConsole console(pipes.consoleIn(), pipes.consoleOut());
  const std::string piece(platform::FdConsole::kMaxLineBytes, '9');
  pipes.Type(piece);
  pipes.Type("12\n");
  const Read first = Next(console);
  EXPECT_EQ(first.result, platform::ConsoleRead::kLine);
  EXPECT_EQ(first.line, piece);
  const Read rest = Next(console);
  EXPECT_EQ(rest.result, platform::ConsoleRead::kLine);
  EXPECT_EQ(rest.line, "12");
}

// Our text is Shift-JIS; the terminal reads UTF-8.
TEST(FdConsole, WrittenTextReachesTheTerminalAsUtf8) {
  Pipes pipes;
  platform::FdConsole console(pipes.consoleIn(), pipes.consoleOut());
  console.Write("数を入力? "_sj);
  EXPECT_EQ(pipes.Written(), reinterpret_cast<const char*>(u8"数を入力? "));
}

TEST(Console, ATestConsoleStandsInAndGoes) {
  Pipes pipes;
  platform::FdConsole stand(pipes.consoleIn(), pipes.consoleOut());
  platform::Console* previous = platform::SetConsole(&stand);
  EXPECT_EQ(&platform::ActiveConsole(), &stand);
  EXPECT_EQ(platform::SetConsole(previous), &stand);
  EXPECT_NE(&platform::ActiveConsole(), &stand);
}

}  // namespace
