// Work run once per pass of the message pump.
#pragma once

#include <vector>

class CIdleCallback {
 public:
  virtual ~CIdleCallback() = default;
  virtual void OnIdle() = 0;

  // Set by the owner: the next pass takes the callback out of the list (without deleting it).
  bool finished = false;
};

// The process-wide list, in call order; the framework itself registers none.
std::vector<CIdleCallback*>& IdleCallbacks();

// One pass: finished entries leave the list, every other entry is called.
void RunIdleCallbacks();
