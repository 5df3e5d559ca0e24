// What the fuzz targets share: a private temporary folder that is the file layer's current
// directory for the life of the process, and an answer to every message box, so that no input
// can block a run or write outside the folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "scoped_temp_dir.h"

namespace fuzz {

// Sets up on first use: the folder is made, becomes the current directory of the file layer, and
// is removed with everything in it when the process ends; message boxes answer with their first
// button. Every target calls it before it touches a file or a box.
const ScopedTempDir& Environment();

// Writes the bytes as a file of the folder (name relative to it, "/" between levels).
void WriteFile(std::string_view name, std::span<const uint8_t> bytes);

// The bytes of a target's input as a view of text: data may hold zeros anywhere.
inline std::string_view Text(const uint8_t* data, size_t size) { return {reinterpret_cast<const char*>(data), size}; }

}  // namespace fuzz
