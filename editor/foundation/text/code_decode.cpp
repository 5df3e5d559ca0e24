// Base64 encoding and decoding of a whole buffer, and uudecode.
#include <string>

#include "editor/foundation/text/char_codes.h"
#include "editor/foundation/text/memory.h"

void CMemory::Base64Encode(int nLineLen, bool bPadding) {
  if (!m_pData) return;
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  const auto* s = reinterpret_cast<const unsigned char*>(m_pData);
  const int len = m_nLength;
  std::string text;
  text.reserve(static_cast<size_t>(len) / 3 * 4 + 8);
  int column = 0;
  auto put = [&](char c) {
    if (nLineLen > 0 && column >= nLineLen) {
      text += "\r\n";
      column = 0;
    }
    text += c;
    ++column;
  };
  int i = 0;
  for (; i + 3 <= len; i += 3) {
    const uint32_t v = (s[i] << 16) | (s[i + 1] << 8) | s[i + 2];
    put(kAlphabet[v >> 18]);
    put(kAlphabet[(v >> 12) & 0x3F]);
    put(kAlphabet[(v >> 6) & 0x3F]);
    put(kAlphabet[v & 0x3F]);
  }
  if (len - i == 1) {
    put(kAlphabet[s[i] >> 2]);
    put(kAlphabet[(s[i] & 0x03) << 4]);
    if (bPadding) {
      put('=');
      put('=');
    }
  } else if (len - i == 2) {
    const uint32_t v = (s[i] << 8) | s[i + 1];
    put(kAlphabet[v >> 10]);
    put(kAlphabet[(v >> 4) & 0x3F]);
    put(kAlphabet[(v << 2) & 0x3F]);
    if (bPadding) put('=');
  }
  Assign(text.data(), static_cast<int>(text.size()));
}

void CMemory::Base64Decode() {
  if (!m_pData) return;
  // Runs of alphabet characters decode in place; the result is never longer than the text.
  char* s = m_pData;
  const int len = m_nLength;
  int out = 0;
  int i = 0;
  while (i < len) {
    if (Base64CharValue(static_cast<unsigned char>(s[i])) < 0) {
      ++i;
      continue;
    }
    const int start = i;
    while (i < len && Base64CharValue(static_cast<unsigned char>(s[i])) >= 0) ++i;
    const int n = Base64DecodeInPlace(s + start, i - start);
    for (int k = 0; k < n; ++k) s[out + k] = s[start + k];
    out += n;
  }
  SetLength(out);
}

void CMemory::Uudecode(std::string& fileName) {
  fileName.clear();
  if (!m_pData) return;
  const char* s = m_pData;
  const int len = m_nLength;
  std::string bytes;
  bool begun = false;
  int pos = 0;
  while (pos < len) {
    while (pos < len && (s[pos] == '\r' || s[pos] == '\n')) ++pos;
    const int start = pos;
    while (pos < len && s[pos] != '\r' && s[pos] != '\n') ++pos;
    const std::string_view line(s + start, pos - start);
    if (line.empty()) continue;
    if (!begun) {
      if (line.starts_with("begin ")) {
        begun = true;
        // "begin <mode> <name...>": the name is the third field onward.
        size_t k = 6;
        while (k < line.size() && line[k] == ' ') ++k;
        while (k < line.size() && line[k] != ' ') ++k;
        while (k < line.size() && line[k] == ' ') ++k;
        fileName.assign(line.substr(k));
      }
      continue;
    }
    if (line.starts_with("end") || line[0] == ' ' || line[0] == '`') break;
    int count = (static_cast<unsigned char>(line[0]) - 0x20) & 0x3F;
    size_t k = 1;
    // Four characters give three bytes; a line that ends early gives what its characters hold.
    while (count > 0 && k < line.size()) {
      uint32_t v = 0;
      int have = 0;
      for (; have < 4 && k < line.size(); ++have, ++k)
        v = (v << 6) | ((static_cast<unsigned char>(line[k]) - 0x20) & 0x3F);
      v <<= 6 * (4 - have);
      const int available = have * 6 / 8;
      for (int b = 0; b < available && count > 0; ++b, --count) bytes += static_cast<char>(v >> (16 - 8 * b));
    }
  }
  Assign(bytes.data(), static_cast<int>(bytes.size()));
}
