// The game window's menu bar in the running game: the items are chosen as the player would, the
// pump hands the command over between frames, and the settings, the check marks and the slot items
// are looked at in the frames after.
#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "game/app/config.h"
#include "game/text/cursor_prompt.h"
#include "game/script/engine_state.h"
#include "game/text/fixed_text.h"
#include "game/system/game_menu_refresh.h"
#include "game/system/game_menu_resource.h"
#include "game/stage/image_cache.h"
#include "game/script/read_flag_table.h"
#include "game/app/run_state.h"
#include "game/app/script_app.h"
#include "game/app/win_main.h"
#include "tests/game/fixtures/game_folder.h"
#include "tests/game/fixtures/message_box_recorder.h"
#include "platform/cursor.h"
#include "platform/cursor_pos.h"
#include "platform/desktop.h"
#include "platform/desktop_wallpaper.h"
#include "platform/display_mode.h"
#include "platform/menu.h"
#include "platform/presenter.h"
#include "platform/quit_signal.h"
#include "platform/simulated_input.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"
#include "tests/game/fixtures/script_harness.h"
#include "sdk/framework/idle_callback.h"
#include "sdk/framework/window_application.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/mem_plane_impl.h"
#include "sdk/graphics/png_writer.h"
#include "tests/game/fixtures/time_zone_scope.h"

namespace {

using namespace game_menu;
namespace fs = std::filesystem;

constexpr int kF1Key = 0x01000030;  // the toolkit's number of the full-screen key

// A message on an open window: the game waits for a click and nothing moves on its own.
constexpr const char* kScript = "OPENWINDOW\nテスト\n\nEND\n"_sj;

HWND Window() { return GetAppWindowHandle(); }
HMENU Menu() { return platform::GetMenu(Window()); }

// The item of the id anywhere in the menu, depth first.
std::optional<platform::MenuItemInfo> Item(HMENU menu, UINT id) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    platform::MenuItemInfo info;
    GetMenuItemInfoAt(menu, i, info);
    if (info.submenu) {
      if (auto found = Item(info.submenu, id)) return found;
    } else if (!(info.flags & MF_SEPARATOR) && info.id == id) {
      return info;
    }
  }
  return std::nullopt;
}

bool Checked(UINT id) { return (GetMenuState(Menu(), id, MF_BYCOMMAND) & MF_CHECKED) != 0; }
bool Grey(UINT id) { return (GetMenuState(Menu(), id, MF_BYCOMMAND) & MF_GRAYED) != 0; }
std::string Text(UINT id) {
  auto item = Item(Menu(), id);
  return item ? item->text : "(missing)";
}

// The items of a group that carry a check mark.
std::vector<UINT> CheckedOf(const std::vector<UINT>& group) {
  std::vector<UINT> checked;
  for (UINT id : group)
    if (Checked(id)) checked.push_back(id);
  return checked;
}

// Runs each step in the game's idle time, gap pumps after the one before (each pump is followed by
// a frame unless a menu is open), then ends the game.
class Steps : public CIdleCallback {
 public:
  Steps(std::vector<std::function<void()>> steps, int gap) : m_steps(std::move(steps)), m_gap(gap) {}
  void OnIdle() override {
    if (++m_calls % m_gap != 0) return;
    const size_t i = static_cast<size_t>(m_calls / m_gap - 1);
    if (i < m_steps.size()) {
      m_steps[i]();
    } else {
      QuitRequest = true;
    }
  }
  size_t done() const { return static_cast<size_t>(m_calls / m_gap); }

 private:
  std::vector<std::function<void()>> m_steps;
  int m_gap;
  int m_calls = 0;
};

class GameMenuTest : public testing::Test {
 protected:
  void SetUp() override {
    platform::ClearQuitSignal();
    folder.dir.Write("start.txt", CrLf(kScript));
  }

  // Plays the game in the folder with the steps; false when the game ended before the last step.
  bool Play(std::vector<std::function<void()>> steps, int gap = 3) {
    const size_t count = steps.size();
    Steps runner(std::move(steps), gap);
    IdleCallbacks().push_back(&runner);
    static char commandLine[] = "";
    static int module = 0;
    WinMain(&module, nullptr, commandLine, 1);
    std::erase(IdleCallbacks(), &runner);
    return runner.done() >= count;
  }

  GameFolderScope folder;
  MessageBoxRecorder boxes;
};

TEST_F(GameMenuTest, TheBarHoldsEveryCaptionAndIdOnceInItsPlace) {
  std::string tree;
  int items = 0;
  std::vector<UINT> ids;
  std::function<void(HMENU, int)> walk = [&](HMENU menu, int depth) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      platform::MenuItemInfo info;
      GetMenuItemInfoAt(menu, i, info);
      tree += std::string(static_cast<size_t>(depth) * 2, ' ');
      if (info.flags & MF_SEPARATOR) {
        tree += "-\n";
      } else if (info.submenu) {
        tree += info.text + "\n";
        walk(info.submenu, depth + 1);
      } else {
        tree += info.text + " " + std::to_string(info.id) + "\n";
        ids.push_back(info.id);
        ++items;
      }
    }
  };
  ASSERT_TRUE(Play({[&] { walk(Menu(), 0); }}));
  // The slot items already show their slots ("NO DATA": the folder has no saves).
  const std::string expected = std::string("ロード(&L)\n"_sj) +
                               "  NO DATA 40084\n  NO DATA 40085\n  NO DATA 40086\n  NO DATA 40094\n"
                               "  NO DATA 40095\n  NO DATA 40096\n  NO DATA 40097\n  NO DATA 40098\n"
                               "  NO DATA 40099\n  NO DATA 40100\n" +
                               "セーブ(&S)\n"_sj +
                               "  NO DATA 40081\n  NO DATA 40082\n  NO DATA 40083\n  NO DATA 40087\n"
                               "  NO DATA 40088\n  NO DATA 40089\n  NO DATA 40090\n  NO DATA 40091\n"
                               "  NO DATA 40092\n  NO DATA 40093\n" +
                               "設定(&C)\n"
                               "  画面(&G)\n"
                               "    フルスクリーン(&F) 40020\n"
                               "    ウインドウ(&W) 40021\n"
                               "    -\n"
                               "    チップスを表示する 40102\n"
                               "  メッセージ(&M)\n"
                               "    表示速度(&S)\n"
                               "      最速 40025\n      -\n      速い 40022\n      普通 40023\n      遅い 40024\n"
                               "    オートモード(&A)\n"
                               "      速い 40072\n      普通 40073\n      遅い 40074\n      -\n      無し 40075\n"
                               "    既読/未読(&R)\n"
                               "      未読の文章もスキップする 40026\n      -\n"
                               "      一度見た文章は半透明で表示する 40028\n"
                               "      一度見た文章は高速で表示する 40029\n      -\n"
                               "      未読/既読フラグをクリアする 40031\n"
                               "    ウィンドウ(&W)\n"
                               "      通常表示 40058\n      -\n      半透明表示(75%) 40059\n"
                               "      半透明表示(50%) 40060\n      半透明表示(25%) 40061\n      -\n"
                               "      表示しない 40062\n"
                               "  エフェクト(&E)\n    使用する 40033\n"
                               "  サウンド(&S)\n"
                               "    全体音量(&A)\n"
                               "      音量(大) 40064\n      音量(中) 40065\n      音量(小) 40066\n      -\n"
                               "      最小 40067\n"
                               "    BGM(&B)\n"
                               "      音量(大) 40076\n      音量(中) 40077\n      音量(小) 40078\n      -\n"
                               "      無し 40079\n      -\n      音声を再生する時にBGMの音量を下げる 40057\n"
                               "    音声(&V)\n"
                               "      音量(大) 40053\n      音量(中) 40054\n      音量(小) 40055\n      -\n"
                               "      無し 40056\n"
                               "    効果音(&S)\n"
                               "      音量(大) 40068\n      音量(中) 40069\n      音量(小) 40070\n      -\n"
                               "      無音 40071\n"
                               "  画像キャッシュ(&C)\n"
                               "    最大(メモリ使用量約300M) 40052\n    -\n"
                               "    大(メモリ使用量約100M) 40048\n    中(メモリ使用量約50M) 40047\n"
                               "    小(メモリ使用量約10M) 40046\n    -\n"
                               "    無し(キャッシュにメモリを使用しない) 40045\n"
                               "  情報表示(&I)\n"
                               "    キャッシュヒット率を表示 40050\n    現在のフレームレートを表示 40051\n"
                               "その他(&O)\n"
                               "  この絵を壁紙に設定する(&W) 40019\n  -\n"
                               "  タイトル画面にもどる(&T) 40049\n  -\n"
                               "  バージョン情報(&V) 40009\n"
                               "終了(&X) 40001\n"_sj;
  EXPECT_EQ(tree, expected);
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end()) << "an id twice";
  EXPECT_EQ(items, 69);
}

// Every command through its item: the setting it changes, the check marks of its group, and
// whether the menu was brought up to date after it. That last one shows through slot 10, whose
// save file appears behind the menu's back before each command.
TEST_F(GameMenuTest, EveryCommandSetsItsValueAndItsGroupsMark) {
  struct Case {
    const char* name;
    UINT id;
    std::function<int()> value;
    int expected;
    std::vector<UINT> group;
    std::vector<UINT> checked;
    bool updates = true;
  };
  const std::vector<UINT> speed = {kTextFastest, kTextFast, kTextNormal, kTextSlow};
  const std::vector<UINT> autoSpeed = {kAutoFast, kAutoNormal, kAutoSlow};
  const std::vector<UINT> opacity = {kWindowOpaque, kWindow75, kWindow50, kWindow25, kWindowInvisible};
  const std::vector<UINT> cache = {kCacheMaximum, kCacheLarge, kCacheMedium, kCacheSmall, kCacheNone};
  const std::vector<UINT> master = {kMasterLoud, kMasterMedium, kMasterQuiet, kMasterLeast};
  const std::vector<UINT> bgm = {kBgmLoud, kBgmMedium, kBgmQuiet};
  const std::vector<UINT> voice = {kVoiceLoud, kVoiceMedium, kVoiceQuiet};
  const std::vector<UINT> se = {kSeLoud, kSeMedium, kSeQuiet};
  auto flag = [](bool& b) { return [&b] { return static_cast<int>(b); }; };
  auto number = [](int32_t& n) { return [&n] { return static_cast<int>(n); }; };
  // Each case starts from the settings the ones before it left.
  const std::vector<Case> cases = {
      {"text fast", kTextFast, number(Config.messageSpeed), 90, speed, {kTextFast}},
      {"text normal", kTextNormal, number(Config.messageSpeed), 60, speed, {kTextNormal}},
      {"text slow", kTextSlow, number(Config.messageSpeed), 30, speed, {kTextSlow}},
      {"text fastest", kTextFastest, number(Config.messageSpeed), 100, speed, {kTextFastest}},
      {"skip unread on", kSkipUnread, flag(Config.skipUnread), 1, {kSkipUnread}, {kSkipUnread}},
      {"read text alpha on", kReadTextAlpha, flag(Config.readTextAlpha), 1, {kReadTextAlpha}, {kReadTextAlpha}},
      {"read text fast on", kReadTextFast, flag(Config.readTextFast), 1, {kReadTextFast}, {kReadTextFast}},
      {"effects off", kEffects, flag(Config.effectsOn), 0, {kEffects}, {}},
      {"cache rate on", kShowCacheRate, flag(Config.showCacheRate), 1, {kShowCacheRate}, {kShowCacheRate}},
      {"cache rate off", kShowCacheRate, flag(Config.showCacheRate), 0, {kShowCacheRate}, {}},
      {"frame rate on", kShowFps, flag(Config.showFps), 1, {kShowFps}, {kShowFps}},
      {"frame rate off", kShowFps, flag(Config.showFps), 0, {kShowFps}, {}},
      {"music down for voices off", kBgmDownForVoice, flag(Config.bgmDownForVoice), 0, {kBgmDownForVoice}, {}},
      {"tips off", kTips, flag(Config.tipsOn), 0, {kTips}, {}},
      {"voices off", kVoiceOff, flag(Config.voice.on), 0, {kVoiceOff}, {kVoiceOff}},
      {"effects sounds off", kSeOff, flag(Config.se.on), 0, {kSeOff}, {kSeOff}},
      {"music off", kBgmOff, flag(Config.bgm.on), 0, {kBgmOff}, {kBgmOff}},
      {"music on", kBgmOff, flag(Config.bgm.on), 1, {kBgmOff}, {}},
      {"auto on", kAutoOff, flag(Config.autoOn), 1, {kAutoOff}, {}},
      {"auto off", kAutoOff, flag(Config.autoOn), 0, {kAutoOff}, {kAutoOff}},
      {"auto slow turns auto on", kAutoSlow, flag(Config.autoOn), 1, {kAutoOff}, {}},
      {"auto fast", kAutoFast, number(Config.autoSpeed), 100, autoSpeed, {kAutoFast}},
      {"auto normal", kAutoNormal, number(Config.autoSpeed), 70, autoSpeed, {kAutoNormal}},
      {"auto slow", kAutoSlow, number(Config.autoSpeed), 40, autoSpeed, {kAutoSlow}},
      {"cache none", kCacheNone, number(Config.imageCacheSize), 0, cache, {kCacheNone}},
      {"cache small", kCacheSmall, number(Config.imageCacheSize), 5, cache, {kCacheSmall}},
      {"cache medium", kCacheMedium, number(Config.imageCacheSize), 25, cache, {kCacheMedium}},
      {"cache large", kCacheLarge, number(Config.imageCacheSize), 50, cache, {kCacheLarge}},
      {"cache maximum", kCacheMaximum, number(Config.imageCacheSize), 150, cache, {kCacheMaximum}},
      {"window 75%", kWindow75, number(Config.messageWindowAlpha), 192, opacity, {kWindow75}},
      {"window 50%", kWindow50, number(Config.messageWindowAlpha), 128, opacity, {kWindow50}},
      {"window 25%", kWindow25, number(Config.messageWindowAlpha), 64, opacity, {kWindow25}},
      {"the open window takes the opacity at once",
       kWindowInvisible,
       [] { return static_cast<int>(EngineState.presentation.window.opacity); },
       0,
       opacity,
       {kWindowInvisible}},
      {"window opaque", kWindowOpaque, number(Config.messageWindowAlpha), 255, opacity, {kWindowOpaque}},
      {"master medium", kMasterMedium, number(Config.masterVolume), 70, master, {kMasterMedium}},
      {"master quiet", kMasterQuiet, number(Config.masterVolume), 40, master, {kMasterQuiet}},
      {"master least", kMasterLeast, number(Config.masterVolume), 0, master, {kMasterLeast}},
      {"master loud", kMasterLoud, number(Config.masterVolume), 100, master, {kMasterLoud}},
      {"music loud", kBgmLoud, number(Config.bgm.volume), 100, bgm, {kBgmLoud}},
      {"music medium", kBgmMedium, number(Config.bgm.volume), 70, bgm, {kBgmMedium}},
      {"music quiet", kBgmQuiet, number(Config.bgm.volume), 40, bgm, {kBgmQuiet}},
      {"voice loud", kVoiceLoud, number(Config.voice.volume), 100, voice, {kVoiceLoud}},
      {"voice medium", kVoiceMedium, number(Config.voice.volume), 70, voice, {kVoiceMedium}},
      {"voice quiet", kVoiceQuiet, number(Config.voice.volume), 40, voice, {kVoiceQuiet}},
      {"effects loud", kSeLoud, number(Config.se.volume), 100, se, {kSeLoud}},
      {"effects medium", kSeMedium, number(Config.se.volume), 70, se, {kSeMedium}},
      {"effects quiet", kSeQuiet, number(Config.se.volume), 40, se, {kSeQuiet}},
      {"the version box", kVersion, [this] { return static_cast<int>(boxes.boxes().size()); }, 1, {}, {}},
      {"the title question, answered",
       kReturnToTitle,
       [this] { return static_cast<int>(boxes.boxes().size()); },
       2,
       {},
       {},
       false},
      {"the read-mark question, answered",
       kClearReadFlags,
       [this] { return static_cast<int>(boxes.boxes().size()); },
       3,
       {},
       {},
       false},
  };
  boxes.SetAnswer(IDNO);
  const std::string marker = "savedata/data009.sav";
  std::vector<std::function<void()>> steps;
  for (const Case& c : cases) {
    steps.push_back([&, c] {
      folder.dir.Write(marker, "x");
      platform::SimulateMenuCommand(Window(), c.id);
    });
    steps.push_back([&, c] {
      SCOPED_TRACE(c.name);
      EXPECT_EQ(c.value(), c.expected);
      EXPECT_EQ(CheckedOf(c.group), c.checked);
      EXPECT_EQ(Text(kSaveSlots[9]) != "NO DATA", c.updates);
      fs::remove(folder.dir.File(marker));
      RunningScriptApp->Hook().UpdateMenu();
    });
  }
  ASSERT_TRUE(Play(steps));
  ASSERT_EQ(boxes.boxes().size(), 3u);
  EXPECT_EQ(boxes.boxes()[0].caption, "バージョン情報"_sj);
  EXPECT_EQ(boxes.boxes()[0].flags, MB_OK | MB_ICONINFORMATION | MB_TOPMOST);
  EXPECT_EQ(boxes.boxes()[0].text.rfind("テスト Version 1.1\n"_sj, 0), 0u);
  for (const char* library : {"Ogg Vorbis", "TinyXML", "libjpeg-turbo", "libpng", "zlib", "Qt", "SDL2", "FreeType",
                              "Fontconfig", "FFmpeg", "GIFLIB", "IPA"})
    EXPECT_NE(boxes.boxes()[0].text.find(library), std::string::npos) << library;
  EXPECT_EQ(boxes.boxes()[1].text, "本当にタイトルに戻りますか？"_sj);
  EXPECT_EQ(boxes.boxes()[2].text, "本当にクリアしますか？"_sj);
  EXPECT_EQ(boxes.boxes()[2].caption, "確認"_sj);
  EXPECT_EQ(boxes.boxes()[2].flags, MB_YESNO);
}

// Values the settings screen or vrel.xml set, and how the marks read them.
TEST_F(GameMenuTest, MarksFollowValuesSetElsewhere) {
  struct Case {
    const char* name;
    std::function<void()> set;
    std::vector<UINT> group;
    std::vector<UINT> checked;
  };
  const std::vector<Case> cases = {
      {"master 50",
       [] { Config.masterVolume = 50; },
       {kMasterLoud, kMasterMedium, kMasterQuiet, kMasterLeast},
       {kMasterQuiet}},
      {"master 60",
       [] { Config.masterVolume = 60; },
       {kMasterLoud, kMasterMedium, kMasterQuiet, kMasterLeast},
       {kMasterMedium}},
      {"master -5",
       [] { Config.masterVolume = -5; },
       {kMasterLoud, kMasterMedium, kMasterQuiet, kMasterLeast},
       {kMasterLeast}},
      {"music 50", [] { Config.bgm.volume = 50; }, {kBgmLoud, kBgmMedium, kBgmQuiet}, {kBgmQuiet}},
      {"music 60", [] { Config.bgm.volume = 60; }, {kBgmLoud, kBgmMedium, kBgmQuiet}, {kBgmMedium}},
      {"music 0", [] { Config.bgm.volume = 0; }, {kBgmLoud, kBgmMedium, kBgmQuiet}, {}},
      {"voice 0", [] { Config.voice.volume = 0; }, {kVoiceLoud, kVoiceMedium, kVoiceQuiet}, {}},
      {"effects 0", [] { Config.se.volume = 0; }, {kSeLoud, kSeMedium, kSeQuiet}, {}},
      {"effects 1", [] { Config.se.volume = 1; }, {kSeLoud, kSeMedium, kSeQuiet}, {kSeQuiet}},
      {"auto speed 0", [] { Config.autoSpeed = 0; }, {kAutoFast, kAutoNormal, kAutoSlow}, {}},
      {"text speed 45",
       [] { Config.messageSpeed = 45; },
       {kTextFastest, kTextFast, kTextNormal, kTextSlow},
       {kTextSlow}},
      {"text speed 46",
       [] { Config.messageSpeed = 46; },
       {kTextFastest, kTextFast, kTextNormal, kTextSlow},
       {kTextNormal}},
      {"text speed 76",
       [] { Config.messageSpeed = 76; },
       {kTextFastest, kTextFast, kTextNormal, kTextSlow},
       {kTextFast}},
      {"cache 26",
       [] { Config.imageCacheSize = 26; },
       {kCacheMaximum, kCacheLarge, kCacheMedium, kCacheSmall, kCacheNone},
       {kCacheLarge}},
      {"cache 6",
       [] { Config.imageCacheSize = 6; },
       {kCacheMaximum, kCacheLarge, kCacheMedium, kCacheSmall, kCacheNone},
       {kCacheMedium}},
      {"opacity 64",
       [] { Config.messageWindowAlpha = 64; },
       {kWindowOpaque, kWindow75, kWindow50, kWindow25, kWindowInvisible},
       {kWindow25}},
      {"opacity 129",
       [] { Config.messageWindowAlpha = 129; },
       {kWindowOpaque, kWindow75, kWindow50, kWindow25, kWindowInvisible},
       {kWindow75}},
      {"opacity 128",
       [] { Config.messageWindowAlpha = 128; },
       {kWindowOpaque, kWindow75, kWindow50, kWindow25, kWindowInvisible},
       {kWindow50}},
      {"the off switches when off",
       [] { Config.bgm.on = Config.voice.on = Config.se.on = Config.autoOn = false; },
       {kBgmOff, kVoiceOff, kSeOff, kAutoOff},
       {kBgmOff, kVoiceOff, kSeOff, kAutoOff}},
      {"the off switches when on",
       [] { Config.bgm.on = Config.voice.on = Config.se.on = Config.autoOn = true; },
       {kBgmOff, kVoiceOff, kSeOff, kAutoOff},
       {}},
      {"the screen in a window", [] { Config.windowMode = true; }, {kFullScreen, kWindow}, {kWindow}},
  };
  std::vector<std::function<void()>> steps;
  for (const Case& c : cases) {
    steps.push_back([&c] {
      SCOPED_TRACE(c.name);
      c.set();
      RefreshGameMenu();
      EXPECT_EQ(CheckedOf(c.group), c.checked);
    });
  }
  ASSERT_TRUE(Play(steps, 1));
}

TEST_F(GameMenuTest, SlotItemsShowTheSaveTimeAndLoadOnlyWhatExists) {
  TimeZoneScope zone("JST-9");
  // Slot 2 from a save made elsewhere, read-only; slot 10 exists too.
  auto fixture = [&](const char* name, time_t when, bool readOnly) {
    folder.dir.Write(std::string("savedata/") + name, "x");
    const struct timespec times[2] = {{when, 0}, {when, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, folder.dir.File(std::string("savedata/") + name).c_str(), times, 0), 0);
    if (readOnly) fs::permissions(folder.dir.File(std::string("savedata/") + name), fs::perms::owner_read);
  };
  fixture("data001.sav", 1700000000, true);   // 2023/11/15 07:13:20 in the zone
  fixture("data009.sav", 1699973999, false);  // 2023/11/14 23:59:59
  std::string savedText;
  ASSERT_TRUE(Play({
      [&] {
        EXPECT_EQ(Text(kSaveSlots[0]), "NO DATA");
        EXPECT_FALSE(Grey(kSaveSlots[0]));
        EXPECT_TRUE(Grey(kLoadSlots[0]));
        EXPECT_EQ(Text(kSaveSlots[1]), "02 2023/11/15 07:13");
        EXPECT_EQ(Text(kLoadSlots[1]), "02 2023/11/15 07:13");
        EXPECT_FALSE(Grey(kLoadSlots[1])) << "a read-only save loads";
        EXPECT_EQ(Text(kLoadSlots[9]), "10 2023/11/14 23:59");
        for (int slot : {2, 3, 8}) {
          EXPECT_EQ(Text(kLoadSlots[static_cast<size_t>(slot)]), "NO DATA");
          EXPECT_TRUE(Grey(kLoadSlots[static_cast<size_t>(slot)]));
        }
        // The save of slot 1, through its item.
        platform::SimulateMenuCommand(Window(), kSaveSlots[0]);
      },
      [&] {
        ASSERT_TRUE(fs::exists(folder.dir.File("savedata/data000.sav")));
        struct stat st {};
        ASSERT_EQ(stat(folder.dir.File("savedata/data000.sav").c_str(), &st), 0);
        std::tm now{};
        localtime_r(&st.st_mtim.tv_sec, &now);
        char stamp[64];
        std::snprintf(stamp, sizeof stamp, "01 %04d/%02d/%02d %02d:%02d", now.tm_year + 1900, now.tm_mon + 1,
                      now.tm_mday, now.tm_hour, now.tm_min);
        EXPECT_EQ(Text(kSaveSlots[0]), stamp);
        EXPECT_EQ(Text(kLoadSlots[0]), stamp);
        EXPECT_FALSE(Grey(kLoadSlots[0]));
        // What the save holds, then a change the load must undo, with the screens open.
        savedText = FixedText(EngineStateSnapshot.messageText);
        CopyFixedText(EngineState.messageText, "changed");
        SaveScreenOpen = LoadScreenOpen = true;
        platform::SimulateMenuCommand(Window(), kLoadSlots[0]);
      },
      [&] {
        EXPECT_EQ(FixedText(EngineState.messageText), savedText);
        EXPECT_FALSE(SaveScreenOpen);
        EXPECT_FALSE(LoadScreenOpen);
        // An empty slot's load: its item cannot be chosen, and posted it changes nothing.
        CopyFixedText(EngineState.messageText, "kept");
        platform::SimulateMenuCommand(Window(), kLoadSlots[3]);
        platform::PostMessage(Window(), WM_COMMAND, kLoadSlots[3], 0);
      },
      [&] {
        EXPECT_EQ(FixedText(EngineState.messageText), "kept");
        EXPECT_FALSE(fs::exists(folder.dir.File("savedata/data003.sav")));
      },
  }));
  EXPECT_EQ(savedText, "テスト"_sj);
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(GameMenuTest, QuitAsksAndOnlyYesEndsTheGame) {
  int framesAfterNo = 0;
  boxes.SetAnswer(IDNO);
  const bool allStepsRan = Play({
      [&] {
        platform::SimulateMenuCommand(Window(), kTextSlow);
        platform::SimulateMenuCommand(Window(), kQuit);
      },
      [&] {
        framesAfterNo = 1;
        EXPECT_EQ(Config.messageSpeed, 30);
        boxes.SetAnswer(IDYES);
        platform::SimulateMenuCommand(Window(), kQuit);
      },
      [&] { framesAfterNo = 2; },  // never reached: the game has ended
      [&] {},
  });
  EXPECT_FALSE(allStepsRan);
  EXPECT_EQ(framesAfterNo, 1);
  ASSERT_EQ(boxes.boxes().size(), 2u);
  EXPECT_EQ(boxes.boxes()[0].text, "Vrelを終了しますか？"_sj);
  EXPECT_EQ(boxes.boxes()[0].caption, "終了確認"_sj);
  EXPECT_EQ(boxes.boxes()[0].flags, MB_YESNO | MB_DEFBUTTON2 | MB_TOPMOST);
  // The shutdown wrote the settings back, with the speed chosen before.
  EXPECT_NE(folder.dir.Read("vrel.xml").find("<message speed=\"30\""), std::string::npos);
  EXPECT_TRUE(fs::exists(folder.dir.File("meridiane.mfl")));
}

TEST_F(GameMenuTest, ClearingReadMarksTakesAYes) {
  ASSERT_TRUE(Play({
      [&] {
        MarkLineRead(5);
        boxes.SetAnswer(IDNO);
        platform::SimulateMenuCommand(Window(), kClearReadFlags);
      },
      [&] {
        EXPECT_TRUE(IsLineRead(5));
        boxes.SetAnswer(IDYES);
        platform::SimulateMenuCommand(Window(), kClearReadFlags);
      },
      [&] {
        EXPECT_FALSE(IsLineRead(5));
        EXPECT_TRUE(std::all_of(ReadFlagTable.begin(), ReadFlagTable.end(), [](uint8_t f) { return f == 0; }));
      },
  }));
  EXPECT_EQ(boxes.boxes().size(), 2u);
}

TEST_F(GameMenuTest, ChoosingACacheSizeEmptiesTheCacheFirst) {
  PngFixture png;
  png.width = 2;
  png.height = 2;
  png.rows.assign(2, std::vector<uint8_t>{1, 2, 3, 4, 5, 6});
  ASSERT_TRUE(WritePng(folder.dir.File("p.png"), png));
  ASSERT_TRUE(Play({
      [&] {
        Config.imageCacheSize = 50;
        for (int i = 0; i < 3; ++i) LoadImageCached("p.png", 100.0);
        EXPECT_GT(ImageCacheHits(), 0);
        platform::SimulateMenuCommand(Window(), kCacheMedium);
      },
      [&] {
        EXPECT_EQ(ImageCacheHits(), 0);
        EXPECT_EQ(ImageCacheLookups(), 0);
        EXPECT_EQ(ImageCacheSize(), 25);
        LoadImageCached("p.png", 100.0);
        EXPECT_EQ(ImageCacheLookups(), 1);
        EXPECT_EQ(ImageCacheHits(), 0) << "the picture was decoded again";
      },
  }));
}

// Sets an environment variable for the life of the object.
class EnvScope {
 public:
  EnvScope(const char* name, const std::string& value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_previous = old;
    setenv(name, value.c_str(), 1);
  }
  ~EnvScope() {
    if (m_previous) {
      setenv(m_name, m_previous->c_str(), 1);
    } else {
      unsetenv(m_name);
    }
  }

 private:
  const char* m_name;
  std::optional<std::string> m_previous;
};

// The 24-bit bottom-up BMP file of a picture, as the wallpaper must be.
std::string BmpOf(const CMemPlane& picture) {
  const CMemPlaneImpl* p = picture.GetImpl();
  const int w = p->Width(), h = p->Height();
  const int row = (w * 3 + 3) & ~3;
  std::string file(54 + static_cast<size_t>(row) * h, '\0');
  auto put = [&](size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) file[at + i] = static_cast<char>(v >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put(2, static_cast<uint32_t>(file.size()), 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, static_cast<uint32_t>(w), 4);
  put(22, static_cast<uint32_t>(h), 4);
  put(26, 1, 2);
  put(28, 24, 2);
  put(38, 3780, 4);
  put(42, 3780, 4);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) put(54 + static_cast<size_t>(h - 1 - y) * row + x * 3, p->GetRow(y)[x], 3);
  return file;
}

TEST_F(GameMenuTest, TheWallpaperIsTheGamePictureWithoutTheWindow) {
  // A blue message window over the bottom rows.
  folder.dir.Write("vrel.xml", ConfigWithWindowAtBottom());
  ASSERT_TRUE(WriteBlueWindowPicture(folder.dir));
  EnvScope desktop("XDG_CURRENT_DESKTOP", "KDE");
  EnvScope data("XDG_DATA_HOME", folder.dir.File("home"));
  std::vector<std::vector<std::string>> calls;
  int toolResult = 0;
  platform::CommandRunner previous = platform::SetCommandRunner([&](const std::vector<std::string>& argv) {
    calls.push_back(argv);
    return toolResult;
  });
  std::string expected;
  uint32_t shownWindowPixel = 0;
  const bool played = Play({
                               [&] {},
                               [&] {
                                 std::vector<uint32_t> front;
                                 int w = 0, h = 0;
                                 ASSERT_TRUE(platform::CaptureFrontImage(Window(), &front, &w, &h));
                                 shownWindowPixel = front[static_cast<size_t>(230 * w + 10)];
                                 ASSERT_NE(RunningScriptApp->GamePicture(), nullptr);
                                 expected = BmpOf(*RunningScriptApp->GamePicture());
                                 platform::SimulateMenuCommand(Window(), kWallpaper);
                               },
                               [&] {
                                 toolResult = 1;
                                 platform::SimulateMenuCommand(Window(), kWallpaper);
                               },
                           },
                           10);
  platform::SetCommandRunner(std::move(previous));
  ASSERT_TRUE(played);
  EXPECT_NE(shownWindowPixel & 0xFF, 0u) << "the window showed on the screen";
  ASSERT_EQ(expected.size(), 54u + 960u * 240u);
  EXPECT_EQ(expected[54 + 10 * 960 + 10 * 3], 0) << "but not in the picture";
  EXPECT_TRUE(folder.dir.Read("savedata/wallpaper.bmp") == expected);
  ASSERT_EQ(calls.size(), 2u);
  const std::string copy = fs::path(folder.dir.File("home")) / "vrel" / "wallpaper.bmp";
  EXPECT_EQ(calls[0], (std::vector<std::string>{"plasma-apply-wallpaperimage", copy}));
  EXPECT_TRUE(folder.dir.Read("home/vrel/wallpaper.bmp") == expected);
  // The second time the desktop refused, and said so once.
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, "壁紙の設定に失敗しました"_sj);
  EXPECT_EQ(boxes.boxes()[0].caption, "エラー"_sj);
}

// Records the requests the mode switch would grant and refuses those the test names.
struct ModeLog {
  std::vector<std::string> seen;
  bool refuseModes = false;
  ModeLog() {
    platform::SetDisplayModePolicy([this](const platform::DisplayModeRequest& r) {
      const bool mode = r.kind == platform::DisplayModeRequest::Kind::DisplayMode;
      const bool refused = mode && refuseModes;
      seen.push_back(mode ? "mode " + std::to_string(r.depth) + (refused ? " refused" : "")
                          : (r.flags == DDSCL_NORMAL ? "normal" : "exclusive"));
      return !refused;
    });
  }
  ~ModeLog() { platform::SetDisplayModePolicy({}); }
};

TEST_F(GameMenuTest, ColourDepthTriesFullScreenUpwardsThenTheWindow) {
  ModeLog modes;
  ASSERT_TRUE(Play({
      [&] {
        modes.seen.clear();
        platform::PostMessage(Window(), WM_COMMAND, kDepth24, 0);
      },
      [&] {
        EXPECT_EQ(modes.seen, (std::vector<std::string>{"exclusive", "mode 24"}));
        EXPECT_TRUE(RunningScriptApp->Display().IsFullScreenMode());
        EXPECT_EQ(RunningScriptApp->Display().GetColorDepth(), 24);
        EXPECT_EQ(RunningScriptApp->ColorDepth(), 24);
        EXPECT_EQ(GetMenuState(Menu(), kDepth24, MF_BYCOMMAND), -1) << "the bar has no depth items";
        modes.seen.clear();
        modes.refuseModes = true;
        platform::PostMessage(Window(), WM_COMMAND, kDepth24, 0);
      },
      [&] {
        EXPECT_EQ(modes.seen, (std::vector<std::string>{"normal", "exclusive", "mode 24 refused", "exclusive",
                                                        "mode 32 refused", "normal"}));
        EXPECT_FALSE(RunningScriptApp->Display().IsFullScreenMode());
        EXPECT_EQ(RunningScriptApp->ColorDepth(), 0);
      },
  }));
}

TEST_F(GameMenuTest, FullScreenShowsTheBarOnlyUnderTheCursorAndAnOpenMenuStopsTheGame) {
  uint64_t copiesWhenOpened = 0;
  int fullHeight = 0;
  auto clientHeight = [] {
    std::vector<uint32_t> pixels;
    int w = 0, h = 0;
    platform::CaptureClientArea(Window(), &pixels, &w, &h);
    return h;
  };
  ASSERT_TRUE(Play({
      [&] { platform::SimulateMenuCommand(Window(), kFullScreen); },
      [&] {
        EXPECT_FALSE(Config.windowMode);
        EXPECT_TRUE(RunningScriptApp->Display().IsFullScreenMode());
        EXPECT_EQ(CheckedOf({kFullScreen, kWindow}), std::vector<UINT>{kFullScreen});
        platform::SetCursorClientPos(Window(), 100, 150);
        EXPECT_EQ(platform::GetActiveWindow(), Window()) << "still the window in use";
      },
      [&] {
        fullHeight = clientHeight();
        // The cursor on the screen's fifth row, in the black band above the scaled picture.
        RECT picture;
        ASSERT_TRUE(platform::GetPictureRect(Window(), &picture));
        ASSERT_GT(picture.top, 5);
        platform::SetCursorClientPos(Window(), 100, (5 - picture.top) * 240 / (picture.bottom - picture.top));
      },
      [&] {
        EXPECT_EQ(clientHeight(), fullHeight - platform::MenuBarHeight()) << "the bar shows over the picture";
        platform::SimulateMenuOpen(Window(), 2);
      },
      [&] {
        EXPECT_TRUE(platform::IsMenuOpen(Window()));
        copiesWhenOpened = platform::CountFrontImageCopies(Window()).copies;
      },
      [&] {
        EXPECT_EQ(platform::CountFrontImageCopies(Window()).copies, copiesWhenOpened) << "no frame ran";
        platform::SimulateMenuClose(Window());
      },
      [&] {
        EXPECT_FALSE(platform::IsMenuOpen(Window()));
        EXPECT_GT(platform::CountFrontImageCopies(Window()).copies, copiesWhenOpened);
        platform::SetCursorClientPos(Window(), 100, 150);
      },
      [&] {
        EXPECT_EQ(clientHeight(), fullHeight) << "the bar went away";
        platform::SimulateMenuCommand(Window(), kWindow);
      },
      [&] {
        EXPECT_TRUE(Config.windowMode);
        EXPECT_FALSE(RunningScriptApp->Display().IsFullScreenMode());
        EXPECT_EQ(CheckedOf({kFullScreen, kWindow}), std::vector<UINT>{kWindow});
        // The full-screen key changes the mode behind the menu's back; the marks follow it.
        platform::SimulateKey(Window(), kF1Key, true);
      },
      [&] { platform::SimulateKey(Window(), kF1Key, false); },
      [&] {
        EXPECT_FALSE(Config.windowMode);
        EXPECT_TRUE(RunningScriptApp->Display().IsFullScreenMode());
        EXPECT_EQ(CheckedOf({kFullScreen, kWindow}), std::vector<UINT>{kFullScreen});
      },
  }));
  EXPECT_GT(fullHeight, 0);
}

// A mouse move puts back the cursor of the kind the game chose last, and the message goes on.
TEST_F(GameMenuTest, AMouseMoveShowsTheCursorOfTheCurrentKind) {
  const struct {
    int kind;
    platform::CursorShape shape;
  } cases[] = {{1, platform::CursorShape::kPointingHand}, {0, platform::CursorShape::kArrow}};
  ASSERT_TRUE(Play({[&] {
    for (const auto& c : cases) {
      SCOPED_TRACE(c.kind);
      SetCursorKind(c.kind);
      EXPECT_EQ(RunningScriptApp->Hook().OnWindowMessage(Window(), WM_MOUSEMOVE, 0, 0), 0);
      EXPECT_EQ(platform::LastCursorShape(), c.shape);
    }
  }}));
}

}  // namespace
