#include "game/script_error.h"

#include <string>

#include "game/engine_state.h"
#include "game/fixed_text.h"
#include "game/message_log.h"
#include "game/script_lexer.h"
#include "game/script_text.h"
#include "platform/sjis_literal.h"

void ScriptError(std::string_view message) {
  uint32_t p = ScriptLexer.readPos;
  int32_t line = LineOfPosition(p);
  // The line text ends before the current character; when that character starts a line, the line
  // before it is reported whole.
  uint32_t end = p > 0 ? p - 1 : 0;
  if (p >= 2 && ScriptText.At(p - 2) == '\n') end = p - 2;
  uint32_t begin = ScriptText.LineStart(end);
  if (p <= 4) {
    // Within the first bytes the report is line 1, shown from the start of the text.
    begin = 0;
    for (uint32_t i = 0; i < end; ++i) {
      if (ScriptText.At(i) == '\n') {
        end = i;
        break;
      }
    }
  }
  std::string_view text = ScriptText.View(begin, end);
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);

  std::string report = "ERROR : ";
  report += FixedText(EngineState.interpreter.scriptName);
  report += "(" + std::to_string(line) + "行目)["_sj;
  report += message;
  report += "]-->";
  // Keep the closing ".\n" inside the log's line length by cutting the line text, on a character
  // boundary, rather than letting the log cut the end off.
  constexpr size_t kTail = 2;
  size_t room = kMessageLogLineBytes - 1 > report.size() + kTail ? kMessageLogLineBytes - 1 - report.size() - kTail : 0;
  report += text.substr(0, SjisFitLength(text, room));
  report += ".\n";
  DebugPrintText(report);
  EngineState.interpreter.runThrough = 0;
}
