#include "platform/sjis.h"

#include <vector>

#include "platform/cp932_decode_table.h"
#include "platform/cp932_encode_table.h"

namespace platform {
namespace {

// Both directions are flat tables of 65,536 entries from glibc's CP932 converter, built once;
// afterwards a conversion is a look-up and never touches iconv or the locale.
//
// The encode direction is iconv's own UTF-32 to CP932 conversion, not the decode table read
// backwards: text from Linux tools writes U+301C, U+2212, U+2016, U+00A5 and U+2014 for characters
// whose CP932 codes decode to other code points, and the IBM extension characters go to their IBM
// rows, as every other CP932 encoder does.
struct Tables {
  std::vector<uint16_t> toUnicode;    // indexed by the code, 0xFFFD where none
  std::vector<uint16_t> fromUnicode;  // indexed by the BMP code point, 0 where none

  Tables() : toUnicode(0x10000, 0xFFFD), fromUnicode(0x10000, 0) {
    for (unsigned c = 0; c < 0x80; ++c) {
      toUnicode[c] = static_cast<uint16_t>(c);
      fromUnicode[c] = static_cast<uint16_t>(c);
    }
    BuildDecode();
    BuildEncode();
  }

  // iconv's CP932 to UTF-32 conversion of every code, generated once and checked in: asking the
  // converter for each of its eleven thousand codes at start-up cost milliseconds (and the
  // loading of two converter modules) before its first frame.
  void BuildDecode() {
    for (const Cp932DecodePair& pair : kCp932DecodeTable) toUnicode[pair.code] = pair.codePoint;
  }

  // The pairs are iconv's UTF-32 to CP932 conversion over the BMP, generated once and checked in
  // (the compile-time literal encodes with the same pairs), so both encoders always agree.
  void BuildEncode() {
    for (const Cp932Pair& pair : kCp932EncodeTable) fromUnicode[pair.codePoint] = pair.code;
  }
};

const Tables& GetTables() {
  static const Tables tables;
  return tables;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at s[i]; advances i. Malformed input yields U+FFFD and one byte.
char32_t NextUtf8(std::string_view s, size_t& i) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
  if (extra < 0) {
    ++i;
    return 0xFFFD;
  }
  char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    if (i + k >= s.size()) {
      ++i;
      return 0xFFFD;
    }
    unsigned char t = static_cast<unsigned char>(s[i + k]);
    if ((t & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    cp = (cp << 6) | (t & 0x3F);
  }
  i += extra + 1;
  return cp;
}

}  // namespace

char32_t SjisCodeToUnicode(uint16_t code) { return GetTables().toUnicode[code]; }

uint16_t UnicodeToSjisCode(char32_t cp) {
  if (cp < 0x80) return static_cast<uint16_t>(cp);
  return cp < 0x10000 ? GetTables().fromUnicode[cp] : 0;
}

std::span<const uint16_t, 0x10000> SjisDecodeTable() {
  return std::span<const uint16_t, 0x10000>(GetTables().toUnicode.data(), 0x10000);
}

std::span<const uint16_t, 0x10000> SjisEncodeTable() {
  return std::span<const uint16_t, 0x10000>(GetTables().fromUnicode.data(), 0x10000);
}

std::string SjisToUtf8(std::string_view sjis) {
  std::string out;
  out.reserve(sjis.size() * 3 / 2);
  const auto& table = GetTables().toUnicode;
  for (size_t i = 0; i < sjis.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(sjis[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    uint16_t code = c;
    if (IsSjisLead(c)) {
      if (i + 1 >= sjis.size()) break;
      code = static_cast<uint16_t>((c << 8) | static_cast<unsigned char>(sjis[++i]));
    }
    AppendUtf8(out, table[code]);
  }
  return out;
}

std::string Utf8ToSjis(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp = NextUtf8(utf8, i);
    uint16_t code = UnicodeToSjisCode(cp);
    if (code == 0 && cp != 0) {
      out += '?';
    } else if (code > 0xFF) {
      out += static_cast<char>(code >> 8);
      out += static_cast<char>(code & 0xFF);
    } else {
      out += static_cast<char>(code);
    }
  }
  return out;
}

}  // namespace platform
