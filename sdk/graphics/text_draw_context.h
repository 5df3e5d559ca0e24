// The layout settings of a tag-marked text: line geometry, the current font face, size and colour
// with the stacks that font tags push them on, style switches, alignment, and the parse position.
// A caller fills one, points it at its text and copies it into a renderer.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win_types.h"

class CTextDrawContext {
 public:
  CTextDrawContext() = default;
  CTextDrawContext(const CTextDrawContext&) = default;
  CTextDrawContext& operator=(const CTextDrawContext&) = default;
  virtual ~CTextDrawContext() = default;

  // Base size and size n; the line height follows as n + the line spacing.
  void SetFontSize(int32_t n);
  // Points the parse at a zero-terminated text; the record does not own it.
  void SetText(const char* text);

  int32_t width = 640;         // a glyph that would end beyond it starts a new line
  int32_t lineSpacing = 2;     // added below every line that holds glyphs
  int32_t lineHeight = 30;     // minimum line height; the advance of an empty line
  int32_t charSpacing = 4;     // a glyph advances by its measured width - 4 + this
  COLORREF shadowColor = static_cast<COLORREF>(-1);
  int32_t baseSize = 28;       // what the font tag's size ladder is computed from
  int32_t face = 0;            // face type 0-3
  int32_t size = 28;           // current font height
  COLORREF color = 0xFFFFFF;   // current text colour
  std::vector<int32_t> faceStack;
  std::vector<int32_t> sizeStack;
  std::vector<COLORREF> colorStack;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
  int32_t align = 0;           // 0 left, 1 centre, 2 right
  int32_t valign = 0;          // 0 bottom, 1 middle, 2 top
  int32_t sourceLine = 1;      // carriage returns met so far, plus one
  const char* cursor = nullptr;
  const char* textStart = nullptr;
};
