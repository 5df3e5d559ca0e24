#include "editor/foundation/settings/dll_loader.h"

#include <cstring>
#include <map>
#include <string>

#include "platform/dynlib.h"
#include "platform/path.h"

namespace {

struct ModuleFile {
  const char* moduleName;
  const char* file;  // in the executable's folder; null when nothing stands for it here
};

constexpr ModuleFile kModuleFiles[] = {
    {"BREGEXP.DLL", "tovara_regexp.so"},
    {"HHCTRL.OCX", nullptr},
    {"PPA.DLL", nullptr},
};

std::map<std::string, std::string>& Overrides() {
  static std::map<std::string, std::string> overrides;
  return overrides;
}

// The exact path of the file for a module name; empty when there is none.
std::string FileForModule(const char* moduleName) {
  if (auto it = Overrides().find(moduleName); it != Overrides().end()) return it->second;
  for (const ModuleFile& m : kModuleFiles) {
    if (std::strcmp(m.moduleName, moduleName) != 0) continue;
    std::string exe;
    if (!m.file || !platform::ExactModuleFileName(exe)) return {};
    const size_t slash = exe.rfind('/');
    if (slash == std::string::npos) return {};
    return exe.substr(0, slash + 1) + m.file;
  }
  return {};
}

}  // namespace

CDllLoader::CDllLoader() = default;

CDllLoader::~CDllLoader() { Unload(true); }

bool CDllLoader::IsAvailable() const { return m_hInstance != nullptr; }

void CDllLoader::SetModuleFile(const char* moduleName, const char* path) {
  if (!moduleName) return;
  if (path) {
    Overrides()[moduleName] = path;
  } else {
    Overrides().erase(moduleName);
  }
}

int CDllLoader::Load(const char* arg) {
  if (m_hInstance) return 0;
  const char* name = GetDllName(arg);
  if (!name) return -1;
  const std::string file = FileForModule(name);
  if (file.empty()) return -2;
  m_hInstance = platform::DynLib::Open(file, platform::PathMode::kExact);
  if (!m_hInstance) return -2;
  const int result = InitDll();
  if (result != 0) m_hInstance.reset();
  return result;
}

int CDllLoader::Unload(bool force) {
  if (!m_hInstance) return 0;
  const int result = DeinitDll();
  if (result == 0 || force) m_hInstance.reset();
  return result;
}

int CDllLoader::DeinitDll() { return 0; }

void* CDllLoader::GetProcAddress(const char* name) const { return m_hInstance ? m_hInstance->Symbol(name) : nullptr; }

bool CDllLoader::BindEntryPoints(const ImportEntry* table) {
  for (const ImportEntry* entry = table; entry && entry->member; ++entry) {
    void* address = GetProcAddress(entry->name);
    if (!address) return false;
    // Function and object pointers have one size and form here, as the dynamic loader relies on.
    std::memcpy(entry->member, &address, sizeof(address));
  }
  return true;
}
