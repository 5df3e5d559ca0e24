// A save file through the load, from a temporary folder. The input is written as the slot file
// and loaded. A file of any size but one is refused at once, so an input shorter than a save is
// also laid over a good save (at the offset its first four bytes give) and that file is loaded
// too: the checks of every field are reached from small inputs.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "game/text/backlog.h"
#include "game/script/engine_state.h"
#include "game/system/save_file.h"
#include "game/system/script_buttons.h"
#include "game/script/script_loader.h"
#include "game/text/text_box.h"
#include "platform/message_box.h"

namespace {

constexpr const char* kSlotFile = "savedata/data000.sav";

class SaveFuzzEngine {
 public:
  SaveFuzzEngine() {
    char folder[] = "/tmp/vrel-save-fuzz-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) std::abort();
    platform::SetMessageBoxHook([](const platform::MessageBoxRequest&) { return IDOK; });
    InitTextBoxes();
    InitButtons();
    InitBacklog();
    ResetScriptEngine();
    LoadScriptText("fuzz.txt", "A=1\r\nB=2\r\n");
    std::filesystem::create_directories("savedata");
    m_good.assign(reinterpret_cast<const char*>(&EngineStateSnapshot), sizeof EngineStateSnapshot);
  }

  void Load(const std::string& bytes) {
    std::ofstream(kSlotFile, std::ios::binary | std::ios::trunc) << bytes;
    LoadSaveFile(SaveSlotPath(0));
  }
  const std::string& good() const { return m_good; }

 private:
  std::string m_good;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static SaveFuzzEngine* engine = new SaveFuzzEngine();
  const std::string input(reinterpret_cast<const char*>(data), size);
  engine->Load(input);
  if (size >= 4 && size < kEngineStateSize) {
    uint32_t offset;
    std::memcpy(&offset, data, 4);
    offset %= static_cast<uint32_t>(kEngineStateSize);
    std::string patched = engine->good();
    const size_t length = std::min(size - 4, kEngineStateSize - offset);
    patched.replace(offset, length, input, 4, length);
    engine->Load(patched);
  }
  return 0;
}
