// A substitution's replacement text, read once when the command is compiled: literal bytes and
// references to the match ("$&", "$0") or to a group ("$n" with all its digits, "${n}"). Escapes:
// "\\", "\$", "\n", "\r", "\t"; any other "$" or backslash stands for itself.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tovara_regexp {

class ReplacementTemplate {
 public:
  void Parse(std::string_view replacement);

  // Appends the expansion for one match; group(n) gives the group's text, empty for a group the
  // pattern does not have or that took part in nothing.
  template <typename Group>
  void Expand(std::string& out, Group group) const {
    for (const Piece& piece : m_pieces) {
      if (piece.group < 0) {
        out.append(m_literals, piece.offset, piece.length);
      } else {
        out.append(group(piece.group));
      }
    }
  }

 private:
  struct Piece {
    int group;  // -1 for literal text
    size_t offset;
    size_t length;
  };
  void AddLiteral(std::string_view bytes);
  std::string m_literals;
  std::vector<Piece> m_pieces;
};

}  // namespace tovara_regexp
