#include "platform/drag_drop.h"

#include <QCoreApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>

#include "platform/clipboard.h"
#include "platform/drop_files.h"
#include "platform/dropped_files.h"
#include "platform/gui_app.h"
#include "platform/sjis.h"
#include "platform/window_qt.h"
#include "platform/window_tree.h"

namespace platform {
namespace {

constexpr char kFilterName[] = "tovaraDropTarget";
constexpr char kPlainText[] = "text/plain";
constexpr char kPlainTextUtf8[] = "text/plain;charset=utf-8";

// The window that the drag in progress came from, null while none runs.
struct RunningDrag {
  HWND source = nullptr;
  DragHook hook;
};

RunningDrag& Running() {
  static RunningDrag running;
  return running;
}

std::string UpToNul(std::string_view bytes) { return std::string(bytes.substr(0, bytes.find('\0'))); }

DropData DataOf(const QMimeData* mime, HWND window) {
  DropData data;
  data.sameWindow = window != nullptr && Running().source == window;
  if (!mime) return data;
  if (mime->hasUrls()) {
    std::vector<std::string> files;
    for (const QUrl& url : mime->urls()) {
      if (!url.isLocalFile()) {
        files.clear();
        break;
      }
      files.push_back(url.toLocalFile().toStdString());
    }
    if (!files.empty()) {
      data.files = std::move(files);
      return data;
    }
  }
  for (const QString& type : mime->formats()) {
    if (const UINT format = RegisteredFormatOfMimeType(type.toStdString())) {
      const QByteArray bytes = mime->data(type);
      data.formats.push_back(DragFormat{format, std::string(bytes.constData(), static_cast<size_t>(bytes.size()))});
    }
  }
  if (mime->hasFormat(kPlainText) || mime->hasFormat(kPlainTextUtf8)) {
    std::u16string text = mime->text().toStdU16String();
    text.resize(std::min(text.size(), text.find(u'\0')));
    data.text = std::move(text);
  }
  return data;
}

DWORD KeyStateOf(const QDropEvent& event) {
  DWORD state = 0;
  const Qt::MouseButtons buttons = event.buttons();
  if (buttons & Qt::LeftButton) state |= static_cast<DWORD>(MK_LBUTTON);
  if (buttons & Qt::RightButton) state |= static_cast<DWORD>(MK_RBUTTON);
  if (buttons & Qt::MiddleButton) state |= static_cast<DWORD>(MK_MBUTTON);
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  if (modifiers & Qt::ShiftModifier) state |= static_cast<DWORD>(MK_SHIFT);
  if (modifiers & Qt::ControlModifier) state |= static_cast<DWORD>(MK_CONTROL);
  if (modifiers & Qt::AltModifier) state |= MK_ALT;
  return state;
}

Qt::DropAction ActionOf(DWORD effect) {
  if (effect & DROPEFFECT_MOVE) return Qt::MoveAction;
  if (effect & DROPEFFECT_COPY) return Qt::CopyAction;
  return Qt::IgnoreAction;
}

DWORD EffectOf(Qt::DropAction action) {
  switch (action) {
    case Qt::MoveAction:
    case Qt::TargetMoveAction: return DROPEFFECT_MOVE;
    case Qt::CopyAction: return DROPEFFECT_COPY;
    default: return DROPEFFECT_NONE;
  }
}

// Tells the toolkit the effect; an effect the drag does not allow counts as none.
void Answer(QDropEvent& event, DWORD effect) {
  const Qt::DropAction action = ActionOf(effect);
  if (action == Qt::IgnoreAction || !(event.possibleActions() & action)) {
    event.setDropAction(Qt::IgnoreAction);
    event.ignore();
    return;
  }
  event.setDropAction(action);
  event.accept();
}

class DropFilter;
DropFilter* FilterOf(Window& window);

// Sits on a window's canvas and turns the toolkit's drag events into the target's calls, or, for a
// drag of files where this window or one it lies in takes files, into WM_DROPFILES.
class DropFilter final : public QObject {
 public:
  DropFilter(Window& window, DropTarget* target)
      : QObject(window.canvas()), m_window(window), m_canvas(window.canvas()), m_target(target) {
    setObjectName(QString::fromLatin1(kFilterName));
  }
  void setTarget(DropTarget* target) {
    m_target = target;
    m_entered = false;
  }
  DropTarget* target() const { return m_target; }
  void setAcceptFiles(bool accept) {
    m_acceptFiles = accept;
    m_fileTaker = nullptr;
  }
  bool acceptFiles() const { return m_acceptFiles; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // Compared, not asked of the window: the canvas's last events come while the window is
    // being destroyed.
    if (watched != m_canvas) return false;
    switch (event->type()) {
      case QEvent::DragEnter: {
        auto& drag = static_cast<QDragEnterEvent&>(*event);
        const DropData data = DataOf(drag.mimeData(), Handle());
        m_entered = false;
        m_fileTaker = data.files.empty() ? nullptr : FileTaker();
        if (m_fileTaker) {
          Answer(drag, DROPEFFECT_COPY);
          return true;
        }
        DWORD effect = DROPEFFECT_NONE;
        m_entered = m_target && m_target->DragEnter(data, KeyStateOf(drag), PointOf(drag), &effect);
        if (!m_entered) {
          drag.setDropAction(Qt::IgnoreAction);
          drag.ignore();
        } else {
          // Taken even where nothing may be dropped yet, so that the moves keep coming.
          Answer(drag, effect);
          drag.accept();
        }
        return true;
      }
      case QEvent::DragMove: {
        auto& drag = static_cast<QDragMoveEvent&>(*event);
        if (m_fileTaker) {
          Answer(drag, IsWindow(m_fileTaker) ? DROPEFFECT_COPY : DROPEFFECT_NONE);
          return true;
        }
        if (!m_entered || !m_target) {
          drag.ignore();
          return true;
        }
        Answer(drag, m_target->DragOver(KeyStateOf(drag), PointOf(drag)));
        return true;
      }
      case QEvent::DragLeave:
        if (m_entered && m_target) m_target->DragLeave();
        m_entered = false;
        m_fileTaker = nullptr;
        return true;
      case QEvent::Drop: {
        auto& drop = static_cast<QDropEvent&>(*event);
        if (const HWND taker = std::exchange(m_fileTaker, nullptr)) {
          // The window may have stopped taking files, or gone, while the drag was over it.
          if (taker != FileTaker()) {
            drop.ignore();
            return true;
          }
          POINT point = PointOf(drop);
          MapWindowPoints(Handle(), taker, &point, 1);
          PostDroppedFiles(taker, point, DataOf(drop.mimeData(), Handle()).files);
          Answer(drop, DROPEFFECT_COPY);
          return true;
        }
        if (!m_entered || !m_target) {
          drop.ignore();
          return true;
        }
        m_entered = false;
        Answer(drop, m_target->Drop(DataOf(drop.mimeData(), Handle()), KeyStateOf(drop), PointOf(drop)));
        return true;
      }
      default:
        return false;
    }
  }

 private:
  HWND Handle() const { return &m_window; }
  POINT PointOf(const QDropEvent& event) const {
    QPoint p = event.position().toPoint();
    if (m_window.canvas()->mapToClient) p = m_window.canvas()->mapToClient(p);
    return POINT{p.x(), p.y()};
  }
  // This window or the nearest one it lies in that takes files; null when none does.
  HWND FileTaker() const {
    for (HWND hwnd = Handle(); hwnd; hwnd = GetParent(hwnd)) {
      Window* window = WindowFromHandle(hwnd);
      if (!window) return nullptr;
      const DropFilter* filter = FilterOf(*window);
      if (filter && filter->acceptFiles()) return hwnd;
    }
    return nullptr;
  }

  Window& m_window;
  const QObject* const m_canvas;
  DropTarget* m_target;
  bool m_entered = false;
  bool m_acceptFiles = false;
  HWND m_fileTaker = nullptr;  // the window a drag of files over this one goes to
};

DropFilter* FilterOf(Window& window) {
  return dynamic_cast<DropFilter*>(
      window.canvas()->findChild<QObject*>(QString::fromLatin1(kFilterName), Qt::FindDirectChildrenOnly));
}

// The registered formats as their MIME types.
std::unique_ptr<QMimeData> MimeOf(const std::vector<DragFormat>& formats) {
  auto mime = std::make_unique<QMimeData>();
  for (const DragFormat& f : formats) {
    const std::string type = RegisteredFormatMimeType(f.format);
    if (!type.empty()) {
      mime->setData(QString::fromStdString(type), QByteArray(f.bytes.data(), static_cast<qsizetype>(f.bytes.size())));
    }
  }
  return mime;
}

Qt::DropActions ActionsOf(DWORD effects) {
  Qt::DropActions actions;
  if (effects & DROPEFFECT_COPY) actions |= Qt::CopyAction;
  if (effects & DROPEFFECT_MOVE) actions |= Qt::MoveAction;
  return actions;
}

Qt::MouseButtons ButtonsOf(DWORD keyState) {
  Qt::MouseButtons buttons;
  if (keyState & MK_LBUTTON) buttons |= Qt::LeftButton;
  if (keyState & MK_RBUTTON) buttons |= Qt::RightButton;
  if (keyState & MK_MBUTTON) buttons |= Qt::MiddleButton;
  return buttons;
}

Qt::KeyboardModifiers ModifiersOf(DWORD keyState) {
  Qt::KeyboardModifiers modifiers;
  if (keyState & MK_SHIFT) modifiers |= Qt::ShiftModifier;
  if (keyState & MK_CONTROL) modifiers |= Qt::ControlModifier;
  if (keyState & MK_ALT) modifiers |= Qt::AltModifier;
  return modifiers;
}

// The hook's answer delivered as the toolkit delivers a drop: enter, a move, then the drop, each
// only when the one before was taken.
DWORD DeliverDrop(const DragRelease& release, const QMimeData& mime, Qt::DropActions actions) {
  Window* target = WindowFromHandle(release.target);
  if (!target) return DROPEFFECT_NONE;
  Canvas* canvas = target->canvas();
  const QPoint client(release.point.x, release.point.y);
  const QPoint at = canvas->mapFromClient ? canvas->mapFromClient(client) : client;
  const Qt::MouseButtons buttons = ButtonsOf(release.keyState);
  const Qt::KeyboardModifiers modifiers = ModifiersOf(release.keyState);
  QDragEnterEvent enter(at, actions, &mime, buttons, modifiers);
  QCoreApplication::sendEvent(canvas, &enter);
  if (!enter.isAccepted()) return DROPEFFECT_NONE;
  QDragMoveEvent move(at, actions, &mime, buttons, modifiers);
  QCoreApplication::sendEvent(canvas, &move);
  if (!move.isAccepted()) {
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(canvas, &leave);
    return DROPEFFECT_NONE;
  }
  // The button is up when the drop comes.
  QDropEvent drop(QPointF(at), actions, &mime, buttons & ~Qt::LeftButton, modifiers);
  QCoreApplication::sendEvent(canvas, &drop);
  return drop.isAccepted() ? EffectOf(drop.dropAction()) : DROPEFFECT_NONE;
}

}  // namespace

const std::string* DropData::Format(UINT format) const {
  for (const DragFormat& f : formats) {
    if (f.format == format) return &f.bytes;
  }
  return nullptr;
}

namespace {

// The window's filter, made when it has none.
DropFilter& EnsureFilter(Window& window) {
  if (DropFilter* filter = FilterOf(window)) return *filter;
  auto* filter = new DropFilter(window, nullptr);  // a child of the canvas
  window.canvas()->installEventFilter(filter);
  window.canvas()->setAcceptDrops(true);
  return *filter;
}

// Takes the filter away once it has neither a target nor files to take.
void DropFilterIfIdle(Window& window) {
  DropFilter* filter = FilterOf(window);
  if (!filter || filter->target() || filter->acceptFiles()) return;
  window.canvas()->setAcceptDrops(false);
  // It may be inside its own event (a drop that closes the window): it goes once that is over.
  filter->setObjectName(QString());
  window.canvas()->removeEventFilter(filter);
  filter->deleteLater();
}

}  // namespace

BOOL RegisterDropTarget(HWND hwnd, DropTarget* target) {
  if (!IsGuiThread() || !target) return 0;
  Window* window = WindowFromHandle(hwnd);
  if (!window) return 0;
  EnsureFilter(*window).setTarget(target);
  return 1;
}

BOOL RevokeDropTarget(HWND hwnd) {
  if (!IsGuiThread()) return 0;
  Window* window = WindowFromHandle(hwnd);
  if (!window) return 0;
  if (DropFilter* filter = FilterOf(*window)) filter->setTarget(nullptr);
  DropFilterIfIdle(*window);
  return 1;
}

BOOL DragAcceptFiles(HWND hwnd, BOOL accept) {
  if (!IsGuiThread()) return 0;
  Window* window = WindowFromHandle(hwnd);
  if (!window) return 0;
  if (accept) {
    EnsureFilter(*window).setAcceptFiles(true);
  } else {
    if (DropFilter* filter = FilterOf(*window)) filter->setAcceptFiles(false);
    DropFilterIfIdle(*window);
  }
  return 1;
}

DWORD DoDragDrop(HWND source, std::string_view text, const std::vector<DragFormat>& formats, DWORD effects) {
  if (!IsGuiThread()) return DROPEFFECT_NONE;
  Window* window = WindowFromHandle(source);
  const Qt::DropActions actions = ActionsOf(effects);
  if (!window || !actions) return DROPEFFECT_NONE;
  RunningDrag& running = Running();
  // A drag started from inside a drop (unusual, but a program may) keeps the outer one's source.
  struct SourceScope {
    RunningDrag& running;
    HWND previous;
    ~SourceScope() { running.source = previous; }
  } scope{running, std::exchange(running.source, source)};
  std::unique_ptr<QMimeData> mime = MimeOf(formats);
  mime->setText(QString::fromStdString(SjisToUtf8(UpToNul(text))));
  if (running.hook) {
    const DragHook hook = running.hook;  // the hook may replace itself
    const DragRelease release = hook(source, text);
    if (!release.target) return DROPEFFECT_NONE;
    return DeliverDrop(release, *mime, actions);
  }
  QDrag* drag = new QDrag(window->canvas());  // the toolkit deletes it when the drag is over
  drag->setMimeData(mime.release());
  return EffectOf(drag->exec(actions));
}

DragHook SetDragHook(DragHook hook) { return std::exchange(Running().hook, std::move(hook)); }

DWORD DropFromOutside(HWND target, POINT point, const ForeignDrag& drag) {
  if (!IsGuiThread()) return DROPEFFECT_NONE;
  std::unique_ptr<QMimeData> mime = MimeOf(drag.formats);
  if (drag.utf8Text) mime->setText(QString::fromStdString(*drag.utf8Text));
  QList<QUrl> urls;
  for (const std::string& file : drag.files) urls.push_back(QUrl::fromLocalFile(QString::fromStdString(file)));
  if (!urls.isEmpty()) mime->setUrls(urls);
  return DeliverDrop(DragRelease{target, point, drag.keyState}, *mime, Qt::CopyAction | Qt::MoveAction);
}

}  // namespace platform
