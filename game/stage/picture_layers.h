// The 64 picture layers and their compositor: pictures loaded through the image cache, cross-fades,
// motions on keyframe curves, the camera, the screen quake, the mask transition and the movie shown
// in their place. The layer records live in EngineState.layers (saved with it); the surfaces and
// everything else that is not saved live here. Layer numbers run from 0 to 63; every per-layer
// operation refuses any other number.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "game/script/engine_state.h"

class CMemPlane;
class CScriptApp;

// Picture file names are kept in the 259 bytes of a layer record, terminator included.
constexpr size_t kLayerNameMax = sizeof(PictureLayer::fileName) - 1;

void InitLayers();
void ReleaseLayers();

// PICTURE: the layer shows the picture at (x, y); false when it cannot be loaded.
bool LoadPicture(int layer, float x, float y, float z, std::string_view fileName);
// OVERLAP: the layer changes to the picture with a cross-fade.
bool OverlapPicture(int layer, float x, float y, float z, std::string_view fileName);
// CLEARPICTURE: the layer is emptied. 255.
int ClearPicture(int layer);
// SETKEY: appends a motion key (at most 16).
void SetLayerKey(int layer, int time, float x, float y, float z);
// MOVE: starts the layer's motion along its keys.
void MoveLayer(int layer, int curveMode, bool loop);
// EFFECT: 0 plain, 1 wave, anything else hides the layer.
void SetEffect(int layer, int value);
// CAMERA: duration 0 moves at once; otherwise the view glides there from where it stands.
void MoveCamera(float duration, int curveMode, int x, int y, int z);
// QUAKE, with screen effects on.
void StartQuake(float duration, int keyCount, float amplitude);
// TRANSITION: the last composed frame wipes away through a greyscale mask.
void StartTransition(int type, int speed, std::string_view maskName);
// MOVIE and STOPMOVIE. PlayMovie returns true.
bool PlayMovie(std::string_view fileName);
void StopMovie();

// The compositor, once per frame.
void DrawLayers();
// After a save was loaded into EngineState: makes the records safe and reloads their pictures.
void ReloadPictures();

// Draws a surface on the back buffer with opacity 0..256 (above 254 is opaque) and effect 0
// (plain) or 1 (wave); any other effect draws nothing. The flag is not used.
void DrawSprite(CMemPlane* surface, int x, int y, int opacity, int effect, float flag);
// Draws a surface at (x, y) cut to width x 32 pixels.
void DrawSpriteClipped(CMemPlane* surface, int x, int y, int width);

template <class Pointer>
void DeleteIfAny(Pointer& object) {
  object.reset();
}

// The layer's surfaces: the current one and the one fading out of a cross-fade.
CMemPlane* LayerSurface(int layer);
CMemPlane* LayerPreviousSurface(int layer);
int32_t LayerPreviousLevel(int layer);
bool TransitionRunning();

// Set while a game's frame picture waits in the draw target with nothing drawn over it (null: none
// waits): the next asking for the draw target has the game keep the picture aside first.
void SetWaitingGamePicture(CScriptApp* game);

// Seams for tests and tools.
// Where drawing goes instead of the running game's back buffer (null: the game's).
void SetLayerDrawTarget(CMemPlane* target);
// Called at the start of every full composition.
void SetFullCompositionHook(void (*hook)());
// The random source of the quake (null: the C library's rand).
void SetQuakeRandom(int (*random)());
