// The game's settings and screen layout, read from vrel.xml at start-up and partly written back at
// exit (what the player can change: menu choices, system screens, the frame rate).
#pragma once

#include <cstdint>

#include "platform/win_types.h"

constexpr int kConfigTextBytes = 256;       // texts and the images of whole screens and windows
constexpr int kConfigButtonFileBytes = 64;  // the image of a button that also has a position
constexpr int kConfigActors = 16;

// An image placed at a position on the screen.
struct ConfigButton {
  char file[kConfigButtonFileBytes];
  int32_t x;
  int32_t y;

  bool operator==(const ConfigButton&) const = default;
};

struct ConfigSoundChannel {
  int32_t volume;
  bool on;

  bool operator==(const ConfigSoundChannel&) const = default;
};

struct ConfigTextArea {
  int32_t x;
  int32_t y;
  int32_t width;
  int32_t height;

  bool operator==(const ConfigTextArea&) const = default;
};

// A backlog area with its own character size.
struct ConfigSizedArea {
  int32_t size;
  int32_t x;
  int32_t y;
  int32_t width;
  int32_t height;

  bool operator==(const ConfigSizedArea&) const = default;
};

struct GameConfig {
  char title[kConfigTextBytes];
  char script[kConfigTextBytes];
  int32_t screenWidth;
  int32_t screenHeight;
  bool windowMode;  // false: full screen
  bool debug;       // loading a script opens it in the editor
  int32_t imageCacheSize;

  // The information overlay.
  bool showCacheRate;
  bool showFps;
  bool showCpu;

  int32_t effectSpeed;
  int32_t fps;  // the frame rate; the main loop adapts it and the adapted rate is kept
  bool effectsOn;

  char saveScreenFile[kConfigTextBytes];
  int32_t savePage;
  char loadScreenFile[kConfigTextBytes];
  int32_t loadPage;
  char tipsFile[kConfigTextBytes];
  bool tipsOn;

  // The system bar.
  char systemBackgroundFile[kConfigTextBytes];
  char noDataFile[kConfigTextBytes];
  ConfigButton backToGameButton;
  ConfigButton backToTitleButton;
  ConfigButton windowModeButton;
  ConfigButton fullScreenModeButton;
  ConfigButton quitButton;

  ConfigSoundChannel bgm;
  bool bgmDownForVoice;
  ConfigSoundChannel se;
  ConfigSoundChannel voice;
  int32_t masterVolume;
  int32_t actorCount;                // actors listed in the file (actor01 ... in order)
  bool actorVoiceOn[kConfigActors];  // index 0 is actor01

  // The message window.
  int32_t messageSpeed;
  char messageWindowFile[kConfigTextBytes];
  int32_t messageWindowX;
  int32_t messageWindowY;
  int32_t messageWindowAlpha;
  ConfigButton autoButton;
  int32_t autoSpeed;
  bool autoOn;
  ConfigButton skipButton;
  ConfigButton backlogButton;
  ConfigButton systemButton;
  ConfigButton quickSaveButton;
  ConfigButton quickLoadButton;
  char nextPromptFile[kConfigTextBytes];
  bool skipUnread;
  bool readTextFast;
  bool readTextAlpha;

  // Message text in normal mode, the speaker name and novel mode.
  int32_t fontType;
  int32_t fontSize;
  int32_t fontHMargin;
  COLORREF fontColor;
  COLORREF fontShadow;
  ConfigTextArea normalText;
  int32_t nameX;
  int32_t nameY;
  int32_t nameSize;
  COLORREF nameColor;
  COLORREF nameShadow;
  ConfigTextArea novelText;

  // The backlog.
  char backlogWindowFile[kConfigTextBytes];
  int32_t backlogWindowX;
  int32_t backlogWindowY;
  ConfigSizedArea backlogText;
  ConfigSizedArea backlogSlider;
  char backlogVoiceFile[kConfigTextBytes];

  bool operator==(const GameConfig&) const = default;
};

extern GameConfig Config;

constexpr int kConfigRead = 0;
constexpr int kConfigWrite = 1;

// Reads (mode 0) the file into Config, or writes (mode 1) the player's settings from Config back
// into it, replacing the file as a whole. A missing element is reported in an error box and
// skipped. False when the file cannot be read or parsed (after an error box), or cannot be written.
// The new text is read again before it replaces the file: when it would not give back the same
// settings (markup the XML writer does not reproduce), the old file stays, the message log says
// so, and the result is true.
bool ExchangeConfig(const char* path, int mode);
