// Saving a document: CEditDoc::SaveToPath of the generated text (see editor_bench_text.h) in
// Shift-JIS, without a backup copy, over the file it was loaded from. The baseline, timed in the
// same iteration, is the least an atomic save does: write() of the same bytes to a new file
// beside the old one, fsync and rename. Reported time: the save; counters: the baseline and the
// ratio. The same text saved in UTF-8 shows what converting every line costs.
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <string>
#include <unistd.h>

#include "bench/editor_bench_text.h"
#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/char_codes.h"

namespace {

// write() of the bytes to a new file beside the target, fsync, rename over it; false on failure.
bool WriteSyncRename(const std::string& target, const std::string& bytes) {
  const std::string temporary = target + ".new";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  const bool synced = done == bytes.size() && ::fsync(fd) == 0;
  return ::close(fd) == 0 && synced && ::rename(temporary.c_str(), target.c_str()) == 0;
}

void Save(benchmark::State& state, int code) {
  auto record = std::make_unique<SharedSettings>();
  CShareData::InitDefaults(*record);
  record->Common.bBackUp = 0;
  record->Common.nFileShareMode = 0;
  CShareData share;
  share.Attach(record.get());
  const EditorBenchFile file(EditorBenchText());
  const std::string baselinePath = file.path() + ".baseline";
  auto doc = std::make_unique<CEditDoc>();
  bool bom = false;
  if (!doc->m_cDocLineMgr.LoadFromFile(file.path().c_str(), nullptr, nullptr, kCodeSjis, nullptr, false, &bom)) {
    state.SkipWithError("the text could not be loaded");
    return;
  }
  doc->SetFilePath(file.path().c_str());
  doc->m_nCharCode = code;
  double baselineTotal = 0;
  double saveTotal = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    const bool wrote = WriteSyncRename(baselinePath, EditorBenchText());
    const auto t1 = std::chrono::steady_clock::now();
    doc->m_bIsModified = true;
    const bool saved = doc->SaveToPath(doc->m_szFilePath);
    const auto t2 = std::chrono::steady_clock::now();
    if (!wrote || !saved) {
      state.SkipWithError("the baseline or the save failed");
      break;
    }
    baselineTotal += ElapsedMs(t0, t1);
    saveTotal += ElapsedMs(t1, t2);
    state.SetIterationTime(ElapsedMs(t1, t2) / 1000.0);
  }
  ::unlink(baselinePath.c_str());
  const double n = static_cast<double>(state.iterations());
  if (n == 0 || baselineTotal <= 0) return;
  state.counters["baseline_ms"] = baselineTotal / n;
  state.counters["save_ms"] = saveTotal / n;
  state.counters["save_over_baseline"] = saveTotal / baselineTotal;
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(EditorBenchText().size()));
}

void SaveSjis(benchmark::State& state) { Save(state, kCodeSjis); }
void SaveUtf8(benchmark::State& state) { Save(state, kCodeUtf8); }

BENCHMARK(SaveSjis)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(SaveUtf8)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
