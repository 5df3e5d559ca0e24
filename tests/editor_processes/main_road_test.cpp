// The main road: the game in debug mode opens its script in the editor, a person edits and saves
// it, closes the editor, and the game goes on.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <gtest/gtest.h>
#include <string>
#include <thread>

#include "editor/foundation/settings/share_data.h"
#include "editor_sandbox.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/named_mutex.h"
#include "platform/sjis_literal.h"
#include "tests/game/fixtures/game_folder.h"

namespace {

using namespace std::chrono_literals;

constexpr UINT kSaveCommand = 30103;

TEST(EditorMainRoad, TheGameOpensItsScriptInTheEditorAndGoesOnWhenItCloses) {
  platform::EnsureGuiApp();
  EditorSandbox box;
  const std::filesystem::path game = box.Folder() / "game";
  std::filesystem::create_directories(game);
  std::string config = kTestGameConfig;
  config.replace(config.find("debug=\"0\""), 9, "debug=\"1\"");
  std::ofstream(game / "vrel.xml", std::ios::binary) << config;
  std::ofstream(game / "scene.ini", std::ios::binary) << kTestSceneIni;
  std::ofstream(game / "picture.ini", std::ios::binary) << kTestPictureIni;
  std::ofstream(game / "start.txt", std::ios::binary) << "QUIT\r\n";
  const std::string script = (game / "start.txt").string();

  const EditorSandbox::Started started = box.Start(box.Executable(), {}, game);
  ASSERT_GT(started.pid, 0);

  CShareData share;
  ASSERT_TRUE(share.Init());
  EditWindowId window = 0;
  const auto end = std::chrono::steady_clock::now() + 15s;
  while (!share.FindEditWindowByPath(script.c_str(), &window) && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(50ms);
  ASSERT_NE(window, 0u) << "the script never opened in the editor";
  EXPECT_EQ(platform::ipc::ProcessOf(window), started.pid) << "the edit window runs in the game's process";
  const pid_t resident = box.WaitForOne("-NOWIN", 5s);
  ASSERT_GT(resident, 0);
  EXPECT_EQ(std::filesystem::read_symlink("/proc/" + std::to_string(resident) + "/cwd"), "/");

  // ASCII, then a kanji as the input arrives: its two Shift-JIS bytes.
  const std::string kanji = "表"_sj;
  for (const unsigned char c : std::string("ab") + kanji)
    platform::ipc::SendMessage(window, WM_CHAR, c, 0);
  {
    // The line as another editor process reads it: the typed bytes before the script's text.
    CShareData::ExchangeLock lock(share);
    const LRESULT length = platform::ipc::SendMessage(window, MYWM_GETLINEDATA, 0, 0);
    ASSERT_GE(length, 0);
    EXPECT_EQ(std::string(share.GetShareData()->szExchangeText, static_cast<size_t>(length)),
              "ab" + kanji + "QUIT\r\n");
  }
  EXPECT_EQ(share.AskWindowFileInfo(window).bModified, 1);
  platform::ipc::SendMessage(window, WM_COMMAND, kSaveCommand, 0);
  EXPECT_EQ(share.AskWindowFileInfo(window).bModified, 0);
  {
    std::ifstream saved(script, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), "ab" + kanji + "QUIT\r\n")
        << "the file holds the typed bytes and keeps its CR LF";
  }
  EXPECT_EQ(platform::ipc::SendMessage(window, MYWM_CLOSE, 0, 0), 1);

  // The game goes on with the script it had read, which quits.
  EXPECT_EQ(EditorSandbox::WaitForExit(started.pid, 20s), std::optional(0))
      << "the game said: " << EditorSandbox::ReadFor(started.errors, 1s);
  EXPECT_TRUE(EditorSandbox::WaitGone(resident, 10s)) << "the resident ends with the last window";
  EXPECT_TRUE(std::filesystem::exists(box.SettingsFile()));
  EXPECT_FALSE(platform::NamedMutex::OwnerExists("MutexTovaraEditorCP"));
  EXPECT_FALSE(platform::NamedMutex::OwnerExists("MutexTovaraEditorInit"));
  ::close(started.errors);
}

}  // namespace
