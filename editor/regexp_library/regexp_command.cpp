#include "editor/regexp_library/regexp_command.h"

#include "editor/foundation/text/sjis_char.h"

namespace tovara_regexp {
namespace {

constexpr char kFieldMark = '\xFF';

// Size of the character at text[pos]: a lead byte takes the next byte with it.
size_t CharSize(std::string_view text, size_t pos) {
  return IsSjisLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

// Reads one field up to an unescaped delimiter, stepping over double-byte characters whole so that
// a trail byte equal to the delimiter or to a backslash is neither. A pattern keeps its escapes (the
// engine reads them); a replacement loses the one before the delimiter. Returns the position after
// the delimiter, or npos when there is none.
size_t ReadDelimited(std::string_view text, size_t pos, char delimiter, bool dropDelimiterEscape, std::string& field) {
  while (pos < text.size()) {
    const char c = text[pos];
    if (c == delimiter) return pos + 1;
    size_t n = CharSize(text, pos);
    if (c == '\\' && pos + 1 < text.size()) {
      n = 1 + CharSize(text, pos + 1);
      if (dropDelimiterEscape && text[pos + 1] == delimiter) {
        ++pos;
        --n;
      }
    }
    field.append(text.substr(pos, n));
    pos += n;
  }
  return std::string_view::npos;
}

// The 0xFF form needs no escapes: the mark never occurs in Shift-JIS text.
size_t ReadField(std::string_view text, size_t pos, std::string& field) {
  const size_t mark = text.find(kFieldMark, pos);
  field.assign(text.substr(pos, mark == std::string_view::npos ? std::string_view::npos : mark - pos));
  return mark == std::string_view::npos ? mark : mark + 1;
}

bool IsSlashDelimiter(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u > 0x20 && u < 0x7F && !(u >= '0' && u <= '9') && !(u >= 'A' && u <= 'Z') && !(u >= 'a' && u <= 'z') &&
         c != '\\';
}

bool ReadOptions(std::string_view options, RegexpCommand& out, std::string& error) {
  for (char c : options) {
    switch (c) {
      case 'k':
        break;  // Shift-JIS is the only code there is
      case 'm':
        out.multiline = true;
        break;
      case 'i':
        out.ignoreCase = true;
        break;
      case 'g':
        out.global = true;
        break;
      default:
        error = "unknown option letter";
        if (static_cast<unsigned char>(c) > 0x20 && static_cast<unsigned char>(c) < 0x7F)
          error += std::string(" '") + c + "'";
        return false;
    }
  }
  return true;
}

}  // namespace

bool ParseCommand(std::string_view command, RegexpCommand& out, std::string& error) {
  out = RegexpCommand();
  if (command.size() >= 2 && (command[0] == 'm' || command[0] == 's') && command[1] == kFieldMark) {
    out.substitute = command[0] == 's';
    size_t pos = ReadField(command, 2, out.pattern);
    if (pos != std::string_view::npos && out.substitute) pos = ReadField(command, pos, out.replacement);
    if (pos == std::string_view::npos) {
      error = "command lacks a field";
      return false;
    }
    return ReadOptions(command.substr(pos), out, error);
  }
  size_t pos;
  char delimiter;
  if (!command.empty() && command[0] == '/') {
    pos = 1;
    delimiter = '/';
  } else if (command.size() >= 2 && (command[0] == 'm' || command[0] == 's') && IsSlashDelimiter(command[1])) {
    out.substitute = command[0] == 's';
    pos = 2;
    delimiter = command[1];
  } else {
    error = "not a regular-expression command";
    return false;
  }
  pos = ReadDelimited(command, pos, delimiter, false, out.pattern);
  if (pos != std::string_view::npos && out.substitute) {
    pos = ReadDelimited(command, pos, delimiter, true, out.replacement);
  }
  if (pos == std::string_view::npos) {
    error = "command lacks its closing delimiter";
    return false;
  }
  return ReadOptions(command.substr(pos), out, error);
}

}  // namespace tovara_regexp
