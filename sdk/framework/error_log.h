// The multimedia library's error sink. The library hands its failure texts here; the game has no
// use for them, so they are discarded.
#pragma once

#include <string_view>

namespace ErrorLog {
inline void Out(std::string_view) {}
}  // namespace ErrorLog
