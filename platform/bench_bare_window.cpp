#include "platform/bench_bare_window.h"

#include <cstdlib>

#include <QApplication>
#include <QMainWindow>
#include <QPainter>
#include <QWidget>

#include "platform/first_frame_mark.h"

namespace platform {
namespace {

// The central widget: an empty client area painted once in the window's colour.
class BareCanvas : public QWidget {
 public:
  bool painted = false;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter(this).fillRect(rect(), palette().window());
    MarkFirstFramePainted();
    painted = true;
  }
};

}  // namespace

bool BareWindowRequested() { return std::getenv("VREL_BENCH_BARE_WINDOW") != nullptr; }

void RunBareWindow() {
  QMainWindow window;
  auto* canvas = new BareCanvas;  // owned by the window from the next line on
  window.setCentralWidget(canvas);
  window.resize(800, 600);
  window.show();
  // A window that never gets painted (no platform to show it) ends the program all the same.
  for (int round = 0; round < 1000 && !canvas->painted; ++round) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

}  // namespace platform
