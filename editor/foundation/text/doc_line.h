// One physical line of a document: its Shift-JIS bytes with its own line-end bytes, the code of
// that line end, and its marks.
#pragma once

#include <cstdint>
#include <memory>

#include "editor/foundation/text/line_end.h"
#include "editor/foundation/text/memory.h"

class CDocLine {
 public:
  // Flag bits.
  static constexpr uint32_t kModified = 1u << 0;
  static constexpr uint32_t kBookmark = 1u << 1;
  static constexpr int kDiffShift = 2;
  static constexpr uint32_t kDiffMask = 7u << kDiffShift;

  // Diff states.
  enum : int { DIFF_NONE = 0, DIFF_ADDED = 1, DIFF_CHANGED = 2, DIFF_DELETED = 3, DIFF_DELETED_AFTER = 4 };

  CDocLine();
  ~CDocLine();
  // A document has one per line: they come from blocks (object_blocks.h).
  static void* operator new(size_t nSize);
  static void operator delete(void* p, size_t nSize) noexcept;
  CDocLine(const CDocLine&) = delete;
  CDocLine& operator=(const CDocLine&) = delete;

  // True when every byte before the line end is a space or a tab (an empty line too).
  bool IsWhitespaceOnly() const;

  bool IsModified() const { return (m_nFlags & kModified) != 0; }
  void SetModified(bool on) { SetFlag(kModified, on); }
  bool IsBookmarked() const { return (m_nFlags & kBookmark) != 0; }
  void SetBookmark(bool on) { SetFlag(kBookmark, on); }
  int GetDiffState() const { return static_cast<int>((m_nFlags & kDiffMask) >> kDiffShift); }
  void SetDiffState(int state) {
    m_nFlags = (m_nFlags & ~kDiffMask) | ((static_cast<uint32_t>(state) & 7u) << kDiffShift);
  }

  // Text including the line end; null and 0 for a line without text.
  const char* GetText(int* pnLen) const;
  int GetLengthWithoutEol() const;

  CDocLine* m_pPrev = nullptr;
  CDocLine* m_pNext = nullptr;
  CMemory* m_pLine = nullptr;  // owned
  CLineEnd m_cLineEnd;
  uint32_t m_nFlags = kModified;

 private:
  void SetFlag(uint32_t bit, bool on) { m_nFlags = on ? (m_nFlags | bit) : (m_nFlags & ~bit); }
};
