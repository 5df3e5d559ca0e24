#include "editor/foundation/ui/file_filter_list.h"

#include <cstring>
#include <new>

#include "editor/foundation/text/sjis_char.h"

bool CFileFilterList::AddEntry(const char* pszDescription, const char* pszPatterns) {
  if (!pszDescription || !*pszDescription || !pszPatterns || !*pszPatterns) return false;
  Entry entry;
  CopyWholeChars(entry.description, kDescriptionSize, pszDescription);
  CopyWholeChars(entry.patterns, kPatternSize, pszPatterns);
  try {
    m_entries.push_back(entry);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool CFileFilterList::AddExtensions(const char* pszDescription, const char* pszExtensions) {
  std::string patterns;
  MakeWildcards(pszExtensions, patterns);
  return AddEntry(pszDescription, patterns.c_str());
}

void CFileFilterList::MakeWildcards(const char* pszExtensions, std::string& out) {
  out.clear();
  if (!pszExtensions) return;
  // The separators are ASCII, never the trail byte of a double-byte character.
  const char* p = pszExtensions;
  while (*p) {
    while (*p == ' ' || *p == '\t' || *p == ';' || *p == ',') ++p;
    const char* start = p;
    while (*p && *p != ' ' && *p != '\t' && *p != ';' && *p != ',') p += SjisCharSizeZ(p);
    if (p == start) continue;
    if (!out.empty()) out += ';';
    out += *start == '.' ? "*" : "*.";
    out.append(start, p);
  }
}

const char* CFileFilterList::BuildFilterString() {
  // Built with the NULs in place: a "|" that a type's name holds stays a character.
  size_t used = 0;
  for (const Entry& e : m_entries) {
    const std::string piece = std::string(e.description) + " (" + e.patterns + ")" + '\0' + e.patterns + '\0';
    // Room stays for the list's closing NUL and the text's own.
    if (used + piece.size() + 2 > sizeof m_szFilter) continue;
    std::memcpy(m_szFilter + used, piece.data(), piece.size());
    used += piece.size();
  }
  m_szFilter[used] = '\0';
  m_szFilter[used + 1] = '\0';
  return m_szFilter;
}
