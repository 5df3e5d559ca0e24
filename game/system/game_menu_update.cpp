// The menu bar brought up to date: one check mark a group from the settings, and the slot items
// from the save files.
#include <cstdio>
#include <ctime>
#include <initializer_list>
#include <string>

#include "game/app/config.h"
#include "game/system/file_utils.h"
#include "game/system/game_menu_resource.h"
#include "game/app/script_app.h"
#include "game/app/script_app_hook.h"
#include "platform/menu.h"
#include "platform/window.h"
#include "sdk/framework/window_application.h"

using namespace game_menu;

namespace {

// Unchecks the group, then checks the chosen item (0: none).
void CheckGroup(HMENU menu, std::initializer_list<UINT> group, UINT chosen) {
  for (UINT id : group) CheckMenuItem(menu, id, MF_BYCOMMAND | MF_UNCHECKED);
  if (chosen != 0) CheckMenuItem(menu, chosen, MF_BYCOMMAND | MF_CHECKED);
}

void CheckSwitch(HMENU menu, UINT id, bool checked) {
  CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

// Music, voice, sound effects and auto speed: full, at least 60, above 0, or none of the three.
void CheckLevel(HMENU menu, int value, UINT loud, UINT medium, UINT quiet) {
  const UINT chosen = value == 100 ? loud : value >= 60 ? medium : value > 0 ? quiet : 0;
  CheckGroup(menu, {loud, medium, quiet}, chosen);
}

UINT TextSpeedItem(int speed) {
  if (speed == 100) return kTextFastest;
  if (speed <= 45) return kTextSlow;
  if (speed > 75) return kTextFast;
  return kTextNormal;
}

UINT OpacityItem(int alpha) {
  if (alpha == 0) return kWindowInvisible;
  if (alpha == 255) return kWindowOpaque;
  if (alpha <= 64) return kWindow25;
  if (alpha > 128) return kWindow75;
  return kWindow50;
}

UINT CacheItem(int size) {
  if (size == 0) return kCacheNone;
  if (size == 150) return kCacheMaximum;
  if (size <= 5) return kCacheSmall;
  if (size > 25) return kCacheLarge;
  return kCacheMedium;
}

UINT MasterItem(int volume) {
  if (volume == 100) return kMasterLoud;
  if (volume >= 60) return kMasterMedium;
  if (volume <= 0) return kMasterLeast;
  return kMasterQuiet;
}

// The caption of a slot item, and whether the slot holds a save.
bool SlotText(int slot, std::string* text) {
  char path[32];
  std::snprintf(path, sizeof path, "savedata\\data%03d.sav", slot);
  std::tm t{};
  if (!FileLocalWriteTime(path, &t)) {
    *text = "NO DATA";
    return false;
  }
  char caption[64];
  std::snprintf(caption, sizeof caption, "%02d %02d/%02d/%02d %02d:%02d", slot + 1, t.tm_year + 1900, t.tm_mon + 1,
                t.tm_mday, t.tm_hour, t.tm_min);
  *text = caption;
  return true;
}

}  // namespace

void CScriptAppHook::UpdateMenu() {
  HMENU menu = platform::GetMenu(GetAppWindowHandle());
  if (!menu) return;
  CheckGroup(menu, {kFullScreen, kWindow}, Config.windowMode ? kWindow : kFullScreen);
  CheckGroup(menu, {kTextFastest, kTextFast, kTextNormal, kTextSlow}, TextSpeedItem(Config.messageSpeed));
  CheckGroup(menu, {kWindowOpaque, kWindow75, kWindow50, kWindow25, kWindowInvisible},
             OpacityItem(Config.messageWindowAlpha));
  CheckGroup(menu, {kCacheMaximum, kCacheLarge, kCacheMedium, kCacheSmall, kCacheNone},
             CacheItem(Config.imageCacheSize));
  CheckGroup(menu, {kMasterLoud, kMasterMedium, kMasterQuiet, kMasterLeast}, MasterItem(Config.masterVolume));
  CheckLevel(menu, Config.bgm.volume, kBgmLoud, kBgmMedium, kBgmQuiet);
  CheckLevel(menu, Config.voice.volume, kVoiceLoud, kVoiceMedium, kVoiceQuiet);
  CheckLevel(menu, Config.se.volume, kSeLoud, kSeMedium, kSeQuiet);
  CheckLevel(menu, Config.autoSpeed, kAutoFast, kAutoNormal, kAutoSlow);
  CheckSwitch(menu, kSkipUnread, Config.skipUnread);
  CheckSwitch(menu, kReadTextAlpha, Config.readTextAlpha);
  CheckSwitch(menu, kReadTextFast, Config.readTextFast);
  CheckSwitch(menu, kEffects, Config.effectsOn);
  CheckSwitch(menu, kShowCacheRate, Config.showCacheRate);
  CheckSwitch(menu, kShowFps, Config.showFps);
  CheckSwitch(menu, kBgmDownForVoice, Config.bgmDownForVoice);
  CheckSwitch(menu, kTips, Config.tipsOn);
  CheckSwitch(menu, kBgmOff, !Config.bgm.on);
  CheckSwitch(menu, kVoiceOff, !Config.voice.on);
  CheckSwitch(menu, kSeOff, !Config.se.on);
  CheckSwitch(menu, kAutoOff, !Config.autoOn);
  // Each file is looked at once for its two items.
  for (int slot = 0; slot < kSlots; ++slot) {
    std::string text;
    const bool saved = SlotText(slot, &text);
    const UINT save = kSaveSlots[static_cast<size_t>(slot)];
    const UINT load = kLoadSlots[static_cast<size_t>(slot)];
    ModifyMenu(menu, save, MF_BYCOMMAND | MF_STRING, save, text.c_str());
    ModifyMenu(menu, load, MF_BYCOMMAND | MF_STRING | (saved ? 0 : MF_GRAYED), load, text.c_str());
  }
}

void CScriptAppHook::CheckColorDepthMenu(int depth) {
  HMENU menu = platform::GetMenu(GetAppWindowHandle());
  if (!menu) return;
  const UINT chosen = depth == 0    ? kDepthWindow
                      : depth == 16 ? kDepth16
                      : depth == 24 ? kDepth24
                      : depth == 32 ? kDepth32
                                    : 0;
  CheckGroup(menu, {kDepthWindow, kDepth16, kDepth24, kDepth32}, chosen);
}
