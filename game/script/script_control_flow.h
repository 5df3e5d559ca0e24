// The control statements of the script language and the label pre-pass.
#pragma once

#include "game/script/script_executor.h"
#include "game/script/script_symbol_table.h"

ScriptFlow RunAssignment();
ScriptFlow RunIf();
ScriptFlow RunGoto();
ScriptFlow RunGosub();
ScriptFlow RunReturn();
ScriptFlow RunLabel();
ScriptFlow RunMacroDefinition();
ScriptFlow RunMacroCall();
ScriptFlow RunEndMacro();
ScriptFlow RunFor();
ScriptFlow RunNext();
ScriptFlow RunEnd();
ScriptFlow RunQuit();

// Enters every label and macro entry point from the current token to the end of the text, with the
// mode of the symbol table (add when a script is loaded, find or add after a save is loaded).
void ScanLabels(SymbolMode mode);
