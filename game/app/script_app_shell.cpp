#include "game/app/script_app_shell.h"

#include "game/app/config.h"
#include "game/app/script_app.h"
#include "game/app/screen_fit.h"
#include "sdk/framework/app_manager.h"

int CScriptAppShell::AppMain() {
  CScriptApp app(CAppManager::GetCurrentApp());
  app.MainLoop();
  return 0;
}

int CScriptAppShell::PrepareWindowOption(CWindowOption& option) {
  FitConfiguredScreenToDesktop();
  option.caption = Config.title;
  option.className = "SCRIPT APPLICATION";
  option.width = Config.screenWidth;
  option.height = Config.screenHeight;
  option.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  return 0;
}
