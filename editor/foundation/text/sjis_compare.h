// Comparison and search of Shift-JIS text without regard to the case of ASCII letters. Bytes of
// double-byte characters are never folded, so 0x95 0x61 and 0x95 0x41 stay different.
#pragma once

inline char AsciiToUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Compares while count is not 0, taking step from it per byte (count -1 with step 0: no limit);
// with bStopAtNul two equal NUL bytes end the comparison as equal. Gives the difference of the
// first differing folded bytes (as unsigned), or 0.
int SjisCompareICase(const char* a, const char* b, int count, int step, bool bStopAtNul);
int SjisMemICmp(const char* a, const char* b, int n);
int SjisStrICmp(const char* a, const char* b);
int SjisStrNICmp(const char* a, const char* b, int n);

// The first character position of text where the pattern matches (SjisStrNICmp), or null.
const char* SjisStrIStr(const char* pszText, const char* pszPattern);
// The last position holding c1 or c2 outside double-byte characters, or null.
const char* SjisFindLastOf2(const char* pszText, char c1, char c2);
// The path's extension (after the last "." of its last level) equals ext without regard to case.
bool HasExtension(const char* pszPath, const char* pszExt);
