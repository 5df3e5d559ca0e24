#include "editor/foundation/document/regex_highlighter.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string_view>

#include "editor/foundation/text/sjis_char.h"

namespace {

struct Delimiters {
  std::string_view opening;
  std::string_view closing;
};

// Tried in this order.
constexpr Delimiters kForms[] = {
    {"/", "/k"}, {"m/", "/k"}, {"m#", "#k"}, {"/", "/ki"}, {"m/", "/ki"}, {"m#", "#ki"},
};

constexpr int kFirstKeywordColor = 29;  // "RK1"
constexpr int kLastKeywordColor = 38;   // "RKA"
constexpr int kPatternBytes = sizeof(RegexKeywordRecord::szPattern);

const char kEmptyTarget[1] = {0};

bool StartsLineOnly(std::string_view pattern) {
  return pattern.starts_with("/^") || pattern.starts_with("m#^") || pattern.starts_with("m/^");
}

}  // namespace

CRegexHighlighter::CRegexHighlighter() {
  Load(nullptr);
  ResetPatterns();
}

CRegexHighlighter::~CRegexHighlighter() { ResetPatterns(); }

void CRegexHighlighter::ReleasePatterns() {
  const BRegfreeFunc release = FreeEntry();
  for (Slot& slot : m_slots) {
    if (slot.compiled && release) release(slot.compiled);
    slot.compiled = nullptr;
  }
}

int CRegexHighlighter::ResetPatterns() {
  // A compiled record dropped without its release would be lost for good.
  ReleasePatterns();
  m_nTypeIndex = -1;
  m_bEnabled = 0;
  m_pTypeSettings = nullptr;
  m_nCompiledCounter = 0;
  m_nPatternCount = 0;
  m_nQuietBefore = 0;
  return 1;
}

int CRegexHighlighter::IsPatternWellFormed(const char* pattern) {
  if (!pattern) return 0;
  const std::string_view text(pattern);
  for (const Delimiters& form : kForms) {
    if (text.size() > form.opening.size() + form.closing.size() && text.starts_with(form.opening) &&
        text.ends_with(form.closing)) {
      return 1;
    }
  }
  return 0;
}

int CRegexHighlighter::BindType(const TypeSettings* type) {
  if (!type) {
    m_pTypeSettings = nullptr;
    m_bEnabled = 0;
    return 0;
  }
  if (!type->bUseRegexKeyword) {
    if (!m_bEnabled) return 0;
    m_pTypeSettings = nullptr;
    m_bEnabled = 0;
    return 0;
  }
  if (type != m_pTypeSettings || m_nCompiledCounter != type->nChangeCounter) {
    m_pTypeSettings = type;
    CompilePatterns();
  }
  return 1;
}

int CRegexHighlighter::CompilePatterns() {
  ReleasePatterns();
  m_nPatternCount = 0;
  m_nQuietBefore = 0;
  const TypeSettings* type = m_pTypeSettings;
  if (!type) {
    m_bEnabled = 0;
    return 0;
  }
  while (m_nPatternCount < kRegexKeywordCount && type->RegexKeywords[m_nPatternCount].szPattern[0] != '\0') {
    ++m_nPatternCount;
  }
  m_nTypeIndex = type->nIndex;
  m_nCompiledCounter = type->nChangeCounter - 1;
  m_bEnabled = type->bUseRegexKeyword;
  if (!m_bEnabled) return 0;
  const BMatchFunc match = MatchEntry();
  m_pfnMatch = match;
  if (!match) {
    m_bEnabled = 0;
    return 0;
  }
  const BRegfreeFunc release = FreeEntry();
  for (int i = 0; i < m_nPatternCount; ++i) {
    Slot& slot = m_slots[i];
    slot = Slot{};
    // The settings come from a file or another process: the text need not end within its field.
    char pattern[kPatternBytes + 1];
    std::memcpy(pattern, type->RegexKeywords[i].szPattern, kPatternBytes);
    pattern[kPatternBytes] = '\0';
    // The painter draws with the colour item of the code: one that names none disables the entry.
    const int code = type->RegexKeywords[i].nColorCode;
    slot.colorCode = code;
    if (code < 0 || code >= kColorItemCount || !IsPatternWellFormed(pattern)) continue;
    m_szKeywordMsg[0] = '\0';
    const int result = match(pattern, kEmptyTarget, kEmptyTarget, &slot.compiled, m_szKeywordMsg);
    if (m_szKeywordMsg[0] || result < 0 || !slot.compiled) {
      if (slot.compiled && release) release(slot.compiled);
      slot.compiled = nullptr;
      continue;
    }
    slot.lineStartOnly = StartsLineOnly(pattern) ? 1 : 0;
    const bool keywordColor = code >= kFirstKeywordColor && code <= kLastKeywordColor;
    slot.baseState = !keywordColor || type->Colors[code].bShow ? kSearching : kDisabled;
  }
  for (int i = m_nPatternCount; i < kRegexKeywordCount; ++i) m_slots[i] = Slot{};
  m_nCompiledCounter = type->nChangeCounter;
  return 1;
}

int CRegexHighlighter::BeginLine() {
  if (!m_bEnabled || !IsAvailable() || !m_pTypeSettings) return 0;
  for (int i = 0; i < m_nPatternCount; ++i) {
    Slot& slot = m_slots[i];
    slot.column = -1;
    slot.state = slot.baseState;
  }
  m_nQuietBefore = 0;
  return 1;
}

void CRegexHighlighter::SearchFrom(Slot& slot, const char* line, int column, int lineLength) {
  const BMatchFunc match = m_pfnMatch;
  const auto* bytes = reinterpret_cast<const unsigned char*>(line);
  const char* end = line + lineLength;
  int from = column;
  slot.state = kDisabled;
  while (from < lineLength) {
    m_szKeywordMsg[0] = '\0';
    // A null command reuses the slot's compiled pattern.
    const int result = match(nullptr, line + from, end, &slot.compiled, m_szKeywordMsg);
    if (result <= 0 || m_szKeywordMsg[0] || !slot.compiled->startp || !slot.compiled->startp[0]) return;
    const char* matchStart = slot.compiled->startp[0];
    const char* matchEnd = slot.compiled->endp[0];
    if (matchStart < line + from || matchEnd > end || matchEnd < matchStart) return;
    const int start = static_cast<int>(matchStart - line);
    if (matchEnd == matchStart) {
      // An empty match colours nothing; a line-start pattern has no later start to try.
      if (slot.lineStartOnly) return;
      from = start + SjisCharSize(bytes, lineLength, start);
      continue;
    }
    slot.column = start;
    slot.length = static_cast<int>(matchEnd - matchStart);
    // Searched from a later column, the target's start looks like a line start.
    slot.state = slot.lineStartOnly && start != 0 ? kDisabled : kAhead;
    return;
  }
}

int CRegexHighlighter::DeinitDll() {
  // The compiled records belong to the library that is going away.
  ReleasePatterns();
  m_bEnabled = 0;
  return CRegexpDll::DeinitDll();
}

bool CRegexHighlighter::MatchAtSlots(const char* line, int column, int lineLength, int* matchLength,
                                     int* colorCode) {
  // The library's presence is settled at compilation, and an unloading library disables the
  // keywords (DeinitDll).
  if (!m_bEnabled || !m_pTypeSettings || m_nPatternCount == 0) return false;
  if (!line || column < 0 || column >= lineLength) return false;
  int nextMatch = INT_MAX;
  for (int i = 0; i < m_nPatternCount; ++i) {
    Slot& slot = m_slots[i];
    if (slot.state == kDisabled) continue;
    if (slot.state != kAhead || slot.column < column) {
      SearchFrom(slot, line, column, lineLength);
      if (slot.state != kAhead) continue;
    }
    if (slot.column > column) {
      nextMatch = std::min(nextMatch, slot.column);
      continue;
    }
    if (matchLength) *matchLength = slot.length;
    if (colorCode) *colorCode = slot.colorCode;
    // The slots after this one were not looked at.
    m_nQuietBefore = 0;
    return true;
  }
  // Every pattern still searching has its match stored ahead: until the first of them, no
  // question needs a slot.
  m_nQuietBefore = nextMatch;
  return false;
}
