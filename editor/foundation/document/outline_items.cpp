#include "editor/foundation/document/outline_items.h"

#include <cstring>
#include <utility>

void COutlineName::Assign(const char* pData, int nDataLen) {
  if (!pData || nDataLen <= 0) {
    m_own.clear();
  } else {
    m_own.assign(pData, static_cast<size_t>(nDataLen));
  }
  m_view = m_own;
}

void COutlineName::AssignString(const char* psz) { Assign(psz, psz ? static_cast<int>(std::strlen(psz)) : 0); }

COutlineItem* COutlineItemList::NewItem() {
  if (m_nItemsLeft == 0) {
    m_itemBlocks.push_back(std::make_unique<COutlineItem[]>(kItemsPerBlock));
    m_nItemsLeft = kItemsPerBlock;
  }
  return &m_itemBlocks.back()[kItemsPerBlock - m_nItemsLeft--];
}

std::string_view COutlineItemList::KeepText(std::string_view text) {
  if (text.empty()) return {};
  if (text.size() > m_nTextLeft) {
    // A name longer than a block gets a block of its own; the free end of the current one stays
    // in use for the names after it.
    const size_t size = text.size() > kTextBlockSize ? text.size() : kTextBlockSize;
    auto block = std::make_unique_for_overwrite<char[]>(size);
    char* bytes = block.get();
    if (size > kTextBlockSize) {
      m_textBlocks.push_back(std::move(block));
      std::memcpy(bytes, text.data(), text.size());
      return {bytes, text.size()};
    }
    m_textBlocks.push_back(std::move(block));
    m_pTextFree = bytes;
    m_nTextLeft = size;
  }
  char* bytes = m_pTextFree;
  std::memcpy(bytes, text.data(), text.size());
  m_pTextFree += text.size();
  m_nTextLeft -= text.size();
  return {bytes, text.size()};
}

void COutlineItemList::Append(int nFileLine, int nDisplayLine, std::string_view name, int nKind, int nDepth) {
  COutlineItem* item = NewItem();
  item->m_nFileLine = nFileLine;
  item->m_nDisplayLine = nDisplayLine;
  item->m_cName.Refer(KeepText(name));
  item->m_nKind = nKind;
  item->m_nDepth = nDepth;
  m_items.push_back(item);
}

void COutlineItemList::Push(std::unique_ptr<COutlineItem> item) {
  if (!item) return;
  // Owned first: should the order fail to grow, the item is kept, not lost.
  COutlineItem* kept = item.get();
  m_pushed.push_back(std::move(item));
  m_items.push_back(kept);
}

COutlineItem* COutlineItemList::GetAt(int i) const {
  if (i < 0 || i >= GetCount()) return nullptr;
  return m_items[static_cast<size_t>(i)];
}

void COutlineItemList::Clear() {
  m_items.clear();
  m_items.shrink_to_fit();
  m_itemBlocks.clear();
  m_itemBlocks.shrink_to_fit();
  m_nItemsLeft = 0;
  m_pushed.clear();
  m_pushed.shrink_to_fit();
  m_textBlocks.clear();
  m_textBlocks.shrink_to_fit();
  m_pTextFree = nullptr;
  m_nTextLeft = 0;
}
