// Text laid out in a rectangle: lines at line breaks and, when asked, at the rectangle's right edge.
#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/dc_text.h"
#include "platform/text_out.h"

namespace platform {
namespace {

struct Line {
  size_t begin;
  size_t end;
  int width;
};

class Layout {
 public:
  Layout(const Font& font, std::string_view text, UINT format) : m_font(font), m_text(text), m_format(format) {
    m_tabWidth = 8 * MeasureTextLine(font, "x").cx;
    if (m_tabWidth <= 0) m_tabWidth = 8 * std::max(1, font.Metrics().cell.height / 2);
  }

  size_t charSize(size_t i) const {
    if (IsSjisLead(static_cast<unsigned char>(m_text[i]))) return i + 1 < m_text.size() ? 2 : 1;
    return 1;
  }
  bool expandsTab(size_t i) const { return (m_format & DT_EXPANDTABS) && m_text[i] == '\t'; }
  // Where the pen stands after the character at i, from pen.
  int advance(size_t i, size_t size, int pen) const {
    if (expandsTab(i)) return (pen / m_tabWidth + 1) * m_tabWidth;
    // A lead byte alone at the end is no character.
    if (size == 1 && IsSjisLead(static_cast<unsigned char>(m_text[i]))) return pen;
    return pen + MeasureTextLine(m_font, m_text.substr(i, size)).cx;
  }

  std::vector<Line> lines(int maxWidth) const {
    std::vector<Line> out;
    size_t start = 0;
    while (start < m_text.size()) {
      size_t end = start;
      while (end < m_text.size() && m_text[end] != '\r' && m_text[end] != '\n') ++end;
      paragraph(start, end, maxWidth, out);
      if (end < m_text.size() && m_text[end] == '\r' && end + 1 < m_text.size() && m_text[end + 1] == '\n') ++end;
      start = end + 1;
    }
    return out;
  }

  // Draws a line with its left edge at x: the runs between tabs, each where its pen stands.
  void draw(const PixelBuffer& target, const RECT& clip, const Line& line, int x, int y, const TextColors& colors) const {
    int pen = 0;
    size_t run = line.begin;
    int runPen = 0;
    for (size_t i = line.begin; i < line.end;) {
      const size_t size = charSize(i);
      if (expandsTab(i)) {
        DrawTextLine(target, &clip, m_font, x + runPen, y, m_text.substr(run, i - run), colors);
        pen = advance(i, size, pen);
        run = i + size;
        runPen = pen;
      } else {
        pen = advance(i, size, pen);
      }
      i += size;
    }
    DrawTextLine(target, &clip, m_font, x + runPen, y, m_text.substr(run, line.end - run), colors);
  }

 private:
  void paragraph(size_t begin, size_t end, int maxWidth, std::vector<Line>& out) const {
    const bool wrap = (m_format & DT_WORDBREAK) != 0;
    size_t lineStart = begin;
    int pen = 0;
    // The last place the line may end, its width there, and where the next line would start.
    size_t breakEnd = begin, resume = begin;
    int breakWidth = 0;
    size_t i = begin;
    while (i < end) {
      const size_t size = charSize(i);
      if (m_text[i] == ' ') {
        if (i > lineStart) {
          breakEnd = i;
          breakWidth = pen;
        }
        // Spaces never push a line over: they go with the break.
        while (i < end && m_text[i] == ' ') pen = advance(i, 1, pen), ++i;
        resume = i;
        continue;
      }
      if (size == 2 && i > lineStart) {
        breakEnd = resume = i;
        breakWidth = pen;
      }
      const int next = advance(i, size, pen);
      if (wrap && next > maxWidth && breakEnd > lineStart) {
        out.push_back(Line{lineStart, breakEnd, breakWidth});
        lineStart = i = resume;
        while (lineStart < end && m_text[lineStart] == ' ') ++lineStart;
        i = breakEnd = resume = lineStart;
        pen = breakWidth = 0;
        continue;
      }
      pen = next;
      i += size;
      if (size == 2) {
        breakEnd = resume = i;
        breakWidth = pen;
      }
    }
    out.push_back(Line{lineStart, end, pen});
  }

  const Font& m_font;
  std::string_view m_text;
  UINT m_format;
  int m_tabWidth;
};

}  // namespace

int DrawTextA(HDC dc, const char* text, int length, RECT* rect, UINT format) {
  if (!dc || !dc->TextState().font || !text || !rect) return 0;
  const std::string_view all(text, length < 0 ? std::strlen(text) : static_cast<size_t>(length));
  const Font& font = *dc->TextState().font;
  const Layout layout(font, all, format);
  const std::vector<Line> lines = layout.lines(rect->right - rect->left);
  const int lineHeight = font.Metrics().cell.height;
  const int height = static_cast<int>(lines.size()) * lineHeight;
  if (format & DT_CALCRECT) {
    int widest = 0;
    for (const Line& line : lines) widest = std::max(widest, line.width);
    rect->right = rect->left + widest;
    rect->bottom = rect->top + height;
    return height;
  }
  const Bitmap* bitmap = dc->GetBitmap();
  if (!bitmap || bitmap->BitCount() != 32) return 0;
  const PixelBuffer target{reinterpret_cast<uint32_t*>(bitmap->Row(0)), bitmap->Width(), bitmap->Height(),
                           bitmap->TopDown() ? bitmap->Pitch() : -bitmap->Pitch()};
  RECT clip;
  const RECT output = dc->GetOutputRect();
  if (!IntersectRect(&clip, rect, &output)) return height;
  const DCTextState& state = dc->TextState();
  const TextColors colors{state.textColor, state.bkColor, state.bkMode == OPAQUE};
  int y = rect->top;
  for (const Line& line : lines) {
    if (y >= clip.bottom) break;
    layout.draw(target, clip, line, rect->left, y, colors);
    y += lineHeight;
  }
  return height;
}

}  // namespace platform
