#include "editor/foundation/text/char_codes.h"

#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/sjis_char.h"
#include "platform/sjis.h"

const char* const kCodeLongNames[kCodeCount] = {"SJIS", "JIS", "EUC", "Unicode", "UTF-8", "UTF-7", "UniBE"};
const char* const kCodeShortNames[kCodeCount] = {"SJIS", "JIS", "EUC", "Uni", "UTF-8", "UTF-7", "UniBE"};
const char* const kCodeMenuSuffixes[kCodeCount] = {"  [SJIS]",  "  [JIS]",   "  [EUC]",  "  [Unicode]",
                                                   "  [UTF-8]", "  [UTF-7]", "  [UniBE]"};

namespace {

// Index of a trail byte among the 188 valid ones (0x40-0x7E, 0x80-0xFC).
int TrailIndex(unsigned trail) { return trail < 0x80 ? trail - 0x40 : trail - 0x41; }
unsigned TrailAt(int index) { return index < 63 ? 0x40 + index : 0x41 + index; }

// The IBM extension rows hold characters that the NEC-selected rows (and row 13) hold as well;
// only those have JIS codes.
unsigned IbmToNec(unsigned code) {
  if (code < 0xFA40 || code > 0xFC4B) return code;
  if (code <= 0xFA49) return 0xEEEF + (code - 0xFA40);
  if (code <= 0xFA53) return 0x8754 + (code - 0xFA4A);
  if (code <= 0xFA57) return 0xEEF9 + (code - 0xFA54);
  switch (code) {
    case 0xFA58:
      return 0x878A;
    case 0xFA59:
      return 0x8782;
    case 0xFA5A:
      return 0x8784;
    case 0xFA5B:
      return 0x879A;
    default:
      break;
  }
  // 0xFA5C-0xFC4B in order over the valid trail bytes become 0xED40-0xEEEC.
  const int from = ((code >> 8) - 0xFA) * 188 + TrailIndex(code & 0xFF) - TrailIndex(0x5C);
  const int to = TrailIndex(0x40) + from;
  return ((0xED + to / 188) << 8) | TrailAt(to % 188);
}

}  // namespace

uint16_t SjisCharToJis(unsigned char lead, unsigned char trail) {
  if (!IsSjisLeadByte(lead) || !IsSjisTrailByte(trail)) return 0;
  const unsigned code = IbmToNec((static_cast<unsigned>(lead) << 8) | trail);
  unsigned c1 = code >> 8;
  const unsigned c2 = code & 0xFF;
  if (c1 >= 0xF0) return 0;  // rows beyond 94
  if (c1 >= 0xE0) c1 -= 0x40;
  unsigned j1 = (c1 - 0x81) * 2 + 0x21;
  unsigned j2;
  if (c2 >= 0x9F) {
    ++j1;
    j2 = c2 - 0x7E;
  } else {
    j2 = c2 - (c2 >= 0x80 ? 0x20 : 0x1F);
  }
  return static_cast<uint16_t>((j1 << 8) | j2);
}

bool IsUtf7DirectChar(uint16_t u) {
  if (u == '\t' || u == '\n' || u == '\r' || u == ' ') return true;
  if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9')) return true;
  switch (u) {
    case '\'':
    case '(':
    case ')':
    case ',':
    case '-':
    case '.':
    case '/':
    case ':':
    case '?':
      return true;
    default:
      return false;
  }
}

int Base64DecodeInPlace(char* text, int len) {
  if (!text || len <= 0) return 0;
  int out = 0;
  uint32_t bits = 0;
  int count = 0;
  for (int i = 0; i < len && text[i] != '='; ++i) {
    const int v = Base64CharValue(static_cast<unsigned char>(text[i]));
    bits = (bits << 6) | static_cast<uint32_t>(v < 0 ? 0 : v);
    if (++count == 4) {
      text[out++] = static_cast<char>(bits >> 16);
      text[out++] = static_cast<char>(bits >> 8);
      text[out++] = static_cast<char>(bits);
      bits = 0;
      count = 0;
    }
  }
  if (count == 2) {
    text[out++] = static_cast<char>(bits >> 4);
  } else if (count == 3) {
    text[out++] = static_cast<char>(bits >> 10);
    text[out++] = static_cast<char>(bits >> 2);
  }
  return out;
}

namespace {
int HexValue(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}
}  // namespace

int QuotedPrintableDecodeInPlace(char* text, int len) {
  if (!text || len <= 0) return 0;
  int out = 0;
  for (int i = 0; i < len; ++i) {
    if (text[i] == '=' && i + 2 < len && HexValue(static_cast<unsigned char>(text[i + 1])) >= 0 &&
        HexValue(static_cast<unsigned char>(text[i + 2])) >= 0) {
      text[out++] = static_cast<char>(HexValue(static_cast<unsigned char>(text[i + 1])) * 16 +
                                      HexValue(static_cast<unsigned char>(text[i + 2])));
      i += 2;
    } else {
      text[out++] = text[i];
    }
  }
  return out;
}

namespace {
std::unique_ptr<CMemory> ConvertedCopy(const char* p, int len, int (CMemory::*convert)(), int* pnUnconverted) {
  auto result = std::make_unique<CMemory>(p, len);
  const int unconverted = ((*result).*convert)();
  if (pnUnconverted) *pnUnconverted = unconverted;
  return result;
}
}  // namespace

std::unique_ptr<CMemory> SjisToUcs2Alloc(const char* pSjis, int nLen, int* pnUnconverted) {
  return ConvertedCopy(pSjis, nLen, &CMemory::SJIStoUNICODE, pnUnconverted);
}

std::unique_ptr<CMemory> Ucs2ToSjisAlloc(const char* pUcs2, int nBytes, int* pnUnconverted) {
  return ConvertedCopy(pUcs2, nBytes, &CMemory::UNICODEtoSJIS, pnUnconverted);
}
