// Truevision TGA files into a CDibImage: colour-mapped, true-colour and grey pictures, raw or
// run-length packed.
#pragma once

#include <cstdint>
#include <string>

class CDibImage;

// 1 when the image was decoded, 0 otherwise. The two trailing arguments are not used.
uint8_t LoadTgaToDib(const std::string& path, CDibImage* image, int = 0, int = 0);
