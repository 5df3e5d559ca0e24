#include "editor/shell/process/launch_arguments.h"

#include <string_view>

#include "editor/foundation/text/show_message_box.h"
#include "platform/path.h"
#include "platform/sjis.h"
#include "platform/sjis_literal.h"
#include "sdk/framework/editor_process_factory.h"

namespace {

// The argument as one token of the editor's grammar; an option or a quoted text is one already.
std::string AsToken(const std::string& arg) {
  if (arg[0] == '-' || arg[0] == '"') return arg;
  return EditorCommandToken(arg);
}

}  // namespace

std::string JoinEditorArguments(std::span<const char* const> args) {
  if (args.size() >= 2 && args[1] && std::string_view(args[1]) == kEditorLaunchMarker) {
    return args.size() >= 3 && args[2] ? std::string(args[2]) : std::string();
  }
  std::string text;
  std::string refused;
  for (size_t i = 1; i < args.size(); ++i) {
    if (!args[i] || !*args[i]) continue;
    // Exactly, or not at all: a lossy spelling would name another file.
    std::string sjis;
    if (!platform::ExactPathFromHost(args[i], sjis)) {
      refused += "\r\n\"" + platform::Utf8ToSjis(args[i]) + "\"";
      continue;
    }
    if (!text.empty()) text += ' ';
    text += AsToken(sjis);
  }
  if (!refused.empty()) {
    ShowMessageBox(nullptr, MB_OK | MB_ICONEXCLAMATION, "tovara",
                   "次の引数はShift-JISで表せない文字を含むため、使いません。%s"_sj, refused.c_str());
  }
  return text;
}
