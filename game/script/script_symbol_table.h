// The symbol table: keywords, variables, array elements, labels and call frames in one hashed table
// of fixed entries inside the engine state, with coalesced chaining.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "game/script/engine_state.h"

enum SymbolMode : int {
  kSymbolFind = 0,       // a missing name is reported
  kSymbolFindOrAdd = 1,
  kSymbolAdd = 2,        // a name that exists is reported and its entry returned
};

// Home index 0..9,999 of a name.
int32_t HashName(std::string_view name);

// Index of the named entry, or -1. With add, a missing name takes its home entry when free, else the
// free entry under the free-entry cursor, linked from the end of the chain; -1 when no entry is left
// (reported). Never reports a missing name.
int32_t LookupSymbol(std::string_view name, bool add);

// The entry of a name by mode, or null (after the report).
ScriptSymbol* DefineSymbol(std::string_view name, SymbolMode mode);

// The entry of a name, or null; nothing is added or reported.
ScriptSymbol* FindSymbol(std::string_view name);

// Appends part to a name. When the two would reach 64 bytes, both go to the message log, the
// error is reported and the name is left as it was; returns false then.
bool AppendNamePart(std::span<char, kSymbolNameBytes> name, std::string_view part);

// Clears the table and enters the keywords.
void RegisterKeywords();

// The free-entry cursor only moves down during a run; this puts it back to its start-of-program place.
void ResetFreeSymbolCursor();
int32_t FreeSymbolCursor();
