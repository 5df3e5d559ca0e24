// Scanners the painter colours with: each looks at the text from a position and gives the length of
// what it finds there. They compare bytes exactly (schemes are case-sensitive).
#pragma once

// A URL of one of the known schemes (or a mail address) at the start of text[0, nLen).
bool IsURLAt(const char* pText, int nLen, int* pnMatchLen);
// A mail address (local part, "@", at least two domain labels) at the start of text[0, nLen).
bool IsMailAddressAt(const char* pText, int nLen, int* pnMatchLen);
// The length of the number literal at text[nPos] (text of nLen bytes); 0 for none.
int GetNumberLiteralLength(const char* pText, int nPos, int nLen);
