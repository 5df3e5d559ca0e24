#include "game/seen_lists.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "message_box_recorder.h"
#include "scoped_temp_dir.h"
#include "platform/sjis_literal.h"

namespace {

class SeenListsTest : public testing::Test {
 protected:
  void SetUp() override {
    PictureProfile = CIniProfile();
    SceneProfile = CIniProfile();
    SeenPictureList = {};
    SeenSceneList = {};
  }
  bool Read(std::string_view picture, std::string_view scene) {
    dir.Write("picture.ini", picture);
    dir.Write("scene.ini", scene);
    return PictureProfile.ReadProfile(dir.File("picture.ini").c_str()) &&
           SceneProfile.ReadProfile(dir.File("scene.ini").c_str()) && ExchangeSeenLists(kSeenListsRead);
  }

  ScopedTempDir dir;
  MessageBoxRecorder boxes;
};

TEST_F(SeenListsTest, ReadsAndWritesBothLists) {
  ASSERT_TRUE(Read("[Pictures]\r\nKey[000]=cg\\a.png\r\nKey[001]=cg\\b.png\r\nMaxPicture=1000\r\nPicture=2\r\n",
                   "[Scenes]\r\nKey[000]=Scene01\r\nMaxScene=200\r\nScene=1\r\n"));
  EXPECT_EQ(SeenPictureList.count, 2);
  EXPECT_EQ(SeenPictureList.maximum, 1000);
  EXPECT_STREQ(SeenPictureList.names[1], "cg\\b.png");
  EXPECT_EQ(SeenSceneList.count, 1);
  EXPECT_STREQ(SeenSceneList.names[0], "Scene01");
  EXPECT_TRUE(boxes.boxes().empty());

  std::strcpy(SeenSceneList.names[1], "Scene02");
  SeenSceneList.count = 2;
  ASSERT_TRUE(ExchangeSeenLists(kSeenListsWrite));
  std::string value;
  EXPECT_TRUE(SceneProfile.GetEntry("Scenes", "Key[001]", value));
  EXPECT_EQ(value, "Scene02");
  EXPECT_TRUE(SceneProfile.GetEntry("Scenes", "Scene", value));
  EXPECT_EQ(value, "2");
}

TEST_F(SeenListsTest, AMissingCountKeyIsReported) {
  struct Case {
    const char* picture;
    const char* scene;
    const char* box;
  } cases[] = {
      {"[Pictures]\r\nMaxPicture=10\r\n", "[Scenes]\r\nScene=0\r\nMaxScene=1\r\n", "Pictures/Picture"},
      {"[Pictures]\r\nPicture=0\r\n", "[Scenes]\r\nScene=0\r\nMaxScene=1\r\n", "Pictures/MaxPicture"},
      {"[Pictures]\r\nPicture=0\r\nMaxPicture=1\r\n", "[Scenes]\r\nMaxScene=1\r\n", "Scenes/Scene"},
      {"[Pictures]\r\nPicture=0\r\nMaxPicture=1\r\n", "[Scenes]\r\nScene=0\r\n", "Scenes/MaxScene"},
  };
  for (const auto& c : cases) {
    SetUp();
    boxes.Clear();
    EXPECT_FALSE(Read(c.picture, c.scene)) << c.box;
    ASSERT_EQ(boxes.texts().size(), 1u) << c.box;
    EXPECT_EQ(boxes.texts()[0], std::string("初期化エラー\n"_sj) + c.box + "が設定されていません"_sj);
    EXPECT_EQ(boxes.boxes()[0].caption, "エラー"_sj);
  }
}

TEST_F(SeenListsTest, NumbersBeyondTheListsAreLimited) {
  ASSERT_TRUE(Read("[Pictures]\r\nPicture=5000\r\nMaxPicture=9999\r\n", "[Scenes]\r\nScene=-3\r\nMaxScene=201\r\n"));
  EXPECT_EQ(SeenPictureList.count, kSeenPictures);
  EXPECT_EQ(SeenPictureList.maximum, kSeenPictures);
  EXPECT_EQ(SeenSceneList.count, 0);
  EXPECT_EQ(SeenSceneList.maximum, kSeenScenes);
}

}  // namespace
