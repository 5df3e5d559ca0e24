// The COBOL outline: the entries of area A (column 8), each under the division it follows.
#include <string_view>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/document/outline_items.h"
#include "editor/foundation/document/outline_parsers.h"
#include "editor/foundation/document/outline_scan.h"
#include "editor/foundation/text/sjis_compare.h"

using namespace outline_scan;

namespace {

constexpr int kMaxName = 511;

// The end of the first "division" (any case) in the text that starts on a character; -1 when none.
int DivisionEnd(std::string_view text) {
  static constexpr std::string_view kDivision = "division";
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const int len = static_cast<int>(text.size());
  for (int pos = 0; pos + static_cast<int>(kDivision.size()) <= len; pos += SjisCharSize(s, len, pos)) {
    if (SjisMemICmp(text.data() + pos, kDivision.data(), static_cast<int>(kDivision.size())) == 0) {
      return pos + static_cast<int>(kDivision.size());
    }
  }
  return -1;
}

}  // namespace

void ParseOutlineCobol(CEditDoc& doc, COutlineItemList& list) {
  BoundedText<kMaxName> division;
  LineWalk lines(doc);
  while (lines.Next()) {
    const char* text = lines.Text();
    const int len = lines.Length();
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    if (len < 8 || s[6] == '*' || s[7] == ' ' || s[7] == '\t' || IsLineEnd(s[7])) continue;
    // The seventh column must be a character of its own for the eighth to start one.
    if (CMemory::CharStartAt(text, len, 7) != 7) continue;
    BoundedText<kMaxName> entry;
    bool space = false;
    for (int pos = 7; pos < len;) {
      const unsigned char c = s[pos];
      if (c == '.' || IsLineEnd(c)) break;
      const int size = SjisCharSize(s, len, pos);
      if (c == ' ') {
        if (!space) entry.Append(" ", 1);
        space = true;
      } else {
        space = false;
        entry.Append(text + pos, size);
      }
      pos += size;
    }
    const int end = DivisionEnd(entry.View());
    if (end >= 0) {
      division.Clear();
      division.Append(entry.View().substr(0, static_cast<size_t>(end)));
      continue;
    }
    BoundedText<kMaxName> name;
    name.Append(division.View());
    name.Append("::", 2);
    name.Append(entry.View());
    Record(lines, list, lines.Index(), 0, name.View(), outline_kind::kPlain, 0);
  }
}
