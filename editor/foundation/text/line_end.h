// Line ends: the code stored with each document line, its bytes in single-byte text and in UTF-16
// of either order, its length and its name.
#pragma once

#include <cstdint>

class CLineEnd {
 public:
  enum : int32_t { NONE = 0, CRLF = 1, LFCR = 2, LF = 3, CR = 4, CODEMAX = 5 };

  CLineEnd() = default;
  explicit CLineEnd(int32_t code) { Set(code); }

  // Stores the code and gives true for 0-4; any other value stores CR LF and gives false.
  bool Set(int32_t code);
  int32_t GetCode() const { return m_nCode; }
  // Bytes of single-byte text, or 16-bit units of UTF-16.
  int GetLen() const;
  const char* GetName() const;
  const char* GetBytes() const;         // single-byte text
  const char* GetBytesUtf16Le() const;  // 2 * GetLen() bytes
  const char* GetBytesUtf16Be() const;

  bool operator==(const CLineEnd&) const = default;

 private:
  int32_t m_nCode = NONE;
};

// The line end that starts at the given position, 0 when none: CR LF, LF CR, LF and CR are tried in
// that order, each only when enough bytes (or units) remain.
int DetectLineEnd(const char* pData, int nDataLen);
// The same over 16-bit units of UTF-16 (count in units), compared in their byte order.
int DetectLineEndUtf16Le(const char* pUnits, int nUnitCount);
int DetectLineEndUtf16Be(const char* pUnits, int nUnitCount);
