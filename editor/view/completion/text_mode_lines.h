// The lines of a small text file as the keyword dictionary and the word list take them: a CR LF
// is one line end "\n" (files written on other systems read the same), a line longer than the
// limit comes in pieces, each rest read as a line of its own. The file is streamed in blocks, so
// memory stays bounded however long a line or the file is.
#pragma once

#include <cstdint>
#include <string_view>
#include <memory>

#include "platform/file.h"

class CTextModeLines {
 public:
  // limit: the most bytes a piece holds, its "\n" counted (2 or more).
  explicit CTextModeLines(int limit);
  CTextModeLines(const CTextModeLines&) = delete;
  CTextModeLines& operator=(const CTextModeLines&) = delete;

  // Opens a regular file by its exact path (Shift-JIS). False when it cannot be opened.
  bool Open(std::string_view path);

  // The next piece: its bytes without the line end, and whether a "\n" ended it (not for the last
  // line of a file without a line end, nor for a piece cut at the limit). A cut never splits a
  // double-byte character. The bytes stay valid until the next call. False at the end of the file
  // or on a read error.
  bool Next(std::string_view* text, bool* lineEnd);

 private:
  // Reads more of the file behind the unread bytes; false when nothing more came.
  bool Fill();

  platform::ReadOnlyFile m_file;
  size_t m_limit;
  std::unique_ptr<char[]> m_buffer;
  size_t m_size = 0;
  size_t m_pos = 0;  // the first unread byte
  size_t m_end = 0;  // behind the last byte read
  uint64_t m_offset = 0;
  bool m_eof = false;
};
