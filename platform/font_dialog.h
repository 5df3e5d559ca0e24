// Choosing a font: the system's font dialog over a CHOOSEFONT, from and to a LOGFONT.
//
// Contract:
// - ChooseFont runs a modal dialog of the dialog facility (platform/dialog.h; its template is named
//   "FontChooser", caption "フォント") owned by hwndOwner: the toolkit's own font dialog (never the
//   desktop's native one, without its own buttons) for the face and the size, above the check
//   boxes 1041 "太字" and 1042 "斜体", IDOK (the default button) and IDCANCEL. Bold and italic are
//   the check boxes', not the toolkit's styles: the font module emboldens and slants every face,
//   while the toolkit offers only the styles a face was designed with.
//   Tests drive it through platform/dialog_test.h and platform/font_dialog_test.h.
// - The faces offered are those our font module draws as themselves (platform/font.h: a family
//   whose name the engine realises as that family); with CF_FIXEDPITCHONLY only those it judges
//   fixed (IsFixedPitch at 16 pixels), whatever the toolkit's flags say (the Japanese fixed faces
//   call themselves proportional there). CF_SCREENFONTS is accepted: every face is a screen font.
// - With CF_INITTOLOGFONTSTRUCT the dialog starts at *lpLogFont: its face (a Japanese face name
//   or a family name, mapped as the font module maps it; a face not offered starts at the first
//   offered by name), its height (lfHeight pixels, negative or positive alike; 0 the default
//   height), weight (bold from 600) and italic byte. Sizes are shown in points
//   at 96 pixels to the inch.
// - IDOK with an offered face: the call returns TRUE, and *lpLogFont holds the choice: lfFaceName
//   the family (Shift-JIS), lfHeight minus the pixel height (rounded), lfWeight FW_BOLD or
//   FW_NORMAL, lfItalic, lfCharSet SHIFTJIS_CHARSET, lfPitchAndFamily FIXED_PITCH when the font
//   module judges the chosen font (face, height and weight) fixed, else VARIABLE_PITCH; lfWidth,
//   lfEscapement and lfOrientation 0; the other bytes as they were. iPointSize is the size in
//   tenths of a point. A face that is not offered (typed into the toolkit's face field) beeps
//   and the dialog stays.
// - IDCANCEL, Esc and the close button: FALSE, *lpLogFont unchanged. FALSE too, without a dialog,
//   for a null CHOOSEFONT or LOGFONT, an lStructSize other than sizeof(CHOOSEFONT), or off the GUI
//   thread. Without a screen and without a test's shown-hook the facility answers IDCANCEL.
#pragma once

#include "platform/win_types.h"

constexpr DWORD CF_SCREENFONTS = 0x00000001;
constexpr DWORD CF_INITTOLOGFONTSTRUCT = 0x00000040;
constexpr DWORD CF_FIXEDPITCHONLY = 0x00004000;

constexpr BYTE SHIFTJIS_CHARSET = 128;
constexpr BYTE FIXED_PITCH = 1;
constexpr BYTE VARIABLE_PITCH = 2;

namespace platform {
constexpr int kFontChooserBold = 1041;
constexpr int kFontChooserItalic = 1042;
}  // namespace platform

struct CHOOSEFONT {
  DWORD lStructSize = 0;
  HWND hwndOwner = nullptr;
  LOGFONT* lpLogFont = nullptr;
  int iPointSize = 0;  // out: tenths of a point
  DWORD Flags = 0;
};

namespace platform {

BOOL ChooseFont(CHOOSEFONT* chooseFont);

// Whether the font module judges the font a LOGFONT describes fixed (platform/font.h's
// IsFixedPitch): false when it cannot be realised.
bool IsFixedPitchLogFont(const LOGFONT& font);

}  // namespace platform
