// Progress bars: the messages that dialogs' bars and the status bar's bar share, and the bar made
// as a child of a control or a window.
#include <QProgressBar>
#include <QPointer>
#include <algorithm>
#include <memory>

#include "platform/dialog.h"
#include "platform/dialog_qt.h"
#include "platform/window_qt.h"

namespace platform {

LRESULT ProgressMessage(ProgressState& state, QProgressBar& bar, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT oldRange = MAKELPARAM(static_cast<unsigned>(state.min), static_cast<unsigned>(state.max));
  auto show = [&] {
    // An empty range shows an empty bar (the toolkit would animate it as busy).
    if (state.max > state.min) {
      bar.setRange(state.min, state.max);
      bar.setValue(state.pos);
    } else {
      bar.setRange(0, 1);
      bar.setValue(0);
    }
  };
  switch (message) {
    case PBM_SETRANGE:
      state.min = LOWORD(static_cast<uintptr_t>(lParam));
      state.max = HIWORD(static_cast<uintptr_t>(lParam));
      state.pos = std::clamp(state.pos, state.min, std::max(state.min, state.max));
      show();
      return oldRange;
    case PBM_SETRANGE32:
      state.min = static_cast<int>(static_cast<intptr_t>(wParam));
      state.max = static_cast<int>(lParam);
      state.pos = std::clamp(state.pos, state.min, std::max(state.min, state.max));
      show();
      return oldRange;
    case PBM_SETPOS: {
      const int old = state.pos;
      state.pos = std::clamp(static_cast<int>(static_cast<intptr_t>(wParam)), state.min, std::max(state.min, state.max));
      show();
      // Long jobs set the position between units of work without letting paints through.
      bar.repaint();
      return old;
    }
    case PBM_GETPOS:
      return state.pos;
    default:
      return 0;
  }
}

namespace {

class ProgressControl final : public ChildWindow {
 public:
  ProgressControl(Window& top, QProgressBar* bar, int id) : ChildWindow(top, bar, id), m_bar(bar) {
    ProgressMessage(m_state, *bar, PBM_SETRANGE32, 0, 100);
  }

  LRESULT send(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (m_bar && message >= PBM_SETRANGE && message <= PBM_GETPOS) return ProgressMessage(m_state, *m_bar, message, wParam, lParam);
    return ChildWindow::send(message, wParam, lParam);
  }

 private:
  QPointer<QProgressBar> m_bar;
  ProgressState m_state;
};

}  // namespace

HWND CreateProgressControl(DWORD style, QRect rect, HWND parent, int id) {
  Window* top = TopWindowFromHandle(parent);
  if (!top) return nullptr;
  QWidget* host = top->canvas();
  if (ChildWindow* child = ChildFromHandle(parent)) host = child->widget();
  if (!host) return nullptr;
  auto* bar = new QProgressBar(host);
  bar->setTextVisible(false);
  bar->setGeometry(rect);
  bar->setVisible((style & WS_VISIBLE) != 0);
  return AddChildWindow(std::make_unique<ProgressControl>(*top, bar, id));
}

}  // namespace platform
