// Locking a plane's surface whole, shared by the plane's pixel reads and its blits.
#pragma once

#include "platform/direct_draw.h"

// Locks the whole surface, asking again while it reports that it is still being drawn; a
// surface that never finishes is given up on after a bounded number of tries.
HRESULT LockWholeSurface(platform::DirectDrawSurface* surface, platform::DDSURFACEDESC* desc);

// The bits of a pixel that carry colour: the three masks, or the whole byte at 8 bits.
uint32_t ColourBits(const platform::DDPIXELFORMAT& format);
