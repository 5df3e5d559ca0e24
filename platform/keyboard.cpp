#include "platform/keyboard.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QObject>
#include <QString>

#include <cstring>
#include <unordered_map>

namespace platform {
namespace {

// X keysyms that tell the right modifier from the left one (the toolkit gives both one key).
constexpr quint32 kKeysymShiftR = 0xFFE2;
constexpr quint32 kKeysymControlR = 0xFFE4;
constexpr quint32 kKeysymAltR = 0xFFEA;

struct KeyboardTable {
  uint8_t held[kKeyCodes] = {};
  // The code each physical key was pressed as, so that its release clears the same code even
  // when a modifier changed the key's meaning in between (Shift with 1 turns it into '!').
  std::unordered_map<quint32, int> pressedByScanCode;

  void Clear() {
    std::memset(held, 0, sizeof held);
    pressedByScanCode.clear();
  }
};

KeyboardTable& Table() {
  static KeyboardTable table;
  return table;
}

int KeypadCode(int key) {
  switch (key) {
    case Qt::Key_0: case Qt::Key_Insert: return DIK_NUMPAD0;
    case Qt::Key_1: case Qt::Key_End: return DIK_NUMPAD1;
    case Qt::Key_2: case Qt::Key_Down: return DIK_NUMPAD2;
    case Qt::Key_3: case Qt::Key_PageDown: return DIK_NUMPAD3;
    case Qt::Key_4: case Qt::Key_Left: return DIK_NUMPAD4;
    case Qt::Key_5: case Qt::Key_Clear: return DIK_NUMPAD5;
    case Qt::Key_6: case Qt::Key_Right: return DIK_NUMPAD6;
    case Qt::Key_7: case Qt::Key_Home: return DIK_NUMPAD7;
    case Qt::Key_8: case Qt::Key_Up: return DIK_NUMPAD8;
    case Qt::Key_9: case Qt::Key_PageUp: return DIK_NUMPAD9;
    case Qt::Key_Asterisk: return DIK_MULTIPLY;
    case Qt::Key_Minus: return DIK_SUBTRACT;
    case Qt::Key_Plus: return DIK_ADD;
    case Qt::Key_Slash: return DIK_DIVIDE;
    case Qt::Key_Period: case Qt::Key_Comma: case Qt::Key_Delete: return DIK_DECIMAL;
    case Qt::Key_Enter: case Qt::Key_Return: return DIK_NUMPADENTER;
    case Qt::Key_NumLock: return DIK_NUMLOCK;
    default: return 0;
  }
}

// The scan-code numbering of a key of a Japanese or US keyboard; shifted symbols count as the key
// that carries them.
int MainCode(int key, quint32 keysym) {
  static const int digits[10] = {DIK_0, DIK_1, DIK_1 + 1, DIK_1 + 2, DIK_1 + 3,
                                 DIK_1 + 4, DIK_1 + 5, DIK_1 + 6, DIK_1 + 7, DIK_1 + 8};
  // Letters in keyboard order: the scan codes run along the three rows.
  static const char* rows[3] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
  static const int rowStart[3] = {DIK_Q, DIK_A, DIK_Z};
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return digits[key - Qt::Key_0];
  if (key >= Qt::Key_A && key <= Qt::Key_Z) {
    for (int r = 0; r < 3; ++r) {
      if (const char* p = std::strchr(rows[r], key)) return rowStart[r] + static_cast<int>(p - rows[r]);
    }
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F10) return DIK_F1 + (key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_F11: return DIK_F11;
    case Qt::Key_F12: return DIK_F12;
    case Qt::Key_Escape: return DIK_ESCAPE;
    case Qt::Key_Tab: case Qt::Key_Backtab: return DIK_TAB;
    case Qt::Key_Backspace: return DIK_BACK;
    case Qt::Key_Return: return DIK_RETURN;
    case Qt::Key_Enter: return DIK_NUMPADENTER;
    case Qt::Key_Space: return DIK_SPACE;
    case Qt::Key_Shift: return keysym == kKeysymShiftR ? DIK_RSHIFT : DIK_LSHIFT;
    case Qt::Key_Control: return keysym == kKeysymControlR ? DIK_RCONTROL : DIK_LCONTROL;
    case Qt::Key_Alt: return keysym == kKeysymAltR ? DIK_RMENU : DIK_LMENU;
    case Qt::Key_AltGr: return DIK_RMENU;
    case Qt::Key_Meta: return DIK_LWIN;
    case Qt::Key_Menu: return DIK_APPS;
    case Qt::Key_CapsLock: return DIK_CAPITAL;
    case Qt::Key_NumLock: return DIK_NUMLOCK;
    case Qt::Key_ScrollLock: return DIK_SCROLL;
    case Qt::Key_Print: case Qt::Key_SysReq: return DIK_SYSRQ;
    case Qt::Key_Pause: return DIK_PAUSE;
    case Qt::Key_Insert: return DIK_INSERT;
    case Qt::Key_Delete: return DIK_DELETE;
    case Qt::Key_Home: return DIK_HOME;
    case Qt::Key_End: return DIK_END;
    case Qt::Key_PageUp: return DIK_PRIOR;
    case Qt::Key_PageDown: return DIK_NEXT;
    case Qt::Key_Up: return DIK_UP;
    case Qt::Key_Down: return DIK_DOWN;
    case Qt::Key_Left: return DIK_LEFT;
    case Qt::Key_Right: return DIK_RIGHT;
    case Qt::Key_Minus: case Qt::Key_Underscore: return DIK_MINUS;
    case Qt::Key_Equal: case Qt::Key_Plus: return DIK_EQUALS;
    case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return DIK_LBRACKET;
    case Qt::Key_BracketRight: case Qt::Key_BraceRight: return DIK_RBRACKET;
    case Qt::Key_Semicolon: case Qt::Key_Colon: return DIK_SEMICOLON;
    case Qt::Key_Apostrophe: case Qt::Key_QuoteDbl: return DIK_APOSTROPHE;
    case Qt::Key_QuoteLeft: case Qt::Key_AsciiTilde: return DIK_GRAVE;
    case Qt::Key_Backslash: case Qt::Key_Bar: return DIK_BACKSLASH;
    case Qt::Key_Comma: case Qt::Key_Less: return DIK_COMMA;
    case Qt::Key_Period: case Qt::Key_Greater: return DIK_PERIOD;
    case Qt::Key_Slash: case Qt::Key_Question: return DIK_SLASH;
    case Qt::Key_Exclam: return DIK_1;
    case Qt::Key_At: return DIK_1 + 1;
    case Qt::Key_NumberSign: return DIK_1 + 2;
    case Qt::Key_Dollar: return DIK_1 + 3;
    case Qt::Key_Percent: return DIK_1 + 4;
    case Qt::Key_AsciiCircum: return DIK_1 + 5;
    case Qt::Key_Ampersand: return DIK_1 + 6;
    case Qt::Key_Asterisk: return DIK_1 + 7;
    case Qt::Key_ParenLeft: return DIK_1 + 8;
    case Qt::Key_ParenRight: return DIK_0;
    case Qt::Key_yen: return DIK_YEN;
    case Qt::Key_Kanji: case Qt::Key_Zenkaku_Hankaku: case Qt::Key_Zenkaku: case Qt::Key_Hankaku: return DIK_KANJI;
    case Qt::Key_Henkan: return DIK_CONVERT;
    case Qt::Key_Muhenkan: return DIK_NOCONVERT;
    case Qt::Key_Hiragana_Katakana: case Qt::Key_Katakana: case Qt::Key_Hiragana: return DIK_KANA;
    default: return 0;
  }
}

int CodeOf(const QKeyEvent& e) {
  if (e.modifiers() & Qt::KeypadModifier) {
    if (int code = KeypadCode(e.key())) return code;
  }
  return MainCode(e.key(), e.nativeVirtualKey());
}

void OnKey(const QKeyEvent& e, bool press) {
  if (e.isAutoRepeat()) return;
  KeyboardTable& t = Table();
  const quint32 scan = e.nativeScanCode();
  int code = CodeOf(e);
  if (!press && scan != 0) {
    if (auto it = t.pressedByScanCode.find(scan); it != t.pressedByScanCode.end()) {
      code = it->second;
      t.pressedByScanCode.erase(it);
    }
  }
  if (code <= 0 || code >= kKeyCodes) return;
  t.held[code] = press ? 0x80 : 0;
  if (press && scan != 0) t.pressedByScanCode[scan] = code;
}

// Watches every event of the application without taking any away from its receiver.
class KeyboardFilter : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress: OnKey(*static_cast<QKeyEvent*>(event), true); break;
      case QEvent::KeyRelease: OnKey(*static_cast<QKeyEvent*>(event), false); break;
      case QEvent::ApplicationDeactivate:
        // A release that happens in another program never reaches us.
        Table().Clear();
        break;
      case QEvent::ApplicationStateChange:
        if (QCoreApplication::instance() == watched &&
            static_cast<QApplicationStateChangeEvent*>(event)->applicationState() != Qt::ApplicationActive) {
          Table().Clear();
        }
        break;
      default: break;
    }
    return false;
  }
};

int KeyFromName(std::string_view name) {
  if (name == "Shift") return Qt::Key_Shift;
  if (name == "Ctrl") return Qt::Key_Control;
  if (name == "Alt") return Qt::Key_Alt;
  QKeySequence seq = QKeySequence::fromString(QString::fromUtf8(name.data(), static_cast<int>(name.size())),
                                              QKeySequence::PortableText);
  return seq.isEmpty() ? 0 : seq[0].key();
}

}  // namespace

bool StartKeyboardTracking() {
  static KeyboardFilter* filter = nullptr;
  if (filter) return true;
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return false;
  filter = new KeyboardFilter;  // owned by the application object, like every filter it holds
  filter->setParent(app);
  app->installEventFilter(filter);
  return true;
}

void ReadKeyboardState(uint8_t (&state)[kKeyCodes]) { std::memcpy(state, Table().held, sizeof state); }

void SendKeyEvent(std::string_view keyName, bool press, unsigned flags) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return;
  const int key = KeyFromName(keyName);
  Qt::KeyboardModifiers mods = (flags & kKeyOnKeypad) ? Qt::KeypadModifier : Qt::NoModifier;
  quint32 keysym = 0;
  if (flags & kKeyRightSide) {
    keysym = key == Qt::Key_Shift ? kKeysymShiftR : key == Qt::Key_Control ? kKeysymControlR : kKeysymAltR;
  }
  // No input device: the toolkit would make one on demand and register it in a list that is torn
  // down before the application object, which then crashes the program at exit.
  QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, key, mods, 0, keysym, 0, QString(),
                  (flags & kKeyAutoRepeat) != 0, 1, nullptr);
  QCoreApplication::sendEvent(app, &event);
}

void SendFocusLoss() {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return;
  QEvent event(QEvent::ApplicationDeactivate);
  QCoreApplication::sendEvent(app, &event);
}

}  // namespace platform
