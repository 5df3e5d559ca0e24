// Which lines of a C or C++ source the compiler would read, as far as the outline needs it:
// directive lines are never read, nor the lines of a "#if 0" block or of the "#else" branch of any
// other conditional. Conditions are not evaluated.
#pragma once

#include <cstdint>

class CPreprocessorTracker {
 public:
  static constexpr int kMaxDepth = 32;
  // Where reading of the line starts (its first non-blank byte), or -1 when the line is a
  // directive, continues one, or lies in a disabled branch.
  int ScanLine(const char* pText, int nLen);
  int Depth() const { return m_nDepth; }

 private:
  bool m_bContinuation = false;
  int m_nDepth = 0;
  uint32_t m_nCurrentBit = 0;  // the bit of the innermost level; 0 for a level past the maximum
  uint32_t m_nDisabledMask = 0;
};
