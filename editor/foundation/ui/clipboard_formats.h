// The editor's own clipboard formats, shared by the panes' clipboard, drag and drop and the
// document's paste check: the private block that carries text byte for byte (NUL bytes included)
// and the marker that says the text was copied as a box, one row per line.
//
// Any program can offer the private type, so a block is believed only as far as it goes: one
// whose length runs past its data is refused, and nothing is ever read beyond it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/win_types.h"

inline constexpr std::string_view kPrivateClipFormatName = "TOVARAClip";
inline constexpr std::string_view kBoxClipFormatName = "MSDEVColumnSelect";

// The registered numbers of the two names (platform/clipboard.h); the same in every process.
UINT PrivateClipFormat();
UINT BoxClipFormat();

// The private block of a text: its length as 4 bytes little-endian, then the bytes.
std::string MakePrivateClipBlock(std::string_view text);
// The text a private block holds; nothing when the block is shorter than its length field or the
// length exceeds the bytes after it. Bytes beyond the length are not part of the text.
std::optional<std::string_view> ReadPrivateClipBlock(std::string_view block);
