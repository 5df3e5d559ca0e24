#include "editor/foundation/text/ope_blk.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "editor/foundation/text/object_blocks.h"

#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/show_message_box.h"
#include "platform/sjis_literal.h"

namespace {

// Growth without a word when the heap has no room: the caller then tries for less.
bool TryGrow(void** ppBlock, int32_t nCapacity) {
  void* grown = CMemory::ReallocBlock(*ppBlock, static_cast<size_t>(nCapacity) * sizeof(COpeRecord*));
  if (!grown) return false;
  *ppBlock = grown;
  return true;
}

}  // namespace

COpeRecord::~COpeRecord() { delete m_pText; }

void* COpeRecord::operator new(size_t nSize) {
  return AllocateObject(ObjectKind::kOpeRecord, sizeof(COpeRecord), nSize);
}

void COpeRecord::operator delete(void* p, size_t nSize) noexcept {
  FreeObject(ObjectKind::kOpeRecord, sizeof(COpeRecord), p, nSize);
}

void COpeBlk::InitEmpty() {
  m_nCOpeArrNum = 0;
  m_nCOpeArrCapacity = 0;
  m_ppCOpeArr = nullptr;
}

void COpeBlk::FreeAll() {
  for (int i = 0; i < m_nCOpeArrNum; ++i) delete m_ppCOpeArr[i];
  std::free(m_ppCOpeArr);
  InitEmpty();
}

bool GrowUndoArray(void** ppBlock, int32_t nCount, size_t nElemSize, int32_t nCapacity) {
  void* grown = nCapacity <= nCount ? nullptr : CMemory::ReallocBlock(*ppBlock, static_cast<size_t>(nCapacity) * nElemSize);
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
  if (m_nCOpeArrNum == m_nCOpeArrCapacity) {
    // A slot at a time would copy the array at every record of a step of many; growing by half
    // keeps that linear. When the heap has no room for that much, one slot more is tried.
    const int32_t wanted = static_cast<int32_t>(
        std::min<int64_t>(INT32_MAX, std::max<int64_t>(m_nCOpeArrNum + int64_t{1}, m_nCOpeArrNum + m_nCOpeArrNum / 2)));
    void* block = m_ppCOpeArr;
    bool grown = wanted > m_nCOpeArrNum + 1 && TryGrow(&block, wanted);
    if (grown) {
      m_nCOpeArrCapacity = wanted;
    } else if (GrowUndoArray(&block, m_nCOpeArrNum, sizeof(COpeRecord*))) {
      m_nCOpeArrCapacity = m_nCOpeArrNum + 1;
    } else {
      delete pcOpe;
      return false;
    }
    m_ppCOpeArr = static_cast<COpeRecord**>(block);
  }
  m_ppCOpeArr[m_nCOpeArrNum++] = pcOpe;
  return true;
}

COpeRecord* COpeBlk::GetRecord(int nIndex) const {
  if (nIndex < 0 || nIndex >= m_nCOpeArrNum) return nullptr;
  return m_ppCOpeArr[nIndex];
}
