#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "editor/foundation/beep_capture.h"
#include "editor/foundation/message_box_capture.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/view/pane/view_fixture.h"
#include "platform/dialog.h"
#include "platform/dialog_test.h"
#include "platform/file_dialog.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"
#include "scoped_temp_dir.h"

namespace {

namespace dt = platform::dialog_test;

constexpr char kText[] = "ab\r\ncd";  // what the document holds
constexpr char kOld[] = "old";        // what the file holds before a save

class FileCommandsTest : public ViewFixture {
 protected:
  void SetUp() override {
    ViewFixture::SetUp();
    platform::EnsureGuiApp();
  }
  void TearDown() override {
    dt::SetShownHook(nullptr);
    ViewFixture::TearDown();
  }

  // The document holds kText under the name given (empty: untitled); a named file holds kOld.
  void Prepare(const std::string& name, bool modified, bool readOnly) {
    SetText(kText);
    if (!name.empty()) {
      dir.Write(name, kOld);
      doc->SetFilePath(dir.File(name).c_str());
    }
    doc->SetModified(modified, false);
    doc->m_bReadOnly = readOnly;
  }
  // Answers the save dialog with a path typed into its name; an empty path cancels.
  void AnswerSaveDialog(const std::string& path) {
    dt::SetShownHook([this, path](HWND d) {
      ++dialogs;
      if (path.empty()) {
        dt::Click(d, IDCANCEL);
        return;
      }
      platform::SetDlgItemText(d, platform::kFileDialogName, "");
      EXPECT_TRUE(dt::Type(d, platform::kFileDialogName, path));
      dt::Click(d, IDOK);
    });
  }
  LRESULT Run(int command, LPARAM argument = 0) { return view->RunCommand(command, true, argument, 0, 0, 0); }
  // The message boxes asked with a text.
  int BoxesSaying(std::string_view text) const {
    int n = 0;
    for (const auto& r : boxes.requests) n += r.text == text ? 1 : 0;
    return n;
  }

  ScopedTempDir dir;
  BeepCapture beeps;
  MessageBoxCapture boxes{IDYES};
  int dialogs = 0;
};

// What FileSave (30103: beep and ask), the quiet save that asks (30109) and the quiet save that
// never asks (30121) do with each state of the document, and what the file holds afterwards.
TEST_F(FileCommandsTest, FileSaveDecisionTable) {
  struct Case {
    const char* name;
    int command;
    const char* file;  // the document's name; "" untitled
    bool modified;
    bool readOnly;
    bool overwriteUnmodified;
    const char* answer;  // the name typed into the save dialog; null: no dialog may open
    LRESULT result;
    size_t beeps;
    bool readOnlyMessage;
    const char* written;  // file named by `file` or `answer`, and the bytes it holds after; null: absent
    const char* bytes;
  };
  const Case cases[] = {
      {"unmodified beeps and writes nothing", 30103, "a.txt", false, false, false, nullptr, 1, 1, false, "a.txt", kOld},
      {"unmodified quietly", 30121, "a.txt", false, false, false, nullptr, 1, 0, false, "a.txt", kOld},
      {"unmodified with overwrite on", 30103, "a.txt", false, false, true, nullptr, 1, 0, false, "a.txt", kText},
      {"untitled asks a name", 30103, "", true, false, false, "new.txt", 1, 0, false, "new.txt", kText},
      {"untitled asks a name quietly", 30109, "", true, false, false, "new.txt", 1, 0, false, "new.txt", kText},
      {"untitled without asking", 30121, "", true, false, false, nullptr, 0, 0, false, "new.txt", nullptr},
      {"read-only is refused and told", 30103, "a.txt", true, true, false, nullptr, 0, 1, true, "a.txt", kOld},
      {"read-only quietly", 30121, "a.txt", true, true, false, nullptr, 0, 0, false, "a.txt", kOld},
      {"modified is saved", 30103, "a.txt", true, false, false, nullptr, 1, 0, false, "a.txt", kText},
      {"modified is saved quietly", 30121, "a.txt", true, false, false, nullptr, 1, 0, false, "a.txt", kText},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MakeDocumentAndPane();
    Prepare(c.file, c.modified, c.readOnly);
    common().bEnableUnmodifiedOverwrite = c.overwriteUnmodified;
    AnswerSaveDialog(c.answer ? dir.File(c.answer) : std::string());
    dialogs = 0;
    beeps.beeps.clear();
    boxes.requests.clear();
    editWindow.status.clear();

    EXPECT_EQ(Run(c.command), c.result);
    EXPECT_EQ(dialogs, c.answer ? 1 : 0);
    EXPECT_EQ(beeps.beeps.size(), c.beeps);
    const std::string message =
        dir.File("a.txt") +
        "\n\nは読み取り専用モードで開いています。 上書き保存はできません。\n\n名前を付けて保存をすればいいと思います。"_sj;
    EXPECT_EQ(BoxesSaying(message), c.readOnlyMessage ? 1 : 0);
    if (c.readOnlyMessage) {
      EXPECT_EQ(boxes.requests.back().flags, static_cast<UINT>(MB_ICONHAND | MB_TOPMOST));
      EXPECT_EQ(boxes.requests.back().caption, "tovara");
    }
    if (c.bytes) {
      EXPECT_EQ(dir.Read(c.written), c.bytes);
    } else {
      EXPECT_FALSE(dir.Exists(c.written));
    }
    const bool wrote = c.bytes && std::strcmp(c.bytes, kText) == 0;
    if (wrote) {
      EXPECT_FALSE(doc->m_bIsModified);
      EXPECT_STREQ(doc->m_szFilePath, dir.File(c.written).c_str());
      EXPECT_FALSE(editWindow.status.empty());  // the status bar shows the caret again
    } else {
      EXPECT_EQ(doc->m_bIsModified, c.modified);
    }
    std::filesystem::remove_all(dir.path() / "a.txt");
    std::filesystem::remove_all(dir.path() / "new.txt");
  }
}

// A read-only document may not be saved over its own file under any name that reaches it, but
// names differing only in case are other files.
TEST_F(FileCommandsTest, SaveAsOfAReadOnlyDocumentRefusesOnlyTheSameFile) {
  struct Case {
    const char* name;
    const char* chosen;
    bool link;  // `chosen` is made a link to a.txt first
    bool refused;
  };
  const Case cases[] = {
      {"its own path", "a.txt", false, true},
      {"a link to its file", "link.txt", true, true},
      {"the name in other case", "A.txt", false, false},
      {"another name", "b.txt", false, false},
  };
  const std::string refusal = "読み取り専用モードでは同一ファイルへの上書き保存はできません。"_sj;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MakeDocumentAndPane();
    Prepare("a.txt", true, true);
    if (c.link) std::filesystem::create_symlink(dir.File("a.txt"), dir.File(c.chosen));
    AnswerSaveDialog(dir.File(c.chosen));
    dialogs = 0;
    beeps.beeps.clear();
    boxes.requests.clear();

    EXPECT_EQ(Run(30104), c.refused ? 0 : 1);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(dir.Read("a.txt"), kOld);
    EXPECT_EQ(BoxesSaying(refusal), c.refused ? 1 : 0);
    if (c.refused) {
      EXPECT_EQ(beeps.beeps.size(), 1u);
      EXPECT_TRUE(doc->m_bReadOnly);
      EXPECT_TRUE(doc->m_bIsModified);
      EXPECT_STREQ(doc->m_szFilePath, dir.File("a.txt").c_str());
    } else {
      EXPECT_EQ(dir.Read(c.chosen), kText);
      EXPECT_FALSE(doc->m_bReadOnly);
      EXPECT_FALSE(doc->m_bIsModified);
      EXPECT_STREQ(doc->m_szFilePath, dir.File(c.chosen).c_str());
      EXPECT_EQ(DocBytes(), kText);  // read back from the new file
    }
    for (const char* name : {"a.txt", "link.txt", "A.txt", "b.txt"}) std::filesystem::remove(dir.path() / name);
  }
}

TEST_F(FileCommandsTest, CancelledOrFailedSaveAsGivesZeroAndKeepsTheDocument) {
  Prepare("a.txt", true, false);
  const int code = doc->m_nCharCode;

  AnswerSaveDialog("");
  EXPECT_EQ(Run(30104), 0);
  EXPECT_EQ(dialogs, 1);

  // A folder that does not exist: the save fails and the document stays as it was.
  EXPECT_EQ(Run(30106, reinterpret_cast<LPARAM>(dir.File("gone/b.txt").c_str())), 0);
  EXPECT_EQ(Run(30106, 0), 0);
  EXPECT_EQ(Run(30106, reinterpret_cast<LPARAM>(std::string(300, 'x').c_str())), 0);

  EXPECT_TRUE(doc->m_bIsModified);
  EXPECT_STREQ(doc->m_szFilePath, dir.File("a.txt").c_str());
  EXPECT_EQ(doc->m_nCharCode, code);
  EXPECT_EQ(dir.Read("a.txt"), kOld);
  EXPECT_FALSE(dir.Exists("gone"));
}

TEST_F(FileCommandsTest, SaveAsWithAPathTakesTheNewNameAndReadsTheFileBack) {
  Prepare("a.txt", true, false);
  const std::string target = dir.File("b.txt");
  EXPECT_EQ(Run(30106, reinterpret_cast<LPARAM>(target.c_str())), 1);
  EXPECT_EQ(dir.Read("b.txt"), kText);
  EXPECT_EQ(dir.Read("a.txt"), kOld);
  EXPECT_STREQ(doc->m_szFilePath, target.c_str());
  EXPECT_FALSE(doc->m_bIsModified);
  EXPECT_EQ(DocBytes(), kText);
}

// The close question's "yes" saves through the dispatcher, and closes only once the file is saved.
TEST_F(FileCommandsTest, TheCloseQuestionAnsweredYesSaves) {
  Prepare("a.txt", true, false);
  EXPECT_TRUE(doc->QueryClose());
  EXPECT_EQ(dir.Read("a.txt"), kText);
  EXPECT_FALSE(doc->m_bIsModified);

  // A file that cannot be written keeps the window open.
  Prepare("", true, false);
  doc->SetFilePath(dir.File("gone/c.txt").c_str());
  EXPECT_FALSE(doc->QueryClose());
  EXPECT_TRUE(doc->m_bIsModified);
}

// Windows of this process that forward WM_COMMAND to a pane, as edit windows do.
std::map<HWND, CEditView*>& ForwardedPanes() {
  static std::map<HWND, CEditView*> panes;
  return panes;
}

LRESULT ForwardProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    const auto it = ForwardedPanes().find(hwnd);
    if (it != ForwardedPanes().end()) return it->second->RunCommand(LOWORD(wParam), true, 0, 0, 0, 0);
  }
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

TEST_F(FileCommandsTest, FileSaveAllSavesEveryTitledWindowAndSkipsTheUntitled) {
  Prepare("a.txt", true, false);
  // A second window over an untitled modified document.
  CEditDoc other;
  CEditView otherView;
  otherView.SetEditWindow(&editWindow);
  otherView.AttachDocument(&other, 0);
  DocPorts ports;
  ports.panes[0] = &otherView;
  other.SetPorts(ports);
  otherView.SetClientSize(320, 200);
  other.SetModified(true, false);

  WNDCLASSEX wc;
  wc.lpfnWndProc = ForwardProc;
  wc.lpszClassName = "FileSaveAllTest";
  platform::RegisterClassEx(&wc);
  HWND windows[2];
  EditWindowId ids[2];
  CEditView* panes[2] = {view.get(), &otherView};
  for (int i = 0; i < 2; ++i) {
    windows[i] = platform::CreateWindowEx(0, "FileSaveAllTest", "w", 0, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
    ForwardedPanes()[windows[i]] = panes[i];
    ids[i] = platform::ipc::RegisterWindow(windows[i], kEditWindowClass);
    ASSERT_TRUE(share.RegisterEditWindow(ids[i]));
  }
  AnswerSaveDialog(dir.File("never.txt"));

  EXPECT_EQ(Run(30120), 1);
  EXPECT_EQ(dir.Read("a.txt"), kText);
  EXPECT_FALSE(doc->m_bIsModified);
  EXPECT_EQ(dialogs, 0);
  EXPECT_TRUE(other.m_bIsModified);
  EXPECT_EQ(other.m_szFilePath[0], '\0');
  EXPECT_TRUE(beeps.beeps.empty());

  for (int i = 0; i < 2; ++i) {
    share.UnregisterEditWindow(ids[i]);
    platform::ipc::UnregisterWindow(ids[i]);
    ForwardedPanes().erase(windows[i]);
    platform::DestroyWindow(windows[i]);
  }
}

}  // namespace
