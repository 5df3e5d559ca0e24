// Sorting and merging whole lines, as plain functions over the lines' bytes.
#pragma once

#include <span>
#include <string>
#include <string_view>

struct OrderedLine {
  std::string_view text;  // the whole line, its line end included
  std::string_view key;   // what it sorts by
};

// The lines sorted stably by key, bytes compared unsigned and a prefix first (descending: the
// reverse order, equal keys still in their order), joined. When the last line has no line end and
// moves away from the end, it gets lineEnd; the line that becomes last keeps its own.
std::string SortLines(std::span<const OrderedLine> lines, bool descending, std::string_view lineEnd);

// The lines with each one equal to the line before it (line ends included) left out, joined;
// *removed gets how many went.
std::string MergeEqualLines(std::span<const std::string_view> lines, int* removed);
