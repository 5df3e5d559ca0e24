#include "platform/dynlib.h"

#include <dlfcn.h>
#include <unistd.h>

#include <string>

#include "platform/sjis.h"

namespace platform {

std::unique_ptr<DynLib> DynLib::Open(std::string_view path) {
  if (path.empty()) return nullptr;
  std::string host = SjisToUtf8(path);
  for (char& c : host) {
    if (c == '\\') c = '/';
  }
  if (host.front() != '/') {
    // dlopen would search the library path for a bare name; the plug-in must come from here.
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd)) return nullptr;
    host = std::string(cwd) + "/" + host;
  }
  void* handle = dlopen(host.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) return nullptr;
  return std::unique_ptr<DynLib>(new DynLib(handle));
}

DynLib::~DynLib() { dlclose(m_handle); }

void* DynLib::Symbol(const char* name) const { return dlsym(m_handle, name); }

}  // namespace platform
