// A pane over a small document on which edits run as commands do: a test command whose handler
// runs the edit, so that the dispatcher closes what it recorded into one undo step.
#pragma once

#include <functional>
#include <string>

#include "editor/foundation/text/doc_line.h"
#include "editor/view/pane/view_fixture.h"
#include "recording_handlers.h"

class EditFixture : public ViewFixture {
 protected:
  // An id no command has: the handler the tests put in for it runs the edit.
  static constexpr int kEditCommand = 39990;

  // Runs the edit as one command.
  void RunEdit(const std::function<void(CEditView&)>& edit) {
    handler.actions[kEditCommand] = [&edit](CEditView& pane, const CommandCall&) { edit(pane); };
    view->RunCommand(kEditCommand, true, 0, 0, 0, 0);
    handler.actions.erase(kEditCommand);
  }

  int StepCount() const { return doc->m_cUndoBuffer.GetCount(); }
  void Undo() { view->RunCommand(30210, true, 0, 0, 0, 0); }
  void Redo() { view->RunCommand(30211, true, 0, 0, 0, 0); }

  RecordingHandlers handler{kEditCommand};
};
