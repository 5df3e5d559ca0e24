// Opening a file in a document: CEditDoc::FileRead with code 99 of the generated Shift-JIS text
// (see editor_bench_text.h) warm in the page cache: detection, load, wrap, the file lock and the
// recent-file record. The baseline, timed in the same iteration, is the bare load and wrap of the
// same file with the same type (CDocLineMgr::LoadFromFile, then CWrapLineMgr::SetWrapSettings).
// Goal: within 1.1 times the baseline. Reported time: FileRead; counters: both and their ratio.
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
#include <malloc.h>
#include <memory>
#include <string>

#include "bench/editor_bench_text.h"
#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/char_codes.h"
#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "tests/scoped_named_objects.h"

namespace {

void FileReadDetecting(benchmark::State& state) {
  const EditorBenchFile file(EditorBenchText());
  const auto type = MakeEditorBenchWrapType();
  const ScopedNamedObjects names("CEditDoc-bench");
  auto record = std::make_unique<SharedSettings>();
  CShareData::InitDefaults(*record);
  record->TypeList[0] = *type;  // the file has no extension: type 0
  record->Common.nFileShareMode = CEditDoc::kLockDenyWrite;
  CShareData share;
  share.Attach(record.get(), names.c_str());
  const std::string folder = EditorCurrentFolder();

  double baselineTotal = 0;
  double openTotal = 0;
  int64_t lines = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    auto lineMgr = std::make_unique<CDocLineMgr>();
    bool bom = false;
    const bool loaded = lineMgr->LoadFromFile(file.path().c_str(), nullptr, nullptr, kCodeSjis, nullptr, false, &bom);
    auto wrap = std::make_unique<CWrapLineMgr>();
    wrap->Attach(lineMgr.get());
    const bool wrapped = wrap->SetWrapSettings(true, nullptr, *type);
    const auto t1 = std::chrono::steady_clock::now();
    const int64_t baselineLines = wrap->GetLineCount();
    wrap.reset();
    lineMgr.reset();
    ::malloc_trim(0);

    auto doc = std::make_unique<CEditDoc>();
    char path[kMaxPath] = {};
    std::strncpy(path, file.path().c_str(), kMaxPath - 1);
    bool elsewhere = false;
    const auto t2 = std::chrono::steady_clock::now();
    const bool opened = doc->FileRead(path, &elsewhere, 99, false, true);
    const auto t3 = std::chrono::steady_clock::now();
    if (!loaded || !wrapped || !opened || doc->m_nCharCode != kCodeSjis || !doc->HoldsFileLock() ||
        doc->m_cLayoutMgr.GetLineCount() != baselineLines) {
      state.SkipWithError("the open or the baseline failed, or they differ");
      break;
    }
    baselineTotal += ElapsedMs(t0, t1);
    openTotal += ElapsedMs(t2, t3);
    state.SetIterationTime(ElapsedMs(t2, t3) / 1000.0);
    lines = doc->m_cDocLineMgr.GetLineCount();
    doc.reset();
    ::malloc_trim(0);
  }
  SetEditorCurrentFolder(folder);
  const double n = static_cast<double>(state.iterations());
  if (n == 0 || baselineTotal <= 0) return;
  state.counters["load_and_wrap_ms"] = baselineTotal / n;
  state.counters["file_read_ms"] = openTotal / n;
  state.counters["file_read_over_load_and_wrap"] = openTotal / baselineTotal;
  state.counters["lines"] = static_cast<double>(lines);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(EditorBenchText().size()));
}

BENCHMARK(FileReadDetecting)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
