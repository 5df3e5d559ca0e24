#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "current_dir_scope.h"
#include "platform/desktop_wallpaper.h"
#include "platform/input_method.h"
#include "scoped_temp_dir.h"
#include "sdk/framework/archive_writer.h"
#include "sdk/framework/ime_switch.h"
#include "sdk/framework/scramble.h"
#include "sdk/framework/wallpaper.h"

namespace {

// Sets an environment variable for one test and puts the old value back.
class EnvScope {
 public:
  EnvScope(const char* name, const char* value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    if (value) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~EnvScope() {
    if (m_old) {
      ::setenv(m_name, m_old->c_str(), 1);
    } else {
      ::unsetenv(m_name);
    }
  }

 private:
  const char* m_name;
  std::optional<std::string> m_old;
};

TEST(ImeSwitch, TheSystemIsCalledOncePerChange) {
  std::vector<bool> calls;
  auto previous = platform::SetInputMethodHook([&](HWND, bool on) { calls.push_back(on); });
  DisableIME();
  calls.clear();
  EnableIME();
  EnableIME();
  DisableIME();
  DisableIME();
  EnableIME();
  EXPECT_EQ(calls, (std::vector<bool>{true, false, true}));
  platform::SetInputMethodHook(previous);
}

class Wallpaper : public testing::Test {
 protected:
  Wallpaper()
      : m_scope(m_game.path().string()),
        m_data("XDG_DATA_HOME", m_home.path().string().c_str()),
        m_desktop("XDG_CURRENT_DESKTOP", "ubuntu:GNOME") {
    m_previous = platform::SetCommandRunner([this](const std::vector<std::string>& argv) {
      m_commands.push_back(argv);
      return m_status;
    });
  }
  ~Wallpaper() override { platform::SetCommandRunner(m_previous); }

  ScopedTempDir m_game;
  ScopedTempDir m_home;
  CurrentDirScope m_scope;
  EnvScope m_data;
  EnvScope m_desktop;
  platform::CommandRunner m_previous;
  std::vector<std::vector<std::string>> m_commands;
  int m_status = 0;
};

TEST_F(Wallpaper, TheImageIsCopiedUnderItsNameAndHandedToTheDesktop) {
  const std::vector<unsigned char> picture = {'B', 'M', 1, 2, 3};
  std::vector<unsigned char> archive;
  std::string error;
  ASSERT_TRUE(BuildPackedArchive({{{"wall.bmp", picture}}}, PackOptions{ArchiveKind::kPackEx, true, true}, archive, error));
  m_game.Write("savedata.dat", archive);
  ASSERT_EQ(SetDesktopWallpaper("savedata\\wall.bmp"), 0);
  const std::string copy = m_home.File("vrel/wall.bmp");
  EXPECT_EQ(m_home.Read("vrel/wall.bmp"), std::string(picture.begin(), picture.end()));  // stored unscrambled
  ASSERT_FALSE(m_commands.empty());
  EXPECT_EQ(m_commands[0],
            (std::vector<std::string>{"gsettings", "set", "org.gnome.desktop.background", "picture-uri", "file://" + copy}));
  // A later picture of the same name replaces the copy.
  m_game.Write("savedata/wall.bmp", "new");
  ASSERT_EQ(SetDesktopWallpaper("savedata\\wall.bmp"), 0);
  EXPECT_EQ(m_home.Read("vrel/wall.bmp"), "new");
}

TEST_F(Wallpaper, EveryFailureIsOne) {
  m_game.Write("w.bmp", "BM");
  EXPECT_EQ(SetDesktopWallpaper("missing.bmp"), 1);
  EXPECT_TRUE(m_commands.empty());
  m_status = 1;  // the desktop's tool fails
  EXPECT_EQ(SetDesktopWallpaper("w.bmp"), 1);
  m_commands.clear();
  {
    EnvScope none("XDG_CURRENT_DESKTOP", nullptr);
    m_status = 0;
    EXPECT_EQ(SetDesktopWallpaper("w.bmp"), 1);  // no desktop to ask
    EXPECT_TRUE(m_commands.empty());
  }
  {
    EnvScope kde("XDG_CURRENT_DESKTOP", "KDE");
    EXPECT_EQ(SetDesktopWallpaper("w.bmp"), 0);
    ASSERT_EQ(m_commands.size(), 1u);
    EXPECT_EQ(m_commands[0], (std::vector<std::string>{"plasma-apply-wallpaperimage", m_home.File("vrel/w.bmp")}));
  }
}

}  // namespace
