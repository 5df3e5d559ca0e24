#include "editor/foundation/settings/recent_list.h"

#include <cstring>
#include <vector>

#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/sjis_compare.h"

bool CRecentList::BindToShareData(SharedSettings* s, int type) {
  Reset();
  if (!s) return false;
  m_pShareData = s;
  CommonSettings& c = s->Common;
  bool ok = false;
  // Files, folders and grep folders are paths and compare exactly; grep patterns still ignore case.
  switch (type) {
    case kRecentFiles:
      ok = Create(reinterpret_cast<char*>(s->RecentFiles), &s->nRecentFileCount, s->bRecentFileFavorite,
                  kRecentFileSlots, &c.nMRUArrNum_MAX, sizeof(RecentFileRecord), offsetof(RecentFileRecord, szPath),
                  kMaxPath, 0);
      break;
    case kRecentFolders:
      ok = Create(s->szRecentFolders[0], &s->nRecentFolderCount, s->bRecentFolderFavorite, kRecentFolderSlots,
                  &c.nOPENFOLDERArrNum_MAX, kMaxPath, 0, 0, 0);
      m_bPathList = true;
      break;
    case kSearchKeys:
      ok = Create(s->szSearchKeys[0], &s->nSearchKeyCount, nullptr, kHistorySlots, nullptr, kMaxPath, 0, 0, 0);
      break;
    case kReplaceKeys:
      ok = Create(s->szReplaceKeys[0], &s->nReplaceKeyCount, nullptr, kHistorySlots, nullptr, kMaxPath, 0, 0, 0);
      break;
    case kGrepFiles:
      ok = Create(s->szGrepFiles[0], &s->nGrepFileCount, nullptr, kHistorySlots, nullptr, kMaxPath, 0, 0, 1);
      break;
    case kGrepFolders:
      ok = Create(s->szGrepFolders[0], &s->nGrepFolderCount, nullptr, kHistorySlots, nullptr, kMaxPath, 0, 0, 0);
      m_bPathList = true;
      break;
    case kCommands:
      ok = Create(s->szCmdArr[0], &s->nCmdArrNum, nullptr, kCommandHistorySlots, nullptr, kCommandTextSize, 0, 0, 0);
      break;
    case kEditWindows:
      ok = Create(reinterpret_cast<char*>(s->EditWindowList), &s->nEditWindowCount, nullptr, kEditWindowSlots, nullptr,
                  sizeof(EditWindowEntry), offsetof(EditWindowEntry, hwnd), sizeof(uint32_t), 4);
      break;
    case kTagJumpKeywords:
      ok =
          Create(s->szTagJumpKeywords[0], &s->nTagJumpKeywordCount, nullptr, kHistorySlots, nullptr, kMaxPath, 0, 0, 0);
      break;
    default:
      break;
  }
  if (!ok) Reset();
  return ok;
}

bool CRecentList::Create(char* array, int32_t* count, uint8_t* favorites, int capacity, int32_t* visibleMax,
                         int itemSize, int keyOffset, int keyLength, int compareMode) {
  SharedSettings* settings = m_pShareData;
  Reset();
  m_pShareData = settings;
  if (!array || !count || capacity <= 0 || itemSize <= 0 || keyLength < 0 || keyOffset < 0 ||
      keyOffset + keyLength > itemSize)
    return false;
  if (visibleMax && (*visibleMax < 0 || *visibleMax > capacity)) return false;
  m_pArray = array;
  m_pCount = count;
  m_pFavorites = favorites;
  m_nCapacity = capacity;
  m_pVisibleMax = visibleMax;
  m_nItemSize = itemSize;
  m_nKeyOffset = keyOffset;
  m_nKeyLength = keyLength;
  m_nCompareMode = compareMode;
  m_bBound = true;
  ApplyVisibleMax();
  return true;
}

void CRecentList::Reset() { *this = CRecentList(); }

bool CRecentList::IsValid() {
  if (!m_bBound) return false;
  if (!m_pArray || !m_pCount) {
    Reset();
    return false;
  }
  if (*m_pCount < 0) *m_pCount = 0;
  if (*m_pCount > m_nCapacity) *m_pCount = m_nCapacity;
  if (m_pVisibleMax) {
    if (*m_pVisibleMax < 0) *m_pVisibleMax = 0;
    if (*m_pVisibleMax > m_nCapacity) *m_pVisibleMax = m_nCapacity;
  }
  return true;
}

int CRecentList::GetCount() { return IsValid() ? *m_pCount : 0; }

int CRecentList::GetVisibleMax() {
  if (!IsValid()) return 0;
  return m_pVisibleMax ? *m_pVisibleMax : m_nCapacity;
}

char* CRecentList::GetItem(int i) {
  if (!IsValid() || i < 0 || i >= *m_pCount) return nullptr;
  return m_pArray + static_cast<size_t>(i) * m_nItemSize;
}

char* CRecentList::GetItemKey(int i) {
  char* item = GetItem(i);
  return item ? item + m_nKeyOffset : nullptr;
}

bool CRecentList::Matches(const char* itemKey, const char* key) const {
  // Text keys are terminated within their slot; the slot's last byte is always NUL.
  const int textLimit = m_nKeyLength > 0 ? m_nKeyLength : m_nItemSize - m_nKeyOffset;
  switch (m_nCompareMode) {
    case 0:
      return strncmp(itemKey, key, textLimit) == 0 && (strnlen(key, textLimit + 1) <= static_cast<size_t>(textLimit));
    case 1: {
      const size_t a = strnlen(itemKey, textLimit);
      const size_t b = strnlen(key, textLimit + 1);
      return a == b && SjisMemICmp(itemKey, key, static_cast<int>(a)) == 0;
    }
    case 2:
      return strncmp(itemKey, key, m_nKeyLength) == 0;
    case 3:
      return SjisStrNICmp(itemKey, key, m_nKeyLength) == 0;
    case 4:
      return std::memcmp(itemKey, key, m_nKeyLength) == 0;
    case 5:
      return SjisMemICmp(itemKey, key, m_nKeyLength) == 0;
    default:
      return false;
  }
}

int CRecentList::FindItem(const char* key) {
  if (!IsValid() || !key) return -1;
  for (int i = 0; i < *m_pCount; ++i)
    if (Matches(GetItemKey(i), key)) return i;
  return -1;
}

void CRecentList::WriteItem(int slot, const char* item) {
  char* dest = m_pArray + static_cast<size_t>(slot) * m_nItemSize;
  if (m_nKeyLength == 0) {
    const int len = static_cast<int>(strnlen(item, m_nItemSize));
    const int n = WholeCharsPrefixLength(item, len, m_nItemSize - 1);
    std::memset(dest, 0, m_nItemSize);
    std::memcpy(dest, item, n);
  } else {
    std::memmove(dest, item, m_nItemSize);
  }
}

bool CRecentList::AppendItem(const char* item) {
  if (!IsValid() || !item) return false;
  if (m_nKeyLength == 0 && m_bPathList && strnlen(item, m_nItemSize) >= static_cast<size_t>(m_nItemSize)) return false;
  // The key is looked up in a copy: the item may lie in the list itself.
  std::vector<char> copy(item, item + (m_nKeyLength == 0 ? strnlen(item, m_nItemSize) + 1 : m_nItemSize));
  if (m_nKeyLength == 0) copy.back() = '\0';
  const int found = FindItem(copy.data() + m_nKeyOffset);
  if (found < 0) {
    if (*m_pCount >= m_nCapacity) {
      const int victim = FindLastWithFavorite(*m_pCount - 1, false);
      if (victim < 0) return false;
      DeleteItem(victim);
    }
    for (int i = *m_pCount; i > 0; --i) CopyItem(i - 1, i);
    WriteItem(0, copy.data());
    if (m_pFavorites) m_pFavorites[0] = 0;
    ++*m_pCount;
  } else {
    WriteItem(found, copy.data());
    MoveItem(found, 0);
  }
  if (m_pVisibleMax) KeepFavoritesVisible(*m_pVisibleMax);
  return true;
}

bool CRecentList::DeleteItem(int i) {
  if (!IsValid() || i < 0 || i >= *m_pCount) return false;
  ZeroItem(i);
  for (int k = i; k < *m_pCount - 1; ++k) CopyItem(k + 1, k);
  ZeroItem(*m_pCount - 1);
  --*m_pCount;
  return true;
}

bool CRecentList::DeleteAll() {
  if (!IsValid()) return false;
  std::memset(m_pArray, 0, static_cast<size_t>(m_nCapacity) * m_nItemSize);
  if (m_pFavorites) std::memset(m_pFavorites, 0, m_nCapacity);
  *m_pCount = 0;
  return true;
}

bool CRecentList::MoveItem(int from, int to) {
  if (!IsValid() || from < 0 || from >= *m_pCount || to < 0 || to >= *m_pCount) return false;
  if (from == to) return true;
  std::vector<char> item(m_pArray + static_cast<size_t>(from) * m_nItemSize,
                         m_pArray + static_cast<size_t>(from + 1) * m_nItemSize);
  const uint8_t flag = m_pFavorites ? m_pFavorites[from] : 0;
  if (from < to)
    for (int k = from; k < to; ++k) CopyItem(k + 1, k);
  else
    for (int k = from; k > to; --k) CopyItem(k - 1, k);
  std::memcpy(m_pArray + static_cast<size_t>(to) * m_nItemSize, item.data(), m_nItemSize);
  if (m_pFavorites) m_pFavorites[to] = flag;
  return true;
}

bool CRecentList::CopyItem(int source, int target) {
  if (!IsValid() || source < 0 || source >= m_nCapacity || target < 0 || target >= m_nCapacity) return false;
  if (source == target) return true;
  std::memcpy(m_pArray + static_cast<size_t>(target) * m_nItemSize,
              m_pArray + static_cast<size_t>(source) * m_nItemSize, m_nItemSize);
  if (m_pFavorites) m_pFavorites[target] = m_pFavorites[source];
  return true;
}

bool CRecentList::ZeroItem(int i) {
  if (!IsValid() || i < 0 || i >= m_nCapacity) return false;
  std::memset(m_pArray + static_cast<size_t>(i) * m_nItemSize, 0, m_nItemSize);
  if (m_pFavorites) m_pFavorites[i] = 0;
  return true;
}

bool CRecentList::SetFavorite(int i, bool flag) {
  if (!IsValid() || !m_pFavorites || i < 0 || i >= *m_pCount) return false;
  m_pFavorites[i] = flag ? 1 : 0;
  return true;
}

bool CRecentList::IsFavorite(int i) {
  if (!IsValid() || !m_pFavorites || i < 0 || i >= *m_pCount) return false;
  return m_pFavorites[i] != 0;
}

int CRecentList::FindLastWithFavorite(int start, bool flag) {
  if (!IsValid()) return -1;
  if (start > *m_pCount - 1) start = *m_pCount - 1;
  for (int i = start; i >= 0; --i)
    if (IsFavorite(i) == flag) return i;
  return -1;
}

bool CRecentList::KeepFavoritesVisible(int v) {
  if (!IsValid() || v < 0 || v > m_nCapacity) return false;
  if (m_pVisibleMax) *m_pVisibleMax = v;
  if (v >= *m_pCount) return true;
  for (int p = FindLastWithFavorite(*m_pCount - 1, true); p >= v; --p) {
    if (!IsFavorite(p)) continue;
    const int e = FindLastWithFavorite(p - 1, false);
    if (e < 0) break;
    MoveItem(e, p);
  }
  return true;
}

bool CRecentList::ApplyVisibleMax() {
  if (!IsValid()) return false;
  return KeepFavoritesVisible(m_pVisibleMax ? *m_pVisibleMax : m_nCapacity);
}
