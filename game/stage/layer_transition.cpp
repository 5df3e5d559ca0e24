// The mask transition: the last composed frame is laid over the new one and wiped away through a
// greyscale mask, the darkest mask pixels first.
#include <algorithm>
#include <string>

#include "game/app/config.h"
#include "game/app/frame_scale.h"
#include "game/stage/layer_module.h"
#include "game/script/message_log.h"
#include "game/text/message_window.h"
#include "game/stage/picture_layers.h"
#include "game/system/file_utils.h"
#include "game/script/saturate.h"
#include "platform/sjis_literal.h"
#include "sdk/graphics/clip_stretch_blt.h"

void ResetTransition() {
  LayerModule.transitionRunning = false;
  LayerModule.mask.reset();
  LayerModule.before.reset();
  LayerModule.counter.reset();
}

void StartTransition(int type, int speed, std::string_view maskName) {
  if (IsSkipping()) return;
  ResetTransition();
  if (type != 0 && type != 1) return;
  auto mask = std::make_unique<CMemPlane>();
  if (mask->Load(maskName, 0, 100) != 0) {
    const std::string name(maskName);
    if (GameFileFound(name)) {
      DebugPrint("トランジション画像[%s]%s"_sj, name.c_str(), kUnreadableFileText);
    } else {
      DebugPrint("トランジション画像[%s]が見つかりません"_sj, name.c_str());
    }
    return;
  }
  CMemPlaneImpl& m = *mask->GetImpl();
  const size_t count = static_cast<size_t>(m.Width()) * m.Height();
  uint32_t* px = m.GetPixels();
  for (size_t i = 0; i < count; ++i) px[i] = ((px[i] & 0xFFu) << 24) | (px[i] & 0xFFFFFFu);
  const CMemPlane* composition = LayerModule.composition.get();
  if (!composition || !composition->GetImpl()->GetPixels()) return;
  auto before = std::make_unique<CMemPlane>();
  int w = 0, h = 0;
  composition->GetSize(&w, &h);
  if (before->Create(w, h, 0) != 0) return;
  before->GetImpl()->BltFast(const_cast<CMemPlane*>(composition), 0, 0, nullptr, nullptr, nullptr);
  *before->GetImpl()->GetHasAlphaPtr() = true;
  // A step that truncates to 0 would never move and leave the old picture on top for good.
  int32_t step = SaturateToInt32(FrameScale() * speed);
  if (step == 0) step = 1;
  LayerModule.mask = std::move(mask);
  LayerModule.before = std::move(before);
  LayerModule.counter = std::make_unique<CStepCounter>(-255, 255, step);
  LayerModule.transitionRunning = true;
}

void DrawTransition(CMemPlane& target) {
  if (!LayerModule.transitionRunning) return;
  if (!LayerModule.before || !LayerModule.mask || !LayerModule.counter) {
    ResetTransition();
    return;
  }
  CMemPlane& before = *LayerModule.before;
  CMemPlane& mask = *LayerModule.mask;
  const int32_t v = -LayerModule.counter->GetValue();
  BltClipInfo clip;
  if (ClipStretchBlt(&before, &mask, 0, 0, &clip, nullptr, nullptr, nullptr) == 0) {
    const int width = clip.dest.right - clip.dest.left;
    for (int y = clip.dest.top; y < clip.dest.bottom; ++y) {
      uint32_t* row = before.GetImpl()->GetRow(y) + clip.dest.left;
      const uint32_t* maskRow = mask.GetImpl()->GetRow(clip.source.top + (y - clip.dest.top)) + clip.source.left;
      for (int x = 0; x < width; ++x) {
        const int32_t alpha = std::clamp(static_cast<int32_t>(maskRow[x] >> 24) + v, 0, 255);
        row[x] = (static_cast<uint32_t>(alpha) << 24) | (row[x] & 0xFFFFFFu);
      }
    }
  }
  target.BltNatural(&before, 0, 0, nullptr, nullptr, nullptr);
  MarkDisplayDirty();
  LayerModule.counter->Inc();
  if (LayerModule.counter->IsReached()) ResetTransition();
}
