// The commands of the script buttons.
#include "game/button_commands.h"

#include <array>
#include <string>

#include "game/fixed_text.h"
#include "game/saturate.h"
#include "game/script_args.h"
#include "game/script_buttons.h"
#include "game/script_commands.h"
#include "game/script_eval.h"
#include "game/script_lexer.h"
#include "game/script_tokens.h"
#include "platform/sjis_literal.h"

namespace {

constexpr size_t kButtonFileBytes = 255;
constexpr const char* kMissingFile = "setbutton命令にファイル名の指定がありません"_sj;

// SETBUTTON index, x, y, hidden, highlight picture, normal picture.
ScriptFlow RunSetButton() {
  const int32_t index = SaturateToInt32(ArgNumber());
  ArgNextComma();
  const double x = ArgNumber();
  ArgNextComma();
  const double y = ArgNumber();
  ArgNextComma();
  const int32_t hidden = SaturateToInt32(ArgNumber());
  ArgNextComma();
  std::string first = ArgString(kMissingFile);
  ArgNextComma();
  std::string second = ArgString(kMissingFile);
  first.resize(SjisFitLength(first, kButtonFileBytes));
  second.resize(SjisFitLength(second, kButtonFileBytes));
  ButtonSet(index, static_cast<float>(x), static_cast<float>(y), hidden, first, second);
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
