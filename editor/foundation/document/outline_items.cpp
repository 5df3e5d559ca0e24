#include "editor/foundation/document/outline_items.h"

#include <utility>

void COutlineItemList::Append(int nFileLine, int nDisplayLine, std::string_view name, int nKind, int nDepth) {
  auto item = std::make_unique<COutlineItem>();
  item->m_nFileLine = nFileLine;
  item->m_nDisplayLine = nDisplayLine;
  item->m_cName.Assign(name.data(), static_cast<int>(name.size()));
  item->m_nKind = nKind;
  item->m_nDepth = nDepth;
  Push(std::move(item));
}

void COutlineItemList::Push(std::unique_ptr<COutlineItem> item) {
  if (item) m_items.push_back(std::move(item));
}

COutlineItem* COutlineItemList::GetAt(int i) const {
  if (i < 0 || i >= GetCount()) return nullptr;
  return m_items[static_cast<size_t>(i)].get();
}

void COutlineItemList::Clear() {
  m_items.clear();
  m_items.shrink_to_fit();
}
