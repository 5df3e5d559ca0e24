#include "sdk/framework/single_instance_checker.h"

#include <chrono>
#include <future>
#include <mutex>

#include "platform/foreground_window.h"
#include "platform/gui_call.h"
#include "platform/instance_channel.h"
#include "platform/path.h"
#include "platform/window.h"
#include "sdk/framework/process_window_finder.h"
#include "sdk/framework/window_application.h"

namespace {

struct RaiseHandler {
  std::mutex mutex;
  std::function<bool()> handler;
};

RaiseHandler& CurrentHandler() {
  static RaiseHandler h;
  return h;
}

// How long a request waits for the GUI thread, which takes in its events every frame.
constexpr std::chrono::seconds kGuiAnswerTime{2};

// Without a handler: the main application's window comes out of the minimised state and to the
// front. The windows belong to the GUI thread, so the work is handed to it and this thread waits
// for the answer.
bool RaiseMainWindow() {
  auto answer = std::make_shared<std::promise<bool>>();
  std::future<bool> raised = answer->get_future();
  const bool queued = platform::CallOnGuiThread([answer] {
    CWindowApplication* app = CWindowApplication::GetMainApp();
    HWND hwnd = app ? app->GetWindow().GetHandle() : nullptr;
    const bool live = platform::IsWindow(hwnd) != 0;
    if (live) {
      platform::ShowWindow(hwnd, SW_SHOWNORMAL);
      platform::SetForegroundWindow(hwnd);
    }
    answer->set_value(live);
  });
  return queued && raised.wait_for(kGuiAnswerTime) == std::future_status::ready && raised.get();
}

bool Raise() {
  std::function<bool()> handler;
  {
    std::lock_guard lock(CurrentHandler().mutex);
    handler = CurrentHandler().handler;
  }
  return handler ? handler() : RaiseMainWindow();
}

}  // namespace

void SetInstanceRaiseHandler(std::function<bool()> handler) {
  std::lock_guard lock(CurrentHandler().mutex);
  CurrentHandler().handler = std::move(handler);
}

CSingleInstanceChecker::CSingleInstanceChecker() { Check(platform::ModuleFileName()); }

CSingleInstanceChecker::CSingleInstanceChecker(std::string_view exePath) { Check(exePath); }

CSingleInstanceChecker::~CSingleInstanceChecker() {
  // Stop answering before the mutex goes, so that no later copy is told to wait for this one.
  m_channel.reset();
}

std::string CSingleInstanceChecker::MutexNameOf(std::string_view exePath) {
  std::string name(exePath);
  for (char& c : name) {
    if (c == '\\') c = '+';
  }
  return name;
}

void CSingleInstanceChecker::Check(std::string_view exePath) {
  const std::string path(exePath);
  const std::string name = MutexNameOf(path);
  if (Open(name) == 1) {
    CProcessWindowFinder().Find(path.c_str());
    m_valid = false;
    return;
  }
  m_valid = true;
  m_channel = std::make_unique<platform::InstanceChannel>();
  m_channel->Listen(name, Raise);
}
