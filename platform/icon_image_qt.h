// Inside the layer only: icons made from pictures the toolkit drew or read.
#pragma once

#include <QImage>
#include <string_view>

#include "platform/window.h"

namespace platform {

// Registers the picture as the icon resource of that name (a name no resource of the program
// takes) and gives its handle; null for a null picture.
HICON RegisterIconImage(std::string_view name, const QImage& picture);

}  // namespace platform
