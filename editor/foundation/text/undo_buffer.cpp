#include "editor/foundation/text/undo_buffer.h"

#include <cstdlib>

void CUndoBuffer::FreeFrom(int nFrom) {
  for (int i = nFrom; i < m_nCOpeBlkArrNum; ++i) delete m_ppCOpeBlkArr[i];
  m_nCOpeBlkArrNum = nFrom;
  if (m_nCOpeBlkArrNum == 0) {
    std::free(m_ppCOpeBlkArr);
    m_ppCOpeBlkArr = nullptr;
  }
}

bool CUndoBuffer::AppendBlock(COpeBlk* pcOpeBlk) {
  if (!pcOpeBlk) return false;
  if (m_nCurrentPointer < m_nCOpeBlkArrNum) {
    // The saved state lay in the history dropped here: no undo or redo reaches it any more.
    if (m_nMODIFIEDPointer > m_nCurrentPointer) m_nMODIFIEDPointer = -1;
    FreeFrom(m_nCurrentPointer);
  }
  void* block = m_ppCOpeBlkArr;
  if (!GrowUndoArray(&block, m_nCOpeBlkArrNum, sizeof(COpeBlk*))) {
    delete pcOpeBlk;
    return false;
  }
  m_ppCOpeBlkArr = static_cast<COpeBlk**>(block);
  m_ppCOpeBlkArr[m_nCOpeBlkArrNum++] = pcOpeBlk;
  m_nCurrentPointer = m_nCOpeBlkArrNum;
  return true;
}

COpeBlk* CUndoBuffer::StepBack(bool* pbModified) {
  if (!CanUndo()) return nullptr;
  if (pbModified) *pbModified = m_nCurrentPointer - 1 != m_nMODIFIEDPointer;
  --m_nCurrentPointer;
  return m_ppCOpeBlkArr[m_nCurrentPointer];
}

COpeBlk* CUndoBuffer::StepForward(bool* pbModified) {
  if (!CanRedo()) return nullptr;
  COpeBlk* step = m_ppCOpeBlkArr[m_nCurrentPointer];
  ++m_nCurrentPointer;
  if (pbModified) *pbModified = m_nCurrentPointer != m_nMODIFIEDPointer;
  return step;
}

void CUndoBuffer::Clear() {
  FreeFrom(0);
  m_nCurrentPointer = 0;
  m_nMODIFIEDPointer = 0;
}
