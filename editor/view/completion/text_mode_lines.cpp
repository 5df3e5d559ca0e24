#include "editor/view/completion/text_mode_lines.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "editor/foundation/text/sjis_char.h"

namespace {

constexpr size_t kBlock = 65536;

}  // namespace

CTextModeLines::CTextModeLines(int limit) : m_limit(static_cast<size_t>(std::max(limit, 2))) {}

bool CTextModeLines::Open(std::string_view path) {
  if (!m_file.Open(path, platform::PathMode::kExact)) return false;
  m_file.AdviseSequential();
  // A whole block behind the longest run a piece needs to look at.
  m_size = kBlock + m_limit + 1;
  m_buffer = std::make_unique_for_overwrite<char[]>(m_size);
  m_pos = m_end = 0;
  m_offset = 0;
  m_eof = false;
  return true;
}

bool CTextModeLines::Fill() {
  if (m_eof || !m_file.IsOpen()) return false;
  if (m_pos > 0) {
    std::memmove(m_buffer.get(), m_buffer.get() + m_pos, m_end - m_pos);
    m_end -= m_pos;
    m_pos = 0;
  }
  const size_t room = m_size - m_end;
  if (room == 0) return false;
  const int64_t got =
      m_file.ReadSome(m_offset, std::span(reinterpret_cast<unsigned char*>(m_buffer.get() + m_end), room));
  if (got <= 0) {
    m_eof = true;
    return false;
  }
  m_offset += static_cast<uint64_t>(got);
  m_end += static_cast<size_t>(got);
  return true;
}

bool CTextModeLines::Next(std::string_view* text, bool* lineEnd) {
  // A piece is decided by the next limit + 1 bytes: its "\n" is among them when the line fits
  // (a CR LF taking one byte of the limit), else the line is longer than the piece. The file is
  // read on only when they are not all there, so only a line cut by a block's end is moved.
  if (!m_buffer) return false;
  const char* nl = nullptr;
  for (;;) {
    const size_t window = std::min(m_end - m_pos, m_limit + 1);
    nl = static_cast<const char*>(std::memchr(m_buffer.get() + m_pos, '\n', window));
    if (nl || m_end - m_pos > m_limit || !Fill()) break;
  }
  if (m_pos >= m_end) return false;
  const char* start = m_buffer.get() + m_pos;
  const size_t avail = m_end - m_pos;
  if (nl) {
    size_t length = static_cast<size_t>(nl - start);
    if (length > 0 && nl[-1] == '\r') --length;
    if (length + 1 <= m_limit) {
      *text = std::string_view(start, length);
      *lineEnd = true;
      m_pos += static_cast<size_t>(nl - start) + 1;
      return true;
    }
  } else if (avail <= m_limit) {
    // The last line, without a line end: what is left.
    *text = std::string_view(start, avail);
    *lineEnd = false;
    m_pos = m_end;
    return true;
  }
  // Longer than a piece: its first limit bytes, less a double-byte character they would cut.
  const size_t cut = WholeCharsPrefixLength(start, static_cast<int>(avail), static_cast<int>(m_limit));
  *text = std::string_view(start, cut);
  *lineEnd = false;
  m_pos += cut;
  return true;
}
