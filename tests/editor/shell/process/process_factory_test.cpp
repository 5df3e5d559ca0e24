#include "editor/shell/process/process_factory.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "editor/foundation/document/doc_interfaces.h"
#include "editor/shell/process/control_tray.h"
#include "editor/shell/process/resident_process.h"
#include "platform/dialog_test.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/named_event.h"
#include "platform/named_mutex.h"
#include "platform/quit_signal.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"
#include "tests/editor/foundation/message_box_capture.h"
#include "tests/editor/shell/process/fake_process_launcher.h"
#include "tests/scoped_named_objects.h"
#include "tests/scoped_temp_dir.h"

namespace {

using namespace std::chrono_literals;
using Status = platform::ProcessLauncher::Status;

constexpr char kExe[] = "/opt/tovara/vrel";
constexpr const char* kBusy = "エディタまたはシステムがビジー状態です。\nしばらく待って開きなおしてください。"_sj;

class FakeSystem final : public CommandLineSystem {
 public:
  explicit FakeSystem(std::set<std::string> existing) : m_existing(std::move(existing)) {}
  bool PathExists(const std::string& name) const override { return m_existing.contains(name); }
  std::string ExecutablePath() const override { return kExe; }

 private:
  std::set<std::string> m_existing;
};

// What the process asked of its window, in order.
struct WindowJournal {
  std::vector<std::string> calls;
  std::string path;
  int code = -99;
  bool readOnly = false;
  int type = -99;
  EditWindowId resident = 0;
  RecentFileRecord request{};
  bool launcherWhileRunning = false;  // the window could start further windows
  std::optional<int> othersQuit;      // what the window's loop reports it took from another
  HWND host = nullptr;                // a window of the host's that hears WM_USER + 9 meanwhile
};

// The close requests the plain windows were sent.
int& ClosesHeard() {
  static int closes = 0;
  return closes;
}
LRESULT PlainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_USER + 9) {
    // The host's window asks its loop to end.
    platform::PostQuitMessage(4);
    return 0;
  }
  if (msg == WM_CLOSE) {
    ++ClosesHeard();
    platform::DestroyWindow(hwnd);
    return 0;
  }
  return platform::DefWindowProc(hwnd, msg, wParam, lParam);
}

HWND MakePlainWindow() {
  static const bool registered = [] {
    WNDCLASSEX wc;
    wc.lpfnWndProc = PlainWindowProc;
    wc.lpszClassName = "ProcessFactoryTestWindow";
    return platform::RegisterClassEx(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  return platform::CreateWindowEx(0, "ProcessFactoryTestWindow", "w", 0, 0, 0, 40, 40, nullptr, nullptr, nullptr,
                                  nullptr);
}

class FakeEditWindow final : public IProcessEditWindow {
 public:
  FakeEditWindow(WindowJournal& journal, bool succeed, bool quitSignalInLoop)
      : m_journal(journal), m_succeed(succeed), m_quitSignalInLoop(quitSignalInLoop) {}
  ~FakeEditWindow() override {
    if (m_hwnd) platform::DestroyWindow(m_hwnd);
  }
  HWND Create(HINSTANCE, EditWindowId residentWindow, const char* pszPath, int nCharCode, bool bReadOnly,
              int nDocumentType) override {
    m_journal.calls.push_back("Create");
    m_journal.resident = residentWindow;
    m_journal.path = pszPath ? pszPath : "(null)";
    m_journal.code = nCharCode;
    m_journal.readOnly = bReadOnly;
    m_journal.type = nDocumentType;
    if (m_succeed) m_hwnd = MakePlainWindow();
    return m_hwnd;
  }
  // As the window's end leaves it: the loop gone, its quit request still queued behind a message
  // of the host's.
  std::optional<int> RunMessageLoop() override {
    m_journal.calls.push_back("RunMessageLoop");
    m_journal.launcherWhileRunning = GetDocLauncher() != nullptr;
    if (m_quitSignalInLoop) {
      // The user presses Ctrl+C in the terminal: the window hears a close request, as from its
      // close button, and its loop runs until it is gone.
      std::raise(SIGINT);
      const auto end = std::chrono::steady_clock::now() + 5s;
      MSG msg;
      while (platform::IsWindow(m_hwnd) && std::chrono::steady_clock::now() < end) {
        if (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) platform::DispatchMessage(&msg);
      }
      m_hwnd = nullptr;
    }
    platform::PostMessage(nullptr, WM_USER + 7, 0, 0);
    if (m_journal.host) platform::PostMessage(m_journal.host, WM_USER + 9, 0, 0);
    platform::PostQuitMessage(0);
    return m_journal.othersQuit;
  }
  void BecomeOutputWindow() override { m_journal.calls.push_back("BecomeOutputWindow"); }
  void ApplyPositionRequest(const RecentFileRecord& request) override {
    m_journal.calls.push_back("ApplyPositionRequest");
    m_journal.request = request;
  }

 private:
  WindowJournal& m_journal;
  bool m_succeed;
  bool m_quitSignalInLoop;
  HWND m_hwnd = nullptr;
};

class FakeGrep final : public IGrepModeRunner {
 public:
  void RunGrepDialog(IProcessEditWindow&, const GrepLaunchRequest& request) override {
    calls.push_back("dialog");
    last = request;
  }
  void RunGrep(IProcessEditWindow&, const GrepLaunchRequest& request) override {
    calls.push_back("grep");
    last = request;
  }
  std::vector<std::string> calls;
  GrepLaunchRequest last;
};

// An edit window of this process in the shared list, with a file open and a caret: it answers the
// file-information and caret requests as an edit window does and notes the caret moves it is told.
class OpenEditWindow {
 public:
  OpenEditWindow(CShareData& share, const std::string& path, int32_t caretColumn, int32_t caretLine)
      : m_share(share), m_path(path), m_column(caretColumn), m_line(caretLine) {
    static const bool registered = [] {
      WNDCLASSEX wc;
      wc.lpfnWndProc = Proc;
      wc.lpszClassName = "ProcessFactoryOpenWindow";
      return platform::RegisterClassEx(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    m_hwnd = platform::CreateWindowEx(0, "ProcessFactoryOpenWindow", "open", 0, 0, 0, 40, 40, nullptr, nullptr,
                                      nullptr, nullptr);
    platform::SetWindowLongPtr(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_id = platform::ipc::RegisterWindow(m_hwnd, kEditWindowClass);
    EXPECT_TRUE(m_share.RegisterEditWindow(m_id));
  }
  ~OpenEditWindow() {
    m_share.UnregisterEditWindow(m_id);
    platform::ipc::UnregisterWindow(m_id);
    platform::DestroyWindow(m_hwnd);
  }
  std::vector<std::string> messages;
  std::optional<std::pair<int32_t, int32_t>> movedTo;

 private:
  static LRESULT Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<OpenEditWindow*>(platform::GetWindowLongPtr(hwnd, GWLP_USERDATA));
    if (!self) return platform::DefWindowProc(hwnd, msg, wParam, lParam);
    SharedSettings& record = *self->m_share.GetShareData();
    switch (msg) {
      case MYWM_GETFILEINFO:
        std::strncpy(record.ExchangeFileInfo.szPath, self->m_path.c_str(), kMaxPath - 1);
        return 0;
      case MYWM_GETCARETPOS:
        self->messages.push_back("GETCARETPOS");
        std::memcpy(record.szExchangeText, &self->m_column, 4);
        std::memcpy(record.szExchangeText + 4, &self->m_line, 4);
        return 0;
      case MYWM_SETCARETPOS: {
        self->messages.push_back("SETCARETPOS");
        int32_t column = 0, line = 0;
        std::memcpy(&column, record.szExchangeText, 4);
        std::memcpy(&line, record.szExchangeText + 4, 4);
        self->movedTo = {column, line};
        return 0;
      }
      default:
        return platform::DefWindowProc(hwnd, msg, wParam, lParam);
    }
  }

  CShareData& m_share;
  std::string m_path;
  int32_t m_column, m_line;
  HWND m_hwnd = nullptr;
  EditWindowId m_id = 0;
};

// Lets a test reach the steps that Run strings together.
// and notes which dialogs are shown while the settings are written.
class TestResident : public CResidentProcess {
 public:
  using CResidentProcess::CResidentProcess;
  using CResidentProcess::Finish;
  using CResidentProcess::Initialize;
  std::vector<std::string> shownWhileSaving;

 protected:
  bool SaveSettings() override {
    shownWhileSaving.clear();
    for (HWND dialog : platform::dialog_test::OpenDialogs())
      if (platform::IsWindowVisible(dialog)) shownWhileSaving.push_back(platform::dialog_test::TemplateOf(dialog));
    return CResidentProcess::SaveSettings();
  }
};

class ProcessFactoryTest : public testing::Test {
 protected:
  void SetUp() override {
    platform::EnsureGuiApp();
    names.record = scoped.name();
    // Beside the record's own locks ("<name>.life", "<name>.init").
    names.mutex = scoped.name() + ".editor";
    names.residentMutex = scoped.name() + ".editor-cp";
    names.readyEvent = scoped.name() + ".editor-cp-ready";
    names.initMutex = scoped.name() + ".editor-start";
  }

  void TearDown() override {
    // A tray that goes without its loop leaves the quit it posts: it must not end a later test's
    // dialog or loop.
    MSG msg;
    while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) platform::DispatchMessage(&msg);
  }

  EditorProcessSetup MakeSetup() {
    EditorProcessSetup setup;
    setup.names = names;
    setup.limits = {300ms, 300ms, 300ms};
    setup.launcher = launcher;
    setup.makeWindow = [this](CShareData&, const RecentFileRecord& request) {
      journal.calls.push_back("make");
      journal.request = request;
      return std::make_unique<FakeEditWindow>(journal, windowSucceeds, quitSignalInLoop);
    };
    setup.grep = grep;
    setup.settingsFile = (temp.path() / "tovara.ini").string();
    setup.system = &system;
    return setup;
  }
  std::unique_ptr<CProcessBase> Create(const char* text) { return CEditorProcessMaker(MakeSetup()).Create(nullptr, text); }

  // A resident as others see it: its mark, and its ready event (signalled or not).
  void PretendResident(bool ready) {
    ASSERT_EQ(residentMark.CreateOwned(names.residentMutex), platform::NamedMutex::Result::kOwned);
    ASSERT_EQ(readyEvent.Create(names.readyEvent), platform::NamedEvent::Result::kCreated);
    if (ready) {
      ASSERT_TRUE(readyEvent.Set());
    }
  }

  const ScopedNamedObjects scoped{"ProcessFactory-test"};
  const ScopedTempDir temp;
  EditorProcessNames names;
  FakeSystem system{{"/work/notes.txt", "/work"}};
  std::shared_ptr<FakeProcessLauncher> launcher = std::make_shared<FakeProcessLauncher>();
  std::shared_ptr<FakeGrep> grep = std::make_shared<FakeGrep>();
  WindowJournal journal;
  bool windowSucceeds = true;
  bool quitSignalInLoop = false;
  MessageBoxCapture boxes;
  platform::NamedMutex residentMark;
  platform::NamedEvent readyEvent;
};

TEST_F(ProcessFactoryTest, WhatEachStartGivesAndSays) {
  struct Case {
    const char* name;
    const char* text;
    bool residentRuns;       // a resident's mark and ready event exist
    bool residentReady;      // and the event is signalled
    Status launchAnswer;
    bool expectLaunch;       // the resident was started ("-NOWIN" in "/")
    const char* expectKind;  // "resident", "edit" or "null"
    std::string expectBox;   // empty: no message
  } cases[] = {
      {"NOWIN without a resident", "-NOWIN", false, false, Status::kStarted, false, "resident", ""},
      {"NOWIN with a resident", "-NOWIN", true, true, Status::kStarted, false, "null", ""},
      {"a file with a ready resident", "/work/notes.txt", true, true, Status::kStarted, false, "edit", ""},
      {"a launch that never becomes resident", "/work/notes.txt", false, false, Status::kStarted, true, "null", ""},
      {"a failed start", "/work/notes.txt", false, false, Status::kStartFailed, true, "null",
       std::string("'") + kExe + "'\nプロセスの起動に失敗しました。\n"_sj + "そのようなファイルはありません"_sj},
      {"a start never ready for input", "", false, false, Status::kNotReady, true, "null",
       std::string("'") + kExe + "'\nコントロールプロセスの起動に失敗しました。"_sj},
      {"a resident that is never ready", "/work/notes.txt", true, false, Status::kStarted, false, "null", kBusy},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    launcher->calls.clear();
    launcher->answer = {c.launchAnswer, c.launchAnswer == Status::kStartFailed
                                            ? std::string("そのようなファイルはありません"_sj)
                                            : std::string()};
    boxes.requests.clear();
    if (c.residentRuns) PretendResident(c.residentReady);

    std::unique_ptr<CProcessBase> process = Create(c.text);

    const std::string kind = !process                                               ? "null"
                             : dynamic_cast<CResidentProcess*>(process.get())     ? "resident"
                             : dynamic_cast<CEditWindowProcess*>(process.get()) ? "edit"
                                                                                  : "other";
    EXPECT_EQ(kind, c.expectKind);
    if (c.expectLaunch) {
      ASSERT_EQ(launcher->calls.size(), 1u);
      EXPECT_EQ(launcher->calls[0].text, "-NOWIN");
      EXPECT_EQ(launcher->calls[0].folder, "/");
      EXPECT_EQ(launcher->calls[0].limit, std::optional(300ms));
    } else {
      EXPECT_TRUE(launcher->calls.empty());
    }
    if (c.expectBox.empty()) {
      EXPECT_TRUE(boxes.requests.empty());
    } else {
      ASSERT_EQ(boxes.requests.size(), 1u);
      EXPECT_EQ(boxes.requests[0].text, c.expectBox);
      EXPECT_EQ(boxes.requests[0].caption, "tovara");
      EXPECT_NE(boxes.requests[0].flags & MB_ICONERROR, 0u);
    }
    readyEvent.Close();
    residentMark.Close();
  }
}

TEST_F(ProcessFactoryTest, EveryCreateTakesItsOwnText) {
  // The game makes a new process for every script it opens: the second must not reopen the first.
  PretendResident(true);
  FakeSystem both{{"/work/a.txt", "/work/b.txt"}};
  system = both;
  for (const char* path : {"/work/a.txt", "/work/b.txt"}) {
    SCOPED_TRACE(path);
    journal = {};
    std::unique_ptr<CProcessBase> process = Create(path);
    ASSERT_NE(process, nullptr);
    EXPECT_TRUE(process->Run());
    EXPECT_EQ(journal.path, path);
  }
}

TEST_F(ProcessFactoryTest, TheInstalledCreatorServesTheGamesFactory) {
  PretendResident(true);
  InstallEditorProcessFactory(MakeSetup());
  std::unique_ptr<CProcessBase> process = CEditorProcessFactory().Create(nullptr, "/work/notes.txt -Y=3");
  SetEditorProcessCreator({});
  ASSERT_NE(dynamic_cast<CEditWindowProcess*>(process.get()), nullptr);
  EXPECT_EQ(CEditorProcessFactory().Create(nullptr, "/work/notes.txt"), nullptr);
}

TEST_F(ProcessFactoryTest, AnotherStartHoldingTheInitMutexTooLongShowsTheBusyMessage) {
  PretendResident(true);
  platform::NamedMutex other;
  ASSERT_EQ(other.CreateOwned(names.initMutex), platform::NamedMutex::Result::kOwned);
  std::unique_ptr<CProcessBase> process = Create("/work/notes.txt");
  ASSERT_NE(process, nullptr);

  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(process->Run());
  EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].text, kBusy);
  EXPECT_NE(boxes.requests[0].flags & MB_TOPMOST, 0u);
  EXPECT_TRUE(journal.calls.empty()) << "no window without the init mutex";

  // Once the other start is through, the next one goes ahead and lets the mutex go again.
  other.Close();
  boxes.requests.clear();
  process = Create("/work/notes.txt");
  ASSERT_NE(process, nullptr);
  EXPECT_TRUE(process->Run());
  EXPECT_TRUE(boxes.requests.empty());
  EXPECT_EQ(other.CreateOwned(names.initMutex), platform::NamedMutex::Result::kOwned);
}

TEST_F(ProcessFactoryTest, WindowKindsByTheCommandLine) {
  PretendResident(true);
  struct Case {
    const char* name;
    const char* text;
    std::vector<std::string> calls;
    std::string path;
    int code;
    bool readOnly;
    std::vector<std::string> grepCalls;
  } cases[] = {
      {"a file", "/work/notes.txt -CODE=3 -R", {"make", "Create", "ApplyPositionRequest", "RunMessageLoop"},
       "/work/notes.txt", 3, true, {}},
      {"no file", "-CODE=1", {"make", "Create", "RunMessageLoop"}, "(null)", 1, false, {}},
      {"debug mode, grep ignored", "-DEBUGMODE -GREPMODE -GKEY=abc",
       {"make", "Create", "BecomeOutputWindow", "RunMessageLoop"}, "(null)", 0, false, {}},
      {"grep mode", "-GREPMODE -GKEY=\"abc\" -GFILE=\"*.txt\" -GFOLDER=\"/work\" -GOPT=SRW",
       {"make", "Create", "RunMessageLoop"}, "(null)", 0, false, {"grep"}},
      {"grep dialog", "-GREPMODE -GREPDLG -GKEY=\"abc\" -GFILE=\"*.txt\" -GFOLDER=\"/work\" -GOPT=L2",
       {"make", "Create", "RunMessageLoop"}, "(null)", 0, false, {"dialog"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    journal = {};
    grep->calls.clear();
    std::unique_ptr<CProcessBase> process = Create(c.text);
    ASSERT_NE(process, nullptr);
    EXPECT_TRUE(process->Run());
    EXPECT_EQ(journal.calls, c.calls);
    EXPECT_EQ(journal.path, c.path);
    EXPECT_EQ(journal.code, c.code);
    EXPECT_EQ(journal.readOnly, c.readOnly);
    EXPECT_EQ(journal.type, -1);
    EXPECT_EQ(grep->calls, c.grepCalls);
    EXPECT_TRUE(boxes.requests.empty());
  }
  EXPECT_EQ(grep->last.key, "abc");
  EXPECT_EQ(grep->last.files, "*.txt");
  EXPECT_EQ(grep->last.folder, "/work");
  EXPECT_TRUE(grep->last.loHiCase);
  EXPECT_FALSE(grep->last.subFolder);
  EXPECT_EQ(grep->last.outputStyle, 2);
}

TEST_F(ProcessFactoryTest, AGrepWindowRunsTheSearchTheTrayAskedFor) {
  PretendResident(true);
  GrepLaunchRequest asked;
  asked.key = std::string("say \"hi\" ") + "表"_sj;
  asked.files = "*.txt *.c";
  asked.folder = "/work";
  asked.code = 4;
  asked.subFolder = true;
  asked.regularExp = true;
  asked.wordOnly = true;
  asked.outputStyle = 2;
  std::unique_ptr<CProcessBase> process = Create(GrepLaunchText(asked).c_str());
  ASSERT_NE(process, nullptr);
  EXPECT_TRUE(process->Run());
  ASSERT_EQ(grep->calls, std::vector<std::string>{"grep"});
  const GrepLaunchRequest& got = grep->last;
  EXPECT_EQ(got.key, asked.key);
  EXPECT_EQ(got.files, asked.files);
  EXPECT_EQ(got.folder, asked.folder);
  EXPECT_EQ(got.code, asked.code);
  EXPECT_EQ(got.subFolder, asked.subFolder);
  EXPECT_EQ(got.loHiCase, asked.loHiCase);
  EXPECT_EQ(got.regularExp, asked.regularExp);
  EXPECT_EQ(got.outputLine, asked.outputLine);
  EXPECT_EQ(got.wordOnly, asked.wordOnly);
  EXPECT_EQ(got.outputStyle, asked.outputStyle);
}

TEST_F(ProcessFactoryTest, GrepDialogStartRemembersTheSearchInTheSettings) {
  PretendResident(true);
  std::unique_ptr<CProcessBase> process = Create("-GREPMODE -GREPDLG -GKEY=\"needle\" -GFILE=\"*.c\" -GFOLDER=\"/src\" -GOPT=SLRPW2 -GCODE=3");
  ASSERT_NE(process, nullptr);
  EXPECT_TRUE(process->Run());
  CShareData look;
  ASSERT_TRUE(look.Init(names.record.c_str()));
  const SharedSettings& record = *look.GetShareData();
  EXPECT_STREQ(record.szSearchKeys[0], "needle");
  EXPECT_STREQ(record.szGrepFiles[0], "*.c");
  EXPECT_STREQ(record.szGrepFolders[0], "/src");
  EXPECT_EQ(record.Common.bGrepSubFolder, 1);
  EXPECT_EQ(record.Common.bSearchLoHiCase, 1);
  EXPECT_EQ(record.Common.bSearchRegularExp, 1);
  EXPECT_EQ(record.Common.bGrepOutputLine, 1);
  EXPECT_EQ(record.Common.bSearchWordOnly, 1);
  EXPECT_EQ(record.Common.nGrepOutputStyle, 2);
  EXPECT_EQ(record.Common.nGrepCharSet, 3);
}

TEST_F(ProcessFactoryTest, AFileAlreadyOpenMovesThatWindowsCaretOnlyForALine) {
  PretendResident(true);
  CShareData share;
  ASSERT_TRUE(share.Init(names.record.c_str()));
  struct Case {
    const char* name;
    const char* text;
    std::vector<std::string> messages;
    std::optional<std::pair<int32_t, int32_t>> movedTo;  // (column, line), 0-based
  } cases[] = {
      {"line and column", "/work/notes.txt -X=4 -Y=9", {"SETCARETPOS"}, std::pair{3, 8}},
      {"line only: the column stays", "/work/notes.txt -Y=9", {"GETCARETPOS", "SETCARETPOS"}, std::pair{7, 8}},
      {"neither: only brought forward", "/work/notes.txt", {}, std::nullopt},
      {"column only: only brought forward", "/work/notes.txt -X=4", {}, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    journal = {};
    OpenEditWindow open(share, "/work/notes.txt", 7, 2);
    std::unique_ptr<CProcessBase> process = Create(c.text);
    ASSERT_NE(process, nullptr);
    EXPECT_FALSE(process->Run()) << "the process ends without a window";
    EXPECT_EQ(open.messages, c.messages);
    EXPECT_EQ(open.movedTo, c.movedTo);
    EXPECT_TRUE(journal.calls.empty());
    EXPECT_TRUE(boxes.requests.empty());
  }
  // The init mutex was let go.
  platform::NamedMutex init;
  EXPECT_EQ(init.CreateOwned(names.initMutex), platform::NamedMutex::Result::kOwned);
}

TEST_F(ProcessFactoryTest, TheWindowsEndStopsOnlyItsOwnLoop) {
  PretendResident(true);
  std::unique_ptr<CProcessBase> process = Create("/work/notes.txt");
  ASSERT_NE(process, nullptr);
  EXPECT_TRUE(process->Run());
  EXPECT_TRUE(journal.launcherWhileRunning);
  process.reset();
  EXPECT_EQ(GetDocLauncher(), nullptr) << "the process's launcher goes with it";
  EXPECT_EQ(CShareData::GetInstance(), nullptr) << "and so does its record";
  // The host's loop goes on: no quit request is left for it.
  platform::PostMessage(nullptr, WM_USER + 8, 0, 0);
  MSG msg;
  std::vector<UINT> left;
  while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    left.push_back(msg.message);
    if (msg.message == WM_QUIT) break;
  }
  EXPECT_EQ(left, (std::vector<UINT>{WM_USER + 7, WM_USER + 8})) << "the host's own message waits for its loop";
}

// What the host's messages ask for once the window is gone is the host's: a quit its window asks
// for then reaches its loop, not the end of the editor's.
TEST_F(ProcessFactoryTest, AQuitTheHostAsksAfterTheWindowsEndReachesTheHost) {
  PretendResident(true);
  const HWND host = MakePlainWindow();
  ASSERT_NE(host, nullptr);
  journal.host = host;
  std::unique_ptr<CProcessBase> process = Create("/work/notes.txt");
  ASSERT_NE(process, nullptr);
  EXPECT_TRUE(process->Run());
  process.reset();
  MSG msg;
  std::optional<WPARAM> quit;
  while (!quit && platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) quit = msg.wParam;
    else platform::DispatchMessage(&msg);
  }
  EXPECT_EQ(quit, std::optional<WPARAM>(4));
  platform::DestroyWindow(host);
}

// The game asked to end while its script's window ran in its process: once the window is gone its
// loop hears that request, with its code, and not the window's own.
TEST_F(ProcessFactoryTest, AQuitTheWindowTookFromTheGameReachesTheGameAfterwards) {
  PretendResident(true);
  journal.othersQuit = 3;
  std::unique_ptr<CProcessBase> process = Create("/work/notes.txt");
  ASSERT_NE(process, nullptr);
  EXPECT_TRUE(process->Run());
  process.reset();
  MSG msg;
  std::vector<std::pair<UINT, WPARAM>> left;
  while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    left.emplace_back(msg.message, msg.wParam);
    if (msg.message == WM_QUIT) break;
  }
  // The host's own message, then the game's request; the window's quit is gone.
  EXPECT_EQ(left, (std::vector<std::pair<UINT, WPARAM>>{{WM_USER + 7, 0}, {WM_QUIT, 3}}));
}

TEST_F(ProcessFactoryTest, AQuitSignalClosesTheWindowAsItsCloseButtonDoes) {
  platform::InstallQuitSignals();
  PretendResident(true);
  quitSignalInLoop = true;
  ClosesHeard() = 0;
  std::unique_ptr<CProcessBase> process = Create("/work/notes.txt");
  ASSERT_NE(process, nullptr);
  EXPECT_TRUE(process->Run());
  EXPECT_EQ(ClosesHeard(), 1);
  platform::ClearQuitSignal();
}

TEST_F(ProcessFactoryTest, NoWindowMeansNoLoop) {
  PretendResident(true);
  windowSucceeds = false;
  std::unique_ptr<CProcessBase> process = Create("/work/notes.txt");
  ASSERT_NE(process, nullptr);
  EXPECT_FALSE(process->Run());
  EXPECT_EQ(journal.calls, (std::vector<std::string>{"make", "Create"}));
}

TEST_F(ProcessFactoryTest, ResidentMarksItselfReadyAndKeepsTheSettings) {
  const std::string ini = (temp.path() / "tovara.ini").string();
  ASSERT_FALSE(std::filesystem::exists(ini));
  {
    TestResident resident(nullptr, "-NOWIN", names, launcher, ini);
    ASSERT_TRUE(resident.Initialize());
    EXPECT_TRUE(boxes.requests.empty());
    EXPECT_TRUE(platform::NamedMutex::OwnerExists(names.residentMutex));
    EXPECT_EQ(platform::NamedEvent::Wait(names.readyEvent, 0ms), platform::NamedEvent::WaitResult::kSignalled);
    ASSERT_NE(resident.GetMainWindow(), nullptr);
    ASSERT_NE(resident.GetEditApp(), nullptr);
    EXPECT_EQ(resident.GetSharedRecord()->hwndResident, resident.GetEditApp()->GetTrayWindowId());
    EXPECT_TRUE(std::filesystem::exists(ini)) << "no settings file yet: the defaults are written";

    // A second resident that lost the race goes away without a word.
    TestResident second(nullptr, "-NOWIN", names, launcher, ini);
    EXPECT_FALSE(second.Initialize());
    EXPECT_TRUE(boxes.requests.empty());

    std::filesystem::remove(ini);
    resident.GetSharedRecord()->Common.bDispExitingDialog = 0;
    resident.Finish();
    EXPECT_TRUE(std::filesystem::exists(ini)) << "the settings are written at the end";
    EXPECT_EQ(resident.GetSharedRecord()->hwndResident, 0u);
  }
  // Gone: nothing of it is held any more.
  EXPECT_FALSE(platform::NamedMutex::OwnerExists(names.residentMutex));
  platform::NamedMutex mark;
  EXPECT_EQ(mark.CreateOwned(names.mutex), platform::NamedMutex::Result::kOwned);
}

// The defaults become the settings file only where there is none: a file that is there but cannot be
// read (here a link that leads nowhere but round in a loop) is the user's, and stays as it is.
TEST_F(ProcessFactoryTest, ResidentLeavesASettingsFileItCannotReadAlone) {
  const std::filesystem::path ini = temp.path() / "tovara.ini";
  std::filesystem::create_symlink(ini, ini);
  {
    TestResident resident(nullptr, "-NOWIN", names, launcher, ini.string());
    ASSERT_TRUE(resident.Initialize());
    EXPECT_TRUE(std::filesystem::is_symlink(ini)) << "the unreadable settings file was replaced by the defaults";
    resident.GetSharedRecord()->Common.bDispExitingDialog = 0;
    resident.Finish();
    EXPECT_TRUE(std::filesystem::is_symlink(ini)) << "the end of the run wrote over the unreadable settings file";
  }
  std::filesystem::remove(ini);
}

TEST_F(ProcessFactoryTest, ExitingNoticeShowsWhileTheSettingsAreWrittenWhenAskedFor) {
  ASSERT_TRUE(RegisterExitingNoticeTemplate());
  for (int show : {1, 0}) {
    SCOPED_TRACE(show);
    TestResident resident(nullptr, "-NOWIN", names, launcher, (temp.path() / "tovara.ini").string());
    ASSERT_TRUE(resident.Initialize());
    resident.GetSharedRecord()->Common.bDispExitingDialog = show;
    resident.Finish();
    EXPECT_EQ(resident.shownWhileSaving, show ? std::vector<std::string>{"175"} : std::vector<std::string>{});
    EXPECT_TRUE(platform::dialog_test::OpenDialogs().empty()) << "the notice is gone again";
  }
}

}  // namespace
