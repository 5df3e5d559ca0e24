#include "sdk/framework/process_window_finder.h"

#include "platform/instance_channel.h"
#include "sdk/framework/single_instance_checker.h"

int CProcessWindowFinder::Find(const char* exePath) {
  if (exePath == nullptr) return 1;
  return platform::RequestRaise(CSingleInstanceChecker::MutexNameOf(exePath)) ? 0 : 1;
}
