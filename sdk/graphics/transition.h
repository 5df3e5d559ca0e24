// The catalogue of transition effects: 83 free functions of one signature, so that an application
// picks an effect by number. An effect draws the incoming picture (source) over whatever the
// destination holds, as it looks at one moment of the transition: phase 0 or less draws nothing,
// 256 or more the whole source plainly, anything between the effect's own pieces. The mode says how
// each piece is drawn: 0 opaque copy, 1 colour-keyed copy, 2 alpha blend weighted by alpha,
// 3 natural (per-pixel alpha when the source has it, else colour-keyed). Effects keep no state; a
// caller redraws the outgoing picture and raises the phase frame by frame.
#pragma once

#include <array>
#include <cstdint>

#include "sdk/graphics/draw_target.h"

using TransitionBltFunc = int (*)(CDrawTarget* dest, CDrawTarget* source, int x, int y, int phase, int mode, int alpha,
                                  RECT* clip);

constexpr int kTransitionCount = 83;

// Index -> effect, in the catalogue's order; entries 0 and 1 hold the same effect.
extern const std::array<TransitionBltFunc, kTransitionCount> TransitionBltTable;

// The entry for an index, or null outside 0..82.
TransitionBltFunc TransitionBltLookup(int index);

// The effects, by their catalogue index.
#define VREL_TRANSITION(name) \
  int name(CDrawTarget* dest, CDrawTarget* source, int x, int y, int phase, int mode, int alpha, RECT* clip)
VREL_TRANSITION(TransMirrorX);            // 0, 1
VREL_TRANSITION(TransMirrorY);            // 2
VREL_TRANSITION(TransBulgeRows);          // 3
VREL_TRANSITION(TransBulgeColumns);       // 4
VREL_TRANSITION(TransJitterRows);         // 5
VREL_TRANSITION(TransNoiseCells);         // 6
VREL_TRANSITION(TransRandomCells);        // 7
VREL_TRANSITION(TransDissolveDown);       // 8
VREL_TRANSITION(TransDissolveUp);         // 9
VREL_TRANSITION(TransDissolveRight);      // 10
VREL_TRANSITION(TransDissolveLeft);       // 11
VREL_TRANSITION(TransSquareCentre);       // 12
VREL_TRANSITION(TransSquareTopLeft);      // 13
VREL_TRANSITION(TransSquareTopRight);     // 14
VREL_TRANSITION(TransSquareBottomLeft);   // 15
VREL_TRANSITION(TransSquareBottomRight);  // 16
VREL_TRANSITION(TransInterlaceRows);      // 17
VREL_TRANSITION(TransInterlaceColumns);   // 18
VREL_TRANSITION(TransInterlaceRows4);     // 19
VREL_TRANSITION(TransInterlaceColumns4);  // 20
VREL_TRANSITION(TransDissolveCircle);     // 21
VREL_TRANSITION(TransTearDown);           // 22
VREL_TRANSITION(TransTearUp);             // 23
VREL_TRANSITION(TransWave);               // 24
VREL_TRANSITION(TransWaveInverse);        // 25
VREL_TRANSITION(TransRipple);             // 26
VREL_TRANSITION(TransRippleInverse);      // 27
VREL_TRANSITION(TransCircleTop);          // 28
VREL_TRANSITION(TransCircleBottom);       // 29
VREL_TRANSITION(TransCircleLeft);         // 30
VREL_TRANSITION(TransCircleRight);        // 31
VREL_TRANSITION(TransCircleCentre);       // 32
VREL_TRANSITION(TransGrowCells4);         // 33
VREL_TRANSITION(TransGrowCells8);         // 34
VREL_TRANSITION(TransGrowCells16);        // 35
VREL_TRANSITION(TransBlindsX8);           // 36
VREL_TRANSITION(TransBlindsX8Reverse);    // 37
VREL_TRANSITION(TransBlindsX16);          // 38
VREL_TRANSITION(TransBlindsX16Reverse);   // 39
VREL_TRANSITION(TransBlindsY8);           // 40
VREL_TRANSITION(TransBlindsY8Reverse);    // 41
VREL_TRANSITION(TransBlindsY16);          // 42
VREL_TRANSITION(TransBlindsY16Reverse);   // 43
VREL_TRANSITION(TransSlant8);             // 44
VREL_TRANSITION(TransSlant16);            // 45
VREL_TRANSITION(TransDitherSpiral1);      // 46
VREL_TRANSITION(TransDitherCentre1);      // 47
VREL_TRANSITION(TransDitherSpiral2);      // 48
VREL_TRANSITION(TransDitherCentre2);      // 49
VREL_TRANSITION(TransDitherSpiral4);      // 50
VREL_TRANSITION(TransDitherCentre4);      // 51
VREL_TRANSITION(TransDitherSpiral8);      // 52
VREL_TRANSITION(TransDitherCentre8);      // 53
VREL_TRANSITION(TransCrossFade);          // 54
VREL_TRANSITION(TransScatter);            // 55
VREL_TRANSITION(TransExplode);            // 56
VREL_TRANSITION(TransExplodeFine);        // 57
VREL_TRANSITION(TransExplodeSwing);       // 58
VREL_TRANSITION(TransRadialSwing);        // 59
VREL_TRANSITION(TransRadialZoom);         // 60
VREL_TRANSITION(TransRotate2);            // 61
VREL_TRANSITION(TransRotate4);            // 62
VREL_TRANSITION(TransRotate8);            // 63
VREL_TRANSITION(TransRotateScatter);      // 64
VREL_TRANSITION(TransBlockDrop8);         // 65
VREL_TRANSITION(TransBlockDrop16);        // 66
VREL_TRANSITION(TransSettle);             // 67
VREL_TRANSITION(TransSettleFall);         // 68
VREL_TRANSITION(TransMosaic);             // 69
VREL_TRANSITION(TransInvert);             // 70
VREL_TRANSITION(TransBandsRight16);       // 71
VREL_TRANSITION(TransBandsLeft16);        // 72
VREL_TRANSITION(TransBandsRight8);        // 73
VREL_TRANSITION(TransBandsLeft8);         // 74
VREL_TRANSITION(TransBandsDown16);        // 75
VREL_TRANSITION(TransBandsUp16);          // 76
VREL_TRANSITION(TransBandsDown8);         // 77
VREL_TRANSITION(TransBandsUp8);           // 78
VREL_TRANSITION(TransSmearLeft);          // 79
VREL_TRANSITION(TransSmearRight);         // 80
VREL_TRANSITION(TransSmearUp);            // 81
VREL_TRANSITION(TransSmearDown);          // 82
#undef VREL_TRANSITION

// The routines behind the band and smear entries; they take the source first. fromStart set: the
// bands start at the left (X) or top (Y) edge, clear: at the right or bottom. fromEnd set: the
// smear wipe starts at the right (X) or bottom (Y) edge, clear: at the left or top.
int TransBandWipeX(CDrawTarget* source, CDrawTarget* dest, int x, int y, int phase, uint8_t fromStart, int mode,
                   int alpha, int bandSize, RECT* clip);
int TransBandWipeY(CDrawTarget* source, CDrawTarget* dest, int x, int y, int phase, uint8_t fromStart, int mode,
                   int alpha, int bandSize, RECT* clip);
int TransSmearWipeX(CDrawTarget* source, CDrawTarget* dest, int x, int y, int phase, uint8_t fromEnd, int mode,
                    int alpha, RECT* clip);
int TransSmearWipeY(CDrawTarget* source, CDrawTarget* dest, int x, int y, int phase, uint8_t fromEnd, int mode,
                    int alpha, RECT* clip);
