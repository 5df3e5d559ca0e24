// The message window: its picture fading in and out, the key wait that ends a page, the automatic
// and skip modes, the choices a script collects, and the ways back to the game and to the title.
#pragma once

#include <cstdint>
#include <string_view>

// Skip mode, set by the message window's skip button; off at start.
extern bool SkipMode;
// The current text was already read: skipping goes on over it. Set at start.
extern bool CurrentTextRead;
// Time left before an automatic page end, in 1/60 s: the script's auto-play and the player's auto
// mode. Each frame takes off its own length, so a page lasts as long at any frame rate.
extern double AutoPlayCounter;
extern double ConfiguredAutoCounter;
// KEYWAIT has set the counters for the wait under way.
extern bool KeyWaitStarted;
// A scene replay runs: the right button on a hidden window may return to the game.
extern bool SceneReplay;

constexpr int kChoiceCount = 5;
constexpr int kChoiceBytes = 1036;
struct SelectChoice {
  char text[kChoiceBytes];
};
extern SelectChoice Choices[kChoiceCount];
extern int32_t ChoiceCount;

// The start values of the counters, the key-wait and scene-replay flags and the choices, as at game
// start and when the script engine starts.
void ResetMessageWindowFlags();
// Both automatic counters for a text of n bytes: 100 / (wait + 1) sixtieths of a second a byte, the
// wait being the script's auto-play wait or the player's auto speed.
void SetAutoCounters(int64_t bytes);

// True while skipping is active: the current text was read (or unread text may be skipped), the
// player has not hidden the window, and the skip key is held or skip mode is on.
bool IsSkipping();
// True when the page waiting for the player should end now.
bool WaitKey();
// The cursor strictly inside a rectangle placed relative to the message window's origin.
bool HitWindowButton(int32_t x, int32_t y, int32_t width, int32_t height);

void LoadMessageWindowPicture();
void FreeMessageWindowPicture();
void OpenMessageWindow();
void CloseMessageWindow();
void DrawMessageWindow();

// Both ask the player first.
void ReturnToGame();
void ReturnToTitle();

void ClearChoices();
void AddChoice(std::string_view text);
int32_t GetChoiceDefault();
