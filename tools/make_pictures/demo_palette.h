// The demo game's flat colours and the places where they stand unmixed, shared by the picture
// generator and the tests that look at the running demo. Colours are 0xAARRGGBB.
#pragma once

#include <cstdint>

namespace demo_palette {

// The plain face of a title-screen button (its normal picture), outside its caption: from the
// button's left edge kButtonPlainX pixels in, at any height between kButtonPlainTop and
// kButtonPlainBottom.
inline constexpr uint32_t kTitleButton = 0xFF22335Au;
inline constexpr uint32_t kTitleButtonLit = 0xFFF0C060u;
inline constexpr int kButtonWidth = 240;
inline constexpr int kButtonHeight = 44;
inline constexpr int kButtonPlainX = 24;
inline constexpr int kButtonPlainTop = 10;
inline constexpr int kButtonPlainBottom = 34;
// Where the title screen places its buttons: the first at (kTitleButtonX, kTitleButtonY), each next
// one kTitleButtonStep lower.
inline constexpr int kTitleButtonX = 520;
inline constexpr int kTitleButtonY = 300;
inline constexpr int kTitleButtonStep = 56;

// The message window picture: a translucent panel with a solid rim kWindowRim pixels wide.
inline constexpr uint32_t kWindowFill = 0xBF0D1433u;
inline constexpr uint32_t kWindowRimColour = 0xFF6A7399u;
inline constexpr int kWindowRim = 3;
inline constexpr int kWindowWidth = 800;
inline constexpr int kWindowHeight = 170;

// The night room's floor, flat from kRoomFloorTop to the bottom of the picture.
inline constexpr uint32_t kRoomFloor = 0xFF4A3428u;
inline constexpr int kRoomFloorTop = 430;

// The gallery: each thumbnail has a frame kThumbFrame pixels wide; the picture of a scene not yet
// seen is one flat colour with a mark in its middle (kEmptyMark pixels from the centre each way).
inline constexpr uint32_t kThumbFrameColour = 0xFFE8D8A8u;
inline constexpr int kThumbFrame = 3;
inline constexpr int kThumbWidth = 120;
inline constexpr int kThumbHeight = 90;
inline constexpr uint32_t kEmptyThumb = 0xFF3C3C46u;
inline constexpr int kEmptyMark = 16;

}  // namespace demo_palette
