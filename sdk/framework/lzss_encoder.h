// The packing side of the LZSS format that CLzssDecoder reads.
#pragma once

#include <span>
#include <vector>

// Packs data; CLzssDecoder with the data's size gives it back.
std::vector<unsigned char> LzssEncode(std::span<const unsigned char> data);
