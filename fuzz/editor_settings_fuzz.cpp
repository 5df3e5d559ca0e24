// The settings file read into a fresh record: whatever it holds, the record written and read again
// must give the same file.
//
// The file written depends on nothing but the record, so each record is checked once: the record
// of defaults is made at start and each load begins from a copy of it in a record kept for the
// whole run; a record loaded before (the one of a file that sets nothing, checked at start, above
// all) is not written again, known by its hash; otherwise it is written and the file read back
// into a second record, and only when the two records differ is the second written again and the
// two files compared.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "editor/foundation/settings/share_data.h"
#include "fuzz_support.h"

namespace {

// The hashes of the records checked, in a table made once: an input that allocates more than it
// frees is run again for a leak check, which would double the cost of every new record.
class HashSet {
 public:
  HashSet() : m_slots(kSlots, kFree) {}
  // False when the hash is held already; the table starts again when it is half full.
  bool Insert(size_t hash) {
    if (hash == kFree) hash = 1;
    if (m_count >= kSlots / 2) {
      std::fill(m_slots.begin(), m_slots.end(), kFree);
      m_count = 0;
    }
    for (size_t i = hash & (kSlots - 1);; i = (i + 1) & (kSlots - 1)) {
      if (m_slots[i] == hash) return false;
      if (m_slots[i] == kFree) {
        m_slots[i] = hash;
        ++m_count;
        return true;
      }
    }
  }

 private:
  static constexpr size_t kSlots = size_t{1} << 18;
  static constexpr size_t kFree = 0;
  std::vector<size_t> m_slots;
  size_t m_count = 0;
};

class SettingsFuzzEngine {
 public:
  SettingsFuzzEngine()
      : m_folder(fuzz::Environment()),
        m_defaults(std::make_unique<SharedSettings>()),
        m_record(std::make_unique<SharedSettings>()),
        m_again(std::make_unique<SharedSettings>()) {
    CShareData::InitDefaults(*m_defaults);
  }

  // The file read into the record, or into the second one.
  bool Load(const std::string& name) { return LoadInto(*m_record, name); }
  bool LoadAgain(const std::string& name) { return LoadInto(*m_again, name); }
  bool Save(const std::string& name) { return SaveFrom(*m_record, name); }
  bool SaveAgain(const std::string& name) { return SaveFrom(*m_again, name); }
  bool SameRecords() const { return std::memcmp(m_record.get(), m_again.get(), sizeof(SharedSettings)) == 0; }
  void KeepRecordOfEmptyFile() { m_emptyHash = RecordHash(); }
  // False when a record with the same bytes was checked before: the one of a file that sets
  // nothing, or another.
  bool NewRecord() {
    const size_t hash = RecordHash();
    return hash != m_emptyHash && m_checked.Insert(hash);
  }

  std::string Read(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

 private:
  bool LoadInto(SharedSettings& record, const std::string& name) {
    std::memcpy(static_cast<void*>(&record), m_defaults.get(), sizeof(SharedSettings));
    m_share.Attach(&record);
    return m_share.IOSettings(true, File(name));
  }
  bool SaveFrom(SharedSettings& record, const std::string& name) {
    m_share.Attach(&record);
    return m_share.IOSettings(false, File(name));
  }
  size_t RecordHash() const {
    return std::hash<std::string_view>{}({reinterpret_cast<const char*>(m_record.get()), sizeof(SharedSettings)});
  }
  std::string File(const std::string& name) const { return m_folder.File(name); }

  const ScopedTempDir& m_folder;
  std::unique_ptr<SharedSettings> m_defaults;
  std::unique_ptr<SharedSettings> m_record;
  std::unique_ptr<SharedSettings> m_again;
  CShareData m_share;
  size_t m_emptyHash = 0;
  HashSet m_checked;
};

// The record just loaded, written and read again, gives the same file.
void CheckRoundTrip(SettingsFuzzEngine& engine) {
  if (!engine.Save("first.ini")) __builtin_trap();
  if (!engine.LoadAgain("first.ini")) __builtin_trap();
  if (engine.SameRecords()) return;
  if (!engine.SaveAgain("second.ini") || engine.Read("first.ini") != engine.Read("second.ini")) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 18)) return 0;
  static SettingsFuzzEngine* engine = [] {
    auto* made = new SettingsFuzzEngine();
    fuzz::WriteFile("in.ini", {});
    if (!made->Load("in.ini")) __builtin_trap();
    made->KeepRecordOfEmptyFile();
    CheckRoundTrip(*made);
    return made;
  }();
  fuzz::WriteFile("in.ini", std::span(data, size));
  if (!engine->Load("in.ini")) __builtin_trap();
  if (engine->NewRecord()) CheckRoundTrip(*engine);
  return 0;
}
