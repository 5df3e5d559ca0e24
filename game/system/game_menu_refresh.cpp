#include "game/system/game_menu_refresh.h"

#include "game/app/script_app.h"

void RefreshGameMenu() {
  if (RunningScriptApp) RunningScriptApp->Hook().UpdateMenu();
}
