#include "game/system/seen_lists.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

#include "tests/game/fixtures/message_box_recorder.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"

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

TEST_F(SeenListsTest, ANewSceneRewritesSceneIniWithItsHeader) {
  ASSERT_TRUE(Read("[Pictures]\r\nPicture=0\r\nMaxPicture=1000\r\n", "[Scenes]\r\nScene=0\r\nMaxScene=200\r\n"));
  AddSeenScene("Scene01");
  EXPECT_TRUE(IsSceneSeen("Scene01"));
  EXPECT_EQ(SeenSceneList.count, 1);
  const std::string expected = std::string("//") + "Meridianeシーン設定ファイル "_sj + kSeenMakerMark +
                               "※このファイルをむやみやたらに変更してはいけません"_sj +
                               "\r\n\r\n[Scenes]\r\nKey[000]=Scene01\r\nMaxScene=200\r\nScene=1\r\n\r\n";
  EXPECT_EQ(dir.Read("scene.ini"), expected);
  // picture.ini is not touched by a scene.
  EXPECT_EQ(dir.Read("picture.ini"), "[Pictures]\r\nPicture=0\r\nMaxPicture=1000\r\n");

  // The same scene again writes nothing: a file changed behind the game's back stays as it is.
  dir.Write("scene.ini", "changed");
  AddSeenScene("Scene01");
  EXPECT_EQ(dir.Read("scene.ini"), "changed");
  EXPECT_EQ(SeenSceneList.count, 1);
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(SeenListsTest, SceneNamesKeepTheirCaseAndLength) {
  ASSERT_TRUE(Read("[Pictures]\r\nPicture=0\r\nMaxPicture=1000\r\n", "[Scenes]\r\nScene=0\r\nMaxScene=200\r\n"));
  AddSeenScene("Scene01");
  AddSeenScene("SCENE01");
  EXPECT_EQ(SeenSceneList.count, 2);
  EXPECT_STREQ(SeenSceneList.names[1], "SCENE01");
  EXPECT_TRUE(IsSceneSeen("SCENE01"));
  EXPECT_FALSE(IsSceneSeen("scene01"));
  EXPECT_FALSE(IsSceneSeen("Scene0"));
  EXPECT_FALSE(IsSceneSeen(""));

  // A long Shift-JIS name is cut to 79 bytes without splitting a character: 40 two-byte
  // characters leave 39 of them (78 bytes).
  std::string longName;
  for (int i = 0; i < 40; ++i) longName += "あ"_sj;
  AddSeenScene(longName);
  ASSERT_EQ(SeenSceneList.count, 3);
  EXPECT_EQ(std::strlen(SeenSceneList.names[2]), 78u);
  EXPECT_TRUE(IsSceneSeen(longName.substr(0, 78)));
  EXPECT_TRUE(IsSceneSeen(longName)) << "the scene seen under its full name is seen";
  EXPECT_FALSE(IsSceneSeen(longName.substr(0, 76)));

  AddSeenScene("");
  EXPECT_EQ(SeenSceneList.count, 3);
}

TEST_F(SeenListsTest, AFullSceneListRecordsNothing) {
  ASSERT_TRUE(Read("[Pictures]\r\nPicture=0\r\nMaxPicture=1000\r\n",
                   "[Scenes]\r\nKey[000]=A\r\nKey[001]=B\r\nMaxScene=2\r\nScene=2\r\n"));
  const std::string before = dir.Read("scene.ini");
  AddSeenScene("C");
  EXPECT_FALSE(IsSceneSeen("C"));
  EXPECT_EQ(SeenSceneList.count, 2);
  EXPECT_EQ(dir.Read("scene.ini"), before);
  EXPECT_TRUE(IsSceneSeen("B"));
}

}  // namespace
