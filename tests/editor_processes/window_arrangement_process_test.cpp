// The window arrangement across processes: a real edit window tiles the listed windows, placing its
// own frame and asking this process to place the frame it listed.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <thread>

#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/ui/system_utils.h"
#include "editor_sandbox.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/window.h"

namespace {

using namespace std::chrono_literals;

constexpr WPARAM kTileSideBySide = 31332;

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

  // A frame of this process, listed after the editor's window.
  WNDCLASSEX wc;
  wc.lpfnWndProc = platform::DefWindowProc;
  wc.lpszClassName = "ArrangedFrame";
  platform::RegisterClassEx(&wc);
  const HWND frame =
      platform::CreateWindowEx(0, "ArrangedFrame", "frame", WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE, 70,
                               80, 300, 200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(frame, nullptr);
  const EditWindowId id = platform::ipc::RegisterWindow(frame, kEditWindowClass);
  ASSERT_NE(id, 0u);
  ASSERT_TRUE(share.RegisterEditWindow(id));

  // The editor's window tiles: itself on the left, this frame on the right. Its requests to this
  // process are served while the command is waited for.
  platform::ipc::SendMessage(window, WM_COMMAND, kTileSideBySide, 0);
  RECT work{};
  ASSERT_TRUE(GetMonitorRectsOfWindow(frame, &work, nullptr));
  const int half = (work.right - work.left) / 2;
  RECT placed{};
  platform::GetWindowRect(frame, &placed);
  EXPECT_EQ(placed.left, work.left + half);
  EXPECT_EQ(placed.top, work.top);
  EXPECT_EQ(placed.right - placed.left, half);
  EXPECT_EQ(placed.bottom - placed.top, work.bottom - work.top);
  WINDOWPLACEMENT own{};
  ASSERT_TRUE(platform::ipc::GetWindowPlacement(window, &own));
  EXPECT_EQ(own.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
  EXPECT_EQ(own.rcNormalPosition.left, work.left);
  EXPECT_EQ(own.rcNormalPosition.top, work.top);
  EXPECT_LE(own.rcNormalPosition.right - own.rcNormalPosition.left, half);

  share.UnregisterEditWindow(id);
  platform::ipc::UnregisterWindow(id);
  platform::DestroyWindow(frame);
  platform::ipc::PostMessage(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(EditorSandbox::WaitForExit(editor.pid, 10s), std::optional(0));
  ::close(editor.errors);
}

}  // namespace
