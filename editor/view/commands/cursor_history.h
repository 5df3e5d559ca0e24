// A pane's short history of caret positions, kept in document coordinates (byte column and
// document line) so that entries stay valid when the display lines are wrapped again.
//
// The index stands between entries: it equals the count after an Add, GoPrev steps it back onto
// an older entry and GoNext forward onto a newer one. Adding after stepping back drops the entries
// from the index on, as a browser's back and forward do.
#pragma once

#include <vector>

class CCursorHistory {
 public:
  struct Position {
    int nColumn = 0;  // byte column in the document line
    int nLine = 0;    // document line
    bool operator==(const Position&) const = default;
  };

  static constexpr int kDefaultMaxCount = 10;

  CCursorHistory() = default;
  CCursorHistory(const CCursorHistory&) = default;
  CCursorHistory& operator=(const CCursorHistory&) = default;

  // Drops the entries newer than the index, appends the position and trims to the maximum.
  virtual void Add(Position position);
  // No entries, index 0.
  virtual void Reset();
  // Drops the oldest entries beyond the maximum; the index follows them, not below 0.
  virtual void Trim();
  // After the three operations, so that they keep the first slots of the table.
  virtual ~CCursorHistory() = default;

  void SetMaxCount(int count);
  int GetMaxCount() const { return m_nMaxCount; }
  int GetCount() const { return static_cast<int>(m_entries.size()); }
  int GetIndex() const { return m_nIndex; }

  bool CanGoPrev() const { return m_nIndex - 1 >= 0; }
  bool CanGoNext() const { return m_nIndex + 1 < GetCount(); }
  // Steps the index; false (index unchanged) when there is no entry that way.
  bool GoPrev();
  bool GoNext();
  // The entry at the index; false when the index stands past the newest entry.
  bool GetCurrent(Position* position) const;
  // Puts the index back after the newest entry, as Add leaves it.
  void MoveToNewest() { m_nIndex = GetCount(); }

 private:
  std::vector<Position> m_entries;
  int m_nIndex = 0;
  int m_nMaxCount = kDefaultMaxCount;
};
