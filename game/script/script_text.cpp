#include "game/script/script_text.h"

#include <algorithm>
#include <cstring>
#include <limits>

ScriptTextBuffer ScriptText;

namespace {
// Zero bytes after the text: the lexer looks one byte ahead of the byte it examines.
constexpr size_t kPadding = 8;
}  // namespace

void ScriptTextBuffer::Assign(std::string_view bytes) {
  size_t zero = bytes.find('\0');
  if (zero != std::string_view::npos) bytes = bytes.substr(0, zero);
  // Positions are 32-bit (saves keep them as line numbers and offsets); a longer text is cut.
  constexpr size_t kMaxSize = std::numeric_limits<uint32_t>::max() - kPadding;
  if (bytes.size() > kMaxSize) bytes = bytes.substr(0, kMaxSize);
  m_bytes.assign(bytes.size() + kPadding, '\0');
  if (!bytes.empty()) std::memcpy(m_bytes.data(), bytes.data(), bytes.size());
  m_size = static_cast<uint32_t>(bytes.size());
  m_lineFeeds.clear();
  for (uint32_t i = 0; i < m_size; ++i) {
    if (m_bytes[i] == '\n') m_lineFeeds.push_back(i);
  }
  m_loaded = true;
}

void ScriptTextBuffer::Clear() {
  m_bytes.clear();
  m_bytes.shrink_to_fit();
  m_lineFeeds.clear();
  m_lineFeeds.shrink_to_fit();
  m_size = 0;
  m_loaded = false;
}

std::string_view ScriptTextBuffer::View(uint32_t begin, uint32_t end) const {
  end = std::min(end, m_size);
  begin = std::min(begin, end);
  return {m_bytes.data() + begin, end - begin};
}

uint32_t ScriptTextBuffer::LineFeedsBefore(uint32_t position) const {
  return static_cast<uint32_t>(std::lower_bound(m_lineFeeds.begin(), m_lineFeeds.end(), position) -
                               m_lineFeeds.begin());
}

uint32_t ScriptTextBuffer::LineStart(uint32_t position) const {
  uint32_t before = LineFeedsBefore(position);
  return before == 0 ? 0 : m_lineFeeds[before - 1] + 1;
}

int32_t ScriptTextBuffer::LineOfPosition(uint32_t position) const {
  if (position <= 4) return 1;
  uint32_t e = position - 1;
  if (At(position - 2) == '\n') e = position - 2;
  return static_cast<int32_t>(LineFeedsBefore(e)) + 1;
}

uint32_t ScriptTextBuffer::PositionOfLine(int32_t line) const {
  if (line <= 2) return 0;
  size_t feed = static_cast<size_t>(line) - 2;  // the start of line - 1 follows this line feed
  if (feed > m_lineFeeds.size()) return m_size;
  return m_lineFeeds[feed - 1] + 1;
}
