// The game's application: its main window is the game window, and its main routine runs the game.
#pragma once

#include "sdk/framework/window_application.h"

class CScriptAppShell : public CWindowApplication {
 public:
  // The whole game: builds the game object and runs its loop.
  int AppMain() override;
  // Caption from the configuration, class "SCRIPT APPLICATION", the configured client size, fixed
  // size with the minimise and close buttons.
  int PrepareWindowOption(CWindowOption& option) override;
};
