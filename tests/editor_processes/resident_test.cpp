// The resident process as the real program runs it.
#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <unistd.h>

#include "editor_sandbox.h"
#include "platform/named_mutex.h"

namespace {

using namespace std::chrono_literals;

constexpr char kResidentMark[] = "MutexTovaraEditorCP";

// Whether the condition came true within the limit.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

bool ResidentMarked() { return platform::NamedMutex::OwnerExists(kResidentMark); }

size_t CountOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(EditorResident, AnEditorStartLaunchesTheResidentInTheRootInItsOwnSession) {
  EditorSandbox box;
  const EditorSandbox::Started start = box.Start(box.EditorName(), {"notes.txt"}, box.Folder());
  ASSERT_GT(start.pid, 0);

  const pid_t resident = box.WaitForOne("-NOWIN", 10s);
  ASSERT_GT(resident, 0) << "no resident came";
  EXPECT_NE(resident, start.pid);
  EXPECT_EQ(std::filesystem::read_symlink("/proc/" + std::to_string(resident) + "/cwd"), "/");
  EXPECT_EQ(::getsid(resident), resident) << "a session of its own, so it outlives its starter";
  EXPECT_TRUE(WaitUntil(ResidentMarked, 10s));

  // Without a notification area it says so once and goes on.
  const std::string said = EditorSandbox::ReadFor(start.errors, 1500ms);
  EXPECT_EQ(CountOf(said, "no notification area"), 1u) << said;
  EXPECT_TRUE(std::filesystem::exists(box.SettingsFile())) << "the first start writes the defaults";

  // Asked to quit, it writes its settings and lets go of its mark.
  std::filesystem::remove(box.SettingsFile());
  ASSERT_EQ(::kill(resident, SIGTERM), 0);
  EXPECT_TRUE(EditorSandbox::WaitGone(resident, 10s));
  EXPECT_TRUE(std::filesystem::exists(box.SettingsFile()));
  EXPECT_FALSE(platform::NamedMutex::OwnerExists(kResidentMark));
  ::close(start.errors);
}

TEST(EditorResident, ASecondResidentEndsAtOnceAndAKilledOneLeavesNoStaleMark) {
  EditorSandbox box;
  const EditorSandbox::Started first = box.Start(box.Executable(), {"-NOWIN"}, box.Folder());
  ASSERT_GT(first.pid, 0);
  ASSERT_GT(box.WaitForOne("-NOWIN", 10s), 0);
  ASSERT_TRUE(WaitUntil(ResidentMarked, 10s));

  const EditorSandbox::Started second = box.Start(box.EditorName(), {"-NOWIN"}, box.Folder());
  ASSERT_GT(second.pid, 0);
  EXPECT_EQ(EditorSandbox::WaitForExit(second.pid, 10s), std::optional(0));
  EXPECT_EQ(EditorSandbox::WaitForExit(first.pid, 0ms), std::nullopt) << "the first goes on";

  ::kill(first.pid, SIGKILL);
  EXPECT_EQ(EditorSandbox::WaitForExit(first.pid, 5s), std::optional(128 + SIGKILL));
  EXPECT_FALSE(platform::NamedMutex::OwnerExists(kResidentMark));

  const EditorSandbox::Started next = box.Start(box.Executable(), {"-NOWIN"}, box.Folder());
  ASSERT_GT(next.pid, 0);
  EXPECT_TRUE(WaitUntil(ResidentMarked, 10s)) << "a new resident after the killed one";
  EXPECT_EQ(EditorSandbox::WaitForExit(next.pid, 0ms), std::nullopt);
  for (int fd : {first.errors, second.errors, next.errors}) ::close(fd);
}

}  // namespace
