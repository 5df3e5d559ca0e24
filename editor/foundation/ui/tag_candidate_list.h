// The matches of a tag search, kept in keyword order up to a fixed number: the tag-jump list and
// its search through tags files collect into it.
#pragma once

#include <memory>
#include <string>

class CTagCandidateList {
 public:
  // At most nCapacity entries (a capacity below 1 keeps none).
  explicit CTagCandidateList(int nCapacity);
  ~CTagCandidateList();
  CTagCandidateList(const CTagCandidateList&) = delete;
  CTagCandidateList& operator=(const CTagCandidateList&) = delete;

  // Adds a match after every entry whose keyword is not greater (equal keywords keep the order
  // they came in); each text is cut to 259 bytes on a whole character. When the list then holds
  // more than its capacity, the entry with the greatest keyword (last in order, perhaps this one)
  // is dropped and the dropped flag set. False only when memory runs out. Null texts are empty.
  bool Add(const char* pszKeyword, const char* pszFile, int nLine, int nType, const char* pszNote, int nDepth);
  // Clears every given output (empty texts, 0), then fills them from entry i and gives true; false
  // for an index outside the list. Text outputs need room for 260 bytes.
  bool GetAt(int i, char* pszKeyword, char* pszFile, int* pnLine, int* pnType, char* pszNote, int* pnDepth) const;
  void Clear();

  int GetCount() const { return m_nCount; }
  bool IsDropped() const { return m_bDropped; }
  int GetCapacity() const { return m_nCapacity; }

 private:
  struct Node {
    std::unique_ptr<Node> next;
    std::string keyword;
    std::string file;
    int line = 0;
    int type = 0;
    std::string note;
    int depth = 0;
  };

  std::unique_ptr<Node> m_pHead;
  int m_nCount = 0;
  bool m_bDropped = false;
  int m_nCapacity;
};
