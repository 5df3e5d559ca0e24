// A save file through the load, from the target's folder. The input is written as a slot file and
// loaded. A file of any size but one is refused at once, so an input shorter than a save is also laid
// over a good save (at the offset its first four bytes give) and that file is loaded too: the checks
// of every field are reached from small inputs.
//
// The good save stays in memory for the whole run: an input is laid over it in place and the bytes
// it covered are put back after the load, so a run costs the load's checks and no copy, read or
// rewrite of the whole block.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <unistd.h>

#include "fuzz_support.h"
#include "game/script/engine_state.h"
#include "game/script/script_loader.h"
#include "game/system/save_file.h"
#include "game/system/script_buttons.h"
#include "game/text/backlog.h"
#include "game/text/text_box.h"

namespace {

constexpr int kWholeSlot = 1;

class SaveFuzzEngine {
 public:
  SaveFuzzEngine() {
    const ScopedTempDir& folder = fuzz::Environment();
    // The game runs in its own folder: the save files are looked for from the process's directory.
    if (chdir(folder.path().c_str()) != 0) std::abort();
    InitTextBoxes();
    InitButtons();
    InitBacklog();
    ResetScriptEngine();
    LoadScriptText("fuzz.txt", "A=1\r\nB=2\r\n");
    m_good = std::make_unique_for_overwrite<EngineStateRecord>();
    std::memcpy(static_cast<void*>(m_good.get()), &EngineStateSnapshot, sizeof(EngineStateRecord));
    m_patched = std::make_unique_for_overwrite<EngineStateRecord>();
    std::memcpy(static_cast<void*>(m_patched.get()), m_good.get(), sizeof(EngineStateRecord));
  }

  void LoadWhole(std::span<const uint8_t> bytes) {
    fuzz::WriteFile(SlotFile(kWholeSlot), bytes);
    LoadSaveFile(SaveSlotPath(kWholeSlot));
  }

  // The good save with the bytes laid over it from the offset on (as many as fit).
  void LoadPatched(size_t offset, std::span<const uint8_t> bytes) {
    auto* patched = reinterpret_cast<unsigned char*>(m_patched.get());
    const auto* good = reinterpret_cast<const unsigned char*>(m_good.get());
    const size_t length = std::min(bytes.size(), sizeof(EngineStateRecord) - offset);
    std::memcpy(patched + offset, bytes.data(), length);
    LoadSaveBlock(std::span<const unsigned char>(patched, sizeof(EngineStateRecord)));
    std::memcpy(patched + offset, good + offset, length);
  }

 private:
  static std::string SlotFile(int slot) { return "savedata/data00" + std::to_string(slot) + ".sav"; }

  std::unique_ptr<EngineStateRecord> m_good;
  std::unique_ptr<EngineStateRecord> m_patched;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static SaveFuzzEngine* engine = new SaveFuzzEngine();
  const std::span<const uint8_t> input(data, size);
  engine->LoadWhole(input);
  if (size >= 4 && size < kEngineStateSize) {
    uint32_t offset;
    std::memcpy(&offset, data, 4);
    engine->LoadPatched(offset % kEngineStateSize, input.subspan(4));
  }
  return 0;
}
