// What a player of a damaged install is told: a file that is there but cannot be read is named and
// said to be unreadable, never "not found"; a missing file is still reported as missing; a save that
// cannot be read says so; a screen size no desktop holds is fitted to it and the log says so.
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "game/app/screen_fit.h"
#include "game/script/message_log.h"
#include "game/stage/avi_movie_player.h"
#include "game/stage/movie_player.h"
#include "game/stage/picture_layers.h"
#include "game/system/save_file.h"
#include "platform/audio_mixer.h"
#include "platform/sjis_literal.h"
#include "tests/game/fixtures/message_fixture.h"
#include "tests/sdk/graphics/png_writer.h"
#include "tools/make_sounds/sound_writer.h"

namespace {

std::string Sj(const char* text) { return text; }

class DamagedInstall : public testing::Test, public MessageFixture {
 protected:
  DamagedInstall() {
    platform::SetAudioManualRender(true);
    SetMoviePlayerFactory(&MakeAviMoviePlayer);
    // A whole picture, and the same cut off after its first 60 bytes.
    PngFixture png;
    png.width = png.height = 16;
    png.rows.assign(16, std::vector<uint8_t>(16 * 3, 0x80));
    const std::string whole = folder.dir().File("whole.png");
    EXPECT_TRUE(WritePng(whole, png));
    folder.dir().Write("cg_cut.png", folder.dir().Read("whole.png").substr(0, 60));
    // Music cut off inside its headers.
    std::vector<uint8_t> ogg;
    EXPECT_TRUE(sound_writer::MakeOggVorbis(sound_writer::Tone(22050, 1, 22050, 440, 4000), 22050, 1, 0.3f, ogg));
    folder.dir().Write("music_cut.ogg", std::string(reinterpret_cast<const char*>(ogg.data()), 200));
    // A film that is only the start of its header.
    folder.dir().Write("film_cut.avi", std::string("RIFF\x10\0\0\0AVI LIST", 16));
  }
  ~DamagedInstall() override {
    StopMovie();
    SetMoviePlayerFactory(nullptr);
    platform::SetAudioManualRender(false);
  }

  // The lines the script's run left in the message log.
  std::string RunScript(const std::string& script) {
    ClearMessageLog();
    Load(script + "END\n");
    run.Frame(2);
    std::string said;
    for (const std::string& line : run.Log()) said += line;
    return said;
  }
  // What the log says of a screen size on a desktop with room for 1024 x 768.
  static std::string FitOnDesktop(int32_t width, int32_t height) {
    return FitScreenSize(&width, &height, 1024, 768);
  }
  std::string Boxes() const {
    std::string said;
    for (const std::string& text : questions.texts()) said += text;
    return said;
  }
};

TEST_F(DamagedInstall, EachMessageSaysWhatIsWrong) {
  const std::string unreadable = " を読み込めません（壊れているか、形式が違います）"_sj;
  const std::string missing = "ファイルが見つかりません"_sj;
  struct Case {
    const char* name;
    std::function<std::string()> meet;  // what the player is told
    std::string said;                   // a part of it
    bool saysMissing;                   // whether it says that a file is missing
  };
  const Case cases[] = {
      {"a cut picture", [&] { return RunScript("PICTURE 1, \"cg_cut.png\"\n"); }, "cg_cut.png" + unreadable, false},
      {"a missing picture", [&] { return RunScript("PICTURE 1, \"cg_none.png\"\n"); }, missing, true},
      {"a cut picture cross-faded", [&] { return RunScript("OVERLAP 1, \"cg_cut.png\"\n"); },
       "cg_cut.png" + unreadable, false},
      {"cut music", [&] { return RunScript("BGM \"music_cut.ogg\"\n"); }, "music_cut.ogg" + unreadable, false},
      {"missing music", [&] { return RunScript("BGM \"music_none.ogg\"\n"); }, missing, true},
      {"a cut film", [&] { return RunScript("MOVIE \"film_cut.avi\"\n"); }, "film_cut.avi" + unreadable, false},
      {"a missing film", [&] { return RunScript("MOVIE \"film_none.avi\"\n"); }, missing + " film_none.avi", true},
      {"a cut wipe mask", [&] { return RunScript("TRANSITION 0, 6, \"cg_cut.png\"\n"); },
       Sj("トランジション画像[cg_cut.png]"_sj) + unreadable, false},
      {"a save slot that cannot be read",
       [&] {
         std::filesystem::create_directories(folder.dir().File("savedata/data000.sav"));
         questions.Clear();
         EXPECT_FALSE(LoadSaveFile(SaveSlotPath(0)));
         return Boxes();
       },
       Sj("セーブデータを読み込めません\nsavedata\\data000.sav"_sj), false},
      // The message names the size the game opens at instead.
      {"a screen no desktop holds", [&] { return FitOnDesktop(32767, 19); },
       Sj("vrel.xml の画面サイズ 32767x19 はデスクトップ(1024x768)に表示できないので、1024x19 で開きます"_sj), false},
      {"a screen without height", [&] { return FitOnDesktop(640, 0); }, Sj("で、640x1 で開きます"_sj), false},
  };
  for (const Case& c : cases) {
    const std::string told = c.meet();
    EXPECT_NE(told.find(c.said), std::string::npos) << c.name << ": " << told;
    EXPECT_EQ(told.find(missing) != std::string::npos, c.saysMissing) << c.name << ": " << told;
  }
  // A size that fits is left alone, and nothing is said.
  int32_t width = 800, height = 600;
  EXPECT_EQ(FitScreenSize(&width, &height, 800, 600), "");
  EXPECT_EQ(width, 800);
  EXPECT_EQ(height, 600);
}

}  // namespace
