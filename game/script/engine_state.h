// The engine state block: every engine variable that a save restores, in one contiguous record that
// a save file stores byte for byte. Only fixed-width fields, no implicit padding: the block means the
// same in every run and on every machine, and two runs of the same script give the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kEngineStateSize = 867560;
constexpr int kLayerCount = 64;
constexpr int kLayerKeyCount = 16;
constexpr int kSymbolCount = 10000;
constexpr int kSymbolNameBytes = 64;
constexpr int kVoicePrefixCount = 32;
constexpr int kMessageTextBytes = 256;
constexpr int kScriptNameBytes = 256;

// One motion key of a picture layer.
struct LayerKey {
  float time;
  float x;
  float y;
  float z;
};

// An opacity level and its change per frame.
struct LayerLevel {
  int32_t level;
  int32_t step;
};

// One picture layer as saved.
struct PictureLayer {
  uint8_t inUse;
  char fileName[259];
  int32_t mode;  // kept by the commands (reset to 2); the compositor does not read it
  float x;
  float y;
  float z;
  int32_t auxInt;    // reset to 0
  float auxFactor;   // reset to 1.0; the compositor does not read it
  int32_t keyCount;  // 0..16
  int32_t curveMode;
  uint8_t motionRunning;
  uint8_t pad293[3];
  float motionTime;
  float lastKeyTime;
  uint8_t motionLoops;
  uint8_t pad305[3];
  int32_t curveX;  // curve handles of the motion, -1 = none
  int32_t curveY;
  int32_t curveZ;
  int32_t unused320;  // set to -1 at initialisation
  int32_t unused324;
  LayerKey keys[kLayerKeyCount];
  LayerLevel levels[4];  // entry 0: opacity 0..255 and its step
  int32_t drawX;
  int32_t drawY;
  int32_t drawZ;
  int32_t effect;  // 0 plain, 1 wave, other: not drawn
};

// One music record: the newest piece's name and whether the channel still plays.
struct MusicRecord {
  char name[256];
  uint8_t active;
  uint8_t unused[2];
};

// One script symbol: a keyword, variable, array element, label or call frame.
struct ScriptSymbol {
  char name[kSymbolNameBytes];  // zero-terminated; empty = free entry
  double value;
  int32_t token;
  int32_t next;  // index of the next entry of the collision chain, -1 for none
};

// A black or white screen fade: level 0 (clear) to 255 (full colour) and its step per frame.
struct ScreenFade {
  int32_t level;
  int32_t step;
};

struct ScreenFades {
  ScreenFade black;
  ScreenFade white;
};

struct CameraState {
  int32_t x;
  int32_t y;
  int32_t z;
  int32_t setX;  // the last position set at once
  int32_t setY;
  int32_t setZ;
  int32_t curveX;  // curve handles, -1 = none
  int32_t curveY;
  int32_t curveZ;
  float time;
  float duration;
  int32_t curveMode;
  int32_t offsetX;  // camera and quake offsets of the frame
  int32_t offsetY;
  int32_t offsetZ;
  uint8_t moving;
  uint8_t pad[3];
};

struct QuakeState {
  float time;
  float duration;
  int32_t curveX;
  int32_t curveY;
  uint8_t running;
  uint8_t pad[3];
};

struct MessageWindowState {
  int32_t state;  // 0 closed, 1 open, 2 opening, 3 closing
  int32_t opacity;
  int32_t originX;
  int32_t originY;
};

// A speaker's voice series: an actor letter 'A'..'P' and the first number (A0100), and the counter.
struct VoicePrefix {
  char speaker[64];  // empty = free entry
  char series[64];
  int32_t counter;
};

struct MessageState {
  char speakerName[256];
  char singleVoice[256];  // the pending single voice, at most 255 bytes
  int32_t autoPlayWait;
  uint8_t namePresent;
  uint8_t prompt;
  uint8_t autoPlay;
  uint8_t movie;
  uint8_t singleVoicePending;
  uint8_t pad[3];
  VoicePrefix voicePrefixes[kVoicePrefixCount];
};

constexpr size_t kPresentationStateSize = 22008;
constexpr size_t kPresentationUsedSize = sizeof(ScreenFades) + sizeof(CameraState) + sizeof(QuakeState) +
                                         sizeof(MessageWindowState) + sizeof(MessageState) + 8;

// Presentation values: fades, camera, quake, message window and message, waits, screen effects.
// The tail is reserved so that fields can be added without moving any of the above.
struct PresentationState {
  ScreenFades fades;
  CameraState camera;
  QuakeState quake;
  MessageWindowState window;
  MessageState message;
  int32_t waitCount;  // frames left of the running WAIT
  uint8_t sunEffect;
  uint8_t filmEffect;
  uint8_t novelMode;
  uint8_t pad;
  uint8_t reserved[kPresentationStateSize - kPresentationUsedSize];
};

constexpr size_t kInterpreterStateSize = 4320;
constexpr size_t kInterpreterUsedSize = 16 + kScriptNameBytes;

// The interpreter's call depths, its run-through flag and the name its errors report.
struct InterpreterState {
  int32_t gosubDepth;
  int32_t forDepth;
  int32_t macroDepth;
  uint8_t runThrough;
  uint8_t pad[3];
  char scriptName[kScriptNameBytes];
  uint8_t reserved[kInterpreterStateSize - kInterpreterUsedSize];
};

struct EngineStateRecord {
  char messageText[kMessageTextBytes];  // the current message text; save slot captions show it
  PictureLayer layers[kLayerCount];
  MusicRecord music[2];
  uint8_t alignPresentation[2];
  PresentationState presentation;
  int32_t scriptLine;  // the line a loaded save resumes from
  uint8_t alignSymbols[4];
  ScriptSymbol symbolTable[kSymbolCount];
  InterpreterState interpreter;
};

// The live state and the copy a save writes.
extern EngineStateRecord EngineState;
extern EngineStateRecord EngineStateSnapshot;

// Terminates every text of the interpreter's part of a block read from a save and cuts every
// collision link that does not name an entry, so that nothing read from a file leads outside it.
void SanitizeInterpreterState(EngineStateRecord& state);

#define VREL_FIELD_AT(T, f, off) static_assert(offsetof(T, f) == (off), #T "::" #f " moved")
// Two fields with nothing between them: with every field chained this way no padding byte exists.
#define VREL_FOLLOWS(T, a, b) static_assert(offsetof(T, b) == offsetof(T, a) + sizeof(T::a), #T ": padding before " #b)

VREL_FIELD_AT(PictureLayer, inUse, 0);
VREL_FOLLOWS(PictureLayer, inUse, fileName);
VREL_FIELD_AT(PictureLayer, mode, 260);
VREL_FOLLOWS(PictureLayer, fileName, mode);
VREL_FIELD_AT(PictureLayer, x, 264);
VREL_FIELD_AT(PictureLayer, y, 268);
VREL_FIELD_AT(PictureLayer, z, 272);
VREL_FIELD_AT(PictureLayer, auxInt, 276);
VREL_FIELD_AT(PictureLayer, auxFactor, 280);
VREL_FIELD_AT(PictureLayer, keyCount, 284);
VREL_FIELD_AT(PictureLayer, curveMode, 288);
VREL_FIELD_AT(PictureLayer, motionRunning, 292);
VREL_FOLLOWS(PictureLayer, motionRunning, pad293);
VREL_FIELD_AT(PictureLayer, motionTime, 296);
VREL_FIELD_AT(PictureLayer, lastKeyTime, 300);
VREL_FIELD_AT(PictureLayer, motionLoops, 304);
VREL_FOLLOWS(PictureLayer, motionLoops, pad305);
VREL_FIELD_AT(PictureLayer, curveX, 308);
VREL_FIELD_AT(PictureLayer, curveY, 312);
VREL_FIELD_AT(PictureLayer, curveZ, 316);
VREL_FIELD_AT(PictureLayer, unused320, 320);
VREL_FIELD_AT(PictureLayer, unused324, 324);
VREL_FIELD_AT(PictureLayer, keys, 328);
VREL_FIELD_AT(PictureLayer, levels, 584);
VREL_FIELD_AT(PictureLayer, drawX, 616);
VREL_FIELD_AT(PictureLayer, drawY, 620);
VREL_FIELD_AT(PictureLayer, drawZ, 624);
VREL_FIELD_AT(PictureLayer, effect, 628);
static_assert(sizeof(LayerKey) == 16 && sizeof(LayerLevel) == 8);
static_assert(sizeof(PictureLayer) == 632);

VREL_FIELD_AT(MusicRecord, active, 256);
VREL_FOLLOWS(MusicRecord, active, unused);
static_assert(sizeof(MusicRecord) == 259);

VREL_FIELD_AT(ScriptSymbol, value, 64);
VREL_FIELD_AT(ScriptSymbol, token, 72);
VREL_FIELD_AT(ScriptSymbol, next, 76);
static_assert(sizeof(ScriptSymbol) == 80);

static_assert(sizeof(ScreenFade) == 8 && sizeof(ScreenFades) == 16);
VREL_FOLLOWS(CameraState, offsetZ, moving);
VREL_FOLLOWS(CameraState, moving, pad);
static_assert(sizeof(CameraState) == 64);
VREL_FOLLOWS(QuakeState, curveY, running);
VREL_FOLLOWS(QuakeState, running, pad);
static_assert(sizeof(QuakeState) == 20);
static_assert(sizeof(MessageWindowState) == 16);
static_assert(sizeof(VoicePrefix) == 132);
VREL_FOLLOWS(MessageState, speakerName, singleVoice);
VREL_FOLLOWS(MessageState, singleVoice, autoPlayWait);
VREL_FOLLOWS(MessageState, autoPlayWait, namePresent);
VREL_FOLLOWS(MessageState, movie, singleVoicePending);
VREL_FOLLOWS(MessageState, singleVoicePending, pad);
VREL_FOLLOWS(MessageState, pad, voicePrefixes);
static_assert(sizeof(MessageState) == 524 + 32 * 132);

VREL_FIELD_AT(PresentationState, fades, 0);
VREL_FOLLOWS(PresentationState, fades, camera);
VREL_FOLLOWS(PresentationState, camera, quake);
VREL_FOLLOWS(PresentationState, quake, window);
VREL_FOLLOWS(PresentationState, window, message);
VREL_FOLLOWS(PresentationState, message, waitCount);
VREL_FOLLOWS(PresentationState, waitCount, sunEffect);
VREL_FOLLOWS(PresentationState, novelMode, pad);
VREL_FOLLOWS(PresentationState, pad, reserved);
static_assert(sizeof(PresentationState) == kPresentationStateSize);

VREL_FOLLOWS(InterpreterState, macroDepth, runThrough);
VREL_FOLLOWS(InterpreterState, runThrough, pad);
VREL_FOLLOWS(InterpreterState, pad, scriptName);
VREL_FOLLOWS(InterpreterState, scriptName, reserved);
static_assert(sizeof(InterpreterState) == kInterpreterStateSize);

VREL_FIELD_AT(EngineStateRecord, messageText, 0);
VREL_FIELD_AT(EngineStateRecord, layers, 256);
VREL_FIELD_AT(EngineStateRecord, music, 40704);
VREL_FIELD_AT(EngineStateRecord, alignPresentation, 41222);
VREL_FIELD_AT(EngineStateRecord, presentation, 41224);
VREL_FIELD_AT(EngineStateRecord, scriptLine, 63232);
VREL_FOLLOWS(EngineStateRecord, scriptLine, alignSymbols);
VREL_FIELD_AT(EngineStateRecord, symbolTable, 63240);
VREL_FIELD_AT(EngineStateRecord, interpreter, 863240);
static_assert(sizeof(EngineStateRecord) == kEngineStateSize);
static_assert(alignof(EngineStateRecord) == 8);
