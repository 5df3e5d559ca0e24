#include "editor/foundation/text/file_reader.h"

#include <cstdlib>
#include <cstring>
#include <span>

#include "editor/foundation/text/char_codes.h"
#include "editor/foundation/text/code_detect.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/text_utils.h"
#include "platform/file_lock.h"

namespace {

bool IsUtf16(int code) { return code == kCodeUtf16Le || code == kCodeUtf16Be; }

template <bool kBigEndian>
const char* SplitLineUtf16(const char* pUnits, int nUnitCount, int* pnPos, int* pnLineLen, CLineEnd* pcEol) {
  if (!pUnits || !pnPos || *pnPos < 0 || *pnPos >= nUnitCount) return nullptr;
  const auto* u = reinterpret_cast<const unsigned char*>(pUnits);
  const int start = *pnPos;
  int i = start;
  for (; i < nUnitCount; ++i) {
    const unsigned char hi = kBigEndian ? u[2 * i] : u[2 * i + 1];
    const unsigned char lo = kBigEndian ? u[2 * i + 1] : u[2 * i];
    if (hi == 0 && (lo == '\r' || lo == '\n')) break;
  }
  const int eol = kBigEndian ? DetectLineEndUtf16Be(pUnits + 2 * i, nUnitCount - i)
                             : DetectLineEndUtf16Le(pUnits + 2 * i, nUnitCount - i);
  if (pnLineLen) *pnLineLen = i - start;
  if (pcEol) pcEol->Set(eol);
  *pnPos = i + CLineEnd(eol).GetLen();
  return pUnits + 2 * start;
}

}  // namespace

const char* SplitLineUtf16Le(const char* pUnits, int nUnitCount, int* pnPos, int* pnLineLen, CLineEnd* pcEol) {
  return SplitLineUtf16<false>(pUnits, nUnitCount, pnPos, pnLineLen, pcEol);
}

const char* SplitLineUtf16Be(const char* pUnits, int nUnitCount, int* pnPos, int* pnLineLen, CLineEnd* pcEol) {
  return SplitLineUtf16<true>(pUnits, nUnitCount, pnPos, pnLineLen, pcEol);
}

CFileReader::~CFileReader() { Close(); }

int CFileReader::Open(const char* pszPath, int nCode, int32_t nFlags, bool* pbBomPresent) {
  if (m_nState != kClosed) throw CError_FileOpen();
  // Root could open a file whose mode bits forbid reading; the editor goes by the bits.
  if (!pszPath || !CheckPathAccess(pszPath, 4)) throw CError_FileOpen();
  if (!m_file.Open(pszPath, platform::PathMode::kExact)) throw CError_FileOpen();
  platform::FileStamp stamp;
  // Another editor process edits the file under its exclusive lock: it is not to be read meanwhile.
  if (!m_file.Stamp(stamp) || stamp.size >= kMaxFileSize || platform::IsLockedExclusively(pszPath)) {
    m_file.Close();
    throw CError_FileOpen();
  }
  m_file.AdviseSequential();
  m_nFileSize = static_cast<int32_t>(stamp.size);
  m_nProgressTotal = m_nFileSize;
  m_nConsumed = 0;
  m_nLineCount = 0;
  m_nFlags = nFlags;
  m_nUnconverted = 0;
  m_nFileOffset = 0;
  m_nState = kReading;
  try {
    FillBuffer();
  } catch (...) {
    Close();
    throw;
  }
  if (nCode == kCodeDetect) nCode = CMemory::DetectCode(m_pBlock, m_nBlockFill);
  if (nCode < 0 || nCode >= kCodeCount) nCode = kCodeSjis;
  m_nCode = nCode;
  const int bom = DetectBom(m_pBlock, m_nBlockFill);
  if (bom != 0 && bom == nCode) {
    const int skip = nCode == kCodeUtf8 ? 3 : 2;
    m_nReadPos = skip;
    m_nProgressTotal -= skip;
    m_bBomPresent = 1;
  } else {
    m_bBomPresent = 0;
  }
  if (pbBomPresent) *pbBomPresent = m_bBomPresent != 0;
  return m_nCode;
}

void CFileReader::FillBuffer() {
  if (m_pBlock) {
    const int32_t unread = m_nBlockFill - m_nReadPos;
    if (unread > 0 && m_nReadPos > 0) std::memmove(m_pBlock, m_pBlock + m_nReadPos, unread);
    m_nBlockFill = unread > 0 ? unread : 0;
    m_nReadPos = 0;
  } else {
    const int32_t capacity = m_nFileSize > kBlockSize - 1 ? kBlockSize : (m_nFileSize == 0 ? 1 : m_nFileSize);
    m_pBlock = static_cast<char*>(CMemory::ReallocBlock(nullptr, static_cast<size_t>(capacity)));
    if (!m_pBlock) throw CError_FileRead();
    m_nBlockCapacity = capacity;
    m_nBlockFill = 0;
    m_nReadPos = 0;
  }
  const int64_t got = m_file.ReadSome(static_cast<uint64_t>(m_nFileOffset),
                                      std::span(reinterpret_cast<unsigned char*>(m_pBlock) + m_nBlockFill,
                                                static_cast<size_t>(m_nBlockCapacity - m_nBlockFill)));
  if (got < 0) throw CError_FileRead();
  if (got == 0) {
    m_nState = kEndOfFile;
    return;
  }
  m_nFileOffset += got;
  m_nBlockFill += static_cast<int32_t>(got);
}

void CFileReader::FreeBuffer() {
  std::free(m_pBlock);
  m_pBlock = nullptr;
  m_nBlockCapacity = 0;
  m_nBlockFill = 0;
  m_nReadPos = 0;
}

const char* CFileReader::SplitLine(int* pnLineLen, CLineEnd* pcEol) {
  if (!IsUtf16(m_nCode)) return GetNextLineOfBuffer(m_pBlock, m_nBlockFill, &m_nReadPos, pnLineLen, pcEol);
  const char* start = m_pBlock + m_nReadPos;
  const int32_t avail = m_nBlockFill - m_nReadPos;
  if (avail < 2) {
    // An odd last byte of the file is the last line's; before the end it waits for its partner.
    if (avail == 1 && m_nState == kEndOfFile) {
      *pnLineLen = 1;
      pcEol->Set(CLineEnd::NONE);
      m_nReadPos = m_nBlockFill;
      return start;
    }
    return nullptr;
  }
  int pos = 0;
  int units = 0;
  if (m_nCode == kCodeUtf16Le) {
    SplitLineUtf16Le(start, avail / 2, &pos, &units, pcEol);
  } else {
    SplitLineUtf16Be(start, avail / 2, &pos, &units, pcEol);
  }
  *pnLineLen = units * 2;
  m_nReadPos += pos * 2;
  if (pcEol->GetCode() == CLineEnd::NONE && m_nBlockFill - m_nReadPos == 1 && m_nState == kEndOfFile) {
    ++*pnLineLen;
    ++m_nReadPos;
  }
  return start;
}

const char* CFileReader::ReadLine(int* pnLen, CLineEnd* pcEol) {
  CLineEnd eol;
  int rawLen = 0;
  const char* whole = nullptr;  // the raw line when it lies in the block in one piece
  if (pnLen) *pnLen = 0;
  if (pcEol) *pcEol = eol;
  if (m_nState == kClosed) return nullptr;
  const uint64_t failures = CMemory::GetAllocFailureCount();
  const int unit = IsUtf16(m_nCode) ? 2 : 1;
  m_cLineBuffer.ReplaceInBlock(0, m_cLineBuffer.GetLength(), nullptr, 0);
  bool pieces = false;
  for (;;) {
    int len = 0;
    const char* p = SplitLine(&len, &eol);
    if (!p) {
      if (m_nState == kEndOfFile) break;
      FillBuffer();
      continue;
    }
    rawLen += len;
    if (m_nBlockFill - m_nReadPos >= unit || m_nState == kEndOfFile) {
      if (pieces) {
        m_cLineBuffer.Append(p, len);
      } else {
        whole = p;
      }
      break;
    }
    // The line runs to the block's end: its line end may go on in the next block (a CR before an
    // LF there), so it is looked at again with what follows.
    m_cLineBuffer.Append(p, len);
    pieces = true;
    m_nReadPos -= eol.GetLen() * unit;
    eol.Set(CLineEnd::NONE);
    FillBuffer();
  }
  m_nConsumed += rawLen;
  ++m_nLineCount;
  if (rawLen == 0 && eol.GetCode() == CLineEnd::NONE) {
    m_cLineBuffer.ReplaceInBlock(0, m_cLineBuffer.GetLength(), nullptr, 0);
    return nullptr;
  }
  const char* result = nullptr;
  int resultLen = 0;
  if (m_nCode == kCodeSjis && whole) {
    // Shift-JIS in one piece is handed out from the block as it stands, line end included.
    result = whole;
    resultLen = rawLen + eol.GetLen();
  } else {
    if (whole) m_cLineBuffer.Append(whole, rawLen);
    if (!ConvertLine()) throw CError_FileRead();
    // A last line that converts to nothing (an escape sequence alone, the odd byte of UTF-16) is
    // no line: the document never ends with an empty line that has no line end.
    if (m_cLineBuffer.GetLength() == 0 && eol.GetCode() == CLineEnd::NONE) {
      if (CMemory::GetAllocFailureCount() != failures) throw CError_FileRead();
      return nullptr;
    }
    m_cLineBuffer.Append(eol.GetBytes(), eol.GetLen());
    result = m_cLineBuffer.GetPtr();
    resultLen = m_cLineBuffer.GetLength();
  }
  if (CMemory::GetAllocFailureCount() != failures || !result) throw CError_FileRead();
  if (pnLen) *pnLen = resultLen;
  if (pcEol) *pcEol = eol;
  return result;
}

bool CFileReader::ConvertLine() {
  // By code; JIS takes the MIME option and has no entry.
  static constexpr int (CMemory::*kToSjis[kCodeCount])() = {nullptr,
                                                            nullptr,
                                                            &CMemory::EUCtoSJIS,
                                                            &CMemory::UNICODEtoSJIS,
                                                            &CMemory::UTF8toSJIS,
                                                            &CMemory::UTF7toSJIS,
                                                            &CMemory::UNICODEBEtoSJIS};
  CMemory& m = m_cLineBuffer;
  if (m_nCode == kCodeJis) {
    m_nUnconverted += m.JIStoSJIS((m_nFlags & kDecodeMimeHeaders) != 0);
  } else if (kToSjis[m_nCode]) {
    m_nUnconverted += (m.*kToSjis[m_nCode])();
  }
  return m.GetPtr() != nullptr;
}

int CFileReader::GetProgressPercent() const {
  if (m_nProgressTotal == 0 || m_nProgressTotal < m_nConsumed) return 100;
  if (m_nProgressTotal > 65535) return (m_nConsumed / 128 * 100) / (m_nProgressTotal / 128);
  return m_nConsumed * 100 / m_nProgressTotal;
}

bool CFileReader::GetLastWriteTime(int64_t* pModifiedNs) const {
  platform::FileStamp stamp;
  if (!m_file.IsOpen() || !m_file.Stamp(stamp)) return false;
  if (pModifiedNs) *pModifiedNs = stamp.modifiedNs;
  return true;
}

void CFileReader::Close() {
  m_file.Close();
  FreeBuffer();
  m_cLineBuffer.Clear();
  m_nLineCount = -1;
  m_nState = kClosed;
}
