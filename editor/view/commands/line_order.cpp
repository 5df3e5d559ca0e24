#include "editor/view/commands/line_order.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// A line's place in the sort: the first eight bytes of its key as a big-endian number (zeros after
// a shorter key) decide most comparisons without following the key to its bytes.
struct SortItem {
  uint64_t prefix;
  uint32_t index;
};

uint64_t PrefixOf(std::string_view key) {
  uint64_t prefix = 0;
  for (size_t i = 0; i < 8; ++i) {
    prefix = (prefix << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
  }
  return prefix;
}

}  // namespace

std::string SortLines(std::span<const OrderedLine> lines, bool descending, std::string_view lineEnd) {
  std::vector<SortItem> order(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) order[i] = SortItem{PrefixOf(lines[i].key), static_cast<uint32_t>(i)};
  // Equal prefixes compare whole keys; string_view compares with char_traits<char>, which orders
  // bytes as unsigned char, and puts a prefix first.
  const auto less = [&](const SortItem& a, const SortItem& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    return lines[a.index].key < lines[b.index].key;
  };
  if (descending) {
    std::stable_sort(order.begin(), order.end(), [&](const SortItem& a, const SortItem& b) { return less(b, a); });
  } else {
    std::stable_sort(order.begin(), order.end(), less);
  }
  size_t total = lineEnd.size();
  for (const OrderedLine& line : lines) total += line.text.size();
  std::string out;
  out.reserve(total);
  const size_t last = lines.size() - 1;
  const bool lastOpen = !lines.empty() && !lines[last].text.ends_with('\n') && !lines[last].text.ends_with('\r');
  for (size_t i = 0; i < order.size(); ++i) {
    const size_t index = order[i].index;
    out.append(lines[index].text);
    // Without a line end it would run into the line that now follows it.
    if (lastOpen && index == last && i != last) out.append(lineEnd);
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
