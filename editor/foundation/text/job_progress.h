// What a long text job (loading, saving, re-wrapping, a large replace) needs of the windows around
// it, without knowing them: a progress bar to move, a way to let pending messages through, and the
// progress dialog that a large replace shows. The window side (the cancel dialog and the message
// pump) installs itself at start; tests install their own to count calls or to ask for a quit at a
// chosen point. Until something is installed there is nothing to pump and no dialog to show.
#pragma once

#include <cstdint>
#include <memory>

// A progress bar as a job sees it: range and position, posted to the bar (never waited for).
class CJobProgressBar {
 public:
  virtual ~CJobProgressBar() = default;
  virtual void SetRange(int32_t low, int32_t high) = 0;
  virtual void SetPos(int32_t pos) = 0;
};

struct JobUi {
  // Lets pending messages through; false when a quit request was met (the request stays pending,
  // so the outer loop still ends).
  bool (*pump)() = nullptr;
  // Opens the modeless progress dialog of a large replace (its bar ranges 0-100); null when none
  // can be shown. The dialog closes when the returned object is destroyed.
  std::unique_ptr<CJobProgressBar> (*openReplaceProgress)() = nullptr;
};

// Installs the window side (a default-constructed JobUi removes it).
void SetJobUi(const JobUi& ui);

// The installed pump; true when none is installed.
bool PumpJobMessages();

// The installed replace progress dialog; null when none is installed or it could not be shown.
std::unique_ptr<CJobProgressBar> OpenReplaceProgress();
