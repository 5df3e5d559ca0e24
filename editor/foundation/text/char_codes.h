// The seven character codes the editor reads and writes, their names, and the small per-character
// helpers that the conversions (CMemory members) and the code detection share.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

class CMemory;

// Code numbers, stored as signed 32-bit values in documents, records, settings and command lines.
enum : int32_t {
  kCodeSjis = 0,
  kCodeJis = 1,
  kCodeEuc = 2,
  kCodeUtf16Le = 3,  // UTF-16 little-endian
  kCodeUtf8 = 4,
  kCodeUtf7 = 5,
  kCodeUtf16Be = 6,
  kCodeCount = 7,
  kCodeDetect = 99,  // a request only, never the code of a document
};

// Indexed by the code 0-6.
extern const char* const kCodeLongNames[kCodeCount];     // long names ("Unicode")
extern const char* const kCodeShortNames[kCodeCount];    // short names ("Uni")
extern const char* const kCodeMenuSuffixes[kCodeCount];  // menu suffixes ("  [Unicode]")

// The geta mark, what a character without a Shift-JIS code becomes.
inline constexpr unsigned char kGetaLead = 0x81;
inline constexpr unsigned char kGetaTrail = 0xAC;

// JIS code (row and cell, 0x2121-0x7E7E) of one double-byte Shift-JIS character; the IBM extension
// rows are taken to their NEC-selected equivalents first. 0 when there is none.
uint16_t SjisCharToJis(unsigned char lead, unsigned char trail);
// Shift-JIS code of a JIS code whose two bytes are 0x21-0x7E; 0 otherwise.
inline uint16_t JisPairsToSjis(unsigned char j1, unsigned char j2) {
  if (j1 < 0x21 || j1 > 0x7E || j2 < 0x21 || j2 > 0x7E) return 0;
  const unsigned c2 = (j1 & 1) ? j2 + 0x1F + (j2 >= 0x60 ? 1 : 0) : j2 + 0x7Eu;
  unsigned c1 = ((j1 - 0x21u) >> 1) + 0x81;
  if (c1 > 0x9F) c1 += 0x40;
  return static_cast<uint16_t>((c1 << 8) | c2);
}
inline bool IsEucByte(unsigned char c) { return c >= 0xA1 && c <= 0xFE; }

// 3, 2 or 0: the length of the two- or three-byte UTF-8 sequence at p (len bytes available).
inline int Utf8SequenceLength(const unsigned char* p, int len) {
  if (len >= 3 && (p[0] & 0xF0) == 0xE0 && (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80) return 3;
  if (len >= 2 && (p[0] & 0xE0) == 0xC0 && (p[1] & 0xC0) == 0x80) return 2;
  return 0;
}
// The UTF-16 unit of a sequence of that length.
inline uint16_t Utf8SequenceToUcs2(const unsigned char* p, int seqLen) {
  if (seqLen == 3) return static_cast<uint16_t>(((p[0] & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F));
  if (seqLen == 2) return static_cast<uint16_t>(((p[0] & 0x1F) << 6) | (p[1] & 0x3F));
  return p[0];
}

// Characters UTF-7 writes as themselves: tab, LF, CR, space, ' ( ) , - . / 0-9 : ? A-Z a-z.
bool IsUtf7DirectChar(uint16_t unit);
namespace char_codes_detail {
inline constexpr auto kBase64Values = [] {
  std::array<int8_t, 256> values{};
  for (auto& v : values) v = -1;
  const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (int i = 0; i < 64; ++i) values[static_cast<unsigned char>(alphabet[i])] = static_cast<int8_t>(i);
  return values;
}();
}  // namespace char_codes_detail

// Value 0-63 of a character of the standard Base64 alphabet, -1 for any other byte.
inline int Base64CharValue(unsigned char c) { return char_codes_detail::kBase64Values[c]; }
// Decodes text[0, len) up to its first '=' in place; returns the byte count.
int Base64DecodeInPlace(char* text, int len);
// Decodes "=XY" (two hexadecimal digits) in place; any other byte, a lone "=" too, is kept.
int QuotedPrintableDecodeInPlace(char* text, int len);

// New buffers holding the UTF-16LE units of Shift-JIS text, and the Shift-JIS text of UTF-16LE units
// (the conversions of CMemory::SJIStoUNICODE and CMemory::UNICODEtoSJIS); *pnUnconverted, when given,
// gets the count of characters that could not be converted.
std::unique_ptr<CMemory> SjisToUcs2Alloc(const char* pSjis, int nLen, int* pnUnconverted);
std::unique_ptr<CMemory> Ucs2ToSjisAlloc(const char* pUcs2, int nBytes, int* pnUnconverted);
