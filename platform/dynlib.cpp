#include "platform/dynlib.h"

#include <dlfcn.h>
#include <string>

#include "platform/path.h"

namespace platform {

std::unique_ptr<DynLib> DynLib::Open(std::string_view path, PathMode mode) {
  if (path.empty()) return nullptr;
  if (mode == PathMode::kExact) {
    std::string host;
    if (!ExactHostPath(path, host)) return nullptr;
    // A name without "/" would be searched for on the system's library path.
    if (host.find('/') == std::string::npos) host = "./" + host;
    void* handle = dlopen(host.c_str(), RTLD_NOW | RTLD_LOCAL);
    return handle ? std::unique_ptr<DynLib>(new DynLib(handle)) : nullptr;
  }
  std::string program(path);
  if (program.front() != '/') {
    // dlopen would search the system's library path for a bare name; a plug-in comes from here.
    std::string current;
    if (!CurrentDirectory(current)) return nullptr;
    program = current + program;
  }
  void* handle = dlopen(ResolveHostPath(program).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) return nullptr;
  return std::unique_ptr<DynLib>(new DynLib(handle));
}

std::unique_ptr<DynLib> DynLib::OpenInstalled(std::string_view fileName) {
  // A NUL would end the name early and load some other library.
  if (fileName.empty() || fileName.find_first_of(std::string_view("/\0", 2)) != std::string_view::npos) return nullptr;
  const std::string name(fileName);
  void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  return handle ? std::unique_ptr<DynLib>(new DynLib(handle)) : nullptr;
}

DynLib::~DynLib() { dlclose(m_handle); }

void* DynLib::Symbol(const char* name) const { return dlsym(m_handle, name); }

}  // namespace platform
