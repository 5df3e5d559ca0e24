#include "platform/key_map.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QLocale>
#include <Qt>

#include <array>

#include "platform/win_types.h"

namespace platform {
namespace {

struct Entry {
  int qt;
  KeyCode code;
};

constexpr KeyCode Plain(int vk, uint8_t scan) { return {vk, scan, false}; }
constexpr KeyCode Ext(int vk, uint8_t scan) { return {vk, scan, true}; }

// Keys off the numeric pad. Character keys appear with every character they type on a US layout.
constexpr Entry kMain[] = {
    {Qt::Key_Escape, Plain(VK_ESCAPE, 0x01)},
    {Qt::Key_1, Plain('1', 0x02)}, {Qt::Key_Exclam, Plain('1', 0x02)},
    {Qt::Key_2, Plain('2', 0x03)}, {Qt::Key_At, Plain('2', 0x03)},
    {Qt::Key_3, Plain('3', 0x04)}, {Qt::Key_NumberSign, Plain('3', 0x04)},
    {Qt::Key_4, Plain('4', 0x05)}, {Qt::Key_Dollar, Plain('4', 0x05)},
    {Qt::Key_5, Plain('5', 0x06)}, {Qt::Key_Percent, Plain('5', 0x06)},
    {Qt::Key_6, Plain('6', 0x07)}, {Qt::Key_AsciiCircum, Plain('6', 0x07)},
    {Qt::Key_7, Plain('7', 0x08)}, {Qt::Key_Ampersand, Plain('7', 0x08)},
    {Qt::Key_8, Plain('8', 0x09)}, {Qt::Key_Asterisk, Plain('8', 0x09)},
    {Qt::Key_9, Plain('9', 0x0A)}, {Qt::Key_ParenLeft, Plain('9', 0x0A)},
    {Qt::Key_0, Plain('0', 0x0B)}, {Qt::Key_ParenRight, Plain('0', 0x0B)},
    {Qt::Key_Minus, Plain(VK_OEM_MINUS, 0x0C)}, {Qt::Key_Underscore, Plain(VK_OEM_MINUS, 0x0C)},
    {Qt::Key_Equal, Plain(VK_OEM_PLUS, 0x0D)}, {Qt::Key_Plus, Plain(VK_OEM_PLUS, 0x0D)},
    {Qt::Key_Backspace, Plain(VK_BACK, 0x0E)},
    {Qt::Key_Tab, Plain(VK_TAB, 0x0F)}, {Qt::Key_Backtab, Plain(VK_TAB, 0x0F)},
    {Qt::Key_Q, Plain('Q', 0x10)}, {Qt::Key_W, Plain('W', 0x11)}, {Qt::Key_E, Plain('E', 0x12)},
    {Qt::Key_R, Plain('R', 0x13)}, {Qt::Key_T, Plain('T', 0x14)}, {Qt::Key_Y, Plain('Y', 0x15)},
    {Qt::Key_U, Plain('U', 0x16)}, {Qt::Key_I, Plain('I', 0x17)}, {Qt::Key_O, Plain('O', 0x18)},
    {Qt::Key_P, Plain('P', 0x19)},
    {Qt::Key_BracketLeft, Plain(VK_OEM_4, 0x1A)}, {Qt::Key_BraceLeft, Plain(VK_OEM_4, 0x1A)},
    {Qt::Key_BracketRight, Plain(VK_OEM_6, 0x1B)}, {Qt::Key_BraceRight, Plain(VK_OEM_6, 0x1B)},
    {Qt::Key_Return, Plain(VK_RETURN, 0x1C)},
    {Qt::Key_Control, Plain(VK_CONTROL, 0x1D)},
    {Qt::Key_A, Plain('A', 0x1E)}, {Qt::Key_S, Plain('S', 0x1F)}, {Qt::Key_D, Plain('D', 0x20)},
    {Qt::Key_F, Plain('F', 0x21)}, {Qt::Key_G, Plain('G', 0x22)}, {Qt::Key_H, Plain('H', 0x23)},
    {Qt::Key_J, Plain('J', 0x24)}, {Qt::Key_K, Plain('K', 0x25)}, {Qt::Key_L, Plain('L', 0x26)},
    {Qt::Key_Semicolon, Plain(VK_OEM_1, 0x27)}, {Qt::Key_Colon, Plain(VK_OEM_1, 0x27)},
    {Qt::Key_Apostrophe, Plain(VK_OEM_7, 0x28)}, {Qt::Key_QuoteDbl, Plain(VK_OEM_7, 0x28)},
    {Qt::Key_QuoteLeft, Plain(VK_OEM_3, 0x29)}, {Qt::Key_AsciiTilde, Plain(VK_OEM_3, 0x29)},
    {Qt::Key_Shift, Plain(VK_SHIFT, 0x2A)},
    {Qt::Key_Backslash, Plain(VK_OEM_5, 0x2B)}, {Qt::Key_Bar, Plain(VK_OEM_5, 0x2B)},
    {Qt::Key_Z, Plain('Z', 0x2C)}, {Qt::Key_X, Plain('X', 0x2D)}, {Qt::Key_C, Plain('C', 0x2E)},
    {Qt::Key_V, Plain('V', 0x2F)}, {Qt::Key_B, Plain('B', 0x30)}, {Qt::Key_N, Plain('N', 0x31)},
    {Qt::Key_M, Plain('M', 0x32)},
    {Qt::Key_Comma, Plain(VK_OEM_COMMA, 0x33)}, {Qt::Key_Less, Plain(VK_OEM_COMMA, 0x33)},
    {Qt::Key_Period, Plain(VK_OEM_PERIOD, 0x34)}, {Qt::Key_Greater, Plain(VK_OEM_PERIOD, 0x34)},
    {Qt::Key_Slash, Plain(VK_OEM_2, 0x35)}, {Qt::Key_Question, Plain(VK_OEM_2, 0x35)},
    {Qt::Key_Alt, Plain(VK_MENU, 0x38)},
    {Qt::Key_AltGr, Ext(VK_MENU, 0x38)},
    {Qt::Key_Space, Plain(VK_SPACE, 0x39)},
    {Qt::Key_CapsLock, Plain(VK_CAPITAL, 0x3A)},
    {Qt::Key_NumLock, Plain(VK_NUMLOCK, 0x45)},
    {Qt::Key_ScrollLock, Plain(VK_SCROLL, 0x46)},
    {Qt::Key_Hiragana_Katakana, Plain(VK_KANA, 0x70)},
    {Qt::Key_Henkan, Plain(VK_CONVERT, 0x79)},
    {Qt::Key_Muhenkan, Plain(VK_NONCONVERT, 0x7B)},
    {Qt::Key_yen, Plain(VK_OEM_5, 0x7D)},
    {Qt::Key_Zenkaku_Hankaku, Plain(VK_KANJI, 0x29)},
    {Qt::Key_Print, Ext(VK_SNAPSHOT, 0x37)},
    {Qt::Key_SysReq, Ext(VK_SNAPSHOT, 0x37)},
    {Qt::Key_Pause, Ext(VK_PAUSE, 0x45)},
    {Qt::Key_Home, Ext(VK_HOME, 0x47)},
    {Qt::Key_Up, Ext(VK_UP, 0x48)},
    {Qt::Key_PageUp, Ext(VK_PRIOR, 0x49)},
    {Qt::Key_Left, Ext(VK_LEFT, 0x4B)},
    {Qt::Key_Right, Ext(VK_RIGHT, 0x4D)},
    {Qt::Key_End, Ext(VK_END, 0x4F)},
    {Qt::Key_Down, Ext(VK_DOWN, 0x50)},
    {Qt::Key_PageDown, Ext(VK_NEXT, 0x51)},
    {Qt::Key_Insert, Ext(VK_INSERT, 0x52)},
    {Qt::Key_Delete, Ext(VK_DELETE, 0x53)},
    {Qt::Key_Super_L, Ext(VK_LWIN, 0x5B)},
    {Qt::Key_Meta, Ext(VK_LWIN, 0x5B)},
    {Qt::Key_Super_R, Ext(VK_RWIN, 0x5C)},
    {Qt::Key_Menu, Ext(VK_APPS, 0x5D)},
    {Qt::Key_Help, Plain(VK_HELP, 0)},
    {Qt::Key_Clear, Plain(VK_CLEAR, 0x4C)},
};

// Keys of the numeric pad, as the toolkit reports them with the keypad flag (with Num Lock off the
// digit keys report their navigation keys, and are not extended, as the pad's keys never are).
constexpr Entry kPad[] = {
    {Qt::Key_0, Plain(VK_NUMPAD0 + 0, 0x52)}, {Qt::Key_1, Plain(VK_NUMPAD0 + 1, 0x4F)},
    {Qt::Key_2, Plain(VK_NUMPAD0 + 2, 0x50)}, {Qt::Key_3, Plain(VK_NUMPAD0 + 3, 0x51)},
    {Qt::Key_4, Plain(VK_NUMPAD0 + 4, 0x4B)}, {Qt::Key_5, Plain(VK_NUMPAD0 + 5, 0x4C)},
    {Qt::Key_6, Plain(VK_NUMPAD0 + 6, 0x4D)}, {Qt::Key_7, Plain(VK_NUMPAD0 + 7, 0x47)},
    {Qt::Key_8, Plain(VK_NUMPAD0 + 8, 0x48)}, {Qt::Key_9, Plain(VK_NUMPAD0 + 9, 0x49)},
    {Qt::Key_Asterisk, Plain(VK_MULTIPLY, 0x37)},
    {Qt::Key_Plus, Plain(VK_ADD, 0x4E)},
    {Qt::Key_Minus, Plain(VK_SUBTRACT, 0x4A)},
    {Qt::Key_Period, Plain(VK_DECIMAL, 0x53)}, {Qt::Key_Comma, Plain(VK_DECIMAL, 0x53)},
    {Qt::Key_Delete, Plain(VK_DECIMAL, 0x53)},
    {Qt::Key_Slash, Ext(VK_DIVIDE, 0x35)},
    {Qt::Key_Enter, Ext(VK_RETURN, 0x1C)},
    {Qt::Key_Insert, Plain(VK_INSERT, 0x52)}, {Qt::Key_End, Plain(VK_END, 0x4F)},
    {Qt::Key_Down, Plain(VK_DOWN, 0x50)}, {Qt::Key_PageDown, Plain(VK_NEXT, 0x51)},
    {Qt::Key_Left, Plain(VK_LEFT, 0x4B)}, {Qt::Key_Clear, Plain(VK_CLEAR, 0x4C)},
    {Qt::Key_Right, Plain(VK_RIGHT, 0x4D)}, {Qt::Key_Home, Plain(VK_HOME, 0x47)},
    {Qt::Key_Up, Plain(VK_UP, 0x48)}, {Qt::Key_PageUp, Plain(VK_PRIOR, 0x49)},
};

// The function keys: F1 to F10 follow one another, F11 and F12 sit apart, F13 to F24 are the
// codes of the extended keyboards.
KeyCode FunctionKey(int n) {
  static constexpr std::array<uint8_t, 24> scan = {0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40, 0x41, 0x42,
                                                   0x43, 0x44, 0x57, 0x58, 0x64, 0x65, 0x66, 0x67,
                                                   0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x76};
  return Plain(VK_F1 + n, scan[n]);
}

template <size_t N>
KeyCode Find(const Entry (&table)[N], int qtKey) {
  for (const Entry& e : table) {
    if (e.qt == qtKey) return e.code;
  }
  return {};
}

// The typing keys of a JIS keyboard by their set-1 scan codes, which the kernel's key numbers
// equal for these keys.
struct Place {
  uint8_t scan;
  int vk;
};
constexpr Place kJisPlaces[] = {
    {0x02, '1'}, {0x03, '2'}, {0x04, '3'}, {0x05, '4'}, {0x06, '5'}, {0x07, '6'}, {0x08, '7'},
    {0x09, '8'}, {0x0A, '9'}, {0x0B, '0'}, {0x0C, VK_OEM_MINUS}, {0x0D, VK_OEM_7},
    {0x10, 'Q'}, {0x11, 'W'}, {0x12, 'E'}, {0x13, 'R'}, {0x14, 'T'}, {0x15, 'Y'}, {0x16, 'U'},
    {0x17, 'I'}, {0x18, 'O'}, {0x19, 'P'}, {0x1A, VK_OEM_3}, {0x1B, VK_OEM_4},
    {0x1E, 'A'}, {0x1F, 'S'}, {0x20, 'D'}, {0x21, 'F'}, {0x22, 'G'}, {0x23, 'H'}, {0x24, 'J'},
    {0x25, 'K'}, {0x26, 'L'}, {0x27, VK_OEM_PLUS}, {0x28, VK_OEM_1}, {0x2B, VK_OEM_6},
    {0x2C, 'Z'}, {0x2D, 'X'}, {0x2E, 'C'}, {0x2F, 'V'}, {0x30, 'B'}, {0x31, 'N'}, {0x32, 'M'},
    {0x33, VK_OEM_COMMA}, {0x34, VK_OEM_PERIOD}, {0x35, VK_OEM_2},
};
// The keys only Japanese keyboards have: kernel key numbers, with their set-1 codes.
constexpr int kKernelRo = 89;
constexpr int kKernelYen = 124;
constexpr int kNativeOffset = 8;

}  // namespace

KeyCode LayoutKeyCode(KeyCode code, uint32_t nativeScanCode, bool keypad, KeyboardLayout layout) {
  if (keypad || nativeScanCode <= kNativeOffset) return code;
  const uint32_t kernel = nativeScanCode - kNativeOffset;
  if (kernel == kKernelRo) return Plain(VK_OEM_102, 0x73);
  if (kernel == kKernelYen) return Plain(VK_OEM_5, 0x7D);
  if (layout != KeyboardLayout::kJis) return code;
  for (const Place& place : kJisPlaces)
    if (place.scan == kernel) return Plain(place.vk, place.scan);
  return code;
}

KeyboardLayout CurrentKeyboardLayout() {
  const QInputMethod* method = QGuiApplication::inputMethod();
  return method && method->locale().language() == QLocale::Japanese ? KeyboardLayout::kJis : KeyboardLayout::kUs;
}

KeyCode KeyCodeFromQtKey(int qtKey, bool keypad) {
  if (keypad) {
    KeyCode code = Find(kPad, qtKey);
    if (code.vk != 0) return code;
  }
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return FunctionKey(qtKey - Qt::Key_F1);
  // Letters arrive as capitals whether or not Shift is down; lower-case numbers come from some
  // input methods.
  if (qtKey >= 'a' && qtKey <= 'z') qtKey -= 'a' - 'A';
  if (qtKey == Qt::Key_Enter) return Ext(VK_RETURN, 0x1C);
  return Find(kMain, qtKey);
}

}  // namespace platform
