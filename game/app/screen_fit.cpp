#include "game/app/screen_fit.h"

#include <algorithm>
#include <cstdio>

#include "game/app/config.h"
#include "game/script/message_log.h"
#include "platform/desktop.h"
#include "platform/sjis_literal.h"

std::string FitScreenSize(int32_t* width, int32_t* height, int32_t roomWidth, int32_t roomHeight) {
  const int32_t wasWidth = *width, wasHeight = *height;
  const auto fit = [](int32_t side, int32_t room) { return std::max(1, room > 0 ? std::min(side, room) : side); };
  *width = fit(*width, roomWidth);
  *height = fit(*height, roomHeight);
  if (*width == wasWidth && *height == wasHeight) return {};
  char line[200];
  std::snprintf(line, sizeof line, "vrel.xml の画面サイズ %dx%d はデスクトップ(%dx%d)に表示できないので、%dx%d で開きます"_sj,
                wasWidth, wasHeight, roomWidth, roomHeight, *width, *height);
  return line;
}

void FitConfiguredScreenToDesktop() {
  int roomWidth = 0, roomHeight = 0;
  if (!platform::DesktopAvailableSize(&roomWidth, &roomHeight)) roomWidth = roomHeight = 0;
  const std::string line = FitScreenSize(&Config.screenWidth, &Config.screenHeight, roomWidth, roomHeight);
  if (!line.empty()) DebugPrintText(line);
}
