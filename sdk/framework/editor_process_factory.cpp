#include "sdk/framework/editor_process_factory.h"

#include <utility>

namespace {
EditorProcessCreator& Creator() {
  static EditorProcessCreator creator;
  return creator;
}
}  // namespace

std::unique_ptr<CProcessBase> CEditorProcessFactory::Create(HINSTANCE instance, const char* commandLine) const {
  const EditorProcessCreator& creator = Creator();
  return creator ? creator(instance, commandLine) : nullptr;
}

void SetEditorProcessCreator(EditorProcessCreator creator) { Creator() = std::move(creator); }

std::string EditorCommandToken(std::string_view name) {
  if (name.find(' ') == std::string_view::npos) return std::string(name);
  std::string token = "\"";
  for (const char c : name) {
    token += c;
    if (c == '"') token += '"';
  }
  return token + '"';
}
