// Save files: the engine state block written byte for byte, and read back only after it has been
// checked whole. A save file of this engine is exactly one block; players edit them, so nothing
// read from one is used before it has passed the checks.
#pragma once

#include <string>
#include <span>
#include <string_view>

#include "game/script/engine_state.h"

inline constexpr const char* kSaveFolder = "savedata";
inline constexpr const char* kQuickSavePath = "savedata\\quicksave.sav";

// "savedata\data%03d.sav" of a slot number (page x 6 + slot on the screens).
std::string SaveSlotPath(int slot);
// The thumbnail of a save: the path with every ".sav" replaced by ".bmp".
std::string SaveThumbnailPath(std::string_view savePath);

// True when the block is one a save of this engine can hold: every text ends inside its field,
// key counts, window state, symbol links and call depths are in range, no collision chain loops,
// the script line is at least 1 and every keyword is in the table with its token.
bool CheckSaveBlock(const EngineStateRecord& block);

// What odd scripts can leave in a real save is made harmless: layer, camera and quake values that
// are not finite become 0 and the fade levels are kept to 0..255. Variables are left as they are.
void MakeSaveBlockHarmless(EngineStateRecord& block);

// Writes the snapshot block to path, replacing the old file in one step after making the save
// folder. Nothing is written while no script is loaded (false). A failed write leaves the old file
// as it was, shows the error box and gives false.
bool WriteSaveBlock(std::string_view path);

// Reads a save into the engine: false when the file is missing; a file that cannot be read says
// so in a box with its name, one that has the wrong size or fails the checks shows the version
// box, and neither changes anything (false). Otherwise the presentation is reset, the block copied
// in and the script, pictures and music restored.
bool LoadSaveFile(std::string_view path);
// The same for a save's bytes already in memory (what the file held): the size and the checks,
// then the block copied in.
bool LoadSaveBlock(std::span<const unsigned char> bytes);

// The box of the save files: the text, the caption "情報" and an OK button.
void SaveInfoBox(std::string_view text);
