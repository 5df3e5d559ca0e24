#include "platform/beep.h"

#include <QApplication>
#include <mutex>
#include <utility>

#include "platform/gui_call.h"

namespace platform {
namespace {

std::mutex hookMutex;
BeepHook& Hook() {
  static BeepHook hook;
  return hook;
}

}  // namespace

BeepHook SetBeepHook(BeepHook hook) {
  std::lock_guard lock(hookMutex);
  return std::exchange(Hook(), std::move(hook));
}

BOOL MessageBeep(UINT type) {
  BeepHook hook;
  {
    std::lock_guard lock(hookMutex);
    hook = Hook();
  }
  if (hook) {
    hook(type);
  } else if (QCoreApplication::instance()) {
    CallOnGuiThread([] { QApplication::beep(); });
  }
  return 1;
}

}  // namespace platform
