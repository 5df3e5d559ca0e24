#include "game/app/editor_launch.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "game/script/message_log.h"
#include "platform/path.h"
#include "platform/sjis_literal.h"
#include "sdk/framework/editor_process_factory.h"
#include "sdk/framework/path_functions.h"

bool EditorScriptName(std::string_view scriptPath, std::string& name) {
  std::string host = platform::ResolveHostPath(CanonicalizePath(scriptPath));
  if (host.empty()) return false;
  if (host.front() != '/') {
    // The game's own folder could not be spelled; the process's tells the same place.
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(host, error);
    if (error) return false;
    host = absolute.lexically_normal().string();
  }
  std::string exact;
  if (!platform::ExactPathFromHost(host, exact)) return false;
  name = EditorCommandToken(exact);
  return true;
}

std::string EditorCommandLine(std::string_view editorName, int line) {
  return std::string(editorName) + " -Y=" + std::to_string(line);
}

bool LaunchEditor(const CEditorProcessFactory& factory, HINSTANCE instance, std::string_view scriptPath, int line) {
  std::string name;
  if (!EditorScriptName(scriptPath, name)) {
    // A lossy spelling would open some other file in the editor.
    DebugPrint("%.*s のパスはShift-JISで表せない文字を含むため、エディタで開きません。"_sj,
               static_cast<int>(scriptPath.size()), scriptPath.data());
    return false;
  }
  std::unique_ptr<CProcessBase> process;
  try {
    process = factory.Create(instance, EditorCommandLine(name, line).c_str());
  } catch (...) {
    // The editor reports its own failures; whatever escapes it must not end the game.
    return false;
  }
  if (!process) return false;
  try {
    process->Run();
  } catch (...) {
    // As above: the game goes on without its editor.
    return false;
  }
  return true;
}
