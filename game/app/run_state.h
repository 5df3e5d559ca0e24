// The game's run-state flags that the main loop owns.
#pragma once

// Set by the script's QUIT and by the system interface: the main loop ends after this frame.
extern bool QuitRequest;
// Set while the wallpaper command or the save writer renders a picture without the interface:
// that frame is not shown.
extern bool NoPresent;
// The player hid the message window with the right button.
extern bool WindowHidden;
// The backlog is open: the message and name boxes are not drawn, and the script does not step.
extern bool BacklogOpen;
// The system interface's screens; while any is open the script does not step.
extern bool SaveScreenOpen;
extern bool LoadScreenOpen;
// The script opened the load screen: the save tab is not offered.
extern bool LoadScreenByScript;
extern bool SettingsScreenOpen;

// The start values of every run-state flag of the engine, as the game has them before its first
// frame. second: the second reset of start-up, which also clears the fades.
void ResetRunState(bool second);
