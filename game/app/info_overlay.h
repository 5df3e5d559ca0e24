// The text of the information overlay: frame rate, processor load and image-cache hit rate, as the
// configuration asks for them.
#pragma once

#include <string>

class CFrameTimer;

struct InfoOverlayFigures {
  int realFps;
  int setFps;
  int cpuUsedPercent;  // the share of each second the game spends working
  int cacheHits;
  int cacheLookups;
};

// The figures of the frame: the timer's measured and set rates and its working share, and the
// image cache's counts.
InfoOverlayFigures InfoOverlayFiguresOf(const CFrameTimer& timer, int cacheHits, int cacheLookups);

// Empty when neither the frame rate nor the cache line is on: the processor line never shows
// alone.
std::string InfoOverlayText(bool showFps, bool showCpu, bool showCache, const InfoOverlayFigures& f);
