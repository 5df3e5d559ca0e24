// Comparisons of Shift-JIS text that ignore the case of ASCII letters only: a byte that belongs to a
// double-byte character is compared as it stands, so a trail byte that happens to be a letter
// ("\x95\x61") is never folded, and full-width letters keep their case.
#pragma once

#include <cstddef>

// Compares a and b byte by byte, each string keeping its own lead/trail state. count is decreased
// by step per byte (step 0 with count -1 compares without limit); with stopAtNul two NUL bytes end
// the comparison as equal. Returns the difference of the first differing folded bytes, or 0.
int SjisCompareICase(const char* a, const char* b, int count, int step, bool stopAtNul);

inline int SjisMemICmp(const char* a, const char* b, int n) { return SjisCompareICase(a, b, n, 1, false); }
inline int SjisStrICmp(const char* a, const char* b) { return SjisCompareICase(a, b, -1, 0, true); }
inline int SjisStrNICmp(const char* a, const char* b, int n) { return SjisCompareICase(a, b, n, 1, true); }
