#include "editor/foundation/text/sjis_compare.h"

#include <cstring>

#include "editor/foundation/text/sjis_char.h"

int SjisCompareICase(const char* a, const char* b, int count, int step, bool bStopAtNul) {
  if (!a || !b) return a == b ? 0 : (a ? 1 : -1);
  bool trailA = false;
  bool trailB = false;
  for (int i = 0; count != 0; ++i, count -= step) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    // A NUL ends a C string even after a lead byte: it is never taken for a trail byte.
    const bool nulA = bStopAtNul && ca == 0;
    const bool nulB = bStopAtNul && cb == 0;
    const unsigned char fa =
        trailA || IsSjisLeadByte(ca) ? ca : static_cast<unsigned char>(AsciiToUpper(static_cast<char>(ca)));
    const unsigned char fb =
        trailB || IsSjisLeadByte(cb) ? cb : static_cast<unsigned char>(AsciiToUpper(static_cast<char>(cb)));
    if (fa != fb) return static_cast<int>(fa) - static_cast<int>(fb);
    if (nulA && nulB) return 0;
    trailA = !trailA && IsSjisLeadByte(ca);
    trailB = !trailB && IsSjisLeadByte(cb);
  }
  return 0;
}

int SjisMemICmp(const char* a, const char* b, int n) { return n <= 0 ? 0 : SjisCompareICase(a, b, n, 1, false); }

int SjisStrICmp(const char* a, const char* b) { return SjisCompareICase(a, b, -1, 0, true); }

int SjisStrNICmp(const char* a, const char* b, int n) { return n <= 0 ? 0 : SjisCompareICase(a, b, n, 1, true); }

const char* SjisStrIStr(const char* pszText, const char* pszPattern) {
  if (!pszText || !pszPattern) return nullptr;
  const int patternLen = static_cast<int>(std::strlen(pszPattern));
  for (const char* p = pszText;; p += SjisCharSizeZ(p)) {
    if (SjisStrNICmp(p, pszPattern, patternLen) == 0) return p;
    if (*p == '\0') return nullptr;
  }
}

const char* SjisFindLastOf2(const char* pszText, char c1, char c2) {
  if (!pszText) return nullptr;
  const char* last = nullptr;
  for (const char* p = pszText; *p; p += SjisCharSizeZ(p)) {
    if (SjisCharSizeZ(p) == 1 && (*p == c1 || *p == c2)) last = p;
  }
  return last;
}

bool HasExtension(const char* pszPath, const char* pszExt) {
  if (!pszPath || !pszExt) return false;
  const char* dot = nullptr;
  for (const char* p = pszPath; *p; p += SjisCharSizeZ(p)) {
    if (*p == '/') {
      dot = nullptr;
    } else if (*p == '.') {
      dot = p;
    }
  }
  return SjisStrICmp(dot ? dot + 1 : "", pszExt) == 0;
}
