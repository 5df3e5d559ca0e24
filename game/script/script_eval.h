// The expression evaluator: recursive descent straight over the token stream. Each level is entered
// with its first token current and returns with the token after it current; each leaves its value in
// the lexer's number value as well.
#pragma once

#include "game/script/engine_state.h"

// Nesting of parentheses and array indices that an expression may reach; deeper text is reported
// once and the rest of its line is skipped, so that hostile text cannot exhaust the stack.
constexpr int kMaxExpressionNesting = 200;

double EvalExpression();  // not { (AND | OR) not }
double EvalNot();         // [NOT] compare
double EvalCompare();     // sum [ (= | > | >= | < | <= | <>) sum ]
double EvalSum();         // term { (+ | -) term }
double EvalTerm();        // unary { (* | / | MOD) unary }
double EvalUnary();       // [INT | + | -] primary
double EvalPrimary();     // variable | number | ( expression )

// The entry of the variable or array element whose name is the current token; the token after the
// reference is current on return. Never null: when no entry can be had (the table is full, the name
// too long), a scratch entry that reads 0 takes the value, so the caller never uses a failed lookup.
ScriptSymbol* GetVariable();
