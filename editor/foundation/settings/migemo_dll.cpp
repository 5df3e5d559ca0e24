#include "editor/foundation/settings/migemo_dll.h"

#include <cstring>

#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/editor_path.h"
#include "platform/file.h"
#include "platform/path.h"

namespace {

CMigemoDll* g_pMigemoDll = nullptr;

// A text field of the common settings, read no further than the field.
template <size_t N>
std::string SettingText(const char (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

// A path of the settings: absolute as it stands, else taken from the executable's folder (empty
// when that folder cannot be told: the current folder is never meant).
std::string FromExecutableFolder(const std::string& path) {
  if (path[0] == '/') return path;
  const std::string folder = CShareData::ExecutableFolder();
  return folder.empty() ? std::string() : folder + path;
}

const CommonSettings* Settings() {
  const CShareData* share = CShareData::GetInstance();
  const SharedSettings* record = share ? share->GetShareData() : nullptr;
  return record ? &record->Common : nullptr;
}

bool IsFolder(const std::string& path) {
  platform::PathStatus status;
  return platform::StatPath(path, platform::PathMode::kExact, status) && status.folder;
}

}  // namespace

CMigemoDll* GetMigemoDll() { return g_pMigemoDll; }

CMigemoDll::CMigemoDll() { g_pMigemoDll = this; }

CMigemoDll::~CMigemoDll() {
  // The base's release would no longer reach this class's DeinitDll.
  Unload(true);
  if (g_pMigemoDll == this) g_pMigemoDll = nullptr;
}

const char* CMigemoDll::GetDllName(const char*) {
  const CommonSettings* settings = Settings();
  const std::string set = settings ? SettingText(settings->szMigemoDll) : std::string();
  m_dllName = set.empty() ? std::string("migemo.dll") : FromExecutableFolder(set);
  return m_dllName.c_str();
}

void CMigemoDll::ClearEntryPoints() {
  m_migemo_open = nullptr;
  m_migemo_close = nullptr;
  m_migemo_query = nullptr;
  m_migemo_release = nullptr;
  m_migemo_set_operator = nullptr;
  m_migemo_get_operator = nullptr;
  m_migemo_setproc_char2int = nullptr;
  m_migemo_setproc_int2char = nullptr;
  m_migemo_load = nullptr;
  m_migemo_is_enable = nullptr;
}

int CMigemoDll::InitDll() {
  const ImportEntry entries[] = {
      {&m_migemo_open, "migemo_open"},
      {&m_migemo_close, "migemo_close"},
      {&m_migemo_query, "migemo_query"},
      {&m_migemo_release, "migemo_release"},
      {&m_migemo_set_operator, "migemo_set_operator"},
      {&m_migemo_get_operator, "migemo_get_operator"},
      {&m_migemo_setproc_char2int, "migemo_setproc_char2int"},
      {&m_migemo_setproc_int2char, "migemo_setproc_int2char"},
      {&m_migemo_load, "migemo_load"},
      {&m_migemo_is_enable, "migemo_is_enable"},
      {nullptr, nullptr},
  };
  if (!BindEntryPoints(entries)) {
    // The library goes away again: nothing may be left pointing into it.
    ClearEntryPoints();
    return 1;
  }
  m_pMigemo = m_migemo_open(nullptr);
  if (!m_pMigemo) {
    ClearEntryPoints();
    return 2;
  }
  return 0;
}

int CMigemoDll::DeinitDll() {
  if (m_pMigemo && m_migemo_close && IsAvailable()) m_migemo_close(m_pMigemo);
  m_pMigemo = nullptr;
  ClearEntryPoints();
  return 0;
}

bool CMigemoDll::IsEnabled() const { return IsOpen() && m_migemo_is_enable(m_pMigemo) != 0; }

std::string CMigemoDll::DictionaryFolder() const {
  const CommonSettings* settings = Settings();
  const std::string set = settings ? SettingText(settings->szMigemoDict) : std::string();
  if (!set.empty()) return FromExecutableFolder(set);
  const std::string beside = FromExecutableFolder("dict");
  return !beside.empty() && IsFolder(beside) ? beside : std::string(kInstalledDictionaryFolder);
}

void CMigemoDll::LoadDictionaries() {
  if (!IsOpen() || IsEnabled()) return;
  std::string folder = DictionaryFolder();
  if (folder.empty()) return;
  AddTrailingBackslash(folder);
  static constexpr struct {
    int id;
    const char* file;
  } kDictionaries[] = {
      {kDictionaryMigemo, "migemo-dict"},
      {kDictionaryHanToZen, "han2zen.dat"},
      {kDictionaryHiraToKata, "hira2kata.dat"},
      {kDictionaryRomaToHira, "roma2hira.dat"},
  };
  for (const auto& dictionary : kDictionaries) {
    // The library opens the file by the system's spelling of the name; a folder Shift-JIS names
    // but the system cannot spell loads nothing rather than some other file.
    std::string hostPath;
    if (!platform::ExactHostPath(folder + dictionary.file, hostPath)) continue;
    m_migemo_load(m_pMigemo, dictionary.id, hostPath.c_str());
  }
}

char* CMigemoDll::Query(const char* key) {
  if (!IsOpen() || !key) return nullptr;
  return reinterpret_cast<char*>(m_migemo_query(m_pMigemo, reinterpret_cast<const unsigned char*>(key)));
}

void CMigemoDll::ReleaseResult(char* text) {
  if (!IsOpen() || !text) return;
  m_migemo_release(m_pMigemo, reinterpret_cast<unsigned char*>(text));
}
