// Output of a conversion: a CMemory written through a raw pointer, grown when a character would
// not fit, and finally given exactly its length and put in place of the source buffer. A failed
// growth (the user has been told) leaves the source as it was.
#pragma once

#include <cstdint>
#include <cstring>

#include "editor/foundation/text/memory.h"

class CodeWriter {
 public:
  // initial: the expected size, or a bound that the conversion never exceeds.
  explicit CodeWriter(int64_t initial) {
    m_out.AllocBuffer(initial < 16 ? 16 : initial);
    Reset();
  }

  bool Ok() const { return m_out.m_pData != nullptr; }

  // Room for n more bytes; false when the buffer could not grow.
  bool Room(int64_t n) {
    if (m_end - m_w >= n) return true;
    return Grow(n);
  }

  // Writers for callers that have made room.
  void Put(unsigned char c) { *m_w++ = static_cast<char>(c); }
  void Put2(unsigned char a, unsigned char b) {
    m_w[0] = static_cast<char>(a);
    m_w[1] = static_cast<char>(b);
    m_w += 2;
  }
  void PutBytes(const void* p, int n) {
    std::memcpy(m_w, p, n);
    m_w += n;
  }
  char*& Cursor() { return m_w; }

  // Checked writers.
  bool Add(unsigned char c) {
    if (!Room(1)) return false;
    Put(c);
    return true;
  }
  bool AddBytes(const void* p, int n) {
    if (n <= 0) return true;
    if (!Room(n)) return false;
    PutBytes(p, n);
    return true;
  }

  // One pass over the whole buffer whose output never exceeds bound bytes: body(bytes, length,
  // output, unconverted) writes from output and returns where it ended. Returns the count of
  // characters the body could not convert; the buffer is unchanged when no output could be had.
  template <typename Body>
  static int Convert(CMemory& m, int64_t bound, Body body) {
    if (!m.m_pData) return 0;
    CodeWriter out(bound);
    if (!out.Ok()) return 0;
    int unconverted = 0;
    out.m_w = body(reinterpret_cast<const unsigned char*>(m.m_pData), m.m_nLength, out.m_w, unconverted);
    out.Finish(m);
    return unconverted;
  }

  // Puts the result in place of target's content; false (target unchanged) after a failed growth.
  bool Finish(CMemory& target) {
    if (!Ok()) return false;
    m_out.SetLength(static_cast<int>(m_w - m_out.m_pData));
    m_out.ShrinkToFit();
    target.TakeOver(m_out);
    return true;
  }

 private:
  void Reset() {
    m_w = m_out.m_pData;
    m_end = m_w ? m_w + m_out.m_nCapacity - 1 : nullptr;
  }
  bool Grow(int64_t n) {
    if (!Ok()) return false;
    const int64_t used = m_w - m_out.m_pData;
    int64_t want = static_cast<int64_t>(m_out.m_nCapacity) * 2;
    if (want < used + n) want = used + n;
    if (want > INT32_MAX - 1 && used + n <= INT32_MAX - 1) want = INT32_MAX - 1;
    m_out.AllocBuffer(want);
    if (!Ok()) {
      m_w = m_end = nullptr;
      return false;
    }
    m_w = m_out.m_pData + used;
    m_end = m_out.m_pData + m_out.m_nCapacity - 1;
    return true;
  }

  CMemory m_out;
  char* m_w = nullptr;
  char* m_end = nullptr;
};
