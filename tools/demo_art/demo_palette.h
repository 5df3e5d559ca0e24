// The demo game's flat colours and the places where they stand unmixed, shared by the picture
// generators and the tests that look at the running demo. Colours are 0xAARRGGBB.
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
// one kTitleButtonStep lower. They end above the row of the settings screen's buttons (y 530): a
// screen button acts on the press, and the release that follows must not land on a title button.
inline constexpr int kTitleButtonX = 520;
inline constexpr int kTitleButtonY = 250;
inline constexpr int kTitleButtonStep = 56;

// The message window's translucent face (make_system_pictures draws the window), as components
// in 0..1 with its alpha.
struct Shade {
  double r, g, b, a;
};
inline constexpr Shade kWindowShade{0.05, 0.08, 0.2, 0.75};

// The night room's floor, flat from kRoomFloorTop to the bottom of the picture.
inline constexpr uint32_t kRoomFloor = 0xFF4A3428u;
inline constexpr int kRoomFloorTop = 430;

// The gallery's thumbnails have a frame kThumbFrame pixels wide.
inline constexpr uint32_t kThumbFrameColour = 0xFFE8D8A8u;
inline constexpr int kThumbFrame = 3;
inline constexpr int kThumbWidth = 120;
inline constexpr int kThumbHeight = 90;

}  // namespace demo_palette
