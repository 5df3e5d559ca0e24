#include "game/system/scene_gallery.h"

#include <string>

#include "game/text/cursor_prompt.h"
#include "game/text/fixed_text.h"
#include "game/app/frame_input.h"
#include "game/stage/image_cache.h"
#include "game/text/message_window.h"
#include "game/stage/picture_layers.h"
#include "game/system/script_buttons.h"
#include "game/system/seen_lists.h"
#include "game/sound/sound_channels.h"
#include "sdk/framework/path_functions.h"

SceneGalleryState SceneGallery;

namespace {

constexpr int kClickSound = 4;

void Store(char (&field)[kGalleryNameBytes], std::string_view text) {
  CopyFixedText(field, text.substr(0, SjisFitLength(text, kGalleryNameBytes - 1)));
}

void Leave(int32_t result) {
  PlaySystemSe(kClickSound);
  SetClickedButton(result);
  SceneGallery.count = 0;
  SceneGallery.pageBuilt = -1;
  SceneGallery.active = false;
  ResetInputEdges();
}

void BuildPage() {
  SceneGalleryState& g = SceneGallery;
  for (int i = 0; i < kGalleryCells && g.page * kGalleryCells + i < g.count; ++i) {
    const int entry = g.page * kGalleryCells + i;
    g.thumbnails[i].reset();
    g.seen[i] = IsSceneSeen(FixedText(g.keys[entry]));
    const std::string name =
        g.seen[i] ? "thumb\\" + std::string(FixedText(g.thumbs[entry])) + ".png" : std::string("cg\\system_empty.png");
    g.thumbnails[i] = LoadImageCached(name, 100);
  }
  g.pageBuilt = g.page;
}

}  // namespace

void InitSceneMode() {
  EndSceneMode();
  SceneGallery.page = 0;
  SceneReplay = false;
}

void AddSceneModeKey(std::string_view key) {
  if (SceneGallery.count < 0 || SceneGallery.count >= kGalleryEntries) return;
  Store(SceneGallery.keys[SceneGallery.count], key);
}

void AddSceneModeThumb(std::string_view name) {
  if (SceneGallery.count < 0 || SceneGallery.count >= kGalleryEntries) return;
  std::string lower(name.substr(0, SjisFitLength(name, kGalleryNameBytes - 1)));
  ToLowerSJIS(lower);
  Store(SceneGallery.thumbs[SceneGallery.count], lower);
  ++SceneGallery.count;
}

void StartSceneMode() { SceneGallery.active = true; }

void EndSceneMode() {
  for (auto& thumbnail : SceneGallery.thumbnails) thumbnail.reset();
  SceneGallery.seen = {};
  SceneGallery.active = false;
  SceneGallery.count = 0;
  SceneGallery.pageBuilt = -1;
}

void DrawSceneMode() {
  SceneGalleryState& g = SceneGallery;
  if (!g.active) return;
  if (g.page != g.pageBuilt) BuildPage();
  const int lastPage = g.count / kGalleryCells;
  if (FrameInput.scrollDown && g.page < lastPage) ++g.page;
  if (FrameInput.scrollUp && g.page > 0) --g.page;
  const int x = FrameInput.cursorX;
  const int y = FrameInput.cursorY;
  // Only the cells of the page that was built: a page just scrolled to is built next frame.
  for (int i = 0; i < kGalleryCells && g.pageBuilt * kGalleryCells + i < g.count; ++i) {
    const int cellX = 181 + 154 * (i % 4);
    const int cellY = 105 + 119 * (i / 4);
    CMemPlane* thumbnail = g.thumbnails[i].get();
    int w = 0, h = 0;
    if (thumbnail) thumbnail->GetSize(&w, &h);
    if (g.seen[i] && cellX < x && x < cellX + w && cellY < y && y < cellY + h) {
      SetCursorKind(1);
      if (FrameInput.click) {
        Leave(kGalleryPickBase + g.pageBuilt * kGalleryCells + i);
        return;
      }
    }
    if (thumbnail) DrawSprite(thumbnail, cellX, cellY, 256, 0, 0);
  }
  if (490 <= x && x < 553 && 32 <= y && y < 95) {
    SetCursorKind(1);
    if (FrameInput.click && g.page > 0) {
      --g.page;
      PlaySystemSe(kClickSound);
      ResetInputEdges();
    }
  }
  if (756 < x && x < 820 && 32 <= y && y < 95) {
    SetCursorKind(1);
    if (FrameInput.click && g.page < lastPage) {
      ++g.page;
      PlaySystemSe(kClickSound);
      ResetInputEdges();
    }
  }
  if (0 < x && x <= 162 && 403 <= y && y <= 601) {
    SetCursorKind(1);
    if (FrameInput.click) Leave(0);
  }
}
