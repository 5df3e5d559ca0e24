#include "sdk/graphics/text_draw.h"

// Drawing into a memory-surface canvas comes with the memory surface.
void CTextDraw::DrawGlyph(const CTextDrawContext&, int32_t, RECT&) {}
void CTextDraw::DrawGaiji(const GaijiEntry&, int32_t, int32_t) {}
