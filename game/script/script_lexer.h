// The script tokenizer: every interpreter module pulls tokens from the one shared lexer state.
#pragma once

#include <cstdint>
#include <string_view>

constexpr int kTokenTextBytes = 2048;
constexpr int kIdentifierBytes = 62;

struct ScriptLexerState {
  int8_t current;                  // the byte under examination
  uint32_t readPos;                // the offset of the byte after the current one (never past the end + 1)
  int8_t next;                     // the byte at the read position
  int32_t token;                   // the id of the token just read
  char text[kTokenTextBytes + 4];  // identifier, string or message text, zero-terminated
  uint32_t textLength;
  double number;        // a number token's value; the evaluator also leaves every result here
  uint64_t tokensRead;  // every token read so far: the measure of a frame's work
  uint32_t tokenStart;  // the offset of the current token's first byte
};

extern ScriptLexerState ScriptLexer;

// Reads the next token and returns its id.
int32_t GetToken();

// Moves the read position to an offset of the script text (clamped to its end) and reads the token
// there. Every jump goes through it.
void SeekScript(uint32_t position);

// Back to the state before any script: no text examined, token 0.
void ResetScriptLexer();

inline std::string_view TokenText() { return {ScriptLexer.text, ScriptLexer.textLength}; }
