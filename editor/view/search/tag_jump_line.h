// Reads the place a tag jump goes to from a line of text: a grep result (a hit line of the second
// output style, whose file is named by the header line above it, or that header line itself), or
// any text that names an existing file followed by its line and column ("a.c(12,3): ...",
// "src/a.c:12:3: ...", a line of the first grep style).
//
// The parser only reads text; whether a candidate names a file is asked of the caller, so that
// relative names are resolved where the caller wants and tests run without files. Positions are
// bytes of Shift-JIS text; no scan starts inside a double-byte character.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

struct TagJumpPlace {
  std::string path;  // as the line spells it (a relative name stays relative)
  int line = 0;      // 1-based; 0 when the line gives none (the caret is not moved)
  int column = 0;    // 1-based; 0 when the line gives none
};

class CTagJumpLineParser {
 public:
  enum class Result {
    kPlace,       // *place holds the target
    kGrepNoFile,  // a grep hit or file header whose file is not found: the jump fails
    kNoPath,      // other text naming no existing file (the tags files are asked instead)
  };

  // Whether a candidate (bytes as the line spells them) names an existing file, not a folder.
  using FileTest = std::function<bool(const std::string& candidate)>;
  // The document line n lines above the current one (1: the line just above); nullopt above the
  // first line. Line ends may be included.
  using LineAbove = std::function<std::optional<std::string_view>(int n)>;

  explicit CTagJumpLineParser(FileTest isFile) : m_isFile(std::move(isFile)) {}

  Result Parse(std::string_view line, const LineAbove& above, TagJumpPlace* place) const;

  // The first two runs of decimal digits in the text (the first number pair): 0 for each that is
  // missing; a value too large for an int stays at the largest.
  static void ReadNumberPair(std::string_view text, int* first, int* second);

 private:
  // A grep file header's text after its three marker bytes: the path and its numbers.
  bool ParseHeader(std::string_view rest, TagJumpPlace* place) const;
  // The first existing file named in other text, with the numbers after it.
  bool ParseOtherText(std::string_view text, TagJumpPlace* place) const;

  FileTest m_isFile;
};
