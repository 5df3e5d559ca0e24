// Win32-shaped types and constants that the rest of the program speaks in.
// Values are the documented Windows ones: stored files and message tables depend on them.
#pragma once

#include <cstdint>

namespace platform {
class Window;
class Brush;
class Pen;
class MemDC;
}

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using LONG = int32_t;
using BOOL = int32_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using COLORREF = uint32_t;
using HRESULT = int32_t;

// A window handle names one of our own windows; null is no window.
using HWND = platform::Window*;
// Drawing objects of a memory device context (platform/dc_draw.h). A brush handle may also be a
// system colour number + 1, as window classes and FillRect take it (platform/sys_color.h).
using HBRUSH = platform::Brush*;
using HPEN = platform::Pen*;
// There is one module: the instance handle is an opaque token kept for the code that passes it on.
using HINSTANCE = void*;

struct RECT {
  LONG left = 0;
  LONG top = 0;
  LONG right = 0;
  LONG bottom = 0;
};

// Win32 meaning: SetRect stores the four edges; IntersectRect stores the common part, or an
// all-zero rectangle (and returns false) when the two do not overlap.
inline bool SetRect(RECT* r, int left, int top, int right, int bottom) {
  if (r == nullptr) return false;
  *r = RECT{left, top, right, bottom};
  return true;
}
inline bool IntersectRect(RECT* out, const RECT* a, const RECT* b) {
  if (out == nullptr || a == nullptr || b == nullptr) return false;
  const RECT r{a->left > b->left ? a->left : b->left, a->top > b->top ? a->top : b->top,
               a->right < b->right ? a->right : b->right, a->bottom < b->bottom ? a->bottom : b->bottom};
  if (r.right <= r.left || r.bottom <= r.top) {
    *out = RECT{};
    return false;
  }
  *out = r;
  return true;
}

// a * b / c for operands already widened, rounded to the nearest integer, halves away from zero.
// The product must fit in 64 bits and c must not be 0.
inline int64_t MulDiv64(int64_t a, int64_t b, int64_t c) {
  const int64_t p = a * b;
  const bool negative = (p < 0) != (c < 0);
  const int64_t ap = p < 0 ? -p : p;
  const int64_t ac = c < 0 ? -c : c;
  const int64_t q = (ap + ac / 2) / ac;
  return negative ? -q : q;
}

// a * b / c formed in 64 bits and rounded to the nearest integer, halves away from zero; -1 when
// c is 0 or the result does not fit in 32 bits.
inline int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const int64_t q = MulDiv64(a, b, c);
  if (q > INT32_MAX || q < -INT32_MAX) return -1;
  return static_cast<int>(q);
}

struct POINT {
  LONG x = 0;
  LONG y = 0;
};

struct SIZE {
  LONG cx = 0;
  LONG cy = 0;
};

struct SYSTEMTIME {
  WORD wYear = 0;
  WORD wMonth = 0;
  WORD wDayOfWeek = 0;
  WORD wDay = 0;
  WORD wHour = 0;
  WORD wMinute = 0;
  WORD wSecond = 0;
  WORD wMilliseconds = 0;
};

constexpr COLORREF RGB(unsigned r, unsigned g, unsigned b) {
  return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr unsigned GetRValue(COLORREF c) { return c & 0xFF; }
constexpr unsigned GetGValue(COLORREF c) { return (c >> 8) & 0xFF; }
constexpr unsigned GetBValue(COLORREF c) { return (c >> 16) & 0xFF; }

constexpr WORD LOWORD(uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr WPARAM MAKEWPARAM(unsigned lo, unsigned hi) { return static_cast<WPARAM>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16)); }
constexpr LPARAM MAKELPARAM(unsigned lo, unsigned hi) {
  return static_cast<LPARAM>(static_cast<int32_t>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16)));
}

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;

// Window messages.
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUERYENDSESSION = 0x0011;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_ENDSESSION = 0x0016;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_ACTIVATEAPP = 0x001C;
constexpr UINT WM_CANCELMODE = 0x001F;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_DRAWITEM = 0x002B;
constexpr UINT WM_MEASUREITEM = 0x002C;
constexpr UINT WM_VKEYTOITEM = 0x002E;
constexpr UINT WM_CHARTOITEM = 0x002F;
constexpr UINT WM_SETFONT = 0x0030;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_HELP = 0x0053;
constexpr UINT WM_CONTEXTMENU = 0x007B;
constexpr UINT WM_GETICON = 0x007F;
constexpr UINT WM_SETICON = 0x0080;
constexpr UINT WM_NCCREATE = 0x0081;
constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_INITMENU = 0x0116;
constexpr UINT WM_INITMENUPOPUP = 0x0117;
constexpr UINT WM_MENUSELECT = 0x011F;
constexpr UINT WM_MENUCHAR = 0x0120;
constexpr UINT WM_ENTERMENULOOP = 0x0211;
constexpr UINT WM_EXITMENULOOP = 0x0212;
constexpr UINT WM_MDIACTIVATE = 0x0222;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
constexpr UINT WM_MOUSEWHEEL = 0x020A;
constexpr UINT WM_XBUTTONDOWN = 0x020B;
constexpr UINT WM_XBUTTONUP = 0x020C;
constexpr UINT WM_XBUTTONDBLCLK = 0x020D;
constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;

// A send that carries bytes to a window (platform/ipc.h): wParam names the sender, lParam points at
// this record, valid only while the window procedure runs.
constexpr UINT WM_COPYDATA = 0x004A;
struct COPYDATASTRUCT {
  uintptr_t dwData = 0;  // what the bytes are, as sender and receiver agree
  DWORD cbData = 0;
  const void* lpData = nullptr;
};

// The header of every WM_NOTIFY.
struct NMHDR {
  HWND hwndFrom = nullptr;
  uintptr_t idFrom = 0;
  UINT code = 0;
};

// Notifications every control may send.
constexpr UINT NM_CLICK = static_cast<UINT>(-2);
constexpr UINT NM_DBLCLK = static_cast<UINT>(-3);
constexpr UINT NM_RCLICK = static_cast<UINT>(-5);

// What WM_DRAWITEM points at: the owner draws the item into hDC, within rcItem.
struct DRAWITEMSTRUCT {
  UINT CtlType = 0;
  UINT CtlID = 0;
  UINT itemID = 0;
  UINT itemAction = 0;
  UINT itemState = 0;
  HWND hwndItem = nullptr;
  platform::MemDC* hDC = nullptr;  // the HDC of platform/mem_dc.h
  RECT rcItem{};
  uintptr_t itemData = 0;
};
constexpr UINT ODA_DRAWENTIRE = 0x0001;

// WM_ACTIVATE states (low word of wParam).
constexpr WORD WA_INACTIVE = 0;
constexpr WORD WA_ACTIVE = 1;
constexpr WORD WA_CLICKACTIVE = 2;

// WM_SETICON and WM_GETICON: which of the window's two icons.
constexpr WPARAM ICON_SMALL = 0;
constexpr WPARAM ICON_BIG = 1;

// WM_SIZE kinds.
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;

// Mouse-message key state bits.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;
constexpr WPARAM MK_XBUTTON1 = 0x0020;  // the back button at the side
constexpr WPARAM MK_XBUTTON2 = 0x0040;  // the forward button
// Which side button a WM_XBUTTON message is about: the high word of wParam.
constexpr WORD XBUTTON1 = 0x0001;
constexpr WORD XBUTTON2 = 0x0002;
constexpr int WHEEL_DELTA = 120;

// Window styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;

// Message-box flags and answers.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x00000040;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_DEFBUTTON2 = 0x00000100;
constexpr UINT MB_APPLMODAL = 0x00000000;
constexpr UINT MB_SYSTEMMODAL = 0x00001000;
constexpr UINT MB_TOPMOST = 0x00040000;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Virtual-key codes.
constexpr int VK_LBUTTON = 0x01;
constexpr int VK_RBUTTON = 0x02;
constexpr int VK_CANCEL = 0x03;
constexpr int VK_MBUTTON = 0x04;
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_PAUSE = 0x13;
constexpr int VK_CAPITAL = 0x14;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_NUMPAD0 = 0x60;
constexpr int VK_MULTIPLY = 0x6A;
constexpr int VK_ADD = 0x6B;
constexpr int VK_SUBTRACT = 0x6D;
constexpr int VK_DECIMAL = 0x6E;
constexpr int VK_DIVIDE = 0x6F;
constexpr int VK_F1 = 0x70;
constexpr int VK_F12 = 0x7B;
constexpr int VK_NUMLOCK = 0x90;
constexpr int VK_SCROLL = 0x91;
constexpr int VK_LSHIFT = 0xA0;
constexpr int VK_RSHIFT = 0xA1;
constexpr int VK_LCONTROL = 0xA2;
constexpr int VK_RCONTROL = 0xA3;
constexpr int VK_LMENU = 0xA4;
constexpr int VK_RMENU = 0xA5;

// More virtual-key codes: the rest of a Japanese 106/109-key keyboard.
constexpr int VK_CLEAR = 0x0C;
constexpr int VK_KANA = 0x15;
constexpr int VK_KANJI = 0x19;
constexpr int VK_CONVERT = 0x1C;
constexpr int VK_NONCONVERT = 0x1D;
constexpr int VK_SNAPSHOT = 0x2C;
constexpr int VK_HELP = 0x2F;
constexpr int VK_LWIN = 0x5B;
constexpr int VK_RWIN = 0x5C;
constexpr int VK_APPS = 0x5D;
constexpr int VK_SEPARATOR = 0x6C;
constexpr int VK_F24 = 0x87;
constexpr int VK_OEM_1 = 0xBA;       // ;:
constexpr int VK_OEM_PLUS = 0xBB;    // =+
constexpr int VK_OEM_COMMA = 0xBC;   // ,<
constexpr int VK_OEM_MINUS = 0xBD;   // -_
constexpr int VK_OEM_PERIOD = 0xBE;  // .>
constexpr int VK_OEM_2 = 0xBF;       // /?
constexpr int VK_OEM_3 = 0xC0;       // `~
constexpr int VK_OEM_4 = 0xDB;       // [{
constexpr int VK_OEM_5 = 0xDC;       // \|
constexpr int VK_OEM_6 = 0xDD;       // ]}
constexpr int VK_OEM_7 = 0xDE;       // '"
constexpr int VK_OEM_102 = 0xE2;     // the extra key beside the right Shift

// Records that the editor keeps in its shared settings and its settings file: every member is 32
// bits or a byte, so the record has one layout in every process.
constexpr int LF_FACESIZE = 32;
struct LOGFONT {
  LONG lfHeight = 0;
  LONG lfWidth = 0;
  LONG lfEscapement = 0;
  LONG lfOrientation = 0;
  LONG lfWeight = 0;
  BYTE lfItalic = 0;
  BYTE lfUnderline = 0;
  BYTE lfStrikeOut = 0;
  BYTE lfCharSet = 0;
  BYTE lfOutPrecision = 0;
  BYTE lfClipPrecision = 0;
  BYTE lfQuality = 0;
  BYTE lfPitchAndFamily = 0;
  char lfFaceName[LF_FACESIZE] = {};
};
static_assert(sizeof(LOGFONT) == 60);

struct WINDOWPLACEMENT {
  UINT length = 0;
  UINT flags = 0;
  UINT showCmd = 0;
  POINT ptMinPosition;
  POINT ptMaxPosition;
  RECT rcNormalPosition;
};
static_assert(sizeof(WINDOWPLACEMENT) == 44);
