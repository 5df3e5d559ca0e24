// The game window's menu bar: its command ids and the menu resource "IDR_MENU" that the
// framework's window creation attaches to the game window.
#pragma once

#include <array>

#include "platform/win_types.h"

namespace game_menu {

constexpr UINT kQuit = 40001;
constexpr UINT kDepthWindow = 40002;  // the four colour-depth ids have no item on the bar
constexpr UINT kDepth16 = 40003;
constexpr UINT kDepth24 = 40004;
constexpr UINT kDepth32 = 40008;
constexpr UINT kVersion = 40009;
constexpr UINT kWallpaper = 40019;
constexpr UINT kFullScreen = 40020;
constexpr UINT kWindow = 40021;
constexpr UINT kTextFast = 40022;
constexpr UINT kTextNormal = 40023;
constexpr UINT kTextSlow = 40024;
constexpr UINT kTextFastest = 40025;
constexpr UINT kSkipUnread = 40026;
constexpr UINT kReadTextAlpha = 40028;
constexpr UINT kReadTextFast = 40029;
constexpr UINT kClearReadFlags = 40031;
constexpr UINT kEffects = 40033;
constexpr UINT kCacheNone = 40045;
constexpr UINT kCacheSmall = 40046;
constexpr UINT kCacheMedium = 40047;
constexpr UINT kCacheLarge = 40048;
constexpr UINT kReturnToTitle = 40049;
constexpr UINT kShowCacheRate = 40050;
constexpr UINT kShowFps = 40051;
constexpr UINT kCacheMaximum = 40052;
constexpr UINT kVoiceLoud = 40053;
constexpr UINT kVoiceMedium = 40054;
constexpr UINT kVoiceQuiet = 40055;
constexpr UINT kVoiceOff = 40056;
constexpr UINT kBgmDownForVoice = 40057;
constexpr UINT kWindowOpaque = 40058;
constexpr UINT kWindow75 = 40059;
constexpr UINT kWindow50 = 40060;
constexpr UINT kWindow25 = 40061;
constexpr UINT kWindowInvisible = 40062;
constexpr UINT kMasterLoud = 40064;
constexpr UINT kMasterMedium = 40065;
constexpr UINT kMasterQuiet = 40066;
constexpr UINT kMasterLeast = 40067;
constexpr UINT kSeLoud = 40068;
constexpr UINT kSeMedium = 40069;
constexpr UINT kSeQuiet = 40070;
constexpr UINT kSeOff = 40071;
constexpr UINT kAutoFast = 40072;
constexpr UINT kAutoNormal = 40073;
constexpr UINT kAutoSlow = 40074;
constexpr UINT kAutoOff = 40075;
constexpr UINT kBgmLoud = 40076;
constexpr UINT kBgmMedium = 40077;
constexpr UINT kBgmQuiet = 40078;
constexpr UINT kBgmOff = 40079;
constexpr UINT kTips = 40102;

constexpr int kSlots = 10;
// The items of slots 1 to 10, in slot order.
constexpr std::array<UINT, kSlots> kSaveSlots = {40081, 40082, 40083, 40087, 40088, 40089, 40090, 40091, 40092, 40093};
constexpr std::array<UINT, kSlots> kLoadSlots = {40084, 40085, 40086, 40094, 40095, 40096, 40097, 40098, 40099, 40100};

// The name the window class asks for.
constexpr const char* kResourceName = "IDR_MENU";

}  // namespace game_menu

// Registers the menu resource and shows menus as the windows' bars; before the game window is made.
void RegisterGameMenu();
