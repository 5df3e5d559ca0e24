#include "editor/regexp_library/replacement_template.h"

#include <climits>

#include "editor/foundation/text/sjis_char.h"

namespace tovara_regexp {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads the digits at text[pos]; a number too large for any pattern names no group.
int ReadNumber(std::string_view text, size_t& pos) {
  long long n = 0;
  while (pos < text.size() && IsDigit(text[pos])) {
    if (n < INT_MAX) n = n * 10 + (text[pos] - '0');
    ++pos;
  }
  return n > INT_MAX ? INT_MAX : static_cast<int>(n);
}

}  // namespace

void ReplacementTemplate::AddLiteral(std::string_view bytes) {
  if (!m_pieces.empty() && m_pieces.back().group < 0) {
    m_pieces.back().length += bytes.size();
  } else {
    m_pieces.push_back({-1, m_literals.size(), bytes.size()});
  }
  m_literals.append(bytes);
}

void ReplacementTemplate::Parse(std::string_view text) {
  m_literals.clear();
  m_pieces.clear();
  size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    if (SjisCharSize(bytes, static_cast<int>(text.size()), static_cast<int>(pos)) == 2) {
      // A double-byte character whole: its trail byte may be 0x5C, and then it is no escape. A lead
      // byte before a byte that is no trail ("$" among them) stands alone.
      AddLiteral(text.substr(pos, 2));
      pos += 2;
    } else if (c == '\\' && pos + 1 < text.size()) {
      const char e = text[pos + 1];
      switch (e) {
        case '\\':
          AddLiteral("\\");
          pos += 2;
          break;
        case '$':
          AddLiteral("$");
          pos += 2;
          break;
        case 'n':
          AddLiteral("\n");
          pos += 2;
          break;
        case 'r':
          AddLiteral("\r");
          pos += 2;
          break;
        case 't':
          AddLiteral("\t");
          pos += 2;
          break;
        default:
          AddLiteral("\\");
          ++pos;
          break;
      }
    } else if (c == '$' && pos + 1 < text.size()) {
      const char r = text[pos + 1];
      size_t after = pos + 1;
      if (r == '&') {
        m_pieces.push_back({0, 0, 0});
        pos += 2;
      } else if (IsDigit(r)) {
        m_pieces.push_back({ReadNumber(text, after), 0, 0});
        pos = after;
      } else if (r == '{' && after + 1 < text.size() && IsDigit(text[after + 1])) {
        size_t digits = after + 1;
        const int n = ReadNumber(text, digits);
        if (digits < text.size() && text[digits] == '}') {
          m_pieces.push_back({n, 0, 0});
          pos = digits + 1;
        } else {
          AddLiteral("$");
          ++pos;
        }
      } else {
        AddLiteral("$");
        ++pos;
      }
    } else {
      AddLiteral(text.substr(pos, 1));
      ++pos;
    }
  }
}

}  // namespace tovara_regexp
