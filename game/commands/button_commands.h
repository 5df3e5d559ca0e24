// SETBUTTON, GETBUTTON, GETBUTTON2 and CLEARBUTTON.
#pragma once

void RegisterButtonCommands();
