// Which of the seven codes a text is in: a byte-order mark, else five scores compared in a fixed
// order (CMemory::DetectCode, CMemory::DetectFileCode, CMemory::AutoToSJIS).
#pragma once

#include <cstdint>

// 3 for FF FE, 6 for FE FF, 4 for EF BB BF, else 0 (also for null or fewer than two bytes).
int DetectBom(const char* pData, int nDataLen);

// Shift-JIS hiragana (0x829F-0x82F1) and katakana (0x8340-0x837E, 0x8380-0x8393).
inline bool IsSjisKana(uint16_t code) {
  return (code >= 0x829F && code <= 0x82F1) || (code >= 0x8340 && code <= 0x837E) || (code >= 0x8380 && code <= 0x8393);
}

// How many bytes of a file the detection reads.
inline constexpr int kDetectFileBytes = 16384;

// The five scores that CMemory::DetectCode compares (a byte-order mark aside).
struct CodeScores {
  int euc = 0;
  int sjis = 0;
  int jis = 0;
  int utf8 = 0;
  int utf7 = 0;
  bool operator==(const CodeScores&) const = default;
};
CodeScores ScoreCodes(const unsigned char* s, int len);
