// The start-up benchmark's two moments, in the real program: the pane's first paint of an edit
// window, and the first paint of the bare window the benchmark measures against. Each is one byte
// on the descriptor VREL_FIRST_FRAME_FD names, written once, after which the program closes it.
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <unistd.h>
#include <vector>

#include "editor_sandbox.h"

namespace {

using namespace std::chrono_literals;

struct MarkCase {
  const char* name;
  std::vector<std::string> args;
  bool bareWindow;      // with VREL_BENCH_BARE_WINDOW
  bool endsByItself;    // else it stays until a quit signal closes its window
  bool startsResident;  // an edit window needs the resident; the bare window starts nothing
};

void PrintTo(const MarkCase& c, std::ostream* os) { *os << c.name; }

class StartMarkTest : public testing::TestWithParam<MarkCase> {};

TEST_P(StartMarkTest, TheFirstPaintIsMarkedOnceOnTheNamedDescriptor) {
  const MarkCase& c = GetParam();
  EditorSandbox box;
  std::ofstream(box.Folder() / "notes.txt", std::ios::binary) << "line 1\r\nline 2\r\n";
  int mark[2];
  ASSERT_EQ(pipe2(mark, O_CLOEXEC), 0);
  ASSERT_EQ(fcntl(mark[1], F_SETFD, 0), 0);
  ASSERT_EQ(setenv("VREL_FIRST_FRAME_FD", std::to_string(mark[1]).c_str(), 1), 0);
  if (c.bareWindow) {
    ASSERT_EQ(setenv("VREL_BENCH_BARE_WINDOW", "1", 1), 0);
  }
  const EditorSandbox::Started started = box.Start(box.EditorName(), c.args, box.Folder());
  unsetenv("VREL_FIRST_FRAME_FD");
  unsetenv("VREL_BENCH_BARE_WINDOW");
  close(mark[1]);
  ASSERT_GT(started.pid, 0);
  // One byte, then the end of the pipe: the program closed the descriptor after the mark.
  EXPECT_EQ(EditorSandbox::ReadFor(mark[0], 20s), "\x01");
  close(mark[0]);
  // An edit window opens only once the resident is ready, so it runs by the time the pane paints.
  EXPECT_EQ(box.ProcessesOfCopy("-NOWIN").empty(), !c.startsResident);
  if (!c.endsByItself) {
    EXPECT_EQ(EditorSandbox::WaitForExit(started.pid, 300ms), std::nullopt) << "the window should stay";
    ::kill(started.pid, SIGTERM);
  }
  EXPECT_EQ(EditorSandbox::WaitForExit(started.pid, 20s), 0);
  close(started.errors);
}

INSTANTIATE_TEST_SUITE_P(
    Starts, StartMarkTest,
    testing::Values(MarkCase{"EditWindowPane", {"notes.txt"}, false, false, true},
                    MarkCase{"BareWindow", {}, true, true, false}),
    [](const testing::TestParamInfo<MarkCase>& info) { return std::string(info.param.name); });

}  // namespace
