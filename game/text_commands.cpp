// The commands that put text on screen, and the two screen-effect switches.
#include "game/text_commands.h"

#include <array>
#include <cstdio>
#include <string>

#include "game/cursor_prompt.h"
#include "game/script_commands.h"
#include "game/script_eval.h"
#include "game/script_lexer.h"
#include "game/script_tokens.h"
#include "game/text_box.h"
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
    ScriptCommand{kTokenPrint, RunPrint},
    ScriptCommand{kTokenSun, RunSun},
    ScriptCommand{kTokenFilm, RunFilm},
};

}  // namespace

void RegisterTextCommands() { RegisterCommandTable(kTextCommands); }
