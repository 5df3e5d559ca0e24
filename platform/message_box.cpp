#include "platform/message_box.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>
#include <mutex>
#include <vector>

#include "platform/gui_app.h"
#include "platform/ready_pipe.h"
#include "platform/sjis_literal.h"
#include "platform/window_qt.h"

namespace platform {
namespace {

std::mutex hookMutex;
MessageBoxHook& Hook() {
  static MessageBoxHook hook;
  return hook;
}

struct Button {
  QMessageBox::StandardButton qt;
  int id;
  const char* label;  // Shift-JIS, as the system's own boxes read
};

// The buttons of a box in the order the system lists them (the desktop lays them out in its own
// order); the first answers an unanswered box.
std::vector<Button> ButtonsOf(UINT flags) {
  const Button ok{QMessageBox::Ok, IDOK, "OK"};
  const Button cancel{QMessageBox::Cancel, IDCANCEL, "キャンセル"_sj};
  const Button yes{QMessageBox::Yes, IDYES, "はい(&Y)"_sj};
  const Button no{QMessageBox::No, IDNO, "いいえ(&N)"_sj};
  const Button abort{QMessageBox::Abort, IDABORT, "中止(&A)"_sj};
  const Button retry{QMessageBox::Retry, IDRETRY, "再試行(&R)"_sj};
  const Button ignore{QMessageBox::Ignore, IDIGNORE, "無視(&I)"_sj};
  switch (flags & 0x0F) {
    case MB_OKCANCEL: return {ok, cancel};
    case MB_ABORTRETRYIGNORE: return {abort, retry, ignore};
    case MB_YESNOCANCEL: return {yes, no, cancel};
    case MB_YESNO: return {yes, no};
    case MB_RETRYCANCEL: return {retry, cancel};
    default: return {ok};
  }
}

int DefaultHook(const MessageBoxRequest& r) {
  if (HasScreen()) return ShowMessageDialog(r);
  std::fprintf(stderr, "[%s] %s\n", SjisToQString(r.caption).toLocal8Bit().constData(), SjisToQString(r.text).toLocal8Bit().constData());
  return ButtonsOf(r.flags).front().id;
}

}  // namespace

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook) {
  std::lock_guard lock(hookMutex);
  MessageBoxHook old = std::move(Hook());
  Hook() = std::move(hook);
  return old;
}

int MessageBox(HWND owner, std::string_view text, std::string_view caption, UINT flags) {
  // The box is modal to the whole program: what the windows held goes to it, and they never see
  // its release.
  if (IsGuiThread()) SendToEveryWindow(WM_CANCELMODE, 0, 0);
  MessageBoxRequest request{owner, std::string(text), std::string(caption), flags};
  MessageBoxHook hook;
  {
    std::lock_guard lock(hookMutex);
    hook = Hook();
  }
  return hook ? hook(request) : DefaultHook(request);
}

int ShowMessageDialog(const MessageBoxRequest& r) {
  QMessageBox box;
  box.setWindowTitle(SjisToQString(r.caption));
  box.setText(SjisToQString(r.text));
  switch (r.flags & 0xF0) {
    case MB_ICONHAND: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONASTERISK: box.setIcon(QMessageBox::Information); break;
    default: break;
  }
  const std::vector<Button> buttons = ButtonsOf(r.flags);
  QMessageBox::StandardButtons set;
  for (const Button& b : buttons) set |= b.qt;
  box.setStandardButtons(set);
  // The toolkit's own texts are English unless a translation is loaded; the program's words are
  // its own.
  for (const Button& b : buttons) box.button(b.qt)->setText(SjisToQString(b.label));
  const size_t def = (r.flags & MB_DEFBUTTON2) && buttons.size() > 1 ? 1 : 0;
  box.setDefaultButton(buttons[def].qt);
  // A box that waits for its answer waits for input: whoever waits for this process to be ready
  // must not sit out its limit behind it.
  MarkInputIdle();
  const int answer = box.exec();
  for (const Button& b : buttons) {
    if (b.qt == answer) return b.id;
  }
  // Closing the box without a button counts as its cancel (or its only) button.
  for (const Button& b : buttons) {
    if (b.id == IDCANCEL) return IDCANCEL;
  }
  return buttons.back().id;
}

}  // namespace platform
