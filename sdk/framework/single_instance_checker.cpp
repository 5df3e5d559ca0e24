#include "sdk/framework/single_instance_checker.h"

#include <mutex>

#include "platform/instance_channel.h"
#include "platform/path.h"
#include "sdk/framework/process_window_finder.h"

namespace {

struct RaiseHandler {
  std::mutex mutex;
  std::function<bool()> handler;
};

RaiseHandler& CurrentHandler() {
  static RaiseHandler h;
  return h;
}

bool Raise() {
  std::function<bool()> handler;
  {
    std::lock_guard lock(CurrentHandler().mutex);
    handler = CurrentHandler().handler;
  }
  return handler && handler();
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
