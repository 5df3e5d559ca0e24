#include "editor/foundation/text/text_utils.h"

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "editor/foundation/text/sjis_char.h"

namespace {

bool IsSeparator(unsigned char c, const char* separators) {
  // Separators are single-byte characters of their own text.
  for (const char* s = separators; *s; s += SjisCharSizeZ(s)) {
    if (SjisCharSizeZ(s) == 1 && static_cast<unsigned char>(*s) == c) return true;
  }
  return false;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Leading digits of text as a number that stops growing at INT32_MAX.
int SaturatedNumber(const char*& p) {
  int64_t value = 0;
  while (IsDigit(*p)) {
    value = value * 10 + (*p - '0');
    if (value > INT32_MAX) value = INT32_MAX;
    ++p;
  }
  return static_cast<int>(value);
}

}  // namespace

char* NextTokenOutsideQuotes(char* pBuffer, int nLen, int* pnPos, const char* pszSeparators) {
  if (!pBuffer || !pnPos || !pszSeparators) return nullptr;
  const auto* s = reinterpret_cast<const unsigned char*>(pBuffer);
  while (*pnPos < nLen) {
    const int start = *pnPos;
    bool quoted = false;
    int i = start;
    while (i < nLen) {
      const int size = SjisCharSize(s, nLen, i);
      if (size == 1) {
        if (s[i] == '"') {
          quoted = !quoted;
        } else if (!quoted && IsSeparator(s[i], pszSeparators)) {
          break;
        }
      }
      i += size;
    }
    if (i < nLen) {
      pBuffer[i] = '\0';
      *pnPos = i + 1;
    } else {
      *pnPos = nLen;
    }
    if (i > start) return pBuffer + start;
  }
  return nullptr;
}

void ParseNumberPair(const char* pszText, int* pnFirst, int* pnSecond) {
  if (!pszText) return;
  const char* p = pszText;
  while (*p && !IsDigit(*p)) p += SjisCharSizeZ(p);
  if (!*p) return;
  const int first = SaturatedNumber(p);
  if (pnFirst) *pnFirst = first;
  if (*p == ',') {
    ++p;
    if (IsDigit(*p) && pnSecond) *pnSecond = SaturatedNumber(p);
  }
}

int CopyWholeCharsPrefix(const char* pText, int nLen, int nLimit, CMemory& out) {
  int len = 0;
  if (pText) {
    const auto* s = reinterpret_cast<const unsigned char*>(pText);
    while (len < nLen) {
      const int size = SjisCharSize(s, nLen, len);
      if (len + size > nLimit) break;
      len += size;
    }
  }
  out.Assign(pText, len);
  return len;
}

char* CopyBounded(char* pDest, int nDestSize, const char* pSrc, int nSrcLen) {
  if (!pDest || !pSrc || nDestSize <= 0 || nSrcLen <= 0) return pDest;
  const int n = nSrcLen < nDestSize - 1 ? nSrcLen : nDestSize - 1;
  std::memcpy(pDest, pSrc, n);
  return pDest + n;
}

int DoubleChar(const char* pszSrc, char* pDest, int nDestSize, char c, char inserted) {
  if (!pDest || nDestSize <= 0) return 0;
  int out = 0;
  for (const char* p = pszSrc ? pszSrc : ""; *p; ++p) {
    const int need = *p == c ? 2 : 1;
    if (out + need > nDestSize - 1) break;
    if (*p == c) pDest[out++] = inserted;
    pDest[out++] = *p;
  }
  pDest[out] = '\0';
  return out;
}

void ExpandDateTimeFormat(char* pDest, int nDestSize, const char* pszFormat, const SYSTEMTIME& time) {
  if (!pDest || nDestSize <= 0) return;
  int out = 0;
  auto put = [&](const char* text, int n) {
    for (int i = 0; i < n && out < nDestSize - 1; ++i) pDest[out++] = text[i];
  };
  for (const char* p = pszFormat ? pszFormat : ""; *p; ++p) {
    if (*p != '%') {
      put(p, 1);
      continue;
    }
    if (p[1] == '\0') {
      put(p, 1);  // a '%' that ends the format stands for itself
      break;
    }
    ++p;
    // %Y is the year as it stands; the others are two digits.
    int value = -1;
    switch (*p) {
      case 'Y':
        value = time.wYear;
        break;
      case 'y':
        value = time.wYear % 100;
        break;
      case 'm':
        value = time.wMonth;
        break;
      case 'd':
        value = time.wDay;
        break;
      case 'H':
        value = time.wHour;
        break;
      case 'M':
        value = time.wMinute;
        break;
      case 'S':
        value = time.wSecond;
        break;
      default:
        break;
    }
    char number[16];
    const int n = value < 0 ? -1 : std::snprintf(number, sizeof number, *p == 'Y' ? "%d" : "%02d", value);
    if (n >= 0) {
      put(number, n);
    } else {
      put(p, 1);
    }
  }
  pDest[out] = '\0';
}

namespace {

// The index of the first CR or LF of pData[i, nLen), nLen when there is none. Loading a file splits
// every line with it, so it looks at eight bytes a step: a byte equal to CR or LF is a zero byte
// of the word XORed with that byte, and the lowest flagged byte of the zero-byte test is always a
// true one (a borrow only runs upward).
int FindCrOrLf(const char* pData, int i, int nLen) {
  constexpr uint64_t kOnes = 0x0101010101010101ull;
  constexpr uint64_t kHighs = 0x8080808080808080ull;
  while (nLen - i >= 8) {
    uint64_t w;
    std::memcpy(&w, pData + i, 8);
    const uint64_t cr = w ^ (kOnes * '\r');
    const uint64_t lf = w ^ (kOnes * '\n');
    const uint64_t hits = ((cr - kOnes) & ~cr & kHighs) | ((lf - kOnes) & ~lf & kHighs);
    if (hits) {
      if constexpr (std::endian::native == std::endian::little) return i + std::countr_zero(hits) / 8;
      break;
    }
    i += 8;
  }
  while (i < nLen && pData[i] != '\r' && pData[i] != '\n') ++i;
  return i;
}

}  // namespace

const char* GetNextLineOfBuffer(const char* pData, int nLen, int* pnPos, int* pnLineLen, CLineEnd* pcEol) {
  if (!pData || !pnPos || *pnPos < 0 || *pnPos >= nLen) return nullptr;
  const int start = *pnPos;
  const int i = FindCrOrLf(pData, start, nLen);
  const int eol = DetectLineEnd(pData + i, nLen - i);
  if (pnLineLen) *pnLineLen = i - start;
  if (pcEol) pcEol->Set(eol);
  CLineEnd end(eol);
  *pnPos = i + end.GetLen();
  return pData + start;
}
