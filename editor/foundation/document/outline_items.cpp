#include "editor/foundation/document/outline_items.h"

#include <cstring>
#include <utility>

void COutlineName::Assign(const char* pData, int nDataLen) {
  if (!pData || nDataLen <= 0) {
    Refer({});
    return;
  }
  auto bytes = std::make_unique_for_overwrite<char[]>(static_cast<size_t>(nDataLen));
  std::memcpy(bytes.get(), pData, static_cast<size_t>(nDataLen));
  m_view = std::string_view(bytes.get(), static_cast<size_t>(nDataLen));
  m_own = std::move(bytes);
}

void COutlineName::AssignString(const char* psz) { Assign(psz, psz ? static_cast<int>(std::strlen(psz)) : 0); }

COutlineItem* COutlineItemList::NewItem() {
  const auto block = static_cast<size_t>(m_nCount / kItemsPerBlock);
  if (block == m_itemBlocks.size()) m_itemBlocks.push_back(std::make_unique<COutlineItem[]>(kItemsPerBlock));
  COutlineItem* item = &m_itemBlocks[block][static_cast<size_t>(m_nCount % kItemsPerBlock)];
  ++m_nCount;
  return item;
}

std::string_view COutlineItemList::KeepText(std::string_view text) {
  if (text.empty()) return {};
  char* bytes = nullptr;
  if (text.size() > kTextBlockSize) {
    // Longer than a block: a block of its own, given back at Clear.
    m_longTexts.push_back(std::make_unique_for_overwrite<char[]>(text.size()));
    bytes = m_longTexts.back().get();
  } else {
    if (text.size() > m_nTextLeft) {
      if (m_nTextBlocksUsed == m_textBlocks.size()) {
        m_textBlocks.push_back(std::make_unique_for_overwrite<char[]>(kTextBlockSize));
      }
      m_pTextFree = m_textBlocks[m_nTextBlocksUsed++].get();
      m_nTextLeft = kTextBlockSize;
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
  return &m_itemBlocks[static_cast<size_t>(i / kItemsPerBlock)][static_cast<size_t>(i % kItemsPerBlock)];
}

void COutlineItemList::Clear() {
  m_nCount = 0;
  m_nTextBlocksUsed = 0;
  m_pTextFree = nullptr;
  m_nTextLeft = 0;
  m_longTexts.clear();
  m_longTexts.shrink_to_fit();
}
