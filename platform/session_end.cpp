#include "platform/session_end.h"

#include <QGuiApplication>
#include <QPointer>
#ifndef QT_NO_SESSIONMANAGER
#include <QSessionManager>
#endif
#include <vector>

#include "platform/gui_app.h"
#include "platform/quit_signal.h"
#include "platform/window_qt.h"

namespace platform {
namespace {

// What the session's end needs to know, kept by the application object so that it goes with it.
class SessionEndAgent final : public QObject {
 public:
  explicit SessionEndAgent(QCoreApplication& app) : QObject(&app) {
#ifndef QT_NO_SESSIONMANAGER
    if (auto* gui = qobject_cast<QGuiApplication*>(&app)) {
      QObject::connect(gui, &QGuiApplication::commitDataRequest, this, [](QSessionManager& manager) {
        // Asked first: a window may put a question to the user before it agrees.
        const bool mayAsk = manager.allowsInteraction();
        if (!EndSession() && mayAsk) manager.cancel();
      });
    }
#endif
    InstallQuitSignals();
    SetQuitSignalCallback([] { EndSession(); });
  }

  std::vector<QPointer<Window>> windows;
  bool answering = false;
};

SessionEndAgent* Agent(bool make) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return nullptr;
  const std::vector<SessionEndAgent*> agents = ChildrenOfType<SessionEndAgent>(*app);
  if (!agents.empty()) return agents.front();
  return make ? new SessionEndAgent(*app) : nullptr;  // owned by the application
}

bool Alive(const QPointer<Window>& window) { return window && IsWindow(window.data()); }

}  // namespace

bool SetSessionEndWindow(HWND hwnd, bool registered) {
  if (!IsGuiThread()) return false;
  Window* window = WindowFromHandle(hwnd);
  if (registered && (!window || window->embeddingWindow())) return false;
  SessionEndAgent* agent = Agent(registered);
  if (!agent) return !registered;
  auto& windows = agent->windows;
  std::erase_if(windows, [window](const QPointer<Window>& w) { return !Alive(w) || w.data() == window; });
  if (registered) windows.emplace_back(window);
  return true;
}

bool EndSession() {
  if (!IsGuiThread()) return false;
  SessionEndAgent* agent = Agent(false);
  if (!agent) return true;
  if (agent->answering) return false;
  agent->answering = true;
  std::vector<QPointer<Window>> windows;
  for (const auto& w : agent->windows) {
    if (Alive(w)) windows.push_back(w);
  }
  bool agreed = true;
  size_t asked = 0;
  for (; asked < windows.size() && agreed; ++asked) {
    if (Alive(windows[asked])) agreed = SendMessage(windows[asked].data(), WM_QUERYENDSESSION, 0, 0) != 0;
  }
  for (size_t i = 0; i < asked; ++i) {
    if (Alive(windows[i])) SendMessage(windows[i].data(), WM_ENDSESSION, agreed ? 1 : 0, 0);
  }
  if (agreed) {
    for (const auto& w : windows) {
      if (Alive(w)) DestroyWindow(w.data());
    }
  }
  agent->answering = false;
  return agreed;
}

}  // namespace platform
