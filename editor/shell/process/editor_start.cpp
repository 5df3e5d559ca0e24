#include "editor/shell/process/editor_start.h"

#include <exception>
#include <memory>

#include "sdk/framework/editor_process_factory.h"

#include "editor/shell/process/control_tray.h"
#include "editor/shell/process/grep_mode.h"
#include "editor/shell/process/process_edit_window.h"
#include "editor/shell/process/process_factory.h"
#include "editor/shell/process/resident_process.h"
#include "editor/shell/commands/editor_icon_strip.h"
#include "editor/shell/window/edit_menu_bar.h"
#include "editor/view/pane/doc_views.h"
#include "platform/menu.h"

void PrepareEditor() {
  RegisterEditMenuResource();
  RegisterTrayMenuResource();
  RegisterExitingNoticeTemplate();
  RegisterEditorAppIcon();
  platform::UseMenuBars();
  InstallDocViews();
  EditorProcessSetup setup;
  setup.makeWindow = MakeProcessEditWindow;
  setup.grep = std::make_shared<CGrepModeRunner>();
  InstallEditorProcessFactory(std::move(setup));
}

int RunEditorCommandLine(HINSTANCE instance, const char* commandLine, std::FILE* errors) {
  try {
    std::unique_ptr<CProcessBase> process = CEditorProcessFactory().Create(instance, commandLine);
    if (process) process->Run();
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(errors, "tovara: the editor stopped on an unexpected error: %s\n", error.what());
  } catch (...) {
    std::fputs("tovara: the editor stopped on an unexpected error\n", errors);
  }
  std::fflush(errors);
  return 1;
}
