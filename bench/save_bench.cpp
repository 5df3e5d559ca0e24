// One save of a slot (the block and a thumbnail from an 800 x 600 picture, both replaced
// atomically) and one load (read, check, copy, restore, with empty layers), against writing the
// same 867,560 bytes with fsync and rename and reading them back. Goals: the save under 20 ms and
// within 8 ms of its baseline; the load within 5 ms of its baseline.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "game/script/engine_state.h"
#include "game/system/save_file.h"
#include "game/system/save_thumbnail.h"
#include "game/script/script_loader.h"
#include "game/script/script_symbol_table.h"
#include "game/text/text_box.h"
#include "platform/message_box.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/mem_plane_impl.h"

namespace {

// A temporary folder as the current folder, with a script loaded and a game picture.
class SaveBenchFolder {
 public:
  SaveBenchFolder() {
    char folder[] = "/tmp/vrel-save-bench-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) std::abort();
    m_folder = folder;
    platform::SetMessageBoxHook([](const platform::MessageBoxRequest&) { return IDOK; });
    InitTextBoxes();
    std::memset(&EngineState, 0, sizeof EngineState);
    ResetFreeSymbolCursor();
    ResetScriptEngine();
    LoadScriptText("bench.txt", "A=1\r\nB=2\r\n");
    std::filesystem::create_directories("savedata");
    picture.Create(800, 600, 0);
    for (int y = 0; y < 600; ++y) {
      uint32_t* row = picture.GetImpl()->GetRow(y);
      for (int x = 0; x < 800; ++x) row[x] = 0xFF000000u | static_cast<uint32_t>(x * 7 + y * 3) * 0x010203u;
    }
  }
  ~SaveBenchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_folder, ec);
  }

  CMemPlane picture;

 private:
  std::string m_folder;
};

SaveBenchFolder& Folder() {
  static SaveBenchFolder folder;
  return folder;
}

void BM_SaveSlot(benchmark::State& state) {
  SaveBenchFolder& folder = Folder();
  for (auto _ : state) {
    if (!SaveSlot(SaveSlotPath(0), &folder.picture)) state.SkipWithError("save failed");
  }
}
BENCHMARK(BM_SaveSlot)->Unit(benchmark::kMillisecond);

// Baseline: the same bytes written to a temporary file, flushed to disk and renamed over the file.
void BM_WriteFsyncRename(benchmark::State& state) {
  Folder();
  for (auto _ : state) {
    const int fd = open("savedata/base.tmp", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || write(fd, &EngineStateSnapshot, sizeof EngineStateSnapshot) != sizeof EngineStateSnapshot ||
        fsync(fd) != 0 || close(fd) != 0 || std::rename("savedata/base.tmp", "savedata/base.sav") != 0) {
      state.SkipWithError("baseline write failed");
    }
  }
}
BENCHMARK(BM_WriteFsyncRename)->Unit(benchmark::kMillisecond);

void BM_LoadSlot(benchmark::State& state) {
  Folder();
  if (!WriteSaveBlock(SaveSlotPath(1))) state.SkipWithError("save failed");
  for (auto _ : state) {
    if (!LoadSaveFile(SaveSlotPath(1))) state.SkipWithError("load failed");
  }
}
BENCHMARK(BM_LoadSlot)->Unit(benchmark::kMillisecond);

// Baseline: the same bytes read back whole.
void BM_ReadBack(benchmark::State& state) {
  Folder();
  if (!WriteSaveBlock(SaveSlotPath(2))) state.SkipWithError("save failed");
  std::vector<unsigned char> bytes(sizeof(EngineStateRecord));
  for (auto _ : state) {
    const int fd = open("savedata/data002.sav", O_RDONLY);
    if (fd < 0 || read(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) || close(fd) != 0) {
      state.SkipWithError("baseline read failed");
    }
    benchmark::DoNotOptimize(bytes.data());
  }
}
BENCHMARK(BM_ReadBack)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
