// The tag-marked text renderer: lays out Shift-JIS text that carries a small HTML-like tag language
// (line breaks, paragraphs with alignment, styles, font face, size and colour, custom glyph images,
// vertical alignment in a line, conditional sections, data vectors, selectable spans, bracket
// indentation) into lines of glyph rectangles, then draws every glyph through the subclass.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win_types.h"
#include "sdk/framework/ring_ptr.h"
#include "sdk/graphics/text_draw_context.h"

class CDrawTarget;
class CMemPlane;
class CTextFont;
class CTextPlane;

// One custom glyph image: a rectangle of a surface whose colour key marks the transparent pixels.
struct GaijiEntry {
  CMemPlane* surface = nullptr;  // borrowed
  RECT source{};
  int32_t offsetX = 0;  // added to the glyph position when drawn
  int32_t offsetY = 0;
  bool opaqueCopy = false;  // copy every pixel and make it opaque, instead of keying
};

class GaijiList {
 public:
  size_t Count() const { return entries.size(); }
  const GaijiEntry& At(size_t n) const { return entries[n]; }
  std::vector<GaijiEntry> entries;
};

// Decides the sections of <if n>.
class CTextDrawCondition {
 public:
  virtual bool Evaluate(int32_t n) = 0;
  virtual ~CTextDrawCondition() = default;
};

class CTextDraw {
 public:
  // Results of GetNextChar and Layout.
  static constexpr int kChar = 0;
  static constexpr int kLineBreak = 1;       // GetNextChar; from Layout: a gaiji beyond the list while drawing
  static constexpr int kEndOfLayout = 2;
  static constexpr int kEndOfText = 3;       // the text ended without <HR>, or a tag is malformed
  static constexpr int kInSkippedSection = 4;
  static constexpr int kUnmeasurable = -1;

  static constexpr int kDataVectors = 16;
  static constexpr int kStoredIndents = 16;
  static constexpr size_t kCommentBytes = 256;

  CTextDraw();
  CTextDraw(const CTextDraw&) = delete;
  CTextDraw& operator=(const CTextDraw&) = delete;
  virtual ~CTextDraw();

  // The canvas the glyphs were drawn on.
  virtual CDrawTarget* GetSurface() = 0;
  // Draws a character in the style of the record with the rectangle's top-left corner and sets its
  // right and bottom to the drawn extent. This implementation draws into GetSurface() when that
  // is a memory surface.
  virtual void DrawGlyph(const CTextDrawContext& record, int32_t code, RECT& rect);
  // (Re)creates the canvas.
  virtual void CreateSurface(int32_t width, int32_t height) = 0;
  // Draws a custom glyph image at (x, y). This implementation draws into GetSurface() when that is
  // a memory surface.
  virtual void DrawGaiji(const GaijiEntry& entry, int32_t x, int32_t y);

  // Characters that may not begin a line (a Shift-JIS string).
  void SetNoLineStartChars(std::string_view chars);

  // Lays the settings record's text out into the glyph list and, when draw is set, draws it.
  // 0 done; 1 a gaiji beyond the list while drawing; 3 the text ended without <HR> or a tag is
  // malformed; 4 the text ended in a skipped conditional section; -1 a glyph cannot be measured.
  int Layout(bool draw);

  // The next character of the working record's text with the tags applied (its code written):
  // 0 a character, 1 a line break, 2 end of layout, 3 end of text or malformed tag, 4 the text
  // ended in a skipped section. A single-byte character's code is its byte, a double-byte one's
  // lead + trail × 256, a gaiji's -1 - its index.
  int GetNextChar(int32_t* code);
  // GetNextChar into the current code, then the glyph's unplaced rectangle (0, 0, width, height).
  int GetNextCharRect(RECT* rect);
  bool IsNoLineStartChar(int32_t code) const;
  // Configures a font for one character in the style of a record.
  void SetGlyphFont(CTextFont& font, const CTextDrawContext& record, int32_t code) const;

  // Inputs the owner sets.
  CTextDrawContext settings;
  bool skipUnknownTags = true;
  std::array<int32_t, kStoredIndents> storedIndents{};
  bool overrideColors = false;
  COLORREF overrideTextColor = 0x808080;
  COLORREF overrideShadowColor = static_cast<COLORREF>(-1);
  CRingPtr<GaijiList> gaijiList;
  CStringVectorPtr replaceStrings;
  bool vertical = false;
  CRingPtr<CTextDrawCondition> condition;

  // Results.
  const std::vector<RECT>& Glyphs() const { return m_glyphs; }
  const std::vector<int32_t>& DataVector(int n) const { return m_data[static_cast<size_t>(n)]; }
  // Entry 2n: first glyph of span n; 2n + 1: the glyph after its end; -1 where unset.
  const std::vector<int32_t>& Spans() const { return m_spans; }
  // For each tag that was not recognised, the text position just after its '<'.
  const std::vector<const char*>& UnknownTags() const { return m_unknownTags; }
  // The most recent comment, cut to 255 bytes at a character boundary.
  const std::string& Comment() const { return m_comment; }
  int32_t SourceLine() const { return m_work.sourceLine; }
  const CTextDrawContext& Working() const { return m_work; }

 private:
  struct GlyphInfo {
    bool gaiji;
    int32_t valign;
  };
  // Where pass 1 stands.
  struct LineState;

  void StartPass();
  int ParseFontTag();
  int ParseParagraphTag();
  int ParseDataVector();
  int ParseIndentForBracket();
  int ParseSelect(bool end);
  int SkipSection(bool stopAtElse);
  int EmitReplaceString(int32_t* code);
  int ReadIndexTag(int32_t* n);
  int Draw(int64_t totalHeight, int64_t widest);
  void Place(LineState& s, const RECT& rect);
  void EndLine(LineState& s, bool closedByHr);
  size_t GaijiCount() const;

  bool m_gaiji = false;
  CTextDrawContext m_work;
  std::vector<RECT> m_glyphs;
  std::vector<GlyphInfo> m_glyphInfo;
  std::array<std::vector<int32_t>, kDataVectors> m_data;
  std::vector<const char*> m_unknownTags;
  std::string m_comment;
  int32_t m_pendingIndent = 0;
  std::vector<int32_t> m_spans;
  std::string m_noLineStart;
  int32_t m_pendingCode = 0;
  int m_pendingResult = 0;
  int32_t m_code = 0;
  const char* m_replaceCursor = nullptr;
  // Drawing's own: the text plane every glyph is drawn through.
  std::unique_ptr<CTextPlane> m_glyphPlane;
};
