// The text of the information overlay: frame rate, processor load and image-cache hit rate, as the
// configuration asks for them.
#pragma once

#include <string>

struct InfoOverlayFigures {
  int realFps;
  int setFps;
  int cpuPercent;
  int cacheHits;
  int cacheLookups;
};

// Empty when neither the frame rate nor the cache line is on: the processor line never shows
// alone.
std::string InfoOverlayText(bool showFps, bool showCpu, bool showCache, const InfoOverlayFigures& f);
