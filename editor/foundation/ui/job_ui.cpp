#include "editor/foundation/ui/job_ui.h"

#include <memory>

#include "editor/foundation/text/job_progress.h"
#include "editor/foundation/ui/cancel_dialog.h"
#include "editor/foundation/ui/system_utils.h"

namespace {

constexpr int kReplaceProgressTemplate = 5113;
constexpr int kReplaceProgressBar = 1311;

// The progress of a large replace: the cancel dialog without an owner, as a bar only (the job
// cannot be cancelled). It closes with the object.
class ReplaceProgress final : public CJobProgressBar {
 public:
  ReplaceProgress() { m_dialog.DoModeless(nullptr, nullptr, kReplaceProgressTemplate); }
  bool Shown() const { return m_dialog.GetHwnd() != nullptr; }
  void SetRange(int32_t low, int32_t high) override {
    platform::SendDlgItemMessage(m_dialog.GetHwnd(), kReplaceProgressBar, PBM_SETRANGE32, static_cast<WPARAM>(low), high);
  }
  void SetPos(int32_t pos) override {
    platform::SendDlgItemMessage(m_dialog.GetHwnd(), kReplaceProgressBar, PBM_SETPOS, static_cast<WPARAM>(pos), 0);
  }

 private:
  CCancelDialog m_dialog;
};

}  // namespace

void InstallJobUi() {
  JobUi ui;
  ui.pump = [] { return PumpPendingMessages(nullptr); };
  ui.openReplaceProgress = []() -> std::unique_ptr<CJobProgressBar> {
    auto progress = std::make_unique<ReplaceProgress>();
    if (!progress->Shown()) return nullptr;
    return progress;
  };
  SetJobUi(ui);
}
