// The lines of a text as the text font draws and measures them.
#pragma once

#include <string_view>

// Calls f(line, isLast) for every piece of the text between line feeds; a carriage return stays
// part of its line. Lines may have any length.
template <typename F>
void ForEachTextLine(std::string_view text, F&& f) {
  for (;;) {
    const size_t feed = text.find('\n');
    if (feed == std::string_view::npos) {
      f(text, true);
      return;
    }
    f(text.substr(0, feed), false);
    text.remove_prefix(feed + 1);
  }
}
