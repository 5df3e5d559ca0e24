// The assembler outline: labels, and the starts and ends of procedures.
#include <string_view>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/document/outline_items.h"
#include "editor/foundation/document/outline_parsers.h"
#include "editor/foundation/document/outline_scan.h"

using namespace outline_scan;

namespace {

constexpr int kMaxToken = 255;

bool IsAsmBlank(unsigned char c) { return c == ' ' || c == '\t' || IsLineEnd(c); }

}  // namespace

void ParseOutlineAsm(CEditDoc& doc, COutlineItemList& list) {
  LineWalk lines(doc);
  while (lines.Next()) {
    const char* text = lines.Text();
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    int len = lines.Length();
    // The comment from the first ";" on.
    for (int pos = 0; pos < len; pos += SjisCharSize(s, len, pos)) {
      if (s[pos] == ';') {
        len = pos;
        break;
      }
    }
    BoundedText<kMaxToken> tokens[2];
    int count = 0;
    int pos = 0;
    while (count < 2) {
      while (pos < len && IsAsmBlank(s[pos])) ++pos;
      if (pos >= len) break;
      bool quoted = false;
      bool stop = false;
      BoundedText<kMaxToken>& token = tokens[count];
      while (pos < len && (quoted || !IsAsmBlank(s[pos]))) {
        const unsigned char c = s[pos];
        if (c == '"') quoted = !quoted;
        if (c == '"' || c == '\\' || c == '\'') stop = true;
        const int size = SjisCharSize(s, len, pos);
        token.Append(text + pos, size);
        pos += size;
      }
      // A token holding a quote or a backslash ends the reading, without itself.
      if (stop) break;
      ++count;
    }
    if (count == 0) continue;
    const std::string_view first = tokens[0].View();
    if (first.size() >= 2 && first.back() == ':') {
      Record(lines, list, lines.Index(), 0, first.substr(0, first.size() - 1), outline_kind::kAsmLabel, 0);
    } else if (count == 2 && EqualsICase(tokens[1].View(), "proc")) {
      Record(lines, list, lines.Index(), 0, first, outline_kind::kAsmProc, 0);
    } else if (count == 2 && EqualsICase(tokens[1].View(), "endp")) {
      Record(lines, list, lines.Index(), 0, first, outline_kind::kAsmEndp, 0);
    }
  }
}
