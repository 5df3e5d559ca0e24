// Whether a window shows, told to those who keep track of it without asking the window (the
// listener that answers other processes runs off the GUI thread).
#include <QEvent>

#include "platform/window_qt.h"

namespace platform {
namespace {

// A child object of the window: it goes with it.
class VisibilityWatch final : public QObject {
 public:
  VisibilityWatch(Window& window, std::function<void(bool)> changed) : QObject(&window), m_changed(std::move(changed)) {
    window.installEventFilter(this);
    m_changed(window.isVisible());
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // Minimising hides the window on the screen, not in the program's sight: isVisible stays.
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
      m_changed(static_cast<QWidget*>(watched)->isVisible());
    }
    return false;
  }

 private:
  std::function<void(bool)> m_changed;
};

}  // namespace

bool WatchVisibility(HWND hwnd, std::function<void(bool)> changed) {
  Window* window = WindowFromHandle(hwnd);
  if (!window || !changed) return false;
  new VisibilityWatch(*window, std::move(changed));  // owned by the window
  return true;
}

}  // namespace platform
