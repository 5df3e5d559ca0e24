// The commands that put text on screen or read it from the terminal, and the two screen-effect
// switches.
#include "game/commands/text_commands.h"

#include <array>
#include <cstdio>
#include <functional>
#include <string>

#include "game/text/cursor_prompt.h"
#include "game/script/engine_state.h"
#include "game/script/script_commands.h"
#include "game/script/script_error.h"
#include "game/script/script_eval.h"
#include "game/script/script_lexer.h"
#include "game/script/script_tokens.h"
#include "game/text/text_box.h"
#include "platform/console.h"
#include "platform/sjis.h"

namespace {

constexpr size_t kPrintBytes = 4096;

bool EndsStatement(int32_t token) { return token == kTokenEnd || token == kTokenLineFeed || token == ':'; }

// Appends as much of the piece as fits the limit, never half a double-byte character.
void AppendBounded(std::string& text, std::string_view piece) {
  size_t n = 0;
  while (n < piece.size() && text.size() + n < kPrintBytes) {
    const size_t step = platform::IsSjisLead(static_cast<unsigned char>(piece[n])) ? 2 : 1;
    if (n + step > piece.size() || text.size() + n + step > kPrintBytes) break;
    n += step;
  }
  text.append(piece.substr(0, n));
}

// PRINT item {; item} [;]: strings as they are, expressions as "%.12g", joined; a line break
// unless the list ends with ";".
ScriptFlow RunPrint() {
  std::string text;
  bool endsWithSemicolon = false;
  GetToken();
  while (!EndsStatement(ScriptLexer.token)) {
    if (ScriptLexer.token == kTokenString) {
      AppendBounded(text, TokenText());
      GetToken();
    } else {
      char number[64];
      std::snprintf(number, sizeof number, "%.12g", EvalExpression());
      AppendBounded(text, number);
    }
    endsWithSemicolon = ScriptLexer.token == ';';
    if (!endsWithSemicolon) break;
    GetToken();
  }
  if (!endsWithSemicolon) AppendBounded(text, "\n");
  SetTextBoxText(0, text);
  return ScriptFlow::kNext;
}

// An INPUT waiting for its line stands as its own token in place of the statement, as a WAIT does;
// the statement has been read whole and these are what it left.
int32_t inputResumeToken = kTokenEnd;
int32_t inputEntry = -1;  // the variable's entry in the table; -1: it has none, the line is dropped

// Blank lines are passed over as the number conversion passes over white space; a pipe full of them
// is read a share a frame.
constexpr int kLinesPerFrame = 64;

bool IsBlank(std::string_view line) { return line.find_first_not_of(" \t\r\v\f") == std::string_view::npos; }

// Takes the line for the waiting INPUT: false while none has come. At the end of the input, or when
// it cannot be read, the variable stays as it was.
bool TakeInputLine() {
  std::string line;
  platform::ConsoleRead read = platform::ConsoleRead::kPending;
  for (int i = 0; i < kLinesPerFrame; ++i) {
    read = platform::ActiveConsole().ReadLine(line);
    if (read != platform::ConsoleRead::kLine || !IsBlank(line)) break;
    read = platform::ConsoleRead::kPending;
  }
  if (read == platform::ConsoleRead::kPending) return false;
  ScriptLexer.token = inputResumeToken;
  if (read == platform::ConsoleRead::kLine) {
    double value = 0;
    if (std::sscanf(line.c_str(), "%lf", &value) != 1) {
      ScriptError("Number input error");
    } else if (inputEntry >= 0) {
      EngineState.symbolTable[inputEntry].value = value;
    }
  }
  return true;
}

ScriptFlow RunInputWait() { return TakeInputLine() ? ScriptFlow::kNext : ScriptFlow::kYield; }

// INPUT ["prompt";] variable: a number typed on the terminal. The prompt is written once; the game
// goes on drawing frames until the line is there.
ScriptFlow RunInput() {
  GetToken();
  if (ScriptLexer.token == kTokenString) {
    platform::ActiveConsole().Write(TokenText());
    GetToken();
    if (ScriptLexer.token != ';') ScriptError("Missing ';'");
    GetToken();
  }
  // Any other token would name no variable, and looking it up would take a table entry for nothing.
  if (ScriptLexer.token != kTokenIdentifier) {
    ScriptError("missing variable identifier");
    return ScriptFlow::kNext;
  }
  const ScriptSymbol* variable = GetVariable();
  // The stand-in entry of a failed lookup lies outside the table: its line is dropped.
  const ScriptSymbol* first = EngineState.symbolTable;
  const std::less<const ScriptSymbol*> before;
  const bool inTable = !before(variable, first) && before(variable, first + kSymbolCount);
  inputEntry = inTable ? static_cast<int32_t>(variable - first) : -1;
  inputResumeToken = ScriptLexer.token;
  ScriptLexer.token = kTokenInputWait;
  return RunInputWait();
}

ScriptFlow RunSun() {
  SetSunEffect();
  GetToken();
  return ScriptFlow::kNext;
}

ScriptFlow RunFilm() {
  SetFilmEffect();
  GetToken();
  return ScriptFlow::kNext;
}

constexpr std::array kTextCommands = {
    ScriptCommand{kTokenPrint, RunPrint},         ScriptCommand{kTokenInput, RunInput},
    ScriptCommand{kTokenInputWait, RunInputWait}, ScriptCommand{kTokenSun, RunSun},
    ScriptCommand{kTokenFilm, RunFilm},
};

}  // namespace

void RegisterTextCommands() { RegisterCommandTable(kTextCommands); }
