// A document on a record of the test's own with fake windows around it (doc_fixture.h), plus the
// fake macros port the command rules and menus read.
#pragma once

#include <vector>

#include "editor/foundation/text/ope_blk.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/window.h"
#include "tests/editor/foundation/document/caption_fakes.h"
#include "tests/editor/foundation/document/doc_fixture.h"

// Windows of this process listed in the shared record as edit windows, in the order made (the
// last made stands first in the list); each is unlisted and destroyed by Close or at the end.
class ListedWindows {
 public:
  ListedWindows(CShareData& share, int count) : m_share(share) {
    platform::EnsureGuiApp();
    WNDCLASSEX wc;
    wc.lpfnWndProc = platform::DefWindowProc;
    wc.lpszClassName = "ListedEditWindow";
    platform::RegisterClassEx(&wc);
    for (int i = 0; i < count; ++i) {
      HWND window =
          platform::CreateWindowEx(0, "ListedEditWindow", "w", 0, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
      const EditWindowId id = platform::ipc::RegisterWindow(window, kEditWindowClass);
      m_windows.push_back(window);
      m_ids.push_back(id);
      EXPECT_TRUE(share.RegisterEditWindow(id));
    }
  }
  ~ListedWindows() {
    for (size_t i = 0; i < m_windows.size(); ++i) Close(static_cast<int>(i));
  }
  ListedWindows(const ListedWindows&) = delete;
  ListedWindows& operator=(const ListedWindows&) = delete;

  HWND window(int i) const { return m_windows.at(static_cast<size_t>(i)); }
  EditWindowId id(int i) const { return m_ids.at(static_cast<size_t>(i)); }
  void Close(int i) {
    HWND& window = m_windows.at(static_cast<size_t>(i));
    if (!window) return;
    m_share.UnregisterEditWindow(id(i));
    platform::ipc::UnregisterWindow(id(i));
    platform::DestroyWindow(window);
    window = nullptr;
  }

 private:
  CShareData& m_share;
  std::vector<HWND> m_windows;
  std::vector<EditWindowId> m_ids;
};

class WindowFixture : public DocFixture {
 protected:
  explicit WindowFixture(const char* recordStem) : DocFixture(recordStem) {}
  void SetUp() override {
    DocFixture::SetUp();
    Bind();
  }
  // Hands the fake windows and the fake macros to the (new) document.
  void Bind() {
    DocPorts bound = ports.Ports();
    bound.macros = &macros;
    doc->SetPorts(bound);
  }
  void Fresh() {
    NewDocument();
    macros = FakeMacros();
    Bind();
  }
  FakePane& pane() { return ports.panes[0]; }
  // One step the document can undo.
  void MakeUndoable() { doc->m_cUndoBuffer.AppendBlock(new COpeBlk); }

  FakeMacros macros;
};
