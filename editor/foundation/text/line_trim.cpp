#include "editor/foundation/text/line_trim.h"

#include "editor/foundation/text/line_end.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/text_utils.h"

namespace {

// The size of the blank at pos, 0 when the character there is none.
int BlankSizeAt(std::string_view line, size_t pos) {
  const unsigned char c = static_cast<unsigned char>(line[pos]);
  if (c == ' ' || c == '\t') return 1;
  if (c == 0x81 && pos + 1 < line.size() && static_cast<unsigned char>(line[pos + 1]) == 0x40) return 2;
  return 0;
}

std::string_view TrimLine(std::string_view line, TrimSide side) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
  const int length = static_cast<int>(line.size());
  size_t keepFrom = 0;
  size_t keepTo = 0;
  bool inLeadingRun = true;
  // Walked forward character by character: a blank's bytes may also be the trail of a double-byte
  // character, which only a walk from the start tells apart.
  for (int pos = 0; pos < length;) {
    const int blank = BlankSizeAt(line, static_cast<size_t>(pos));
    const int size = blank > 0 ? blank : SjisCharSize(bytes, length, pos);
    if (blank == 0) {
      if (inLeadingRun) keepFrom = static_cast<size_t>(pos);
      inLeadingRun = false;
      keepTo = static_cast<size_t>(pos + size);
    }
    pos += size;
  }
  if (side == TrimSide::kLeading) return inLeadingRun ? std::string_view() : line.substr(keepFrom);
  return line.substr(0, keepTo);
}

}  // namespace

std::string TrimLineBlanks(std::string_view text, TrimSide side) {
  std::string out;
  out.reserve(text.size());
  const int length = static_cast<int>(text.size());
  int pos = 0;
  int lineLength = 0;
  while (const char* line = GetNextLineOfBuffer(text.data(), length, &pos, &lineLength, nullptr)) {
    const size_t start = static_cast<size_t>(line - text.data());
    const size_t lineEnd = start + static_cast<size_t>(lineLength);
    out.append(TrimLine(text.substr(start, static_cast<size_t>(lineLength)), side));
    out.append(text.substr(lineEnd, static_cast<size_t>(pos) - lineEnd));
  }
  return out;
}
