// The commands of the script buttons.
#include "game/commands/button_commands.h"

#include <array>
#include <string>

#include "game/text/fixed_text.h"
#include "game/script/saturate.h"
#include "game/script/script_args.h"
#include "game/system/script_buttons.h"
#include "game/script/script_commands.h"
#include "game/script/script_error.h"
#include "game/script/script_eval.h"
#include "game/script/script_lexer.h"
#include "game/script/script_tokens.h"
#include "platform/sjis_literal.h"

namespace {

constexpr size_t kButtonFileBytes = 255;
constexpr const char* kMissingFile = "setbutton命令にファイル名の指定がありません"_sj;

// SETBUTTON index, x, y, hidden, highlight picture, normal picture: the first picture shows under
// the cursor and its size is what a click hits; the second is the button at rest.
ScriptFlow RunSetButton() {
  const int32_t index = SaturateToInt32(ArgNumber());
  ArgNextComma();
  const double x = ArgNumber();
  ArgNextComma();
  const double y = ArgNumber();
  ArgNextComma();
  const int32_t hidden = SaturateToInt32(ArgNumber());
  ArgNextComma();
  std::string highlight = ArgString(kMissingFile);
  ArgNextComma();
  std::string normal = ArgString(kMissingFile);
  highlight.resize(SjisFitLength(highlight, kButtonFileBytes));
  normal.resize(SjisFitLength(normal, kButtonFileBytes));
  ButtonSet(index, static_cast<float>(x), static_cast<float>(y), hidden, highlight, normal);
  GetToken();
  return ScriptFlow::kNext;
}

ScriptFlow RunGetButton() {
  SetClickedButton(-1);
  ScriptLexer.token = kTokenGetButton2;
  return ScriptFlow::kNext;
}

ScriptFlow RunGetButton2() {
  const int32_t clicked = GetClickedButton();
  if (clicked == -1) return ScriptFlow::kYield;
  GetToken();
  // Any other token would name no variable, and looking it up would take a table entry for nothing.
  if (ScriptLexer.token != kTokenIdentifier) {
    ScriptError("missing variable identifier");
    return ScriptFlow::kNext;
  }
  GetVariable()->value = clicked;
  GetToken();
  return ScriptFlow::kNext;
}

ScriptFlow RunClearButton() {
  double index = 0;
  if (ArgOptionalNumber(&index)) {
    ClearButton(SaturateToInt32(index));
    GetToken();
  } else {
    for (int32_t i = 0; i < kScriptButtonCount; ++i) ClearButton(i);
  }
  return ScriptFlow::kNext;
}

constexpr std::array kButtonCommands = {
    ScriptCommand{kTokenSetButton, RunSetButton},
    ScriptCommand{kTokenGetButton, RunGetButton},
    ScriptCommand{kTokenGetButton2, RunGetButton2},
    ScriptCommand{kTokenClearButton, RunClearButton},
};

}  // namespace

void RegisterButtonCommands() { RegisterCommandTable(kButtonCommands); }
