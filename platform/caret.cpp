// The caret is a rectangle remembered here and drawn by the owner's canvas at the end of each of
// its paints: blinking only asks the canvas to paint that rectangle again.
#include "platform/caret.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QStyleHints>
#include <QTimer>

#include "platform/gui_app.h"
#include "platform/window_qt.h"

namespace platform {
namespace {

struct CaretState {
  uint64_t serial = 0;  // of the owner; 0 for no caret
  HWND owner = nullptr;
  QRect rect;
  int hidden = 0;  // nesting of HideCaret; shown at 0
  bool on = false;  // the phase of the blink
  QPointer<QTimer> timer;  // belongs to the owner's canvas, so it goes with the window
};

// Touched on the GUI thread only.
CaretState& Caret() {
  static CaretState caret;
  return caret;
}

UINT& BlinkTime() {
  static UINT time = [] {
    const int flash = QGuiApplication::instance() ? QGuiApplication::styleHints()->cursorFlashTime() : 0;
    return flash > 0 ? static_cast<UINT>(flash / 2) : 0u;
  }();
  return time;
}

// The owner's window while it lives, else null (and the caret is forgotten).
Window* Owner() {
  CaretState& caret = Caret();
  if (caret.serial == 0) return nullptr;
  if (LiveSerial(caret.owner) != caret.serial) {
    caret = CaretState{};
    return nullptr;
  }
  return WindowFromHandle(caret.owner);
}

bool IsOwner(HWND hwnd) {
  Window* owner = Owner();
  return owner && (!hwnd || hwnd == Caret().owner);
}

void Repaint() {
  if (Window* owner = Owner()) owner->canvas()->update(Caret().rect);
}

// A fresh "on" phase, with the blink timer running for a shown caret when it blinks at all.
void RestartBlink() {
  CaretState& caret = Caret();
  caret.on = true;
  if (!caret.timer) return;
  caret.timer->stop();
  if (caret.hidden == 0 && BlinkTime() > 0) caret.timer->start(static_cast<int>(BlinkTime()));
}

}  // namespace

BOOL CreateCaret(HWND hwnd, HBITMAP, int width, int height) {
  if (!IsGuiThread()) return 0;
  Window* window = WindowFromHandle(hwnd);
  if (!window) return 0;
  DestroyCaret();
  CaretState& caret = Caret();
  caret.serial = LiveSerial(hwnd);
  caret.owner = hwnd;
  caret.rect = QRect(0, 0, width > 0 ? width : 1, height > 0 ? height : 1);
  caret.hidden = 1;
  caret.on = false;
  caret.timer = new QTimer(window->canvas());
  QObject::connect(caret.timer, &QTimer::timeout, [] {
    Caret().on = !Caret().on;
    Repaint();
  });
  return 1;
}

BOOL DestroyCaret() {
  if (!IsGuiThread() || !Owner()) return 0;
  Repaint();
  delete Caret().timer.data();
  Caret() = CaretState{};
  return 1;
}

BOOL ShowCaret(HWND hwnd) {
  if (!IsGuiThread() || !IsOwner(hwnd)) return 0;
  CaretState& caret = Caret();
  if (caret.hidden == 0) return 1;
  if (--caret.hidden == 0) {
    RestartBlink();
    Repaint();
  }
  return 1;
}

BOOL HideCaret(HWND hwnd) {
  if (!IsGuiThread() || !IsOwner(hwnd)) return 0;
  CaretState& caret = Caret();
  if (caret.hidden++ == 0) {
    if (caret.timer) caret.timer->stop();
    Repaint();
  }
  return 1;
}

BOOL SetCaretPos(int x, int y) {
  if (!IsGuiThread() || !Owner()) return 0;
  Repaint();
  Caret().rect.moveTopLeft(QPoint(x, y));
  if (Caret().hidden == 0) RestartBlink();
  Repaint();
  return 1;
}

BOOL GetCaretPos(POINT* point) {
  if (!point || !IsGuiThread() || !Owner()) return 0;
  point->x = Caret().rect.x();
  point->y = Caret().rect.y();
  return 1;
}

BOOL SetCaretBlinkTime(UINT milliseconds) {
  if (!IsGuiThread()) return 0;
  BlinkTime() = milliseconds;
  if (Owner() && Caret().hidden == 0) {
    RestartBlink();
    Repaint();
  }
  return 1;
}

UINT GetCaretBlinkTime() { return BlinkTime(); }

void PaintCaret(const Window& window, QPainter& painter) {
  if (&window != Owner()) return;
  const CaretState& caret = Caret();
  if (caret.hidden != 0 || !caret.on) return;
  painter.save();
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter.fillRect(caret.rect, Qt::white);
  painter.restore();
}

}  // namespace platform
