// The keyword sets that the painter colours: all sets of all file types in one fixed-size table of
// the shared settings, their keywords in one pool of 64-byte entries with a slice per set. A set is
// sorted the first time it is searched and then searched by halving.
//
// The table is a plain record: a zero-filled area is an empty table, nothing runs on construction,
// and every count and index read from it is checked before use, since another process may be
// writing it.
#pragma once

#include <cstdint>

class CKeywordSetTable {
 public:
  static constexpr int kMaxSets = 25;
  static constexpr int kNameSize = 33;  // 32 bytes and the NUL
  static constexpr int kPoolEntries = 15000;
  static constexpr int kKeywordSize = 64;  // 63 bytes and the NUL
  static constexpr int kSpaceBlock = 50;

  // An empty table that keeps its current index.
  void Reset();
  void Assign(const CKeywordSetTable& other);

  // Appends an empty unsorted set; a negative space means one block. False when 25 sets exist or
  // the space is not free.
  bool AddSet(const char* name, bool caseSensitive, int space = -1);
  bool DeleteSet(int set);
  const char* GetSetName(int set) const;
  const char* SetSetName(int set, const char* name);
  void SetCaseSensitive(int set, bool caseSensitive);
  bool IsCaseSensitive(int set) const;
  int GetSetCount() const;

  int GetSetSpace(int set) const;
  int GetFreeSpace() const;
  // Grows or shrinks a set's space to n entries rounded up to a block, moving the later sets. False
  // when the entries are not free (more than the pool holds never are).
  bool ResizeSetSpace(int set, int entries);
  bool CanAddKeyword(int set) const;

  int GetKeywordCount(int set) const;
  const char* GetKeyword(int set, int index) const;
  // 0 added, 1 bad set, 2 no space, 3 empty text, 4 already in the set. Longer texts keep the
  // whole characters of their first 63 bytes (here and wherever a keyword is stored).
  int AddKeyword(int set, const char* text);
  const char* UpdateKeyword(int set, int index, const char* text);
  // 0 done, 1 bad set, 2 bad index, 3 empty set.
  int DeleteKeyword(int set, int index);
  // Fill a set just added with up to count words (tab-separated, or from an array); words of 64
  // bytes or more are cut as above. Returns count, or 0 when the space is not free.
  int SetKeywordsFromTabText(int set, int count, const char* text);
  int SetKeywordsFromArray(int set, int count, const char* const* words);

  void SortSet(int set);
  // The index within the set of the keyword that is exactly word[0, length), or -1.
  int Find(int set, const char* word, int length);
  // Removes keywords that the painter cannot show and the first of each pair of equal neighbours;
  // returns how many went.
  int CleanUpSet(int set);

  // The fields, in their shared layout.
  int32_t m_nCurrentSet;
  int32_t m_nSetCount;
  char m_szSetName[kMaxSets][kNameSize];
  uint8_t m_padding0[3];
  int32_t m_bCaseSensitive[kMaxSets];
  int32_t m_nKeywordCount[kMaxSets];
  char m_szKeywords[kPoolEntries][kKeywordSize];
  uint8_t m_bSorted[kMaxSets];
  uint8_t m_padding1[3];
  int32_t m_nStart[kMaxSets + 1];
  int32_t m_nLongest[kMaxSets];  // valid while the set is sorted
  uint8_t m_reserved[260];

 private:
  struct Slice {
    int begin;
    int space;
    int count;
  };
  bool GetSlice(int set, Slice& slice) const;
  bool IsSorted(int set) const;
  void MarkSorted(int set, bool sorted);
  bool ContainsExactly(const Slice& slice, const char* text) const;
  // Reserves room for count words and takes them from next(word, length) until it gives false.
  template <typename Next>
  int FillSet(int set, int count, Next next);
  int LinearFind(const Slice& slice, bool caseSensitive, const char* word, int length) const;
};
