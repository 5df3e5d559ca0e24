// The files of a small game folder that the whole-game tests start the game in: a 320 x 240 window,
// no script of its own, no cache, no overlay.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"
#include "sdk/framework/path_functions.h"
#include "sdk/graphics/png_writer.h"

inline constexpr const char* kTestGameConfig = R"(<?xml version="1.0" encoding="Shift_JIS" ?>
<advsystem>
  <title>テスト</title>
  <script>start.txt</script>
  <screen width="320" height="240" window="1" />
  <debug debug="0" />
  <surface cache="0" />
  <information cache="0" fps="0" cpu="0" />
  <effect speed="5" fps="75" switch="1" />
  <save file="s.png" page="0" /><load file="l.png" page="0" /><tips file="t.png" mode="1" />
  <sound><bgm volume="80" switch="1" voice="1" /><se volume="80" switch="1" />
    <voice volume="80" switch="1" /><sound volume="100" /></sound>
  <text><message speed="8" /><window file="w.png" x="0" y="0" alpha="200" />
    <auto file="a.png" x="0" y="0" speed="5" switch="0" /><skip file="k.png" x="0" y="0" />
    <backlog file="b.png" x="0" y="0" /><system file="y.png" x="0" y="0" />
    <quicksave file="q.png" x="0" y="0" /><quickload file="r.png" x="0" y="0" />
    <nextprompt>p.png</nextprompt><isread skip="0" fast="0" alpha="0" />
    <normalmode><font type="0" size="20" hmargin="0" color="#FFFFFF" shadow="#000000" />
      <text x="0" y="0" width="300" height="50" /><name x="0" y="0" size="20" color="#FFFFFF" shadow="#000000" />
    </normalmode><novelmode><text x="0" y="0" width="300" height="200" /></novelmode></text>
  <backlog><window file="bl.png" x="0" y="0" /><text size="16" x="0" y="0" width="1" height="1" />
    <slider size="16" x="0" y="0" width="1" height="1" /><voice file="v.png" /></backlog>
</advsystem>
)"_sj;
inline constexpr const char* kTestSceneIni = "[Scenes]\r\nKey[000]=op\r\nMaxScene=200\r\nScene=1\r\n";
inline constexpr const char* kTestPictureIni = "[Pictures]\r\nMaxPicture=1000\r\nPicture=0\r\n";

// The test config with the message window at the bottom: its picture (see WriteBlueWindowPicture)
// covers rows 200 to 239.
inline std::string ConfigWithWindowAtBottom() {
  std::string config = kTestGameConfig;
  config.replace(config.find("file=\"w.png\" x=\"0\" y=\"0\""), 25, "file=\"w.png\" x=\"0\" y=\"200\"");
  return config;
}

// The message window's picture "w.png": 320 x 40 of pure blue.
inline bool WriteBlueWindowPicture(const ScopedTempDir& dir) {
  PngFixture png;
  png.width = 320;
  png.height = 40;
  png.rows.assign(40, std::vector<uint8_t>());
  for (auto& row : png.rows)
    for (int x = 0; x < 320; ++x) row.insert(row.end(), {0x00, 0x00, 0xFF});
  return WritePng(dir.File("w.png"), png);
}

// A fresh game folder made the current directory for the life of the object, holding the config
// given and the two ini files; the script and the pictures are the test's own.
class GameFolderScope {
 public:
  explicit GameFolderScope(const std::string& config = kTestGameConfig) : m_previous(std::filesystem::current_path()) {
    std::filesystem::current_path(dir.path());
    RecordCurrentDir();
    dir.Write("vrel.xml", config);
    dir.Write("scene.ini", kTestSceneIni);
    dir.Write("picture.ini", kTestPictureIni);
  }
  ~GameFolderScope() {
    std::filesystem::current_path(m_previous);
    RecordCurrentDir();
  }
  GameFolderScope(const GameFolderScope&) = delete;
  GameFolderScope& operator=(const GameFolderScope&) = delete;

  ScopedTempDir dir;

 private:
  std::filesystem::path m_previous;
};
