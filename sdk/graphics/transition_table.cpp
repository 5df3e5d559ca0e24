#include "sdk/graphics/transition.h"

const std::array<TransitionBltFunc, kTransitionCount> TransitionBltTable = {
    TransMirrorX,            // 0
    TransMirrorX,            // 1
    TransMirrorY,            // 2
    TransBulgeRows,          // 3
    TransBulgeColumns,       // 4
    TransJitterRows,         // 5
    TransNoiseCells,         // 6
    TransRandomCells,        // 7
    TransDissolveDown,       // 8
    TransDissolveUp,         // 9
    TransDissolveRight,      // 10
    TransDissolveLeft,       // 11
    TransSquareCentre,       // 12
    TransSquareTopLeft,      // 13
    TransSquareTopRight,     // 14
    TransSquareBottomLeft,   // 15
    TransSquareBottomRight,  // 16
    TransInterlaceRows,      // 17
    TransInterlaceColumns,   // 18
    TransInterlaceRows4,     // 19
    TransInterlaceColumns4,  // 20
    TransDissolveCircle,     // 21
    TransTearDown,           // 22
    TransTearUp,             // 23
    TransWave,               // 24
    TransWaveInverse,        // 25
    TransRipple,             // 26
    TransRippleInverse,      // 27
    TransCircleTop,          // 28
    TransCircleBottom,       // 29
    TransCircleLeft,         // 30
    TransCircleRight,        // 31
    TransCircleCentre,       // 32
    TransGrowCells4,         // 33
    TransGrowCells8,         // 34
    TransGrowCells16,        // 35
    TransBlindsX8,           // 36
    TransBlindsX8Reverse,    // 37
    TransBlindsX16,          // 38
    TransBlindsX16Reverse,   // 39
    TransBlindsY8,           // 40
    TransBlindsY8Reverse,    // 41
    TransBlindsY16,          // 42
    TransBlindsY16Reverse,   // 43
    TransSlant8,             // 44
    TransSlant16,            // 45
    TransDitherSpiral1,      // 46
    TransDitherCentre1,      // 47
    TransDitherSpiral2,      // 48
    TransDitherCentre2,      // 49
    TransDitherSpiral4,      // 50
    TransDitherCentre4,      // 51
    TransDitherSpiral8,      // 52
    TransDitherCentre8,      // 53
    TransCrossFade,          // 54
    TransScatter,            // 55
    TransExplode,            // 56
    TransExplodeFine,        // 57
    TransExplodeSwing,       // 58
    TransRadialSwing,        // 59
    TransRadialZoom,         // 60
    TransRotate2,            // 61
    TransRotate4,            // 62
    TransRotate8,            // 63
    TransRotateScatter,      // 64
    TransBlockDrop8,         // 65
    TransBlockDrop16,        // 66
    TransSettle,             // 67
    TransSettleFall,         // 68
    TransMosaic,             // 69
    TransInvert,             // 70
    TransBandsRight16,       // 71
    TransBandsLeft16,        // 72
    TransBandsRight8,        // 73
    TransBandsLeft8,         // 74
    TransBandsDown16,        // 75
    TransBandsUp16,          // 76
    TransBandsDown8,         // 77
    TransBandsUp8,           // 78
    TransSmearLeft,          // 79
    TransSmearRight,         // 80
    TransSmearUp,            // 81
    TransSmearDown,          // 82
};

TransitionBltFunc TransitionBltLookup(int index) {
  if (index < 0 || index >= kTransitionCount) return nullptr;
  return TransitionBltTable[static_cast<size_t>(index)];
}
