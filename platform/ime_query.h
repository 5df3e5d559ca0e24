// What the input method asks of the window it composes for: where the caret is (it puts its
// candidate list there), the font the text is drawn in (it draws its preedit alike), and the text
// around the caret for reconversion (it converts a written word again).
//
// A window answers through a provider it sets for itself. The toolkit's queries are then answered
// as follows (a window without a provider gives the toolkit's defaults):
// - the cursor rectangle: ImeCaretRect, in client coordinates;
// - the font: ImeFont at its pixel height, weight and slant (the toolkit's face of that name);
// - the surrounding text: the reconversion text; the cursor position at the end of its target and
//   the anchor at its start, the current selection the target's text.
// Each query of the reconversion asks the provider afresh (the window remembers what it served, to
// confirm it later; see WM_IME_REQUEST in platform/ime_composition.h). A text of more than 65535
// UTF-16 units is cut to that, which a message's positions can carry.
//
// While the window has a provider, its canvas draws the input method's preedit (platform/
// ime_composition.h) over the window's picture, as the input method's own composition window
// would: its top left at the caret rectangle's, in the provider's font and preedit colours,
// underlined, with a line at the preedit's cursor. The window's picture is never touched by it.
//
// A commit or an input-method event that replaces a range of the surrounding text (the toolkit's
// replacement start and length, relative to the cursor position served) reaches the window as
// WM_IME_REQUEST with IMR_CONFIRMRECONVERTSTRING and that range, queued before the composition
// message of the commit. GUI thread only.
#pragma once

#include <string>

#include "platform/font.h"
#include "platform/text_out.h"
#include "platform/win_types.h"

namespace platform {

// The text around a reconversion target, UTF-16; the target's start and length in its units.
struct ImeReconversion {
  std::u16string text;
  int targetStart = 0;
  int targetLength = 0;
};

class ImeQueryProvider {
 public:
  // The caret's rectangle in client coordinates.
  virtual RECT ImeCaretRect() = 0;
  // The font text is drawn in; null for the toolkit's default. Read at once, not kept.
  virtual const Font* ImeFont() = 0;
  // The reconversion text around the caret or selection; an empty text when there is none.
  virtual ImeReconversion ImeReconversionText() = 0;
  // The colours the preedit is drawn in (opaque); by default black on white.
  virtual TextColors ImePreeditColors() { return {}; }

 protected:
  ~ImeQueryProvider() = default;
};

// Sets the window's provider (borrowed; null removes it). It is forgotten with the window and not
// asked anything once DestroyWindow has begun; a provider that goes before its window removes
// itself first. False for a handle that is not a window of this layer.
bool SetImeQueryProvider(HWND hwnd, ImeQueryProvider* provider);
ImeQueryProvider* GetImeQueryProvider(HWND hwnd);

// Tells the input method that the caret, the font or the text around the caret changed, so that it
// asks again (where the window has the keyboard focus).
void UpdateImeQueries(HWND hwnd);

}  // namespace platform
