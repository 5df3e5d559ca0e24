#include "game/script/engine_state.h"

#include <algorithm>

#include "game/script/script_tokens.h"

EngineStateRecord EngineState = {};
EngineStateRecord EngineStateSnapshot = {};

void SanitizeInterpreterState(EngineStateRecord& state) {
  state.messageText[kMessageTextBytes - 1] = '\0';
  for (ScriptSymbol& entry : state.symbolTable) {
    entry.name[kSymbolNameBytes - 1] = '\0';
    if (entry.token < kFirstStatementToken || entry.token > kLastStatementToken) entry.token = kTokenIdentifier;
    if (entry.next < -1 || entry.next >= kSymbolCount) entry.next = -1;
  }
  InterpreterState& interp = state.interpreter;
  // Each open loop holds a table entry, so its depth cannot exceed the table. Calls are counted even
  // when they fail, so their depths may; any depth is safe to use, only a negative one is not a count.
  interp.gosubDepth = std::max(interp.gosubDepth, 0);
  interp.forDepth = std::clamp(interp.forDepth, 0, kSymbolCount);
  interp.macroDepth = std::max(interp.macroDepth, 0);
  interp.scriptName[kScriptNameBytes - 1] = '\0';
}
