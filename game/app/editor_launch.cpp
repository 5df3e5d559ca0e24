#include "game/app/editor_launch.h"

#include <memory>

#include "sdk/framework/editor_process_factory.h"

std::string EditorCommandLine(std::string_view scriptPath, int line) {
  return std::string(scriptPath) + " -Y=" + std::to_string(line);
}

bool LaunchEditor(const CEditorProcessFactory& factory, HINSTANCE instance, std::string_view scriptPath, int line) {
  std::unique_ptr<CProcessBase> process;
  try {
    process = factory.Create(instance, EditorCommandLine(scriptPath, line).c_str());
  } catch (...) {
    // The editor reports its own failures; whatever escapes it must not end the game.
    return false;
  }
  if (!process) return false;
  process->Run();
  return true;
}
