#include "editor/foundation/text/ope_blk.h"

#include <cstdlib>

#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/show_message_box.h"
#include "platform/sjis_literal.h"

COpeRecord::~COpeRecord() { delete m_pText; }

void COpeBlk::InitEmpty() {
  m_nCOpeArrNum = 0;
  m_ppCOpeArr = nullptr;
}

void COpeBlk::FreeAll() {
  for (int i = 0; i < m_nCOpeArrNum; ++i) delete m_ppCOpeArr[i];
  std::free(m_ppCOpeArr);
  InitEmpty();
}

bool GrowUndoArray(void** ppBlock, int32_t nCount, size_t nElemSize) {
  void* grown = nCount == INT32_MAX ? nullptr : CMemory::ReallocBlock(*ppBlock, (static_cast<size_t>(nCount) + 1) * nElemSize);
  if (!grown) {
    ShowMessageBox(nullptr, MB_OK, "メモリ確保に失敗しました。\n非常に危険な状態です。"_sj, "%s",
                   "COpeBlk::AppendOpe() error");
    return false;
  }
  *ppBlock = grown;
  return true;
}

bool COpeBlk::AppendOpe(COpeRecord* pcOpe) {
  if (!pcOpe) return false;
  if (pcOpe->m_nCaretPosX_PHY_Before == -1 || pcOpe->m_nCaretPosY_PHY_Before == -1 ||
      pcOpe->m_nCaretPosX_PHY_After == -1 || pcOpe->m_nCaretPosY_PHY_After == -1) {
    ShowMessageBox(nullptr, MB_ICONERROR | MB_TOPMOST, "tovara",
                   "COpeBlk::AppendOpe() error.\n%s\n"
                   "pcOpe->m_nCaretPosX_PHY_Before = %d\n"
                   "pcOpe->m_nCaretPosY_PHY_Before = %d\n"
                   "pcOpe->m_nCaretPosX_PHY_After = %d\n"
                   "pcOpe->m_nCaretPosY_PHY_After = %d",
                   " バグ"_sj, pcOpe->m_nCaretPosX_PHY_Before, pcOpe->m_nCaretPosY_PHY_Before,
                   pcOpe->m_nCaretPosX_PHY_After, pcOpe->m_nCaretPosY_PHY_After);
  }
  void* block = m_ppCOpeArr;
  if (!GrowUndoArray(&block, m_nCOpeArrNum, sizeof(COpeRecord*))) {
    delete pcOpe;
    return false;
  }
  m_ppCOpeArr = static_cast<COpeRecord**>(block);
  m_ppCOpeArr[m_nCOpeArrNum++] = pcOpe;
  return true;
}

COpeRecord* COpeBlk::GetRecord(int nIndex) const {
  if (nIndex < 0 || nIndex >= m_nCOpeArrNum) return nullptr;
  return m_ppCOpeArr[nIndex];
}
