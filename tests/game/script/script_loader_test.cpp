// Loading the script from a file, the read table's file, and resuming a loaded save.
#include "game/script/script_loader.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "game/app/config.h"
#include "game/script/engine_state.h"
#include "game/script/read_flag_table.h"
#include "tests/game/fixtures/script_harness.h"
#include "game/script/script_lexer.h"
#include "game/script/script_tokens.h"
#include "platform/sjis_literal.h"

namespace {

namespace fs = std::filesystem;

class TempDir {
 public:
  TempDir() : m_path(fs::temp_directory_path() / ("vrel_loader_" + std::to_string(::getpid()))) {
    fs::create_directories(m_path);
  }
  ~TempDir() { fs::remove_all(m_path); }
  std::string File(const char* name) const { return (m_path / name).string(); }

 private:
  fs::path m_path;
};

void WriteFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

TEST(ReadFlags, OnlyAFileOfExactly200000BytesIsRead) {
  TempDir dir;
  const std::string path = dir.File("meridiane.mfl");
  for (size_t size : {size_t{199999}, size_t{200000}, size_t{200001}}) {
    WriteFile(path, std::string(size, '\1'));
    LoadReadFlags(path);
    EXPECT_EQ(IsLineRead(5), size == kReadFlagCount) << size;
    // At exit the whole table is written, replacing the file of the wrong size.
    MarkLineRead(7);
    EXPECT_EQ(WriteReadFlags(path), 0);
    EXPECT_EQ(fs::file_size(path), kReadFlagCount);
    LoadReadFlags(path);
    EXPECT_TRUE(IsLineRead(7));
  }
  fs::remove(path);
  LoadReadFlags(path);
  EXPECT_FALSE(IsLineRead(7));
}

TEST(ReadFlags, LinesWithoutAFlagAreNeverReadAndNeverWritten) {
  ClearReadFlags();
  for (int32_t line : {-1, 0, 200000, 2147483647}) {
    MarkLineRead(line);
    EXPECT_FALSE(IsLineRead(line)) << line;
  }
  MarkLineRead(199999);
  EXPECT_TRUE(IsLineRead(199999));
  EXPECT_EQ(ReadFlagTable[0], 0);
  ClearReadFlags();
}

TEST(InitScriptEngine, TheMessageWindowStartsAtTheConfiguredOrigin) {
  const GameConfig saved = Config;
  Config.messageWindowX = 12;
  Config.messageWindowY = 345;
  InitScriptEngine();
  EXPECT_EQ(EngineState.presentation.window.originX, 12);
  EXPECT_EQ(EngineState.presentation.window.originY, 345);
  EXPECT_EQ(EngineState.presentation.window.state, 0);
  Config = saved;
}

TEST(LoadScript, ReadsAPlainFile) {
  TempDir dir;
  const std::string path = dir.File("scenario.txt");
  WriteFile(path, CrLf("GOTO L\nA=1\nLABEL L\nB=2\nEND\n"));
  ScriptHarness run;
  EXPECT_TRUE(LoadScript(nullptr, path));
  SetScriptRunning(true);
  run.Step();
  EXPECT_EQ(*run.Var("A"), 0);
  EXPECT_EQ(*run.Var("B"), 2);
  EXPECT_EQ(std::string(EngineState.interpreter.scriptName), path);
}

TEST(LoadScript, AMissingFileIsReportedAndTheEmptyScriptStops) {
  TempDir dir;
  const std::string path = dir.File("none.txt");
  ScriptHarness run;
  EXPECT_FALSE(LoadScript(nullptr, path));
  EXPECT_EQ(run.Log(), std::vector<std::string>{ErrorLine(1, "ファイルが見つかりません"_sj, "", path)});
  SetScriptRunning(true);
  run.Step();
  EXPECT_FALSE(run.Running());
  EXPECT_EQ(EngineStateSnapshot.scriptLine, 1);
}

std::vector<std::string> editorCalls;

void RecordEditorCall(const char* path, int line) {
  editorCalls.push_back(std::string(path) + ":" + std::to_string(line));
}

// In debug mode the script is shown in the editor through the host before it is loaded; the host
// may have no editor, and outside debug mode none is asked for.
TEST(LoadScript, DebugModeOpensTheScriptThroughTheHost) {
  TempDir dir;
  const std::string path = dir.File("scenario.txt");
  WriteFile(path, CrLf("A=1\nEND\n"));
  const GameConfig saved = Config;
  struct Case {
    bool debug;
    bool editor;
    std::vector<std::string> calls;
  };
  for (const Case& c : {Case{true, true, {path + ":0"}}, Case{false, true, {}}, Case{true, false, {}}}) {
    ScriptHarness run;
    ScriptHost host = GetScriptHost();
    host.openEditor = c.editor ? RecordEditorCall : nullptr;
    SetScriptHost(host);
    Config.debug = c.debug;
    editorCalls.clear();
    EXPECT_TRUE(LoadScript(nullptr, path));
    EXPECT_EQ(editorCalls, c.calls) << c.debug << c.editor;
  }
  Config = saved;
}

// A stand-in for PICTURE: the statement ends and a snapshot is taken, as the command does.
ScriptFlow SnapshotStatement() {
  GetToken();
  TakeSaveSnapshot();
  return ScriptFlow::kNext;
}

// What loading a save does to the interpreter: the block comes back, then the line is restored.
void LoadSnapshot() {
  std::memcpy(&EngineState, &EngineStateSnapshot, sizeof EngineState);
  RestoreScriptLine();
}

// The line is stored one past the statement's own, as jumps count lines, so the load lands on it.
TEST(RestoreScriptLine, ASaveInAStatementResumesAtThatStatement) {
  ScopedScriptHandler picture(kTokenPicture, SnapshotStatement);
  ScriptHarness run;
  run.Load(CrLf("A=1\nB=B+1\nPICTURE\nC=5\nEND\n"));
  run.Step();
  EXPECT_EQ(EngineStateSnapshot.scriptLine, 4);
  EXPECT_EQ(*run.Var("C"), 5);
  LoadSnapshot();
  EXPECT_EQ(*run.Var("C"), 0);
  run.Step();
  EXPECT_EQ(*run.Var("B"), 1);
  EXPECT_EQ(*run.Var("C"), 5);
}

TEST(RestoreScriptLine, LoopsAndCallsGoOnInANewlyLoadedCopyOfTheScript) {
  ScopedScriptHandler picture(kTokenPicture, SnapshotStatement);
  const std::string script = CrLf("FOR I=1 TO 3\nGOSUB S\nNEXT\nEND\nLABEL S\nN=N+1\nPICTURE\nRETURN\n");
  ScriptHarness run;
  run.Load(script);
  run.Step();
  EXPECT_EQ(*run.Var("N"), 3);
  // The snapshot of the last pass; a later run loads the script into a new buffer and the save.
  auto saved = std::make_unique<EngineStateRecord>();
  std::memcpy(saved.get(), &EngineStateSnapshot, sizeof *saved);
  ScriptHarness later;
  later.Load(std::string(script));
  std::memcpy(&EngineStateSnapshot, saved.get(), sizeof *saved);
  LoadSnapshot();
  later.Step();
  // The save resumes at the statement in the subroutine of the third pass, and the loop ends.
  EXPECT_EQ(*later.Var("N"), 3);
  EXPECT_EQ(*later.Var("I"), 4);
  EXPECT_EQ(later.CurrentLine(), 4);
  EXPECT_TRUE(later.Log().empty());
}

TEST(RestoreScriptLine, DamagedSaveNeitherCrashesNorHangs) {
  ScriptHarness run;
  run.Load(CrLf("FOR I=1 TO 2\nNEXT\nEND\n"));
  for (ScriptSymbol& entry : EngineState.symbolTable) {
    std::memset(entry.name, 'Z', sizeof entry.name);
    entry.next = 123456;
  }
  EngineState.interpreter.forDepth = 1000000;
  EngineState.scriptLine = 2000000000;
  RestoreScriptLine();
  run.Step(3);
  EXPECT_FALSE(run.Running());
}

TEST(RestoreScriptLine, AScriptThatRanOffItsEndRunsAgainFromTheSave) {
  ScriptHarness run;
  run.Load(CrLf("A=A+1\nB=1\n"));
  run.Step();
  EXPECT_FALSE(run.Running());
  LoadSnapshot();
  EXPECT_TRUE(run.Running());
  run.Step();
  EXPECT_EQ(*run.Var("A"), 1);  // the save was taken at load, before A grew
}

}  // namespace
