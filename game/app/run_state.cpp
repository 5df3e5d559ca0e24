#include "game/app/run_state.h"

#include "game/script/engine_state.h"
#include "game/text/message_window.h"
#include "game/stage/screen_fade.h"

bool QuitRequest = false;
bool NoPresent = false;
bool WindowHidden = false;
bool BacklogOpen = false;
bool SaveScreenOpen = false;
bool LoadScreenOpen = false;
bool LoadScreenByScript = false;
bool SettingsScreenOpen = false;

void ResetRunState(bool second) {
  QuitRequest = false;
  NoPresent = false;
  WindowHidden = false;
  BacklogOpen = false;
  SaveScreenOpen = false;
  LoadScreenOpen = false;
  LoadScreenByScript = false;
  SettingsScreenOpen = false;
  CurrentTextRead = true;
  SkipMode = false;
  ResetMessageWindowFlags();
  EngineState.presentation.message.autoPlayWait = 50;
  if (second) Fades() = {};
}
