// Script steps: a frame's run of statements, against reading the same text token by token (the part
// of the work every statement pays before it computes anything).
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "game/script/engine_state.h"
#include "game/script/script_executor.h"
#include "game/script/script_lexer.h"
#include "game/script/script_loader.h"
#include "game/script/script_symbol_table.h"
#include "game/script/script_text.h"
#include "game/script/script_tokens.h"

namespace {

const char kLoop[] =
    "LABEL L\r\n"
    "A=A+1*2\r\n"
    "B=A MOD 7: C(B)=C(B)+1\r\n"
    "IF B=0 THEN D=D+1\r\n"
    "FOR I=1 TO 3: E=E+I: NEXT\r\n"
    "GOSUB S\r\n"
    "GOTO L\r\n"
    "LABEL S\r\n"
    "F=NOT F\r\n"
    "RETURN\r\n";

void StartEngine(const std::string& script) {
  std::memset(&EngineState, 0, sizeof EngineState);
  ResetFreeSymbolCursor();
  ResetScriptEngine();
  LoadScriptText("bench.txt", script);
  SetScriptRunning(true);
}

// One frame's full run (the statement budget of a frame that never waits), measured in statements.
void BM_StepScriptFrame(benchmark::State& state) {
  StartEngine(kLoop);
  for (auto _ : state) {
    StepScript();
    benchmark::DoNotOptimize(EngineState.symbolTable[0].value);
  }
  state.SetItemsProcessed(state.iterations() * kMaxDispatchesPerFrame);
}
BENCHMARK(BM_StepScriptFrame)->Unit(benchmark::kMillisecond);

// The same run given a frame's time it never spends: what reading the clock between statements costs
// against the run above.
void BM_StepScriptFrameTimed(benchmark::State& state) {
  StartEngine(kLoop);
  for (auto _ : state) {
    StepScript(60000);
    benchmark::DoNotOptimize(EngineState.symbolTable[0].value);
  }
  state.SetItemsProcessed(state.iterations() * kMaxDispatchesPerFrame);
}
BENCHMARK(BM_StepScriptFrameTimed)->Unit(benchmark::kMillisecond);

// Baseline: the tokens of the same text read over and over, measured in tokens.
void BM_TokenizeOnly(benchmark::State& state) {
  StartEngine(kLoop);
  int64_t tokens = 0;
  for (auto _ : state) {
    SeekScript(0);
    while (ScriptLexer.token != kTokenEnd) {
      GetToken();
      ++tokens;
    }
  }
  state.SetItemsProcessed(tokens);
}
BENCHMARK(BM_TokenizeOnly);

// Loading: copy, line index, label pre-pass and the first snapshot of a script of 20,000 lines.
void BM_LoadScript(benchmark::State& state) {
  std::string script;
  for (int i = 0; i < 20000; ++i) script += "LABEL L" + std::to_string(i) + "\r\nA=A+" + std::to_string(i) + "\r\n";
  for (auto _ : state) StartEngine(script);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(script.size()));
}
BENCHMARK(BM_LoadScript)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
