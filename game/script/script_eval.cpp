#include "game/script/script_eval.h"

#include <cstdio>
#include <cstring>

#include "game/text/fixed_text.h"
#include "game/script/saturate.h"
#include "game/script/script_error.h"
#include "game/script/script_lexer.h"
#include "game/script/script_symbol_table.h"
#include "game/script/script_tokens.h"
#include "platform/sjis_literal.h"

namespace {

ScriptSymbol scratchSymbol = {};
int evalNesting = 0;
// Set when the nesting limit was hit: the levels still open unwind quietly, without reports and
// without consuming tokens.
bool evalAbandoned = false;

int32_t& Token() { return ScriptLexer.token; }

double Store(double value) {
  ScriptLexer.number = value;
  return value;
}

void Report(std::string_view message) {
  if (!evalAbandoned) ScriptError(message);
}

class NestingScope {
 public:
  // The flag lasts until the next outermost expression starts, so that an array reference whose
  // index was abandoned sees it too.
  NestingScope() {
    if (evalNesting++ == 0) evalAbandoned = false;
  }
  ~NestingScope() { --evalNesting; }
  bool TooDeep() const { return evalNesting > kMaxExpressionNesting; }
};

void Abandon() {
  if (evalAbandoned) return;
  ScriptError("文法が違います"_sj);
  evalAbandoned = true;
  while (Token() != kTokenLineFeed && Token() != kTokenEnd) GetToken();
}

// Closing parenthesis: a missing one is reported and the token there is taken in its place.
void ExpectClose() {
  if (evalAbandoned) return;
  if (Token() != ')') Report("')'が足りません"_sj);
  GetToken();
}

}  // namespace

double EvalExpression() {
  NestingScope scope;
  if (scope.TooDeep()) Abandon();
  if (evalAbandoned) return Store(0);
  double value = EvalNot();
  while (!evalAbandoned && (Token() == kTokenAnd || Token() == kTokenOr)) {
    bool isAnd = Token() == kTokenAnd;
    GetToken();
    double right = EvalNot();
    value = isAnd ? (value != 0 && right != 0) : (value != 0 || right != 0);
  }
  return Store(value);
}

double EvalNot() {
  if (Token() == kTokenNot) {
    GetToken();
    return Store(EvalCompare() == 0 ? 1 : 0);
  }
  return Store(EvalCompare());
}

double EvalCompare() {
  double left = EvalSum();
  if (evalAbandoned) return Store(left);
  switch (Token()) {
    case '=': {
      GetToken();
      return Store(left == EvalSum());
    }
    case '>': {
      GetToken();
      if (Token() == '=') {
        GetToken();
        return Store(left >= EvalSum());
      }
      return Store(left > EvalSum());
    }
    case '<': {
      GetToken();
      if (Token() == '=') {
        GetToken();
        return Store(left <= EvalSum());
      }
      if (Token() == '>') {
        GetToken();
        return Store(left != EvalSum());
      }
      return Store(left < EvalSum());
    }
    default:
      return Store(left);
  }
}

double EvalSum() {
  double value = EvalTerm();
  while (!evalAbandoned && (Token() == '+' || Token() == '-')) {
    bool add = Token() == '+';
    GetToken();
    double right = EvalTerm();
    value = add ? value + right : value - right;
  }
  return Store(value);
}

double EvalTerm() {
  double value = EvalUnary();
  while (!evalAbandoned && (Token() == '*' || Token() == '/' || Token() == kTokenMod)) {
    int32_t op = Token();
    GetToken();
    double right = EvalUnary();
    if (op == '*') {
      value *= right;
    } else if (op == '/') {
      if (right == 0.0) Report("0で割ろうとしました"_sj);
      value /= right;
    } else {
      int32_t a = SaturateToInt32(value);
      int32_t b = SaturateToInt32(right);
      if (b == 0) {
        Report("0で割ろうとしました"_sj);
        value = 0;
      } else {
        // The one quotient that overflows (the most negative value by -1) has remainder 0.
        value = b == -1 ? 0 : a % b;
      }
    }
  }
  return Store(value);
}

double EvalUnary() {
  switch (Token()) {
    case kTokenInt:
      GetToken();
      return Store(SaturateToInt32(EvalPrimary()));
    case '+':
      GetToken();
      return Store(EvalPrimary());
    case '-':
      GetToken();
      return Store(-EvalPrimary());
    default:
      return Store(EvalPrimary());
  }
}

double EvalPrimary() {
  if (evalAbandoned) return Store(0);
  switch (Token()) {
    case kTokenIdentifier:
      return Store(GetVariable()->value);
    case kTokenNumber: {
      double value = ScriptLexer.number;
      GetToken();
      return Store(value);
    }
    case '(': {
      GetToken();
      double value = EvalExpression();
      ExpectClose();
      return Store(value);
    }
    default:
      Report("文法が違います"_sj);
      return Store(0);
  }
}

namespace {

// The entry of a complete name, added when missing, with its value in the value register. When no
// entry can be had (the table is full, the name did not fit) a scratch entry that reads 0 stands in,
// so the caller never uses a failed lookup.
ScriptSymbol* Resolve(std::string_view name, bool named) {
  const int32_t index = named ? LookupSymbol(name, true) : -1;
  ScriptSymbol* entry = &scratchSymbol;
  if (index >= 0) {
    entry = &EngineState.symbolTable[index];
  } else {
    scratchSymbol = {};
  }
  ScriptLexer.number = entry->value;
  return entry;
}

}  // namespace

ScriptSymbol* GetVariable() {
  char name[kSymbolNameBytes] = {};
  // The lexer never keeps more than 62 bytes of a name, and keeps them as they are: a name that ends
  // in the lead byte of a cut double-byte character is still the same name.
  const std::string_view read = TokenText().substr(0, kSymbolNameBytes - 1);
  std::memcpy(name, read.data(), read.size());
  GetToken();
  if (Token() != '(') return Resolve(FixedText(name), true);
  // Every part is appended, and every part that does not fit is reported; a name that did not fit
  // whole names no element.
  bool named = AppendNamePart(name, "(");
  do {
    GetToken();
    double index = EvalExpression();
    if (evalAbandoned) return Resolve({}, false);
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", SaturateToInt32(index));
    named = AppendNamePart(name, digits) && named;
    if (Token() != ',') break;
    named = AppendNamePart(name, ",") && named;
  } while (true);
  // The element is looked up with the closing parenthesis still current, so that a report of the
  // lookup shows the reference up to its end; the token after it is read last, and a number there
  // takes the value register over.
  if (Token() != ')') Report("')'が足りません"_sj);
  named = AppendNamePart(name, ")") && named;
  ScriptSymbol* entry = Resolve(FixedText(name), named);
  GetToken();
  return entry;
}
