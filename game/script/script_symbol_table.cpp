#include "game/script/script_symbol_table.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "game/text/fixed_text.h"
#include "game/script/message_log.h"
#include "game/script/script_error.h"
#include "game/script/script_tokens.h"
#include "platform/sjis_literal.h"

namespace {

int32_t freeSymbolCursor = kSymbolCount - 1;

ScriptSymbol* Table() { return EngineState.symbolTable; }

bool NameIs(const ScriptSymbol& entry, std::string_view name) {
  return name.size() < kSymbolNameBytes && std::memcmp(entry.name, name.data(), name.size()) == 0 &&
         entry.name[name.size()] == '\0';
}

bool IsFree(const ScriptSymbol& entry) { return entry.name[0] == '\0'; }

// Names reach here shorter than the field and are stored byte for byte, so that the stored name
// compares equal to the one looked up even when it ends in a lone lead byte.
void Claim(ScriptSymbol& entry, std::string_view name) {
  std::memset(entry.name, 0, sizeof entry.name);
  if (!name.empty()) std::memcpy(entry.name, name.data(), std::min(name.size(), sizeof entry.name - 1));
  entry.value = 0;
  entry.token = kTokenIdentifier;
  entry.next = -1;
}

}  // namespace

int32_t HashName(std::string_view name) {
  uint32_t h = 0;
  for (size_t i = name.size(); i-- > 0;) h = h * 137u + static_cast<uint32_t>(static_cast<int8_t>(name[i]));
  auto sum = static_cast<int32_t>(h);
  // The magnitude of the most negative sum does not fit 32 bits signed; taken unsigned it does.
  uint32_t magnitude = sum < 0 ? 0u - h : h;
  return static_cast<int32_t>(magnitude % kSymbolCount);
}

int32_t LookupSymbol(std::string_view name, bool add) {
  if (name.empty() || name.size() >= kSymbolNameBytes) return -1;
  ScriptSymbol* table = Table();
  const int32_t home = HashName(name);
  int32_t last = -1;
  // Links come from saves as well: a link that names no entry ends the chain, and the walk stops
  // after as many steps as the table has entries, so a loop in the links cannot hang it.
  int32_t i = home;
  for (int steps = 0; i >= 0 && i < kSymbolCount && steps < kSymbolCount; ++steps) {
    if (NameIs(table[i], name)) return i;
    last = i;
    i = table[i].next;
  }
  if (!add) return -1;
  if (IsFree(table[home])) {
    Claim(table[home], name);
    return home;
  }
  while (freeSymbolCursor >= 0 && !IsFree(table[freeSymbolCursor])) --freeSymbolCursor;
  if (freeSymbolCursor < 0) {
    ScriptError("変数領域がオーバーフローしました"_sj);
    return -1;
  }
  table[last].next = freeSymbolCursor;
  Claim(table[freeSymbolCursor], name);
  return freeSymbolCursor;
}

ScriptSymbol* DefineSymbol(std::string_view name, SymbolMode mode) {
  int32_t index = LookupSymbol(name, false);
  if (mode == kSymbolFind && index < 0) {
    char shown[kSymbolNameBytes];
    CopyFixedText(shown, name);
    ScriptError(std::string(FixedText(shown)) + "という、ラベル、もしくは変数が見つかりません"_sj);
    return nullptr;
  }
  if (mode == kSymbolAdd && index >= 0) ScriptError("そのラベルは既に定義されています"_sj);
  if (index < 0) index = LookupSymbol(name, true);
  return index >= 0 ? &Table()[index] : nullptr;
}

ScriptSymbol* FindSymbol(std::string_view name) {
  int32_t index = LookupSymbol(name, false);
  return index >= 0 ? &Table()[index] : nullptr;
}

bool AppendNamePart(std::span<char, kSymbolNameBytes> name, std::string_view part) {
  std::string_view current = FixedText(name);
  if (current.size() + part.size() >= kSymbolNameBytes) {
    DebugPrintText(std::string(current) + std::string(part) + "\n");
    ScriptError("名前が長すぎます"_sj);
    return false;
  }
  if (!part.empty()) std::memcpy(name.data() + current.size(), part.data(), part.size());
  name[current.size() + part.size()] = '\0';
  return true;
}

void RegisterKeywords() {
  for (int i = 0; i < kSymbolCount; ++i) Claim(Table()[i], {});
  for (const ScriptKeyword& keyword : ScriptKeywords()) {
    if (ScriptSymbol* entry = DefineSymbol(keyword.name, kSymbolAdd)) entry->token = keyword.token;
  }
}

void ResetFreeSymbolCursor() { freeSymbolCursor = kSymbolCount - 1; }
int32_t FreeSymbolCursor() { return freeSymbolCursor; }
