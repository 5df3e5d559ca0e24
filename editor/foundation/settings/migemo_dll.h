// Romaji search through the outside Migemo library "migemo.dll" (here the system's installed
// library): a key typed in romaji becomes a regular expression that also matches its hiragana,
// katakana and kanji. Incremental search is its only user. One instance belongs to each edit-window
// process and is reachable through GetMigemoDll.
//
// The library takes and gives Shift-JIS when its dictionaries are the Shift-JIS ones, so keys and
// expressions pass through unconverted.
#pragma once

#include <string>

#include "editor/foundation/settings/dll_loader.h"

// The library's entry points, declared as this program calls them.
extern "C" {
struct MigemoObject;
using MigemoOpenFunc = MigemoObject* (*)(const char* dictionary);
using MigemoCloseFunc = void (*)(MigemoObject* object);
using MigemoQueryFunc = unsigned char* (*)(MigemoObject* object, const unsigned char* query);
using MigemoReleaseFunc = void (*)(MigemoObject* object, unsigned char* text);
using MigemoSetOperatorFunc = int (*)(MigemoObject* object, int index, const unsigned char* op);
using MigemoGetOperatorFunc = const unsigned char* (*)(MigemoObject* object, int index);
using MigemoCharToIntProc = int (*)(const unsigned char* text, unsigned int* code);
using MigemoIntToCharProc = int (*)(unsigned int code, unsigned char* text);
using MigemoSetprocCharToIntFunc = void (*)(MigemoObject* object, MigemoCharToIntProc proc);
using MigemoSetprocIntToCharFunc = void (*)(MigemoObject* object, MigemoIntToCharProc proc);
// The dictionary's id when it loaded, 0 when it did not.
using MigemoLoadFunc = int (*)(MigemoObject* object, int dictionaryId, const char* file);
using MigemoIsEnableFunc = int (*)(MigemoObject* object);
}

class CMigemoDll : public CDllLoader {
 public:
  // The dictionaries' ids in the library.
  static constexpr int kDictionaryMigemo = 1;
  static constexpr int kDictionaryRomaToHira = 2;
  static constexpr int kDictionaryHiraToKata = 3;
  static constexpr int kDictionaryHanToZen = 4;

  // Where the Shift-JIS dictionaries are installed with the system, used when no "dict" folder
  // stands beside the executable.
  static constexpr const char* kInstalledDictionaryFolder = "/usr/share/cmigemo/cp932";

  // The new object becomes the process's instance.
  CMigemoDll();
  ~CMigemoDll() override;

  // Whether the library says it has what it needs to answer queries (a word dictionary loaded);
  // false while it is not loaded.
  bool IsEnabled() const;
  // Loads the four dictionaries from the settings' folder, unless the library is enabled already.
  // Nothing while it is not loaded.
  void LoadDictionaries();
  // The regular expression for a key, to be given back through ReleaseResult; null while the
  // library is not loaded.
  char* Query(const char* key);
  void ReleaseResult(char* text);

  // The folder the dictionaries are read from: szMigemoDict (absolute, or taken from the
  // executable's folder), else "dict" beside the executable, else the installed dictionaries.
  std::string DictionaryFolder() const;

 protected:
  int InitDll() override;
  // Closes the Migemo object: the library's dictionaries go with it, not with the process.
  int DeinitDll() override;
  // szMigemoDll as a path (absolute, or taken from the executable's folder), else "migemo.dll".
  const char* GetDllName(const char* arg) override;

 private:
  void ClearEntryPoints();
  bool IsOpen() const { return IsAvailable() && m_pMigemo; }

  MigemoOpenFunc m_migemo_open = nullptr;
  MigemoCloseFunc m_migemo_close = nullptr;
  MigemoQueryFunc m_migemo_query = nullptr;
  MigemoReleaseFunc m_migemo_release = nullptr;
  MigemoSetOperatorFunc m_migemo_set_operator = nullptr;
  MigemoGetOperatorFunc m_migemo_get_operator = nullptr;
  MigemoSetprocCharToIntFunc m_migemo_setproc_char2int = nullptr;
  MigemoSetprocIntToCharFunc m_migemo_setproc_int2char = nullptr;
  MigemoLoadFunc m_migemo_load = nullptr;
  MigemoIsEnableFunc m_migemo_is_enable = nullptr;

  MigemoObject* m_pMigemo = nullptr;
  std::string m_dllName;
};

// The process's Migemo library: the instance made last and not yet destroyed; null when there is
// none.
CMigemoDll* GetMigemoDll();
