#include "platform/message_box.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

#include <cstdio>
#include <mutex>

#include "platform/gui_app.h"
#include "platform/sjis.h"
#include "platform/window_qt.h"

namespace platform {
namespace {

std::mutex hookMutex;
MessageBoxHook& Hook() {
  static MessageBoxHook hook;
  return hook;
}

int FirstButton(UINT flags) {
  switch (flags & 0x0F) {
    case MB_OKCANCEL: return IDOK;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    case MB_YESNOCANCEL:
    case MB_YESNO: return IDYES;
    case MB_RETRYCANCEL: return IDRETRY;
    default: return IDOK;
  }
}

bool HasScreen() {
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  return app && QGuiApplication::platformName() != "offscreen" && QGuiApplication::platformName() != "minimal";
}

int ShowDialog(const MessageBoxRequest& r) {
  QString text = QString::fromStdString(SjisToUtf8(r.text));
  QString caption = QString::fromStdString(SjisToUtf8(r.caption));
  if (!HasScreen()) {
    std::fprintf(stderr, "[%s] %s\n", caption.toLocal8Bit().constData(), text.toLocal8Bit().constData());
    return FirstButton(r.flags);
  }
  QMessageBox box;
  box.setWindowTitle(caption);
  box.setText(text);
  switch (r.flags & 0xF0) {
    case MB_ICONHAND: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONASTERISK: box.setIcon(QMessageBox::Information); break;
    default: break;
  }
  struct Button {
    QMessageBox::StandardButton qt;
    int id;
  };
  std::vector<Button> buttons;
  switch (r.flags & 0x0F) {
    case MB_OKCANCEL: buttons = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}}; break;
    case MB_ABORTRETRYIGNORE:
      buttons = {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
      break;
    case MB_YESNOCANCEL:
      buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
      break;
    case MB_YESNO: buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}}; break;
    case MB_RETRYCANCEL: buttons = {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}}; break;
    default: buttons = {{QMessageBox::Ok, IDOK}}; break;
  }
  QMessageBox::StandardButtons set;
  for (auto& b : buttons) set |= b.qt;
  box.setStandardButtons(set);
  size_t def = (r.flags & MB_DEFBUTTON2) && buttons.size() > 1 ? 1 : 0;
  box.setDefaultButton(buttons[def].qt);
  int answer = box.exec();
  for (auto& b : buttons) {
    if (b.qt == answer) return b.id;
  }
  // Closing the box without a button counts as its cancel (or its only) button.
  for (auto& b : buttons) {
    if (b.id == IDCANCEL) return IDCANCEL;
  }
  return buttons.back().id;
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
  return hook ? hook(request) : ShowDialog(request);
}

}  // namespace platform
