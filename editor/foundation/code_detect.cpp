#include "editor/foundation/code_detect.h"

#include <algorithm>
#include <vector>

#include "editor/foundation/char_codes.h"
#include "editor/foundation/memory.h"
#include "editor/foundation/sjis_char.h"
#include "platform/file.h"
#include "platform/sjis.h"

int DetectBom(const char* pData, int nDataLen) {
  if (!pData || nDataLen < 2) return CODE_SJIS;
  const auto* p = reinterpret_cast<const unsigned char*>(pData);
  if (p[0] == 0xFF && p[1] == 0xFE) return CODE_UNICODE;
  if (p[0] == 0xFE && p[1] == 0xFF) return CODE_UNICODEBE;
  if (nDataLen >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) return CODE_UTF8;
  return CODE_SJIS;
}

bool IsSjisKana(uint16_t code) {
  return (code >= 0x829F && code <= 0x82F1) || (code >= 0x8340 && code <= 0x837E) || (code >= 0x8380 && code <= 0x8393);
}

namespace {

int EucScore(const unsigned char* s, int len) {
  int score = 0;
  int i = 0;
  while (i < len) {
    if (s[i] == 0x8E) {
      ++score;
      i += 2;
    } else if (IsEucByte(s[i]) && i + 1 < len && IsEucByte(s[i + 1])) {
      const uint16_t code = JisPairsToSjis(s[i] & 0x7F, s[i + 1] & 0x7F);
      if (code != 0) {
        if (IsSjisKana(code)) ++score;
        i += 2;
      } else {
        ++i;
      }
    } else {
      ++i;
    }
  }
  return score;
}

int SjisScore(const unsigned char* s, int len) {
  const uint16_t* dec = platform::SjisDecodeTable().data();
  int score = 0;
  int i = 0;
  while (i < len) {
    if (SjisCharSize(s, len, i) == 2) {
      const uint16_t code = static_cast<uint16_t>((s[i] << 8) | s[i + 1]);
      if (dec[code] != 0xFFFD && SjisCharToJis(s[i], s[i + 1]) != 0 && code < 0xE380) ++score;
      i += 2;
    } else {
      ++i;
    }
  }
  return score;
}

int JisScore(const unsigned char* s, int len) {
  int score = 0;
  int kanjiStart = -1;  // first byte after the escape of an open kanji run
  bool kana = false;
  for (int i = 0; i < len;) {
    if (s[i] == 0x1B && len - i >= 3) {
      const unsigned char a = s[i + 1], b = s[i + 2];
      if (a == '$' && (b == 'B' || b == '@')) {
        // A kanji run followed by another kanji escape counts nothing.
        kanjiStart = i + 3;
        kana = false;
        i += 3;
        continue;
      }
      if (a == '(' && (b == 'I' || b == 'B' || b == 'J')) {
        if (kanjiStart >= 0 && i > kanjiStart) score += (i - kanjiStart) / 2;
        kanjiStart = -1;
        kana = b == 'I';
        i += 3;
        continue;
      }
    }
    if (kana) ++score;
    ++i;
  }
  return score;
}

int Utf8Score(const unsigned char* s, int len) {
  const uint16_t* enc = platform::SjisEncodeTable().data();
  int score = 0;
  int i = 0;
  while (i < len) {
    const int n = Utf8SequenceLength(s + i, len - i);
    if (n == 0) {
      ++i;
      continue;
    }
    if (IsSjisKana(enc[Utf8SequenceToUcs2(s + i, n)])) score += n;
    i += n;
  }
  return score;
}

bool NotUtf7Byte(unsigned char c) { return c > 0x7F || c == '=' || c == '\\' || c == '~'; }

int Utf7Score(const unsigned char* s, int len) {
  const uint16_t* enc = platform::SjisEncodeTable().data();
  int good = 0;
  int bad = 0;
  int i = 0;
  while (i < len) {
    const unsigned char c = s[i];
    if (c == '+' && len - i >= 3 && s[i + 1] == '-') {
      i += 2;
      continue;
    }
    if (c == '+' && len - i >= 3 && Base64CharValue(s[i + 1]) >= 0) {
      const int start = i + 1;
      int end = start;
      while (end < len && Base64CharValue(s[end]) >= 0) ++end;
      if (end < len && s[end] == '-') {
        const int runLen = end - start;
        if (runLen >= 3) {
          std::vector<char> run(s + start, s + end);
          const int bytes = Base64DecodeInPlace(run.data(), runLen);
          if (bytes % 2 == 0) {
            for (int k = 0; k < bytes; k += 2) {
              const auto u = static_cast<uint16_t>((static_cast<unsigned char>(run[k]) << 8) | static_cast<unsigned char>(run[k + 1]));
              if (u == 0 || enc[u] != 0) {
                ++good;
              } else {
                ++bad;
              }
            }
          }
        }
        i = end + 1;
        continue;
      }
      // A run ended by the text's end, a line end or any other byte is not decoded.
      if (end < len && NotUtf7Byte(s[end])) return 0;
      i = end < len ? end + 1 : end;
      continue;
    }
    if (NotUtf7Byte(c)) return 0;
    ++i;
  }
  return bad > good / 2 ? 0 : good;
}

}  // namespace

int CMemory::DetectCode(const char* pData, int nDataLen) {
  if (!pData || nDataLen <= 0) return CODE_SJIS;
  if (const int bom = DetectBom(pData, nDataLen); bom != CODE_SJIS) return bom;
  const auto* s = reinterpret_cast<const unsigned char*>(pData);
  const int euc = EucScore(s, nDataLen);
  const int sjis = SjisScore(s, nDataLen);
  const int jis = JisScore(s, nDataLen);
  const int utf8 = Utf8Score(s, nDataLen);
  const int utf7 = Utf7Score(s, nDataLen);
  const struct {
    int code;
    int score;
  } order[] = {{CODE_EUC, euc}, {CODE_UTF7, utf7}, {CODE_UTF8, utf8}, {CODE_JIS, jis}};
  const int all[] = {euc, sjis, jis, utf8, utf7};
  const int best = *std::max_element(std::begin(all), std::end(all));
  for (const auto& candidate : order) {
    if (candidate.score > 0 && candidate.score >= best) return candidate.code;
  }
  return CODE_SJIS;
}

int CMemory::DetectFileCode(std::string_view path) {
  platform::ReadOnlyFile file;
  if (!file.Open(path, platform::PathMode::kExact)) return -1;
  platform::FileStamp stamp;
  if (!file.Stamp(stamp)) return -1;
  if (stamp.size == 0) return CODE_SJIS;
  const size_t size = static_cast<size_t>(std::min<uint64_t>(stamp.size, kDetectFileBytes));
  std::vector<unsigned char> block(size + 1, 0);
  if (!file.ReadAt(0, std::span(block.data(), size))) return -1;
  return DetectCode(reinterpret_cast<const char*>(block.data()), static_cast<int>(size));
}

int CMemory::AutoToSJIS() {
  switch (DetectCode(m_pData, m_nDataLen)) {
    case CODE_JIS: return JIStoSJIS(true);
    case CODE_EUC: return EUCtoSJIS();
    case CODE_UNICODE: return UNICODEtoSJIS();
    case CODE_UTF8: return UTF8toSJIS();
    case CODE_UTF7: return UTF7toSJIS();
    case CODE_UNICODEBE: return UNICODEBEtoSJIS();
    default: return 0;
  }
}
