#include "game/system/system_menu.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <span>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <vector>

#include "game/app/script_app.h"
#include "game/sound/sound_channels.h"
#include "game/stage/image_cache.h"
#include "game/system/save_file.h"
#include "game/system/save_thumbnail.h"
#include "game/system/scene_gallery.h"
#include "game/text/full_width.h"
#include "game/text/tool_tip.h"
#include "platform/sjis_literal.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/mem_plane_impl.h"
#include "sdk/graphics/png_writer.h"
#include "tests/game/fixtures/message_fixture.h"

namespace {

namespace fs = std::filesystem;

std::string Sj(const char* text) { return text; }

constexpr uint32_t kSaveBackground = 0x102030;
constexpr uint32_t kLoadBackground = 0x203040;
constexpr uint32_t kSettingsBackground = 0x304050;
constexpr uint32_t kLeftArrow = 0x00AA00;
constexpr uint32_t kRightArrow = 0x0000AA;
constexpr uint32_t kBar = 0xCC0000;

// The screens at 800 x 600 with every picture of theirs in the folder (or none, where a test wants
// one missing), the message window open with its origin at (0, 100).
class SystemMenuTest : public testing::Test, public MessageFixture {
 protected:
  SystemMenuTest() {
    Config.screenWidth = 800;
    Config.screenHeight = 600;
    Solid("cg/system_save.png", 100, 30, 0x111111);
    Solid("cg/system_load.png", 100, 30, 0x222222);
    Solid("cg/system_bar.png", 200, 20, kBar);
    for (const char* name :
         {"cg/system_onover.png", "cg/system_onSelect.png", "cg/system_offOVer.png", "cg/system_offSelect.png"}) {
      Solid(name, 40, 20, 0x333333);
    }
    Solid("cg/system_left.png", 30, 30, kLeftArrow);
    Solid("cg/system_right.png", 30, 30, kRightArrow);
    Solid("cg/system_left_over.png", 30, 30, 0x444444);
    Solid("cg/system_right_over.png", 30, 30, 0x555555);
    Solid("save_bg.png", 800, 600, kSaveBackground);
    Solid("load_bg.png", 800, 600, kLoadBackground);
    Solid("system_bg.png", 800, 600, kSettingsBackground);
    Solid("nodata.png", 120, 90, 0x666666);
    CopyFixedText(Config.saveScreenFile, "save_bg.png");
    CopyFixedText(Config.loadScreenFile, "load_bg.png");
    CopyFixedText(Config.systemBackgroundFile, "system_bg.png");
    CopyFixedText(Config.noDataFile, "nodata.png");
    Button(Config.backToGameButton, "game.png", 600, 540, 60, 30);
    Button(Config.backToTitleButton, "title.png", 670, 540, 60, 30);
    Button(Config.quitButton, "quit.png", 740, 540, 50, 30);
    // The window's buttons, 20 x 10 each, in a row at y 10 from the window's origin.
    Button(Config.skipButton, "skip.png", 10, 10, 20, 10);
    Button(Config.autoButton, "auto.png", 40, 10, 20, 10);
    Button(Config.quickSaveButton, "qsave.png", 70, 10, 20, 10);
    Button(Config.quickLoadButton, "qload.png", 100, 10, 20, 10);
    Button(Config.backlogButton, "blog.png", 130, 10, 20, 10);
    Button(Config.systemButton, "sys.png", 160, 10, 20, 10);
    Config.savePage = 0;
  }

  // The game's start-up step that makes the interface; the pictures must be in place.
  void Start() {
    run.StartSystemInterface();
    EngineState.presentation.window.state = 1;
  }
  CSystemMenu& Menu() { return *run.App()->SystemMenu(); }

  void Solid(const std::string& name, int width, int height, uint32_t rgb) {
    PngFixture png;
    png.width = width;
    png.height = height;
    std::vector<uint8_t> row;
    for (int x = 0; x < width; ++x) {
      row.insert(row.end(),
                 {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb)});
    }
    png.rows.assign(static_cast<size_t>(height), row);
    fs::create_directories(fs::path(folder.dir().File(name)).parent_path());
    ASSERT_TRUE(WritePng(folder.dir().File(name), png));
  }
  void Button(ConfigButton& button, const char* file, int x, int y, int width, int height) {
    CopyFixedText(button.file, file);
    button.x = x;
    button.y = y;
    Solid(file, width, height, 0x777777);
  }

  static FrameInputState At(int x, int y) {
    FrameInputState input{};
    input.cursorX = x;
    input.cursorY = y;
    return input;
  }
  static FrameInputState Hold(int x, int y) {
    FrameInputState input = At(x, y);
    input.leftHeld = true;
    return input;
  }
  static FrameInputState ClickAt(int x, int y) {
    FrameInputState input = At(x, y);
    input.click = true;
    return input;
  }
  // Frames without input until any cool-down has run out.
  void Rest() { run.Frame(25, At(400, 590)); }

  uint32_t Pixel(int x, int y) const { return run.Screen()->GetImpl()->GetRow(y)[x] & 0xFFFFFFu; }
  std::string EngineBytes() const {
    return std::string(reinterpret_cast<const char*>(&EngineState), sizeof EngineState);
  }
  std::string Read(const char* name) const { return folder.dir().Read(name); }
};

// A held button fires on its first frame and then once per third of a second, at any frame rate.
TEST_F(SystemMenuTest, AHeldButtonFiresOncePerCoolDown) {
  Start();
  struct Case {
    const char* name;
    int fps;
    std::vector<int> firings;
  } cases[] = {
      {"60 fps", 60, {0, 20, 40}},
      {"30 fps", 30, {0, 10, 20, 30, 40, 50}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    run.SetFps(c.fps);
    Rest();
    Config.autoOn = false;
    std::vector<int> fired;
    bool last = false;
    for (int frame = 0; frame < 60; ++frame) {
      run.Frame(1, Hold(45, 115));  // the auto button
      if (Config.autoOn != last) fired.push_back(frame);
      last = Config.autoOn;
    }
    EXPECT_EQ(fired, c.firings);
  }
  // The edge of a button is outside it.
  Rest();
  Config.autoOn = false;
  for (const auto& [x, y] : {std::pair{40, 115}, std::pair{60, 115}, std::pair{45, 110}, std::pair{45, 120}}) {
    run.Frame(1, Hold(x, y));
  }
  EXPECT_FALSE(Config.autoOn);
}

// The arrows leave the hundred pages only inward; the wheel stops one page earlier going down.
TEST_F(SystemMenuTest, ArrowsAndWheelKeepThePageInItsRange) {
  Start();
  SaveScreenOpen = true;
  struct Case {
    const char* name;
    int page;
    FrameInputState input;
    int expected;
  } cases[] = {
      {"no left arrow on page 0", 0, Hold(215, 50), 0},
      {"right arrow on page 0", 0, Hold(585, 50), 1},
      {"no right arrow on page 99", 99, Hold(585, 50), 99},
      {"left arrow on page 99", 99, Hold(215, 50), 98},
      {"wheel down from 97", 97, MessageFixture::Wheel(false), 98},
      {"wheel down stops at 98", 98, MessageFixture::Wheel(false), 98},
      {"wheel up from 1", 1, MessageFixture::Wheel(true), 0},
      {"wheel up stops at 0", 0, MessageFixture::Wheel(true), 0},
      {"a page from the settings beyond the last", 250, At(400, 590), 99},
      {"a page from the settings below the first", -3, At(400, 590), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rest();
    Config.savePage = c.page;
    run.Frame(1, c.input);
    EXPECT_EQ(Config.savePage, c.expected);
  }
  // Each arrow is drawn only where it leads somewhere.
  for (const auto& [page, left, right] : {std::tuple{0, false, true}, {50, true, true}, {99, true, false}}) {
    SCOPED_TRACE(page);
    Config.savePage = page;
    run.Frame(1, At(400, 590));
    EXPECT_EQ(Pixel(201, 37), left ? kLeftArrow : kSaveBackground);
    EXPECT_EQ(Pixel(571, 37), right ? kRightArrow : kSaveBackground);
  }
}

TEST_F(SystemMenuTest, ThePageNumberIsThreeFullWidthDigits) {
  Start();
  LoadScreenOpen = true;
  struct Case {
    int page;
    std::string shown;
  } cases[] = {{0, "００１"_sj}, {41, "０４２"_sj}, {99, "１００"_sj}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    Config.savePage = c.page;
    run.Frame(1, At(400, 590));
    EXPECT_EQ(Menu().ShownPage(), c.page);
    EXPECT_EQ(TextBoxes[9].text, c.shown + "<HR>");
    EXPECT_TRUE(TextBoxes[9].visible);
    EXPECT_GE(TextBoxes[9].progress, kTextBoxShowAll);
    EXPECT_EQ(TextBoxes[9].x, 380);
    EXPECT_EQ(TextBoxes[9].y, 40);
  }
  EXPECT_EQ(Pixel(400, 300), kLoadBackground);
}

// Each slot shows the local time of its file and the message at its head, read without changing
// the file's times; a slot that cannot be opened is empty.
TEST_F(SystemMenuTest, SlotCaptionsShowTimeAndMessage) {
  const char* previousTz = std::getenv("TZ");
  const std::optional<std::string> savedTz = previousTz ? std::optional<std::string>(previousTz) : std::nullopt;
  setenv("TZ", "JST-9", 1);
  tzset();
  // 2024-01-02 03:04:05 UTC, 12:04 in the zone above.
  const struct timespec times[2] = {{1704164645, 0}, {1704164645, 123}};
  const auto slot = [&](const char* name, const std::string& bytes) {
    folder.dir().Write(std::string("savedata/") + name, bytes);
    ASSERT_EQ(utimensat(AT_FDCWD, folder.dir().File(std::string("savedata/") + name).c_str(), times, 0), 0);
  };
  const std::string hello = "こんにちは"_sj;
  std::string a;
  for (int i = 0; i < 128; ++i) a += "あ"_sj;
  slot("data000.sav", hello + std::string(300, '\0'));
  slot("data002.sav", std::string(300, 'x'));
  slot("data003.sav", "abc");
  slot("data004.sav", a + std::string(10, 'y'));
  fs::create_directories(folder.dir().File("savedata/data005.sav"));
  CMemPlane picture;
  ASSERT_EQ(picture.Create(160, 120, 0), 0);
  picture.GetImpl()->Clear(0xFF336699u, nullptr);
  const std::vector<uint8_t> bmp = MakeThumbnailBmp(picture);
  folder.dir().Write("savedata/data000.bmp", std::span<const unsigned char>(bmp.data(), bmp.size()));

  Start();
  SaveScreenOpen = true;
  run.Frame(1, At(400, 590));
  const std::string stamp = "2024/01/02 12:04<BR>";
  const std::string empty = "0000/00/00 00:00<BR><BR><BR>NO DATA<HR>";
  const std::string expected[kSlotsPerPage] = {
      stamp + hello + "<HR>",
      empty,
      stamp + std::string(255, 'x') + "<HR>",
      stamp + "abc<HR>",
      stamp + a.substr(0, 254) + "<HR>",
      "----/--/-- --:--<BR><BR><BR>読み込めないデータ<HR>"_sj,  // a folder where the save should be
  };
  for (int i = 0; i < kSlotsPerPage; ++i) {
    SCOPED_TRACE(i);
    const TextBox& box = TextBoxes[static_cast<size_t>(3 + i)];
    EXPECT_EQ(box.text, expected[i] + "<HR>");
    EXPECT_TRUE(box.visible);
    EXPECT_EQ(box.x, 106 + 334 * (i % 2) + 124);
    EXPECT_EQ(box.y, 91 + 119 * (i / 2));
  }
  struct stat st {};
  ASSERT_EQ(stat(folder.dir().File("savedata/data000.sav").c_str(), &st), 0);
  EXPECT_EQ(st.st_atim.tv_sec, 1704164645);
  EXPECT_EQ(st.st_mtim.tv_nsec, 123);
  ASSERT_NE(Menu().SlotThumbnail(0), nullptr);
  int w = 0, h = 0;
  Menu().SlotThumbnail(0)->GetSize(&w, &h);
  EXPECT_EQ(w, 120);
  EXPECT_EQ(h, 90);
  EXPECT_EQ(Menu().SlotThumbnail(1), nullptr);
  EXPECT_EQ(Pixel(110, 95), 0x336699u);
  EXPECT_EQ(Pixel(444, 95), 0x666666u);  // slot 1: the empty-slot picture

  // Closing the screen takes the captions and thumbnails with it.
  run.Frame(1, MessageFixture::RightClick());
  EXPECT_FALSE(SaveScreenOpen);
  for (int box = 3; box <= 9; ++box) EXPECT_FALSE(TextBoxes[static_cast<size_t>(box)].visible) << box;
  EXPECT_EQ(Menu().SlotThumbnail(0), nullptr);
  EXPECT_EQ(Menu().ShownPage(), -1);

  if (savedTz) {
    setenv("TZ", savedTz->c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}

// A BMP file whose headers claim width x height at the depth and compression, followed by the
// pixel bytes given; 8-bit files carry one grey colour.
std::string BmpFile(int32_t width, int32_t height, uint16_t bitCount, uint32_t compression, const std::string& pixels) {
  const uint32_t table = bitCount == 8 ? 4 : 0;
  std::string file(54 + table, '\0');
  const auto put = [&](size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) file[at + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put(2, static_cast<uint32_t>(file.size() + pixels.size()), 4);
  put(10, static_cast<uint32_t>(file.size()), 4);
  put(14, 40, 4);
  put(18, static_cast<uint32_t>(width), 4);
  put(22, static_cast<uint32_t>(height), 4);
  put(26, 1, 2);
  put(28, bitCount, 2);
  put(30, compression, 4);
  put(34, static_cast<uint32_t>(pixels.size()), 4);
  if (table) {
    put(46, 1, 4);
    put(54, 0x808080, 4);
  }
  return file + pixels;
}

// 24 bits, every byte 0x40.
std::string Grey24(int32_t width, int32_t height) {
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  return BmpFile(width, height, 24, 0,
                 std::string(stride * static_cast<size_t>(height < 0 ? -height : height), '\x40'));
}

// Only a thumbnail of 120 x 90 is decoded: a file that claims any other size, however small the
// file, is refused from its header and its slot shows the empty-slot picture (and still loads).
TEST_F(SystemMenuTest, AThumbnailOfAnyOtherSizeShowsTheEmptySlot) {
  struct Case {
    const char* name;
    std::string bmp;
    bool shown;
  };
  const Case cases[kSlotsPerPage] = {
      {"120 x 90", Grey24(120, 90), true},
      {"120 x 90, rows top-down", Grey24(120, -90), true},
      {"121 x 90", Grey24(121, 90), false},
      {"120 x 91", Grey24(120, 91), false},
      // A few bytes of run-length data claiming a picture of four megapixels.
      {"run-length 2048 x 2048", BmpFile(2048, 2048, 8, 1, std::string("\x00\x01", 2)), false},
      {"run-length 90 x 120", BmpFile(90, 120, 8, 1, std::string("\x00\x01", 2)), false},
  };
  for (int i = 0; i < kSlotsPerPage; ++i) {
    const std::string slot = "savedata/data00" + std::to_string(i);
    folder.dir().Write(slot + ".sav", "abc");
    folder.dir().Write(slot + ".bmp", cases[i].bmp);
  }
  Start();
  FlushImageCache();
  LoadScreenOpen = true;
  run.Frame(1, At(400, 590));
  int shown = 0;
  for (int i = 0; i < kSlotsPerPage; ++i) {
    SCOPED_TRACE(cases[i].name);
    EXPECT_EQ(Menu().SlotThumbnail(i) != nullptr, cases[i].shown);
    EXPECT_EQ(Pixel(106 + 334 * (i % 2) + 5, 91 + 119 * (i / 2) + 5), cases[i].shown ? 0x404040u : 0x666666u);
    shown += cases[i].shown;
  }
  // Only the thumbnails that fit went to the image loader, besides the screen's background and the
  // empty-slot picture.
  EXPECT_EQ(ImageCacheLookups(), shown + 2);

  // A slot with a refused thumbnail is still a save: a click loads it (this one is refused with the
  // version box), where a click on an empty slot only clicks.
  run.Frame(1, ClickAt(106 + 334 + 20, 91 + 119 + 20));  // slot 3
  EXPECT_FALSE(LoadScreenOpen);
  EXPECT_EQ(questions.boxes().size(), 1u);
}

TEST_F(SystemMenuTest, AnEmptyLoadSlotOnlyClicks) {
  Start();
  LoadScreenOpen = true;
  run.Frame(1, At(400, 590));
  const std::string before = EngineBytes();
  ASSERT_FALSE(SystemSound(4)->IsPlay());
  run.Frame(1, ClickAt(150, 130));  // slot 0
  EXPECT_TRUE(SystemSound(4)->IsPlay());
  EXPECT_TRUE(LoadScreenOpen);
  EXPECT_EQ(Menu().ShownPage(), 0);
  EXPECT_TRUE(EngineBytes() == before);
  EXPECT_TRUE(questions.boxes().empty());
  EXPECT_FALSE(fs::exists(folder.dir().File("savedata")));
}

// Saving from the screen keeps it open with the new caption; loading from it closes every screen
// and brings the saved game back.
TEST_F(SystemMenuTest, SlotsSaveAndLoadFromTheScreens) {
  Start();
  Load("A=1\nこんにちは\n\nA=2\nさようなら\n\n"_sj);
  run.Frame(3);
  ASSERT_EQ(Var("A"), 1);
  SaveScreenOpen = true;
  Config.savePage = 2;
  run.Frame(1, At(400, 590));
  run.Frame(1, ClickAt(500, 130));  // slot 1 of page 2
  EXPECT_EQ(fs::file_size(folder.dir().File("savedata/data013.sav")), kEngineStateSize);
  EXPECT_EQ(fs::file_size(folder.dir().File("savedata/data013.bmp")), kThumbnailFileBytes);
  EXPECT_TRUE(SaveScreenOpen);
  EXPECT_EQ(Menu().ShownPage(), -1);
  run.Frame(1, At(400, 590));
  EXPECT_NE(TextBoxes[4].text.find("こんにちは"_sj), std::string::npos);
  EXPECT_NE(Menu().SlotThumbnail(1), nullptr);

  // Out of the screen with the back-to-game button, and on to the next message.
  run.Frame(1, Hold(610, 550));
  EXPECT_FALSE(SaveScreenOpen);
  for (int i = 0; i < 4; ++i) run.Frame(1, MessageFixture::Click());
  ASSERT_EQ(Var("A"), 2);

  SettingsScreenOpen = true;
  LoadScreenOpen = true;
  run.Frame(1, At(400, 590));
  run.Frame(1, ClickAt(500, 130));
  EXPECT_FALSE(LoadScreenOpen);
  EXPECT_FALSE(SaveScreenOpen);
  EXPECT_FALSE(SettingsScreenOpen);
  EXPECT_EQ(Menu().ShownPage(), -1);
  EXPECT_EQ(Menu().SlotThumbnail(1), nullptr);
  for (int box = 3; box <= 9; ++box) EXPECT_FALSE(TextBoxes[static_cast<size_t>(box)].visible) << box;
  run.Frame(1);
  EXPECT_EQ(Var("A"), 1);
  EXPECT_EQ(Spoken(), "こんにちは"_sj);
  EXPECT_TRUE(questions.boxes().empty());
}

// A slot that cannot be replaced keeps both of its files as they were, and the player is told.
TEST_F(SystemMenuTest, ASlotThatCannotBeWrittenKeepsItsFiles) {
  Start();
  Load("こんにちは\n\n"_sj);
  run.Frame(2);
  struct Case {
    const char* name;
    const char* readOnly;  // made read-only
    bool needsNonRoot;
  } cases[] = {
      {"read-only save", "savedata/data000.sav", false},
      {"read-only folder", "savedata", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.needsNonRoot && geteuid() == 0) continue;  // permissions do not hold for root
    fs::remove_all(folder.dir().File("savedata"));
    folder.dir().Write("savedata/data000.sav", "old save");
    folder.dir().Write("savedata/data000.bmp", "old picture");
    ASSERT_EQ(
        chmod(folder.dir().File(c.readOnly).c_str(), fs::is_directory(folder.dir().File(c.readOnly)) ? 0555 : 0444), 0);
    SaveScreenOpen = true;
    questions.Clear();
    run.Frame(1, At(400, 590));
    run.Frame(1, ClickAt(150, 130));
    chmod(folder.dir().File(c.readOnly).c_str(), 0755);
    ASSERT_EQ(questions.boxes().size(), 1u);
    EXPECT_EQ(questions.boxes()[0].text, Sj("セーブデータの書き込みに失敗しました"_sj));
    EXPECT_EQ(Read("savedata/data000.sav"), "old save");
    EXPECT_EQ(Read("savedata/data000.bmp"), "old picture");
    EXPECT_EQ(folder.dir().List("savedata"), (std::vector<std::string>{"data000.bmp", "data000.sav"}));
    EXPECT_TRUE(SaveScreenOpen);
  }
}

// The quick save button makes the save folder of a new install; the quick load button goes back.
TEST_F(SystemMenuTest, QuickSaveAndQuickLoadFromTheWindow) {
  Start();
  Load("A=1\nこんにちは\n\nA=2\nさようなら\n\n"_sj);
  run.Frame(3);
  ASSERT_FALSE(fs::exists(folder.dir().File("savedata")));
  run.Frame(1, Hold(75, 115));
  ASSERT_EQ(fs::file_size(folder.dir().File("savedata/quicksave.sav")), kEngineStateSize);
  EXPECT_EQ(std::memcmp(Read("savedata/quicksave.sav").data(), &EngineStateSnapshot, kEngineStateSize), 0);
  EXPECT_FALSE(fs::exists(folder.dir().File("savedata/quicksave.bmp")));
  Rest();
  for (int i = 0; i < 4; ++i) run.Frame(1, MessageFixture::Click());
  ASSERT_EQ(Var("A"), 2);
  run.Frame(1, Hold(105, 115));
  run.Frame(1);
  EXPECT_EQ(Var("A"), 1);
  EXPECT_EQ(Spoken(), "こんにちは"_sj);
  EXPECT_TRUE(questions.boxes().empty());
}

// Without a quick save the quick load has nothing to load: the press says so instead of doing
// nothing, and the game goes on where it was.
TEST_F(SystemMenuTest, AQuickLoadWithoutAQuickSaveSaysSo) {
  Start();
  Load("A=1\nこんにちは\n\nA=2\n"_sj);
  run.Frame(3);
  run.Frame(1, Hold(105, 115));
  EXPECT_EQ(questions.texts(), std::vector<std::string>{"クイックセーブデータがないため、クイックロードできません"_sj});
  EXPECT_EQ(Var("A"), 1);
  EXPECT_EQ(Spoken(), "こんにちは"_sj);
  EXPECT_FALSE(fs::exists(folder.dir().File("savedata")));
}

// A click on one of the window's buttons is the button's: the page waits on.
TEST_F(SystemMenuTest, AClickOnAWindowButtonDoesNotEndThePage) {
  Start();
  Load("こんにちは\n\nA=1\n"_sj);
  run.Frame(30);
  ASSERT_TRUE(IsTextBoxDone(0));
  for (const auto& [x, y] : {std::pair{15, 115}, std::pair{165, 115}}) {
    run.Frame(1, ClickAt(x, y));
    run.Frame(1, At(400, 590));
    EXPECT_EQ(Var("A"), 0) << x;
  }
  run.Frame(1, ClickAt(400, 590));
  run.Frame(1);
  EXPECT_EQ(Var("A"), 1);
}

// The backlog's close button is the 32 x 32 square at (48, 0) of the screen, its edges outside.
TEST_F(SystemMenuTest, TheBacklogClosesFromItsCorner) {
  Start();
  struct Case {
    const char* name;
    int x, y;
    bool closes;
  } cases[] = {
      {"inside", 60, 10, true},   {"left edge", 48, 10, false},   {"right edge", 80, 10, false},
      {"top edge", 60, 0, false}, {"bottom edge", 60, 32, false}, {"last pixel", 79, 31, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rest();
    OpenBacklog();
    ASSERT_TRUE(BacklogOpen);
    run.Frame(1, Hold(c.x, c.y));
    EXPECT_EQ(BacklogOpen, !c.closes);
    CloseBacklog();
  }
}

// The settings screen: each switch sets and clears its value; each slider takes the place of the
// cursor on its bar as a percentage.
TEST_F(SystemMenuTest, SwitchesAndSlidersSetTheirValues) {
  Start();
  SettingsScreenOpen = true;
  struct SwitchCase {
    const char* name;
    bool* value;
    int onX, offX, y;
  } switches[] = {
      {"screen effects", &Config.effectsOn, 267, 319, 348},
      {"auto mode", &Config.autoOn, 267, 319, 213},
      {"skip mode", &SkipMode, 267, 319, 120},
      {"sound effects", &Config.se.on, 597, 650, 236},
      {"voices", &Config.voice.on, 597, 649, 369},
      {"music", &Config.bgm.on, 595, 647, 120},
  };
  for (const SwitchCase& c : switches) {
    SCOPED_TRACE(c.name);
    Rest();
    *c.value = false;
    run.Frame(1, Hold(c.onX + 5, c.y + 5));
    EXPECT_TRUE(*c.value);
    Rest();
    run.Frame(1, Hold(c.offX + 5, c.y + 5));
    EXPECT_FALSE(*c.value);
    EXPECT_TRUE(SettingsScreenOpen);
  }
  struct SliderCase {
    const char* name;
    int32_t* value;
    int x, y;
  } sliders[] = {
      {"auto speed", &Config.autoSpeed, 165, 241},      {"text speed", &Config.messageSpeed, 165, 148},
      {"music volume", &Config.bgm.volume, 496, 148},   {"effect volume", &Config.se.volume, 496, 264},
      {"voice volume", &Config.voice.volume, 496, 397},
  };
  for (const SliderCase& c : sliders) {
    SCOPED_TRACE(c.name);
    *c.value = 77;
    run.Frame(1, At(c.x + 50, c.y + 5));  // not held: nothing
    EXPECT_EQ(*c.value, 77);
    run.Frame(1, Hold(c.x + 50, c.y + 5));
    EXPECT_EQ(*c.value, 25);
    run.Frame(1, Hold(c.x + 199, c.y + 5));
    EXPECT_EQ(*c.value, 99);
    run.Frame(1, Hold(c.x + 1, c.y + 5));
    EXPECT_EQ(*c.value, 0);
    run.Frame(1, Hold(c.x + 200, c.y + 5));  // the edge is outside the bar
    EXPECT_EQ(*c.value, 0);
  }
  // The bar shows the value as the part of its width drawn.
  Config.bgm.volume = 25;
  run.Frame(1, At(400, 590));
  EXPECT_EQ(Pixel(496 + 49, 153), kBar);
  EXPECT_EQ(Pixel(496 + 50, 153), kSettingsBackground);
  EXPECT_TRUE(questions.boxes().empty());
}

// The interface's fixed pictures are the image cache's own, and drawing the screens and the
// window's buttons never writes into them.
TEST_F(SystemMenuTest, TheFixedPicturesAreSharedWithTheCacheAndStayAsDecoded) {
  Config.imageCacheSize = 50;
  FlushImageCache();
  Start();
  const auto bar = LoadImageShared("cg\\system_bar.png", 100);
  const auto skip = LoadImageShared("skip.png", 100);
  ASSERT_TRUE(bar && skip);
  EXPECT_EQ(ImageCacheHits(), 2);                    // the interface loaded them into the cache first
  run.Frame(3, At(15, Config.messageWindowY + 15));  // over the skip button
  SettingsScreenOpen = true;
  Config.bgm.volume = 25;
  run.Frame(3, At(400, 590));
  SettingsScreenOpen = false;
  run.Frame(1, At(400, 590));
  const auto allOf = [](const CMemPlane& plane, uint32_t colour) {
    const CMemPlaneImpl& p = *plane.GetImpl();
    return std::all_of(p.GetPixels(), p.GetPixels() + p.Width() * p.Height(),
                       [colour](uint32_t px) { return px == colour; });
  };
  EXPECT_TRUE(allOf(*bar, 0xFF000000u | kBar));
  EXPECT_TRUE(allOf(*skip, 0xFF777777u));
  FlushImageCache();  // no later test finds these pictures under their names
}

// Without a bar picture the sliders have no width: nothing is set and nothing divides by it.
TEST_F(SystemMenuTest, ABarOfNoWidthSetsNothing) {
  fs::remove(folder.dir().File("cg/system_bar.png"));
  Start();
  SettingsScreenOpen = true;
  Config.bgm.volume = 40;
  Config.messageSpeed = 30;
  for (const auto& [x, y] : {std::pair{496, 148}, std::pair{497, 149}, std::pair{165, 148}}) {
    run.Frame(1, Hold(x, y));
  }
  EXPECT_EQ(Config.bgm.volume, 40);
  EXPECT_EQ(Config.messageSpeed, 30);
  EXPECT_EQ(Pixel(497, 150), kSettingsBackground);
}

// Tabs and the way out: the settings tabs open the two screens, the script's load screen offers
// no save tab, and the back-to-game button closes every screen.
TEST_F(SystemMenuTest, TabsOpenTheScreensTheScriptsLoadScreenHasNoSaveTab) {
  Start();
  SettingsScreenOpen = true;
  run.Frame(1, Hold(750, 10));
  EXPECT_TRUE(LoadScreenOpen);
  EXPECT_FALSE(SaveScreenOpen);
  Rest();
  EXPECT_EQ(Pixel(400, 300), kLoadBackground);
  run.Frame(1, Hold(50, 10));
  EXPECT_TRUE(SaveScreenOpen);
  EXPECT_FALSE(LoadScreenOpen);
  Rest();
  EXPECT_EQ(Pixel(400, 300), kSaveBackground);
  run.Frame(1, Hold(610, 550));
  EXPECT_FALSE(SaveScreenOpen || LoadScreenOpen || SettingsScreenOpen);

  Rest();
  Menu().OpenLoadScreenFromScript();
  run.Frame(1, Hold(50, 10));
  EXPECT_TRUE(LoadScreenOpen);
  EXPECT_FALSE(SaveScreenOpen);
  Rest();
  run.Frame(1, MessageFixture::RightClick());
  EXPECT_FALSE(LoadScreenOpen || LoadScreenByScript);
  // The player's own load screen has its save tab again.
  Rest();
  LoadScreenOpen = true;
  run.Frame(1, Hold(50, 10));
  EXPECT_TRUE(SaveScreenOpen);
}

// The save and load screens and the scene gallery keep the right button: it does not hide or show
// the window there, and a right click on a screen closes it.
TEST_F(SystemMenuTest, TheRightButtonBelongsToTheScreensAndTheGallery) {
  Start();
  FrameInputState right{};
  right.rightHeld = true;
  right.rightClick = true;
  SaveScreenOpen = true;
  run.Frame(1, At(400, 590));
  run.Frame(1, right);
  EXPECT_FALSE(SaveScreenOpen);
  EXPECT_FALSE(WindowHidden);

  run.Frame(1);
  AddSceneModeKey("s");
  AddSceneModeThumb("t");
  StartSceneMode();
  FrameInputState push{};
  push.rightHeld = true;
  run.Frame(1, push);
  EXPECT_FALSE(WindowHidden);
  EndSceneMode();
  run.Frame(1);
  run.Frame(1, push);
  EXPECT_TRUE(WindowHidden);
}

// The right button closes the settings screen, yet the rest of that frame still runs: a switch
// pressed with the left button in the same frame is set.
TEST_F(SystemMenuTest, TheRightButtonClosesSettingsAndTheFrameGoesOn) {
  Start();
  SettingsScreenOpen = true;
  Config.effectsOn = false;
  Rest();
  FrameInputState both = Hold(272, 353);
  both.rightHeld = true;
  run.Frame(1, both);
  EXPECT_FALSE(SettingsScreenOpen);
  EXPECT_TRUE(Config.effectsOn);
}

// Back to the title closes the screens and the gallery; the captions leave with them.
TEST_F(SystemMenuTest, BackToTitleClosesScreensAndGallery) {
  Start();
  Load("こんにちは\n\n"_sj);
  run.Frame(2);
  SettingsScreenOpen = true;
  LoadScreenOpen = true;
  LoadScreenByScript = true;
  run.Frame(1, At(400, 590));
  ASSERT_TRUE(TextBoxes[9].visible);
  AddSceneModeKey("s");
  AddSceneModeThumb("t");
  StartSceneMode();
  questions.SetAnswer(IDYES);
  run.Frame(1, Hold(680, 550));
  EXPECT_EQ(questions.texts(), std::vector<std::string>{"本当にタイトルに戻りますか？"_sj});
  EXPECT_FALSE(SaveScreenOpen || LoadScreenOpen || LoadScreenByScript || SettingsScreenOpen);
  EXPECT_FALSE(SceneGallery.active);
  run.Frame(1);
  for (int box = 3; box <= 9; ++box) EXPECT_FALSE(TextBoxes[static_cast<size_t>(box)].visible) << box;
}

}  // namespace

namespace {

// A button rested on shows its tip where the button is drawn: a window button's by the window.
TEST_F(SystemMenuTest, ButtonsShowTheirTipsWhereTheyAre) {
  Config.tipsOn = true;
  Start();
  struct Case {
    const char* name;
    bool settings;
    int x, y;
    std::string tip;
    int tipX, tipY;
  } cases[] = {
      {"window's auto button", false, 45, 115, "メッセージの自動で先に進めます"_sj, 40, 110},
      {"window's settings button", false, 165, 115, "システム設定画面を表示します"_sj, 160, 110},
      {"effects switch", true, 272, 353, "画面効果をオンにします"_sj, 267, 348},
      {"music switch off", true, 652, 125, "音楽をオフにします"_sj, 647, 120},
      {"back to game", true, 610, 550, "ゲームに戻ります。回想シーンの場合は回想を抜けます"_sj, 600, 540},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SettingsScreenOpen = c.settings;
    run.Frame(30, At(c.x, c.y));
    const CToolTip& tip = *run.App()->ToolTip();
    EXPECT_EQ(tip.Text(), c.tip);
    EXPECT_EQ(tip.X(), c.tipX);
    EXPECT_EQ(tip.Y(), c.tipY);
    run.Frame(200, At(400, 590));  // the tip fades and is forgotten
  }
}

}  // namespace
