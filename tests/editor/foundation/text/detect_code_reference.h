// The character-code scores as the detection computed them before it took its text 64 bytes at a
// time: one step per byte for the EUC, Shift-JIS and UTF-8 walks, a library search for escapes and
// a step per byte for UTF-7. Kept for the tests only, as the reference the detection must agree with.
#pragma once

#include "editor/foundation/text/code_detect.h"

CodeScores ReferenceCodeScores(const unsigned char* s, int len);
