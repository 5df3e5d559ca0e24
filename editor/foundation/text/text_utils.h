// Small text functions shared by the editor: tokens, numbers, bounded copies, format expansion and
// the line splitter.
#pragma once

#include "editor/foundation/text/line_end.h"
#include "editor/foundation/text/memory.h"
#include "platform/win_types.h"

// From *pnPos, the next token of buffer[0, nLen) that is not empty: a separator byte (one of
// pszSeparators, outside double quotes and outside double-byte characters) ends it and is
// overwritten by NUL. Quotes stay in the token. Null at the end.
char* NextTokenOutsideQuotes(char* pBuffer, int nLen, int* pnPos, const char* pszSeparators);

// From the first digit: the run of digits gives *pnFirst; after a comma the next run gives
// *pnSecond. Nothing is written without a digit. Numbers saturate at INT32_MAX.
void ParseNumberPair(const char* pszText, int* pnFirst, int* pnSecond);

// The longest prefix of whole characters of at most nLimit bytes, into out; returns its length.
int CopyWholeCharsPrefix(const char* pText, int nLen, int nLimit, CMemory& out);

// Copies at most nDestSize - 1 bytes (none for size 0); no terminator. Returns the end of the copy.
char* CopyBounded(char* pDest, int nDestSize, const char* pSrc, int nSrcLen);

// Copies the source, writing inserted before every byte equal to c, as far as the destination
// holds (terminated); returns the length written.
int DoubleChar(const char* pszSrc, char* pDest, int nDestSize, char c, char inserted);

// Copies the format into the destination (terminated, at most nDestSize - 1 bytes), replacing %Y,
// %y, %m, %d, %H, %M and %S by the time's fields; '%' before any other character gives that
// character, and a '%' that ends the format is copied.
void ExpandDateTimeFormat(char* pDest, int nDestSize, const char* pszFormat, const SYSTEMTIME& time);

// The next line of pData[0, nLen) from *pnPos: it runs to the first CR or LF; *pnLineLen is its
// length without the line end, *pcEol the line end; *pnPos moves past it. Null at the end.
const char* GetNextLineOfBuffer(const char* pData, int nLen, int* pnPos, int* pnLineLen, CLineEnd* pcEol);
