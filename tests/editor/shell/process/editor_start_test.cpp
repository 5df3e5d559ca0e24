// The editor's route out of main: whatever escapes the process ends it with a line and a failing
// status, never with the runtime's abort.
#include "editor/shell/process/editor_start.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "sdk/framework/editor_process_factory.h"

namespace {

class ScriptedProcess final : public CProcessBase {
 public:
  explicit ScriptedProcess(std::function<bool()> run) : m_run(std::move(run)) {}
  bool Run() override { return m_run(); }

 private:
  std::function<bool()> m_run;
};

// What was written to a stream, read back from its start.
std::string Written(std::FILE* stream) {
  std::fflush(stream);
  std::rewind(stream);
  std::string text;
  for (int c; (c = std::fgetc(stream)) != EOF;) text.push_back(static_cast<char>(c));
  return text;
}

TEST(EditorStartTest, WhatEscapesTheProcessEndsItWithALineAndStatusOne) {
  const auto throwsRuntime = [] () -> bool { throw std::runtime_error("no room for the record"); };
  const auto throwsInt = [] () -> bool { throw 7; };
  struct Case {
    const char* name;
    std::function<std::unique_ptr<CProcessBase>()> create;
    int status;
    std::string line;
  } cases[] = {
      {"a process that runs", [] { return std::make_unique<ScriptedProcess>([] { return true; }); }, 0, ""},
      {"a process whose start fails (it said why)",
       [] { return std::make_unique<ScriptedProcess>([] { return false; }); }, 0, ""},
      {"no process (it said why)", [] { return nullptr; }, 0, ""},
      {"creating throws", [&]() -> std::unique_ptr<CProcessBase> { throwsRuntime(); return nullptr; }, 1,
       "tovara: the editor stopped on an unexpected error: no room for the record\n"},
      {"running throws", [&] { return std::make_unique<ScriptedProcess>(throwsRuntime); }, 1,
       "tovara: the editor stopped on an unexpected error: no room for the record\n"},
      {"running throws what is no exception", [&] { return std::make_unique<ScriptedProcess>(throwsInt); }, 1,
       "tovara: the editor stopped on an unexpected error\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string seenText;
    SetEditorProcessCreator([&](HINSTANCE, const char* text) {
      seenText = text;
      return c.create();
    });
    std::FILE* errors = std::tmpfile();
    ASSERT_NE(errors, nullptr);
    EXPECT_EQ(RunEditorCommandLine(nullptr, "notes.txt -Y=5", errors), c.status);
    EXPECT_EQ(Written(errors), c.line);
    EXPECT_EQ(seenText, "notes.txt -Y=5");
    std::fclose(errors);
  }
  SetEditorProcessCreator({});
}

}  // namespace
