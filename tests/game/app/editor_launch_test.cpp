#include "game/app/editor_launch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "game/script/message_log.h"
#include "platform/path.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"
#include "sdk/framework/editor_process_factory.h"
#include "sdk/framework/path_functions.h"

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

// A folder below a fresh one made the game's start folder (the current directory, recorded as the
// game records it at start) for the life of the object.
class StartFolderScope {
 public:
  explicit StartFolderScope(const char8_t* below = u8"") : m_previous(std::filesystem::current_path()) {
    m_folder = root.path() / below;
    std::filesystem::create_directories(m_folder);
    std::filesystem::current_path(m_folder);
    RecordCurrentDir();
    platform::ForgetPathCache();
  }
  ~StartFolderScope() {
    std::filesystem::current_path(m_previous);
    RecordCurrentDir();
  }
  StartFolderScope(const StartFolderScope&) = delete;
  StartFolderScope& operator=(const StartFolderScope&) = delete;

  // Makes an empty file below the start folder ("/" between levels, UTF-8).
  void Touch(const char8_t* name) const {
    const std::filesystem::path file = m_folder / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << "";
  }
  // The start folder as the editor names it, ending with "/".
  std::string Exact() const {
    std::string exact;
    EXPECT_TRUE(platform::ExactPathFromHost(m_folder.string(), exact));
    return exact + "/";
  }

  ScopedTempDir root;

 private:
  std::filesystem::path m_previous;
  std::filesystem::path m_folder;
};

class EditorLaunchTest : public testing::Test {
 protected:
  void SetUp() override { ClearMessageLog(); }
  void TearDown() override {
    SetEditorProcessCreator(nullptr);
    ClearMessageLog();
  }
  // Installs a creator that records the command line and makes nothing.
  void RecordCommandLines() {
    SetEditorProcessCreator([this](HINSTANCE, const char* commandLine) -> std::unique_ptr<CProcessBase> {
      log.push_back(commandLine);
      return nullptr;
    });
  }
  std::vector<std::string> log;
};

TEST_F(EditorLaunchTest, CommandLineCarriesTheLineNumber) {
  EXPECT_EQ(EditorCommandLine("scenario\\\x95\x5C.txt", 42), "scenario\\\x95\x5C.txt -Y=42");
  EXPECT_EQ(EditorCommandLine("a.txt", 0), "a.txt -Y=0");
}

TEST_F(EditorLaunchTest, TheScriptAsTheGameFoundItInTheEditorsExactForm) {
  struct Case {
    const char* name;
    const char8_t* folder;   // the game's folder below a fresh one
    const char8_t* onDisk;   // the script's file in it
    std::string script;      // the game's name for it (Shift-JIS)
    int line;
    std::string expected;    // "*" stands for the game's folder in the editor's form
  };
  const Case cases[] = {
      {"a plain name", u8"game", u8"start.txt", "start.txt", 0, "*start.txt -Y=0"},
      {"the line number", u8"game", u8"start.txt", "start.txt", 12, "*start.txt -Y=12"},
      {"a name in another case, as the game found it", u8"game", u8"Scenario/Start.txt", "scenario\\START.TXT", 3,
       "*Scenario/Start.txt -Y=3"},
      {"a Japanese name, a trail byte like the separator", u8"game", u8"表.txt", "表.txt"_sj, 1,
       "*表.txt -Y=1"_sj},
      {"a space in the folder: quoted", u8"my game", u8"start.txt", "start.txt", 5, "\"*start.txt\" -Y=5"},
      {"a space and a quote in the name", u8"game", u8"a \"b\".txt", "a \"b\".txt", 0,
       "\"*a \"\"b\"\".txt\" -Y=0"},
      {"a missing script keeps its spelling", u8"game", u8"other.txt", "missing.txt", 0, "*missing.txt -Y=0"},
  };
  RecordCommandLines();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log.clear();
    const StartFolderScope game(c.folder);
    game.Touch(c.onDisk);
    std::string expected = c.expected;
    expected.replace(expected.find('*'), 1, game.Exact());
    EXPECT_FALSE(LaunchEditor(CEditorProcessFactory(), nullptr, c.script, c.line));
    EXPECT_EQ(log, std::vector<std::string>{expected});
    EXPECT_EQ(MessageLog.count, 0);
  }
}

TEST_F(EditorLaunchTest, ANameWithoutAnExactFormOpensNothingAndSaysSo) {
  RecordCommandLines();
  const StartFolderScope game(u8"game\U0001F600");
  game.Touch(u8"start.txt");
  EXPECT_FALSE(LaunchEditor(CEditorProcessFactory(), nullptr, "start.txt", 4));
  EXPECT_TRUE(log.empty());
  ASSERT_EQ(MessageLog.count, 1);
  const std::string line = MessageLog.lines[0];
  EXPECT_NE(line.find("start.txt"), std::string::npos) << line;
  EXPECT_NE(line.find("エディタで開きません"_sj), std::string::npos) << line;
}

TEST_F(EditorLaunchTest, RunsWhatTheFactoryMakesThenDeletesIt) {
  const StartFolderScope game(u8"game");
  SetEditorProcessCreator([this](HINSTANCE, const char* commandLine) {
    log.push_back(commandLine);
    return std::make_unique<FakeEditor>(&log);
  });
  EXPECT_TRUE(LaunchEditor(CEditorProcessFactory(), nullptr, "start.txt", 7));
  EXPECT_EQ(log, (std::vector<std::string>{game.Exact() + "start.txt -Y=7", "run", "deleted"}));
}

TEST_F(EditorLaunchTest, WithoutAnEditorOrOnFailureTheGameGoesOn) {
  const StartFolderScope game(u8"game");
  EXPECT_FALSE(LaunchEditor(CEditorProcessFactory(), nullptr, "start.txt", 1));  // none linked in
  SetEditorProcessCreator([](HINSTANCE, const char*) -> std::unique_ptr<CProcessBase> { return nullptr; });
  EXPECT_FALSE(LaunchEditor(CEditorProcessFactory(), nullptr, "start.txt", 1));
  SetEditorProcessCreator([](HINSTANCE, const char*) -> std::unique_ptr<CProcessBase> {
    throw std::runtime_error("no resident process");
  });
  EXPECT_FALSE(LaunchEditor(CEditorProcessFactory(), nullptr, "start.txt", 1));
}

}  // namespace
