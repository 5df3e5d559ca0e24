// The command families of the script language enter their handlers into the executor's table.
#pragma once

#include <cstdint>
#include <span>

#include "game/script/script_executor.h"

struct ScriptCommand {
  int32_t token;
  ScriptHandler handler;
};

void RegisterCommandTable(std::span<const ScriptCommand> commands);

// A command without effect: its keyword is passed over.
ScriptFlow RunWithoutEffect();

// Every family's commands; the game calls it before its script engine starts.
void RegisterScriptCommands();
