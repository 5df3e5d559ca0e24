#include "game/script/script_args.h"

#include "game/script/saturate.h"
#include "game/script/script_error.h"
#include "game/script/script_eval.h"
#include "game/script/script_lexer.h"
#include "game/script/script_tokens.h"
#include "platform/sjis_literal.h"

double ArgExpression() {
  GetToken();
  return EvalExpression();
}

int32_t ArgInteger() { return SaturateToInt32(ArgExpression()); }

double ArgNumber() {
  GetToken();
  return ScriptLexer.number;
}

void ArgComma() {
  if (ScriptLexer.token != ',') ScriptError("','がありません"_sj);
}

void ArgNextComma() {
  GetToken();
  ArgComma();
}

std::string ArgString(std::string_view missingMessage, bool* isString) {
  GetToken();
  const bool ok = ScriptLexer.token == kTokenString;
  if (!ok) ScriptError(missingMessage);
  if (isString) *isString = ok;
  return std::string(TokenText());
}

std::string ArgTokenText() {
  GetToken();
  return std::string(TokenText());
}

bool ArgOptionalNumber(double* value) {
  GetToken();
  if (ScriptLexer.token != kTokenNumber) return false;
  *value = ScriptLexer.number;
  return true;
}
