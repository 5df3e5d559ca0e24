#include "editor/foundation/text/line_end.h"

#include "platform/sjis_literal.h"

namespace {

const char* const kNames[CLineEnd::CODEMAX] = {"改行無"_sj, "CRLF", "LFCR", "LF", "CR"};
const char* const kBytes[CLineEnd::CODEMAX] = {"", "\r\n", "\n\r", "\n", "\r"};
const char* const kBytesLe[CLineEnd::CODEMAX] = {"", "\r\0\n\0", "\n\0\r\0", "\n\0", "\r\0"};
const char* const kBytesBe[CLineEnd::CODEMAX] = {"", "\0\r\0\n", "\0\n\0\r", "\0\n", "\0\r"};
constexpr int kLengths[CLineEnd::CODEMAX] = {0, 2, 2, 1, 1};

template <typename Unit>
int Detect(Unit unit, int count) {
  if (count >= 2 && unit(0) == '\r' && unit(1) == '\n') return CLineEnd::CRLF;
  if (count >= 2 && unit(0) == '\n' && unit(1) == '\r') return CLineEnd::LFCR;
  if (count >= 1 && unit(0) == '\n') return CLineEnd::LF;
  if (count >= 1 && unit(0) == '\r') return CLineEnd::CR;
  return CLineEnd::NONE;
}

}  // namespace

bool CLineEnd::Set(int32_t code) {
  if (code >= NONE && code < CODEMAX) {
    m_nCode = code;
    return true;
  }
  m_nCode = CRLF;
  return false;
}

int CLineEnd::GetLen() const { return kLengths[m_nCode]; }
const char* CLineEnd::GetName() const { return kNames[m_nCode]; }
const char* CLineEnd::GetBytes() const { return kBytes[m_nCode]; }
const char* CLineEnd::GetBytesUtf16Le() const { return kBytesLe[m_nCode]; }
const char* CLineEnd::GetBytesUtf16Be() const { return kBytesBe[m_nCode]; }

int DetectLineEnd(const char* pData, int nDataLen) {
  if (!pData) return CLineEnd::NONE;
  return Detect([pData](int i) { return static_cast<unsigned>(static_cast<unsigned char>(pData[i])); }, nDataLen);
}

int DetectLineEndUtf16Le(const char* pUnits, int nUnitCount) {
  if (!pUnits) return CLineEnd::NONE;
  const auto* p = reinterpret_cast<const unsigned char*>(pUnits);
  return Detect([p](int i) { return static_cast<unsigned>(p[2 * i] | (p[2 * i + 1] << 8)); }, nUnitCount);
}

int DetectLineEndUtf16Be(const char* pUnits, int nUnitCount) {
  if (!pUnits) return CLineEnd::NONE;
  const auto* p = reinterpret_cast<const unsigned char*>(pUnits);
  return Detect([p](int i) { return static_cast<unsigned>((p[2 * i] << 8) | p[2 * i + 1]); }, nUnitCount);
}
