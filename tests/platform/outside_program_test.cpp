#include "platform/outside_program.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/error_text.h"
#include "platform/sjis.h"
#include "platform/sjis_literal.h"
#include "process_state.h"
#include "scoped_temp_dir.h"

namespace {

using namespace std::chrono_literals;
using platform::ProgramRequest;
using platform::RunningProgram;
using PollResult = RunningProgram::PollResult;

ProgramRequest Shell(std::string script, std::vector<std::string> more = {}) {
  ProgramRequest request;
  request.program = "sh";
  request.arguments = {"-c", std::move(script), "sh"};
  request.arguments.insert(request.arguments.end(), more.begin(), more.end());
  return request;
}

std::unique_ptr<RunningProgram> Start(const ProgramRequest& request) {
  std::string error = "unchanged";
  auto program = platform::SystemOutsidePrograms()->Start(request, &error);
  EXPECT_TRUE(program) << error;
  EXPECT_EQ(error, "");
  return program;
}

// Reads until the program ended and nothing more waits; false when that took too long.
bool ReadToEnd(RunningProgram& program, std::string* out, std::chrono::milliseconds limit = 20s) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    if (program.Poll(100ms) == PollResult::kEnded) {
      program.Read(out);
      return true;
    }
    program.Read(out);
  }
  return false;
}

// The first line of the output as a process id (the scripts print $$ or $! first).
pid_t FirstLinePid(RunningProgram& program, std::string* out) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (out->find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
    program.Poll(100ms);
    program.Read(out);
  }
  return static_cast<pid_t>(std::atoi(out->c_str()));
}

TEST(OutsideProgram, ScriptsEndWithTheirOutputAndStatus) {
  struct Case {
    const char* name;
    const char* script;
    const char* output;
    int status;
  };
  const Case cases[] = {
      {"exits with zero", "echo done", "done\n", 0},
      {"exits with its code", "echo failing; exit 3", "failing\n", 3},
      {"error and output share one pipe in order", "echo one; echo two >&2; echo three", "one\ntwo\nthree\n", 0},
      {"input is empty, never the caller's", "cat; echo after", "after\n", 0},
      {"killed by a signal gives 128 + its number", "echo before; kill -9 $$; echo never", "before\n", 128 + SIGKILL},
      {"ended by SIGTERM", "kill -TERM $$", "", 128 + SIGTERM},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto program = Start(Shell(c.script));
    ASSERT_TRUE(program);
    std::string out;
    ASSERT_TRUE(ReadToEnd(*program, &out));
    EXPECT_EQ(out, c.output);
    EXPECT_TRUE(program->Ended());
    EXPECT_EQ(program->ExitStatus(), c.status);
  }
}

TEST(OutsideProgram, ArgumentsFolderAndVariablesReachTheChildInUtf8) {
  const ScopedTempDir dir;
  const std::string hostFolderName = platform::SjisToUtf8("作業表"_sj);
  std::filesystem::create_directory(dir.path() / hostFolderName);
  ProgramRequest request = Shell("pwd; printf '[%s]' \"$@\"; printf '<%s>' \"$TOVARA_RUNNER_ADDED\" \"$HOME\"",
                                 {"a b", "", "漢字"_sj, "\"q\""});
  request.folder = dir.path().string() + "/" + "作業表"_sj;
  request.environment = {"TOVARA_RUNNER_ADDED=値 1"_sj, "HOME=/replaced"};
  const auto ownFolder = std::filesystem::current_path();
  auto program = Start(request);
  ASSERT_TRUE(program);
  std::string out;
  ASSERT_TRUE(ReadToEnd(*program, &out));
  EXPECT_EQ(program->ExitStatus(), 0);
  const std::string expected = (std::filesystem::canonical(dir.path()) / hostFolderName).string() + "\n" + "[a b][][" +
                               platform::SjisToUtf8("漢字"_sj) + "][\"q\"]<" + platform::SjisToUtf8("値 1"_sj) +
                               "><" + "/replaced>";
  EXPECT_EQ(out, expected);
  EXPECT_EQ(std::filesystem::current_path(), ownFolder);
}

TEST(OutsideProgram, ProgramsGivenByPathAndFoundOnPath) {
  const ScopedTempDir dir;
  dir.Write("tool", "#!/bin/sh\necho \"$0\" \"$1\"\n");
  std::filesystem::permissions(dir.File("tool"), std::filesystem::perms::owner_all);
  struct Case {
    const char* name;
    std::string program;
    std::string folder;
    std::string output;
  };
  const Case cases[] = {
      {"an absolute path", dir.File("tool"), "", dir.File("tool") + " x\n"},
      {"a relative path from the child's folder", "./tool", dir.path().string(), "./tool x\n"},
      {"a name on PATH keeps its name as argv[0]", "printf", "", "x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProgramRequest request;
    request.program = c.program;
    request.arguments = {"x"};
    request.folder = c.folder;
    auto program = Start(request);
    ASSERT_TRUE(program);
    std::string out;
    ASSERT_TRUE(ReadToEnd(*program, &out));
    EXPECT_EQ(out, c.output);
    EXPECT_EQ(program->ExitStatus(), 0);
  }
}

TEST(OutsideProgram, WhatCannotStartFailsWithTheSystemsText) {
  const ScopedTempDir dir;
  dir.Write("plain.txt", "not a program\n");
  std::filesystem::permissions(dir.File("plain.txt"), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  struct Case {
    const char* name;
    std::string program;
    std::string folder;
    int error;
  };
  const Case cases[] = {
      {"a name found nowhere on PATH", "tovara-runner-no-such-program", "", ENOENT},
      {"a missing path", dir.File("missing"), "", ENOENT},
      {"a file without the right to run it", dir.File("plain.txt"), "", EACCES},
      {"a folder that does not exist", "sh", dir.File("no-folder"), ENOENT},
      {"no program at all", "", "", ENOENT},
      {"a folder Shift-JIS bytes cannot spell", "sh", dir.path().string() + "/\x81", EILSEQ},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProgramRequest request;
    request.program = c.program;
    request.folder = c.folder;
    std::string error;
    EXPECT_EQ(platform::SystemOutsidePrograms()->Start(request, &error), nullptr);
    EXPECT_EQ(error, platform::SystemErrorText(c.error));
  }
}

TEST(OutsideProgram, PollWaitsNoLongerThanItsLimit) {
  auto program = Start(Shell("exec sleep 30"));
  ASSERT_TRUE(program);
  EXPECT_EQ(program->Poll(50ms), PollResult::kTimeout);
  std::string out;
  EXPECT_EQ(program->Read(&out), 0u);
  EXPECT_FALSE(program->Ended());
  EXPECT_EQ(program->ExitStatus(), std::nullopt);
  program->Terminate();
  EXPECT_TRUE(program->Ended());
  EXPECT_EQ(program->ExitStatus(), 128 + SIGKILL);
}

TEST(OutsideProgram, TerminateEndsAGrandchildThatHoldsThePipe) {
  // The child ends at once; what it started keeps the pipe open and would keep a reader waiting.
  auto program = Start(Shell("sleep 60 & echo $!; exit 5"));
  ASSERT_TRUE(program);
  std::string out;
  const pid_t grandchild = FirstLinePid(*program, &out);
  ASSERT_GT(grandchild, 0) << out;
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (program->Poll(100ms) != PollResult::kEnded && std::chrono::steady_clock::now() < deadline) program->Read(&out);
  EXPECT_EQ(program->ExitStatus(), 5);
  EXPECT_NE(ProcessState(grandchild), 0) << "the grandchild should still run";

  program->Terminate();
  EXPECT_TRUE(GoneWithin(grandchild, 5s));
  EXPECT_EQ(program->ExitStatus(), 5);  // the child's own end, not the kill
  EXPECT_EQ(program->Poll(5s), PollResult::kEnded);
  EXPECT_EQ(program->Read(&out), 0u);
}

TEST(OutsideProgram, NothingOutlivesItsRunningProgramNorStaysAZombie) {
  struct Case {
    const char* name;
    const char* script;
    bool waitForEnd;
  };
  const Case cases[] = {
      {"ended and read to its end", "echo $$", true},
      {"ended but never polled again", "echo $$; exit 0", false},
      {"still running", "echo $$; exec sleep 60", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    pid_t pid = 0;
    {
      auto program = Start(Shell(c.script));
      ASSERT_TRUE(program);
      std::string out;
      pid = FirstLinePid(*program, &out);
      ASSERT_GT(pid, 0);
      if (c.waitForEnd) {
        ASSERT_TRUE(ReadToEnd(*program, &out));
      }
    }
    EXPECT_TRUE(GoneWithin(pid, 5s)) << "state " << ProcessState(pid);
  }
}

}  // namespace
