// Undo records: one primitive operation (COpeRecord) and one undo step (COpeBlk), the records of
// one command in the order they were done. Positions are document positions (byte column, line),
// so records stay valid when the wrapping changes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

class CMemory;

class COpeRecord {
 public:
  enum : int32_t { OPE_UNKNOWN = 0, OPE_INSERT = 1, OPE_DELETE = 2, OPE_MOVECARET = 3 };

  COpeRecord() = default;
  ~COpeRecord();
  COpeRecord(const COpeRecord&) = delete;
  COpeRecord& operator=(const COpeRecord&) = delete;
  // A replace-all makes four records a hit, hundreds of thousands in one step: they come from
  // blocks (object_blocks.h), which also keeps a step's records together for its replay.
  static void* operator new(size_t nSize);
  static void operator delete(void* p, size_t nSize) noexcept;

  int32_t m_nKind = OPE_UNKNOWN;
  int32_t m_nCaretPosX_PHY_Before = -1;
  int32_t m_nCaretPosY_PHY_Before = -1;
  // End of the inserted or deleted range (a redone deletion deletes up to it).
  int32_t m_nRangeEndX_PHY = 0;
  int32_t m_nRangeEndY_PHY = 0;
  int32_t m_nCaretPosX_PHY_After = -1;
  int32_t m_nCaretPosY_PHY_After = -1;
  int32_t m_nTextLen = 0;
  // The deleted text (a deletion), or the text an undo took out (an insertion, for the redo); owned.
  CMemory* m_pText = nullptr;
};

class COpeBlk {
 public:
  COpeBlk() { InitEmpty(); }
  ~COpeBlk() { FreeAll(); }
  COpeBlk(const COpeBlk&) = delete;
  COpeBlk& operator=(const COpeBlk&) = delete;

  void InitEmpty();
  // Deletes every record and the array.
  void FreeAll();

  // Takes the record (also when it fails: the record is then deleted). A record without its caret
  // positions is the caller's fault, said in a message box, and kept all the same. False, with a
  // message box, when the array cannot grow.
  bool AppendOpe(COpeRecord* pcOpe);
  // Null when the index is not below the count.
  COpeRecord* GetRecord(int nIndex) const;
  int GetNum() const { return m_nCOpeArrNum; }
  // All the records in order, for a replay that walks hundreds of thousands of them.
  std::span<COpeRecord* const> Records() const {
    return {m_ppCOpeArr, m_ppCOpeArr ? static_cast<size_t>(m_nCOpeArrNum) : size_t{0}};
  }

 private:
  int32_t m_nCOpeArrNum = 0;
  int32_t m_nCOpeArrCapacity = 0;      // slots of the array; it grows by half again when full
  COpeRecord** m_ppCOpeArr = nullptr;  // C heap
};

// Grows an array of the C heap that holds nCount elements to nCapacity slots (more than nCount).
// False, after the message box, when the heap has no room (the array is then as it was).
bool GrowUndoArray(void** ppBlock, int32_t nCount, size_t nElemSize, int32_t nCapacity);
// The same by one slot.
inline bool GrowUndoArray(void** ppBlock, int32_t nCount, size_t nElemSize) {
  return GrowUndoArray(ppBlock, nCount, nElemSize, nCount == INT32_MAX ? nCount : nCount + 1);
}
