// Optional plug-in libraries, loaded at run time. A library that is not there is simply not
// loaded; the caller takes its own failure path.
#pragma once

#include <memory>
#include <string_view>

#include "platform/path.h"

namespace platform {

class DynLib {
 public:
  // Loads the shared library at a program path (Shift-JIS, "\" or "/" between levels, letters'
  // case looked up as files are); a relative path is taken from the process's current directory,
  // never from the system's library search path. With kExact the path is taken exactly (see
  // path.h) and a refused path loads nothing. Null when it cannot be loaded.
  static std::unique_ptr<DynLib> Open(std::string_view path, PathMode mode = PathMode::kLookup);
  // Loads a library installed on the system by its file name ("libname.so.1"), which the dynamic
  // linker looks for on the system's library search path. Null for a name holding "/", or when the
  // library is not installed or does not load.
  static std::unique_ptr<DynLib> OpenInstalled(std::string_view fileName);
  ~DynLib();
  DynLib(const DynLib&) = delete;
  DynLib& operator=(const DynLib&) = delete;

  // The address of an exported symbol, null when the library has none of that name.
  void* Symbol(const char* name) const;

 private:
  explicit DynLib(void* handle) : m_handle(handle) {}
  void* m_handle;
};

}  // namespace platform
