#include "game/text/no_line_start.h"

#include <cstring>

#include "platform/sjis_literal.h"

const char* const kNoLineStartChars =
    "、。，．）〕］｝〉》」』】’”ゝゞヽヾ々？！：；ぁぃぅぇぉゃゅょゎァィゥェォャュョヮ"_sj;

bool StartsWithNoLineStartChar(std::string_view text) {
  if (text.size() < 2) return false;
  // Every character of the list is two bytes: compare whole characters, never a trail byte and the
  // next lead.
  for (const char* p = kNoLineStartChars; p[0] != '\0' && p[1] != '\0'; p += 2)
    if (std::memcmp(p, text.data(), 2) == 0) return true;
  return false;
}
