// The outlines of plain text: headings that start with a heading mark, headings of leading dots,
// and the bookmarked lines.
#include <cstdio>
#include <cstring>
#include <string_view>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/document/outline_items.h"
#include "editor/foundation/document/outline_parsers.h"
#include "editor/foundation/document/outline_scan.h"
#include "platform/sjis_literal.h"

using namespace outline_scan;

namespace {

constexpr int kMaxText = 511;
constexpr int kMaxDottedText = 1021;

// The character at pos is one of the marks, compared as whole characters.
bool IsHeadingMark(std::string_view marks, const unsigned char* s, int len, int pos) {
  const int size = SjisCharSize(s, len, pos);
  const auto* m = reinterpret_cast<const unsigned char*>(marks.data());
  const int mlen = static_cast<int>(marks.size());
  for (int i = 0; i < mlen;) {
    const int msize = SjisCharSize(m, mlen, i);
    if (msize == size && std::memcmp(m + i, s + pos, static_cast<size_t>(size)) == 0) return true;
    i += msize;
  }
  return false;
}

// The level key of the heading mark at pos; empty when the line is no heading after all.
std::string_view LevelKey(const char* text, int len, int pos) {
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  if (s[pos] == '(') {
    const unsigned char next = pos + 1 < len ? s[pos + 1] : 0;
    if (IsAsciiDigit(next)) return "(0)";
    if (next >= 'A' && next <= 'Z') return "(A)";
    if (next >= 'a' && next <= 'z') return "(a)";
    return {};
  }
  const int size = SjisCharSize(s, len, pos);
  if (size == 2) {
    const unsigned code = static_cast<unsigned>(s[pos]) << 8 | s[pos + 1];
    if (code >= 0x824F && code <= 0x8258) return "０"_sj;
    if (code >= 0x8740 && code <= 0x8753) return "①"_sj;
    if (code >= 0x8754 && code <= 0x875D) return "Ⅰ"_sj;
    const std::string_view kanji = "〇一二三四五六七八九十百零壱弐参伍"_sj;
    for (size_t i = 0; i + 1 < kanji.size(); i += 2) {
      if (std::memcmp(kanji.data() + i, s + pos, 2) == 0) return "一"_sj;
    }
  }
  return std::string_view(text + pos, static_cast<size_t>(size));
}

}  // namespace

void ParseOutlineText(CEditDoc& doc, COutlineItemList& list) {
  if (!doc.m_pShareData) return;
  const char* marksText = doc.m_pShareData->Common.szMidashiKigou;
  const std::string_view marks(marksText, strnlen(marksText, sizeof doc.m_pShareData->Common.szMidashiKigou));
  LevelStack levels;
  LineWalk lines(doc);
  while (lines.Next()) {
    const char* text = lines.Text();
    const int len = LengthWithoutLineEnd(text, lines.Length());
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    const int pos = SkipBlanksWide(text, len, 0);
    if (pos >= len || !IsHeadingMark(marks, s, len, pos)) continue;
    const std::string_view key = LevelKey(text, len, pos);
    if (key.empty()) continue;
    const int depth = levels.DepthOf(key);
    if (depth < 0) continue;
    BoundedText<kMaxText> name;
    name.Append(text + pos, len - pos);
    Record(lines, list, lines.Index(), 0, name.View(), outline_kind::kPlain, depth);
  }
}

void ParseOutlineWzText(CEditDoc& doc, COutlineItemList& list) {
  int previous = 0;
  LineWalk lines(doc);
  while (lines.Next()) {
    const char* text = lines.Text();
    const int len = lines.Length();
    int level = 0;
    while (level < len && text[level] == '.') ++level;
    if (level == 0) continue;
    // A heading that skips levels gets untitled ones in between, so that the tree has a parent
    // for it at every depth.
    for (int depth = previous; depth <= level - 2; ++depth) {
      Record(lines, list, lines.Index(), 0, "(無題)"_sj, outline_kind::kPlaceholder, depth);
    }
    int end = level;
    while (end < len && !IsLineEnd(static_cast<unsigned char>(text[end])) && text[end] != '\0') ++end;
    BoundedText<kMaxDottedText> name;
    char number[16];
    std::snprintf(number, sizeof number, "%d - ", level);
    name.Append(number);
    name.Append(text + level, end - level);
    Record(lines, list, lines.Index(), 0, name.View(), outline_kind::kPlain, level - 1);
    previous = level;
  }
}

void ParseOutlineBookmarks(CEditDoc& doc, COutlineItemList& list) {
  const bool skipBlank = doc.m_pShareData && doc.m_pShareData->Common.bMarkUpBlankLineEnable != 0;
  LineWalk lines(doc);
  while (lines.Next()) {
    if (!lines.IsBookmarked()) continue;
    const char* text = lines.Text();
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    int end = lines.Length();
    const int start = SkipBlanksWide(text, end, 0);
    // Trailing blanks, control characters and the line end; a full-width space ends on its
    // trail byte 0x40, so it is taken as a whole character.
    while (end > start) {
      if (s[end - 1] <= ' ') {
        --end;
      } else if (end - 2 >= start && s[end - 2] == 0x81 && s[end - 1] == 0x40 &&
                 CMemory::CharStartAt(text, end, end - 2) == end - 2) {
        end -= 2;
      } else {
        break;
      }
    }
    if (skipBlank && end == start) continue;
    BoundedText<kMaxText> name;
    name.Append(text + start, end - start);
    Record(lines, list, lines.Index(), 0, name.View(), outline_kind::kPlain, 0);
  }
}
