// How the game reaches the built-in editor: it asks the editor's process factory for a process
// object and runs it. The editor registers its factory when it is linked into the program; without
// it the factory makes nothing, so the game builds and runs on its own.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/win_types.h"

// One editor process (a resident control process or an edit window) run on the calling thread.
class CProcessBase {
 public:
  virtual ~CProcessBase() = default;
  // Initialises the process and, only when that succeeded, runs its message loop and its
  // finishing step; returns whether the initialisation succeeded. Returns when the editor closes.
  virtual bool Run() = 0;
};

class CEditorProcessFactory {
 public:
  // A process object for the editor command line, or null on any failure (the editor reports its
  // own errors) and whenever no editor is linked in.
  std::unique_ptr<CProcessBase> Create(HINSTANCE instance, const char* commandLine) const;
};

// What the editor installs to serve CEditorProcessFactory::Create; an empty function removes it.
using EditorProcessCreator = std::function<std::unique_ptr<CProcessBase>(HINSTANCE, const char*)>;
void SetEditorProcessCreator(EditorProcessCreator creator);

// A file name as one token of the editor's command line, which splits at spaces outside double
// quotes: enclosed in double quotes, its own quotes doubled, when it holds a space; else as it is.
std::string EditorCommandToken(std::string_view name);
