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
