#include "platform/file_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/dialog_test.h"
#include "platform/file_dialog_test.h"
#include "platform/gui_app.h"
#include "platform/message_box.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"

namespace {

using namespace platform;
namespace dt = platform::dialog_test;
namespace ft = platform::file_dialog_test;

constexpr char kFilters[] = "All\0*.*\0Text\0*.txt;*.log\0";

class FileDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApp();
    std::filesystem::create_directories(dir.path() / "sub");
    dir.Write("a.txt", "x");
    dir.Write("sub/b.txt", "y");
    ofn.lStructSize = sizeof(OPENFILENAME);
    ofn.lpstrFilter = kFilters;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = sizeof buffer;
    ofn.lpstrInitialDir = root.c_str();
    previousBox = SetMessageBoxHook([this](const MessageBoxRequest& r) {
      boxes.push_back(r);
      return answer;
    });
  }
  void TearDown() override {
    dt::SetShownHook(nullptr);
    SetMessageBoxHook(previousBox);
  }
  BOOL Run(bool save, const std::function<void(HWND)>& user) {
    dt::SetShownHook(user);
    return save ? GetSaveFileName(&ofn) : GetOpenFileName(&ofn);
  }
  // Clears the name and types another, as the user selecting the text and typing over it.
  static void TypeName(HWND d, const std::string& name) {
    SetDlgItemText(d, kFileDialogName, "");
    EXPECT_TRUE(dt::Type(d, kFileDialogName, name));
  }
  // Cancels the dialog once the loop takes the next message, unless it has ended by then.
  static void CancelUnlessEnded(HWND d) { PostMessage(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }
  // Lets the dialog's loop take what was posted.
  static void Pump(HWND d) {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!IsDialogMessage(d, &msg)) DispatchMessage(&msg);
    }
  }

  ScopedTempDir dir;
  const std::string root = dir.path().string();
  char buffer[260] = {};
  OPENFILENAME ofn;
  std::vector<MessageBoxRequest> boxes;
  int answer = IDYES;
  MessageBoxHook previousBox;
};

TEST_F(FileDialogTest, ShowsTheStandardControlsByIdAndGivesTheTypedName) {
  ofn.Flags = OFN_SHOWHELP | OFN_READONLY;
  ofn.nFilterIndex = 2;
  std::vector<dt::ControlState> shown;
  std::string caption, folder, patterns;
  ASSERT_TRUE(Run(false, [&](HWND d) {
    shown = dt::Controls(d);
    caption = GetWindowText(d);
    folder = ft::ShownFolder(d);
    patterns = ft::ShownPatterns(d);
    TypeName(d, "a.txt");
    dt::PressKey(d, dt::Key::kEnter);
  }));
  EXPECT_EQ(caption, "開く"_sj);
  EXPECT_EQ(folder, root);
  EXPECT_EQ(patterns, "*.txt *.log");
  auto state = [&](int id) {
    for (const auto& c : shown) {
      if (c.id == id) return c;
    }
    ADD_FAILURE() << "no control " << id;
    return dt::ControlState{};
  };
  EXPECT_EQ(state(kFileDialogNameLabel).text, "ファイル名(&N):"_sj);
  EXPECT_EQ(state(kFileDialogName).kind, ControlKind::kEdit);
  EXPECT_EQ(state(kFileDialogTypes).items, (std::vector<std::string>{"All", "Text"}));
  EXPECT_EQ(state(kFileDialogTypes).selection, 1);
  EXPECT_TRUE(state(kFileDialogHelp).visible);
  EXPECT_EQ(state(kFileDialogReadOnly).check, BST_CHECKED);
  EXPECT_TRUE(state(IDOK).isDefault);
  EXPECT_EQ(state(IDOK).text, "開く(&O)"_sj);
  EXPECT_EQ(state(IDCANCEL).kind, ControlKind::kPushButton);
  EXPECT_EQ(state(kFileDialogTemplatePlace).kind, ControlKind::kStaticText);
  EXPECT_STREQ(buffer, (root + "/a.txt").c_str());
  EXPECT_EQ(ofn.nFilterIndex, 2u);
  EXPECT_TRUE(ofn.Flags & OFN_READONLY);
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(FileDialogTest, HiddenReadOnlyAndHelpAndTheReadOnlyChoiceComesBack) {
  std::vector<bool> visible;
  ofn.Flags = OFN_HIDEREADONLY;
  ASSERT_TRUE(Run(false, [&](HWND d) {
    visible = {dt::Query(d, kFileDialogReadOnly)->visible, dt::Query(d, kFileDialogHelp)->visible};
    TypeName(d, "a.txt");
    dt::Click(d, IDOK);
  }));
  EXPECT_EQ(visible, (std::vector<bool>{false, false}));

  ofn.Flags = OFN_READONLY;
  ASSERT_TRUE(Run(false, [&](HWND d) {
    dt::Click(d, kFileDialogReadOnly);  // the user unchecks it
    TypeName(d, "a.txt");
    dt::Click(d, IDOK);
  }));
  EXPECT_FALSE(ofn.Flags & OFN_READONLY);
}

TEST_F(FileDialogTest, StartsInTheFolderOfTheBufferWithItsName) {
  struct Case {
    const char* name;
    std::string file;
    std::string initialDir;
    std::string folder;
    std::string typed;
  };
  const std::vector<Case> cases = {
      {"a folder alone", root + "/sub", "", root + "/sub", ""},
      {"a path", root + "/sub/new.txt", "", root + "/sub", "new.txt"},
      {"a name alone", "new.txt", root + "/sub", root + "/sub", "new.txt"},
      {"a missing folder", "/no/such/x.txt", root, root, "/no/such/x.txt"},
      {"the initial folder", "", root + "/sub", root + "/sub", ""},
  };
  for (const Case& c : cases) {
    std::strcpy(buffer, c.file.c_str());
    ofn.lpstrInitialDir = c.initialDir.empty() ? nullptr : c.initialDir.c_str();
    std::string folder, typed;
    EXPECT_FALSE(Run(false, [&](HWND d) {
      folder = ft::ShownFolder(d);
      typed = dt::Query(d, kFileDialogName)->text;
      dt::Click(d, IDCANCEL);
    })) << c.name;
    EXPECT_EQ(folder, c.folder) << c.name;
    EXPECT_EQ(typed, c.typed) << c.name;
    EXPECT_EQ(std::string(buffer), c.file) << c.name << ": a cancel leaves the buffer";
    EXPECT_EQ(CommDlgExtendedError(), 0u) << c.name;
  }
}

TEST_F(FileDialogTest, TheTypeListChangesWhatTheBrowserLists) {
  std::vector<std::string> patterns;
  EXPECT_FALSE(Run(false, [&](HWND d) {
    patterns.push_back(ft::ShownPatterns(d));
    dt::Select(d, kFileDialogTypes, 1);
    patterns.push_back(ft::ShownPatterns(d));
    dt::Click(d, IDCANCEL);
  }));
  // "*.*" lists every name, with or without a dot.
  EXPECT_EQ(patterns, (std::vector<std::string>{"*", "*.txt *.log"}));
}

// What IDOK does with a name, with the questions answered as given.
TEST_F(FileDialogTest, TheNameIsCheckedBeforeTheDialogEnds) {
  struct Case {
    const char* name;
    bool save;
    DWORD flags;
    std::string typed;
    int answer;
    bool taken;
    std::string path;      // in the buffer when taken
    std::string question;  // the box's text, empty for none
  };
  const std::string longName(300 - root.size(), 'n');
  const std::vector<Case> cases = {
      {"an existing file", false, OFN_FILEMUSTEXIST, "a.txt", IDYES, true, root + "/a.txt", ""},
      {"levels resolved", false, OFN_FILEMUSTEXIST, "sub/../sub/./b.txt", IDYES, true, root + "/sub/b.txt", ""},
      {"an absolute path", false, OFN_FILEMUSTEXIST, root + "/sub/b.txt", IDYES, true, root + "/sub/b.txt", ""},
      {"a missing file", false, OFN_FILEMUSTEXIST, "new.txt", IDYES, false, "",
       root + "/new.txt\nファイルが見つかりません。\nファイル名を確かめてください。"_sj},
      {"creating, yes", false, OFN_FILEMUSTEXIST | OFN_CREATEPROMPT, "new.txt", IDYES, true, root + "/new.txt",
       root + "/new.txt は存在しません。\n作成しますか？"_sj},
      {"creating, no", false, OFN_FILEMUSTEXIST | OFN_CREATEPROMPT, "new.txt", IDNO, false, "",
       root + "/new.txt は存在しません。\n作成しますか？"_sj},
      {"overwriting, no", true, OFN_CREATEPROMPT | OFN_FILEMUSTEXIST | OFN_OVERWRITEPROMPT, "a.txt", IDNO, false, "",
       root + "/a.txt は既に存在します。\n上書きしますか？"_sj},
      {"overwriting, yes", true, OFN_OVERWRITEPROMPT, "a.txt", IDYES, true, root + "/a.txt",
       root + "/a.txt は既に存在します。\n上書きしますか？"_sj},
      {"no overwrite question when opening", false, OFN_OVERWRITEPROMPT, "a.txt", IDNO, true, root + "/a.txt", ""},
      {"a new name when saving", true, OFN_OVERWRITEPROMPT, "new.txt", IDNO, true, root + "/new.txt", ""},
      {"a missing folder", true, 0, "nowhere/x.txt", IDYES, false, "", "'" + root + "/nowhere'\nというフォルダーはありません。"_sj},
      {"a path over 259 bytes", true, 0, longName, IDYES, false, "",
       "'" + root + "/" + longName + "'\nというパスは長すぎます。"_sj},
  };
  for (const Case& c : cases) {
    buffer[0] = '\0';
    boxes.clear();
    answer = c.answer;
    ofn.Flags = c.flags;
    const BOOL taken = Run(c.save, [&](HWND d) {
      TypeName(d, c.typed);
      dt::PressKey(d, dt::Key::kEnter);
      CancelUnlessEnded(d);
    });
    EXPECT_EQ(taken != 0, c.taken) << c.name;
    EXPECT_EQ(std::string(buffer), c.path) << c.name;
    ASSERT_EQ(boxes.size(), c.question.empty() ? 0u : 1u) << c.name;
    if (!c.question.empty()) {
      EXPECT_EQ(boxes[0].text, c.question) << c.name;
      EXPECT_EQ(boxes[0].caption, c.save ? "名前を付けて保存"_sj : "開く"_sj) << c.name;
    }
  }
}

TEST_F(FileDialogTest, AFolderNameMovesTheBrowserThere) {
  std::string folder, typed;
  EXPECT_FALSE(Run(false, [&](HWND d) {
    TypeName(d, "sub");
    dt::PressKey(d, dt::Key::kEnter);
    folder = ft::ShownFolder(d);
    typed = dt::Query(d, kFileDialogName)->text;
    dt::Click(d, IDCANCEL);
  }));
  EXPECT_EQ(folder, root + "/sub");
  EXPECT_EQ(typed, "");
  EXPECT_TRUE(boxes.empty());
}

TEST_F(FileDialogTest, PointingAndDoubleClickingInTheBrowser) {
  ofn.Flags = OFN_FILEMUSTEXIST;
  std::string typed;
  ASSERT_TRUE(Run(false, [&](HWND d) {
    ft::Open(d, "sub");
    ft::Point(d, "b.txt");
    typed = dt::Query(d, kFileDialogName)->text;
    ft::Open(d, "b.txt");
  }));
  EXPECT_EQ(typed, "b.txt");
  EXPECT_STREQ(buffer, (root + "/sub/b.txt").c_str());
}

TEST_F(FileDialogTest, ANameShiftJisCannotSpellIsRefusedAndTheDialogStays) {
  const std::string emoji = "\xF0\x9F\x98\x80.txt";  // U+1F600
  dir.Write(emoji, "z");
  std::strcpy(buffer, "before");
  std::vector<std::string> seen;
  ASSERT_TRUE(Run(false, [&](HWND d) {
    ft::Point(d, emoji);
    seen.push_back(dt::Query(d, kFileDialogName)->text);
    dt::Click(d, IDOK);
    ft::Open(d, emoji);
    seen.push_back(buffer);
    // Typed, it never gets into the edit.
    dt::TypeUtf8(d, kFileDialogName, "\xF0\x9F\x98\x80");
    seen.push_back(dt::Query(d, kFileDialogName)->text);
    // The dialog is still there to take another name.
    TypeName(d, "a.txt");
    dt::PressKey(d, dt::Key::kEnter);
  }));
  EXPECT_EQ(seen, (std::vector<std::string>{"", "before", ""}));
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "この名前には Shift_JIS で表せない文字があるため、使えません。"_sj);
  EXPECT_EQ(boxes[1].text, boxes[0].text);
  EXPECT_STREQ(buffer, (root + "/a.txt").c_str());
}

TEST_F(FileDialogTest, TheFolderShownWithAnUnspellableNameRefusesTypedNames) {
  const std::string folder = "\xF0\x9F\x98\x80";
  std::filesystem::create_directories(dir.path() / folder);
  EXPECT_FALSE(Run(true, [&](HWND d) {
    ft::Open(d, folder);
    TypeName(d, "x.txt");
    dt::Click(d, IDOK);
    CancelUnlessEnded(d);
  }));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "この名前には Shift_JIS で表せない文字があるため、使えません。"_sj);
}

TEST_F(FileDialogTest, ErrorsOfTheCall) {
  static bool registered = RegisterDialogTemplate("FileDialogTestEmpty", [](DialogBuilder& b) { b.StaticText(1, "x"); });
  ASSERT_TRUE(registered);
  auto hook = [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return 0; };
  struct Case {
    const char* name;
    std::function<void(OPENFILENAME&)> change;
    DWORD error;
  };
  const std::vector<Case> cases = {
      {"a wrong size", [](OPENFILENAME& o) { o.lStructSize = 76; }, CDERR_STRUCTSIZE},
      {"no buffer", [](OPENFILENAME& o) { o.lpstrFile = nullptr; }, CDERR_INITIALIZATION},
      {"no room", [](OPENFILENAME& o) { o.nMaxFile = 0; }, CDERR_INITIALIZATION},
      {"a hook flag without a hook", [](OPENFILENAME& o) { o.Flags = OFN_ENABLEHOOK | OFN_ENABLETEMPLATE; }, CDERR_NOHOOK},
      {"a hook without a template", [&](OPENFILENAME& o) { o.Flags = OFN_ENABLEHOOK; o.lpfnHook = hook; }, CDERR_NOTEMPLATE},
      {"a template flag without a name", [](OPENFILENAME& o) { o.Flags = OFN_ENABLETEMPLATE; }, CDERR_NOTEMPLATE},
      {"a template not registered",
       [&](OPENFILENAME& o) {
         o.Flags = OFN_ENABLETEMPLATE | OFN_ENABLEHOOK;
         o.lpfnHook = hook;
         o.lpTemplateName = "NoSuchTemplate";
       },
       CDERR_FINDRESFAILURE},
  };
  for (const Case& c : cases) {
    OPENFILENAME saved = ofn;
    c.change(ofn);
    int shown = 0;
    EXPECT_FALSE(Run(false, [&](HWND d) {
      ++shown;
      dt::Click(d, IDCANCEL);
    })) << c.name;
    EXPECT_EQ(CommDlgExtendedError(), c.error) << c.name;
    EXPECT_EQ(shown, 0) << c.name;
    ofn = saved;
  }
  // A registered template without a hook is shown as it is.
  ofn.Flags = OFN_ENABLETEMPLATE;
  ofn.lpTemplateName = "FileDialogTestEmpty";
  HWND inner = nullptr;
  EXPECT_FALSE(Run(false, [&](HWND d) {
    inner = ft::TemplateDialog(d);
    dt::Click(d, IDCANCEL);
  }));
  EXPECT_NE(inner, nullptr);
  EXPECT_EQ(CommDlgExtendedError(), 0u);
}

// ---- The template and its hook ----------------------------------------------------------------

constexpr int kList = 1146;

struct HookLog {
  std::vector<std::string> events;
  HWND standard = nullptr;
  LPARAM initParam = 0;
  WNDPROC previous = nullptr;
  std::string fileOkPath;
  int refuseFileOk = 0;
  std::string folderToEnter;
  bool standardAliveAtDestroy = false;
};
HookLog* hookLog = nullptr;

LRESULT SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOVE) hookLog->events.push_back("parent move");
  if (message == WM_COMMAND && (LOWORD(wParam) == kFileDialogHelp || LOWORD(wParam) == kFileDialogReadOnly)) {
    hookLog->events.push_back("parent command " + std::to_string(LOWORD(wParam)));
  }
  return CallWindowProc(hookLog->previous, hwnd, message, wParam, lParam);
}

INT_PTR TestHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  HookLog& log = *hookLog;
  switch (message) {
    case WM_INITDIALOG:
      log.events.push_back("init");
      log.initParam = lParam;
      log.standard = GetFileDialog(dialog);
      log.previous = reinterpret_cast<WNDPROC>(
          SetWindowLongPtr(log.standard, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
      SendDlgItemMessage(dialog, kList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("one"));
      return 1;
    case WM_SIZE:
      if (log.standard) log.events.push_back("size");
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kList && HIWORD(wParam) == CBN_SELCHANGE) {
        log.events.push_back("list");
        SetDlgItemText(log.standard, kFileDialogName, log.folderToEnter.c_str());
        PostMessage(GetDlgItem(log.standard, kFileDialogName), WM_KEYDOWN, VK_RETURN, 0);
      }
      return 0;
    case WM_HELP:
      log.events.push_back("help " + std::to_string(reinterpret_cast<HELPINFO*>(lParam)->iCtrlId));
      return 1;
    case WM_NOTIFY: {
      auto* notify = reinterpret_cast<OFNOTIFY*>(lParam);
      if (notify->hdr.code != CDN_FILEOK) return 0;
      log.events.push_back("fileok");
      log.fileOkPath = notify->lpOFN->lpstrFile;
      SetWindowLongPtr(dialog, DWLP_MSGRESULT, log.refuseFileOk > 0 ? 1 : 0);
      --log.refuseFileOk;
      return 1;
    }
    case WM_DESTROY:
      log.events.push_back("destroy");
      log.standardAliveAtDestroy = IsWindow(log.standard) != 0;
      SetWindowLongPtr(log.standard, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(log.previous));
      return 0;
    default:
      return 0;
  }
}

class FileDialogHookTest : public FileDialogTest {
 protected:
  void SetUp() override {
    FileDialogTest::SetUp();
    static const bool registered = RegisterDialogTemplate("FileDialogTestExtension", [](DialogBuilder& b) {
      b.Row([&] {
        b.StaticText(-1, "List:");
        b.DropDownList(kList);
      });
    });
    ASSERT_TRUE(registered);
    hookLog = &log;
    ofn.Flags = OFN_ENABLETEMPLATE | OFN_ENABLEHOOK | OFN_SHOWHELP | OFN_ENABLESIZING;
    ofn.lpfnHook = TestHook;
    ofn.lpTemplateName = "FileDialogTestExtension";
  }
  void TearDown() override {
    hookLog = nullptr;
    FileDialogTest::TearDown();
  }
  // Only what the test did, after the first show.
  std::vector<std::string> EventsAfter(size_t start) const {
    return std::vector<std::string>(log.events.begin() + static_cast<ptrdiff_t>(start), log.events.end());
  }
  HookLog log;
};

TEST_F(FileDialogHookTest, TheHookAndTheSubclassHearTheDialog) {
  HWND standard = nullptr;
  HWND inner = nullptr;
  size_t shownAt = 0;
  std::vector<std::string> moved, clicked, helped;
  ASSERT_TRUE(Run(false, [&](HWND d) {
    standard = d;
    inner = ft::TemplateDialog(d);
    shownAt = log.events.size();
    dt::MoveTo(d, 40, 50);
    moved = EventsAfter(shownAt);
    shownAt = log.events.size();
    dt::Click(d, kFileDialogHelp);
    dt::Click(d, kFileDialogReadOnly);
    clicked = EventsAfter(shownAt);
    shownAt = log.events.size();
    dt::ResizeTo(d, 900, 700);
    SetFocus(GetDlgItem(inner, kList));
    dt::PressKey(inner, dt::Key::kF1);
    helped = EventsAfter(shownAt);
    TypeName(d, "a.txt");
    dt::PressKey(d, dt::Key::kEnter);
  }));
  EXPECT_EQ(log.events.front(), "init");
  EXPECT_EQ(log.initParam, reinterpret_cast<LPARAM>(&ofn));
  EXPECT_EQ(log.standard, standard);
  EXPECT_NE(inner, nullptr);
  EXPECT_EQ(moved, (std::vector<std::string>{"parent move"}));
  EXPECT_EQ(clicked, (std::vector<std::string>{"parent command 1038", "parent command 1040"}));
  ASSERT_FALSE(helped.empty());
  EXPECT_EQ(helped.front(), "size");
  EXPECT_EQ(helped.back(), "help 1146");
  EXPECT_EQ(log.events.back(), "destroy");
  EXPECT_EQ(log.events[log.events.size() - 2], "fileok");
  EXPECT_TRUE(log.standardAliveAtDestroy);
  EXPECT_EQ(log.fileOkPath, root + "/a.txt");
  EXPECT_TRUE(ofn.Flags & OFN_READONLY);  // the click checked it
}

TEST_F(FileDialogHookTest, AHookThatRefusesTheFileKeepsTheDialogAndTheBuffer) {
  std::strcpy(buffer, "before");
  log.refuseFileOk = 1;
  std::vector<std::string> seen;
  ASSERT_TRUE(Run(true, [&](HWND d) {
    TypeName(d, "new.txt");
    dt::Click(d, IDOK);
    seen.push_back(log.fileOkPath);
    seen.push_back(buffer);
    dt::Click(d, IDOK);
  }));
  EXPECT_EQ(seen, (std::vector<std::string>{root + "/new.txt", "before"}));
  EXPECT_EQ(std::count(log.events.begin(), log.events.end(), "fileok"), 2);
  EXPECT_STREQ(buffer, (root + "/new.txt").c_str());
}

TEST_F(FileDialogHookTest, AReturnPostedToTheNameActsOnIt) {
  log.folderToEnter = root + "/sub";
  std::string folder, typed;
  EXPECT_FALSE(Run(false, [&](HWND d) {
    dt::Select(ft::TemplateDialog(d), kList, 0);
    Pump(d);
    folder = ft::ShownFolder(d);
    typed = dt::Query(d, kFileDialogName)->text;
    dt::Click(d, IDCANCEL);
  }));
  EXPECT_EQ(folder, root + "/sub");
  EXPECT_EQ(typed, "");
  EXPECT_EQ(CommDlgExtendedError(), 0u);
}

TEST_F(FileDialogHookTest, EnterAndEscInTheTemplateAreTheDialogs) {
  EXPECT_FALSE(Run(false, [&](HWND d) {
    HWND inner = ft::TemplateDialog(d);
    SetFocus(GetDlgItem(inner, kList));
    dt::PressKey(inner, dt::Key::kEscape);
  }));
  EXPECT_TRUE(Run(false, [&](HWND d) {
    TypeName(d, "a.txt");
    HWND inner = ft::TemplateDialog(d);
    SetFocus(GetDlgItem(inner, kList));
    dt::PressKey(inner, dt::Key::kEnter);
  }));
  EXPECT_STREQ(buffer, (root + "/a.txt").c_str());
}

}  // namespace
