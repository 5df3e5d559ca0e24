// The game's films through the movie seam: the frame of the film in place of the layers, and a
// file that cannot be read reported and dropped.
#include "game/stage/avi_movie_player.h"

#include <gtest/gtest.h>
#include <string>

#include "game/script/message_log.h"
#include "game/stage/picture_layers.h"
#include "tests/game/fixtures/layer_fixture.h"
#include "platform/audio_mixer.h"
#include "platform/clock.h"
#include "platform/sjis_literal.h"
#include "tools/make_films/film_writer.h"
#include "tools/make_sounds/sound_writer.h"

namespace {

uint32_t FilmColour(int, int, int frame) { return frame == 0 ? 0x123456u : 0x654321u; }

class GameMovie : public testing::Test {
 protected:
  GameMovie() : layers(4, 1) {
    platform::SetAudioManualRender(true);
    SetMoviePlayerFactory(&MakeAviMoviePlayer);
    layers.WriteSolid("red.png", 4, 1, 0xFFFF0000u);
    film_writer::Film film;
    film_writer::Video v;
    v.width = 2;
    v.height = 1;
    for (int i = 0; i < 30; ++i) v.frames.push_back(film_writer::Rows24(2, 1, FilmColour, i));
    film.video = v;
    film_writer::Audio a;
    std::vector<uint8_t> wave;
    EXPECT_TRUE(sound_writer::MakeWave(sound_writer::WaveKind::kImaAdpcm,
                                       sound_writer::Tone(22050, 1, 22050, 440, 12000), 22050, 1, wave));
    EXPECT_TRUE(film_writer::SplitWave(wave, a.format, a.data));
    film.audio = a;
    EXPECT_TRUE(sound_writer::WriteFile(layers.dir.File("film.avi"), film_writer::MakeAvi(film)));
    ClearMessageLog();
  }
  ~GameMovie() override {
    StopMovie();
    SetMoviePlayerFactory(nullptr);
    platform::SetAudioManualRender(false);
  }
  platform::ManualClock clock{500};
  LayerFixture layers;
};

TEST_F(GameMovie, TheFilmsFrameAndSoundReplaceTheLayersUntilStopped) {
  ASSERT_TRUE(LoadPicture(0, 0, 0, 0, "red.png"));
  PlayMovie("film.avi");
  layers.Frame();
  EXPECT_EQ(layers.Colour(0, 0), 0x123456u);
  EXPECT_EQ(layers.Colour(2, 0), LayerFixture::kBackground & 0xFFFFFFu) << "1:1 at the top left";
  clock.Advance(200);
  layers.Frame();
  EXPECT_EQ(layers.Colour(1, 0), 0x654321u);
  std::vector<int16_t> out(2 * 4000);
  platform::RenderAudio(out);
  int peak = 0;
  for (int16_t s : out) peak = std::max(peak, std::abs(static_cast<int>(s)));
  EXPECT_GT(peak, 1000) << "the film's sound is in the mixer";
  EXPECT_EQ(MessageLog.count, 0);
  StopMovie();
  layers.Frame();
  EXPECT_EQ(layers.Colour(0, 0), 0xFF0000u);
}

TEST_F(GameMovie, AFileThatCannotBeOpenedIsReportedAndLeavesTheLayers) {
  ASSERT_TRUE(LoadPicture(0, 0, 0, 0, "red.png"));
  PlayMovie("missing.avi");
  ASSERT_EQ(MessageLog.count, 1);
  EXPECT_NE(std::string(MessageLog.lines[0]).find("ファイルが見つかりません"_sj), std::string::npos);
  EXPECT_NE(std::string(MessageLog.lines[0]).find("missing.avi"), std::string::npos);
  layers.Frame();
  EXPECT_EQ(layers.Colour(0, 0), 0xFF0000u);
}

}  // namespace
