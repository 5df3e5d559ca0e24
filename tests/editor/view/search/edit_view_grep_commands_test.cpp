// The grep commands on a pane: where Grep runs (this pane or a new window, with its exact command
// text), the window limit, and the key the grep dialog starts with.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "editor/foundation/message_box_capture.h"
#include "editor/foundation/text/doc_line.h"
#include "editor/view/pane/view_fixture.h"
#include "editor/view/search/grep_dialog.h"
#include "platform/dialog_test.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"

namespace {

namespace dt = platform::dialog_test;

constexpr int kGrepDialogCommand = 30910;
constexpr int kGrepCommand = 30911;

class RecordingLauncher final : public IDocLauncher {
 public:
  struct Call {
    std::string text;
    int code;
    bool readOnly;
    bool wait;
    bool folderGiven;
  };
  bool LaunchEditorProcess(const char* text, int code, bool readOnly, bool wait, const char* folder) override {
    calls.push_back({text ? text : "", code, readOnly, wait, folder != nullptr});
    return true;
  }
  std::vector<Call> calls;
};

class GrepCommandTest : public ViewFixture {
 protected:
  void SetUp() override {
    ViewFixture::SetUp();
    previousLauncher = GetDocLauncher();
    SetDocLauncher(&launcher);
  }
  void TearDown() override {
    dt::SetShownHook(nullptr);
    SetDocLauncher(previousLauncher);
    ViewFixture::TearDown();
  }

  // What the document's grep dialog holds, as a confirmed dialog leaves it.
  void Ask(const GrepLaunchRequest& r) {
    CGrepDialog& dialog = view->GrepDialog();
    dialog.m_szText = r.key;
    dialog.m_szFile = r.files;
    dialog.m_szFolder = r.folder;
    dialog.m_nGrepCharSet = r.code;
    dialog.m_bSubFolder = r.subFolder;
    dialog.m_bLoHiCase = r.loHiCase;
    dialog.m_bRegularExp = r.regularExp;
    dialog.m_bGrepOutputLine = r.outputLine;
    dialog.m_bWordOnly = r.wordOnly;
    dialog.m_nGrepOutputStyle = r.outputStyle;
  }

  RecordingLauncher launcher;
  IDocLauncher* previousLauncher = nullptr;
  MessageBoxCapture boxes;
};

// A document that holds the user's text (modified, or with a file) keeps it: the grep goes to a new
// window, asked for with the grep command text; the new window's code comes from that text.
TEST_F(GrepCommandTest, GrepOutsideAResultStartsAWindowWithTheExactText) {
  struct Case {
    const char* name;
    bool modified;
    const char* path;
    GrepLaunchRequest request;
    std::string text;
  } cases[] = {
      {"modified, every option",
       true,
       "",
       {"a \"b\"", "*.c *.h", "/src/", 99, true, true, true, true, true, 2},
       "-GREPMODE -GKEY=\"a \"\"b\"\"\" -GFILE=\"*.c *.h\" -GFOLDER=\"/src/\" -GCODE=99 -GOPT=SWLRP2"},
      {"with a file, whole word then case",
       false,
       "/home/u/a.txt",
       {"表"_sj, "*.*", "/my src/", 0, false, true, false, false, true, 1},
       "-GREPMODE -GKEY=\"表\" -GFILE=\"*.*\" -GFOLDER=\"/my src/\" -GCODE=0 -GOPT=WL1"_sj},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    launcher.calls.clear();
    doc->m_bIsModified = c.modified;
    std::snprintf(doc->m_szFilePath, sizeof doc->m_szFilePath, "%s", c.path);
    Ask(c.request);
    view->RunCommand(kGrepCommand, true, 0, 0, 0, 0);
    ASSERT_EQ(launcher.calls.size(), 1u);
    EXPECT_EQ(launcher.calls[0].text, c.text);
    EXPECT_EQ(launcher.calls[0].code, 99) << "no -CODE of the launcher's own";
    EXPECT_FALSE(launcher.calls[0].readOnly);
    EXPECT_FALSE(launcher.calls[0].wait);
    EXPECT_FALSE(launcher.calls[0].folderGiven);
    EXPECT_EQ(DocBytes(), "") << "this document is left alone";
  }
}

TEST_F(GrepCommandTest, AtTheWindowLimitNothingRuns) {
  record->nEditWindowCount = 256;
  doc->m_bIsModified = true;
  Ask({"k", "*.*", "/", 0, false, false, false, true, false, 1});
  view->RunCommand(kGrepCommand, true, 0, 0, 0, 0);
  EXPECT_TRUE(launcher.calls.empty());
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].text, "編集ウィンドウ数の上限は256です。\nこれ以上は同時に開けません。"_sj);
  EXPECT_EQ(boxes.requests[0].caption, "tovara");
}

// The dialog starts with the selection, else the word at the caret, else the newest search key;
// confirmed, the grep follows at once.
TEST_F(GrepCommandTest, GrepDialogSeedsTheKeyAndConfirmedGreps) {
  share.AddSearchKey("from history");
  struct Case {
    const char* name;
    std::function<void()> arrange;
    std::string key;
  } cases[] = {
      {"selection",
       [&] {
         view->m_sSelect = SelectRange{0, 6, 0, 11};
       },
       "alpha"},
      {"word at the caret",
       [&] {
         view->PlaceCaret(POINT{14, 0});
       },
       "beta"},
      {"nothing there",
       [&] {
         view->PlaceCaret(POINT{0, 1});
       },
       "from history"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetText("hello alpha   beta\r\n\r\n");
    view->ClearSelection(false);
    c.arrange();
    std::string seen;
    dt::SetShownHook([&](HWND d) {
      seen = dt::Query(d, CGrepDialog::kKey)->text;
      dt::Click(d, IDCANCEL);
    });
    view->RunCommand(kGrepDialogCommand, true, 0, 0, 0, 0);
    EXPECT_EQ(seen, c.key);
  }
  EXPECT_TRUE(launcher.calls.empty()) << "cancelled: no grep";

  ScopedTempDir folder;
  doc->m_bIsModified = true;
  dt::SetShownHook([&](HWND d) {
    platform::SetDlgItemText(d, CGrepDialog::kFolder, folder.path().string().c_str());
    dt::Click(d, IDOK);
  });
  view->RunCommand(kGrepDialogCommand, true, 0, 0, 0, 0);
  ASSERT_EQ(launcher.calls.size(), 1u);
  EXPECT_EQ(launcher.calls[0].text, "-GREPMODE -GKEY=\"from history\" -GFILE=\"*.*\" -GFOLDER=\"" +
                                        folder.path().string() + "/\" -GCODE=99 -GOPT=SP1");
}

// The dialog is the document's: every pane sees what one confirmed.
TEST_F(GrepCommandTest, PanesShareTheDocumentsDialog) {
  CEditView second;
  second.AttachDocument(doc.get(), 1);
  DocPorts ports = doc->Ports();
  ports.panes[1] = &second;
  doc->SetPorts(ports);
  view->GrepDialog().m_szText = "shared";
  EXPECT_EQ(&second.GrepDialog(), &view->GrepDialog());
  EXPECT_EQ(second.GrepDialog().m_szText, "shared");
  ports.panes[1] = nullptr;
  doc->SetPorts(ports);
}

// A grep result, or an untouched empty document, takes the result itself; a second grep in a result
// adds to it.
TEST_F(GrepCommandTest, GrepInAResultAppendsHere) {
  ScopedTempDir tree;
  tree.Write("a.txt", "one needle\r\n");
  const std::string folder = tree.path().string() + "/";
  Ask({"needle", "*.txt", folder, 0, false, true, false, true, false, 1});

  view->RunCommand(kGrepCommand, true, 0, 0, 0, 0);
  if (DocBytes().empty()) GTEST_SKIP() << "the grep engine is not linked yet";
  EXPECT_TRUE(launcher.calls.empty());
  ASSERT_TRUE(doc->m_bGrepWindow);
  const std::string first = DocBytes();
  const std::string hit = tree.File("a.txt") + "(1,5): one needle\r\n";
  EXPECT_NE(first.find(hit), std::string::npos) << first;

  doc->m_bIsModified = true;  // a result is never asked to be saved, but grep again in it anyway
  view->RunCommand(kGrepCommand, true, 0, 0, 0, 0);
  EXPECT_TRUE(launcher.calls.empty());
  const std::string both = DocBytes();
  ASSERT_EQ(both.substr(0, first.size()), first) << "the first result stays";
  EXPECT_NE(both.find(hit, first.size()), std::string::npos) << "and the second follows it";
}

}  // namespace
