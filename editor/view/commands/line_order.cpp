#include "editor/view/commands/line_order.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <vector>

std::string SortLines(std::span<const OrderedLine> lines, bool descending, std::string_view lineEnd) {
  std::vector<uint32_t> order(lines.size());
  std::iota(order.begin(), order.end(), 0u);
  // string_view compares with char_traits<char>, which orders bytes as unsigned char.
  if (descending) {
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return lines[b].key < lines[a].key; });
  } else {
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return lines[a].key < lines[b].key; });
  }
  size_t total = lineEnd.size();
  for (const OrderedLine& line : lines) total += line.text.size();
  std::string out;
  out.reserve(total);
  const size_t last = lines.size() - 1;
  const bool lastOpen = !lines.empty() && !lines[last].text.ends_with('\n') && !lines[last].text.ends_with('\r');
  for (size_t i = 0; i < order.size(); ++i) {
    out.append(lines[order[i]].text);
    // Without a line end it would run into the line that now follows it.
    if (lastOpen && order[i] == last && i != last) out.append(lineEnd);
  }
  return out;
}

std::string MergeEqualLines(std::span<const std::string_view> lines, int* removed) {
  std::string out;
  int dropped = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0 && lines[i] == lines[i - 1]) {
      ++dropped;
      continue;
    }
    out.append(lines[i]);
  }
  if (removed) *removed = dropped;
  return out;
}
