// Grep started from outside an edit window: the grep window's process ("-GREPMODE", with
// "-GREPDLG" asking through the grep dialog first) and the tray's Grep command, which asks through
// a grep dialog of its own and starts a grep window with the answer.
#pragma once

#include <memory>
#include <string>

#include "editor/shell/process/control_tray.h"
#include "editor/shell/process/edit_window_process.h"

class CGrepDialog;
class CEditView;

// Runs the grep in the active pane of the process's edit window; a window of another kind (a
// test's) is left as it is.
class CGrepModeRunner final : public IGrepModeRunner {
 public:
  void RunGrepDialog(IProcessEditWindow& window, const GrepLaunchRequest& request) override;
  void RunGrep(IProcessEditWindow& window, const GrepLaunchRequest& request) override;

 private:
  static CEditView* ActivePane(IProcessEditWindow& window);
};

class CTrayGrepDialog final : public ITrayGrepDialog {
 public:
  CTrayGrepDialog();
  ~CTrayGrepDialog() override;

  bool IsOpen() const override;
  void Raise() override;
  bool Run(const std::string& seedKey, GrepLaunchRequest* request) override;

 private:
  std::unique_ptr<CGrepDialog> m_dialog;
};
