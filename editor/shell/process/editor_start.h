// What the program does once at start, on the game's route and the editor's alike, so that either
// can open the editor: the editor's resources (menus 102 and 113, the application icon, dialog
// 175), the menus drawn as window menu bars, and the editor's process factory behind the game's.
#pragma once

void PrepareEditor();
