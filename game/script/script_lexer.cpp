#include "game/script/script_lexer.h"

#include <cstring>

#include "game/script/script_error.h"
#include "game/script/script_symbol_table.h"
#include "game/script/script_text.h"
#include "game/script/script_tokens.h"
#include "platform/sjis.h"
#include "platform/sjis_literal.h"

ScriptLexerState ScriptLexer = {};

namespace {

ScriptLexerState& L = ScriptLexer;

bool IsBlank(int8_t c) { return c >= 1 && c <= 0x20 && c != '\n'; }
bool IsLetter(int8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(int8_t c) { return c >= '0' && c <= '9'; }
bool IsLead(int8_t c) { return platform::IsSjisLead(static_cast<unsigned char>(c)); }
// A lead byte only pairs with a byte that can be a trail byte: a lead byte before a line feed or
// the end of the text stands alone and never swallows them.
bool IsTrail(int8_t c) {
  auto u = static_cast<unsigned char>(c);
  return (u >= 0x40 && u <= 0x7E) || (u >= 0x80 && u <= 0xFC);
}
bool StartsPair() { return IsLead(L.current) && IsTrail(L.next); }

void Advance() {
  L.current = L.next;
  if (L.readPos <= ScriptText.size()) ++L.readPos;
  L.next = static_cast<int8_t>(ScriptText.At(L.readPos));
}

// Set once a character of the token did not fit: the token text is a prefix of what was read.
bool tokenTextFull = false;

// Appends bytes to the token text unless they would pass the limit; returns false when they are
// dropped.
bool AppendText(const char* bytes, uint32_t width, uint32_t limit) {
  tokenTextFull = tokenTextFull || L.textLength + width > limit;
  if (tokenTextFull) return false;
  std::memcpy(L.text + L.textLength, bytes, width);
  L.textLength += width;
  L.text[L.textLength] = '\0';
  return true;
}

// Appends the current character (both bytes of a double-byte one) and advances past it. Text past
// the limit is read and dropped; returns false when something was dropped.
bool TakeCharacter(uint32_t limit) {
  char bytes[2] = {static_cast<char>(L.current), static_cast<char>(L.next)};
  uint32_t width = StartsPair() ? 2 : 1;
  for (uint32_t i = 0; i < width; ++i) Advance();
  return AppendText(bytes, width, limit);
}

// A name keeps its first 62 bytes whatever they are: when the 62nd is the lead byte of a double-byte
// character, the lead byte is kept and its trail byte dropped, so that names which differ from the
// 62nd byte on stay apart.
void TakeNameBytes() {
  const uint32_t width = StartsPair() ? 2 : 1;
  for (uint32_t i = 0; i < width; ++i) {
    const char byte = static_cast<char>(L.current);
    Advance();
    AppendText(&byte, 1, kIdentifierBytes);
  }
}

void ReadIdentifier() {
  for (;;) {
    if (StartsPair()) {
      TakeNameBytes();
    } else if (IsLetter(L.current) || IsDigit(L.current) || L.current == '_' || L.current == '@') {
      if (L.current >= 'a' && L.current <= 'z') L.current = static_cast<int8_t>(L.current - 'a' + 'A');
      TakeNameBytes();
    } else {
      break;
    }
  }
  int32_t entry = LookupSymbol(TokenText(), true);
  L.token = entry >= 0 ? EngineState.symbolTable[entry].token : kTokenIdentifier;
}

void ReadNumber() {
  bool negative = L.current == '-';
  if (negative) Advance();
  L.token = kTokenNumber;
  double value = 0;
  while (IsDigit(L.current)) {
    value = value * 10 + (L.current - '0');
    Advance();
  }
  if (L.current == '.') {
    Advance();
    double divisor = 10;
    while (IsDigit(L.current)) {
      value += (L.current - '0') / divisor;
      divisor *= 10;
      Advance();
    }
  }
  L.number = negative ? -value : value;
}

void ReadString() {
  L.token = kTokenString;
  Advance();
  bool reported = false;
  while (L.current != '"') {
    if (L.current == '\n' || L.current == '\0') {
      ScriptError("'\"'がありません"_sj);
      break;
    }
    if (!TakeCharacter(kTokenTextBytes) && !reported) {
      ScriptError("文字列が長すぎます"_sj);
      reported = true;
    }
  }
  Advance();
}

// A message runs over the following lines up to the next empty line; its lines are joined with
// single line feeds. It ends with the line feed of the empty line current, or at the end of the text.
void ReadMessage() {
  L.token = kTokenMessage;
  bool reported = false;
  auto take = [&](bool ok) {
    if (!ok && !reported) {
      ScriptError("文字列が長すぎます"_sj);
      reported = true;
    }
  };
  for (;;) {
    while (L.current != '\r' && L.current != '\n' && L.current != '\0') take(TakeCharacter(kTokenTextBytes));
    take(AppendText("\n", 1, kTokenTextBytes));
    // Over the line end. A bare line feed counts as a line end too, so that the first byte of the
    // next line is never eaten.
    if (L.current == '\r') Advance();
    if (L.current == '\n') Advance();
    if (L.current == '\0' || L.current == '\n') break;
    if (L.current == '\r' && L.next == '\n') {
      Advance();
      break;
    }
  }
  if (L.textLength > 0 && L.text[L.textLength - 1] == '\n') L.text[--L.textLength] = '\0';
}

}  // namespace

int32_t GetToken() {
  L.textLength = 0;
  L.text[0] = '\0';
  tokenTextFull = false;
  ++L.tokensRead;
  while (IsBlank(L.current)) Advance();
  if (L.current == '#') {
    while (L.current != '\n' && L.current != '\0') Advance();
  }
  L.tokenStart = L.readPos - 1;
  int8_t c = L.current;
  if (IsLetter(c) || c == '_') {
    ReadIdentifier();
  } else if (c == '@') {
    L.token = kTokenMacroCall;
    Advance();
  } else if (IsDigit(c) || c == '-') {
    ReadNumber();
  } else if (c == '"') {
    ReadString();
  } else if (IsLead(c) || c == '<') {
    ReadMessage();
  } else if (c == '\0') {
    L.token = kTokenEnd;
  } else {
    L.token = c;
    Advance();
  }
  return L.token;
}

void SeekScript(uint32_t position) {
  if (position > ScriptText.size()) position = ScriptText.size();
  L.current = static_cast<int8_t>(ScriptText.At(position));
  L.readPos = position + 1;
  L.next = static_cast<int8_t>(ScriptText.At(L.readPos));
  GetToken();
}

void ResetScriptLexer() { std::memset(&ScriptLexer, 0, sizeof ScriptLexer); }
