#include "game/script/script_error.h"

#include <string>

#include "game/script/engine_state.h"
#include "game/text/fixed_text.h"
#include "game/script/message_log.h"
#include "game/script/script_lexer.h"
#include "game/script/script_text.h"
#include "platform/sjis_literal.h"

void ScriptError(std::string_view message) {
  const uint32_t p = ScriptLexer.readPos;  // the current character is the byte before it
  const int32_t line = LineOfPosition(p);
  // The line text ends before the current character; when that character starts a line, the line
  // before it is shown whole, up to its line feed. Either way a CR before the line feed stays: an
  // unclosed string reports with its line feed current.
  uint32_t end = p > 0 ? p - 1 : 0;
  if (p >= 2 && ScriptText.At(p - 2) == '\n') end = p - 2;
  // Within the first bytes the report is line 1, shown from the start of the text.
  const uint32_t begin = p <= 4 ? 0 : ScriptText.LineStart(end);

  std::string report = "ERROR : ";
  report += FixedText(EngineState.interpreter.scriptName);
  report += "(" + std::to_string(line) + "行目)["_sj;
  report += message;
  report += "]-->";
  report += ScriptText.View(begin, end);
  report += ".\n";
  // The message log cuts a line that does not fit its 1,023 bytes; that is the only cut.
  DebugPrintText(report);
  EngineState.interpreter.runThrough = 0;
}
