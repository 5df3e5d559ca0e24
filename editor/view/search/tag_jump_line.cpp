#include "editor/view/search/tag_jump_line.h"

#include <climits>

#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/sjis_char.h"
#include "platform/sjis_literal.h"

namespace {

// The grep result's markers: a hit of the second style starts with the first, a file header with
// the second (its path follows in double quotes).
constexpr std::string_view kHitMark = "・"_sj;
constexpr std::string_view kHeaderMark = "■\""_sj;
// What a header may end with after its path's closing quote: the code the grep detected.
constexpr std::string_view kCodeLabelStart = "  [";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == '\t' || c == '\n' || c == ' '; }

// The text up to its line end (CR or LF) or a NUL, which ends the line as the path finder reads it.
std::string_view WithoutLineEnd(std::string_view text) {
  const size_t end = text.find_first_of(std::string_view("\r\n\0", 3));
  return end == std::string_view::npos ? text : text.substr(0, end);
}

// Reads the digits at text[*pos] into *value (saturating); *pos moves past them.
void ReadDigits(std::string_view text, size_t* pos, int* value) {
  long long v = 0;
  for (; *pos < text.size() && IsDigit(text[*pos]); ++*pos) {
    v = v * 10 + (text[*pos] - '0');
    if (v > INT_MAX) v = INT_MAX;
  }
  *value = static_cast<int>(v);
}

}  // namespace

void CTagJumpLineParser::ReadNumberPair(std::string_view text, int* first, int* second) {
  *first = 0;
  *second = 0;
  // Digits are never trail bytes of double-byte characters, so a byte scan finds only real ones.
  size_t pos = 0;
  int* const values[] = {first, second};
  for (int* value : values) {
    while (pos < text.size() && !IsDigit(text[pos])) ++pos;
    if (pos == text.size()) return;
    ReadDigits(text, &pos, value);
  }
}

bool CTagJumpLineParser::ParseHeader(std::string_view rest, TagJumpPlace* place) const {
  rest = WithoutLineEnd(rest);
  std::string_view tail;
  // The header quotes its path and puts nothing with a double quote after it, so the last quote
  // ends the path even when the name holds blanks, quotes or another file's name as its start.
  const size_t quote = rest.rfind('"');
  if (quote != std::string_view::npos && quote > 0 && m_isFile(std::string(rest.substr(0, quote)))) {
    place->path.assign(rest.substr(0, quote));
    tail = rest.substr(quote + 1);
  } else {
    // A header edited by hand: the path finder reads what it can.
    const std::string text(rest);
    int start = 0;
    int length = 0;
    if (!FindFilePathInLine(text.c_str(), &start, &length, m_isFile)) return false;
    place->path = text.substr(static_cast<size_t>(start), static_cast<size_t>(length));
    tail = rest.substr(static_cast<size_t>(start + length));
    if (!tail.empty() && tail.front() == '"') tail.remove_prefix(1);
  }
  // The detected code's label ("  [UTF-8]") is no line number.
  const size_t label = tail.rfind(kCodeLabelStart);
  if (label != std::string_view::npos && tail.back() == ']') tail = tail.substr(0, label);
  ReadNumberPair(tail, &place->line, &place->column);
  return true;
}

bool CTagJumpLineParser::ParseOtherText(std::string_view line, TagJumpPlace* place) const {
  const std::string text(WithoutLineEnd(line));
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const int size = static_cast<int>(text.size());
  int pos = 0;
  while (pos < size) {
    while (pos < size && IsBlank(text[pos])) ++pos;
    if (pos == size) break;
    int start = 0;
    int length = 0;
    if (FindFilePathInLine(text.c_str() + pos, &start, &length, m_isFile)) {
      const size_t from = static_cast<size_t>(pos + start);
      place->path = text.substr(from, static_cast<size_t>(length));
      ReadNumberPair(std::string_view(text).substr(from + static_cast<size_t>(length)), &place->line, &place->column);
      return true;
    }
    // No file starts here: try again after the next blank.
    while (pos < size && !IsBlank(text[pos])) pos += SjisCharSize(bytes, size, pos);
  }
  return false;
}

CTagJumpLineParser::Result CTagJumpLineParser::Parse(std::string_view line, const LineAbove& above,
                                                     TagJumpPlace* place) const {
  *place = TagJumpPlace{};
  if (line.starts_with(kHitMark)) {
    TagJumpPlace header;
    for (int n = 1;; ++n) {
      const std::optional<std::string_view> text = above ? above(n) : std::nullopt;
      if (!text || text->starts_with(kHitMark)) {
        if (text) continue;
        return Result::kGrepNoFile;
      }
      if (!text->starts_with(kHeaderMark) || !ParseHeader(text->substr(kHeaderMark.size()), &header)) {
        return Result::kGrepNoFile;
      }
      break;
    }
    place->path = std::move(header.path);
    ReadNumberPair(WithoutLineEnd(line.substr(kHitMark.size())), &place->line, &place->column);
    return Result::kPlace;
  }
  if (line.starts_with(kHeaderMark)) {
    return ParseHeader(line.substr(kHeaderMark.size()), place) ? Result::kPlace : Result::kGrepNoFile;
  }
  return ParseOtherText(line, place) ? Result::kPlace : Result::kNoPath;
}
