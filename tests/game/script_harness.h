// A headless run of the script interpreter for tests: loads a script from a string into a freshly
// started engine and steps it frame by frame as the frame loop does, without a window.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "game/config.h"
#include "game/frame_input.h"
#include "game/script_executor.h"
#include "game/script_tokens.h"
#include "platform/console.h"

class CScriptApp;
class CMemPlane;
struct ScreenFades;

// The terminal of a headless run: lines the test types, each readable after the given number of
// reads (INPUT reads once a frame), and what the program wrote. With nothing typed, the input is
// at its end unless the test holds it open.
class ScriptConsole : public platform::Console {
 public:
  platform::ConsoleRead ReadLine(std::string& line) override;
  void Write(std::string_view text) override { written += text; }

  void Type(std::string_view line, int readsLate = 0) { m_lines.push_back({std::string(line), readsLate}); }
  void HoldOpen(bool open) { m_open = open; }

  std::string written;
  int reads = 0;

 private:
  struct Typed {
    std::string line;
    int readsLate;
  };
  std::deque<Typed> m_lines;
  bool m_open = false;
};

class ScriptHarness {
 public:
  // A fresh engine: empty message log, engine state zeroed, keywords entered, the free-entry cursor
  // back at its start, no script. Quit requests and the system-screen question are answered here.
  ScriptHarness();
  ~ScriptHarness();
  ScriptHarness(const ScriptHarness&) = delete;
  ScriptHarness& operator=(const ScriptHarness&) = delete;

  // Loads the bytes as the script (write CR LF line ends, or pass the text through CrLf) and marks
  // it running, as the game does after loading its script.
  void Load(std::string_view script, std::string_view name = "test.txt");
  // Steps the script for the given frames; a frame in which the script is not running steps nothing.
  void Step(int frames = 1);

  // The value of a variable or array element by its stored name ("A", "A(1,2)"); nothing is created.
  std::optional<double> Var(std::string_view name) const;
  // The message log's lines, oldest first.
  std::vector<std::string> Log() const;
  // The line of the current token, as a snapshot would record it.
  int32_t CurrentLine() const;
  int32_t Token() const;
  bool Running() const;
  int QuitRequests() const;  // quit requests made since the harness was made
  void SetSystemScreenOpen(bool open);
  // The statements handed to their handlers since the harness was made, by token.
  int Dispatches(int32_t token) const;
  // The black and white fades.
  const ScreenFades& Fades() const;
  // The scene gallery's entries, key and thumbnail name, and whether it is showing.
  std::vector<std::pair<std::string, std::string>> GalleryList() const;
  bool GalleryActive() const;
  // The terminal INPUT reads from and writes to.
  ScriptConsole& Console() { return m_console; }

  // Whole frames of the game's own frame routine, drawn offscreen into a screen of the configured
  // size: the input given holds for the first frame; the later ones keep the cursor and the held
  // keys without new edges. The configuration is restored when the harness goes.
  void Frame(int frames = 1, const FrameInputState& input = {});
  void SetFps(int fps) { Config.fps = fps; }
  // Makes the game object the running one with its system interface and tool tip, as the game's
  // start-up does; the frames then draw the interface too. Make the text boxes first.
  void StartSystemInterface();
  CMemPlane* Screen() const { return m_screen.get(); }
  // The game object of Frame; null before the first frame.
  CScriptApp* App() const { return m_app.get(); }

 private:
  void MakeApp();

  GameConfig m_savedConfig;
  ScriptConsole m_console;
  platform::Console* m_savedConsole = nullptr;
  std::unique_ptr<CScriptApp> m_app;
  std::unique_ptr<CMemPlane> m_screen;
};

// Gives back what the game gives back at exit (text boxes, buttons, backlog, layers, sound): a run
// that used any command calls it before the next run, and before the program ends.
void ReleaseGameModules();

// The text with every "\n" turned into CR LF.
std::string CrLf(std::string_view text);

// The message-log line of a script error.
std::string ErrorLine(int line, std::string_view message, std::string_view text, std::string_view script = "test.txt");

// Every command family's handlers for the life of the object; the other tests of the program see the
// table as they found it.
class ScopedCommands {
 public:
  ScopedCommands();
  ~ScopedCommands();
  ScopedCommands(const ScopedCommands&) = delete;
  ScopedCommands& operator=(const ScopedCommands&) = delete;

 private:
  std::array<ScriptHandler, kLastStatementToken - kFirstStatementToken + 1> m_saved{};
};

// Replaces one statement handler for the life of the object.
class ScopedScriptHandler {
 public:
  ScopedScriptHandler(int32_t token, ScriptHandler handler);
  ~ScopedScriptHandler();
  ScopedScriptHandler(const ScopedScriptHandler&) = delete;
  ScopedScriptHandler& operator=(const ScopedScriptHandler&) = delete;

 private:
  int32_t m_token;
  ScriptHandler m_previous;
};
