#include "game/app/overlay_draw.h"

#include <algorithm>
#include <cstring>

#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/text_font.h"

void DrawInfoOverlay(CMemPlane& backBuffer, std::string_view text) {
  HDC dc = backBuffer.GetImpl()->GetDC();
  if (!dc || text.empty()) return;
  CTextFont font;
  font.SetSize(11);
  font.SetBkColor(0);
  font.SetText(text);
  font.Draw(dc, 16, 16);
}

void DrawMessageLog(CMemPlane& backBuffer, const MessageLogRecord& log) {
  HDC dc = backBuffer.GetImpl()->GetDC();
  if (!dc) return;
  CTextFont font;
  font.SetBkColor(0);
  const int lines = std::clamp(log.count, 0, kMessageLogDrawnLines);
  for (int i = 0; i < lines; ++i) {
    const char* line = log.lines[i];
    font.SetText(std::string_view(line, strnlen(line, kMessageLogLineBytes)));
    font.Draw(dc, 16, 17 + 12 * i);
  }
}
