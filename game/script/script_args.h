// Reading the arguments of a script command from the token stream. A handler is entered with its
// keyword current; each reader says which token is current when it returns.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// E: an expression starting at the next token; the token that ended it is current.
double ArgExpression();
// E used as an integer: truncated toward zero, saturated at the 32-bit limits, NaN as 0.
int32_t ArgInteger();
// N: the next token's number value, whatever kind the token is; that token is current.
double ArgNumber();
// The current token must be ","; otherwise "','がありません" is reported and reading goes on.
void ArgComma();
// The separator after N, S or T: the next token is read and must be ",".
void ArgNextComma();
// S: the next token must be a string; otherwise the message is reported. The token's text is
// returned either way (the command goes on with it); that token is current.
std::string ArgString(std::string_view missingMessage, bool* isString = nullptr);
// T: the next token's text; that token is current.
std::string ArgTokenText();
// [N]: reads the next token; true with its value when it is a number literal. The token read is
// current either way.
bool ArgOptionalNumber(double* value);
