// A player of the demo game, run between the frames: it waits for the script to reach the places
// it knows (found by their text in the loaded script), then clicks, holds the skip key, answers and
// looks at the picture, one step after another, until it ends the game from the title.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/console.h"
#include "scoped_temp_dir.h"
#include "sdk/framework/idle_callback.h"

class DemoPlayer : public CIdleCallback {
 public:
  // What the player saw at the points it looks at.
  struct Captures {
    bool overlayShown = true;      // the configuration as read asks for the information overlay
    uint32_t titleButton = 0;      // the start button's plain face
    bool blackAfterBlack = false;  // every pixel black while the story waits after BLACK
    int filmWidth = 0;             // the opening film's picture as presented
    int filmHeight = 0;
    int filmBlackPixels = -1;      // pixels of it the film left black
    int ghostPixels = -1;          // pixels of the wipe's picture of the hill other than the bare hill
    uint32_t windowOverFloor = 0;  // the message window over the night room's floor
    uint32_t seenCell = 0;         // the first gallery cell's frame (a seen scene)
    uint32_t unseenCell = 0;       // a pixel of the third cell (the path through the wood, not seen)
    uint32_t unseenPicture = 1;    // the same pixel of the unseen-scene picture, from its file
  };

  DemoPlayer(const ScopedTempDir& folder, const platform::Console& console);

  void OnIdle() override;

  bool Finished() const { return m_step == m_steps.size(); }
  // The step the player waits in, or the last one.
  std::string StepName() const;
  const Captures& captures() const { return m_captures; }
  // The text PRINT showed after the typed number.
  const std::string& printed() const { return m_printed; }
  // How many times the page that asks for the quick save was shown.
  int quickSavePages() const { return m_quickSavePages; }
  // The lines that reached the message log during the game, in order.
  const std::vector<std::string>& logLines() const { return m_logLines; }

 private:
  struct Step {
    std::string name;
    std::function<bool()> ready;
    std::function<void()> act;
  };

  void BuildSteps();
  // The line of the loaded script that reads exactly text, the first after the line "LABEL label"
  // when a label is given; 0 (and a failure) when there is none.
  int Line(std::string_view text, std::string_view label = {}) const;
  // The script waits at the statement on the line: a button, a key, a page, a choice.
  bool WaitingAt(int32_t token, int line, int frames = 2) const;
  // The page of the message that begins on the line is shown whole and waits.
  bool PageWaits(int line) const;
  // A system screen just opened takes presses again.
  bool ScreenSettled() const;
  // The frame just shown went past the page of the one-line message on the line while skipping.
  bool SkippedPast(int line) const;
  void MoveCursor(int x, int y);
  void Click(int x, int y);
  void ClickScriptButton(int x, int y) { Click(x + 120, y + 22); }
  // A button of the configuration at its place (relative to the message window when inWindow).
  void ClickConfigured(const char* file, int x, int y, bool inWindow = false);
  void HoldSkip(bool on);
  uint32_t Pixel(int x, int y) const;
  void CollectLog();

  const ScopedTempDir& m_folder;
  const platform::Console& m_console;
  std::vector<std::string> m_script;  // the lines as loaded, without their line ends
  std::vector<Step> m_steps;
  size_t m_step = 0;
  int m_framesInStep = 0;
  int m_frame = 0;
  // The script's place at the end of the last frame, and for how many frames it has stood there.
  int32_t m_token = 0;
  int m_line = 0;
  int m_still = 0;
  int m_completedPage = 0;                    // the page whose text the player completed with a click
  std::deque<std::function<void()>> m_input;  // one action a frame
  std::vector<uint32_t> m_front;
  int m_width = 0, m_height = 0;
  Captures m_captures;
  std::string m_printed;
  int m_quickSavePages = 0;
  bool m_onQuickSavePage = false;
  std::vector<std::string> m_log;  // the message log as the last frame left it
  std::vector<std::string> m_logLines;
};
