#include "editor/foundation/text/memory.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "editor/foundation/text/object_blocks.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/foundation/text/sjis_char.h"
#include "platform/sjis_literal.h"

namespace {

CMemory::ReallocFunc reallocHook = &std::realloc;
std::atomic<uint64_t> allocFailures{0};

constexpr int64_t kMaxDataLen = CMemory::kMaxDataLength;

bool Inside(const char* p, const char* block, int32_t size) {
  if (!block || !p) return false;
  const auto a = reinterpret_cast<uintptr_t>(p);
  const auto b = reinterpret_cast<uintptr_t>(block);
  return a >= b && a < b + static_cast<uintptr_t>(size);
}

}  // namespace

CMemory::ReallocFunc CMemory::SetReallocForTesting(ReallocFunc realloc) {
  ReallocFunc old = reallocHook;
  reallocHook = realloc ? realloc : &std::realloc;
  return old;
}

void* CMemory::ReallocBlock(void* pBlock, size_t nBytes) { return reallocHook(pBlock, nBytes); }

void* CMemory::operator new(size_t nSize) { return AllocateObject(ObjectKind::kMemory, sizeof(CMemory), nSize); }

void CMemory::operator delete(void* p, size_t nSize) noexcept {
  FreeObject(ObjectKind::kMemory, sizeof(CMemory), p, nSize);
}

CMemory::CMemory(const char* pData, int nDataLen) { Assign(pData, nDataLen); }

CMemory::CMemory(const CMemory& other) { AssignFrom(other); }

CMemory::~CMemory() { Clear(); }

CMemory& CMemory::operator=(char c) {
  Assign(&c, 1);
  return *this;
}

CMemory& CMemory::operator=(const CMemory& other) {
  if (this != &other) AssignFrom(other);
  return *this;
}

void CMemory::Assign(const char* pData, int nDataLen) {
  if (nDataLen < 0 || (!pData && nDataLen > 0)) nDataLen = 0;
  if (m_pData && m_nCapacity > nDataLen) {
    // The block is kept; the source may lie inside it.
    if (nDataLen > 0) std::memmove(m_pData, pData, nDataLen);
    SetLength(nDataLen);
    return;
  }
  // The source may lie inside the old block, so the new block is filled before the old one goes.
  CMemory fresh;
  fresh.AllocBuffer(nDataLen);
  if (!fresh.m_pData) {
    Clear();
    return;
  }
  if (nDataLen > 0) std::memcpy(fresh.m_pData, pData, nDataLen);
  fresh.SetLength(nDataLen);
  TakeOver(fresh);
}

void CMemory::AssignString(const char* psz) { Assign(psz, psz ? static_cast<int>(std::strlen(psz)) : 0); }

void CMemory::AssignFrom(const CMemory& other) {
  if (this == &other) return;
  Assign(other.m_pData, other.m_nLength);
}

void CMemory::Clear() {
  std::free(m_pData);
  m_pData = nullptr;
  m_nCapacity = 0;
  m_nLength = 0;
}

char* CMemory::Append(const char* pData, int nDataLen) {
  if (nDataLen < 0 || (!pData && nDataLen > 0)) nDataLen = 0;
  const int64_t total = static_cast<int64_t>(m_nLength) + nDataLen;
  if (total > kMaxDataLen) {
    AllocFailed(total);
    return nullptr;
  }
  if (nDataLen > 0 && Inside(pData, m_pData, m_nCapacity)) {
    // Growing may move the block the bytes come from: copy them aside first.
    std::vector<char> aside(pData, pData + nDataLen);
    return Append(aside.data(), nDataLen);
  }
  AllocBuffer(total);
  if (!m_pData) return nullptr;
  if (nDataLen > 0) std::memcpy(m_pData + m_nLength, pData, nDataLen);
  SetLength(m_nLength + nDataLen);
  return m_pData;
}

char* CMemory::AppendString(const char* psz) { return Append(psz, psz ? static_cast<int>(std::strlen(psz)) : 0); }

char* CMemory::AppendFrom(const CMemory& other) { return Append(other.m_pData, other.m_nLength); }

CMemory& CMemory::operator+=(const CMemory& other) {
  AppendFrom(other);
  return *this;
}

CMemory& CMemory::operator+=(char c) {
  Append(&c, 1);
  return *this;
}

void CMemory::AppendRaw(const char* pData, int nDataLen) {
  if (!m_pData || !pData || nDataLen < 0) return;
  if (static_cast<int64_t>(m_nLength) + nDataLen + 1 > m_nCapacity) return;
  std::memmove(m_pData + m_nLength, pData, nDataLen);
  SetLength(m_nLength + nDataLen);
}

bool CMemory::ReplaceInBlock(int nPos, int nDelLen, const char* pData, int nDataLen) {
  if (!m_pData || nPos < 0 || nDelLen < 0 || nDataLen < 0 || (nDataLen > 0 && !pData)) return false;
  if (nPos > m_nLength || nDelLen > m_nLength - nPos) return false;
  const int64_t newLen = static_cast<int64_t>(m_nLength) - nDelLen + nDataLen;
  if (newLen + 1 > m_nCapacity || (nDataLen > 0 && Inside(pData, m_pData, m_nCapacity))) return false;
  std::memmove(m_pData + nPos + nDataLen, m_pData + nPos + nDelLen, m_nLength - nPos - nDelLen);
  if (nDataLen > 0) std::memcpy(m_pData + nPos, pData, nDataLen);
  SetLength(static_cast<int>(newLen));
  return true;
}

void CMemory::AllocBuffer(int64_t nNewDataLen) {
  if (nNewDataLen < 0) nNewDataLen = 0;
  if (nNewDataLen > kMaxDataLen) {
    AllocFailed(nNewDataLen);
    return;
  }
  const int64_t needed = nNewDataLen + 1;
  if (m_pData && m_nCapacity >= needed) return;
  void* block = reallocHook(m_pData, static_cast<size_t>(needed));
  if (!block) {
    AllocFailed(nNewDataLen);
    return;
  }
  const bool fresh = m_pData == nullptr;
  m_pData = static_cast<char*>(block);
  m_nCapacity = static_cast<int32_t>(needed);
  if (fresh) {
    m_nLength = 0;
    m_pData[0] = '\0';
  }
}

uint64_t CMemory::GetAllocFailureCount() { return allocFailures.load(std::memory_order_relaxed); }

void CMemory::AllocFailed(int64_t nNewDataLen) {
  allocFailures.fetch_add(1, std::memory_order_relaxed);
  ShowMessageBox(nullptr, MB_OKCANCEL | MB_ICONQUESTION | MB_TOPMOST, "tovara",
                 "CMemory::AllocBuffer(nNewDataLen==%lld)\n%s\n", static_cast<long long>(nNewDataLen),
                 "メモリ確保に失敗しました。"_sj);
  Clear();
}

void CMemory::SetLength(int nLen) {
  m_nLength = nLen;
  m_pData[nLen] = '\0';
}

const char* CMemory::MoveInputBehind(int64_t ahead) {
  if (ahead <= 0) return m_pData;
  const int64_t total = static_cast<int64_t>(m_nLength) + ahead;
  if (m_nCapacity > total) {
    std::memmove(m_pData + ahead, m_pData, m_nLength);
    return m_pData + ahead;
  }
  // A new block rather than realloc, which would copy the data only for it to be moved again.
  CMemory fresh;
  fresh.AllocBuffer(total);
  if (!fresh.m_pData) return nullptr;
  std::memcpy(fresh.m_pData + ahead, m_pData, m_nLength);
  TakeOver(fresh);
  return m_pData + ahead;
}

void CMemory::TakeOver(CMemory& other) {
  if (this == &other) return;
  Clear();
  m_pData = other.m_pData;
  m_nCapacity = other.m_nCapacity;
  m_nLength = other.m_nLength;
  other.m_pData = nullptr;
  other.m_nCapacity = 0;
  other.m_nLength = 0;
}

int CMemory::CharSizeAt(const char* pText, int nLen, int nPos) {
  if (!pText || nPos < 0) return 0;
  return SjisCharSize(reinterpret_cast<const unsigned char*>(pText), nLen, nPos);
}

const char* CMemory::NextCharPos(const char* pStart, int nLen, const char* p) {
  const char* end = pStart + nLen;
  if (p >= end) return end;
  const int size = SjisCharSize(reinterpret_cast<const unsigned char*>(pStart), nLen, static_cast<int>(p - pStart));
  return p + size;
}

const char* CMemory::PrevCharPos(const char* pStart, int nLen, const char* p) {
  if (p > pStart + nLen) p = pStart + nLen;
  if (p <= pStart) return pStart;
  const auto* s = reinterpret_cast<const unsigned char*>(pStart);
  const int last = static_cast<int>(p - pStart) - 1;
  // The byte after a byte that is no lead byte starts a character (that byte is a character of its
  // own or the trail of a pair). From there on every byte up to the last is a lead byte, and lead
  // bytes are also trail bytes, so the walk pairs them off two by two.
  int run = 0;
  while (last - run - 1 >= 0 && IsSjisLeadByte(s[last - run - 1])) ++run;
  if (run % 2 == 0) return p - 1;
  return IsSjisTrailByte(s[last]) ? p - 2 : p - 1;
}

// The byte after one that is no lead byte starts a character, which settles most places without
// a walk back.
int CMemory::CharStartAt(const char* pText, int nLen, int nPos) {
  if (nPos <= 0 || nPos >= nLen || !IsSjisLeadByte(static_cast<unsigned char>(pText[nPos - 1]))) return nPos;
  return static_cast<int>(PrevCharPos(pText, nLen, pText + nPos + 1) - pText);
}

bool CMemory::SameContent(const CMemory& a, const CMemory& b) {
  if (a.m_nLength != b.m_nLength) return false;
  return a.m_nLength == 0 || std::memcmp(a.m_pData, b.m_pData, a.m_nLength) == 0;
}

namespace {

void ReplaceAll(CMemory& self, const char* find, const char* replace, bool sjis) {
  if (!find || !*find || !self.GetPtr()) return;
  const int findLen = static_cast<int>(std::strlen(find));
  const int replaceLen = replace ? static_cast<int>(std::strlen(replace)) : 0;
  const char* data = self.GetPtr();
  const int len = self.GetLength();
  CMemory result;
  int copied = 0;
  int pos = 0;
  while (pos + findLen <= len) {
    if (std::memcmp(data + pos, find, findLen) == 0) {
      result.Append(data + copied, pos - copied);
      result.Append(replace, replaceLen);
      pos += findLen;
      copied = pos;
    } else if (sjis && IsSjisLeadByte(static_cast<unsigned char>(data[pos]))) {
      pos += 2;
    } else {
      ++pos;
    }
  }
  result.Append(data + copied, len - copied);
  self = result;
}

}  // namespace

void CMemory::ReplaceAllBytes(const char* pszFind, const char* pszReplace) {
  ReplaceAll(*this, pszFind, pszReplace, false);
}

void CMemory::ReplaceAllSjis(const char* pszFind, const char* pszReplace) {
  ReplaceAll(*this, pszFind, pszReplace, true);
}
