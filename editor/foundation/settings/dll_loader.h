// Optional libraries that the editor loads when first needed instead of linking them. Each wrapper
// derives from CDllLoader, names its library and binds its entry points; the base owns the library
// and the order of loading, binding and releasing.
//
// The editor names libraries by their module names ("BREGEXP.DLL"); one table maps each to the
// file that stands for it in the executable's folder, or to none when nothing does here. The one
// library that is installed with the system rather than shipped with the program is found by the
// dynamic linker; every other comes from its exact file. A name holding "/" is such a file: a
// library the user names by its path.
#pragma once

#include <memory>

namespace platform {
class DynLib;
}

class CDllLoader {
 public:
  CDllLoader();
  virtual ~CDllLoader();
  CDllLoader(const CDllLoader&) = delete;
  CDllLoader& operator=(const CDllLoader&) = delete;

  virtual bool IsAvailable() const;
  // 0 when loaded (now or before); -1 when the wrapper names no library; -2 when the library is
  // not there or does not load; otherwise InitDll's code, and the library is released again.
  int Load(const char* arg = nullptr);
  // 0 when nothing is loaded; otherwise DeinitDll's result, and the library is released when that
  // was 0 or when forced.
  int Unload(bool force);

  // Points a module name at another file (an exact path), or back at the table's file with null.
  // For tests and for libraries the user names.
  static void SetModuleFile(const char* moduleName, const char* path);

 protected:
  // Binds the entry points: 0 on success or a nonzero failure code.
  virtual int InitDll() = 0;
  // Nonzero keeps the library loaded unless the release is forced.
  virtual int DeinitDll();
  // The module name to load for Load's argument, or null.
  virtual const char* GetDllName(const char* arg) = 0;

  struct ImportEntry {
    void* member;  // address of a function-pointer member; null ends the table
    const char* name;
  };
  // Looks up every export of the table into its member; false at the first missing one (the
  // members bound before it keep their values).
  bool BindEntryPoints(const ImportEntry* table);
  void* GetProcAddress(const char* name) const;

 private:
  std::unique_ptr<platform::DynLib> m_hInstance;
};
