#include "game/game_menu_refresh.h"

// The game window has no menu bar yet, so there is nothing to bring up to date.
void RefreshGameMenu() {}
