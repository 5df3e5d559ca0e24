#include "editor/foundation/settings/dll_loader.h"

#include <cstring>
#include <map>
#include <string>

#include "platform/dynlib.h"
#include "platform/path.h"

namespace {

enum class Where {
  kBesideExecutable,
  kInstalled,  // on the system's library search path
};

struct ModuleFile {
  const char* moduleName;
  const char* file;  // null when nothing stands for it here
  Where where;
};

constexpr ModuleFile kModuleFiles[] = {
    {"BREGEXP.DLL", "tovara_regexp.so", Where::kBesideExecutable},
    {"HHCTRL.OCX", nullptr, Where::kBesideExecutable},
    {"PPA.DLL", nullptr, Where::kBesideExecutable},
    {"migemo.dll", "libmigemo.so.1", Where::kInstalled},
};

std::map<std::string, std::string>& Overrides() {
  static std::map<std::string, std::string> overrides;
  return overrides;
}

// The library a module name stands for; null when there is none.
std::unique_ptr<platform::DynLib> OpenModule(const char* moduleName) {
  std::string file;
  if (auto it = Overrides().find(moduleName); it != Overrides().end()) {
    file = it->second;
  } else if (std::strchr(moduleName, '/')) {
    file = moduleName;
  } else {
    for (const ModuleFile& m : kModuleFiles) {
      if (std::strcmp(m.moduleName, moduleName) != 0) continue;
      if (!m.file) return nullptr;
      if (m.where == Where::kInstalled) return platform::DynLib::OpenInstalled(m.file);
      std::string exe;
      if (!platform::ExactModuleFileName(exe)) return nullptr;
      const size_t slash = exe.rfind('/');
      if (slash == std::string::npos) return nullptr;
      file = exe.substr(0, slash + 1) + m.file;
      break;
    }
  }
  if (file.empty()) return nullptr;
  return platform::DynLib::Open(file, platform::PathMode::kExact);
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
  m_hInstance = OpenModule(name);
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
