// The one executable: without arguments it plays the game in the current folder; with an editor
// command line (any argument) or under the editor's name it is the editor.
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

#include "editor/shell/process/editor_start.h"
#include "editor/shell/process/launch_arguments.h"
#include "game/app/win_main.h"
#include "platform/bench_bare_window.h"
#include "platform/font_config_preload.h"
#include "platform/gui_app.h"
#include "platform/quit_signal.h"
#include "platform/ready_pipe.h"
#include "platform/sdl_preload.h"

namespace {

// There is one module; its handle is a token that the code passing it on never looks into.
int moduleToken = 0;

bool IsEditorCommandLine(int argc, char** argv) {
  if (argc > 1) return true;
  std::string_view self = argc > 0 && argv[0] ? argv[0] : "";
  size_t slash = self.rfind('/');
  if (slash != std::string_view::npos) self.remove_prefix(slash + 1);
  return self == "tovara";
}

int RunEditor(int argc, char** argv) {
  const std::string commandLine = JoinEditorArguments(std::span<const char* const>(argv, static_cast<size_t>(argc)));
  return RunEditorCommandLine(&moduleToken, commandLine.c_str(), stderr);
}

}  // namespace

int main(int argc, char** argv) {
  // Before any thread runs: it changes the environment.
  platform::AdoptReadyPipe();
  const bool editor = IsEditorCommandLine(argc, argv);
  // Their loading runs beside the toolkit's start.
  if (!editor) platform::StartOpeningSdl();
  platform::StartLoadingFontConfig();
  // Owned here, so that the toolkit is torn down before the exit handlers run.
  platform::GuiApp gui;
  // The start-up benchmark's baseline: this executable up to its application object, then an empty
  // window.
  if (platform::BareWindowRequested()) {
    platform::RunBareWindow();
    return 0;
  }
  platform::InstallQuitSignals();
  PrepareEditor();
  if (editor) return RunEditor(argc, argv);
  static char commandLine[] = "";
  return WinMain(&moduleToken, nullptr, commandLine, 1);
}
