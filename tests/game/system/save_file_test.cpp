#include "game/system/save_file.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <limits>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "game/text/fixed_text.h"
#include "game/system/scene_gallery.h"
#include "game/script/script_symbol_table.h"
#include "tests/game/fixtures/message_fixture.h"
#include "platform/sjis_literal.h"

namespace {

namespace fs = std::filesystem;

std::string Sj(const char* text) { return text; }

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fs::path& path, std::string_view bytes) {
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// The program path of slot 0 and the host path the same file has here.
const std::string kSlot0 = SaveSlotPath(0);
const fs::path kSlot0File = fs::path("savedata") / "data000.sav";

class SaveFileTest : public testing::Test, public MessageFixture {
 protected:
  std::string EngineBytes() const {
    return std::string(reinterpret_cast<const char*>(&EngineState), sizeof EngineState);
  }
  static EngineStateRecord& Block(std::string& bytes) { return *reinterpret_cast<EngineStateRecord*>(bytes.data()); }
};

TEST(SavePaths, SlotsAndThumbnails) {
  EXPECT_EQ(SaveSlotPath(0), "savedata\\data000.sav");
  EXPECT_EQ(SaveSlotPath(599), "savedata\\data599.sav");
  EXPECT_EQ(SaveThumbnailPath("savedata\\data007.sav"), "savedata\\data007.bmp");
  // Every ".sav" is replaced, as the thumbnail's name has always been made.
  EXPECT_EQ(SaveThumbnailPath("a.sav\\b.sav"), "a.bmp\\b.bmp");
}

// A save file is the snapshot byte for byte; loading it resumes at the start of the statement it
// was taken in, with the variables, speaker and voice that held then.
TEST_F(SaveFileTest, ASavedMessageComesBackWhole) {
  struct Case {
    const char* name;
    std::string script;
    std::string speaker;
    std::string spoken;
    std::string voice;
  } cases[] = {
      {"one-line message", CrLf("A=A+1\n"_sj) + Sj("こんにちは"_sj) + "\r\n\r\nA=A+10\r\n", "-", "こんにちは"_sj, ""},
      {"speaker and voice", CrLf("A=A+1\nVOICEPREFIX \"太郎\", \"A0100\"\n＠太郎\nこんにちは\n\nA=A+10\n"_sj),
       "太郎"_sj, "こんにちは"_sj, "voice\\A0100.ogg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all("savedata");
    const double a0 = Var("A");
    run.Load(c.script);
    run.Frame(1);
    ASSERT_EQ(Var("A"), a0 + 1);
    ASSERT_TRUE(WriteSaveBlock(kSlot0));
    const std::string file = ReadFile(kSlot0File);
    ASSERT_EQ(file.size(), kEngineStateSize);
    EXPECT_EQ(std::memcmp(file.data(), &EngineStateSnapshot, kEngineStateSize), 0);
    for (int i = 0; i < 4; ++i) run.Frame(1, Click());
    ASSERT_EQ(Var("A"), a0 + 11);

    KeyWaitStarted = true;
    AddSceneModeKey("s");
    AddSceneModeThumb("t");
    StartSceneMode();
    ASSERT_TRUE(LoadSaveFile(kSlot0));
    EXPECT_FALSE(KeyWaitStarted);
    EXPECT_FALSE(SceneGallery.active);
    EXPECT_EQ(SceneGallery.count, 0);
    // The variables and the message are those of the file; the line is the one it names.
    const EngineStateRecord& saved = *reinterpret_cast<const EngineStateRecord*>(file.data());
    EXPECT_EQ(std::memcmp(EngineState.symbolTable, saved.symbolTable, sizeof saved.symbolTable), 0);
    EXPECT_STREQ(EngineState.messageText, saved.messageText);
    EXPECT_EQ(EngineState.scriptLine, saved.scriptLine);
    EXPECT_EQ(Backlog.count, 0);
    run.Frame(1);
    EXPECT_EQ(Var("A"), a0 + 1);
    EXPECT_EQ(Speaker(), c.speaker);
    EXPECT_EQ(Spoken(), c.spoken);
    if (!c.voice.empty()) {
      EXPECT_EQ(LastVoice(), c.voice);
    }
    for (int i = 0; i < 4; ++i) run.Frame(1, Click());
    EXPECT_EQ(Var("A"), a0 + 11);
    EXPECT_TRUE(questions.boxes().empty());
  }
}

// A file that no save of this engine holds is refused whole: the version box, and nothing of the
// running game changes.
TEST_F(SaveFileTest, HostileFilesChangeNothing) {
  Load("A=7\nこんにちは\n\nB=1\n"_sj);
  run.Frame(1);
  ASSERT_TRUE(WriteSaveBlock(kSlot0));
  const std::string good = ReadFile(kSlot0File);
  const int32_t keywordIndex = LookupSymbol("PRINT", false);
  ASSERT_GE(keywordIndex, 0);

  using Edit = void (*)(std::string&);
  struct Case {
    const char* name;
    Edit edit;
  } cases[] = {
      {"one byte short", [](std::string& b) { b.pop_back(); }},
      {"one byte long", [](std::string& b) { b.push_back('\0'); }},
      {"empty", [](std::string& b) { b.clear(); }},
      {"three saves long", [](std::string& b) { b = b + b + b; }},
      {"message text", [](std::string& b) { std::memset(Block(b).messageText, 'x', kMessageTextBytes); }},
      {"layer name", [](std::string& b) { std::memset(Block(b).layers[63].fileName, 'x', 259); }},
      {"music name", [](std::string& b) { std::memset(Block(b).music[1].name, 'x', 256); }},
      {"speaker", [](std::string& b) { std::memset(Block(b).presentation.message.speakerName, 'x', 256); }},
      {"single voice", [](std::string& b) { std::memset(Block(b).presentation.message.singleVoice, 'x', 256); }},
      {"prefix speaker",
       [](std::string& b) { std::memset(Block(b).presentation.message.voicePrefixes[31].speaker, 'x', 64); }},
      {"prefix series",
       [](std::string& b) { std::memset(Block(b).presentation.message.voicePrefixes[0].series, 'x', 64); }},
      {"symbol name", [](std::string& b) { std::memset(Block(b).symbolTable[9999].name, 'x', kSymbolNameBytes); }},
      {"script name", [](std::string& b) { std::memset(Block(b).interpreter.scriptName, 'x', kScriptNameBytes); }},
      {"looping chain",
       [](std::string& b) {
         Block(b).symbolTable[5000].next = 5001;
         Block(b).symbolTable[5001].next = 5000;
       }},
      {"chain onto itself", [](std::string& b) { Block(b).symbolTable[0].next = 0; }},
      {"link 12345", [](std::string& b) { Block(b).symbolTable[3].next = 12345; }},
      {"link -2", [](std::string& b) { Block(b).symbolTable[3].next = -2; }},
      {"key count 99", [](std::string& b) { Block(b).layers[2].keyCount = 99; }},
      {"key count -1", [](std::string& b) { Block(b).layers[2].keyCount = -1; }},
      {"window state 4", [](std::string& b) { Block(b).presentation.window.state = 4; }},
      {"gosub depth -1", [](std::string& b) { Block(b).interpreter.gosubDepth = -1; }},
      {"for depth 10001", [](std::string& b) { Block(b).interpreter.forDepth = 10001; }},
      {"macro depth huge", [](std::string& b) { Block(b).interpreter.macroDepth = 0x7FFFFFFF; }},
      {"script line 0", [](std::string& b) { Block(b).scriptLine = 0; }},
      {"no keywords",
       [](std::string& b) {
         for (ScriptSymbol& entry : Block(b).symbolTable) entry = {{}, 0.0, 0, -1};
       }},
  };
  const bool windowShown = TextBoxes[0].visible;
  const int backlog = Backlog.count;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string bytes = good;
    c.edit(bytes);
    WriteFile(kSlot0File, bytes);
    const std::string before = EngineBytes();
    questions.Clear();
    EXPECT_FALSE(LoadSaveFile(kSlot0));
    ASSERT_EQ(questions.boxes().size(), 1u);
    EXPECT_EQ(questions.boxes()[0].text, Sj("セーブデータのバージョンが違うため読み込めません"_sj));
    EXPECT_EQ(questions.boxes()[0].caption, Sj("情報"_sj));
    EXPECT_TRUE(EngineBytes() == before);
    EXPECT_EQ(TextBoxes[0].visible, windowShown);
    EXPECT_EQ(Backlog.count, backlog);
  }
  // A keyword with another token is not the table this engine built either.
  std::string bytes = good;
  Block(bytes).symbolTable[keywordIndex].token += 1;
  WriteFile(kSlot0File, bytes);
  questions.Clear();
  EXPECT_FALSE(LoadSaveFile(kSlot0));
  EXPECT_EQ(questions.boxes().size(), 1u);

  // A missing file is only false.
  questions.Clear();
  EXPECT_FALSE(LoadSaveFile(SaveSlotPath(1)));
  EXPECT_TRUE(questions.boxes().empty());
  // The good file still loads.
  WriteFile(kSlot0File, good);
  EXPECT_TRUE(LoadSaveFile(kSlot0));
}

// What odd scripts leave in a save is made harmless; the variables keep exactly what they hold.
TEST_F(SaveFileTest, OddValuesAreMadeHarmlessAndVariablesKept) {
  Load("A=1: B=2\nこんにちは\n\n"_sj);
  run.Frame(1);
  ASSERT_TRUE(WriteSaveBlock(kSlot0));
  std::string bytes = ReadFile(kSlot0File);
  EngineStateRecord& b = Block(bytes);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  b.layers[4].x = nan;
  b.layers[4].y = -inf;
  b.layers[4].keys[3].z = nan;
  b.presentation.camera.time = inf;
  b.presentation.quake.duration = nan;
  b.presentation.fades.black.level = 1000;
  b.presentation.fades.white.level = -5;
  const int32_t a = LookupSymbol("A", false);
  const int32_t bIndex = LookupSymbol("B", false);
  ASSERT_GE(a, 0);
  ASSERT_GE(bIndex, 0);
  b.symbolTable[a].value = std::numeric_limits<double>::infinity();
  b.symbolTable[bIndex].value = std::numeric_limits<double>::quiet_NaN();
  WriteFile(kSlot0File, bytes);

  ASSERT_TRUE(LoadSaveFile(kSlot0));
  EXPECT_EQ(EngineState.layers[4].x, 0.0f);
  EXPECT_EQ(EngineState.layers[4].y, 0.0f);
  EXPECT_EQ(EngineState.layers[4].keys[3].z, 0.0f);
  EXPECT_EQ(EngineState.presentation.camera.time, 0.0f);
  EXPECT_EQ(EngineState.presentation.quake.duration, 0.0f);
  EXPECT_EQ(EngineState.presentation.fades.black.level, 255);
  EXPECT_EQ(EngineState.presentation.fades.white.level, 0);
  EXPECT_EQ(EngineState.symbolTable[a].value, std::numeric_limits<double>::infinity());
  EXPECT_TRUE(std::isnan(EngineState.symbolTable[bIndex].value));
  EXPECT_TRUE(questions.boxes().empty());
}

TEST_F(SaveFileTest, WritingMakesTheFolderAndNeedsAScript) {
  // No script loaded: nothing is written, not even the folder.
  EXPECT_FALSE(WriteSaveBlock(kQuickSavePath));
  EXPECT_FALSE(fs::exists("savedata"));
  Load("A=1\n");
  run.Frame(1);
  ASSERT_TRUE(WriteSaveBlock(kQuickSavePath));
  EXPECT_EQ(fs::file_size(fs::path("savedata") / "quicksave.sav"), kEngineStateSize);
  EXPECT_TRUE(questions.boxes().empty());
}

// A place that cannot take the file: the error box, and what was there stays as it was with no
// temporary file left beside it.
TEST_F(SaveFileTest, AFailedWriteLeavesNoTrace) {
  Load("A=1\n");
  run.Frame(1);
  struct Case {
    const char* name;
    void (*prepare)();
    const char* keptFile;  // a file that must keep "old"
  } cases[] = {
      {"slot is a folder", [] { WriteFile(fs::path("savedata") / "data000.sav" / "x", "old"); },
       "savedata/data000.sav/x"},
      {"savedata is a file", [] { WriteFile("savedata", "old"); }, "savedata"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all("savedata");
    c.prepare();
    questions.Clear();
    EXPECT_FALSE(WriteSaveBlock(kSlot0));
    ASSERT_EQ(questions.boxes().size(), 1u);
    EXPECT_EQ(questions.boxes()[0].text, Sj("セーブデータの書き込みに失敗しました"_sj));
    EXPECT_EQ(ReadFile(c.keptFile), "old");
    if (fs::is_directory("savedata")) {
      std::vector<std::string> names;
      for (const auto& e : fs::directory_iterator("savedata")) names.push_back(e.path().filename().string());
      EXPECT_EQ(names, std::vector<std::string>{"data000.sav"});
    }
  }
  fs::remove_all("savedata");
}

TEST_F(SaveFileTest, AFailedWriteKeepsTheOldFileAndSaysSo) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not hold for root";
  Load("A=1\n");
  run.Frame(1);
  WriteFile(kSlot0File, "old save");
  ASSERT_EQ(chmod("savedata", 0555), 0);
  EXPECT_FALSE(WriteSaveBlock(kSlot0));
  chmod("savedata", 0755);
  ASSERT_EQ(questions.boxes().size(), 1u);
  EXPECT_EQ(questions.boxes()[0].text, Sj("セーブデータの書き込みに失敗しました"_sj));
  EXPECT_EQ(ReadFile(kSlot0File), "old save");
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator("savedata")) names.push_back(e.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"data000.sav"});
}

}  // namespace
