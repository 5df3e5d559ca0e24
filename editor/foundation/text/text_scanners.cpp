#include "editor/foundation/text/text_scanners.h"

#include <cstring>

namespace {

bool IsAlnum(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(unsigned char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool IsUrlChar(unsigned char c) {
  if (c >= 0x80) return false;
  if (IsAlnum(c)) return true;
  return std::strchr("!#$%&+,-./:;=?@\\_~", c) != nullptr && c != 0;
}

bool IsLabelChar(unsigned char c) { return IsAlnum(c) || c == '-' || c == '_'; }

}  // namespace

bool IsMailAddressAt(const char* pText, int nLen, int* pnMatchLen) {
  if (!pText || nLen <= 0) return false;
  const auto* s = reinterpret_cast<const unsigned char*>(pText);
  if (!IsAlnum(s[0])) return false;
  int i = 1;
  while (i < nLen && (IsAlnum(s[i]) || s[i] == '-' || s[i] == '.' || s[i] == '_')) ++i;
  if (i >= nLen || s[i] != '@' || nLen - (i + 1) < 2) return false;
  ++i;
  int labels = 0;
  int end = -1;
  for (;;) {
    const int start = i;
    while (i < nLen && IsLabelChar(s[i])) ++i;
    if (i == start) break;
    ++labels;
    end = i;
    if (i < nLen && s[i] == '.') {
      ++i;
    } else {
      break;
    }
  }
  if (labels < 2) return false;
  if (pnMatchLen) *pnMatchLen = end;
  return true;
}

bool IsURLAt(const char* pText, int nLen, int* pnMatchLen) {
  if (!pText || nLen <= 0) return false;
  const auto* s = reinterpret_cast<const unsigned char*>(pText);
  if (s[0] >= 0x80) return false;
  static const char* const kF[] = {"file://", "ftp://", nullptr};
  static const char* const kG[] = {"gopher://", nullptr};
  static const char* const kH[] = {"http://", "https://", nullptr};
  static const char* const kM[] = {"mailto:", nullptr};
  static const char* const kN[] = {"news:", "nntp://", nullptr};
  static const char* const kP[] = {"prospero://", nullptr};
  static const char* const kT[] = {"telnet://", "tp://", "ttp://", nullptr};
  static const char* const kW[] = {"wais://", nullptr};
  const char* const* group = nullptr;
  switch (s[0]) {
    case 'f':
      group = kF;
      break;
    case 'g':
      group = kG;
      break;
    case 'h':
      group = kH;
      break;
    case 'm':
      group = kM;
      break;
    case 'n':
      group = kN;
      break;
    case 'p':
      group = kP;
      break;
    case 't':
      group = kT;
      break;
    case 'w':
      group = kW;
      break;
    default:
      break;
  }
  for (; group && *group; ++group) {
    const int schemeLen = static_cast<int>(std::strlen(*group));
    if (schemeLen > nLen || std::memcmp(pText, *group, schemeLen) != 0) continue;
    if (std::strcmp(*group, "mailto:") == 0) {
      int mailLen = 0;
      if (!IsMailAddressAt(pText + schemeLen, nLen - schemeLen, &mailLen)) return false;
      if (pnMatchLen) *pnMatchLen = mailLen + schemeLen;
      return true;
    }
    int i = schemeLen;
    while (i < nLen && IsUrlChar(s[i])) ++i;
    if (i == schemeLen) return false;
    if (pnMatchLen) *pnMatchLen = i;
    return true;
  }
  return IsMailAddressAt(pText, nLen, pnMatchLen);
}

int GetNumberLiteralLength(const char* pText, int nPos, int nLen) {
  if (!pText || nPos < 0 || nPos >= nLen) return 0;
  const auto* s = reinterpret_cast<const unsigned char*>(pText);
  int i = nPos;
  if (s[i] == '-' && i + 1 < nLen) ++i;
  const int body = i;
  if (i + 1 < nLen && s[i] == '0' && s[i + 1] == 'x') {
    int j = i + 2;
    while (j < nLen && IsHexDigit(s[j])) ++j;
    if (j > i + 2) {
      if (j < nLen && (s[j] == 'L' || s[j] == 'l')) ++j;
      return j - nPos;
    }
    // "0x" without a digit is the number 0 followed by something else.
  }
  if (i >= nLen || !(IsDigit(s[i]) || s[i] == '.')) return 0;
  bool afterDot = false;
  bool exponent = false;
  while (i < nLen) {
    const unsigned char c = s[i];
    if (IsDigit(c)) {
      afterDot = false;
      ++i;
    } else if (c == '.') {
      if (afterDot || exponent) break;
      afterDot = true;
      ++i;
    } else if ((c == 'e' || c == 'E') && !exponent) {
      if (i + 1 < nLen && IsDigit(s[i + 1])) {
        i += 2;
      } else if (i + 2 < nLen && (s[i + 1] == '+' || s[i + 1] == '-') && IsDigit(s[i + 2])) {
        i += 3;
      } else {
        break;
      }
      exponent = true;
      afterDot = false;
    } else {
      break;
    }
  }
  if (afterDot) {
    // A final '.' is not part of the literal, and no suffix follows it.
    --i;
    return i > body ? i - nPos : 0;
  }
  bool dot = false;
  for (int k = body; k < i; ++k) dot = dot || s[k] == '.';
  if (i < nLen && (s[i] == 'f' || s[i] == 'F')) {
    ++i;
  } else if (i < nLen && (s[i] == 'l' || s[i] == 'L') && !dot) {
    ++i;
  }
  return i - nPos;
}
