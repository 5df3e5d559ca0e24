// The window arrangement across processes: a real edit window tiles the listed windows, placing its
// own frame and asking another process to place the frame that one listed.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <csignal>
#include <thread>

#include "child_copy.h"
#include "editor/foundation/settings/share_data.h"
#include "editor_sandbox.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/monitor.h"
#include "platform/window.h"

namespace {

using namespace std::chrono_literals;

constexpr WPARAM kTileSideBySide = 31332;

void Pump() {
  MSG msg;
  while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) platform::DispatchMessage(&msg);
}

// The other process: a frame listed as an edit window in the sandbox's record; it reports the
// frame's id and serves requests until its input closes. (This test program's own requests are
// heard in the runtime folder it first listened in, which an earlier sandbox may have had.)
TEST(WindowArrangementProcessCopy, DISABLED_ListedFrame) {
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  platform::EnsureGuiApp();
  CShareData share;
  ASSERT_TRUE(share.Init());
  WNDCLASSEX wc;
  wc.lpfnWndProc = platform::DefWindowProc;
  wc.lpszClassName = "ArrangedFrame";
  platform::RegisterClassEx(&wc);
  const HWND frame =
      platform::CreateWindowEx(0, "ArrangedFrame", "frame", WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE, 70,
                               80, 300, 200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(frame, nullptr);
  Pump();
  const EditWindowId id = platform::ipc::RegisterWindow(frame, kEditWindowClass);
  ASSERT_TRUE(share.RegisterEditWindow(id));
  dprintf(3, "%u\n", id);
  for (;;) {
    Pump();
    pollfd p{0, POLLIN, 0};
    if (::poll(&p, 1, 2) > 0) break;
  }
  share.UnregisterEditWindow(id);
  platform::ipc::UnregisterWindow(id);
  platform::DestroyWindow(frame);
}

TEST(WindowArrangementProcess, AnEditWindowTilesItselfAndAFrameOfAnotherProcess) {
  platform::EnsureGuiApp();
  EditorSandbox box;
  const std::string file = (box.Folder() / "notes.txt").string();
  std::ofstream(file, std::ios::binary) << "notes\r\n";
  CShareData share;
  ASSERT_TRUE(share.Init());

  const EditorSandbox::Started editor = box.Start(box.EditorName(), {"notes.txt"}, box.Folder());
  ASSERT_GT(editor.pid, 0);
  EditWindowId window = 0;
  const auto end = std::chrono::steady_clock::now() + 10s;
  while (!share.FindEditWindowByPath(file.c_str(), &window) && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(50ms);
  ASSERT_NE(window, 0u) << "no window on " << file;

  ChildCopy other("WindowArrangementProcessCopy.DISABLED_ListedFrame", {});
  ASSERT_TRUE(other.started());
  const auto frame = static_cast<EditWindowId>(std::strtoul(other.ReadLine().c_str(), nullptr, 10));
  ASSERT_NE(frame, 0u);
  ASSERT_EQ(share.GetEditWindowCount(), 2);

  // The editor's window tiles: itself on the left, the other process's frame on the right.
  platform::ipc::SendMessage(window, WM_COMMAND, kTileSideBySide, 0);
  RECT work{};
  ASSERT_TRUE(platform::SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
  const int half = (work.right - work.left) / 2;
  const struct {
    const char* name;
    EditWindowId id;
    int left;
  } expected[] = {{"the editor's window", window, work.left}, {"the other frame", frame, work.left + half}};
  for (const auto& e : expected) {
    SCOPED_TRACE(e.name);
    WINDOWPLACEMENT placement{};
    ASSERT_TRUE(platform::ipc::GetWindowPlacement(e.id, &placement));
    EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
    EXPECT_EQ(placement.rcNormalPosition.left, e.left);
    EXPECT_EQ(placement.rcNormalPosition.top, work.top);
    // The placement's size is the client area's, inside the half the frame was given.
    const int width = placement.rcNormalPosition.right - placement.rcNormalPosition.left;
    const int height = placement.rcNormalPosition.bottom - placement.rcNormalPosition.top;
    EXPECT_LE(width, half);
    EXPECT_GT(width, half - 40);
    EXPECT_LE(height, work.bottom - work.top);
    EXPECT_GT(height, work.bottom - work.top - 80);
  }

  other.CloseInput();
  EXPECT_EQ(other.Wait(), 0);
  platform::ipc::RemoveSocketOfEndedProcess(other.pid());
  platform::ipc::PostMessage(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(EditorSandbox::WaitForExit(editor.pid, 10s), std::optional(0));
  ::close(editor.errors);
}

}  // namespace
