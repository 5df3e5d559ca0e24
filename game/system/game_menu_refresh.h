// Brings the game window's menu up to date with the settings and the save slots: check marks,
// slot captions, grey items. Called wherever a setting or a slot changes outside the menu.
#pragma once

void RefreshGameMenu();
