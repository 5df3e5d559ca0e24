#include "game/game_menu_refresh.h"

#include "game/script_app.h"

void RefreshGameMenu() {
  if (RunningScriptApp) RunningScriptApp->Hook().UpdateMenu();
}
