// Per-thread, reference-counted initialisation of the component runtime that the display, input and
// sound objects take around their creation. There is no such runtime here: the first use on a
// thread "initialises" it with a step that always succeeds, and the last use ends it.
#pragma once

#include <cstdint>

// 0 on success, 1 when the thread's first initialisation failed (here it never does).
int ComInitThread();
// Ends one use; the thread's last use uninitialises. A thread without uses is left alone.
void ComUninitThread();
// The calling thread's number of uses.
uint32_t ComThreadUseCount();
