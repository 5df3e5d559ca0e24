// Japanese text in narrow string literals: "ファイルが見つかりません"_sj.
//
// Text inside the program is Shift-JIS (code page 932), but source files are UTF-8 and the compilers
// we build with (g++ and clang) are left at their UTF-8 execution character set. The literal operator
// below re-encodes the UTF-8 bytes of its literal to CP932 while compiling and yields a reference to a
// static, zero-terminated char array, so it stands wherever a narrow literal did: a `const char*`, a
// `std::string_view`, a format string, a table entry, `sizeof`.
//
// A character CP932 cannot encode, or bytes that are not UTF-8, stop the build. ASCII passes through
// unchanged, so escapes such as "\n" and "%d" keep their meaning.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "platform/cp932_encode_table.h"

namespace platform::sjis_literal_detail {

// A failed encoding is reported by calling this, which no constant expression can.
inline void NotEncodableAsShiftJis() {}

constexpr uint16_t Cp932Code(uint32_t codePoint) {
  std::size_t lo = 0, hi = sizeof kCp932EncodeTable / sizeof kCp932EncodeTable[0];
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    if (kCp932EncodeTable[mid].codePoint < codePoint)
      lo = mid + 1;
    else
      hi = mid;
  }
  if (lo == sizeof kCp932EncodeTable / sizeof kCp932EncodeTable[0] || kCp932EncodeTable[lo].codePoint != codePoint)
    NotEncodableAsShiftJis();
  return kCp932EncodeTable[lo].code;
}

// Decodes the UTF-8 character at text[i] (text holds n bytes before its terminating zero); i moves
// past it.
constexpr uint32_t NextCodePoint(const char* text, std::size_t n, std::size_t& i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char first = byte(i);
  if (first < 0x80) {
    ++i;
    return first;
  }
  std::size_t length = 0;
  uint32_t cp = 0;
  if ((first & 0xE0) == 0xC0)
    length = 2, cp = first & 0x1F;
  else if ((first & 0xF0) == 0xE0)
    length = 3, cp = first & 0x0F;
  else
    NotEncodableAsShiftJis();  // a stray continuation byte, or a character outside the BMP
  if (i + length > n) NotEncodableAsShiftJis();
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) NotEncodableAsShiftJis();
    cp = cp << 6 | (byte(i + k) & 0x3F);
  }
  if (cp < (length == 2 ? 0x80u : 0x800u)) NotEncodableAsShiftJis();  // overlong
  i += length;
  return cp;
}

// Bytes of the encoded text, with its terminating zero.
constexpr std::size_t EncodedSize(const char* text, std::size_t n) {
  std::size_t size = 1;
  for (std::size_t i = 0; i < n;) {
    const uint32_t cp = NextCodePoint(text, n, i);
    size += cp < 0x80 || Cp932Code(cp) < 0x100 ? 1 : 2;
  }
  return size;
}

template <std::size_t N>
struct SjisArray {
  char bytes[N]{};
};

template <std::size_t N>
constexpr SjisArray<N> Encode(const char* text, std::size_t n) {
  SjisArray<N> out;
  std::size_t o = 0;
  for (std::size_t i = 0; i < n;) {
    const uint32_t cp = NextCodePoint(text, n, i);
    const uint16_t code = cp < 0x80 ? static_cast<uint16_t>(cp) : Cp932Code(cp);
    if (code >= 0x100) out.bytes[o++] = static_cast<char>(code >> 8);
    out.bytes[o++] = static_cast<char>(code & 0xFF);
  }
  return out;
}

template <char... kBytes>
struct Utf8Text {
  static constexpr char text[] = {kBytes..., '\0'};
};

template <char... kBytes>
inline constexpr auto kEncoded =
    Encode<EncodedSize(Utf8Text<kBytes...>::text, sizeof...(kBytes))>(Utf8Text<kBytes...>::text, sizeof...(kBytes));

}  // namespace platform::sjis_literal_detail

// The operator is constexpr rather than consteval: clang 14 leaves a consteval call inside some
// function templates unevaluated and then fails to link it. The encoding is a constant either way,
// since the encoded array is a constexpr variable.
//
// The literal's bytes arrive as a character pack, a form g++ and clang have long accepted as an
// extension. The standard form, a class-type template argument, crashes clang 14 whenever a
// diagnostic prints an expression holding such a literal.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wgnu-string-literal-operator-template"
#endif
template <typename Char, Char... kBytes>
constexpr const auto& operator""_sj() {
  static_assert(std::is_same_v<Char, char>, "the _sj suffix is for narrow literals");
  return platform::sjis_literal_detail::kEncoded<static_cast<char>(kBytes)...>.bytes;
}
#if defined(__clang__)
#pragma clang diagnostic pop
#endif
