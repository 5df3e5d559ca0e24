// Stand-ins for the macros of a window and the print preview, which captions read besides the
// frame and panes of fake_ports.h; each answers with the fields the test sets.
#pragma once

#include "editor/foundation/document/doc_interfaces.h"

class FakeMacros : public IDocMacros {
 public:
  int RunningMacro() const override { return running; }
  bool IsRecordingHere() const override { return recordingHere; }
  bool HasTemporaryKeyMacro() const override { return temporaryKeyMacro; }
  int running = kNone;
  bool recordingHere = false;
  bool temporaryKeyMacro = false;
};

class FakePreview : public IDocPrintPreview {
 public:
  int CurrentPage() const override { return page; }
  int PageCount() const override { return pages; }
  int page = 1;
  int pages = 1;
};

// A handle that is never dereferenced, only told apart from none.
inline HWND SomeWindow() {
  static char window;
  return reinterpret_cast<HWND>(&window);
}
