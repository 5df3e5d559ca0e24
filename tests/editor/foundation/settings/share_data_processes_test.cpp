// Two real editor processes on one shared record of the test's own name: the child attaches and
// registers an edit window, the parent reaches it through the record and messages.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <unistd.h>
#include <vector>

#include "child_copy.h"
#include "editor/foundation/settings/share_data.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/window.h"
#include "scoped_named_objects.h"

using namespace platform;

namespace {

constexpr UINT kCallBack = 0x8123;
constexpr const char* kChildPath = "/work/child file.txt";

// A copy of this program serving one edit window on the record. It is killed when the test ends,
// however the test ends (also while stopped), and the socket it had no chance to remove goes too.
class EditorChild {
 public:
  EditorChild(const std::string& record, ipc::WindowId parent)
      : m_copy("ShareDataProcessCopy.DISABLED_EditWindowProcess",
               {"TOVARA_RECORD=" + record, "TOVARA_PARENT_WINDOW=" + std::to_string(parent)}),
        m_pid(m_copy.pid()) {}
  ~EditorChild() { End(); }
  EditorChild(const EditorChild&) = delete;
  EditorChild& operator=(const EditorChild&) = delete;

  ChildCopy& copy() { return m_copy; }
  pid_t pid() const { return m_pid; }
  // Kills the copy as a crash would and waits until it is gone.
  void End() {
    if (m_pid <= 0) return;
    m_copy.Kill();
    m_copy.Wait();
    ipc::RemoveSocketOfEndedProcess(m_pid);
    m_pid = -1;
  }

 private:
  ChildCopy m_copy;
  pid_t m_pid;
};

void Pump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

// The child's edit window: it answers the caret and file requests and, while answering the caret
// request, asks the parent's window something back.
LRESULT ChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  SharedSettings* s = CShareData::GetInstance() ? CShareData::GetInstance()->GetShareData() : nullptr;
  switch (message) {
    case MYWM_GETCARETPOS: {
      const auto parent = static_cast<ipc::WindowId>(std::strtoul(std::getenv("TOVARA_PARENT_WINDOW"), nullptr, 10));
      const LRESULT back = ipc::SendMessage(parent, kCallBack, 5, 0);
      int32_t caret[2] = {12, 34 + static_cast<int32_t>(back)};
      std::memcpy(s->szExchangeText, caret, sizeof caret);
      return 1;
    }
    case MYWM_GETFILEINFO:
      std::memset(&s->ExchangeFileInfo, 0, sizeof s->ExchangeFileInfo);
      std::strcpy(s->ExchangeFileInfo.szPath, kChildPath);
      return 1;
    case MYWM_TAB_WINDOW_NOTIFY:
      dprintf(3, "notify=%d\n", static_cast<int>(wParam));
      return 0;
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

int parentCallBacks = 0;
LRESULT ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kCallBack) {
    ++parentCallBacks;
    return static_cast<LRESULT>(wParam) * 10;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

bool RegisterClassOnce(const char* name, WNDPROC proc) {
  WNDCLASSEX wc;
  wc.lpfnWndProc = proc;
  wc.lpszClassName = name;
  RegisterClassEx(&wc);
  return true;
}

// The child: attaches the parent's record, makes and registers an edit window, and serves until
// its input closes.
TEST(ShareDataProcessCopy, DISABLED_EditWindowProcess) {
  const char* record = std::getenv("TOVARA_RECORD");
  const char* parent = std::getenv("TOVARA_PARENT_WINDOW");
  ASSERT_TRUE(record && parent);
  // A parent that dies while this copy is stopped must not leave it behind.
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (::getppid() != ipc::ProcessOf(static_cast<ipc::WindowId>(std::strtoul(parent, nullptr, 10)))) return;
  EnsureGuiApp();
  ipc::SetSendTimeout(std::chrono::milliseconds(2000));
  RegisterClassOnce(kEditWindowClass, ChildProc);
  CShareData share;
  if (!share.Init(record)) {
    dprintf(3, "init failed\n");
    return;
  }
  const HWND hwnd =
      CreateWindowEx(0, kEditWindowClass, "child", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  const ipc::WindowId id = ipc::RegisterWindow(hwnd, kEditWindowClass);
  const bool registered = share.RegisterEditWindow(id);
  dprintf(3, "id=%u registered=%d number=%d\n", id, registered ? 1 : 0, ipc::GetWindowLong(id, 4));
  for (;;) {
    Pump();
    pollfd p{0, POLLIN, 0};
    if (::poll(&p, 1, 2) > 0) break;  // the parent closed our input, or went
  }
}

TEST(ShareDataProcesses, TwoProcessesShareTheRecordTheWindowsAndTheExchange) {
  EnsureGuiApp();
  ipc::SetSendTimeout(std::chrono::milliseconds(2000));
  RegisterClassOnce("TovaraTestParent", ParentProc);
  const HWND parentWindow = CreateWindowEx(0, "TovaraTestParent", "parent", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                           nullptr, nullptr, nullptr);
  const ipc::WindowId parentId = ipc::RegisterWindow(parentWindow, "TovaraTestParent");
  ASSERT_NE(parentId, 0u);
  const ScopedNamedObjects names("CShareData-test");
  const std::string& record = names.name();

  auto share = std::make_unique<CShareData>();
  ASSERT_TRUE(share->Init(record.c_str()));
  SharedSettings* s = share->GetShareData();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->nLayoutVersion, 65);
  EXPECT_STREQ(s->szGrepFiles[0], "*.*");
  s->nDiffFlgOpt = 4321;  // a mark the child's view shares

  ipc::WindowId childId = 0;
  {
    EditorChild editor(record, parentId);
    ChildCopy& child = editor.copy();
    ASSERT_TRUE(child.started());
    const std::string line = child.ReadLine(Pump);
    unsigned id = 0;
    int registered = 0, number = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "id=%u registered=%d number=%d", &id, &registered, &number), 3) << line;
    childId = id;
    EXPECT_EQ(registered, 1);
    EXPECT_EQ(number, 1);
    EXPECT_EQ(child.ReadLine(Pump), "notify=1");

    EXPECT_EQ(share->GetEditWindowCount(), 1);
    EXPECT_EQ(s->nEditWindowCount, 1);
    EXPECT_EQ(s->EditWindowList[0].hwnd, childId);
    EXPECT_EQ(s->EditWindowList[0].nWindowNumber, 1);
    EXPECT_TRUE(IsEditWindow(childId));
    EXPECT_FALSE(IsEditWindow(parentId));  // live, but of another class

    // The caret request: the child asks us back while we wait, and both finish.
    {
      CShareData::ExchangeLock exchange(*share);
      ASSERT_TRUE(exchange.Held());
      const auto start = std::chrono::steady_clock::now();
      EXPECT_EQ(ipc::SendMessage(childId, MYWM_GETCARETPOS, 0, 0), 1);
      const auto took = std::chrono::steady_clock::now() - start;
      int32_t caret[2];
      std::memcpy(caret, s->szExchangeText, sizeof caret);
      EXPECT_EQ(caret[0], 12);
      EXPECT_EQ(caret[1], 34 + 50);
      EXPECT_EQ(parentCallBacks, 1);
      std::printf("[ round trip of a send with one send back: %lld us ]\n",
                  static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(took).count()));
    }

    ipc::WindowId found = 0;
    EXPECT_TRUE(share->FindEditWindowByPath(kChildPath, &found));
    EXPECT_EQ(found, childId);
    EXPECT_FALSE(share->FindEditWindowByPath("/WORK/CHILD FILE.TXT", &found));
    EXPECT_EQ(found, 0u);

    editor.End();
  }
  // Its id is dead at once, and a send to it costs no wait.
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(ipc::IsLive(childId));
  EXPECT_EQ(ipc::SendMessage(childId, MYWM_GETCARETPOS, 0, 0), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  EXPECT_EQ(share->GetEditWindowCount(), 0);

  // With every holder gone, the next Init makes a fresh record.
  share.reset();
  share = std::make_unique<CShareData>();
  ASSERT_TRUE(share->Init(record.c_str()));
  EXPECT_EQ(share->GetShareData()->nDiffFlgOpt, 0);
  EXPECT_EQ(share->GetShareData()->nEditWindowCount, 0);

  // A record another version made is refused.
  share->GetShareData()->nLayoutVersion = 64;
  CShareData other;
  EXPECT_FALSE(other.Init(record.c_str()));
  EXPECT_EQ(other.GetShareData(), nullptr);
  share->GetShareData()->nLayoutVersion = 65;
  EXPECT_TRUE(other.Init(record.c_str()));

  ipc::UnregisterWindow(parentId);
  DestroyWindow(parentWindow);
}

TEST(ShareDataProcesses, AStoppedEditorHoldsNobodyUpAndAnEndedOneLeavesTheList) {
  using Clock = std::chrono::steady_clock;
  EnsureGuiApp();
  // The usual send limit: what the listener answers must never wait that long.
  ipc::SetSendTimeout(std::chrono::milliseconds(5000));
  const auto shortWait = std::chrono::milliseconds(1000);
  RegisterClassOnce("TovaraTestParent", ParentProc);
  const HWND parentWindow = CreateWindowEx(0, "TovaraTestParent", "parent", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                           nullptr, nullptr, nullptr);
  const ipc::WindowId parentId = ipc::RegisterWindow(parentWindow, kEditWindowClass);
  ASSERT_NE(parentId, 0u);
  const ScopedNamedObjects names("CShareData-test-stopped");
  CShareData share;
  ASSERT_TRUE(share.Init(names.c_str()));
  SharedSettings* s = share.GetShareData();

  EditorChild editor(names.name(), parentId);
  ASSERT_TRUE(editor.copy().started());
  unsigned childId = 0;
  const std::string line = editor.copy().ReadLine(Pump);
  ASSERT_EQ(std::sscanf(line.c_str(), "id=%u", &childId), 1) << line;
  EXPECT_EQ(editor.copy().ReadLine(Pump), "notify=1");
  ASSERT_TRUE(IsEditWindow(childId));
  ASSERT_TRUE(editor.copy().Stop());

  // Each request its listener would answer gives up soon; more of them than the listener's queue
  // holds, so that a connect waiting for a place in it would show too.
  for (int i = 0; i < 24; ++i) {
    const auto start = Clock::now();
    switch (i % 4) {
      case 0:
        EXPECT_EQ(ipc::GetPresence(childId), ipc::Presence::kNoAnswer);
        break;
      case 1:
        EXPECT_EQ(ipc::GetClassName(childId), "");
        break;
      case 2:
        EXPECT_EQ(ipc::GetWindowLong(childId, 4), 0);
        break;
      default:
        EXPECT_EQ(share.GetEditWindowCount(), 0);  // a walk of the list
        break;
    }
    ASSERT_LT(Clock::now() - start, shortWait) << "request " << i;
  }
  // A send keeps its own limit, connect included.
  ipc::SetSendTimeout(std::chrono::milliseconds(300));
  auto start = Clock::now();
  EXPECT_EQ(ipc::SendMessage(childId, MYWM_GETCARETPOS, 0, 0), 0);
  EXPECT_LT(Clock::now() - start, shortWait);
  ipc::SetSendTimeout(std::chrono::milliseconds(5000));

  // A list full of the stopped process's windows: none of them is gone, so a new window is refused,
  // after one short wait for the whole process.
  for (int i = 0; i < kEditWindowSlots; ++i) {
    s->EditWindowList[i] = EditWindowEntry{};
    s->EditWindowList[i].hwnd = (static_cast<uint32_t>(editor.pid()) << 8) | static_cast<uint32_t>(i);
  }
  s->nEditWindowCount = kEditWindowSlots;
  start = Clock::now();
  EXPECT_FALSE(share.RegisterEditWindow(parentId));
  EXPECT_LT(Clock::now() - start, shortWait);
  EXPECT_EQ(s->nEditWindowCount, kEditWindowSlots);

  // Once the process has ended, its entries make room.
  editor.End();
  EXPECT_EQ(ipc::GetPresence(childId), ipc::Presence::kGone);
  EXPECT_TRUE(share.RegisterEditWindow(parentId));
  EXPECT_EQ(s->nEditWindowCount, 1);
  EXPECT_EQ(s->EditWindowList[0].hwnd, parentId);

  share.UnregisterEditWindow(parentId);
  ipc::UnregisterWindow(parentId);
  DestroyWindow(parentWindow);
  Pump();
}

}  // namespace
