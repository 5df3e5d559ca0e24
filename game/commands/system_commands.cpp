#include "game/commands/system_commands.h"

#include <array>
#include <string_view>

#include "game/system/save_file.h"
#include "game/app/script_app.h"
#include "game/script/script_commands.h"
#include "game/script/script_executor.h"
#include "game/script/script_lexer.h"
#include "game/script/script_tokens.h"
#include "game/system/system_menu.h"

namespace {

CSystemMenu* RunningSystemMenu() { return RunningScriptApp ? RunningScriptApp->SystemMenu() : nullptr; }

bool Load(std::string_view path) {
  if (CSystemMenu* menu = RunningSystemMenu()) return menu->Load(path);
  return LoadSaveFile(path);
}

// FLOAD: the load screen, as the script opens it; the game steps the script no more while it is up.
ScriptFlow RunFload() {
  if (CSystemMenu* menu = RunningSystemMenu()) menu->OpenLoadScreenFromScript();
  GetToken();
  return ScriptFlow::kNext;
}

// QUICKLOAD: a load ends the frame's run, and the next frame goes on at the loaded position; a
// script that loads over and over thus costs one load a frame. When there is no quick save, or it
// is refused (the load shows its own box), the statement is passed over: trying again every frame
// would freeze the script or show the box for ever.
ScriptFlow RunQuickLoad() {
  if (Load(kQuickSavePath)) {
    CloseAllThenLevels();
    return ScriptFlow::kYield;
  }
  GetToken();
  return ScriptFlow::kNext;
}

// SETGLOBALFLAG and GETGLOBALFLAG have no operation: what follows them up to the end of the
// statement is theirs and is passed over, so it is not taken for statements of its own.
ScriptFlow RunWithoutOperation() {
  SkipToStatementEnd();
  return ScriptFlow::kNext;
}

constexpr std::array kSystemCommands = {
    ScriptCommand{kTokenFload, RunFload},
    ScriptCommand{kTokenQuickLoad, RunQuickLoad},
    ScriptCommand{kTokenSidebarOn, RunWithoutEffect},
    ScriptCommand{kTokenSidebarOff, RunWithoutEffect},
    ScriptCommand{kTokenSetGlobalFlag, RunWithoutOperation},
    ScriptCommand{kTokenGetGlobalFlag, RunWithoutOperation},
};

}  // namespace

void RegisterSystemCommands() { RegisterCommandTable(kSystemCommands); }
