#include "editor/view/commands/cursor_history.h"

#include <algorithm>

void CCursorHistory::Add(Position position) {
  if (m_nIndex < GetCount()) m_entries.resize(static_cast<size_t>(std::max(m_nIndex, 0)));
  m_entries.push_back(position);
  m_nIndex = GetCount();
  Trim();
}

void CCursorHistory::Reset() {
  m_entries.clear();
  m_nIndex = 0;
}

void CCursorHistory::Trim() {
  const int excess = GetCount() - std::max(m_nMaxCount, 0);
  if (excess <= 0) return;
  m_entries.erase(m_entries.begin(), m_entries.begin() + excess);
  m_nIndex = std::max(m_nIndex - excess, 0);
}

void CCursorHistory::SetMaxCount(int count) {
  m_nMaxCount = count;
  Trim();
}

bool CCursorHistory::GoPrev() {
  if (!CanGoPrev()) return false;
  --m_nIndex;
  return true;
}

bool CCursorHistory::GoNext() {
  if (!CanGoNext()) return false;
  ++m_nIndex;
  return true;
}

bool CCursorHistory::GetCurrent(Position* position) const {
  if (m_nIndex < 0 || m_nIndex >= GetCount()) return false;
  *position = m_entries[static_cast<size_t>(m_nIndex)];
  return true;
}
