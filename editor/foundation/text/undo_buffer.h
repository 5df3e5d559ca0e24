// The document's undo steps: the steps, how many of them are applied (the current position), and
// the position at the last save, which tells after each undo or redo whether the text differs from
// the saved file.
#pragma once

#include <cstdint>

#include "editor/foundation/text/ope_blk.h"

class CUndoBuffer {
 public:
  CUndoBuffer() = default;
  ~CUndoBuffer() { Clear(); }
  CUndoBuffer(const CUndoBuffer&) = delete;
  CUndoBuffer& operator=(const CUndoBuffer&) = delete;

  // Drops the steps that could be redone and appends the step, taking it (also when it fails: the
  // step is then deleted). False, with a message box, when the array cannot grow.
  bool AppendBlock(COpeBlk* pcOpeBlk);
  bool CanUndo() const { return m_nCOpeBlkArrNum > 0 && m_nCurrentPointer > 0; }
  bool CanRedo() const { return m_nCOpeBlkArrNum > 0 && m_nCurrentPointer < m_nCOpeBlkArrNum; }
  // The step to undo or redo (null when there is none) and whether the text then still differs
  // from the saved file.
  COpeBlk* StepBack(bool* pbModified);
  COpeBlk* StepForward(bool* pbModified);
  // The text as it stands is the saved file's.
  void MarkSavePoint() { m_nMODIFIEDPointer = m_nCurrentPointer; }
  // Deletes every step (a new or reloaded document).
  void Clear();

  int GetCount() const { return m_nCOpeBlkArrNum; }
  int GetCurrentPointer() const { return m_nCurrentPointer; }
  // -1 when the saved state can no longer be reached.
  int GetSavePoint() const { return m_nMODIFIEDPointer; }

 private:
  // Deletes the steps from nFrom on.
  void FreeFrom(int nFrom);

  int32_t m_nCOpeBlkArrNum = 0;
  COpeBlk** m_ppCOpeBlkArr = nullptr;  // C heap
  int32_t m_nCurrentPointer = 0;
  int32_t m_nMODIFIEDPointer = 0;
};
