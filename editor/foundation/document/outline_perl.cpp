// The Perl outline: the subroutines a line starts with "sub".
#include <string_view>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/document/outline_items.h"
#include "editor/foundation/document/outline_parsers.h"
#include "editor/foundation/document/outline_scan.h"

using namespace outline_scan;

namespace {

constexpr int kMaxName = 70;

bool IsNameByte(unsigned char c) { return IsAsciiAlnum(c) || c == '_' || c == ':' || c == '\''; }

}  // namespace

void ParseOutlinePerl(CEditDoc& doc, COutlineItemList& list) {
  LineWalk lines(doc);
  while (lines.Next()) {
    const char* text = lines.Text();
    const int len = lines.Length();
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    int pos = 0;
    while (pos < len && IsSpaceOrTab(s[pos])) ++pos;
    if (len - pos < 4 || std::string_view(text + pos, 3) != "sub" || !IsSpaceOrTab(s[pos + 3])) continue;
    pos += 4;
    while (pos < len && IsSpaceOrTab(s[pos])) ++pos;
    if (pos >= len || !(IsAsciiAlnum(s[pos]) || s[pos] == '_')) continue;
    const int start = pos;
    while (pos < len && IsNameByte(s[pos])) ++pos;
    // The name ends before the line does, within its length.
    if (pos >= len || pos - start > kMaxName) continue;
    Record(lines, list, lines.Index(), 0, std::string_view(text + start, static_cast<size_t>(pos - start)),
           outline_kind::kPlain, 0);
  }
}
