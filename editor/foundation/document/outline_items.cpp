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
  const int slot = m_nCount % kItemsPerBlock;
  if (slot == 0) m_itemBlocks.push_back(std::make_unique<COutlineItem[]>(kItemsPerBlock));
  COutlineItem* item = &m_itemBlocks.back()[static_cast<size_t>(slot)];
  ++m_nCount;
  return item;
}

std::string_view COutlineItemList::KeepText(std::string_view text) {
  if (text.empty()) return {};
  if (text.size() > m_nTextLeft) {
    // A name longer than a block gets a block of its own; the free end of the current one stays
    // in use for the names after it.
    const bool own = text.size() > kTextBlockSize;
    const size_t size = own ? text.size() : kTextBlockSize;
    m_textBlocks.push_back(std::make_unique_for_overwrite<char[]>(size));
    char* bytes = m_textBlocks.back().get();
    if (own) {
      std::memcpy(bytes, text.data(), text.size());
      return {bytes, text.size()};
    }
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
  m_itemBlocks.clear();
  m_itemBlocks.shrink_to_fit();
  m_nCount = 0;
  m_textBlocks.clear();
  m_textBlocks.shrink_to_fit();
  m_pTextFree = nullptr;
  m_nTextLeft = 0;
}
