// Stand-ins for the windows a document's captions read: the frame, a pane, the macros and the
// print preview, each answering with fields the test sets and keeping what it is given.
#pragma once

#include <string>

#include "editor/foundation/document/doc_interfaces.h"
#include "editor/foundation/text/memory.h"

namespace caption_fakes {

// A handle that is never dereferenced, only told apart from none.
inline HWND SomeWindow() {
  static char window;
  return reinterpret_cast<HWND>(&window);
}

class Frame : public IDocFrame {
 public:
  HWND FrameWindow() const override { return SomeWindow(); }
  EditWindowId WindowId() const override { return 1; }
  bool IsMinimized() const override { return minimized; }
  bool IsActiveWindow() const override { return true; }
  void Activate() override {}
  void SetCaption(const char* text) override { caption = text; }
  void SetWindowListEntry(const char* tabCaption, const char* path, bool grepWindow) override {
    tab = tabCaption;
    listPath = path;
    listGrep = grepWindow;
  }
  void SetIcons(HICON, HICON) override {}
  CJobProgressBar* ShowProgress() override { return nullptr; }
  void HideProgress() override {}
  void ShowMessageText(const char*) override {}
  void ReleaseOutputRole() override {}
  void RestartFunctionKeys() override {}

  bool minimized = false;
  std::string caption = "(unset)";
  std::string tab = "(unset)";
  std::string listPath;
  bool listGrep = false;
};

class Pane : public IDocPane {
 public:
  HWND Window() const override { return SomeWindow(); }
  LRESULT DispatchMessage(HWND, UINT, WPARAM, LPARAM) override { return 0; }
  LRESULT RunCommand(int) override { return 0; }
  bool HasSelection() const override { return false; }
  void ClearSelection(bool) override {}
  void ResetForNewText() override {}
  void OnFocusLost() override {}
  void OnFocusGained() override {}
  void Redraw() override {}
  void Invalidate() override {}
  bool UpdateTextAreaLeft(bool) override { return false; }
  void RecreateFonts() override {}
  POINT Caret() const override { return caret; }
  int ViewTopLine() const override { return 0; }
  int ViewLeftColumn() const override { return 0; }
  void SetViewTopLeft(int, int) override {}
  void PlaceCaret(POINT) override {}
  PaneMarks GetMarks() const override { return {}; }
  void RestoreMarks(const PaneMarks&) override {}
  void ShowCaretPosition() override {}
  void GetSelectedTextOrWord(CMemory* out, int maxBytes) const override {
    asked = maxBytes;
    out->Assign(word.data(), static_cast<int>(word.size()));
  }

  POINT caret{};
  std::string word;
  mutable int asked = 0;
};

class Macros : public IDocMacros {
 public:
  int RunningMacro() const override { return running; }
  bool IsRecordingHere() const override { return recordingHere; }
  int running = kNone;
  bool recordingHere = false;
};

class Preview : public IDocPrintPreview {
 public:
  int CurrentPage() const override { return page; }
  int PageCount() const override { return pages; }
  int page = 1;
  int pages = 1;
};

}  // namespace caption_fakes
