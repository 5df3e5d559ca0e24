// The script commands of the system interface: FLOAD and QUICKLOAD; SIDEBARON and SIDEBAROFF, which
// do nothing; SETGLOBALFLAG and GETGLOBALFLAG, which are passed over whole.
#pragma once

#include <string_view>

// Where FLOAD and QUICKLOAD reach the system interface. Null members: the running game's; with no
// game running (a headless run of the interpreter) QUICKLOAD reads the save itself and FLOAD has no
// screen to open.
struct SystemCommandHooks {
  bool (*load)(std::string_view path) = nullptr;  // true when the save was restored
  void (*openLoadScreen)() = nullptr;
};
void SetSystemCommandHooks(const SystemCommandHooks& hooks);

void RegisterSystemCommands();
