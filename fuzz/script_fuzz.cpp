// A scenario script loaded through the headless harness, with every command of the language, and
// stepped for a few frames as the frame loop steps it. Each frame must hand control back within the interpreter's
// limits: the run stops between statements once a frame has read its share of tokens, and one statement reads no more
// than the script holds.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz_support.h"
#include "game/script/script_executor.h"
#include "tests/game/fixtures/script_harness.h"
#include "game/script/script_lexer.h"

namespace {

constexpr int kFrames = 2;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Environment();
  static const ScopedCommands commands;
  ScriptHarness run;
  run.Load(fuzz::Text(data, size));
  for (int frame = 0; frame < kFrames && run.Running(); ++frame) {
    const uint64_t before = ScriptLexer.tokensRead;
    run.Step();
    const uint64_t read = ScriptLexer.tokensRead - before;
    if (read > kMaxTokensPerFrame + size + 1) {
      std::fprintf(stderr, "a frame read %llu tokens\n", static_cast<unsigned long long>(read));
      std::abort();
    }
  }
  ReleaseGameModules();
  return 0;
}
