#include "game/app/info_overlay.h"

#include <cstdio>

#include "platform/sjis_literal.h"
#include "sdk/framework/frame_timer.h"

InfoOverlayFigures InfoOverlayFiguresOf(const CFrameTimer& timer, int cacheHits, int cacheLookups) {
  // The line is labelled as the share used: the timer's free share would read as its opposite.
  return {static_cast<int>(timer.GetRealFPS()), static_cast<int>(timer.GetFPS()),
          static_cast<int>(timer.GetCPUUsage()), cacheHits, cacheLookups};
}

std::string InfoOverlayText(bool showFps, bool showCpu, bool showCache, const InfoOverlayFigures& f) {
  if (!showFps && !showCache) return {};
  std::string text;
  char line[128];
  if (showFps) {
    std::snprintf(line, sizeof line, "FPS %d/%d\n", f.realFps, f.setFps);
    text += line;
  }
  if (showCpu) {
    std::snprintf(line, sizeof line, "CPU使用率 %d％\n"_sj, f.cpuUsedPercent);
    text += line;
  }
  if (showCache) {
    const double rate = f.cacheLookups > 0 ? 100.0 * f.cacheHits / f.cacheLookups : 0.0;
    std::snprintf(line, sizeof line, "キャッシュヒット率 %.2f％\n"_sj, rate);
    text += line;
  }
  return text;
}
