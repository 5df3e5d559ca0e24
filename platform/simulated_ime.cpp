// Input-method events and queries for tests, through the same toolkit events a real input method
// uses.
#include <QCoreApplication>
#include <QFont>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QRect>
#include <algorithm>

#include "platform/gui_app.h"
#include "platform/simulated_input.h"
#include "platform/window_qt.h"

namespace platform {
namespace {

std::u16string ToU16(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
}

}  // namespace

void SimulateInputMethod(HWND hwnd, const SimulatedComposition& composition) {
  Window* window = WindowFromHandle(hwnd);
  if (!window) return;
  const QString preedit = SjisToQString(composition.preedit);
  const int cursor =
      composition.preeditCursor < 0
          ? static_cast<int>(preedit.size())
          : static_cast<int>(SjisToQString(composition.preedit.substr(
                                               0, std::min<size_t>(static_cast<size_t>(composition.preeditCursor),
                                                                   composition.preedit.size())))
                                 .size());
  QList<QInputMethodEvent::Attribute> attributes;
  attributes.append({QInputMethodEvent::Cursor, cursor, 1});
  auto* event = new QInputMethodEvent(preedit, attributes);
  event->setCommitString(SjisToQString(composition.commit), composition.replaceFrom, composition.replaceLength);
  QCoreApplication::postEvent(window->canvas(), event);
}

InputMethodAnswers QueryInputMethod(HWND hwnd) {
  InputMethodAnswers answers;
  Window* window = WindowFromHandle(hwnd);
  if (!window) return answers;
  QInputMethodQueryEvent query(Qt::ImCursorRectangle | Qt::ImFont | Qt::ImSurroundingText | Qt::ImCursorPosition |
                               Qt::ImAnchorPosition | Qt::ImCurrentSelection);
  QCoreApplication::sendEvent(window->canvas(), &query);
  const QRect r = query.value(Qt::ImCursorRectangle).toRect();
  answers.cursorRect = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
  if (const QVariant font = query.value(Qt::ImFont); font.isValid()) {
    const QFont f = font.value<QFont>();
    answers.fontFamily = f.family().toStdString();
    answers.fontPixelSize = f.pixelSize();
    answers.fontWeight = f.weight();
  }
  answers.surroundingText = ToU16(query.value(Qt::ImSurroundingText).toString());
  answers.cursorPosition = query.value(Qt::ImCursorPosition).toInt();
  answers.anchorPosition = query.value(Qt::ImAnchorPosition).toInt();
  answers.currentSelection = ToU16(query.value(Qt::ImCurrentSelection).toString());
  return answers;
}

}  // namespace platform
