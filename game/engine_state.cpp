#include "game/engine_state.h"

#include <algorithm>

#include "game/script_tokens.h"

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
  // Each open call or loop holds a table entry, so no depth can exceed the table.
  interp.gosubDepth = std::clamp(interp.gosubDepth, 0, kSymbolCount);
  interp.forDepth = std::clamp(interp.forDepth, 0, kSymbolCount);
  interp.macroDepth = std::clamp(interp.macroDepth, 0, kSymbolCount);
  interp.scriptName[kScriptNameBytes - 1] = '\0';
}
