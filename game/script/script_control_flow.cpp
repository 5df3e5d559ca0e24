#include "game/script/script_control_flow.h"

#include <cstdio>
#include <limits>
#include <string>
#include <string_view>

#include "game/script/engine_state.h"
#include "game/text/fixed_text.h"
#include "game/script/saturate.h"
#include "game/script/script_error.h"
#include "game/script/script_eval.h"
#include "game/script/script_lexer.h"
#include "game/script/script_text.h"
#include "game/script/script_tokens.h"
#include "platform/sjis_literal.h"

namespace {

int32_t& Token() { return ScriptLexer.token; }
InterpreterState& Interp() { return EngineState.interpreter; }

// The frame entry of a call or loop at a depth: "GS:3", "FS:1", "MS:2".
ScriptSymbol* Frame(const char* kind, int32_t depth, SymbolMode mode) {
  char name[kSymbolNameBytes];
  std::snprintf(name, sizeof name, "%s:%d", kind, depth);
  return DefineSymbol(name, mode);
}

// The label or macro entry named by the current token's text.
ScriptSymbol* EntryPoint(SymbolMode mode) {
  char name[kSymbolNameBytes] = {};
  if (!AppendNamePart(name, TokenText()) || !AppendNamePart(name, ":")) return nullptr;
  return DefineSymbol(FixedText(name), mode);
}

// The line after the one the last token was read on, as labels and return points keep it.
double FollowingLine() { return LineOfPosition(ScriptLexer.readPos - 1) + 2; }

void JumpToLine(double line) { SeekScript(PositionOfLine(SaturateToInt32(line))); }

// Text positions are kept as offsets from the start of the script; one read from a save may lie
// anywhere and is clamped to the text.
uint32_t StoredPosition(double value) {
  if (!(value > 0)) return 0;
  if (value >= ScriptText.size()) return ScriptText.size();
  return static_cast<uint32_t>(value);
}

bool IsTrue(double value) { return value != 0.0; }

// END, QUIT and a failed jump end the run they stand in. Inside the statements of a true IF that is
// the nested run of that IF only: the run around it goes on in this frame with the token then
// current. At the top they end the frame's run.
ScriptFlow EndRun() { return CloseThenLevel() ? ScriptFlow::kNext : ScriptFlow::kYield; }

// GOSUB and "@": opens the frame of the next depth with the line after the call, then jumps to the
// label named by the next token. The depth is counted before anything can fail and stays counted: a
// call whose label is missing leaves its frame open, and a RETURN there goes back after it.
ScriptFlow Call(int32_t& depth, const char* kind, std::string_view missingName) {
  // Calls that fail again and again could count the depth past its range.
  if (depth < std::numeric_limits<int32_t>::max()) ++depth;
  ScriptSymbol* frame = Frame(kind, depth, kSymbolFindOrAdd);
  GetToken();
  if (frame) frame->value = FollowingLine();
  if (Token() != kTokenIdentifier) ScriptError(missingName);
  ScriptSymbol* label = EntryPoint(kSymbolFind);
  // No label to go to, or no frame to keep the way back in (the table is full): the call is not made.
  if (!frame || !label) return EndRun();
  JumpToLine(label->value);
  return ScriptFlow::kNext;
}

// RETURN and ENDMACRO: back to the line after the call of the current depth. Without an open call
// the statement is reported and passed over.
ScriptFlow ReturnFromCall(int32_t& depth, const char* kind, std::string_view noCall) {
  if (depth < 1) {
    ScriptError(noCall);
    GetToken();
    return ScriptFlow::kNext;
  }
  ScriptSymbol* frame = Frame(kind, depth, kSymbolFind);
  --depth;
  if (!frame) {
    GetToken();
    return ScriptFlow::kNext;
  }
  JumpToLine(frame->value);
  return ScriptFlow::kNext;
}

}  // namespace

ScriptFlow RunAssignment() {
  ScriptSymbol* variable = GetVariable();
  // Whatever token stands in place of "=" is taken as one.
  if (Token() != '=') ScriptError("'='がありません"_sj);
  GetToken();
  variable->value = EvalExpression();
  return ScriptFlow::kNext;
}

ScriptFlow RunIf() {
  GetToken();
  double condition = EvalExpression();
  if (Token() != kTokenThen) ScriptError("Missing 'THEN'");
  GetToken();
  if (IsTrue(condition)) {
    OpenThenLevel();
    return ScriptFlow::kNext;
  }
  while (Token() != kTokenLineFeed && Token() != kTokenEnd) GetToken();
  return ScriptFlow::kNext;
}

ScriptFlow RunGoto() {
  GetToken();
  if (Token() != kTokenIdentifier) ScriptError("Missing label idenrifier");
  ScriptSymbol* label = EntryPoint(kSymbolFind);
  if (!label) return EndRun();
  JumpToLine(label->value);
  return ScriptFlow::kNext;
}

ScriptFlow RunGosub() { return Call(Interp().gosubDepth, "GS", "ラベルが見つかりません"_sj); }

ScriptFlow RunReturn() { return ReturnFromCall(Interp().gosubDepth, "GS", "GOSUBが無いのにリターンしました"_sj); }

ScriptFlow RunLabel() {
  GetToken();
  GetToken();
  return ScriptFlow::kNext;
}

ScriptFlow RunMacroDefinition() {
  do {
    GetToken();
  } while (Token() != kTokenEndMacro && Token() != kTokenEnd);
  if (Token() == kTokenEnd) ScriptError("MACROに対応するENDMACROが存在しません"_sj);
  GetToken();
  return ScriptFlow::kNext;
}

ScriptFlow RunMacroCall() { return Call(Interp().macroDepth, "MS", "Missing macro idenrifier"); }

ScriptFlow RunEndMacro() {
  return ReturnFromCall(Interp().macroDepth, "MS", "'MACRO'命令が無いのに、'ENDMACRO'だけがあります"_sj);
}

ScriptFlow RunFor() {
  int32_t& depth = Interp().forDepth;
  ++depth;
  ScriptSymbol* frame = Frame("FS", depth, kSymbolFindOrAdd);
  if (frame) {
    frame->value = ScriptLexer.readPos - 1;
  } else {
    --depth;  // no loop can be kept; its body runs once
  }
  GetToken();
  if (Token() != kTokenIdentifier) ScriptError("Missing variable identifier");
  ScriptSymbol* variable = GetVariable();
  if (Token() != '=') ScriptError("'='がありません"_sj);
  GetToken();
  variable->value = EvalExpression();
  if (Token() != kTokenTo) ScriptError("Missing 'TO'");
  GetToken();
  EvalExpression();
  if (Token() == kTokenStep) {
    GetToken();
    EvalExpression();
  }
  return ScriptFlow::kNext;
}

namespace {

// Goes back to the NEXT statement and passes it: the token after it is current.
void LeaveNext(uint32_t nextPosition) {
  SeekScript(nextPosition);
  if (Token() == kTokenIdentifier) GetVariable();
}

}  // namespace

ScriptFlow RunNext() {
  const uint32_t nextPosition = ScriptLexer.readPos - 1;
  GetToken();
  std::string named;
  bool hasName = false;
  if (Token() == kTokenIdentifier) {
    named = TokenText();
    hasName = true;
    GetVariable();
  }
  int32_t& depth = Interp().forDepth;
  if (depth < 1) {
    ScriptError("FORが無いのにNEXTがあります"_sj);
    return ScriptFlow::kNext;
  }
  ScriptSymbol* frame = Frame("FS", depth, kSymbolFind);
  if (!frame) {
    --depth;
    return ScriptFlow::kNext;
  }
  SeekScript(StoredPosition(frame->value));
  if (Token() != kTokenIdentifier) {
    // The loop's position no longer holds a FOR statement (a save from another script).
    ScriptError("Missing variable identifier");
    --depth;
    LeaveNext(nextPosition);
    return ScriptFlow::kNext;
  }
  const std::string loopName(TokenText());
  ScriptSymbol* variable = GetVariable();
  if (hasName && named != loopName) {
    SeekScript(nextPosition);
    ScriptError("Mismatch variable");
    if (Token() == kTokenIdentifier) GetVariable();
    return ScriptFlow::kNext;
  }
  GetToken();
  double start = EvalExpression();
  GetToken();
  double limit = EvalExpression();
  double step = 1;
  if (Token() == kTokenStep) {
    GetToken();
    step = EvalExpression();
  }
  variable->value += step;
  // The direction comes from the bounds, not from the step.
  bool goOn = start <= limit ? variable->value <= limit : variable->value >= limit;
  if (goOn) return ScriptFlow::kNext;
  LeaveNext(nextPosition);
  --depth;
  return ScriptFlow::kNext;
}

ScriptFlow RunEnd() {
  Token() = kTokenEnd;
  return EndRun();
}

// QUIT stays current: the run around a nested one meets it again, so every open level ends with it.
ScriptFlow RunQuit() {
  if (const ScriptHost& host = GetScriptHost(); host.requestQuit) host.requestQuit();
  return EndRun();
}

void ScanLabels(SymbolMode mode) {
  while (Token() != kTokenEnd) {
    std::string_view text = TokenText();
    bool isLabel = text == "LABEL";
    if (isLabel || text == "MACRO") {
      GetToken();
      if (Token() != kTokenIdentifier) {
        ScriptError(isLabel ? "Missing label identifier" : "Missing macro identifier");
      } else if (ScriptSymbol* entry = EntryPoint(mode)) {
        entry->value = FollowingLine();
      }
    }
    GetToken();
  }
}
