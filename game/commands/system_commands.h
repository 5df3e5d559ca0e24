// The script commands of the system interface: FLOAD and QUICKLOAD; SIDEBARON and SIDEBAROFF, which
// do nothing; SETGLOBALFLAG and GETGLOBALFLAG, which are passed over whole.
#pragma once

// They reach the running game's system interface. With no game object running (a headless run of
// the interpreter) QUICKLOAD reads the save itself and FLOAD has no screen to open.

void RegisterSystemCommands();
