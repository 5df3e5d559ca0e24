#include "game/app/script_app_hook.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "game/app/config.h"
#include "game/app/script_app.h"
#include "game/app/version_info.h"
#include "game/script/engine_state.h"
#include "game/script/read_flag_table.h"
#include "game/sound/sound_channels.h"
#include "game/stage/image_cache.h"
#include "game/system/game_menu_resource.h"
#include "game/system/game_wallpaper.h"
#include "game/system/system_menu.h"
#include "game/text/cursor_prompt.h"
#include "game/text/message_window.h"
#include "platform/message_box.h"
#include "platform/sjis_literal.h"
#include "sdk/framework/window_application.h"

using namespace game_menu;

namespace {

// Whether the menu is brought up to date after the command. The load commands refresh it themselves
// when they load, and a command that asks leaves it as it was.
enum class After { kUpdate, kNothing };

struct CommandContext {
  CScriptAppHook& hook;
  CScriptApp& app;
  UINT id;
};

using CommandFn = After (*)(const CommandContext&);

// The value of the id's place among ids, in the same order as values.
template <size_t N>
int ValueOf(UINT id, const UINT (&ids)[N], const int (&values)[N]) {
  for (size_t i = 0; i < N; ++i)
    if (ids[i] == id) return values[i];
  return values[0];
}

int SlotOf(UINT id, const std::array<UINT, kSlots>& ids) {
  return static_cast<int>(std::find(ids.begin(), ids.end(), id) - ids.begin());
}

std::string SlotPath(int slot) {
  char path[32];
  std::snprintf(path, sizeof path, "savedata\\data%03d.sav", slot);
  return path;
}

bool Ask(const char* text, const char* caption, UINT flags) {
  return platform::MessageBox(GetAppWindowHandle(), text, caption, flags) == IDYES;
}

After Quit(const CommandContext& c) {
  if (Ask("Vrelを終了しますか？"_sj, "終了確認"_sj, MB_YESNO | MB_DEFBUTTON2 | MB_TOPMOST) && c.app.Application())
    c.app.Application()->InvalidateThread();
  return After::kNothing;
}

After ColorDepth(const CommandContext& c) {
  c.hook.ChangeColorDepth(c.id == kDepth24 ? 24 : 32);
  return After::kUpdate;
}

After Version(const CommandContext&) {
  platform::MessageBox(GetAppWindowHandle(), VersionInfoText(Config.title), "バージョン情報"_sj,
                       MB_OK | MB_ICONINFORMATION | MB_TOPMOST);
  return After::kUpdate;
}

// The picture kept at the end of the last frame's game picture, before the message window: no
// frame is drawn for it, so the script and the fades stay where the player sees them.
After Wallpaper(const CommandContext& c) {
  SetGamePictureAsWallpaper(c.app.GamePicture());
  return After::kUpdate;
}

After FullScreen(const CommandContext& c) {
  if (Config.windowMode) {
    Config.windowMode = false;
    c.app.SetDisplayMode(true);
  }
  return After::kUpdate;
}

After Windowed(const CommandContext& c) {
  if (!Config.windowMode) {
    Config.windowMode = true;
    c.app.SetDisplayMode(false);
  }
  return After::kUpdate;
}

After TextSpeed(const CommandContext& c) {
  Config.messageSpeed = ValueOf(c.id, {kTextFast, kTextNormal, kTextSlow, kTextFastest}, {90, 60, 30, 100});
  return After::kUpdate;
}

// A switch of the settings, by the id.
bool* SwitchOf(UINT id) {
  switch (id) {
    case kSkipUnread:
      return &Config.skipUnread;
    case kReadTextAlpha:
      return &Config.readTextAlpha;
    case kReadTextFast:
      return &Config.readTextFast;
    case kEffects:
      return &Config.effectsOn;
    case kShowCacheRate:
      return &Config.showCacheRate;
    case kShowFps:
      return &Config.showFps;
    case kBgmDownForVoice:
      return &Config.bgmDownForVoice;
    case kAutoOff:
      return &Config.autoOn;
    case kTips:
      return &Config.tipsOn;
    case kVoiceOff:
      return &Config.voice.on;
    case kSeOff:
      return &Config.se.on;
    case kBgmOff:
      return &Config.bgm.on;
    default:
      return nullptr;
  }
}

After Toggle(const CommandContext& c) {
  if (bool* value = SwitchOf(c.id)) *value = !*value;
  return After::kUpdate;
}

After SoundToggle(const CommandContext& c) {
  Toggle(c);
  ApplySoundSettings();
  return After::kUpdate;
}

After ClearReadMarks(const CommandContext&) {
  if (Ask("本当にクリアしますか？"_sj, "確認"_sj, MB_YESNO)) ClearReadFlags();
  return After::kNothing;
}

// The cache starts empty at its new size, so the hit rate counts from there.
After CacheSize(const CommandContext& c) {
  FlushImageCache();
  Config.imageCacheSize =
      ValueOf(c.id, {kCacheNone, kCacheSmall, kCacheMedium, kCacheLarge, kCacheMaximum}, {0, 5, 25, 50, 150});
  return After::kUpdate;
}

After BackToTitle(const CommandContext&) {
  ReturnToTitle();
  return After::kNothing;
}

After VoiceVolume(const CommandContext& c) {
  Config.voice.volume = ValueOf(c.id, {kVoiceLoud, kVoiceMedium, kVoiceQuiet}, {100, 70, 40});
  ApplySoundSettings();
  return After::kUpdate;
}

After WindowOpacity(const CommandContext& c) {
  Config.messageWindowAlpha =
      ValueOf(c.id, {kWindowOpaque, kWindow75, kWindow50, kWindow25, kWindowInvisible}, {255, 192, 128, 64, 0});
  MessageWindowState& window = EngineState.presentation.window;
  if (window.state == 1) window.opacity = Config.messageWindowAlpha;
  return After::kUpdate;
}

After MasterVolume(const CommandContext& c) {
  Config.masterVolume = ValueOf(c.id, {kMasterLoud, kMasterMedium, kMasterQuiet, kMasterLeast}, {100, 70, 40, 0});
  ApplySoundSettings();
  return After::kUpdate;
}

After SeVolume(const CommandContext& c) {
  Config.se.volume = ValueOf(c.id, {kSeLoud, kSeMedium, kSeQuiet}, {100, 70, 40});
  ApplySoundSettings();
  return After::kUpdate;
}

After AutoSpeed(const CommandContext& c) {
  Config.autoSpeed = ValueOf(c.id, {kAutoFast, kAutoNormal, kAutoSlow}, {100, 70, 40});
  Config.autoOn = true;
  return After::kUpdate;
}

After BgmVolume(const CommandContext& c) {
  Config.bgm.volume = ValueOf(c.id, {kBgmLoud, kBgmMedium, kBgmQuiet}, {100, 70, 40});
  ApplySoundSettings();
  return After::kUpdate;
}

After SaveSlot(const CommandContext& c) {
  if (CSystemMenu* menu = c.app.SystemMenu()) menu->Save(SlotPath(SlotOf(c.id, kSaveSlots)));
  return After::kUpdate;
}

After LoadSlot(const CommandContext& c) {
  if (CSystemMenu* menu = c.app.SystemMenu()) menu->Load(SlotPath(SlotOf(c.id, kLoadSlots)));
  return After::kNothing;
}

struct MenuCommand {
  UINT first;
  UINT last;
  CommandFn run;
};

constexpr MenuCommand kCommands[] = {
    {kQuit, kQuit, Quit},
    {kDepth24, kDepth24, ColorDepth},
    {kDepth32, kDepth32, ColorDepth},
    {kVersion, kVersion, Version},
    {kWallpaper, kWallpaper, Wallpaper},
    {kFullScreen, kFullScreen, FullScreen},
    {kWindow, kWindow, Windowed},
    {kTextFast, kTextFastest, TextSpeed},
    {kSkipUnread, kSkipUnread, Toggle},
    {kReadTextAlpha, kReadTextFast, Toggle},
    {kClearReadFlags, kClearReadFlags, ClearReadMarks},
    {kEffects, kEffects, Toggle},
    {kCacheNone, kCacheLarge, CacheSize},
    {kReturnToTitle, kReturnToTitle, BackToTitle},
    {kShowCacheRate, kShowFps, Toggle},
    {kCacheMaximum, kCacheMaximum, CacheSize},
    {kVoiceLoud, kVoiceQuiet, VoiceVolume},
    {kVoiceOff, kVoiceOff, SoundToggle},
    {kBgmDownForVoice, kBgmDownForVoice, Toggle},
    {kWindowOpaque, kWindowInvisible, WindowOpacity},
    {kMasterLoud, kMasterLeast, MasterVolume},
    {kSeLoud, kSeQuiet, SeVolume},
    {kSeOff, kSeOff, SoundToggle},
    {kAutoFast, kAutoSlow, AutoSpeed},
    {kAutoOff, kAutoOff, Toggle},
    {kBgmLoud, kBgmQuiet, BgmVolume},
    {kBgmOff, kBgmOff, SoundToggle},
    {kSaveSlots[0], kSaveSlots[2], SaveSlot},
    {kLoadSlots[0], kLoadSlots[2], LoadSlot},
    {kSaveSlots[3], kSaveSlots[9], SaveSlot},
    {kLoadSlots[3], kLoadSlots[9], LoadSlot},
    {kTips, kTips, Toggle},
};

}  // namespace

CScriptAppHook::CScriptAppHook(CScriptApp& app) : m_app(app) { AddWindowHook(this); }

CScriptAppHook::~CScriptAppHook() { RemoveWindowHook(this); }

LRESULT CScriptAppHook::OnWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM) {
  // The system would put its own cursor back on every move.
  if (message == WM_MOUSEMOVE) ShowCursorKind();
  if (message == WM_COMMAND) RunCommand(static_cast<UINT>(wParam & 0xFFFF));
  return 0;
}

void CScriptAppHook::RunCommand(unsigned id) {
  for (const MenuCommand& command : kCommands) {
    if (id < command.first || id > command.last) continue;
    if (command.run({*this, m_app, id}) == After::kUpdate) UpdateMenu();
    return;
  }
}

void CScriptAppHook::ChangeColorDepth(int depth) {
  CDIBDraw& display = m_app.Display();
  const int width = Config.screenWidth;
  const int height = Config.screenHeight;
  display.BeginChangeDisplay();
  // The first mode granted wins; the later attempts of the same change ask nothing.
  if (depth != 0 && depth != 24 && depth != 32) display.TestDisplayMode(width, height, true, 16);
  if (depth != 0 && depth != 32) display.TestDisplayMode(width, height, true, 24);
  if (depth != 0) display.TestDisplayMode(width, height, true, 32);
  display.TestDisplayMode(width, height, false, 0);
  display.EndChangeDisplay();
  const int current = display.IsFullScreenMode() ? display.GetColorDepth() : 0;
  m_app.SetColorDepth(current);
  CheckColorDepthMenu(current);
}
