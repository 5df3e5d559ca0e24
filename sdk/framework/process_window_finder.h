// Brings the window of another running copy of the program to the front.
#pragma once

class CProcessWindowFinder {
 public:
  // Asks the copy started from the executable exePath (program form) that holds its
  // single-instance mutex to bring its window to the front. 0 when it says it did, 1 otherwise
  // (no such copy, or it has no window).
  int Find(const char* exePath);
};
