#include "editor/foundation/document/outline_items.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
#include <utility>

void COutlineName::Assign(const char* pData, int nDataLen) {
  if (!pData || nDataLen <= 0) {
    Refer({});
    return;
  }
  char* bytes = new char[static_cast<size_t>(nDataLen)];
  std::memcpy(bytes, pData, static_cast<size_t>(nDataLen));
  Release();
  m_pData = bytes;
  m_nLength = nDataLen;
  m_bOwn = true;
}

void COutlineName::AssignString(const char* psz) { Assign(psz, psz ? static_cast<int>(std::strlen(psz)) : 0); }

COutlineItemList::~COutlineItemList() {
  for (int i = 0; i < m_nMade; ++i) ItemAt(i)->~COutlineItem();
}

COutlineItem* COutlineItemList::ItemAt(int i) const {
  // Blocks 0..b-1 hold (2^b - 1) << kFirstBlockShift items.
  const auto first = static_cast<unsigned>(i) >> kFirstBlockShift;
  const int block = std::bit_width(first + 1) - 1;
  const auto offset = static_cast<unsigned>(i) - (((1u << block) - 1) << kFirstBlockShift);
  return reinterpret_cast<COutlineItem*>(m_itemBlocks[static_cast<size_t>(block)].get()) + offset;
}

COutlineItem* COutlineItemList::NewItem() {
  if (m_nCount < m_nMade) return ItemAt(m_nCount++);
  const size_t block = static_cast<size_t>(std::bit_width((static_cast<unsigned>(m_nCount) >> kFirstBlockShift) + 1) - 1);
  if (block == m_itemBlocks.size()) {
    m_itemBlocks.push_back(huge_block::Allocate(sizeof(COutlineItem) * (size_t{kFirstBlockItems} << block)));
  }
  COutlineItem* item = new (ItemAt(m_nCount)) COutlineItem;
  ++m_nMade;
  ++m_nCount;
  return item;
}

std::string_view COutlineItemList::KeepText(std::string_view text) {
  if (text.empty()) return {};
  char* bytes = nullptr;
  if (text.size() > kFirstTextBlockSize) {
    // Longer than a block may be: a block of its own, given back at Clear.
    m_longTexts.push_back(std::make_unique_for_overwrite<char[]>(text.size()));
    bytes = m_longTexts.back().get();
  } else {
    if (text.size() > m_nTextLeft) {
      if (m_nTextBlocksUsed == m_textBlocks.size()) {
        const size_t size = std::min(kFirstTextBlockSize << std::min<size_t>(m_textBlocks.size(), 16), kMaxTextBlockSize);
        m_textBlocks.push_back({huge_block::Allocate(size), size});
      }
      const TextBlock& block = m_textBlocks[m_nTextBlocksUsed++];
      m_pTextFree = reinterpret_cast<char*>(block.bytes.get());
      m_nTextLeft = block.size;
    }
    bytes = m_pTextFree;
    m_pTextFree += text.size();
    m_nTextLeft -= text.size();
  }
  std::memcpy(bytes, text.data(), text.size());
  return {bytes, text.size()};
}

void COutlineItemList::Append(int nFileLine, int nDisplayLine, std::string_view name, int nKind, int nDepth) {
  // The text first: should its block fail to come, no item is left half made.
  const std::string_view kept = KeepText(name);
  COutlineItem* item = NewItem();
  item->m_nFileLine = nFileLine;
  item->m_nDisplayLine = nDisplayLine;
  item->m_cName.Refer(kept);
  item->m_nKind = nKind;
  item->m_nDepth = nDepth;
}

void COutlineItemList::Push(std::unique_ptr<COutlineItem> item) {
  if (item) Append(item->m_nFileLine, item->m_nDisplayLine, item->m_cName.View(), item->m_nKind, item->m_nDepth);
}

COutlineItem* COutlineItemList::GetAt(int i) const {
  if (i < 0 || i >= m_nCount) return nullptr;
  return ItemAt(i);
}

void COutlineItemList::Clear() {
  m_nCount = 0;
  m_nTextBlocksUsed = 0;
  m_pTextFree = nullptr;
  m_nTextLeft = 0;
  m_longTexts.clear();
  m_longTexts.shrink_to_fit();
}
