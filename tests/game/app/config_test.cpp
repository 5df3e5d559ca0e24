#include "game/app/config.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

#include "fuzz_corpus.h"
#include "game/script/message_log.h"
#include "tests/game/fixtures/message_box_recorder.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"

namespace {

// Every element the game reads, with an attribute of our own (keep) that must survive a write.
constexpr const char* kFullConfig = R"(<?xml version="1.0" encoding="Shift_JIS" ?>
<advsystem>
  <title>テスト表示</title>
  <script>start.txt</script>
  <screen width="800" height="600" window="1" />
  <debug debug="0" />
  <surface cache="30" />
  <information cache="0" fps="1" cpu="1" />
  <effect speed="5" fps="60" switch="1" keep="yes" />
  <save file="cg\save.png" page="3" />
  <load file="cg\load.png" page="4" />
  <tips file="cg\tips.png" mode="1" />
  <system>
    <background file="cg\sysbg.png" />
    <nodata file="cg\nodata.png" />
    <backtogame file="cg\b1.png" x="10" y="11" />
    <backtotitle file="cg\b2.png" x="20" y="21" />
    <windowmode file="cg\b3.png" x="30" y="31" />
    <fullscreenmode file="cg\b4.png" x="40" y="41" />
    <quit file="cg\b5.png" x="50" y="51" />
  </system>
  <sound>
    <bgm volume="80" switch="1" voice="1" />
    <se volume="70" switch="0" />
    <voice volume="90" switch="1" />
    <sound volume="100" />
    <actor>
      <actor01 play="1" />
      <actor02 play="0" />
      <actor03 play="1" />
    </actor>
  </sound>
  <text>
    <message speed="12" />
    <window file="cg\window.png" x="0" y="440" alpha="200" />
    <auto file="cg\auto.png" x="600" y="450" speed="7" switch="0" />
    <skip file="cg\skip.png" x="640" y="450" />
    <backlog file="cg\log.png" x="680" y="450" />
    <system file="cg\sys.png" x="720" y="450" />
    <quicksave file="cg\qs.png" x="760" y="450" />
    <quickload file="cg\ql.png" x="780" y="450" />
    <nextprompt>cg\prompt.png</nextprompt>
    <isread skip="0" fast="1" alpha="1" />
    <normalmode>
      <font type="1" size="22" hmargin="2" color="#FF8000" shadow="#000040" />
      <text x="40" y="470" width="720" height="110" />
      <name x="40" y="445" size="20" color="#ffffff" shadow="#102030" />
    </normalmode>
    <novelmode>
      <text x="60" y="40" width="680" height="520" />
    </novelmode>
  </text>
  <backlog>
    <window file="cg\backlog.png" x="5" y="6" />
    <text size="18" x="50" y="60" width="700" height="480" />
    <slider size="16" x="760" y="60" width="16" height="480" />
    <voice file="cg\voice.png" />
  </backlog>
</advsystem>
)"_sj;

class ConfigTest : public testing::Test {
 protected:
  void SetUp() override { Config = {}; }
  std::string Path() const { return dir.File("vrel.xml"); }
  bool Read() { return ExchangeConfig(Path().c_str(), kConfigRead); }
  bool Write() { return ExchangeConfig(Path().c_str(), kConfigWrite); }

  ScopedTempDir dir;
  MessageBoxRecorder boxes;
};

TEST_F(ConfigTest, ReadsEveryElement) {
  dir.Write("vrel.xml", kFullConfig);
  ASSERT_TRUE(Read());
  EXPECT_TRUE(boxes.boxes().empty());
  const GameConfig& c = Config;
  EXPECT_STREQ(c.title, "テスト表示"_sj);
  EXPECT_STREQ(c.script, "start.txt");
  EXPECT_EQ(c.screenWidth, 800);
  EXPECT_EQ(c.screenHeight, 600);
  EXPECT_TRUE(c.windowMode);
  EXPECT_FALSE(c.debug);
  EXPECT_EQ(c.imageCacheSize, 30);
  EXPECT_FALSE(c.showCacheRate);
  EXPECT_TRUE(c.showFps);
  EXPECT_TRUE(c.showCpu);
  EXPECT_EQ(c.effectSpeed, 5);
  EXPECT_EQ(c.fps, 60);
  EXPECT_TRUE(c.effectsOn);
  EXPECT_STREQ(c.saveScreenFile, "cg\\save.png");
  EXPECT_EQ(c.savePage, 3);
  EXPECT_STREQ(c.loadScreenFile, "cg\\load.png");
  EXPECT_EQ(c.loadPage, 4);
  EXPECT_STREQ(c.tipsFile, "cg\\tips.png");
  EXPECT_TRUE(c.tipsOn);
  EXPECT_STREQ(c.systemBackgroundFile, "cg\\sysbg.png");
  EXPECT_STREQ(c.noDataFile, "cg\\nodata.png");
  EXPECT_STREQ(c.backToGameButton.file, "cg\\b1.png");
  EXPECT_EQ(c.backToTitleButton.x, 20);
  EXPECT_EQ(c.windowModeButton.y, 31);
  EXPECT_STREQ(c.fullScreenModeButton.file, "cg\\b4.png");
  EXPECT_EQ(c.quitButton.x, 50);
  EXPECT_EQ(c.bgm.volume, 80);
  EXPECT_TRUE(c.bgm.on);
  EXPECT_TRUE(c.bgmDownForVoice);
  EXPECT_EQ(c.se.volume, 70);
  EXPECT_FALSE(c.se.on);
  EXPECT_EQ(c.voice.volume, 90);
  EXPECT_EQ(c.masterVolume, 100);
  EXPECT_EQ(c.actorCount, 3);
  EXPECT_TRUE(c.actorVoiceOn[0]);
  EXPECT_FALSE(c.actorVoiceOn[1]);
  EXPECT_TRUE(c.actorVoiceOn[2]);
  EXPECT_EQ(c.messageSpeed, 12);
  EXPECT_STREQ(c.messageWindowFile, "cg\\window.png");
  EXPECT_EQ(c.messageWindowY, 440);
  EXPECT_EQ(c.messageWindowAlpha, 200);
  EXPECT_STREQ(c.autoButton.file, "cg\\auto.png");
  EXPECT_EQ(c.autoSpeed, 7);
  EXPECT_FALSE(c.autoOn);
  EXPECT_EQ(c.skipButton.x, 640);
  EXPECT_EQ(c.backlogButton.x, 680);
  EXPECT_EQ(c.systemButton.x, 720);
  EXPECT_EQ(c.quickSaveButton.x, 760);
  EXPECT_EQ(c.quickLoadButton.x, 780);
  EXPECT_STREQ(c.nextPromptFile, "cg\\prompt.png");
  EXPECT_FALSE(c.skipUnread);
  EXPECT_TRUE(c.readTextFast);
  EXPECT_TRUE(c.readTextAlpha);
  EXPECT_EQ(c.fontType, 1);
  EXPECT_EQ(c.fontSize, 22);
  EXPECT_EQ(c.fontHMargin, 2);
  EXPECT_EQ(c.fontColor, 0x000080FFu);
  EXPECT_EQ(c.fontShadow, 0x00400000u);
  EXPECT_EQ(c.normalText.width, 720);
  EXPECT_EQ(c.nameSize, 20);
  EXPECT_EQ(c.nameColor, 0x00FFFFFFu);
  EXPECT_EQ(c.nameShadow, 0x00302010u);
  EXPECT_EQ(c.novelText.height, 520);
  EXPECT_STREQ(c.backlogWindowFile, "cg\\backlog.png");
  EXPECT_EQ(c.backlogWindowY, 6);
  EXPECT_EQ(c.backlogText.size, 18);
  EXPECT_EQ(c.backlogSlider.x, 760);
  EXPECT_STREQ(c.backlogVoiceFile, "cg\\voice.png");
}

TEST_F(ConfigTest, WritesThePlayersSettingsBackAndKeepsTheRest) {
  dir.Write("vrel.xml", kFullConfig);
  ASSERT_TRUE(Read());
  Config.fps = 45;  // the rate the main loop adapted to
  Config.windowMode = false;
  Config.bgm.volume = 33;
  Config.actorVoiceOn[1] = true;
  Config.messageWindowX = 7;
  Config.autoOn = true;
  Config.skipUnread = true;
  Config.screenWidth = 1;       // not written back: read again from the file
  Config.fontColor = 0x123456;  // likewise
  ASSERT_TRUE(Write());
  EXPECT_EQ(Config.screenWidth, 800);
  EXPECT_EQ(Config.fontColor, 0x000080FFu);

  const std::string text = dir.Read("vrel.xml");
  EXPECT_NE(text.find("keep=\"yes\""), std::string::npos);
  EXPECT_NE(text.find("テスト表示"_sj), std::string::npos);

  Config = {};
  ASSERT_TRUE(Read());
  EXPECT_EQ(Config.fps, 45);
  EXPECT_FALSE(Config.windowMode);
  EXPECT_EQ(Config.bgm.volume, 33);
  EXPECT_TRUE(Config.actorVoiceOn[1]);
  EXPECT_EQ(Config.messageWindowX, 7);
  EXPECT_TRUE(Config.autoOn);
  EXPECT_TRUE(Config.skipUnread);
  EXPECT_EQ(Config.screenWidth, 800);
  EXPECT_STREQ(Config.title, "テスト表示"_sj);
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(ConfigTest, ReportsEachMissingElementUnderItsNameAndGoesOn) {
  std::string xml = kFullConfig;
  auto cut = [&](const std::string& element) {
    size_t from = xml.find(element);
    ASSERT_NE(from, std::string::npos) << element;
    xml.erase(from, xml.find('\n', from) - from);
  };
  cut("<se volume");
  cut("<font type");
  cut("<slider");
  cut("<quit file");  // the system bar's elements are optional
  cut("<actor02");    // ends the actor list without a word
  cut("<title>");
  dir.Write("vrel.xml", xml);
  ASSERT_TRUE(Read());
  const std::vector<std::string> expected = {
      "初期化ファイルの読み込みに失敗->title"_sj,
      "初期化ファイルの読み込みに失敗->sound/Se"_sj,
      "初期化ファイルの読み込みに失敗->text/font"_sj,
      "初期化ファイルの読み込みに失敗->backlog/window"_sj,
  };
  EXPECT_EQ(boxes.texts(), expected);
  EXPECT_EQ(boxes.boxes()[0].caption, "エラー"_sj);
  EXPECT_EQ(Config.actorCount, 1);
  EXPECT_EQ(Config.screenWidth, 800);  // the elements after a gap are still read
  EXPECT_EQ(Config.backlogText.size, 18);

  boxes.Clear();
  ASSERT_TRUE(Write());
  EXPECT_EQ(boxes.texts(), expected);  // the same boxes in write mode
}

TEST_F(ConfigTest, MissingAttributesAndTextNodesReadAsEmpty) {
  dir.Write("vrel.xml", R"(<advsystem><title/><script></script><screen height="x"/>
      <save/><text><window/><normalmode><font size="9"/><name color="red"/></normalmode></text></advsystem>)");
  Config.screenWidth = 5;
  Config.fontColor = 0x111111;
  Config.nameColor = 0x222222;
  std::strcpy(Config.title, "old");
  std::strcpy(Config.saveScreenFile, "old");
  EXPECT_TRUE(Read());
  EXPECT_STREQ(Config.title, "");
  EXPECT_STREQ(Config.script, "");
  EXPECT_EQ(Config.screenWidth, 0);
  EXPECT_EQ(Config.screenHeight, 0);
  EXPECT_STREQ(Config.saveScreenFile, "");
  EXPECT_STREQ(Config.messageWindowFile, "");
  EXPECT_EQ(Config.fontSize, 9);
  EXPECT_EQ(Config.fontColor, 0x111111u);  // no colour given: unchanged
  EXPECT_EQ(Config.nameColor, 0x222222u);  // not a colour: unchanged
  EXPECT_FALSE(boxes.boxes().empty());
}

TEST_F(ConfigTest, CutsNamesAndTextsAtTheirFields) {
  const std::string longName(300, 'a');
  std::string title;
  for (int i = 0; i < 200; ++i) title += "\x82\xA0";  // 400 bytes of double-byte characters
  dir.Write("vrel.xml", "<advsystem><title>" + title + "</title><script>" + longName +
                            "</script>"
                            "<text><skip file=\"" +
                            longName + "\" x=\"1\"/></text></advsystem>");
  EXPECT_TRUE(Read());
  EXPECT_EQ(std::string(Config.title), title.substr(0, 254));  // 255 bytes would split a character
  EXPECT_EQ(std::string(Config.script), longName.substr(0, 255));
  EXPECT_EQ(std::string(Config.skipButton.file), longName.substr(0, 63));
  EXPECT_EQ(Config.skipButton.x, 1);
}

// The box names the file and, on a line of its own, what is wrong: the XML reader's own account
// and the line and column where it found the fault.
TEST_F(ConfigTest, UnreadableFilesAreReportedAndChangeNothing) {
  struct Case {
    const char* name;
    const char* contents;  // null: no file
    std::string problem;
  } cases[] = {
      {"missing.xml", nullptr, "ファイルを開けません"_sj},
      {"broken.xml", "<advsystem><title>x</advsystem>", "1行目 20文字目: Error reading end tag."_sj},
      {"broken_later.xml", "<advsystem>\n  <title>x</title>\n  <screen width=\"800 />\n</advsystem>",
       "3行目 11文字目: Error parsing Element."_sj},
      {"other.xml", "<settings><title>x</title></settings>", "<advsystem> 要素がありません"_sj},
  };
  for (const auto& c : cases) {
    boxes.Clear();
    if (c.contents) dir.Write(c.name, c.contents);
    const std::string path = dir.File(c.name);
    Config.fps = 17;
    EXPECT_FALSE(ExchangeConfig(path.c_str(), kConfigRead)) << c.name;
    EXPECT_FALSE(ExchangeConfig(path.c_str(), kConfigWrite)) << c.name;
    EXPECT_EQ(Config.fps, 17);
    ASSERT_EQ(boxes.texts().size(), 2u) << c.name;
    EXPECT_EQ(boxes.texts()[0], path + " 読み込みに失敗しました\n"_sj + c.problem);
    if (c.contents) {
      EXPECT_EQ(dir.Read(c.name), c.contents);
    }
  }
}

// Files the XML writer would not reproduce: a declaration value holding `">` (printed as it stands
// between double quotes, it ended the declaration early and the next start lost the whole
// document) and a stray "&" in a text (it reads back otherwise). The declaration is written anew,
// so that file is replaced and reads again; the other keeps its old contents and the message log
// says why. Either way the next start reads the file.
TEST_F(ConfigTest, AWrittenFileAlwaysReadsBackOrTheOldOneStays) {
  const struct {
    const char* corpusFile;
    bool replaced;
  } kCases[] = {
      {"declaration_value_holding_quote_gt", true},
      {"text_with_stray_ampersand", false},
  };
  for (const auto& c : kCases) {
    const std::vector<uint8_t> bytes = FuzzCorpusBytes("xml_config", c.corpusFile);
    ASSERT_FALSE(bytes.empty()) << c.corpusFile;
    const std::string original(bytes.begin(), bytes.end());
    dir.Write("vrel.xml", original);
    Config = {};
    ASSERT_TRUE(Read()) << c.corpusFile;
    ASSERT_EQ(Config.fps, 60) << c.corpusFile;
    Config.fps = 45;
    ClearMessageLog();
    boxes.Clear();
    EXPECT_TRUE(Write()) << c.corpusFile;
    const std::string written = dir.Read("vrel.xml");
    if (c.replaced) {
      EXPECT_NE(written, original) << c.corpusFile;
      EXPECT_EQ(written.find("\">"), std::string::npos) << written;
      EXPECT_EQ(MessageLog.count, 0) << c.corpusFile;
    } else {
      EXPECT_EQ(written, original) << c.corpusFile;
      ASSERT_EQ(MessageLog.count, 1) << c.corpusFile;
      EXPECT_EQ(std::string(MessageLog.lines[0]),
                Path() + " は書き戻しませんでした(書き出す内容を読み直すと設定が変わります)"_sj);
    }
    Config = {};
    boxes.Clear();
    ASSERT_TRUE(Read()) << c.corpusFile;
    EXPECT_EQ(Config.fps, c.replaced ? 45 : 60) << c.corpusFile;
    for (const std::string& text : boxes.texts())
      EXPECT_EQ(text.find("読み込みに失敗しました"_sj), std::string::npos) << c.corpusFile;
  }
}

// A second declaration whose value holds a double quote: written as it was read, its value ran on
// into the markup and swallowed the root's start, so the next start found an empty root and lost
// the title. Every declaration is written anew; and whether a written file reads back is judged
// as a start reads it, from nothing, so an element the printed text loses counts as lost.
TEST_F(ConfigTest, EveryDeclarationIsWrittenAnewAndTheNextStartReadsTheSame) {
  const std::vector<uint8_t> bytes = FuzzCorpusBytes("xml_config", "second_declaration_swallows_the_root");
  ASSERT_FALSE(bytes.empty());
  dir.Write("vrel.xml", std::string(bytes.begin(), bytes.end()));
  Config = {};
  ASSERT_TRUE(Read());
  ASSERT_STREQ(Config.title, ";");
  EXPECT_TRUE(Write());
  EXPECT_EQ(dir.Read("vrel.xml").find("=\"\""), std::string::npos) << dir.Read("vrel.xml");
  Config = {};
  ASSERT_TRUE(Read());
  EXPECT_STREQ(Config.title, ";");
}

TEST_F(ConfigTest, AReadOnlyFileIsNotWritten) {
  dir.Write("vrel.xml", kFullConfig);
  ASSERT_TRUE(Read());
  std::filesystem::permissions(Path(), std::filesystem::perms::owner_read);
  Config.fps = 30;
  EXPECT_FALSE(Write());
  EXPECT_EQ(dir.Read("vrel.xml"), kFullConfig);
}

}  // namespace
