// The one executable: without arguments it plays the game in the current folder; with an editor
// command line (any argument) or under the editor's name it is the editor.
#include <cstdio>
#include <string>
#include <string_view>

#include "game/app/win_main.h"
#include "platform/font_config_preload.h"
#include "platform/gui_app.h"
#include "platform/quit_signal.h"
#include "platform/ready_pipe.h"
#include "platform/sdl_preload.h"

namespace {

constexpr int kEditorMissingStatus = 2;

bool IsEditorCommandLine(int argc, char** argv) {
  if (argc > 1) return true;
  std::string_view self = argc > 0 && argv[0] ? argv[0] : "";
  size_t slash = self.rfind('/');
  if (slash != std::string_view::npos) self.remove_prefix(slash + 1);
  return self == "tovara";
}

}  // namespace

int main(int argc, char** argv) {
  // Before any thread runs: it changes the environment.
  platform::AdoptReadyPipe();
  if (IsEditorCommandLine(argc, argv)) {
    std::fprintf(stderr,
                 "tovara: the script editor is not part of this build yet; "
                 "start the program without arguments to play the game in the current folder.\n");
    return kEditorMissingStatus;
  }
  // Their loading runs beside the toolkit's start.
  platform::StartOpeningSdl();
  platform::StartLoadingFontConfig();
  // Owned here, so that the toolkit is torn down before the exit handlers run.
  platform::GuiApp gui;
  platform::InstallQuitSignals();
  static char commandLine[] = "";
  // There is one module; its handle is a token that the code passing it on never looks into.
  static int moduleToken = 0;
  return WinMain(&moduleToken, nullptr, commandLine, 1);
}
