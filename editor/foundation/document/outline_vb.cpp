// The Visual Basic outline: procedures, properties, constants, enumerations, types and events,
// each with a kind that tells what it is, its scope, and whether it is only declared.
#include <string_view>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/document/outline_items.h"
#include "editor/foundation/document/outline_parsers.h"
#include "editor/foundation/document/outline_scan.h"
#include "editor/foundation/text/sjis_compare.h"

using namespace outline_scan;
using namespace outline_kind;

namespace {

constexpr int kMaxWord = 255;

class VbOutline {
 public:
  VbOutline(const LineWalk& lines, COutlineItemList& list, bool classModule)
      : m_lines(lines), m_list(list), m_bClassModule(classModule) {}
  void Line(const char* text, int len, int line);

 private:
  void Word(std::string_view word, bool afterHash, int line);
  // The scope a constant or type gets when none was given, or where only Private makes sense.
  void ForcePrivate() { m_nBits = (m_nBits & ~kVbScopeMask) | kVbPrivate; }

  const LineWalk& m_lines;
  COutlineItemList& m_list;
  const bool m_bClassModule;
  bool m_bInProcedure = false;
  int m_nBits = 0;
  bool m_bNameNext = false;
  int m_nKeywordLine = 0;
  BoundedText<kMaxWord> m_prevWord;
};

void VbOutline::Line(const char* text, int len, int line) {
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  // A line continued with "_" keeps what its keywords collected.
  BoundedText<kMaxWord> word;
  bool inWord = false;
  bool afterHash = false;
  bool hashBefore = false;
  int lastSignificant = -1;
  bool inString = false;
  for (int pos = 0; pos < len;) {
    const unsigned char c = s[pos];
    const int size = SjisCharSize(s, len, pos);
    if (inString) {
      if (c == '"') inString = false;
      pos += size;
      continue;
    }
    if (c == '\'') break;
    const bool wordByte = IsAsciiAlnum(c) || c == '_' || size == 2;
    if (wordByte) {
      if (!inWord) {
        inWord = true;
        word.Clear();
        afterHash = hashBefore;
      }
      word.Append(text + pos, size);
    } else if (inWord) {
      inWord = false;
      Word(word.View(), afterHash, line);
    }
    if (!IsSpaceOrTab(c) && !IsLineEnd(c)) lastSignificant = pos;
    hashBefore = c == '#';
    if (c == '"') inString = true;
    pos += size;
  }
  if (inWord) Word(word.View(), afterHash, line);
  const bool continued = lastSignificant >= 0 && s[lastSignificant] == '_' &&
                         (lastSignificant == 0 || IsSpaceOrTab(s[lastSignificant - 1]));
  if (!continued) {
    m_nBits = 0;
    m_bNameNext = false;
    m_prevWord.Clear();
  }
}

void VbOutline::Word(std::string_view word, bool afterHash, int line) {
  if (word == "_") return;  // the continuation mark
  if (m_bNameNext) {
    m_bNameNext = false;
    Record(m_lines, m_list, m_nKeywordLine, 0, word, m_nBits, 0);
    m_nBits = 0;
    m_prevWord.Clear();
    m_prevWord.Append(word);
    return;
  }
  const std::string_view prev = m_prevWord.View();
  auto is = [](std::string_view a, std::string_view b) { return EqualsICase(a, b); };
  auto start = [&](int kind) {
    m_nBits = (m_nBits & ~0xF) | kind;
    m_bNameNext = true;
    m_nKeywordLine = line;
  };
  if (is(word, "Public")) {
    m_nBits = (m_nBits & ~kVbScopeMask) | kVbPublic;
  } else if (is(word, "Private")) {
    m_nBits = (m_nBits & ~kVbScopeMask) | kVbPrivate;
  } else if (is(word, "Friend")) {
    m_nBits = (m_nBits & ~kVbScopeMask) | kVbFriend;
  } else if (is(word, "Static")) {
    m_nBits |= kVbStatic;
  } else if (is(word, "Function") || is(word, "Sub")) {
    const int kind = is(word, "Function") ? kVbFunction : kVbSub;
    if (is(prev, "End")) {
      m_bInProcedure = false;
    } else if (!is(prev, "Exit")) {
      if (is(prev, "Declare")) {
        m_nBits |= kVbDeclaration;
      } else {
        m_bInProcedure = true;
      }
      start(kind);
    }
  } else if (is(prev, "Property") && (is(word, "Get") || is(word, "Let") || is(word, "Set"))) {
    m_bInProcedure = true;
    start(is(word, "Get") ? kVbPropertyGet : is(word, "Let") ? kVbPropertyLet : kVbPropertySet);
  } else if (is(word, "Property") && is(prev, "End")) {
    m_bInProcedure = false;
  } else if (is(word, "Const") && !afterHash) {
    if (m_bClassModule || m_bInProcedure || (m_nBits & kVbScopeMask) == 0) ForcePrivate();
    start(kVbConst);
  } else if (is(word, "Enum") && !is(prev, "End")) {
    m_nBits |= kVbDeclaration;
    start(kVbEnum);
  } else if (is(word, "Type") && !is(prev, "End")) {
    m_nBits |= kVbDeclaration;
    if (m_bClassModule) ForcePrivate();
    start(kVbType);
  } else if (is(word, "Event")) {
    m_nBits |= kVbDeclaration;
    start(kVbEvent);
  }
  m_prevWord.Clear();
  m_prevWord.Append(word);
}

}  // namespace

void ParseOutlineVb(CEditDoc& doc, COutlineItemList& list) {
  LineWalk lines(doc);
  VbOutline outline(lines, list, HasExtension(doc.m_szFilePath, "cls"));
  while (lines.Next()) outline.Line(lines.Text(), lines.Length(), lines.Index());
}
