// The layer module's state that is not saved, shared by its files (records, camera and quake,
// transition, compositor). Not for use outside them.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "game/script/engine_state.h"
#include "game/stage/movie_player.h"
#include "sdk/framework/step_counter.h"
#include "sdk/graphics/mem_plane.h"

// The parts of a surface with per-pixel alpha that are not fully transparent, row by row: drawing it
// opaque leaves the pixels outside these spans as they are, apart from their alpha byte.
class CScriptApp;

struct SurfaceSpans {
  const CMemPlane* surface = nullptr;  // the surface they were measured on
  std::vector<int32_t> begin;          // per row: first pixel with alpha, or the width when none
  std::vector<int32_t> end;            // per row: one past the last pixel with alpha
  // Per row: the first run of fully opaque pixels inside the span (empty when there is none).
  std::vector<int32_t> opaqueBegin;
  std::vector<int32_t> opaqueEnd;
  RECT bounds{};  // the rectangle that holds every pixel with alpha
  // The pixels of each row outside its opaque run, [begin, opaqueBegin) then [opaqueEnd, end), one
  // row after the other from softStart[row]: blending reads them in order instead of hopping
  // through the whole picture.
  std::vector<uint32_t> soft;
  std::vector<size_t> softStart;
};

struct LayerSide {
  // Shared with the image cache: a layer never writes into its pictures.
  std::shared_ptr<CMemPlane> current;
  std::shared_ptr<CMemPlane> previous;  // the picture fading out of a cross-fade
  int32_t previousLevel = 255;
  int32_t previousStep = 0;
  SurfaceSpans spans;          // of the current surface
  SurfaceSpans previousSpans;  // of the previous surface
};

// The spans belong to the surface they were measured on: they go with it.
inline void DropPrevious(LayerSide& side) {
  side.previous.reset();
  side.previousSpans = SurfaceSpans{};
}

struct LayerModuleState {
  std::array<LayerSide, kLayerCount> sides;
  std::unique_ptr<CMemPlane> composition;
  // Change detection: the records and the previous opacities at the last full composition.
  bool valid = false;
  std::array<PictureLayer, kLayerCount> recordsSeen{};
  std::array<int32_t, kLayerCount> previousLevelsSeen{};
  // The mask transition.
  bool transitionRunning = false;
  std::unique_ptr<CMemPlane> mask;
  std::unique_ptr<CMemPlane> before;
  std::unique_ptr<CStepCounter> counter;
  std::unique_ptr<MoviePlayer> movie;
  CMemPlane* drawTarget = nullptr;
  // The game whose frame picture waits in the draw target (SetWaitingGamePicture).
  CScriptApp* pictureWaiting = nullptr;
  void (*compositionHook)() = nullptr;
  int (*quakeRandom)() = nullptr;
};

extern LayerModuleState LayerModule;

inline bool ValidLayer(int layer) { return layer >= 0 && layer < kLayerCount; }
inline PictureLayer& LayerRecord(int layer) { return EngineState.layers[layer]; }

// Where this frame's drawing goes: the test target, or the running game's back buffer; null when
// there is none. Asking for it means drawing in it: a game picture waiting there is kept first.
CMemPlane* LayerDrawTarget();
// The same plane, for a look only: nothing is kept.
CMemPlane* LayerPictureTarget();
void MarkDisplayDirty();

// Camera and quake (layer_camera.cpp).
void ResetCameraAndQuake();
// After a load: the camera keeps its position but stops; the quake stops. The curve table must
// have been emptied first.
void StopCameraAndQuake();
// Steps 2 to 4 of a frame: advances the camera and the quake and stores the frame's offsets.
void AdvanceCameraAndQuake();

// Transition (layer_transition.cpp): step 9 of a frame.
void ResetTransition();
void DrawTransition(CMemPlane& target);

// Compositor (layer_compositor.cpp).
void InvalidateComposition();
