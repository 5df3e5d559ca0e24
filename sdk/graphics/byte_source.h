// Reads fixed-size pieces of a file held in memory, never past its end: the cursor of the image
// readers, one per decode.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>

#include "sdk/framework/little_endian.h"

class ByteSource {
 public:
  explicit ByteSource(std::span<const uint8_t> data) : m_data(data) {}

  // Copies n bytes and advances; false (and nothing read) when fewer remain.
  bool Read(void* out, size_t n) {
    if (n > Remaining()) return false;
    if (n) std::memcpy(out, m_data.data() + m_pos, n);
    m_pos += n;
    return true;
  }
  bool Skip(uint64_t n) {
    if (n > Remaining()) return false;
    m_pos += static_cast<size_t>(n);
    return true;
  }
  bool Byte(uint8_t& out) { return Read(&out, 1); }
  bool Le16(uint16_t& out) {
    uint8_t b[2];
    if (!Read(b, 2)) return false;
    out = LoadLe16(b);
    return true;
  }
  bool Le32(uint32_t& out) {
    uint8_t b[4];
    if (!Read(b, 4)) return false;
    out = LoadLe32(b);
    return true;
  }
  // Moves the cursor to an absolute position inside the data.
  bool SeekTo(uint64_t pos) {
    if (pos > m_data.size()) return false;
    m_pos = static_cast<size_t>(pos);
    return true;
  }
  size_t Remaining() const { return m_data.size() - m_pos; }
  size_t Position() const { return m_pos; }
  // The next n bytes in place (n <= Remaining()).
  const uint8_t* Here() const { return m_data.data() + m_pos; }

 private:
  std::span<const uint8_t> m_data;
  size_t m_pos = 0;
};
