#include "editor/foundation/text/job_progress.h"

namespace {

// The message queue a job pumps is the process's one user-interface queue, so its window side is
// one per process too.
JobUi& InstalledUi() {
  static JobUi ui;
  return ui;
}

}  // namespace

void SetJobUi(const JobUi& ui) { InstalledUi() = ui; }

bool PumpJobMessages() {
  const JobUi& ui = InstalledUi();
  return ui.pump ? ui.pump() : true;
}

std::unique_ptr<CJobProgressBar> OpenReplaceProgress() {
  const JobUi& ui = InstalledUi();
  return ui.openReplaceProgress ? ui.openReplaceProgress() : nullptr;
}
