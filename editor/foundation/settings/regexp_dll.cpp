#include "editor/foundation/settings/regexp_dll.h"

#include <cstring>
#include <initializer_list>

#include "editor/foundation/text/sjis_char.h"

namespace {

const char kNoText[1] = {0};

// Test commands in the library's slash form; each runs on the pattern text itself.
constexpr const char* kStartsWithLineStartTest = "/^\\(*\\^/k";
constexpr const char* kOnlyAnchorsTest = "/^\\(*\\^\\$\\)*$/k";
constexpr const char* kEndsWithEscapedDollarTest = "/\\\\\\$$/k";
constexpr const char* kEndsWithLineEndTest = "/\\$\\)*$/k";
constexpr const char* kLookAheadTest = "/\\(\\?[=]/k";
// The final $ with the closing parentheses after it becomes a group of line-end characters, the $
// and those parentheses.
constexpr const char* kLineEndRewrite = "s/\\$(\\)*)$/([\\\\r\\\\n]+)\\$$1/k";

int Length(const char* text) { return text ? static_cast<int>(std::strlen(text)) : 0; }

// The replacement as it must stand before the line-end group's reference. Read as the library
// reads a replacement, a backslash left over at its end would escape the reference's "$"; it is
// written as the escaped backslash it stood for. (A lone lead byte at the end cannot take the "$":
// the library pairs a lead byte only with a trail byte.)
std::string ReplacementBeforeReference(const char* replacement) {
  std::string text = replacement;
  const auto* p = reinterpret_cast<const unsigned char*>(replacement);
  const int length = static_cast<int>(text.size());
  int pos = 0;
  while (pos < length) {
    if (p[pos] == '\\' && pos + 1 < length && std::strchr("\\$nrt", p[pos + 1])) {
      pos += 2;  // an escape the library reads as one
    } else if (p[pos] == '\\' && pos + 1 == length) {
      text += '\\';
      break;
    } else {
      pos += SjisCharSize(p, length, pos);
    }
  }
  return text;
}

}  // namespace

CRegexpDll::CRegexpDll() = default;

CRegexpDll::~CRegexpDll() { DeinitDll(); }

const char* CRegexpDll::GetDllName(const char*) { return "BREGEXP.DLL"; }

int CRegexpDll::InitDll() {
  const ImportEntry required[] = {
      {&m_BMatch, "BMatch"}, {&m_BSubst, "BSubst"},     {&m_BTrans, "BTrans"},
      {&m_BSplit, "BSplit"}, {&m_BRegfree, "BRegfree"}, {&m_BRegexpVersion, "BRegexpVersion"},
      {nullptr, nullptr},
  };
  if (!BindEntryPoints(required)) {
    // The library goes away again: nothing may be left pointing into it.
    m_BMatch = nullptr;
    m_BSubst = nullptr;
    m_BTrans = nullptr;
    m_BSplit = nullptr;
    m_BRegfree = nullptr;
    m_BRegexpVersion = nullptr;
    return 1;
  }
  const ImportEntry optional[] = {{&m_BMatchEx, "BMatchEx"}, {nullptr, nullptr}};
  const ImportEntry optionalSubst[] = {{&m_BSubstEx, "BSubstEx"}, {nullptr, nullptr}};
  if (!BindEntryPoints(optional)) m_BMatchEx = nullptr;
  if (!BindEntryPoints(optionalSubst)) m_BSubstEx = nullptr;
  return 0;
}

void CRegexpDll::ReleaseCompiled() {
  for (BREGEXP** record : {&m_pRegExp, &m_pRegExpWithoutLineEnd}) {
    if (*record && m_BRegfree && IsAvailable()) m_BRegfree(*record);
    *record = nullptr;
  }
  m_pResult = nullptr;
}

const char* CRegexpDll::GetVersion() const {
  const char* version = IsAvailable() && m_BRegexpVersion ? m_BRegexpVersion() : nullptr;
  return version ? version : kNoText;
}

int CRegexpDll::DeinitDll() {
  ReleaseCompiled();
  m_nFlags = 0;
  return 0;
}

int CRegexpDll::TestMatch(const char* command, const char* text, int length, int* start, int* end, int* groups) {
  if (!IsAvailable() || !m_BMatch || !m_BRegfree) return -1;
  BREGEXP* rx = nullptr;
  char msg[kBRegexpMessageSize] = {};
  const char* target = text ? text : kNoText;
  const int result = m_BMatch(command, target, target + length, &rx, msg);
  if (rx) {
    if (result > 0 && rx->startp && rx->startp[0]) {
      if (start) *start = static_cast<int>(rx->startp[0] - target);
      if (end) *end = static_cast<int>(rx->endp[0] - target);
    }
    if (groups) *groups = rx->nparens;
    m_BRegfree(rx);
  }
  return msg[0] ? -1 : result;
}

int CRegexpDll::CheckPatternAnchors(const char* pattern) {
  const int length = Length(pattern);
  m_nFlags = kAnalysed;
  if (TestMatch(kStartsWithLineStartTest, pattern, length) > 0) m_nFlags |= kStartsWithLineStart;
  if (TestMatch(kOnlyAnchorsTest, pattern, length) > 0) m_nFlags |= kOnlyAnchors;
  if (TestMatch(kEndsWithEscapedDollarTest, pattern, length) <= 0 &&
      TestMatch(kEndsWithLineEndTest, pattern, length) > 0) {
    m_nFlags |= kEndsWithLineEnd;
  }
  if (TestMatch(kLookAheadTest, pattern, length) > 0) m_nFlags |= kHasLookAhead;
  return length;
}

std::string CRegexpDll::BuildCommandString(const char* pattern, const char* replacement, const char* suffix,
                                           int options) const {
  std::string command;
  command.reserve(Length(pattern) + 15 + (replacement ? Length(replacement) + Length(suffix) : 0));
  command += replacement ? 's' : 'm';
  command += '\xFF';
  if (pattern) command += pattern;
  command += '\xFF';
  if (replacement) {
    command += replacement;
    if (suffix) command += suffix;
    command += '\xFF';
  }
  command += "km";
  if (!(options & kCaseSensitive)) command += 'i';
  if (options & kGlobal) command += 'g';
  return command;
}

bool CRegexpDll::MatchesEmptyAt(const std::string& command, const char* text, int length, int at) {
  int start = -1, end = -1;
  return TestMatch(command.c_str(), text, length, &start, &end) > 0 && start == at && end == at;
}

std::string CRegexpDll::MakePattern(const char* pattern, const char* replacement, int options) {
  const int length = CheckPatternAnchors(pattern);
  bool rewrite = false;
  int groups = 0;
  if (m_nFlags & kEndsWithLineEnd) {
    // Does the $ of this pattern already see a line end as the text holds it? Only a pattern whose
    // $ stands between CR and LF, and at the edges of CR, LF and LF CR, is left as it is.
    const std::string command = BuildCommandString(pattern, nullptr, nullptr, options);
    int start = -1, end = -1;
    const int result = TestMatch(command.c_str(), "\r\n", 2, &start, &end, &groups);
    if (result > 0) {
      rewrite = start == 1 && end == 1 && MatchesEmptyAt(command, "\r", 1, 1) && MatchesEmptyAt(command, "\n", 1, 0) &&
                MatchesEmptyAt(command, "\n\r", 2, 0);
    } else if (result == 0) {
      rewrite = TestMatch(command.c_str(), "\r", 1) <= 0 && TestMatch(command.c_str(), "\n", 1) <= 0 &&
                TestMatch(command.c_str(), "\n\r", 2) <= 0;
    }
  }
  std::string rewritten;
  std::string suffix;
  if ((rewrite || (m_nFlags & kOnlyAnchors)) && IsAvailable() && m_BSubst && m_BRegfree) {
    BREGEXP* rx = nullptr;
    char msg[kBRegexpMessageSize] = {};
    const char* target = pattern ? pattern : kNoText;
    if (m_BSubst(kLineEndRewrite, target, target + length, &rx, msg) > 0 && rx && rx->outp) {
      rewritten.assign(rx->outp, rx->outendp);
      if (replacement) suffix = "$" + std::to_string(groups + 1);
    }
    if (rx) m_BRegfree(rx);
  }
  const std::string adjusted = suffix.empty() ? std::string() : ReplacementBeforeReference(replacement);
  return BuildCommandString(rewritten.empty() ? pattern : rewritten.c_str(),
                            suffix.empty() ? replacement : adjusted.c_str(), suffix.c_str(), options);
}

bool CRegexpDll::CompileRecord(const std::string& command, bool substitute, BREGEXP** record) {
  const int result = substitute ? m_BSubst(command.c_str(), kNoText, kNoText, record, m_szMsg)
                                : m_BMatch(command.c_str(), kNoText, kNoText, record, m_szMsg);
  return !m_szMsg[0] && result >= 0 && *record;
}

bool CRegexpDll::Compile(const char* pattern, const char* replacement, int options) {
  if (!IsAvailable() || !m_BMatch || !m_BSubst || !m_BRegfree) return false;
  ReleaseCompiled();
  m_nFlags = 0;
  const std::string command = MakePattern(pattern, replacement, options);
  const std::string asWritten = BuildCommandString(pattern, replacement, nullptr, options);
  m_szMsg[0] = 0;
  if (!CompileRecord(command, replacement != nullptr, &m_pRegExp) ||
      (command != asWritten && !CompileRecord(asWritten, replacement != nullptr, &m_pRegExpWithoutLineEnd))) {
    if (!m_szMsg[0]) std::strcpy(m_szMsg, "the pattern was refused");
    ReleaseCompiled();
    m_nFlags = 0;
    return false;
  }
  m_pResult = m_pRegExp;
  return true;
}

BREGEXP** CRegexpDll::RecordFor(const char* text, int length) {
  const bool lineEnd = length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n');
  return m_pRegExpWithoutLineEnd && !lineEnd ? &m_pRegExpWithoutLineEnd : &m_pRegExp;
}

bool CRegexpDll::Match(const char* text, int length, int column) {
  if (!IsAvailable() || !m_pRegExp || !m_BMatch) return false;
  m_szMsg[0] = 0;
  if (!text || length < 0 || column < 0 || column > length) return false;
  BREGEXP** record = RecordFor(text, length);
  int result;
  if (m_BMatchEx) {
    result = m_BMatchEx(nullptr, text, text + column, text + length, record, m_szMsg);
  } else {
    // Without the line before the column, a line-start pattern cannot match inside the line.
    if ((m_nFlags & kStartsWithLineStart) && column != 0) return false;
    result = m_BMatch(nullptr, text + column, text + length, record, m_szMsg);
  }
  m_pResult = *record;
  m_pszLastTarget = text;
  return result >= 0 && !m_szMsg[0] && result != 0;
}

bool CRegexpDll::Replace(const char* text, int length, int column) {
  if (!IsAvailable() || !m_pRegExp || !m_BSubst) return false;
  m_szMsg[0] = 0;
  if (!text || length < 0 || column < 0 || column > length) return false;
  // An empty line is an empty target, never its terminating NUL, which a substitution would carry
  // into the document.
  if (length == 0) text = kNoText;
  BREGEXP** record = RecordFor(text, length);
  int result;
  if (m_BSubstEx) {
    result = m_BSubstEx(nullptr, text, text + column, text + length, record, m_szMsg);
  } else {
    if ((m_nFlags & kStartsWithLineStart) && column != 0) return false;
    result = m_BSubst(nullptr, text + column, text + length, record, m_szMsg);
  }
  m_pResult = *record;
  m_pszLastTarget = text;
  return !m_szMsg[0] && result > 0;
}
