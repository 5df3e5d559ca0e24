#include "platform/hot_key_x11.h"

#include "platform/hot_key.h"

namespace platform::x11 {
namespace {

struct KeyPair {
  UINT vk;
  uint32_t keysym;
};

// The named keys; the OEM keys by what they type on a US keyboard.
constexpr KeyPair kNamed[] = {
    {VK_BACK, 0xFF08},     {VK_TAB, 0xFF09},      {VK_CLEAR, 0xFF0B},     {VK_RETURN, 0xFF0D},
    {VK_PAUSE, 0xFF13},    {VK_SCROLL, 0xFF14},   {VK_ESCAPE, 0xFF1B},    {VK_KANJI, 0xFF21},
    {VK_CONVERT, 0xFF23},  {VK_NONCONVERT, 0xFF22}, {VK_KANA, 0xFF2D},    {VK_SPACE, 0x0020},
    {VK_PRIOR, 0xFF55},    {VK_NEXT, 0xFF56},     {VK_END, 0xFF57},       {VK_HOME, 0xFF50},
    {VK_LEFT, 0xFF51},     {VK_UP, 0xFF52},       {VK_RIGHT, 0xFF53},     {VK_DOWN, 0xFF54},
    {VK_SNAPSHOT, 0xFF61}, {VK_INSERT, 0xFF63},   {VK_DELETE, 0xFFFF},    {VK_HELP, 0xFF6A},
    {VK_APPS, 0xFF67},     {VK_MULTIPLY, 0xFFAA}, {VK_ADD, 0xFFAB},       {VK_SEPARATOR, 0xFFAC},
    {VK_SUBTRACT, 0xFFAD}, {VK_DECIMAL, 0xFFAE},  {VK_DIVIDE, 0xFFAF},    {VK_NUMLOCK, 0xFF7F},
    {VK_OEM_1, ';'},       {VK_OEM_PLUS, '='},    {VK_OEM_COMMA, ','},    {VK_OEM_MINUS, '-'},
    {VK_OEM_PERIOD, '.'},  {VK_OEM_2, '/'},       {VK_OEM_3, '`'},        {VK_OEM_4, '['},
    {VK_OEM_5, '\\'},      {VK_OEM_6, ']'},       {VK_OEM_7, '\''},       {VK_OEM_102, '<'},
};

}  // namespace

uint32_t KeysymOfVirtualKey(UINT vk) {
  if (vk >= 'A' && vk <= 'Z') return vk - 'A' + 'a';  // the keyboard map lists a letter in lower case first
  if (vk >= '0' && vk <= '9') return vk;
  if (vk >= VK_F1 && vk <= VK_F24) return 0xFFBE + (vk - VK_F1);
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) return 0xFFB0 + (vk - VK_NUMPAD0);
  for (const KeyPair& k : kNamed) {
    if (k.vk == vk) return k.keysym;
  }
  return 0;
}

uint16_t ModifierMask(UINT modifiers) {
  uint16_t mask = 0;
  if (modifiers & MOD_SHIFT) mask |= 0x0001;
  if (modifiers & MOD_CONTROL) mask |= 0x0004;
  if (modifiers & MOD_ALT) mask |= 0x0008;
  if (modifiers & MOD_WIN) mask |= 0x0040;
  return mask;
}

bool IsHotKeyPress(uint8_t keycode, uint16_t state, uint8_t wantedKeycode, uint16_t wantedMask) {
  constexpr uint16_t kCounted = 0x0001 | 0x0004 | 0x0008 | 0x0040;
  return keycode == wantedKeycode && (state & kCounted) == wantedMask;
}

}  // namespace platform::x11
