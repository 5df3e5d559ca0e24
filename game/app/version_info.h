// The text of the game menu's version box: the product, its version, and the libraries this build
// is made with, each with the credit its licence asks for.
#pragma once

#include <string>
#include <string_view>

// Shift-JIS, lines separated by "\n".
std::string VersionInfoText(std::string_view title);
