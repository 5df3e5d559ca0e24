#include "editor/view/outline/jump_target.h"

#include <algorithm>

#include "editor/foundation/text/doc_line.h"
#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/wrap_line_mgr.h"

namespace {

bool IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

bool PlsqlLineCounts(std::string_view line, PlsqlLexState* state) {
  const auto* s = reinterpret_cast<const unsigned char*>(line.data());
  const int len = static_cast<int>(std::min<size_t>(line.size(), INT32_MAX));
  bool marked = false;
  bool hasText = false;
  bool afterBackslash = false;
  int pos = 0;
  while (pos < len) {
    const unsigned char c = s[pos];
    const int size = SjisCharSize(s, len, pos);
    const bool single = size == 1;
    const unsigned char next = pos + 1 < len ? s[pos + 1] : 0;
    if (single && IsBlank(c)) {
      afterBackslash = false;
      ++pos;
      continue;
    }
    hasText = true;
    switch (*state) {
      case PlsqlLexState::kNormal:
        if (single && c == '-' && next == '-') return true;
        if (single && c == '/' && next == '*') {
          *state = PlsqlLexState::kBlockComment;
          afterBackslash = false;
          pos += 2;
          continue;
        }
        if (single && c == '\'') *state = PlsqlLexState::kSingleQuoted;
        if (single && c == '"') *state = PlsqlLexState::kDoubleQuoted;
        marked = true;
        break;
      case PlsqlLexState::kBlockComment:
        if (single && c == '*' && next == '/') {
          *state = PlsqlLexState::kNormal;
          marked = true;
          afterBackslash = false;
          pos += 2;
          continue;
        }
        break;
      case PlsqlLexState::kSingleQuoted:
      case PlsqlLexState::kDoubleQuoted: {
        const unsigned char quote = *state == PlsqlLexState::kSingleQuoted ? '\'' : '"';
        if (single && c == quote && !afterBackslash) *state = PlsqlLexState::kNormal;
        break;
      }
    }
    // A trail byte of 0x5C is part of its character, never an escape.
    afterBackslash = single && c == '\\';
    pos += size;
  }
  if (*state == PlsqlLexState::kBlockComment && hasText) return true;
  return marked;
}

int FindPlsqlLine(CDocLineMgr& lines, int nFirstLine, int64_t nCountBefore, int nTarget) {
  const int count = lines.GetLineCount();
  if (count <= 0) return -1;
  if (nFirstLine >= count) return count - 1;
  const int first = std::max(nFirstLine, 0);
  PlsqlLexState state = PlsqlLexState::kNormal;
  int64_t counted = nCountBefore;
  int index = first;
  for (CDocLine* line = lines.GetLine(first); line; line = line->m_pNext, ++index) {
    int len = 0;
    const char* text = line->GetText(&len);
    const std::string_view view =
        text && len > 0 ? std::string_view(text, static_cast<size_t>(len)) : std::string_view();
    if (PlsqlLineCounts(view, &state) && ++counted >= nTarget) return index;
  }
  return count - 1;
}

int JumpTargetRow(CDocLineMgr& lines, CWrapLineMgr& layout, const JumpRequest& request) {
  const int rows = layout.GetLineCount();
  if (rows <= 0) return -1;
  const int number = std::max(request.nLineNum, 1);
  const auto rowOfDocLine = [&](int docLine) {
    int column = 0;
    int row = 0;
    layout.DocToWrapPos(0, docLine, &column, &row);
    return std::clamp(row, 0, rows - 1);
  };
  if (!request.bPlsql) {
    if (!request.bDocumentLines) return std::min(number, rows) - 1;
    const int docLines = lines.GetLineCount();
    return docLines > 0 ? rowOfDocLine(std::min(number, docLines) - 1) : 0;
  }
  int base = std::max(request.nPlsqlBaseLine, 1) - 1;
  if (!request.bPlsqlBaseInDocumentLines) {
    int column = 0;
    int docLine = 0;
    layout.WrapToDocPos(0, std::min(base, rows - 1), &column, &docLine);
    base = docLine;
  }
  const int target = FindPlsqlLine(lines, base, static_cast<int64_t>(request.nPlsqlCountStart) - 1, number);
  return target < 0 ? -1 : rowOfDocLine(target);
}
