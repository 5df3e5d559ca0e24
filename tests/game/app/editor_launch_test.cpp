#include "game/app/editor_launch.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "sdk/framework/editor_process_factory.h"

namespace {

class FakeEditor : public CProcessBase {
 public:
  explicit FakeEditor(std::vector<std::string>* log) : m_log(log) {}
  ~FakeEditor() override { m_log->push_back("deleted"); }
  bool Run() override {
    m_log->push_back("run");
    return true;
  }

 private:
  std::vector<std::string>* m_log;
};

class EditorLaunchTest : public testing::Test {
 protected:
  void TearDown() override { SetEditorProcessCreator(nullptr); }
  std::vector<std::string> log;
};

TEST_F(EditorLaunchTest, CommandLineCarriesTheLineNumber) {
  EXPECT_EQ(EditorCommandLine("scenario\\\x95\x5C.txt", 42), "scenario\\\x95\x5C.txt -Y=42");
  EXPECT_EQ(EditorCommandLine("a.txt", 0), "a.txt -Y=0");
}

TEST_F(EditorLaunchTest, RunsWhatTheFactoryMakesThenDeletesIt) {
  SetEditorProcessCreator([this](HINSTANCE, const char* commandLine) {
    log.push_back(commandLine);
    return std::make_unique<FakeEditor>(&log);
  });
  EXPECT_TRUE(LaunchEditor(CEditorProcessFactory(), nullptr, "start.txt", 7));
  EXPECT_EQ(log, (std::vector<std::string>{"start.txt -Y=7", "run", "deleted"}));
}

TEST_F(EditorLaunchTest, WithoutAnEditorOrOnFailureTheGameGoesOn) {
  EXPECT_FALSE(LaunchEditor(CEditorProcessFactory(), nullptr, "start.txt", 1));  // none linked in
  SetEditorProcessCreator([](HINSTANCE, const char*) -> std::unique_ptr<CProcessBase> { return nullptr; });
  EXPECT_FALSE(LaunchEditor(CEditorProcessFactory(), nullptr, "start.txt", 1));
  SetEditorProcessCreator([](HINSTANCE, const char*) -> std::unique_ptr<CProcessBase> {
    throw std::runtime_error("no resident process");
  });
  EXPECT_FALSE(LaunchEditor(CEditorProcessFactory(), nullptr, "start.txt", 1));
}

}  // namespace
