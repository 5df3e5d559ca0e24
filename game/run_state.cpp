#include "game/run_state.h"

#include "game/screen_fade.h"

bool QuitRequest = false;
bool NoPresent = false;
bool WindowHidden = false;
bool BacklogOpen = false;

void ResetRunState(bool second) {
  QuitRequest = false;
  NoPresent = false;
  WindowHidden = false;
  BacklogOpen = false;
  if (second) Fades = {};
}
