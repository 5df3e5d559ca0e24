// Starting and ending the interpreter: the keyword table, the read table, loading the scenario, and
// the two operations that tie the interpreter to save files.
#pragma once

#include <string>
#include <string_view>

// Prepares the interpreter's state, enters the keywords and loads the read table from its file.
void InitScriptEngine();
// The same without the read table's file: the state of a freshly started engine.
void ResetScriptEngine();

// Reads the scenario script (a plain file or an archive entry), enters its labels and puts the read
// position at its start; a snapshot exists from then on. The first argument is not used. A script
// that cannot be read is reported and leaves an empty script, which stops at its first step.
// Returns whether the script was read.
bool LoadScript(const void* unused, const std::string& name);
// The same for a script already in memory.
void LoadScriptText(std::string_view name, std::string_view text);

// At exit: releases the script and writes the read table back to its file.
void SaveReadFlags();

// Records the current line and copies the engine state into the snapshot that a save writes.
void TakeSaveSnapshot();

// After a save has been read into the engine state: makes its texts and links safe, refreshes the
// labels from the current token on, and resumes at the saved line.
void RestoreScriptLine();
