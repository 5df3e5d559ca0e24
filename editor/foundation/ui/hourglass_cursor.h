// The wait cursor for the length of a blocking operation: a scoped object that shows the wait
// cursor over the whole program and captures the mouse for a window, and puts both back as they
// were when it goes. Nested hourglasses put back their cursors in reverse order.
#pragma once

#include "platform/window.h"

class CHourglassCursor {
 public:
  // With a null window only the cursor changes.
  explicit CHourglassCursor(HWND hwnd);
  ~CHourglassCursor();
  CHourglassCursor(const CHourglassCursor&) = delete;
  CHourglassCursor& operator=(const CHourglassCursor&) = delete;

 private:
  HCURSOR m_hcurWait;
  HCURSOR m_hcurOld;
  HWND m_hwndCaptured = nullptr;         // the window this object captured the mouse for
  HWND m_hwndCapturedBefore = nullptr;  // the one that had the capture then
};
