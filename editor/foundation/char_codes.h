// The seven character codes the editor reads and writes, their names, and the small per-character
// helpers that the conversions (CMemory members) and the code detection share.
#pragma once

#include <cstdint>

// Code numbers, stored as signed 32-bit values in documents, records, settings and command lines.
enum : int32_t {
  CODE_SJIS = 0,
  CODE_JIS = 1,
  CODE_EUC = 2,
  CODE_UNICODE = 3,  // UTF-16 little-endian
  CODE_UTF8 = 4,
  CODE_UTF7 = 5,
  CODE_UNICODEBE = 6,
  CODE_CODEMAX = 7,
  CODE_AUTODETECT = 99,  // a request only, never the code of a document
};

// Indexed by the code 0-6.
extern const char* const gm_pszCodeNameArr_1[CODE_CODEMAX];  // long names ("Unicode")
extern const char* const gm_pszCodeNameArr_2[CODE_CODEMAX];  // short names ("Uni")
extern const char* const gm_pszCodeNameArr_3[CODE_CODEMAX];  // menu suffixes ("  [Unicode]")

// The geta mark, what a character without a Shift-JIS code becomes.
inline constexpr unsigned char kGetaLead = 0x81;
inline constexpr unsigned char kGetaTrail = 0xAC;

// JIS code (row and cell, 0x2121-0x7E7E) of one double-byte Shift-JIS character; the IBM extension
// rows are taken to their NEC-selected equivalents first. 0 when there is none.
uint16_t SjisCharToJis(unsigned char lead, unsigned char trail);
// Shift-JIS code of a JIS code whose two bytes are 0x21-0x7E; 0 otherwise.
uint16_t JisPairsToSjis(unsigned char j1, unsigned char j2);
inline bool IsEucByte(unsigned char c) { return c >= 0xA1 && c <= 0xFE; }

// 3, 2 or 0: the length of the two- or three-byte UTF-8 sequence at p (len bytes available).
int Utf8SequenceLength(const unsigned char* p, int len);
// The UTF-16 unit of a sequence of that length.
uint16_t Utf8SequenceToUcs2(const unsigned char* p, int seqLen);

// Characters UTF-7 writes as themselves: tab, LF, CR, space, ' ( ) , - . / 0-9 : ? A-Z a-z.
bool IsUtf7DirectChar(uint16_t unit);
// Value 0-63 of a character of the standard Base64 alphabet, -1 for any other byte.
int Base64CharValue(unsigned char c);
// Decodes text[0, len) up to its first '=' in place; returns the byte count.
int Base64DecodeInPlace(char* text, int len);
// Decodes "=XY" (two hexadecimal digits) in place; any other byte, a lone "=" too, is kept.
int QuotedPrintableDecodeInPlace(char* text, int len);

// Shift-JIS code of a UTF-16 unit through CP932's encoder; 0 when none (and for U+0000).
uint16_t UnicodeUnitToSjis(uint16_t unit);
