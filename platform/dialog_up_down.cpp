// A dialog's up-down control: two arrows beside an edit. It keeps no number of its own: each click
// of an arrow asks the procedure (UDN_DELTAPOS), which writes the edit.
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

#include "platform/dialog_qt.h"

namespace platform {
namespace {

class UpDownWidget final : public QWidget {
 public:
  explicit UpDownWidget(QWidget* parent) : QWidget(parent), up(new QToolButton(this)), down(new QToolButton(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* arrow : {up, down}) {
      arrow->setAutoRepeat(true);  // held down, it clicks again and again
      arrow->setFocusPolicy(Qt::NoFocus);
      arrow->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
      layout->addWidget(arrow);
    }
    up->setArrowType(Qt::UpArrow);
    down->setArrowType(Qt::DownArrow);
    setFocusPolicy(Qt::NoFocus);
  }

  QToolButton* up;
  QToolButton* down;
};

void NotifyDelta(Control& control, int delta) {
  NMUPDOWN nm;
  nm.iDelta = delta;
  SendControlNotify(control, nm.hdr, UDN_DELTAPOS);
}

}  // namespace

QWidget* MakeUpDown(QWidget* parent) { return new UpDownWidget(parent); }

void ConnectUpDown(Control& control) {
  auto* widget = dynamic_cast<UpDownWidget*>(control.widget());
  if (!widget) return;
  Control* c = &control;
  QObject::connect(widget->up, &QToolButton::clicked, widget, [c] { NotifyDelta(*c, -1); });
  QObject::connect(widget->down, &QToolButton::clicked, widget, [c] { NotifyDelta(*c, 1); });
}

void UpDownUserClick(Control& control, bool up) {
  auto* widget = dynamic_cast<UpDownWidget*>(control.widget());
  if (widget) (up ? widget->up : widget->down)->click();
}

}  // namespace platform
