#include "sdk/graphics/text_draw.h"

#include <algorithm>

#include "platform/sjis.h"
#include "platform/sjis_literal.h"
#include "sdk/framework/error_log.h"
#include "sdk/graphics/text_font.h"
#include "sdk/graphics/text_plane.h"
#include "sdk/graphics/text_scan.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Selectable spans a text may mark: more would only be a malformed number.
constexpr int32_t kMaxSpans = 1024;

int32_t Clamp32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

int64_t FloorHalf(int64_t v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); }

// The code of the character at p (a single byte, or lead + trail × 256) and its length; a lead
// byte directly before the terminating zero is no character (length 0).
int32_t CharAt(const char* p, int* length) {
  const unsigned char c = static_cast<unsigned char>(*p);
  if (c == 0) {
    *length = 0;
    return 0;
  }
  if (platform::IsSjisLead(c)) {
    const unsigned char trail = static_cast<unsigned char>(p[1]);
    if (trail == 0) {
      *length = 0;
      return 0;
    }
    *length = 2;
    return c + trail * 256;
  }
  *length = 1;
  return c;
}

// The font size of the size ladder of a font tag.
int32_t LadderSize(int32_t n, int32_t base) {
  const int64_t b = base;
  int64_t size;
  switch (n) {
    case -4:
      size = b / 4;
      break;
    case -3:
      size = b / 3;
      break;
    case -2:
      size = b / 2;
      break;
    case -1:
      size = 2 * b / 3;
      break;
    case 0:
      size = b;
      break;
    case 1:
      size = 3 * b / 2;
      break;
    case 2:
      size = 2 * b;
      break;
    case 3:
      size = 3 * b;
      break;
    case 4:
      size = 4 * b;
      break;
    default:
      size = int64_t{n} * b;
      break;
  }
  return Clamp32(size);
}

}  // namespace

struct CTextDraw::LineState {
  int64_t y = 0;
  size_t lineStart = 0;
  int64_t widest = 0;
  int64_t indent = 0;
  int64_t penX = 0;
  int64_t height = 0;  // of the line so far
  bool hang = false;
  int32_t align = 0;  // taken before the character that ends the line was read
  RECT rect{};        // the last measured glyph
};

CTextDraw::CTextDraw() = default;
CTextDraw::~CTextDraw() = default;

void CTextDraw::SetNoLineStartChars(std::string_view chars) { m_noLineStart.assign(chars.data(), chars.size()); }

bool CTextDraw::IsNoLineStartChar(int32_t code) const {
  for (const char* p = m_noLineStart.c_str();;) {
    int length = 0;
    const int32_t c = CharAt(p, &length);
    if (length == 0) return false;
    if (c == code) return true;
    p += length;
  }
}

size_t CTextDraw::GaijiCount() const { return gaijiList ? gaijiList->Count() : 0; }

void CTextDraw::SetGlyphFont(CTextFont& font, const CTextDrawContext& record, int32_t code) const {
  const char bytes[2] = {static_cast<char>(code & 0xFF), static_cast<char>((code >> 8) & 0xFF)};
  font.SetText(std::string_view(bytes, code > 0xFF ? 2 : 1));
  font.SetWeight(record.bold ? 700 : 400);
  font.SetSize(record.size);
  font.SetFontType(record.face);
  font.SetTextColor(overrideColors ? overrideTextColor : record.color);
  font.SetShadowColor(overrideColors ? overrideShadowColor : record.shadowColor);
  font.SetItalic(record.italic);
  font.SetUnderline(record.underline);
  font.SetStrikeOut(record.strike);
  // Two-level glyphs: the text plane does its own smoothing.
  font.SetQuality(4);
}

void CTextDraw::StartPass() {
  m_work = settings;
  m_unknownTags.clear();
  // Nothing of an earlier, interrupted pass may reach into this one.
  m_pendingCode = 0;
  m_pendingResult = 0;
  m_replaceCursor = nullptr;
}

// ---------------------------------------------------------------------------------------------
// The tag parser.

int CTextDraw::EmitReplaceString(int32_t* code) {
  int length = 0;
  *code = CharAt(m_replaceCursor, &length);
  m_replaceCursor += length;
  int next = 0;
  CharAt(m_replaceCursor, &next);
  if (next == 0) m_replaceCursor = nullptr;
  return kChar;
}

int CTextDraw::ReadIndexTag(int32_t* n) {
  if (GetFieldNum(m_work.cursor, *n, false) != 0 || *n < 0) return kEndOfText;
  if (!IsToken(m_work.cursor, ">")) return kEndOfText;
  return kChar;
}

int CTextDraw::ParseFontTag() {
  const char*& p = m_work.cursor;
  m_work.faceStack.push_back(m_work.face);
  m_work.sizeStack.push_back(m_work.size);
  m_work.colorStack.push_back(m_work.color);
  static constexpr const char* kFaces[] = {"ＭＳ ゴシック"_sj, "ＭＳ Ｐゴシック"_sj, "ＭＳ 明朝"_sj, "ＭＳ Ｐ明朝"_sj};
  for (;;) {
    if (SkipSpace(p)) return kEndOfText;
    if (IsToken(p, "size=")) {
      int32_t n = 0;
      if (GetQuotedNum(p, n) != 0) return kEndOfText;
      m_work.size = LadderSize(n, m_work.baseSize);
    } else if (IsToken(p, "color=")) {
      COLORREF color = 0;
      if (GetQuotedColor(p, color) != 0) return kEndOfText;
      m_work.color = color;
    } else if (IsToken(p, "face=\"")) {
      for (int face = 0; face < 4; ++face) {
        if (IsToken(p, kFaces[face])) {
          m_work.face = face;
          break;
        }
      }
      if (*p != '"') return kEndOfText;
      ++p;
    } else if (IsToken(p, ">")) {
      return kChar;
    } else {
      return kEndOfText;
    }
  }
}

int CTextDraw::ParseParagraphTag() {
  const char*& p = m_work.cursor;
  for (;;) {
    if (SkipSpace(p)) return kEndOfText;
    if (!IsToken(p, "align=\"")) return IsToken(p, ">") ? kChar : kEndOfText;
    if (IsToken(p, "left")) {
      m_work.align = 0;
    } else if (IsToken(p, "center")) {
      m_work.align = 1;
    } else if (IsToken(p, "right")) {
      m_work.align = 2;
    }
    if (SkipSpace(p) || *p != '"') return kEndOfText;
    ++p;
  }
}

int CTextDraw::ParseDataVector() {
  const char*& p = m_work.cursor;
  int32_t n = 0;
  if (GetNum(p, n) != 0 || n < 0 || n >= kDataVectors) return kEndOfText;
  std::vector<int32_t>& vector = m_data[static_cast<size_t>(n)];
  vector.clear();
  if (SkipSpace(p)) return kEndOfText;
  do {
    if (*p != ',') return kEndOfText;
    ++p;
    if (SkipSpace(p)) return kEndOfText;
    int32_t value = 0;
    if (GetNum(p, value) != 0) return kEndOfText;
    vector.push_back(value);
    if (SkipSpace(p)) return kEndOfText;
  } while (*p != '"');
  ++p;
  if (SkipSpace(p) || *p != '>') return kEndOfText;
  ++p;
  return kChar;
}

int CTextDraw::ParseIndentForBracket() {
  const char*& p = m_work.cursor;
  int32_t k = 0;
  if (GetFieldNum(p, k, false) != 0) k = 1;
  if (k < 0) {
    // -k picks a stored indent; there are sixteen.
    if (k < -kStoredIndents) return kEndOfText;
    k = storedIndents[static_cast<size_t>(-k - 1)];
  }
  m_pendingIndent = k;
  return IsToken(p, ">") ? kChar : kEndOfText;
}

int CTextDraw::ParseSelect(bool end) {
  int32_t n = 0;
  if (GetFieldNum(m_work.cursor, n, false) != 0 || n < 0 || n >= kMaxSpans) return kEndOfText;
  const size_t entry = static_cast<size_t>(2 * n + (end ? 1 : 0));
  if (m_spans.size() < entry + 1) m_spans.resize(entry + 1, -1);
  if (m_spans[entry] == -1) m_spans[entry] = static_cast<int32_t>(m_glyphs.size());
  return IsToken(m_work.cursor, ">") ? kChar : kEndOfText;
}

// Skips a section to the <endif> that closes it (or, from a false <if>, to its <else>), counting
// nested <if>s. A tag right after another is seen too: the scan moves on only where nothing matched.
int CTextDraw::SkipSection(bool stopAtElse) {
  const char*& p = m_work.cursor;
  int depth = 0;
  while (*p != '\0') {
    if (IsToken(p, "<if ")) {
      ++depth;
    } else if (IsToken(p, "<else>")) {
      if (stopAtElse && depth == 0) return kChar;
    } else if (IsToken(p, "<endif>")) {
      if (--depth < 0) return kChar;
    } else {
      ++p;
    }
  }
  return kInSkippedSection;
}

int CTextDraw::GetNextChar(int32_t* code) {
  if (m_pendingCode != 0) {
    *code = m_pendingCode;
    m_pendingCode = 0;
    return m_pendingResult;
  }
  if (m_replaceCursor) return EmitReplaceString(code);
  const char*& p = m_work.cursor;
  if (!p) return kEndOfText;
  for (;;) {
    if (*p == '\0') return kEndOfText;
    const char* q = p;
    while (IsBlank(*q)) ++q;
    // Every tag and entity starts with one of these two bytes; anything else is text.
    if (*q == '<' || *q == '&') {
      int r = kChar;
      if (IsToken(p, "<BR>")) return kLineBreak;
      if (IsToken(p, "</P>")) {
        m_work.align = 0;
        return kLineBreak;
      }
      if (IsToken(p, "<HR>")) return kEndOfLayout;
      static constexpr std::pair<const char*, int32_t> kEntities[] = {{"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}};
      for (const auto& [entity, c] : kEntities) {
        if (IsToken(p, entity)) {
          *code = c;
          return kChar;
        }
      }
      if (IsToken(p, "<!--")) {
        // The comment is kept up to 255 bytes, never cutting a character in two.
        char comment[kCommentBytes];
        if (CopyToString(p, "-->", comment, sizeof comment) != 0) return kEndOfText;
        m_comment = comment;
        continue;
      }
      if (IsToken(p, "<head>")) {
        if (SkipToString(p, "</head>") != 0) return kEndOfText;
        continue;
      }
      if (IsToken(p, "<html>") || IsToken(p, "</html>") || IsToken(p, "<body>") || IsToken(p, "</body>")) continue;
      if (IsToken(p, "<B>")) {
        m_work.bold = true;
        continue;
      }
      if (IsToken(p, "</B>")) {
        m_work.bold = false;
        continue;
      }
      if (IsToken(p, "<FONT")) {
        if ((r = ParseFontTag()) != kChar) return r;
        continue;
      }
      if (IsToken(p, "</FONT>")) {
        if (m_work.faceStack.empty() || m_work.sizeStack.empty() || m_work.colorStack.empty()) {
          ErrorLog::Out("CTextDrawで<Font>の存在していない</Font>タグ"_sj);
        } else {
          m_work.face = m_work.faceStack.back();
          m_work.size = m_work.sizeStack.back();
          m_work.color = m_work.colorStack.back();
          m_work.faceStack.pop_back();
          m_work.sizeStack.pop_back();
          m_work.colorStack.pop_back();
        }
        continue;
      }
      struct Switch {
        const char* token;
        bool CTextDrawContext::*field;
        bool value;
      };
      static constexpr Switch kSwitches[] = {
          {"<U>", &CTextDrawContext::underline, true}, {"</U>", &CTextDrawContext::underline, false},
          {"<S>", &CTextDrawContext::strike, true},    {"</S>", &CTextDrawContext::strike, false},
          {"<I>", &CTextDrawContext::italic, true},    {"</I>", &CTextDrawContext::italic, false},
      };
      bool matched = false;
      for (const Switch& s : kSwitches) {
        if (IsToken(p, s.token)) {
          m_work.*s.field = s.value;
          matched = true;
          break;
        }
      }
      if (matched || IsToken(p, "<P>")) continue;
      if (IsToken(p, "<P ")) {
        if ((r = ParseParagraphTag()) != kChar) return r;
        continue;
      }
      if (IsToken(p, "<VDATA=\"")) {
        if ((r = ParseDataVector()) != kChar) return r;
        continue;
      }
      if (IsToken(p, "<IndentForBracket")) {
        if ((r = ParseIndentForBracket()) != kChar) return r;
        continue;
      }
      if (IsToken(p, "<GAIJI ")) {
        int32_t n = 0;
        if ((r = ReadIndexTag(&n)) != kChar) return r;
        *code = -1 - n;
        return kChar;
      }
      if (IsToken(p, "<ReplaceString ")) {
        int32_t n = 0;
        if (GetFieldNum(p, n, false) != 0) return kEndOfText;
        const size_t count = replaceStrings ? replaceStrings->size() : 0;
        if (n < 0 || static_cast<size_t>(n) >= count) return kEndOfText;
        if (!IsToken(p, ">")) return kEndOfText;
        // An empty string emits nothing.
        const char* s = (*replaceStrings)[static_cast<size_t>(n)].c_str();
        int length = 0;
        CharAt(s, &length);
        if (length == 0) continue;
        m_replaceCursor = s;
        return EmitReplaceString(code);
      }
      if (IsToken(p, "<Bottom>")) {
        m_work.valign = 0;
        continue;
      }
      if (IsToken(p, "<Middle>")) {
        m_work.valign = 1;
        continue;
      }
      if (IsToken(p, "<Top>")) {
        m_work.valign = 2;
        continue;
      }
      if (IsToken(p, "<Select ")) {
        if ((r = ParseSelect(false)) != kChar) return r;
        continue;
      }
      if (IsToken(p, "</Select ")) {
        if ((r = ParseSelect(true)) != kChar) return r;
        continue;
      }
      if (IsToken(p, "<if ")) {
        int32_t n = 0;
        if ((r = ReadIndexTag(&n)) != kChar) return r;
        if (condition && !condition->Evaluate(n) && (r = SkipSection(true)) != kChar) return r;
        continue;
      }
      if (IsToken(p, "<else>")) {
        if ((r = SkipSection(false)) != kChar) return r;
        continue;
      }
      if (IsToken(p, "<endif>")) continue;
      if (skipUnknownTags && IsToken(p, "<")) {
        m_unknownTags.push_back(p);
        if (SkipToString(p, ">") != 0) return kEndOfText;
        continue;
      }
    }
    int length = 0;
    const int32_t c = CharAt(p, &length);
    if (length == 0) {
      // A lead byte with nothing after it: no character, and the text ends here.
      ++p;
      continue;
    }
    p += length;
    if (c == '\n') continue;
    if (c == '\r') {
      ++m_work.sourceLine;
      continue;
    }
    *code = c;
    return kChar;
  }
}

// ---------------------------------------------------------------------------------------------
// Layout.

int CTextDraw::GetNextCharRect(RECT* rect) {
  m_gaiji = false;
  const int r = GetNextChar(&m_code);
  if (r != kChar) return r;
  if (m_code < 0) {
    const int64_t n = -1 - int64_t{m_code};
    if (static_cast<uint64_t>(n) >= GaijiCount()) return kUnmeasurable;
    const RECT& source = gaijiList->At(static_cast<size_t>(n)).source;
    *rect = RECT{0, 0, Clamp32(int64_t{source.right} - source.left + 2), Clamp32(int64_t{source.bottom} - source.top)};
    m_gaiji = true;
    return kChar;
  }
  CTextFont font;
  SetGlyphFont(font, m_work, m_code);
  if (vertical && (font.GetFaceName().empty() || font.GetFaceName().front() != '@')) {
    font.SetFaceName("@" + font.GetFaceName());
  }
  int w = 0, h = 0;
  if (font.GetSize(&w, &h) != 0) return kUnmeasurable;
  *rect = RECT{0, 0, w, h};
  return kChar;
}

void CTextDraw::Place(LineState& s, const RECT& rect) {
  s.penX += int64_t{m_work.charSpacing} + rect.right - 4;
  s.height = std::max({s.height, int64_t{rect.bottom} + (m_gaiji ? 2 : 0), int64_t{m_work.lineHeight}});
  m_glyphs.push_back(rect);
  m_glyphInfo.push_back({m_gaiji, m_work.valign});
}

void CTextDraw::EndLine(LineState& s, bool closedByHr) {
  s.hang = false;
  const int64_t width = m_work.width;
  int64_t x = s.align == 0 ? s.indent : s.align == 1 ? FloorHalf(width - s.penX) : s.align == 2 ? width - s.penX : 0;
  const int64_t lineHeight = s.height, y = s.y;
  for (size_t i = s.lineStart; i < m_glyphs.size(); ++i) {
    RECT& g = m_glyphs[i];
    const int64_t w = g.right;
    const int64_t right = w + x;
    g.left = Clamp32(int64_t{g.left} + x);
    s.widest = std::max(s.widest, right);
    x += int64_t{m_work.charSpacing} + w - 4;
    int32_t v = m_glyphInfo[i].valign;
    if (vertical && (v == 0 || v == 2)) v = 2 - v;
    int64_t top = g.top, bottom = g.bottom;
    if (v == 0) {
      top += lineHeight - bottom + y;
      bottom = lineHeight + y;
    } else if (v == 1) {
      const int64_t d = (lineHeight - bottom) / 2;
      top += d + y;
      bottom = lineHeight - d + y;
    } else if (v == 2) {
      top += y;
      bottom += y;
    }
    g.top = Clamp32(top);
    g.bottom = Clamp32(bottom);
    g.right = Clamp32(right - 4 + (m_glyphInfo[i].gaiji ? 2 : 0));
  }
  s.lineStart = m_glyphs.size();
  if (lineHeight != 0) {
    s.y += m_work.lineSpacing + lineHeight;
  } else if (!closedByHr) {
    s.y += m_work.lineHeight;
  }
  s.height = 0;
  s.penX = 0;
  if (m_pendingIndent != 0) {
    // An indent wider than the line would only push every glyph onto a line of its own.
    const int64_t indent = (int64_t{m_work.charSpacing} + s.rect.right - 4) * m_pendingIndent;
    s.indent = std::clamp<int64_t>(indent, 0, std::max(0, m_work.width));
    m_pendingIndent = 0;
  }
}

int CTextDraw::Layout(bool draw) {
  StartPass();
  m_glyphs.clear();
  m_glyphInfo.clear();
  m_spans.clear();
  m_pendingIndent = 0;
  LineState s;
  for (;;) {
    s.align = m_work.align;
    const int r = GetNextCharRect(&s.rect);
    if (r != kChar && r != kLineBreak && r != kEndOfLayout) return r;
    const bool overflow = int64_t{s.rect.right} + s.penX + s.indent > m_work.width;
    if (r == kChar && !overflow) {
      Place(s, s.rect);
      continue;
    }
    if (r == kChar && !s.hang && IsNoLineStartChar(m_code)) {
      // A character that may not start a line hangs past the width, unless the next one may not
      // start a line either: then both go to the next line.
      int32_t ahead = 0;
      const int ra = GetNextChar(&ahead);
      m_pendingCode = ra == kChar ? ahead : -1;
      m_pendingResult = ra;
      if (ra == kChar && IsNoLineStartChar(ahead)) {
        EndLine(s, false);
      } else {
        s.hang = true;
      }
      Place(s, s.rect);
      continue;
    }
    EndLine(s, r == kEndOfLayout);
    if (r == kLineBreak) continue;
    if (r == kEndOfLayout) break;
    Place(s, s.rect);
  }
  if (!draw) return 0;
  if (s.y == 0 || s.widest == 0) {
    m_glyphs.clear();
    m_glyphInfo.clear();
    CreateSurface(1, 1);
    return 0;
  }
  return Draw(s.y, s.widest);
}

int CTextDraw::Draw(int64_t totalHeight, int64_t widest) {
  const int32_t height = Clamp32(totalHeight), width = Clamp32(widest);
  if (vertical) {
    CreateSurface(height, width);
  } else {
    CreateSurface(width, height);
  }
  StartPass();
  for (size_t i = 0;;) {
    int32_t code = 0;
    const int r = GetNextChar(&code);
    if (r == kEndOfLayout) return 0;
    if (r == kLineBreak) continue;
    if (r != kChar) return r;
    // A condition that answers differently the second time can yield more characters than were
    // laid out: those have no place and are not drawn.
    if (i >= m_glyphs.size()) continue;
    RECT& rect = m_glyphs[i++];
    if (vertical) {
      rect = RECT{Clamp32(totalHeight - rect.bottom), rect.left, Clamp32(totalHeight - rect.top), rect.right};
    }
    if (code < 0) {
      const int64_t n = -1 - int64_t{code};
      if (static_cast<uint64_t>(n) >= GaijiCount()) return 1;
      DrawGaiji(gaijiList->At(static_cast<size_t>(n)), rect.left, rect.top);
    } else {
      DrawGlyph(m_work, code, rect);
    }
  }
}
