// The engine state block: its fixed layout, and the snapshot a save writes.
#include "game/script/engine_state.h"

#include <cstddef>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <type_traits>

#include "tests/game/fixtures/script_harness.h"
#include "game/script/script_loader.h"

namespace {

TEST(EngineState, FixedOffsetsAndSize) {
  EXPECT_TRUE(std::is_standard_layout_v<EngineStateRecord>);
  EXPECT_TRUE(std::is_trivially_copyable_v<EngineStateRecord>);
  EXPECT_EQ(sizeof(EngineStateRecord), 867560u);
  EXPECT_EQ(offsetof(EngineStateRecord, messageText), 0u);
  EXPECT_EQ(offsetof(EngineStateRecord, layers), 256u);
  EXPECT_EQ(offsetof(EngineStateRecord, music), 40704u);
  EXPECT_EQ(offsetof(EngineStateRecord, scriptLine), 63232u);
  EXPECT_EQ(offsetof(EngineStateRecord, symbolTable), 63240u);
  EXPECT_EQ(offsetof(EngineStateRecord, interpreter), 863240u);
  EXPECT_EQ(sizeof(ScriptSymbol), 80u);
  EXPECT_EQ(sizeof(PictureLayer), 632u);
  EXPECT_EQ(offsetof(EngineStateRecord, music) + offsetof(MusicRecord, active), 40960u);
  EXPECT_EQ(offsetof(EngineStateRecord, music) + sizeof(MusicRecord) + offsetof(MusicRecord, active), 41219u);
}

std::unique_ptr<EngineStateRecord> SnapshotAfter(const std::string& script, int frames) {
  ScriptHarness run;
  run.Load(script, "story.txt");
  run.Step(frames);
  TakeSaveSnapshot();
  auto copy = std::make_unique<EngineStateRecord>();
  std::memcpy(copy.get(), &EngineStateSnapshot, sizeof EngineStateSnapshot);
  return copy;
}

TEST(EngineState, SnapshotIsByteForByteTheSameAcrossRuns) {
  const std::string script = CrLf("FOR I=1 TO 3\nA(I)=I*I\nGOSUB S\nNEXT\nEND\nB=1\nEND\nLABEL S\nC=C+1\nRETURN\n");
  auto first = SnapshotAfter(script, 1);
  // Something else in between, then the same script again.
  SnapshotAfter(CrLf("X=1: Y=2: Z=3: W=4\nFOR J=1 TO 50\nNEXT\n"), 2);
  auto second = SnapshotAfter(script, 1);
  EXPECT_EQ(std::memcmp(first.get(), second.get(), sizeof(EngineStateRecord)), 0);
  EXPECT_EQ(first->scriptLine, 5);
}

TEST(EngineState, SnapshotExistsFromTheMomentAScriptIsLoaded) {
  ScriptHarness run;
  run.Load(CrLf("A=1\nEND\n"), "story.txt");
  EXPECT_EQ(EngineStateSnapshot.scriptLine, 1);
  EXPECT_STREQ(EngineStateSnapshot.interpreter.scriptName, "story.txt");
  EXPECT_STREQ(EngineStateSnapshot.symbolTable[64].name, "@");
}

TEST(EngineState, SanitizingASaveTerminatesTextsAndCutsBadLinks) {
  auto state = std::make_unique<EngineStateRecord>();
  std::memset(state.get(), 'x', sizeof *state);
  state->symbolTable[3].next = 10000;
  state->symbolTable[4].next = -7;
  state->symbolTable[5].next = 9999;
  state->symbolTable[6].token = 77;
  state->interpreter.gosubDepth = -3;
  state->interpreter.forDepth = 2000000000;
  state->interpreter.macroDepth = 2000000000;
  SanitizeInterpreterState(*state);
  EXPECT_EQ(state->symbolTable[3].next, -1);
  EXPECT_EQ(state->symbolTable[4].next, -1);
  EXPECT_EQ(state->symbolTable[5].next, 9999);
  EXPECT_EQ(state->symbolTable[6].token, 4097);
  EXPECT_EQ(std::strlen(state->symbolTable[0].name), 63u);
  EXPECT_EQ(std::strlen(state->interpreter.scriptName), 255u);
  EXPECT_EQ(std::strlen(state->messageText), 255u);
  EXPECT_EQ(state->interpreter.gosubDepth, 0);
  EXPECT_EQ(state->interpreter.forDepth, kSymbolCount);
  EXPECT_EQ(state->interpreter.macroDepth, 2000000000);  // failed calls count too: a large count is kept
}

}  // namespace
