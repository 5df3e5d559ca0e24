// A scenario script loaded through the headless harness, with every command of the language, and
// stepped for a few frames as the frame loop steps it, each frame given its time. Each frame must
// hand control back within the interpreter's limits: the run stops between statements once a frame
// has read its share of tokens, and one statement reads no more than the script holds.
//
// The program's clock is one of the fuzzer's own that moves a millisecond with every statement, so
// a frame's time bounds its statements the same way on every run of an input: a script that never
// waits costs a few hundred statements a frame, not the hundred thousand of the statement cap,
// which at the fuzz build's speed (a missing file looked up, a picture decoded) would take seconds.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz_support.h"
#include "game/script/script_executor.h"
#include "game/script/script_lexer.h"
#include "platform/clock.h"
#include "tests/game/fixtures/script_harness.h"

namespace {

constexpr int kFrames = 2;
constexpr uint32_t kFrameMs = 300;

platform::ManualClock& Clock() {
  static platform::ManualClock clock;
  return clock;
}

void Tick(int32_t) { Clock().Advance(1); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Environment();
  static const ScopedCommands commands;
  Clock().ClearSleeps();
  ScriptHarness run;
  SetDispatchObserver(Tick);
  run.Load(fuzz::Text(data, size));
  for (int frame = 0; frame < kFrames && run.Running(); ++frame) {
    const uint64_t before = ScriptLexer.tokensRead;
    StepScript(kFrameMs);
    const uint64_t read = ScriptLexer.tokensRead - before;
    if (read > kMaxTokensPerFrame + size + 1) {
      std::fprintf(stderr, "a frame read %llu tokens\n", static_cast<unsigned long long>(read));
      std::abort();
    }
  }
  ReleaseGameModules();
  return 0;
}
