#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "editor/foundation/beep_capture.h"
#include "editor/foundation/document/doc_interfaces.h"
#include "editor/foundation/document/fake_ports.h"
#include "editor/foundation/message_box_capture.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/view/pane/view_fixture.h"
#include "editor/view/search/tag_jump_list_dialog.h"
#include "editor/view/search/tags_make_dialog.h"
#include "platform/dialog_test.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"
#include "scoped_temp_dir.h"

namespace {

namespace dt = platform::dialog_test;

constexpr int kTagJump = 30940;
constexpr int kTagJumpAndClose = 30945;
constexpr int kTagJumpBack = 30941;
constexpr int kDirectTagJump = 30944;
constexpr int kTagMake = 30943;
constexpr int kOpenHHpp = 30160;
constexpr int kOpenCCpp = 30161;
constexpr int kOpenHfromtoC = 30162;

// An edit window of this process that has a file open: it answers the file-information request
// with its path and records the caret moves and close requests it receives.
class OpenWindow {
 public:
  explicit OpenWindow(std::string path) : path(std::move(path)) {
    WNDCLASSEX wc;
    wc.lpfnWndProc = &Proc;
    wc.lpszClassName = "TagJumpTestWindow";
    platform::RegisterClassEx(&wc);
    hwnd = platform::CreateWindowEx(0, "TagJumpTestWindow", "w", 0, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
    Windows()[hwnd] = this;
    id = platform::ipc::RegisterWindow(hwnd, kEditWindowClass);
    CShareData::GetInstance()->RegisterEditWindow(id);
  }
  ~OpenWindow() {
    Close();
    Windows().erase(hwnd);
    platform::DestroyWindow(hwnd);
  }
  OpenWindow(const OpenWindow&) = delete;
  OpenWindow& operator=(const OpenWindow&) = delete;

  // The window goes away as a closed edit window does: out of the list, no longer reachable.
  void Close() {
    if (!id) return;
    CShareData::GetInstance()->UnregisterEditWindow(id);
    platform::ipc::UnregisterWindow(id);
    id = 0;
  }
  bool Shown() const { return platform::IsWindowVisible(hwnd); }

  std::string path;
  HWND hwnd = nullptr;
  EditWindowId id = 0;
  std::vector<POINT> carets;  // document column, line
  int closeRequests = 0;

 private:
  static std::map<HWND, OpenWindow*>& Windows() {
    static std::map<HWND, OpenWindow*> windows;
    return windows;
  }
  static LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto it = Windows().find(hwnd);
    if (it == Windows().end()) return platform::DefWindowProc(hwnd, message, wParam, lParam);
    OpenWindow& w = *it->second;
    SharedSettings& s = *CShareData::GetInstance()->GetShareData();
    switch (message) {
      case MYWM_GETFILEINFO:
        std::strncpy(s.ExchangeFileInfo.szPath, w.path.c_str(), kMaxPath - 1);
        return 0;
      case MYWM_SETCARETPOS: {
        int32_t column = 0, line = 0;
        ReadExchangePosition(s, &column, &line);
        w.carets.push_back(POINT{column, line});
        return 0;
      }
      case WM_CLOSE:
        ++w.closeRequests;
        return 0;
      default:
        return platform::DefWindowProc(hwnd, message, wParam, lParam);
    }
  }
};

// A launcher whose new process opens a window for the file it names, unless told to fail.
class OpeningLauncher : public FakeLauncher {
 public:
  bool LaunchEditorProcess(const char* text, int code, bool readOnly, bool wait, const char* folder) override {
    FakeLauncher::LaunchEditorProcess(text, code, readOnly, wait, folder);
    if (!opensPath.empty()) opened.push_back(std::make_unique<OpenWindow>(opensPath));
    return result;
  }
  std::string opensPath;  // the file the started window shows; empty: none comes
  std::vector<std::unique_ptr<OpenWindow>> opened;
};

void Pump() {
  MSG msg;
  while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) platform::DispatchMessage(&msg);
}

class TagCommandsTest : public ViewFixture {
 protected:
  void SetUp() override {
    ViewFixture::SetUp();
    platform::EnsureGuiApp();
    self = std::make_unique<OpenWindow>(dir.File("self.txt"));
    editWindow.window = self->hwnd;
    frame.id = self->id;
    BindFrame();
  }
  void TearDown() override {
    Pump();
    launcher.opened.clear();
    self.reset();
    ViewFixture::TearDown();
  }
  // This pane's document in the edit window `self`.
  void BindFrame() {
    DocPorts ports;
    ports.frame = &frame;
    ports.panes[0] = view.get();
    doc->SetPorts(ports);
  }
  // A document named name (in dir) holding text, caret at (column, line).
  void Document(const std::string& name, std::string_view text, int column = 0, int line = 0) {
    MakeDocumentAndPane();
    BindFrame();
    SetText(text);
    if (!name.empty()) doc->SetFilePath(dir.File(name).c_str());
    view->PlaceCaret(POINT{column, line});
  }
  LRESULT Run(int command, LPARAM argument = 0) { return view->RunCommand(command, true, argument, 0, 0, 0); }
  int RingCount() const { return record->nReturnPointCount; }
  std::string Status() { return editWindow.status[0]; }

  ScopedTempDir dir;
  FakeFrame frame;
  OpeningLauncher launcher;
  LauncherScope launcherScope{&launcher};
  BeepCapture beeps;
  MessageBoxCapture boxes;
  std::unique_ptr<OpenWindow> self;
};

// What TagJump does with the caret's line: the window that has the file gets the caret (0-based
// document column and line) or a new window is started with -X and -Y; every arrival pushes one
// return point; anything else tells the status bar.
TEST_F(TagCommandsTest, TagJumpOpensWhatTheCaretsLineNames) {
  struct Case {
    const char* name;
    std::string text;  // "@" stands for the folder of the files
    int caretLine;
    bool alreadyOpen;     // a window has a.c open
    bool launchOpens;     // a started process shows its window
    const char* launchArgs;  // what follows the path on the started window's command line; null: none started
    std::vector<POINT> caretMoves;  // received by the window that has a.c
    bool arrived;
  };
  const Case cases[] = {
      {"a second-style hit below its header, file open", "■\"@a.c\"\r\n・(    12,3    ): x = 1;\r\n"_sj, 1, true, false,
       nullptr, {{2, 11}}, true},
      {"a second-style hit below its header, new window", "■\"@a.c\"\r\n・(    12,3    ): x = 1;\r\n"_sj, 1, false,
       true, " -X=3 -Y=12", {}, true},
      {"the header line opens without a place", "■\"@a.c\"\r\n・(    12,3    ): x\r\n"_sj, 0, true, false, nullptr, {},
       true},
      {"only a file's name, file open", "@a.c\r\n", 0, true, false, nullptr, {}, true},
      {"only a file's name, new window", "@a.c\r\n", 0, false, true, "", {}, true},
      {"a first-style hit", "@a.c(7,5)  [SJIS]: a = b;\r\n", 0, true, false, nullptr, {{4, 6}}, true},
      {"a line with no column", "@a.c:7: error\r\n", 0, true, false, nullptr, {{0, 6}}, true},
      {"a hit whose header names a missing file", "■\"@gone.c\"\r\n・(1,1): x\r\n"_sj, 1, true, false, nullptr, {},
       false},
      {"a hit without its header", "text\r\n・(1,1): x\r\n"_sj, 1, true, false, nullptr, {}, false},
      {"the started process never shows a window", "@a.c(2,2)\r\n", 0, false, false, " -X=2 -Y=2", {}, false},
      {"a line without a path asks the tags files", "no path here\r\n", 0, true, false, nullptr, {}, false},
  };
  dir.Write("a.c", "int x;\n");
  const std::string folder = dir.File("");
  const std::string file = dir.File("a.c");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string text = c.text;
    for (size_t at; (at = text.find('@')) != std::string::npos;) text.replace(at, 1, folder);
    Document("self.txt", text, 0, c.caretLine);
    launcher.launches.clear();
    launcher.opensPath = c.launchOpens ? file : "";
    editWindow.status.clear();
    std::unique_ptr<OpenWindow> open = c.alreadyOpen ? std::make_unique<OpenWindow>(file) : nullptr;
    const int ring = RingCount();

    Run(kTagJump);

    if (c.launchArgs) {
      ASSERT_EQ(launcher.launches.size(), 1u);
      EXPECT_EQ(launcher.launches[0].text, file + c.launchArgs);
      EXPECT_EQ(launcher.launches[0].code, 99);
      EXPECT_TRUE(launcher.launches[0].wait);
      EXPECT_FALSE(launcher.launches[0].readOnly);
    } else {
      EXPECT_TRUE(launcher.launches.empty());
    }
    if (open) {
      ASSERT_EQ(open->carets.size(), c.caretMoves.size());
      for (size_t i = 0; i < c.caretMoves.size(); ++i) {
        EXPECT_EQ(open->carets[i].x, c.caretMoves[i].x);
        EXPECT_EQ(open->carets[i].y, c.caretMoves[i].y);
      }
      EXPECT_EQ(open->Shown(), c.arrived);
    }
    EXPECT_EQ(Status(), c.arrived ? "" : "タグジャンプできません"_sj);
    if (c.arrived) {
      EXPECT_EQ(RingCount(), ring + 1);
      const TagJumpReturnPoint& top = record->ReturnPoints[record->nReturnPointTop];
      EXPECT_EQ(top.hwnd, self->id);
      EXPECT_EQ(top.nCaretX, 0);
      EXPECT_EQ(top.nCaretY, c.caretLine);
    }
    EXPECT_EQ(self->closeRequests, 0);
    launcher.opened.clear();
  }
}

// A relative name is looked for, and opened, from the editor's current folder.
TEST_F(TagCommandsTest, ARelativeNameIsTakenFromTheEditorsFolder) {
  dir.Write("src/b.h", "x\n");
  const std::string before = EditorCurrentFolder();
  SetEditorCurrentFolder(dir.File(""));
  OpenWindow open(dir.File("src/b.h"));
  Document("self.txt", "src/b.h:3:1: warning\r\n");
  Run(kTagJump);
  SetEditorCurrentFolder(before);
  ASSERT_EQ(open.carets.size(), 1u);
  EXPECT_EQ(open.carets[0].y, 2);
  EXPECT_TRUE(open.Shown());
}

// 30945 and TagJump with a non-zero argument close this window, but only after a jump that
// arrived.
TEST_F(TagCommandsTest, TheClosingJumpClosesOnlyAfterArriving) {
  dir.Write("a.c", "int x;\n");
  const struct {
    const char* name;
    int command;
    LPARAM argument;
    bool fileThere;
    int closes;
  } cases[] = {
      {"30945 after a jump", kTagJumpAndClose, 0, true, 1},
      {"TagJump with argument 1", kTagJump, 1, true, 1},
      {"TagJump without argument", kTagJump, 0, true, 0},
      {"30945 when the jump failed", kTagJumpAndClose, 0, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Document("self.txt", dir.File("a.c") + "(3,1)\r\n");
    std::unique_ptr<OpenWindow> open = c.fileThere ? std::make_unique<OpenWindow>(dir.File("a.c")) : nullptr;
    self->closeRequests = 0;
    Run(c.command, c.argument);
    Pump();
    EXPECT_EQ(self->closeRequests, c.closes);
  }
}

TEST_F(TagCommandsTest, TagJumpBackReturnsToWhereTheJumpLeft) {
  dir.Write("a.c", "int x;\n");
  OpenWindow open(dir.File("a.c"));
  Document("self.txt", "line one\r\nsee " + dir.File("a.c") + "(3,1)\r\n", 5, 1);
  Run(kTagJump);
  ASSERT_EQ(open.carets.size(), 1u);
  ASSERT_EQ(RingCount(), 1);

  platform::ShowWindow(self->hwnd, SW_HIDE);
  Run(kTagJumpBack);
  ASSERT_EQ(self->carets.size(), 1u);
  EXPECT_EQ(self->carets[0].x, 5);
  EXPECT_EQ(self->carets[0].y, 1);
  EXPECT_TRUE(self->Shown());
  EXPECT_EQ(RingCount(), 0);
  EXPECT_EQ(Status(), "");

  Run(kTagJumpBack);
  EXPECT_EQ(Status(), "タグジャンプバックできません"_sj);
  EXPECT_EQ(self->carets.size(), 1u);
}

// A point whose window has gone is dropped: the next TagJumpBack goes to the point below it.
TEST_F(TagCommandsTest, TagJumpBackToAClosedWindowFailsAndDropsThePoint) {
  OpenWindow older(dir.File("older.txt"));
  auto closed = std::make_unique<OpenWindow>(dir.File("closed.txt"));
  share.PushReturnPoint(TagJumpReturnPoint{older.id, 1, 2});
  share.PushReturnPoint(TagJumpReturnPoint{closed->id, 3, 4});
  closed->Close();

  Run(kTagJumpBack);
  EXPECT_EQ(Status(), "タグジャンプバックできません"_sj);
  EXPECT_TRUE(closed->carets.empty());
  EXPECT_EQ(RingCount(), 1);

  editWindow.status.clear();
  Run(kTagJumpBack);
  EXPECT_EQ(Status(), "");
  ASSERT_EQ(older.carets.size(), 1u);
  EXPECT_EQ(older.carets[0].x, 1);
  EXPECT_EQ(older.carets[0].y, 2);
  EXPECT_EQ(RingCount(), 0);
}

// The paired-file commands on a temporary tree: which partner they open, how they fail, and that
// the partner's extension is tried as the list spells it while the document's compares without
// case.
TEST_F(TagCommandsTest, PairedFilesOpenTheirPartner) {
  struct Case {
    const char* name;
    std::vector<std::string> files;
    const char* document;
    int command;
    LPARAM argument;
    bool partnerOpen;  // a window already shows the partner
    bool launchOpens;
    const char* partner;  // the file opened or activated; null: none
    LRESULT result;
    size_t beeps;
    bool failureMessage;
  };
  const Case cases[] = {
      {"a source opens its .h", {"main.cpp", "main.h", "main.hpp"}, "main.cpp", kOpenHHpp, 0, false, true, "main.h", 1, 0,
       false},
      {"else its .hpp", {"main.cpp", "main.hpp"}, "main.cpp", kOpenHHpp, 0, false, true, "main.hpp", 1, 0, false},
      {"a header is not a source", {"main.h", "main.hpp"}, "main.h", kOpenHHpp, 0, false, true, nullptr, 0, 1, false},
      {"no header there", {"main.cpp"}, "main.cpp", kOpenHHpp, 0, false, true, nullptr, 0, 1, false},
      {"a header opens its source", {"util.hxx", "util.c", "util.cpp"}, "util.hxx", kOpenCCpp, 0, false, true, "util.c",
       1, 0, false},
      {"the document's extension without case", {"MAIN.CPP", "MAIN.h"}, "MAIN.CPP", kOpenHHpp, 0, false, true,
       "MAIN.h", 1, 0, false},
      {"the partner's name exactly", {"main.cpp", "main.H"}, "main.cpp", kOpenHHpp, 0, false, true, nullptr, 0, 1,
       false},
      {"a folder is no partner", {"main.cpp", "main.h/x"}, "main.cpp", kOpenHHpp, 0, false, true, nullptr, 0, 1, false},
      {"a name with no extension", {"Makefile"}, "Makefile", kOpenHHpp, 0, false, true, nullptr, 0, 1, false},
      {"check only", {"main.cpp", "main.h"}, "main.cpp", kOpenHHpp, 1, false, true, nullptr, 1, 0, false},
      {"a partner already open", {"main.cpp", "main.h"}, "main.cpp", kOpenHHpp, 0, true, false, "main.h", 1, 0, false},
      {"its window never comes", {"main.cpp", "main.h"}, "main.cpp", kOpenHHpp, 0, false, false, nullptr, 0, 0, true},
      {"a blank in the folder", {"my dir/a.cc", "my dir/a.hh"}, "my dir/a.cc", kOpenHHpp, 0, false, true, "my dir/a.hh",
       1, 0, false},
      {"both ways from a header", {"k.h", "k.c"}, "k.h", kOpenHfromtoC, 0, false, true, "k.c", 1, 0, false},
      {"both ways from a source", {"k.c", "k.h"}, "k.c", kOpenHfromtoC, 0, false, true, "k.h", 1, 0, false},
      {"both ways fail with one beep", {"k.txt", "k.h"}, "k.txt", kOpenHfromtoC, 0, false, true, nullptr, 0, 1, false},
      {"an untitled document", {}, "", kOpenHHpp, 0, false, true, nullptr, 0, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedTempDir tree;
    for (const std::string& f : c.files) tree.Write(f, "x\n");
    Document("", "text\r\n");
    if (c.document[0]) doc->SetFilePath(tree.File(c.document).c_str());
    doc->m_nCharCode = 2;
    const std::string partner = c.partner ? tree.File(c.partner) : "";
    std::unique_ptr<OpenWindow> open = c.partnerOpen ? std::make_unique<OpenWindow>(partner) : nullptr;
    launcher.launches.clear();
    launcher.opensPath = c.launchOpens ? partner : "";
    beeps.beeps.clear();
    boxes.requests.clear();

    EXPECT_EQ(Run(c.command, c.argument), c.result);

    EXPECT_EQ(beeps.beeps.size(), c.beeps);
    const bool launched = c.partner && !c.partnerOpen;
    if (launched) {
      ASSERT_EQ(launcher.launches.size(), 1u);
      const bool blank = partner.find(' ') != std::string::npos;
      EXPECT_EQ(launcher.launches[0].text, blank ? "\"" + partner + "\"" : partner);
      EXPECT_EQ(launcher.launches[0].code, 2);
      EXPECT_TRUE(launcher.launches[0].wait);
    } else if (!c.failureMessage) {
      EXPECT_TRUE(launcher.launches.empty());
    }
    if (open) {
      EXPECT_TRUE(open->Shown());
    }
    if (!launcher.opened.empty()) {
      EXPECT_TRUE(launcher.opened[0]->Shown());
    }
    EXPECT_EQ(RingCount(), c.partner ? 1 : 0);
    if (c.failureMessage) {
      ASSERT_EQ(boxes.requests.size(), 1u);
      EXPECT_EQ(boxes.requests[0].text,
                "C/C++ヘッダファイルのオープンに失敗しました。"_sj + std::string("\n\n") + tree.File("main.h") + "\n\n");
      EXPECT_EQ(boxes.requests[0].flags & MB_ICONERROR, static_cast<UINT>(MB_ICONERROR));
    } else {
      EXPECT_TRUE(boxes.requests.empty());
    }
    launcher.opened.clear();
    record->nReturnPointCount = 0;
  }
}

TEST_F(TagCommandsTest, OpenCCppNamesTheSourceInItsFailure) {
  dir.Write("m.h", "x\n");
  dir.Write("m.cp", "x\n");
  Document("m.h", "x\r\n");
  EXPECT_EQ(Run(kOpenCCpp), 0);
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].text,
            "C/C++ソースファイルのオープンに失敗しました。"_sj + std::string("\n\n") + dir.File("m.cp") + "\n\n");
}

// The tags files are asked for the word at the caret: a tag in the parent folder's "tags" (the
// document's folder has none) opens its file, joined to that folder, at its line.
TEST_F(TagCommandsTest, DirectTagJumpOpensTheFunctionsFileAtItsLine) {
  dir.Write("tags", "!_TAG_FILE_SORTED\t1\t/0=unsorted, 1=sorted/\nmain\tsrc/main.c\t12;\"\tf\n"
                    "run_engine\tlib/engine.c\t40;\"\tf\nzeta\tsrc/z.c\t3;\"\tv\n");
  dir.Write("lib/engine.c", "int run_engine(void) { return 0; }\n");
  dir.Write("app/app.c", "x\n");
  Document("app/app.c", "  run_engine();\r\n", 4, 0);
  launcher.opensPath = dir.File("lib/engine.c");

  Run(kDirectTagJump);

  ASSERT_EQ(launcher.launches.size(), 1u);
  EXPECT_EQ(launcher.launches[0].text, dir.File("lib/engine.c") + " -Y=40");
  EXPECT_TRUE(launcher.launches[0].wait);
  EXPECT_EQ(RingCount(), 1);
}

// The keyword list's choice is opened: a relative file joined to the folder of the tags file that
// listed it, an absolute one as it is. A cancelled list is handled; an untitled document has no
// folder to search from and fails without a list.
TEST_F(TagCommandsTest, KeywordTagJumpOpensTheChosenEntry) {
  dir.Write("tags", "func\tsub/y.cpp\t40;\"\tf\n");
  dir.Write("a/b/tags", "func_abs\t" + dir.File("abs.c") + "\t7;\"\tf\n");
  dir.Write("sub/y.cpp", "x\n");
  dir.Write("abs.c", "x\n");
  struct Case {
    const char* name;
    const char* document;  // in dir; empty: untitled
    const char* keyword;
    bool choose;           // OK on the first row after the search; else cancel
    const char* opens;     // in dir; null: nothing is started
    const char* where;     // what follows the path on the started window's command line
    LRESULT result;
    bool listShown;
  };
  const Case cases[] = {
      {"a relative file two levels up", "a/b/x.c", "func", true, "sub/y.cpp", " -Y=40", 1, true},
      {"an absolute file as it is", "a/b/x.c", "func_", true, "abs.c", " -Y=7", 1, true},
      {"a cancelled list is handled", "a/b/x.c", "func", false, nullptr, "", 1, true},
      {"an untitled document", "", "func", true, nullptr, "", 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Document(c.document, "text\r\n");
    launcher.launches.clear();
    launcher.opensPath = c.opens ? dir.File(c.opens) : "";
    bool listShown = false;
    std::vector<std::vector<std::string>> rows;
    dt::SetShownHook([&](HWND d) {
      if (dt::TemplateOf(d) != "228") return;
      listShown = true;
      platform::SendMessage(d, WM_TIMER, CTagJumpListDialog::kSearchTimer, 0);
      rows = dt::Query(d, CTagJumpListDialog::kList)->rows;
      dt::Select(d, CTagJumpListDialog::kList, 0);
      dt::Click(d, c.choose ? IDOK : IDCANCEL);
    });
    // The dispatcher gives 1 for this command whatever came of it: its own result is asked here.
    const LRESULT result = view->Command_KEYWORDTAGJUMP(c.keyword) ? 1 : 0;
    dt::SetShownHook(nullptr);

    EXPECT_EQ(result, c.result);
    EXPECT_EQ(listShown, c.listShown);
    if (c.listShown) {
      ASSERT_FALSE(rows.empty());
      EXPECT_EQ(rows[0][0], c.keyword[4] == '_' ? "func_abs" : "func");
    }
    if (c.opens) {
      ASSERT_EQ(launcher.launches.size(), 1u);
      EXPECT_EQ(launcher.launches[0].text, dir.File(c.opens) + c.where);
      EXPECT_EQ(RingCount(), 1);
    } else {
      EXPECT_TRUE(launcher.launches.empty());
      EXPECT_EQ(RingCount(), 0);
    }
    launcher.opened.clear();
    record->nReturnPointCount = 0;
  }
}

// A tags program that ends at once without a word, and the requests it was started with.
class QuietPrograms final : public platform::OutsidePrograms {
 public:
  std::unique_ptr<platform::RunningProgram> Start(const platform::ProgramRequest& request, std::string*) override {
    requests.push_back(request);
    return std::make_unique<Quiet>();
  }
  std::vector<platform::ProgramRequest> requests;

 private:
  class Quiet final : public platform::RunningProgram {
   public:
    PollResult Poll(std::chrono::milliseconds) override { return PollResult::kEnded; }
    size_t Read(std::string*) override { return 0; }
    bool Ended() const override { return true; }
    std::optional<int> ExitStatus() const override { return 0; }
    void Terminate() override {}
  };
};

// TagMake offers the document's folder (the executable's for an untitled document), runs the tags
// program found on PATH in the folder the dialog ends with, and says it finished; a cancelled
// dialog runs nothing.
TEST_F(TagCommandsTest, TagMakeRunsTheProgramInTheChosenFolder) {
  dir.Write("bin/ctags-universal", "#!/bin/sh\n");
  ::chmod(dir.File("bin/ctags-universal").c_str(), 0755);
  // Only the stand-in is on PATH, and the runner is ours, until the test ends however it ends.
  struct Scope {
    explicit Scope(const std::string& path, platform::OutsidePrograms* programs) {
      const char* old = std::getenv("PATH");
      saved = old ? old : "";
      ::setenv("PATH", path.c_str(), 1);
      SetOutsidePrograms(programs);
    }
    ~Scope() {
      SetOutsidePrograms(nullptr);
      ::setenv("PATH", saved.c_str(), 1);
    }
    std::string saved;
  };
  QuietPrograms programs;
  const Scope scope(dir.File("bin"), &programs);
  struct Case {
    const char* name;
    const char* document;  // in dir; empty: untitled
    std::string offered;   // the dialog's folder when it opens
    bool ok;
  };
  const Case cases[] = {
      {"a titled document starts from its folder", "src/x.c", dir.File("src") + "/", true},
      {"an untitled one from the executable's folder", "", CShareData::ExecutableFolder(), true},
      {"a cancelled dialog runs nothing", "src/x.c", dir.File("src") + "/", false},
  };
  dir.Write("src/x.c", "int x;\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Document(c.document, "text\r\n");
    programs.requests.clear();
    boxes.requests.clear();
    std::string offered;
    dt::SetShownHook([&](HWND d) {
      if (dt::TemplateOf(d) != "229") return;
      offered = dt::Query(d, CTagsMakeDialog::kFolder)->text;
      dt::Click(d, c.ok ? IDOK : IDCANCEL);
    });
    Run(kTagMake);
    dt::SetShownHook(nullptr);

    EXPECT_EQ(offered, c.offered);
    if (!c.ok) {
      EXPECT_TRUE(programs.requests.empty());
      EXPECT_TRUE(boxes.requests.empty());
      continue;
    }
    ASSERT_EQ(programs.requests.size(), 1u);
    EXPECT_EQ(programs.requests[0].program, dir.File("bin/ctags-universal"));
    EXPECT_EQ(programs.requests[0].folder, c.offered);
    ASSERT_FALSE(programs.requests[0].arguments.empty());
    EXPECT_EQ(programs.requests[0].arguments[0], "--excmd=n");
    ASSERT_EQ(boxes.requests.size(), 1u);
    EXPECT_EQ(boxes.requests[0].text, "タグファイルの作成が終了しました。"_sj);
  }
}

}  // namespace
