// How a conversion writes its output: inside the buffer's own block, which it keeps for the next
// text. A conversion whose output never runs ahead of the input it has read writes over its input.
// One whose output may grow first makes the block hold the input plus that growth (growing it only
// when it is too small), moves the input to the block's end and writes from the front: the output
// then never reaches the bytes still to be read. A failed growth (the user has been told) leaves the
// buffer as it was.
#pragma once

#include <cstdint>

#include "editor/foundation/text/memory.h"

class CodeWriter {
 public:
  // Converts the whole buffer: body(input, length, output, unconverted) reads the input, writes from
  // output and returns where its output ended. ahead: the most the output may ever be ahead of the
  // input read so far, counting the bytes a step writes beyond its own output (0: in place). Returns
  // the count of characters the body could not convert.
  template <typename Body>
  static int Convert(CMemory& m, int64_t ahead, Body body) {
    if (!m.m_pData || m.m_nLength == 0) return 0;
    const int len = m.m_nLength;
    const char* input = m.MoveInputBehind(ahead);
    if (!input) return 0;
    int unconverted = 0;
    char* end = body(reinterpret_cast<const unsigned char*>(input), len, m.m_pData, unconverted);
    m.SetLength(static_cast<int>(end - m.m_pData));
    return unconverted;
  }
};
