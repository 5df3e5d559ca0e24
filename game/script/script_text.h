// The loaded scenario script: its bytes, followed by zero padding, and the positions of its line
// feeds. Every read goes through At(), which gives the zero byte for any position at or past the
// end, so no scan can run past the buffer.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

class ScriptTextBuffer {
 public:
  // Takes a copy of the script. A zero byte ends the text, as it ends the text for the lexer.
  void Assign(std::string_view bytes);
  void Clear();

  bool loaded() const { return m_loaded; }
  uint32_t size() const { return m_size; }
  char At(uint32_t position) const { return position < m_size ? m_bytes[position] : '\0'; }
  std::string_view View(uint32_t begin, uint32_t end) const;

  // Lines are counted from 1 by line feeds. The line of the character before position (the lexer's
  // read position); when that character starts a line, the line before it. Positions within the
  // first four bytes are line 1.
  int32_t LineOfPosition(uint32_t position) const;
  // The start of line - 1 (jumps land on the line after the one a label was read on); the start of
  // the text for lines up to 2; the end of the text for lines past the last.
  uint32_t PositionOfLine(int32_t line) const;
  // Number of line feeds before the given position.
  uint32_t LineFeedsBefore(uint32_t position) const;
  // Start of the line that holds the given position.
  uint32_t LineStart(uint32_t position) const;

 private:
  std::vector<char> m_bytes;
  std::vector<uint32_t> m_lineFeeds;
  uint32_t m_size = 0;
  bool m_loaded = false;
};

extern ScriptTextBuffer ScriptText;

inline int32_t LineOfPosition(uint32_t position) { return ScriptText.LineOfPosition(position); }
inline uint32_t PositionOfLine(int32_t line) { return ScriptText.PositionOfLine(line); }
