// A displacement per pixel of a source rectangle: where the displacement blit reads each
// destination pixel from, relative to the pixel it would copy 1:1.
#pragma once

#include <cstdint>
#include <vector>

class DisplacementMap {
 public:
  struct Entry {
    int32_t dx = 0;
    int32_t dy = 0;
  };

  DisplacementMap(int width, int height)
      : m_width(width > 0 ? width : 0),
        m_height(height > 0 ? height : 0),
        m_entries(static_cast<size_t>(m_width) * m_height) {}

  int GetWidth() const { return m_width; }
  int GetHeight() const { return m_height; }
  // The entry at (column, row) of the source rectangle, or null outside the map.
  const Entry* At(int64_t column, int64_t row) const {
    if (column < 0 || row < 0 || column >= m_width || row >= m_height) return nullptr;
    return &m_entries[static_cast<size_t>(row) * m_width + static_cast<size_t>(column)];
  }
  void Set(int column, int row, int32_t dx, int32_t dy) {
    if (column >= 0 && row >= 0 && column < m_width && row < m_height)
      m_entries[static_cast<size_t>(row) * m_width + column] = Entry{dx, dy};
  }

 private:
  int m_width;
  int m_height;
  std::vector<Entry> m_entries;
};
