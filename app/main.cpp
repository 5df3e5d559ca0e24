// Until the game's start-up exists, the program is the framework's empty application: one window
// that closes with its close button.
#include "platform/gui_app.h"
#include "sdk/framework/win_main_args.h"
#include "sdk/framework/window_application.h"

int main() {
  platform::EnsureGuiApp();
  SetWinMainArgs(nullptr, nullptr, nullptr, 1);
  CWindowApplication app;
  return app.Run();
}
