// The keyword tip: a borderless pop-up beside the mouse or the caret that shows the dictionary text
// of a word, in the tooltip colours and the keyword-help font of the shared settings. Lines of the
// text are separated by a backslash followed by "n" (the two characters, as the dictionaries write
// them), not by line breaks.
#pragma once

#include <optional>

#include "editor/foundation/text/memory.h"
#include "editor/foundation/ui/wnd.h"
#include "platform/font.h"

class CTipWnd : public CWnd {
 public:
  CTipWnd();
  ~CTipWnd() override;

  // Makes the window, hidden, owned by the parent, and takes the keyword-help font.
  void Create(HINSTANCE hInstance, HWND hwndParent);
  // Shows the tip at (x, y) on the screen without taking the activation. A text replaces the tip's
  // text; a rectangle gives the size, else the text is measured. The window is 8 pixels wider and
  // higher than that size.
  void ShowTip(int x, int y, const char* pszText, const RECT* pRect);
  void HideTip();
  // The size of the tip's text: left and top 0, the widest line plus 4, the lines' heights plus 2.
  void MeasureText(RECT* pRect);

  const char* m_pszClassName = "CTipWnd";
  std::optional<platform::Font> m_hFont;  // the keyword-help font
  CMemory m_cKey;                         // the word looked up (the view fills and compares it)
  int m_KeyWasHit = 0;                    // set by the view while the tip shows a dictionary hit
  CMemory m_cInfo;                        // the text shown

 protected:
  // The tip stays hidden until ShowTip.
  void AfterCreate() override;
  LRESULT OnPaint(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;
};
