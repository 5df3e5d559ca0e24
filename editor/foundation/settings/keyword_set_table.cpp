#include "editor/foundation/settings/keyword_set_table.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/sjis_compare.h"
#include "platform/named_lock.h"

static_assert(std::is_trivial_v<CKeywordSetTable> && std::is_standard_layout_v<CKeywordSetTable>);
static_assert(sizeof(CKeywordSetTable) == 961528);
static_assert(offsetof(CKeywordSetTable, m_szSetName) == 8);
static_assert(offsetof(CKeywordSetTable, m_bCaseSensitive) == 836);
static_assert(offsetof(CKeywordSetTable, m_nKeywordCount) == 936);
static_assert(offsetof(CKeywordSetTable, m_szKeywords) == 1036);
static_assert(offsetof(CKeywordSetTable, m_bSorted) == 961036);
static_assert(offsetof(CKeywordSetTable, m_nStart) == 961064);
static_assert(offsetof(CKeywordSetTable, m_nLongest) == 961168);

namespace {

// Every process that sorts a set of the shared table holds this lock while it does.
constexpr const char* kSortLockName = "CShareData.KeywordSets";
constexpr std::chrono::milliseconds kSortLockWait(250);

// In 64 bits: a count near INT_MAX from a caller must come out too big, not negative.
int64_t RoundToBlock(int64_t n) {
  return (n + CKeywordSetTable::kSpaceBlock - 1) / CKeywordSetTable::kSpaceBlock * CKeywordSetTable::kSpaceBlock;
}

int EntryLength(const char* entry) { return static_cast<int>(strnlen(entry, CKeywordSetTable::kKeywordSize - 1)); }

// A text longer than an entry keeps the whole characters that fit in its 63 bytes.
void StoreEntry(char* entry, const char* text, size_t length) {
  const int available = static_cast<int>(std::min<size_t>(length, CKeywordSetTable::kKeywordSize));
  const int kept = WholeCharsPrefixLength(text, available, CKeywordSetTable::kKeywordSize - 1);
  std::memset(entry, 0, CKeywordSetTable::kKeywordSize);
  std::memcpy(entry, text, static_cast<size_t>(kept));
}

int CompareCase(const void* a, const void* b) {
  return std::strcmp(static_cast<const char*>(a), static_cast<const char*>(b));
}
int CompareICase(const void* a, const void* b) {
  return SjisStrICmp(static_cast<const char*>(a), static_cast<const char*>(b));
}

bool IsKeywordChar(unsigned char c) {
  return c == '#' || c == '$' || (c >= '0' && c <= '9') || c == '@' || (c >= 'A' && c <= 'Z') || c == '\\' ||
         c == '_' || (c >= 'a' && c <= 'z');
}

}  // namespace

bool CKeywordSetTable::GetSlice(int set, Slice& slice) const {
  if (set < 0 || set >= GetSetCount()) return false;
  const int begin = m_nStart[set], end = m_nStart[set + 1];
  if (begin < 0 || begin > end || end > kPoolEntries) return false;
  slice.begin = begin;
  slice.space = end - begin;
  slice.count = std::clamp<int>(m_nKeywordCount[set], 0, slice.space);
  return true;
}

int CKeywordSetTable::GetSetCount() const { return std::clamp<int>(m_nSetCount, 0, kMaxSets); }

// The sorted flag is read by painters of other processes while one of them sorts: it is published
// only after the sorted keywords are.
bool CKeywordSetTable::IsSorted(int set) const {
  return std::atomic_ref<uint8_t>(const_cast<uint8_t&>(m_bSorted[set])).load(std::memory_order_acquire) != 0;
}
void CKeywordSetTable::MarkSorted(int set, bool sorted) {
  std::atomic_ref<uint8_t>(m_bSorted[set]).store(sorted ? 1 : 0, std::memory_order_release);
}

void CKeywordSetTable::Reset() {
  m_nSetCount = 0;
  std::fill(std::begin(m_nStart), std::end(m_nStart), 0);
  m_szKeywords[0][0] = 0;
}

void CKeywordSetTable::Assign(const CKeywordSetTable& other) {
  if (&other != this) std::memcpy(static_cast<void*>(this), &other, sizeof(*this));
}

bool CKeywordSetTable::AddSet(const char* name, bool caseSensitive, int space) {
  const int n = GetSetCount();
  if (n >= kMaxSets) return false;
  const int64_t entries = RoundToBlock(space < 0 ? kSpaceBlock : space);
  const int begin = m_nStart[n];
  if (begin < 0 || begin > kPoolEntries || entries > kPoolEntries - begin) return false;
  m_nStart[n + 1] = begin + static_cast<int>(entries);
  std::memset(m_szSetName[n], 0, kNameSize);
  if (name) std::strncpy(m_szSetName[n], name, kNameSize - 1);
  m_bCaseSensitive[n] = caseSensitive ? 1 : 0;
  m_nKeywordCount[n] = 0;
  m_nLongest[n] = 0;
  MarkSorted(n, false);
  m_nSetCount = n + 1;
  return true;
}

bool CKeywordSetTable::DeleteSet(int set) {
  if (set < 0 || set >= GetSetCount() || !ResizeSetSpace(set, 0)) return false;
  const int n = GetSetCount();
  for (int i = set; i + 1 < n; ++i) {
    std::memcpy(m_szSetName[i], m_szSetName[i + 1], kNameSize);
    m_bCaseSensitive[i] = m_bCaseSensitive[i + 1];
    m_nKeywordCount[i] = m_nKeywordCount[i + 1];
    m_nStart[i + 1] = m_nStart[i + 2];
    MarkSorted(i, IsSorted(i + 1));
    m_nLongest[i] = m_nLongest[i + 1];
  }
  m_nSetCount = n - 1;
  // With no set left the current index stays a usable index rather than -1.
  if (m_nCurrentSet >= m_nSetCount || m_nCurrentSet < 0) m_nCurrentSet = std::max(0, m_nSetCount - 1);
  return true;
}

const char* CKeywordSetTable::GetSetName(int set) const {
  return set >= 0 && set < GetSetCount() ? m_szSetName[set] : nullptr;
}

const char* CKeywordSetTable::SetSetName(int set, const char* name) {
  if (set < 0 || set >= GetSetCount() || !name) return nullptr;
  std::memset(m_szSetName[set], 0, kNameSize);
  std::strncpy(m_szSetName[set], name, kNameSize - 1);
  return m_szSetName[set];
}

void CKeywordSetTable::SetCaseSensitive(int set, bool caseSensitive) {
  if (set < 0 || set >= GetSetCount()) return;
  m_bCaseSensitive[set] = caseSensitive ? 1 : 0;
  MarkSorted(set, false);
}

bool CKeywordSetTable::IsCaseSensitive(int set) const {
  return set >= 0 && set < GetSetCount() && m_bCaseSensitive[set] != 0;
}

int CKeywordSetTable::GetSetSpace(int set) const {
  Slice s;
  return GetSlice(set, s) ? s.space : 0;
}

int CKeywordSetTable::GetFreeSpace() const {
  const int used = m_nStart[GetSetCount()];
  return used >= 0 && used <= kPoolEntries ? kPoolEntries - used : 0;
}

bool CKeywordSetTable::ResizeSetSpace(int set, int entries) {
  Slice s;
  if (entries < 0 || entries > kPoolEntries || !GetSlice(set, s)) return false;
  const int space = static_cast<int>(RoundToBlock(entries));
  const int delta = space - s.space;
  if (delta == 0) return true;
  const int n = GetSetCount();
  const int tail = m_nStart[n];
  const int oldEnd = s.begin + s.space;
  if (tail < oldEnd || tail > kPoolEntries || delta > kPoolEntries - tail) return false;
  // The later sets move by delta: their starts must lie in order between this set's end and the
  // pool's, or another process has left them broken.
  for (int i = set + 1, previous = oldEnd; i <= n; previous = m_nStart[i++]) {
    if (m_nStart[i] < previous || m_nStart[i] > tail) return false;
  }
  std::memmove(m_szKeywords[oldEnd + delta], m_szKeywords[oldEnd], static_cast<size_t>(tail - oldEnd) * kKeywordSize);
  if (delta > 0) std::memset(m_szKeywords[oldEnd], 0, static_cast<size_t>(delta) * kKeywordSize);
  for (int i = set + 1; i <= n; ++i) m_nStart[i] += delta;
  if (m_nKeywordCount[set] > space) m_nKeywordCount[set] = space;
  return true;
}

bool CKeywordSetTable::CanAddKeyword(int set) const {
  Slice s;
  return GetSlice(set, s) && (s.count < s.space || GetFreeSpace() >= kSpaceBlock);
}

int CKeywordSetTable::GetKeywordCount(int set) const {
  Slice s;
  return GetSlice(set, s) ? s.count : 0;
}

const char* CKeywordSetTable::GetKeyword(int set, int index) const {
  Slice s;
  if (!GetSlice(set, s) || index < 0 || index >= s.count) return nullptr;
  return m_szKeywords[s.begin + index];
}

bool CKeywordSetTable::ContainsExactly(const Slice& slice, const char* text) const {
  for (int i = 0; i < slice.count; ++i) {
    if (std::strncmp(m_szKeywords[slice.begin + i], text, kKeywordSize - 1) == 0) return true;
  }
  return false;
}

int CKeywordSetTable::AddKeyword(int set, const char* text) {
  Slice s;
  if (!GetSlice(set, s)) return 1;
  if (!text || !text[0]) return 3;
  char word[kKeywordSize];
  StoreEntry(word, text, std::strlen(text));
  if (ContainsExactly(s, word)) return 4;
  if (s.count >= s.space && (!ResizeSetSpace(set, s.count + 1) || !GetSlice(set, s))) return 2;
  std::memcpy(m_szKeywords[s.begin + s.count], word, kKeywordSize);
  m_nKeywordCount[set] = s.count + 1;
  MarkSorted(set, false);
  return 0;
}

const char* CKeywordSetTable::UpdateKeyword(int set, int index, const char* text) {
  Slice s;
  if (!GetSlice(set, s) || index < 0 || index >= s.count || !text || !text[0]) return nullptr;
  char word[kKeywordSize];
  StoreEntry(word, text, std::strlen(text));
  if (ContainsExactly(s, word)) return nullptr;
  std::memcpy(m_szKeywords[s.begin + index], word, kKeywordSize);
  MarkSorted(set, false);
  return m_szKeywords[s.begin + index];
}

int CKeywordSetTable::DeleteKeyword(int set, int index) {
  Slice s;
  if (!GetSlice(set, s)) return 1;
  if (s.count == 0) return 3;
  if (index < 0 || index >= s.count) return 2;
  char* first = m_szKeywords[s.begin + index];
  std::memmove(first, first + kKeywordSize, static_cast<size_t>(s.count - index - 1) * kKeywordSize);
  std::memset(m_szKeywords[s.begin + s.count - 1], 0, kKeywordSize);
  m_nKeywordCount[set] = s.count - 1;
  MarkSorted(set, false);
  ResizeSetSpace(set, s.count - 1);
  return 0;
}

template <typename Next>
int CKeywordSetTable::FillSet(int set, int count, Next next) {
  Slice s;
  // The resize turns away a bad set and a count the pool cannot hold.
  if (!ResizeSetSpace(set, count) || !GetSlice(set, s)) return 0;
  int stored = 0;
  const char* word;
  size_t length;
  while (stored < count && stored < s.space && next(word, length)) {
    if (length == 0) continue;  // an empty word would end every search at once
    StoreEntry(m_szKeywords[s.begin + stored], word, length);
    ++stored;
  }
  m_nKeywordCount[set] = stored;
  return count;
}

int CKeywordSetTable::SetKeywordsFromTabText(int set, int count, const char* text) {
  const char* p = text ? text : "";
  return FillSet(set, count, [&p](const char*& word, size_t& length) {
    if (!*p) return false;
    word = p;
    length = std::strcspn(p, "\t");
    p += length;
    if (*p == '\t') ++p;
    return true;
  });
}

int CKeywordSetTable::SetKeywordsFromArray(int set, int count, const char* const* words) {
  int i = 0;
  return FillSet(set, count, [&](const char*& word, size_t& length) {
    if (!words || i >= count) return false;
    word = words[i++];
    length = word ? std::strlen(word) : 0;
    return true;
  });
}

void CKeywordSetTable::SortSet(int set) {
  Slice s;
  if (!GetSlice(set, s)) return;
  int longest = 0;
  for (int i = 0; i < s.count; ++i) {
    char* entry = m_szKeywords[s.begin + i];
    entry[kKeywordSize - 1] = 0;  // whatever was written there, the sort compares terminated texts
    longest = std::max(longest, EntryLength(entry));
  }
  std::qsort(m_szKeywords[s.begin], static_cast<size_t>(s.count), kKeywordSize,
             m_bCaseSensitive[set] ? CompareCase : CompareICase);
  m_nLongest[set] = longest;
  MarkSorted(set, true);
}

int CKeywordSetTable::LinearFind(const Slice& slice, bool caseSensitive, const char* word, int length) const {
  for (int i = 0; i < slice.count; ++i) {
    const char* keyword = m_szKeywords[slice.begin + i];
    if (EntryLength(keyword) != length) continue;
    const int cmp = caseSensitive ? std::strncmp(word, keyword, length) : SjisStrNICmp(word, keyword, length);
    if (cmp == 0) return i;
  }
  return -1;
}

int CKeywordSetTable::Find(int set, const char* word, int length) {
  Slice s;
  if (!GetSlice(set, s) || !word || length <= 0) return -1;
  const bool caseSensitive = m_bCaseSensitive[set] != 0;
  if (!IsSorted(set)) {
    // Painters of several processes may meet an unsorted set at once; one sorts while the others
    // wait. A holder that does not let go in time costs a linear search, never a second sort.
    platform::NamedLock lock;
    if (lock.OpenWaiting(kSortLockName, kSortLockWait) != platform::NamedLock::Result::kAcquired) {
      return LinearFind(s, caseSensitive, word, length);
    }
    if (!IsSorted(set)) SortSet(set);
  }
  if (length > m_nLongest[set]) return -1;
  int lo = 0, hi = s.count - 1;
  while (lo <= hi) {
    const int probe = lo + (hi - lo + 1) / 2;
    const char* keyword = m_szKeywords[s.begin + probe];
    const int cmp = caseSensitive ? std::strncmp(word, keyword, length) : SjisStrNICmp(word, keyword, length);
    if (cmp == 0 && EntryLength(keyword) == length) return probe;
    if (cmp <= 0) {
      hi = probe - 1;
    } else {
      lo = probe + 1;
    }
  }
  return -1;
}

int CKeywordSetTable::CleanUpSet(int set) {
  Slice s;
  if (!GetSlice(set, s)) return 0;
  if (!IsSorted(set)) SortSet(set);
  const bool caseSensitive = m_bCaseSensitive[set] != 0;
  int kept = 0;
  for (int i = 0; i < s.count; ++i) {
    const char* keyword = m_szKeywords[s.begin + i];
    const int length = EntryLength(keyword);
    bool drop =
        !std::all_of(keyword, keyword + length, [](char c) { return IsKeywordChar(static_cast<unsigned char>(c)); });
    if (!drop && i + 1 < s.count) {
      const char* next = m_szKeywords[s.begin + i + 1];
      drop = EntryLength(next) == length &&
             (caseSensitive ? std::memcmp(keyword, next, length) : SjisMemICmp(keyword, next, length)) == 0;
    }
    if (drop) continue;
    if (kept != i) std::memcpy(m_szKeywords[s.begin + kept], keyword, kKeywordSize);
    ++kept;
  }
  for (int i = kept; i < s.count; ++i) std::memset(m_szKeywords[s.begin + i], 0, kKeywordSize);
  m_nKeywordCount[set] = kept;
  MarkSorted(set, false);
  return s.count - kept;
}
