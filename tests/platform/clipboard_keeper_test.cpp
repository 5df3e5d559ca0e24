// Handing the clipboard to a keeper in another process: what an ending process copied stays,
// byte for byte; a keeper that is gone or does not answer costs the ending process at most the
// send limit.
#include "platform/clipboard_keeper.h"

#include <QClipboard>
#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <unistd.h>

#include "child_copy.h"
#include "platform/clipboard.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"
#include "test_util.h"

namespace {

using namespace platform;
using Clock = std::chrono::steady_clock;

constexpr const char* kKeeperClass = "ClipboardKeeperTestWindow";
constexpr const char* kKeeperVariable = "CLIPBOARD_KEEPER_TEST_ID";

void Pump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

LRESULT KeeperProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) return KeepClipboard(wParam, lParam);
  return DefWindowProc(hwnd, message, wParam, lParam);
}

// A window that keeps what is handed to it, reachable from other processes.
class Keeper {
 public:
  Keeper() {
    static const bool registered = [] {
      WNDCLASSEX wc;
      wc.lpfnWndProc = KeeperProc;
      wc.lpszClassName = kKeeperClass;
      return RegisterClassEx(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    m_hwnd = CreateWindowEx(0, kKeeperClass, "keeper", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    m_id = ipc::RegisterWindow(m_hwnd, kKeeperClass);
  }
  ~Keeper() {
    ipc::UnregisterWindow(m_id);
    DestroyWindow(m_hwnd);
  }
  ipc::WindowId id() const { return m_id; }

 private:
  HWND m_hwnd = nullptr;
  ipc::WindowId m_id = 0;
};

// The formats the editor puts on the clipboard when it copies 表 as a box: the text, the private
// block (length, then the bytes) and the box marker.
void CopyBox() {
  const UINT clip = RegisterClipboardFormat("TOVARAClip");
  const UINT box = RegisterClipboardFormat("MSDEVColumnSelect");
  const std::string text = "表\r\n"_sj;
  ASSERT_TRUE(OpenClipboard(nullptr));
  ASSERT_TRUE(EmptyClipboard());
  ASSERT_TRUE(SetClipboardData(CF_OEMTEXT, text + '\0'));
  ASSERT_TRUE(SetClipboardData(clip, std::string("\x04\x00\x00\x00", 4) + text));
  ASSERT_TRUE(SetClipboardData(box, std::string(1, '\0')));
  ASSERT_TRUE(CloseClipboard());
}

ClipboardSnapshot Sorted(ClipboardSnapshot s) {
  std::sort(s.begin(), s.end(), [](const auto& a, const auto& b) { return a.mimeType < b.mimeType; });
  return s;
}

std::string Unhex(std::string_view hex) {
  std::string out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    out.push_back(static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  return out;
}

// The ending process: copies 表 as a box, reports what it copied, hands it to the keeper named in
// the environment and ends.
TEST(ClipboardKeeperCopy, DISABLED_CopyABoxAndEnd) {
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  EnsureGuiApp();
  CopyBox();
  dprintf(3, "%s\n", HexBytes(EncodeClipboardSnapshot(SnapshotClipboard())).c_str());
  const auto keeper = static_cast<ipc::WindowId>(std::strtoul(std::getenv(kKeeperVariable), nullptr, 10));
  dprintf(3, "handed %d\n", HandOverClipboard(keeper) ? 1 : 0);
}

// The keeper in another process: reports its id, then keeps what it is given until its input closes.
TEST(ClipboardKeeperCopy, DISABLED_Keep) {
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  EnsureGuiApp();
  QGuiApplication::clipboard()->clear();
  Keeper keeper;
  dprintf(3, "%u\n", keeper.id());
  for (;;) {
    Pump();
    pollfd p{0, POLLIN, 0};
    if (::poll(&p, 1, 2) > 0) break;
  }
}

class ClipboardKeeperTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApp();
    QGuiApplication::clipboard()->setText(QStringLiteral("another program's"));
  }
  void TearDown() override { ipc::SetSendTimeout(std::chrono::seconds(5)); }
};

TEST_F(ClipboardKeeperTest, WhatAnEndingProcessCopiedIsTheKeepersByteForByte) {
  Keeper keeper;
  ASSERT_NE(keeper.id(), 0u);
  ChildCopy copier("ClipboardKeeperCopy.DISABLED_CopyABoxAndEnd",
                   {std::string(kKeeperVariable) + "=" + std::to_string(keeper.id())});
  ASSERT_TRUE(copier.started());
  const auto serve = [] { Pump(); };
  const auto copied = DecodeClipboardSnapshot(Unhex(copier.ReadLine(serve)));
  ASSERT_TRUE(copied);
  EXPECT_EQ(copier.ReadLine(serve), "handed 1");
  EXPECT_EQ(copier.Wait(), 0);

  // Text, private block and box marker, each as the copier had it; and now this process's own.
  EXPECT_EQ(copied->size(), 3u);
  EXPECT_EQ(Sorted(SnapshotClipboard()), Sorted(*copied));
  EXPECT_TRUE(OwnsClipboard());
  const UINT clip = RegisterClipboardFormat("TOVARAClip");
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_EQ(GetClipboardData(CF_OEMTEXT), "表\r\n"_sj + std::string(1, '\0'));
  EXPECT_EQ(GetClipboardData(clip), std::string("\x04\x00\x00\x00", 4) + "表\r\n"_sj);
  EXPECT_EQ(GetClipboardData(RegisterClipboardFormat("MSDEVColumnSelect")), std::string(1, '\0'));
  ASSERT_TRUE(CloseClipboard());
}

TEST_F(ClipboardKeeperTest, AKeeperGoneOrSilentCostsAtMostTheSendLimit) {
  ChildCopy keeperProcess("ClipboardKeeperCopy.DISABLED_Keep", {});
  ASSERT_TRUE(keeperProcess.started());
  const auto keeper = static_cast<ipc::WindowId>(std::strtoul(keeperProcess.ReadLine().c_str(), nullptr, 10));
  ASSERT_NE(keeper, 0u);

  // Nothing of this process's own on the clipboard: nothing to hand over.
  EXPECT_FALSE(HandOverClipboard(keeper));
  ASSERT_EQ(AskKeptClipboard(keeper), ClipboardSnapshot{});

  CopyBox();
  const ClipboardSnapshot mine = SnapshotClipboard();
  ASSERT_TRUE(HandOverClipboard(keeper));
  const auto kept = AskKeptClipboard(keeper);
  ASSERT_TRUE(kept);
  EXPECT_EQ(Sorted(*kept), Sorted(mine));

  // Stopped: the hand-over gives up after the send limit.
  const auto limit = std::chrono::milliseconds(300);
  ipc::SetSendTimeout(limit);
  ASSERT_TRUE(keeperProcess.Stop());
  auto start = Clock::now();
  EXPECT_FALSE(HandOverClipboard(keeper));
  const auto stopped = Clock::now() - start;
  EXPECT_GE(stopped, limit);
  EXPECT_LT(stopped, limit + std::chrono::milliseconds(700));
  EXPECT_EQ(AskKeptClipboard(keeper), std::nullopt);

  // Gone: no wait at all beyond noticing it.
  keeperProcess.Kill();
  keeperProcess.Wait();
  ipc::SetSendTimeout(std::chrono::seconds(5));
  start = Clock::now();
  EXPECT_FALSE(HandOverClipboard(keeper));
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
  ipc::RemoveSocketOfEndedProcess(ipc::ProcessOf(keeper));
}

TEST_F(ClipboardKeeperTest, AKeeperHereIsAskedButNeverHandedTo) {
  Keeper keeper;
  CopyBox();
  const ClipboardSnapshot mine = SnapshotClipboard();
  // A process never hands its clipboard to itself: it goes with it anyway.
  EXPECT_FALSE(HandOverClipboard(keeper.id()));
  EXPECT_FALSE(HandOverClipboard(0));
  const auto kept = AskKeptClipboard(keeper.id());
  ASSERT_TRUE(kept);
  EXPECT_EQ(Sorted(*kept), Sorted(mine));
  // A WM_COPYDATA of another kind, or none at all, is not the keeper's.
  EXPECT_EQ(ipc::SendCopyData(keeper.id(), 0, 0x1234, EncodeClipboardSnapshot({{"text/plain", "x"}})), 0);
  EXPECT_EQ(KeepClipboard(0, 0), 0);
  EXPECT_EQ(Sorted(SnapshotClipboard()), Sorted(mine));
}

}  // namespace
