// Top-level windows, their window procedures and the message queue, in the shape the application
// framework speaks: a window handle, messages with their Windows numbers, send and post, and a pump
// that either drains the queue or blocks for one message.
//
// Windows live on the GUI thread (the one that made the toolkit's application object). Every call
// here except IsWindow, PostMessage and PostQuitMessage belongs on that thread; elsewhere it fails
// (null or 0) and changes nothing.
//
// Sizes: the window manager draws the frame outside our geometry and the menu bar, when there is
// one, is added above the client area by the window itself. So a window's size in this layer is its
// client size, and AdjustWindowRect leaves a rectangle as it is.
//
// Which messages arrive how:
// - queued (returned by GetMessage/PeekMessage, handed to the procedure by DispatchMessage):
//   everything posted, WM_MOUSEMOVE, the button messages (the side buttons' WM_XBUTTON ones with
//   XBUTTON1 or XBUTTON2 in the high word of wParam), all with the MK_ state of the buttons, Shift
//   and Ctrl in wParam; WM_MOUSEWHEEL (client coordinates in lParam, the distance in the high word of
//   wParam, whole notches of 120: a touchpad's small distances add up until they make one),
//   WM_KEYDOWN and WM_KEYUP
//   (virtual-key code in wParam; lParam holds a repeat count of 1, the scan code in bits 16-23, the
//   extended-key flag in bit 24, the previous-state bit 30 and the transition bit 31);
// - sent straight to the procedure while the toolkit delivers its events (inside the pump):
//   WM_CLOSE when the user asks to close (the window stays unless the procedure destroys it; the
//   default procedure does), WM_SIZE with SIZE_MINIMIZED, SIZE_MAXIMIZED or SIZE_RESTORED (client
//   size in lParam),
//   WM_ACTIVATEAPP (1 when the program becomes active, 0 when it loses activity), WM_ACTIVATE to a
//   window of its own (not a child window) when it becomes the active window (WA_ACTIVE, lParam
//   null) or stops being it (WA_INACTIVE, lParam the program's window that became active, or
//   null), the high word of wParam 1 while it is minimised, not once DestroyWindow has begun;
//   WM_PAINT while the client area is being painted;
// - sent to every window by MessageBox (message_box.h) before the box takes the input:
//   WM_CANCELMODE; buttons and keys held until then are released inside the box, out of the
//   windows' sight, and the key or click that closes the box is the box's;
// - sent by DestroyWindow: WM_DESTROY, then WM_NCDESTROY, after which the handle is dead.
// - sent by CreateWindowEx before it returns: WM_NCCREATE, then WM_CREATE, each with lParam
//   pointing at the CREATESTRUCT of the call (the window is live and has its style and text);
//   WM_NCCREATE answered with 0, or WM_CREATE with -1, ends the window and CreateWindowEx returns
//   null.
// Double clicks arrive as a second button-down message, unless the class has CS_DBLCLKS: then
// the second click of a double click is WM_LBUTTONDBLCLK (or the right or middle one).
//
// Windows of a registered class made with WS_CHILD and a parent window are child windows: widgets
// inside the parent's client area, placed in its client coordinates, with the same messages,
// procedure and handle as any window. They go with their parent: DestroyWindow of the parent sends
// the parent WM_DESTROY, destroys each child (its WM_DESTROY and WM_NCDESTROY), then sends the
// parent WM_NCDESTROY. Made with WS_POPUP and a parent (its owner), a window is a frameless window
// of its own size at a place on the screen, over its owner, never taking the activation; it goes
// before its owner does. WS_BORDER draws a one-pixel frame inside the window's rectangle, so the
// client area is two pixels narrower and lower than the size asked. Without an owner, WS_POPUP
// keeps its full-screen meaning below.
//
// Child windows of the toolkit's own kinds are the controls of dialogs (platform/dialog.h) and the
// size grip that CreateWindowEx makes in a window. Their handles work with IsWindow, DestroyWindow, ShowWindow,
// IsWindowVisible, EnableWindow, IsWindowEnabled, SetFocus, GetWindowRect (on the screen),
// GetClientRect, MoveWindow (in the parent's client area), Set/GetWindowText, InvalidateRect,
// UpdateWindow, SendMessage and GetWindowLongPtr(GWLP_ID), and PostMessage on the GUI thread (the
// message lives as long as the control and its window).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/win_types.h"

namespace platform {
class Menu;
class Icon;
class Cursor;
}  // namespace platform

using HMENU = platform::Menu*;
using HICON = platform::Icon*;
// The system's cursors (platform/cursor.h).
using HCURSOR = platform::Cursor*;
// A class background is given as a system colour: GetSysColorBrush(index), or index + 1 as the
// number of the handle (platform/sys_color.h); HBRUSH itself is in platform/win_types.h.
using ATOM = uint16_t;
using LONG_PTR = intptr_t;
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

// A window class: what CreateWindowEx takes from the class name.
struct WNDCLASSEX {
  WNDPROC lpfnWndProc = nullptr;
  HICON hIcon = nullptr;
  COLORREF background = RGB(0, 0, 0);  // what the client area shows where nothing is painted
  const char* lpszMenuName = nullptr;   // menu resource attached to every window of the class; a
                                        // number (MAKEINTRESOURCE) names the resource of its decimal text
  const char* lpszClassName = nullptr;
  UINT cbSize = 0;                      // kept for the code that fills it in
  UINT style = 0;                       // CS_DBLCLKS
  int cbClsExtra = 0;                   // no class bytes are kept
  int cbWndExtra = 0;                   // bytes of each window for GetWindowLongPtr at 0, 8, ... (at most 256)
  HINSTANCE hInstance = nullptr;
  HCURSOR hCursor = nullptr;            // shown over the client area; null is the arrow
  HBRUSH hbrBackground = nullptr;       // a system colour, taken when the window is made; over background
  HICON hIconSm = nullptr;
};

// Class styles.
constexpr UINT CS_DBLCLKS = 0x0008;

// Extended styles.
constexpr DWORD WS_EX_TOPMOST = 0x00000008;
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;

// What WM_NCCREATE and WM_CREATE point at: the arguments of CreateWindowEx.
struct CREATESTRUCT {
  void* lpCreateParams = nullptr;
  HINSTANCE hInstance = nullptr;
  HMENU hMenu = nullptr;
  HWND hwndParent = nullptr;
  int cy = 0;
  int cx = 0;
  int y = 0;
  int x = 0;
  LONG style = 0;
  const char* lpszName = nullptr;
  const char* lpszClass = nullptr;
  DWORD dwExStyle = 0;
};

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;
constexpr int SW_SHOWDEFAULT = 10;
constexpr int SW_FORCEMINIMIZE = 11;

// SetWindowPos flags and z-order handles.
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_BOTTOM = reinterpret_cast<HWND>(intptr_t{1});
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(intptr_t{-1});
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(intptr_t{-2});

// Window long-value slots.
constexpr int GWLP_WNDPROC = -4;
constexpr int GWLP_ID = -12;
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWLP_USERDATA = -21;

// System metrics.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;  // width of a vertical scroll bar
constexpr int SM_CYHSCROLL = 3;  // height of a horizontal scroll bar
constexpr int SM_CXFRAME = 32;   // spacing of the program's own frames: 4
constexpr int SM_CYFRAME = 33;
constexpr int SM_CXSIZE = 30;    // a caption button: the title bar's height, both ways
constexpr int SM_CYSIZE = 31;
constexpr int SM_CXEDGE = 45;    // a sunken edge: 2
constexpr int SM_CYEDGE = 46;

// Scroll-bar styles: the size grip of a resizable window's lower right corner.
constexpr DWORD SBS_SIZEBOXBOTTOMRIGHTALIGN = 0x0004;
constexpr DWORD SBS_SIZEBOX = 0x0008;
constexpr DWORD SBS_SIZEGRIP = 0x0010;
constexpr DWORD WS_EX_CONTROLPARENT = 0x00010000;

// Resources named by number: the name pointer carries the number.
inline bool IS_INTRESOURCE(const char* name) { return (reinterpret_cast<uintptr_t>(name) >> 16) == 0; }
inline const char* MAKEINTRESOURCE(int id) { return reinterpret_cast<const char*>(static_cast<uintptr_t>(static_cast<WORD>(id))); }

// The system's standard icons (LoadIcon with no instance).
inline const char* const IDI_APPLICATION = MAKEINTRESOURCE(32512);
inline const char* const IDI_HAND = MAKEINTRESOURCE(32513);
inline const char* const IDI_QUESTION = MAKEINTRESOURCE(32514);
inline const char* const IDI_EXCLAMATION = MAKEINTRESOURCE(32515);
inline const char* const IDI_ASTERISK = MAKEINTRESOURCE(32516);
inline const char* const IDI_ERROR = IDI_HAND;
inline const char* const IDI_WARNING = IDI_EXCLAMATION;
inline const char* const IDI_INFORMATION = IDI_ASTERISK;

// PeekMessage removal.
constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;

// Position left to the window manager.
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

namespace platform {

// Registers a window class. 0 when the name is empty or taken or there is no procedure. The
// standard control classes ("BUTTON", "EDIT", ...) exist from the start with the default procedure:
// this layer has no controls to draw, so they are plain windows that can be subclassed.
ATOM RegisterClassEx(const WNDCLASSEX* windowClass);

// Makes a top-level window of a registered class; null when the class is unknown or the caller is
// not the GUI thread. WS_POPUP makes a frameless window that shows full screen; otherwise the
// window has the title-bar buttons that WS_SYSMENU, WS_MINIMIZEBOX and WS_MAXIMIZEBOX ask for and
// a fixed size, unless WS_THICKFRAME lets the user size it (each size reported as WM_SIZE).
// WS_VISIBLE shows it at once.
// With a parent: the size grip ("SCROLLBAR" with SBS_SIZEGRIP or SBS_SIZEBOX, the id in menu,
// placed by MoveWindow); a scroll-bar control (any other "SCROLLBAR", platform/scroll_bar.h); a child window of a registered class (WS_CHILD, the id in menu); or a
// pop-up window owned by the parent (WS_POPUP). CW_USEDEFAULT places and sizes these at 0.
// The class's extra bytes start as zeros; its cursor shows over the client area.
HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param);

// Destroys the windows it owns (its dialogs) first; then sends WM_DESTROY, ends its children's
// handles, sends WM_NCDESTROY, drops the window's queued messages and ends the handle.
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);

// Returns whether the window was visible before. SW_SHOWNOACTIVATE, SW_SHOWNA and
// SW_SHOWMINNOACTIVE show the window without making it the active one (as far as the window
// manager follows the request); SW_SHOWDEFAULT shows it as SW_SHOW does, SW_FORCEMINIMIZE
// minimises it.
BOOL ShowWindow(HWND hwnd, int command);
BOOL IsWindowVisible(HWND hwnd);
BOOL IsIconic(HWND hwnd);
// A full-screen (WS_POPUP) window covers the screen, with or without a window manager; the place
// asked of it is where it stands once windowed again. A window that goes full screen and back
// without being moved returns to the place it left, with its client size.
// Unless SWP_NOZORDER: HWND_TOPMOST keeps the window above the others (WS_EX_TOPMOST, as the
// window manager's "always on top"), HWND_NOTOPMOST ends that, HWND_TOP raises the window, and
// HWND_BOTTOM or a window to go behind changes nothing. A visible window stays visible.
// A top-level window that stands somewhere new, moved by the program or by the user through the
// window manager, hears WM_MOVE with its client area's top-left on the screen (signed 16-bit
// halves of lParam), once for each new place and not while minimised; child windows do not.
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
// A disabled window takes no input: a control greys, a top-level window only stops taking input,
// and the windows it owns (its dialogs) stay usable. Returns whether the window was disabled.
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsWindowEnabled(HWND hwnd);
// The show state and the normal (restored) rectangle: the frame's position and the client size,
// or for a dialog its client area (the rectangle GetWindowRect gives it). Set requires length ==
// 44; a rectangle off every screen moves onto the nearest screen's work area. A dialog hears
// WM_MOVE and WM_SIZE for what changed, at once.
BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement);
BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* placement);
BOOL GetClientRect(HWND hwnd, RECT* rect);
// The window's outer rectangle on the screen, frame included; a dialog's client area (see
// platform/dialog.h); a child's rectangle on the screen.
BOOL GetWindowRect(HWND hwnd, RECT* rect);
BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu);
// The keyboard goes to the window (its client area) or the control; returns the window that had it
// (null when none of this layer's had it). A window hears WM_KILLFOCUS when it loses the keyboard
// (wParam the window that gains it, or null) and WM_SETFOCUS when it gains it (wParam the window
// that lost it, or null): also when the program loses or regains the user's attention, not while a
// pop-up menu is open, nor once DestroyWindow has begun. Controls of dialogs hear nothing.
HWND SetFocus(HWND hwnd);
// The window or control that has the keyboard, null when none of this layer's has it.
HWND GetFocus();

// GWL_STYLE, GWLP_WNDPROC or GWLP_USERDATA, or the 8 bytes at an offset into the class's extra
// bytes (0 when they are not all there); Set returns the previous value (0 for a bad handle).
// GWL_EXSTYLE reports WS_EX_TOPMOST (SetWindowPos sets it; it cannot be set here).
LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);

// The caption, in Shift-JIS.
BOOL SetWindowText(HWND hwnd, std::string_view text);
std::string GetWindowText(HWND hwnd);

// Marks the client area for repainting; UpdateWindow paints what is marked at once.
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL UpdateWindow(HWND hwnd);

int GetSystemMetrics(int index);

// Icons. The program has no resource section: an icon resource is registered under its name from
// the bytes of an image file (PNG, BMP, ICO, ...); false when they do not decode. LoadIcon finds a
// registered icon, or null; a number gives the system's standard icon (IDI_) or null.
bool RegisterIconResource(std::string_view name, std::span<const uint8_t> imageFile);
HICON LoadIcon(HINSTANCE instance, const char* name);

// Menus. The menu facility provides LoadMenu's resources and draws the bar (see window_qt.h);
// without it there are no menu resources and LoadMenu returns null. A number (MAKEINTRESOURCE)
// names the resource registered under its decimal text.
HMENU LoadMenu(HINSTANCE instance, const char* name);
HMENU GetMenu(HWND hwnd);
BOOL SetMenu(HWND hwnd, HMENU menu);

// Messages.
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Safe from any thread. A null hwnd posts to the queue itself (DispatchMessage ignores it).
BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Once the queue is empty, GetMessage returns 0 and PeekMessage returns WM_QUIT, once. A second
// request before the first is taken replaces its exit code (there is one quit at a time).
void PostQuitMessage(int exitCode);
// The exit code of a quit asked for on the GUI thread and not yet taken; nothing when none is
// pending (or off the GUI thread). Takes nothing in from the toolkit and changes nothing.
std::optional<int> PendingQuitCode();
// Blocks until a message (of the window, and in the range, when given) is there; 0 for WM_QUIT,
// -1 when there is no GUI. Its first wait, and PeekMessage's first empty look, tell a starter
// waiting for this process that it is ready for input (platform/ready_pipe.h).
BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax);
// Never blocks: takes in what the toolkit has waiting, then returns the first message, or 0.
BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
// For a WM_KEYDOWN taken from the queue whose key typed text: puts one WM_CHAR per Shift-JIS byte
// of that text (lead byte, then trail byte) at the front of the queue, wParam the byte and lParam
// the key-down's, and returns 1; 0 for anything else. A key held with Alt types nothing. Text that
// Shift-JIS lacks arrives as "?".
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
// The default handling: WM_CLOSE destroys the window; WM_NCCREATE returns 1; WM_IME_COMPOSITION
// with a committed text sends WM_IME_CHAR per character (platform/ime_composition.h); WM_SETICON
// (wParam ICON_SMALL or ICON_BIG, lParam the icon or null) sets the window's own icon, shown by
// the window manager (the big one where both are set; the class's icon where neither is), and
// returns the one it replaced, which WM_GETICON gives until then; all else returns 0.
LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform
