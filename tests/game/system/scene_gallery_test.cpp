#include "game/system/scene_gallery.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

#include "game/app/frame_input.h"
#include "game/system/script_buttons.h"
#include "game/system/seen_lists.h"
#include "tests/game/fixtures/layer_fixture.h"

namespace {

class SceneGalleryTest : public testing::Test {
 protected:
  SceneGalleryTest() : layers(800, 600) {
    SeenSceneList = {};
    std::filesystem::create_directories("cg");
    std::filesystem::create_directories("thumb");
    layers.WriteSolid("cg/system_empty.png", 100, 80, 0xFF808080u);
    InitSceneMode();
    SetClickedButton(-1);
  }
  ~SceneGalleryTest() override {
    EndSceneMode();
    SeenSceneList = {};
    FrameInput = {};
  }
  void See(const char* key) {
    std::strcpy(SeenSceneList.names[SeenSceneList.count++], key);
    SeenSceneList.maximum = kSeenScenes;
  }
  void List(int entries) {
    for (int i = 0; i < entries; ++i) {
      AddSceneModeKey("s" + std::to_string(i));
      AddSceneModeThumb("T" + std::to_string(i));
    }
    StartSceneMode();
  }
  void Frame(FrameInputState input = {}) {
    FrameInput = input;
    DrawSceneMode();
  }
  static FrameInputState ClickAt(int x, int y) {
    FrameInputState input{};
    input.cursorX = x;
    input.cursorY = y;
    input.click = true;
    return input;
  }
  uint32_t Rgb(int x, int y) const { return layers.screen.GetImpl()->GetRow(y)[x] & 0xFFFFFFu; }
  static FrameInputState Scroll() {
    FrameInputState input{};
    input.scrollDown = true;
    return input;
  }

  LayerFixture layers;
};

TEST_F(SceneGalleryTest, ASeenSceneOnPageOneIsPicked) {
  layers.WriteSolid("thumb/t12.png", 100, 80, 0xFF00FF00u);
  layers.WriteSolid("thumb/t1.png", 100, 80, 0xFF0000FFu);
  See("s1");
  See("s12");
  List(13);
  Frame();
  EXPECT_TRUE(SceneGallery.seen[1]);
  EXPECT_FALSE(SceneGallery.seen[0]);
  ASSERT_NE(SceneGallery.thumbnails[0], nullptr);  // the empty-slot picture
  EXPECT_EQ(Rgb(190, 110), 0x808080u);
  EXPECT_EQ(Rgb(344, 110), 0x0000FFu);
  // An unseen scene cannot be chosen.
  Frame(ClickAt(182, 106));
  EXPECT_TRUE(SceneGallery.active);
  EXPECT_EQ(GetClickedButton(), -1);
  // The wheel reaches page 1 (13 entries) and no further.
  Frame(Scroll());
  Frame(Scroll());
  EXPECT_EQ(SceneGallery.page, 1);
  Frame();
  ASSERT_NE(SceneGallery.thumbnails[0], nullptr);
  EXPECT_TRUE(SceneGallery.seen[0]);
  // The one cell of page 1 is drawn at the first place.
  EXPECT_EQ(Rgb(190, 110), 0x00FF00u);
  // The second place has no entry on page 1.
  Frame(ClickAt(336, 106));
  EXPECT_TRUE(SceneGallery.active);
  Frame(ClickAt(182, 106));
  EXPECT_EQ(GetClickedButton(), 112);
  EXPECT_FALSE(SceneGallery.active);
  EXPECT_EQ(SceneGallery.count, 0);
}

TEST_F(SceneGalleryTest, LeavingGivesZero) {
  List(3);
  Frame();
  Frame(ClickAt(162, 601));
  EXPECT_EQ(GetClickedButton(), 0);
  EXPECT_FALSE(SceneGallery.active);
  EXPECT_EQ(SceneGallery.count, 0);
}

TEST_F(SceneGalleryTest, TwentyFourEntriesReachAnEmptyPageTwo) {
  List(24);
  Frame();
  for (int i = 0; i < 3; ++i) Frame(ClickAt(760, 40));
  EXPECT_EQ(SceneGallery.page, 2);
  Frame();
  EXPECT_EQ(SceneGallery.pageBuilt, 2);
  // Nothing on page 2 can be picked; the previous-page control goes back.
  Frame(ClickAt(182, 106));
  EXPECT_EQ(GetClickedButton(), -1);
  Frame(ClickAt(500, 40));
  EXPECT_EQ(SceneGallery.page, 1);
}

TEST_F(SceneGalleryTest, EntriesAreBoundedAndThumbnailsLowerCased) {
  AddSceneModeKey(std::string(500, 'k'));
  AddSceneModeThumb("ABC\\Def");
  EXPECT_EQ(std::strlen(SceneGallery.keys[0]), 127u);
  EXPECT_STREQ(SceneGallery.thumbs[0], "abc\\def");
  for (int i = 1; i < 400; ++i) {
    AddSceneModeKey("k");
    AddSceneModeThumb("t");
  }
  EXPECT_EQ(SceneGallery.count, kGalleryEntries);
  EndSceneMode();
  EXPECT_EQ(SceneGallery.count, 0);
}

}  // namespace
