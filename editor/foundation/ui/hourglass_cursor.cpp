#include "editor/foundation/ui/hourglass_cursor.h"

#include "platform/cursor.h"
#include "platform/mouse_capture.h"

using namespace platform;

CHourglassCursor::CHourglassCursor(HWND hwnd) {
  if (hwnd) {
    m_hwndCapturedBefore = SetCapture(hwnd);
    if (GetCapture() == hwnd) m_hwndCaptured = hwnd;
  }
  m_hcurWait = LoadCursor(nullptr, IDC_WAIT);
  m_hcurOld = SetCursor(m_hcurWait);
}

CHourglassCursor::~CHourglassCursor() {
  // Only a capture this object took is given up, and back to the window that had it: an inner
  // hourglass must not end an outer one's capture.
  if (m_hwndCaptured && GetCapture() == m_hwndCaptured) {
    if (m_hwndCapturedBefore && IsWindow(m_hwndCapturedBefore)) {
      SetCapture(m_hwndCapturedBefore);
    } else {
      ReleaseCapture();
    }
  }
  SetCursor(m_hcurOld);
}
