// The demo game played from its title to its end, headless, on a copy of the built game folder: a
// scripted player clicks through the title, the story and its choice, a gallery replay left through
// the settings screen, the command corner (typed input, a quick save and its load, the commands
// that show nothing, the films, the choice that waits for good, left through "back to title"), and
// ends the game. The run checks that every statement keyword reached the run loop, looks at the
// presented picture at several points against the colours the generators drew, and checks what the
// game wrote at its end.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

#include "demo_player.h"
#include "game/script/script_executor.h"
#include "game/script/script_lexer.h"
#include "game/script/script_tokens.h"
#include "game/app/win_main.h"
#include "platform/audio_mixer.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/quit_signal.h"
#include "platform/sjis.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"
#include "sdk/framework/idle_callback.h"
#include "sdk/framework/path_functions.h"
#include "tests/game/fixtures/message_box_recorder.h"
#include "tools/demo_art/demo_palette.h"

namespace {

namespace pal = demo_palette;

// Every statement the run loop hands to a handler, counted by token.
std::array<int, kLastStatementToken - kFirstStatementToken + 1> dispatchCounts;

void CountDispatch(int32_t token) {
  if (token >= kFirstStatementToken && token <= kLastStatementToken) ++dispatchCounts[token - kFirstStatementToken];
}

// The three keywords that are no commands have no handler: the run loop reads past them. Here a
// handler that does just that lets the count see them arrive.
ScriptFlow ReadPastNonCommand() {
  GetToken();
  return ScriptFlow::kNext;
}
constexpr int32_t kNonCommands[] = {kTokenLoopMotion, kTokenCheckCg, kTokenCheckScene};

// The terminal of the command corner's INPUT: the line comes three questions late, as a person
// types; a second INPUT finds the input at its end.
class TypedConsole : public platform::Console {
 public:
  platform::ConsoleRead ReadLine(std::string& line) override {
    ++asked;
    if (given || asked < 3) return given ? platform::ConsoleRead::kEnd : platform::ConsoleRead::kPending;
    given = true;
    line = "42";
    return platform::ConsoleRead::kLine;
  }
  void Write(std::string_view text) override { written += text; }

  int asked = 0;
  bool given = false;
  std::string written;
};

// A file of the demo's sources as the build gives it to the game: Shift-JIS with CR LF.
std::string DemoSource(const char* name) {
  const std::filesystem::path source =
      std::filesystem::path(VREL_TEST_DATA).parent_path().parent_path() / "demo" / "game" / name;
  std::ifstream in(source, std::ios::binary);
  std::string out, line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out += platform::Utf8ToSjis(line) + "\r\n";
  }
  EXPECT_FALSE(out.empty()) << source;
  return out;
}

// A copy of the built demo folder made the current directory, as a first-time player finds it
// (whatever an earlier play left in the build's folder is put back), with the test's own
// setting: the skip key passes unread text.
class DemoFolder {
 public:
  DemoFolder() : m_previous(std::filesystem::current_path()) {
    const std::filesystem::path built = std::filesystem::path(VREL_DEMO_GAME_DIR);
    std::filesystem::copy(built, dir.path(), std::filesystem::copy_options::recursive);
    std::filesystem::remove_all(dir.path() / "savedata");
    std::filesystem::remove(dir.path() / "meridiane.mfl");
    for (const char* name : {"scene.ini", "picture.ini"}) dir.Write(name, DemoSource(name));
    std::string config = DemoSource("vrel.xml");
    Replace(config, "<isread skip=\"0\"", "<isread skip=\"1\"");
    dir.Write("vrel.xml", config);
    std::filesystem::current_path(dir.path());
    RecordCurrentDir();
    // The files the game rewrites at its end are made old, so that their rewriting shows.
    for (const char* name : {"vrel.xml", "scene.ini", "picture.ini"})
      std::filesystem::last_write_time(dir.File(name), oldTime);
  }
  ~DemoFolder() {
    std::filesystem::current_path(m_previous);
    RecordCurrentDir();
  }
  DemoFolder(const DemoFolder&) = delete;
  DemoFolder& operator=(const DemoFolder&) = delete;

  static void Replace(std::string& text, std::string_view from, std::string_view to) {
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
  }

  const std::filesystem::file_time_type oldTime =
      std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
  ScopedTempDir dir;

 private:
  std::filesystem::path m_previous;
};

TEST(DemoGame, PlayedFromTheTitleToItsEnd) {
  DemoFolder folder;
  MessageBoxRecorder boxes;
  boxes.SetAnswer(IDYES);
  platform::ClearQuitSignal();
  platform::SetAudioManualRender(true);
  platform::ManualClock clock(1000);
  // A sound that stops fades out over 25 milliseconds, stepping its volume while it watches the
  // clock: here each step takes a millisecond, as it does on a real machine.
  const platform::AudioCallHook previousAudioHook = platform::SetAudioCallHook([&clock](const platform::AudioCall& c) {
    if (c.kind == platform::AudioCall::kSetVolume) clock.Advance(1);
    return platform::DS_OK;
  });
  TypedConsole console;
  platform::Console* previousConsole = platform::SetConsole(&console);
  dispatchCounts = {};
  SetDispatchObserver(&CountDispatch);
  for (int32_t token : kNonCommands) SetScriptHandler(token, &ReadPastNonCommand);

  DemoPlayer player(folder.dir, console);
  IdleCallbacks().push_back(&player);
  static char commandLine[] = "";
  static int module = 0;
  const int result = WinMain(&module, nullptr, commandLine, 1);
  std::erase(IdleCallbacks(), &player);

  for (int32_t token : kNonCommands) SetScriptHandler(token, nullptr);
  SetDispatchObserver(nullptr);
  platform::SetConsole(previousConsole);
  platform::SetAudioCallHook(previousAudioHook);
  platform::SetAudioManualRender(false);

  EXPECT_EQ(result, 0);
  EXPECT_TRUE(player.Finished()) << "the player stopped at: " << player.StepName();

  // Every statement keyword reached the run loop; the words inside statements never stand there.
  const std::set<int32_t> partsOfStatements = {kTokenNumber, kTokenString, kTokenThen,     kTokenAnd,
                                               kTokenOr,     kTokenNot,    kTokenMod,      kTokenTo,
                                               kTokenStep,   kTokenInt,    kTokenInputWait};
  for (const ScriptKeyword& k : ScriptKeywords()) {
    if (partsOfStatements.count(k.token)) continue;
    EXPECT_GT(dispatchCounts[k.token - kFirstStatementToken], 0) << k.name;
  }
  for (int32_t token : {kTokenIdentifier, kTokenMessage, kTokenWaitCountdown})
    EXPECT_GT(dispatchCounts[token - kFirstStatementToken], 0) << token;

  // The pictures, as the player saw them.
  const DemoPlayer::Captures& seen = player.captures();
  EXPECT_FALSE(seen.overlayShown) << "the information overlay covers the game";
  EXPECT_EQ(seen.titleButton, pal::kTitleButton);
  EXPECT_TRUE(seen.blackAfterBlack) << "the screen after BLACK is not all black";
  // The film is drawn at its own size from the top left corner: made at the screen's size, it
  // leaves nothing of the screen black.
  EXPECT_EQ(seen.filmWidth, 800);
  EXPECT_EQ(seen.filmHeight, 600);
  EXPECT_EQ(seen.filmBlackPixels, 0);
  // The wipe from the hill to the town lays the hill over the town: the bare hill, without the
  // characters that faded out.
  EXPECT_EQ(seen.ghostPixels, 0);
  // The window's face over the night room's floor at the window's opacity: the face's own alpha
  // times the configured alpha over 256.
  const double a = pal::kWindowShade.a * 200 / 256;
  const uint32_t floor = pal::kRoomFloor, window = seen.windowOverFloor;
  const double expected[3] = {((floor >> 16) & 255) * (1 - a) + pal::kWindowShade.r * 255 * a,
                              ((floor >> 8) & 255) * (1 - a) + pal::kWindowShade.g * 255 * a,
                              (floor & 255) * (1 - a) + pal::kWindowShade.b * 255 * a};
  for (int c = 0; c < 3; ++c) EXPECT_NEAR((window >> (16 - 8 * c)) & 255, expected[c], 3.0) << c << std::hex << window;
  EXPECT_EQ(seen.seenCell, pal::kThumbFrameColour);
  EXPECT_EQ(seen.unseenCell, seen.unseenPicture);

  // The typed number came through INPUT into the printed line.
  EXPECT_EQ(console.written, "Type a number and press Enter: ");
  EXPECT_NE(player.printed().find("42"), std::string::npos) << player.printed();
  EXPECT_NE(player.printed().find("84"), std::string::npos) << player.printed();

  // The quick load went back to the page that was showing at the quick save.
  EXPECT_EQ(dispatchCounts[kTokenQuickLoad - kFirstStatementToken], 1);
  EXPECT_EQ(player.quickSavePages(), 2);

  // The game asked to leave the replay and to go back to the title, nothing else.
  const std::vector<std::string> asked = boxes.texts();
  EXPECT_EQ(asked, (std::vector<std::string>{"ゲームに戻りますか？"_sj, "本当にタイトルに戻りますか？"_sj}));

  // The one line in the message log is the GETSELECT that waits for good: no script error.
  EXPECT_EQ(player.logLines(),
            (std::vector<std::string>{"GETSELECT: 選択肢は表示されないので、ここで待ち続けます"_sj}));

  // What the game wrote at its end: the configuration, the scenes seen (the path through the wood
  // was not taken), the pictures shown and the read marks.
  const ScopedTempDir& dir = folder.dir;
  const std::string scenes = dir.Read("scene.ini");
  for (const char* key : {"=morning\r\n", "=town\r\n", "=night\r\n"})
    EXPECT_NE(scenes.find(key), std::string::npos) << key << scenes;
  EXPECT_EQ(scenes.find("=path\r\n"), std::string::npos) << scenes;
  const std::string pictures = dir.Read("picture.ini");
  for (const char* key : {"=cg\\title.png\r\n", "=cg\\bg_room.png\r\n", "=cg\\mio_smile.png\r\n"})
    EXPECT_NE(pictures.find(key), std::string::npos) << key << pictures;
  for (const char* name : {"vrel.xml", "scene.ini", "picture.ini"})
    EXPECT_GT(std::filesystem::last_write_time(dir.File(name)), folder.oldTime) << name;
  EXPECT_NE(dir.Read("vrel.xml").find("<isread skip=\"1\""), std::string::npos);
  const std::string marks = dir.Read("meridiane.mfl");
  ASSERT_EQ(marks.size(), 200000u);
  EXPECT_GT(std::count(marks.begin(), marks.end(), '\x01'), 20);
  EXPECT_TRUE(dir.Exists("savedata/quicksave.sav"));
}

}  // namespace
