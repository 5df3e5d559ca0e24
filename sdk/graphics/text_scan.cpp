#include "sdk/graphics/text_scan.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/sjis.h"

namespace {

bool IsBlank(char c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLead(char c) { return platform::IsSjisLead(static_cast<unsigned char>(c)); }

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Signed decimal digits at the cursor (no blanks skipped). The sum wraps like the 32-bit register
// it was always kept in instead of overflowing into undefined behaviour.
bool ReadSignedDigits(const char*& cursor, int& value) {
  uint32_t sign = 1;
  if (*cursor == '+') {
    ++cursor;
  } else if (*cursor == '-') {
    sign = static_cast<uint32_t>(-1);
    ++cursor;
  }
  value = 0;
  if (!IsDigit(*cursor)) return false;
  uint32_t v = 0;
  while (IsDigit(*cursor)) v = v * 10 + static_cast<uint32_t>(*cursor++ - '0');
  value = static_cast<int>(v * sign);
  return true;
}

// Where s next matches in the text from p, never at a trail byte; null when the text ends first.
// A lead byte just before the terminating zero does not pair with the zero.
const char* FindFrom(const char* p, const char* s) {
  size_t n = std::strlen(s);
  while (*p) {
    if (std::strncmp(p, s, n) == 0) return p;
    if (IsLead(*p) && p[1] != '\0') ++p;
    ++p;
  }
  return (n == 0) ? p : nullptr;
}

bool MatchAt(std::string_view text, size_t pos, std::string_view from, bool exact) {
  if (text.size() - pos < from.size()) return false;
  if (exact) return text.compare(pos, from.size(), from) == 0;
  for (size_t i = 0; i < from.size(); ++i) {
    char f = from[i];
    char t = text[pos + i];
    if (IsLead(f) && i + 1 < from.size()) {
      // A double-byte character compares whole and exactly: its trail byte may look like a letter.
      if (t != f || text[pos + i + 1] != from[i + 1]) return false;
      ++i;
      continue;
    }
    if (FoldAscii(t) != FoldAscii(f)) return false;
  }
  return true;
}

}  // namespace

bool SkipSpace(const char*& cursor) {
  while (IsBlank(*cursor)) ++cursor;
  return *cursor == '\0';
}

bool SkipSpaceComma(const char*& cursor) {
  while (IsBlank(*cursor) || *cursor == ',') ++cursor;
  return *cursor == '\0';
}

bool IsToken(const char*& cursor, const char* token) {
  if (!token) return false;
  const char* p = cursor;
  SkipSpace(p);
  for (const char* t = token; *t; ++t, ++p) {
    if (*p == '\0' || FoldAscii(*p) != FoldAscii(*t)) return false;
  }
  cursor = p;
  return true;
}

int SkipToString(const char*& cursor, const char* s) {
  const char* hit = FindFrom(cursor, s);
  if (!hit) return 1;
  cursor = hit + std::strlen(s);
  return 0;
}

int CopyToString(const char*& cursor, const char* s, char* buffer, size_t size) {
  const char* hit = FindFrom(cursor, s);
  if (!hit) return 1;
  if (buffer && size > 0) {
    size_t n = 0;
    const size_t limit = size - 1;
    for (const char* p = cursor; p < hit;) {
      size_t step = (IsLead(*p) && p + 1 < hit) ? 2 : 1;
      if (n + step > limit) break;
      std::memcpy(buffer + n, p, step);
      n += step;
      p += step;
    }
    buffer[n] = '\0';
  }
  cursor = hit + std::strlen(s);
  return 0;
}

int GetNum(const char*& cursor, int& value) {
  if (SkipSpace(cursor)) return -1;
  return ReadSignedDigits(cursor, value) ? 0 : 1;
}

int GetQuotedNum(const char*& cursor, int& value) {
  if (SkipSpace(cursor)) return -1;
  if (*cursor != '"') return 3;
  ++cursor;
  if (!ReadSignedDigits(cursor, value)) return 1;
  if (*cursor != '"') return 3;
  ++cursor;
  return 0;
}

int GetQuotedColor(const char*& cursor, COLORREF& colour) {
  if (SkipSpace(cursor)) return -1;
  if (*cursor != '"') return 3;
  ++cursor;
  if (*cursor != '#') return 3;
  ++cursor;
  if (HexDigit(*cursor) < 0) return 1;
  uint32_t v = 0;
  for (int d; (d = HexDigit(*cursor)) >= 0; ++cursor) v = v * 16 + static_cast<uint32_t>(d);
  if (*cursor != '"') return 3;
  ++cursor;
  colour = (v & 0x00FF00) | ((v >> 16) & 0xFF) | ((v & 0xFF) << 16);
  return 0;
}

int GetFieldNum(const char*& cursor, int& value, bool fieldMode) {
  if (!fieldMode) {
    if (SkipSpaceComma(cursor)) return 1;
    return GetNum(cursor, value) == 0 ? 0 : 2;
  }
  if (*cursor == ',' || *cursor == '\t') {
    value = 0;
    ++cursor;
    return 0;
  }
  if (GetNum(cursor, value) != 0) return 2;
  if (*cursor == ',' || *cursor == '\t') ++cursor;
  return 0;
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to, bool exact) {
  if (text.empty() || from.empty()) return;
  std::vector<size_t> hits;
  for (size_t pos = 0; pos < text.size();) {
    if (MatchAt(text, pos, from, exact)) {
      hits.push_back(pos);
      pos += from.size();
    } else {
      pos += (IsLead(text[pos]) && pos + 1 < text.size()) ? 2 : 1;
    }
  }
  if (hits.empty()) return;
  std::string out;
  out.reserve(text.size() - hits.size() * from.size() + hits.size() * to.size());
  size_t last = 0;
  for (size_t hit : hits) {
    out.append(text, last, hit - last);
    out.append(to);
    last = hit + from.size();
  }
  out.append(text, last, std::string::npos);
  text = std::move(out);
}
