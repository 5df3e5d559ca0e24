#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "editor/foundation/beep_capture.h"
#include "editor/foundation/message_box_capture.h"
#include "platform/dialog_test.h"
#include "platform/sjis_literal.h"
#include "platform/timer.h"
#include "search_fixture.h"

namespace {

namespace dt = platform::dialog_test;

class SearchDialogTest : public SearchFixture {
 protected:
  HWND OpenFind() {
    Run(kSearchDialog);
    EXPECT_TRUE(dialogs->Find().IsOpen());
    return dialogs->Find().GetHwnd();
  }
  HWND OpenReplace() {
    Run(kReplaceDialog);
    EXPECT_TRUE(dialogs->Replace().IsOpen());
    return dialogs->Replace().GetHwnd();
  }
  static bool Enabled(HWND dialog, int id) { return dt::Query(dialog, id).value().enabled; }
  static std::string Text(HWND dialog, int id) { return dt::Query(dialog, id).value().text; }
  static void SetKeyText(HWND dialog, const std::string& text) { platform::SetDlgItemText(dialog, 1021, text.c_str()); }
};

TEST_F(SearchDialogTest, FindOpensWithTheWordAtTheCaretAndTheSharedOptions) {
  SetText("foo bar");
  PlaceAt({5, 0});
  share.AddSearchKey("older");
  common().bSearchLoHiCase = 1;
  common().bSearchRegularExp = 1;
  common().bSearchAll = 1;
  HWND hwnd = OpenFind();
  EXPECT_EQ(dt::TemplateOf(hwnd), "109");
  const auto key = dt::Query(hwnd, 1021).value();
  EXPECT_EQ(key.kind, platform::ControlKind::kComboBox);
  EXPECT_EQ(key.text, "bar");
  EXPECT_EQ(key.limit, 259);
  EXPECT_EQ(key.items, std::vector<std::string>{"older"});
  EXPECT_EQ(dt::Query(hwnd, 1006)->check, BST_CHECKED);
  EXPECT_EQ(dt::Query(hwnd, 1010)->check, BST_CHECKED);
  EXPECT_FALSE(Enabled(hwnd, 1400)) << "whole words go with regular expressions off only";
  EXPECT_EQ(dt::Query(hwnd, 1419)->check, BST_CHECKED);
  EXPECT_NE(Text(hwnd, 1065), " ") << "the library's version";
  EXPECT_FALSE(Text(hwnd, 1065).empty());
  for (const int id : {1021, 1006, 1400, 1010, 1065, 1192, 1304, 1419, 1135, 1137, 1138, 1099, IDCANCEL}) {
    EXPECT_TRUE(dt::Query(hwnd, id)) << id;
  }
  EXPECT_TRUE(view->m_bSearchStartPending);

  // Open again: the same dialog takes the new word.
  PlaceAt({1, 0});
  EXPECT_EQ(OpenFind(), hwnd);
  EXPECT_EQ(Text(hwnd, 1021), "foo");
}

TEST_F(SearchDialogTest, ASelectionDisablesTheSingleStepsAndWholeFileEnablesThem) {
  SetText("ab\r\ncd\r\nef");
  Select({0, 0}, {1, 1});
  HWND hwnd = OpenReplace();
  EXPECT_EQ(dt::TemplateOf(hwnd), "137");
  EXPECT_EQ(dt::Query(hwnd, 1133)->check, BST_CHECKED);
  for (const int id : {1135, 1137, 1087}) EXPECT_FALSE(Enabled(hwnd, id)) << id;
  for (const int id : {1134, 1136, 1138}) EXPECT_TRUE(Enabled(hwnd, id)) << id;
  ASSERT_TRUE(dt::Click(hwnd, 1078));
  for (const int id : {1135, 1137, 1087}) EXPECT_TRUE(Enabled(hwnd, id)) << id;
  ASSERT_TRUE(dt::Click(hwnd, 1133));
  for (const int id : {1135, 1137, 1087}) EXPECT_FALSE(Enabled(hwnd, id)) << id;
  dialogs->Replace().Close(0);

  // A selection inside one row is not an area.
  Select({0, 0}, {1, 0});
  hwnd = OpenReplace();
  EXPECT_EQ(dt::Query(hwnd, 1078)->check, BST_CHECKED);
  for (const int id : {1135, 1137, 1087}) EXPECT_TRUE(Enabled(hwnd, id)) << id;
  EXPECT_EQ(Text(hwnd, 1021), "a");
}

TEST_F(SearchDialogTest, KeysHoldTwoHundredFiftyNineBytesCutOnAWholeCharacter) {
  SetText("x");
  std::string kanji;
  for (int i = 0; i < 101; ++i) kanji += "漢"_sj;
  for (const HWND hwnd : {OpenFind(), OpenReplace()}) {
    for (const int id : {1021, 1022}) {
      if (!dt::Query(hwnd, id)) continue;
      platform::SetDlgItemText(hwnd, id, "");
      const std::string whole = std::string(57, 'a') + kanji;  // 259 bytes
      ASSERT_TRUE(dt::Type(hwnd, id, whole));
      EXPECT_EQ(Text(hwnd, id), whole);
      platform::SetDlgItemText(hwnd, id, "");
      BeepCapture beeps;
      ASSERT_TRUE(dt::Type(hwnd, id, std::string(58, 'a') + kanji));  // 260 bytes
      const std::string cut = Text(hwnd, id);
      EXPECT_EQ(cut.size(), 258u) << "the last kanji does not fit whole";
      EXPECT_EQ(cut, std::string(58, 'a') + kanji.substr(0, 200));
    }
  }
}

TEST_F(SearchDialogTest, AnInvalidRegexpShowsTheLibrarysErrorThenTheEmptyKeyMessage) {
  SetText("a( b");
  PlaceAt({3, 0});
  HWND hwnd = OpenFind();
  ASSERT_TRUE(dt::Click(hwnd, 1010));
  EXPECT_FALSE(Enabled(hwnd, 1400));
  SetKeyText(hwnd, "a(");
  {
    MessageBoxCapture boxes;
    ASSERT_TRUE(dt::Click(hwnd, 1137));
    ASSERT_EQ(boxes.requests.size(), 2u);
    EXPECT_EQ(boxes.requests[0].caption, "正規表現エラー"_sj);
    EXPECT_EQ(boxes.requests[1].text, "検索条件を指定してください。"_sj);
    EXPECT_EQ(boxes.requests[1].caption, "tovara");
    EXPECT_EQ(boxes.requests[1].owner, hwnd);
    EXPECT_EQ(boxes.requests[1].flags, static_cast<UINT>(MB_OK));
  }
  EXPECT_FALSE(Selected()) << "nothing was searched";
  EXPECT_EQ(Where(), (Pos{3, 0}));
  EXPECT_EQ(common().bSearchRegularExp, 1) << "the options went to the shared record all the same";
  SetKeyText(hwnd, "");
  {
    MessageBoxCapture boxes;
    ASSERT_TRUE(dt::Click(hwnd, 1135));
    ASSERT_EQ(boxes.requests.size(), 1u);
    EXPECT_EQ(boxes.requests[0].text, "検索条件を指定してください。"_sj);
  }
  EXPECT_TRUE(dialogs->Find().IsOpen()) << "the dialog stays with its contents";
}

TEST_F(SearchDialogTest, TheReplaceDialogsOwnEmptyKeyMessages) {
  SetText("ab");
  HWND hwnd = OpenReplace();
  SetKeyText(hwnd, "");
  struct Case {
    int button;
    std::string text;
  };
  for (const Case& c : {Case{1137, "文字列を指定してください。"_sj}, Case{1087, "文字列を指定してください。"_sj},
                        Case{1134, "置換条件を指定してください。"_sj}}) {
    MessageBoxCapture boxes;
    ASSERT_TRUE(dt::Click(hwnd, c.button));
    ASSERT_EQ(boxes.requests.size(), 1u) << c.button;
    EXPECT_EQ(boxes.requests[0].text, c.text) << c.button;
  }
  EXPECT_EQ(DocBytes(), "ab");
}

TEST_F(SearchDialogTest, FindForwardSearchesFromTheDialogAndConsumesTheStartMarker) {
  SetText("foo foo");
  PlaceAt({2, 0});
  common().bAutoCloseDlgFind = 0;
  HWND hwnd = OpenFind();
  SetKeyText(hwnd, "foo");
  ASSERT_TRUE(dt::Click(hwnd, 1137));
  EXPECT_EQ(Selected(), (std::pair<Pos, Pos>{{4, 0}, {7, 0}}));
  EXPECT_EQ(view->m_nSrchStartPosX_PHY, 2);
  EXPECT_EQ(view->m_nSrchStartPosY_PHY, 0);
  EXPECT_FALSE(view->m_bSearchStartPending);
  EXPECT_STREQ(record->szSearchKeys[0], "foo");
  EXPECT_EQ(dt::FocusedControl(hwnd), 1021);
  EXPECT_EQ(Text(hwnd, 1021), "foo");

  ASSERT_TRUE(dt::Click(hwnd, 1304));
  EXPECT_EQ(common().bAutoCloseDlgFind, 0) << "the box alone writes nothing";
  ASSERT_TRUE(dt::Click(hwnd, 1135));
  EXPECT_EQ(common().bAutoCloseDlgFind, 1);
  EXPECT_EQ(Selected(), (std::pair<Pos, Pos>{{0, 0}, {3, 0}}));
  EXPECT_FALSE(dialogs->Find().IsOpen()) << "closes after a search when asked";
}

// Options bind every window: what one document's dialog sets, another document's next search uses.
TEST_F(SearchDialogTest, AnOptionChangedInOneDocumentsDialogChangesTheNextSearchInAnother) {
  CEditDoc otherDoc;
  CEditView otherView;
  CSearchDialogs otherDialogs;
  otherView.SetEditWindow(&editWindow);
  otherView.AttachDocument(&otherDoc, 0);
  otherView.SetClientSize(640, 480);
  otherView.SetSearchDialogs(&otherDialogs);
  otherDoc.m_cDocLineMgr.AppendLine("foo Foo", 7, CLineEnd::NONE);
  otherDoc.m_cLayoutMgr.SetWrapSettings(true, nullptr, type());

  SetText("Foo");
  common().bAutoCloseDlgFind = 0;
  HWND hwnd = OpenFind();
  SetKeyText(hwnd, "Foo");
  ASSERT_TRUE(dt::Click(hwnd, 1006));  // case on
  ASSERT_TRUE(dt::Click(hwnd, 1137));

  otherView.RunCommand(kSearchNext, true, 0, 0, 0, 0);
  ASSERT_TRUE(otherView.IsTextSelected());
  EXPECT_EQ(otherView.m_sSelect, (SelectRange{0, 4, 0, 7})) << "case now counts there too";

  ASSERT_TRUE(dt::Click(hwnd, 1006));  // case off
  ASSERT_TRUE(dt::Click(hwnd, 1137));
  otherView.ClearSelection(false);
  otherView.PlaceCursor(0, 0, false, 20);
  otherView.RunCommand(kSearchNext, true, 0, 0, 0, 0);
  EXPECT_EQ(otherView.m_sSelect, (SelectRange{0, 0, 0, 3}));
}

TEST_F(SearchDialogTest, TheReplaceDialogFollowsTheActivePaneOfItsDocument) {
  SetText("ab ab");
  CEditView second;
  second.SetEditWindow(&editWindow);
  second.AttachDocument(doc.get(), 1);
  second.SetClientSize(640, 480);
  second.SetSearchDialogs(dialogs.get());
  DocPorts ports = doc->Ports();
  ports.panes[1] = &second;
  doc->SetPorts(ports);
  PlaceAt({0, 0});
  second.PlaceCursor(3, 0, false, 20);

  HWND hwnd = OpenReplace();
  SetKeyText(hwnd, "ab");
  doc->SetActivePane(1);
  ASSERT_TRUE(dt::Click(hwnd, 1137));
  EXPECT_EQ(second.m_sSelect, (SelectRange{0, 3, 0, 5})) << "the second pane, from its caret";
  EXPECT_FALSE(view->IsTextSelected());
  doc->SetActivePane(0);
  dialogs->Replace().Close(0);
  ports.panes[1] = nullptr;
  doc->SetPorts(ports);
}

// ---- Replace-all from the dialog, and its cancel ----------------------------------------------

TEST_F(SearchDialogTest, ReplaceAllTellsTheCountAndClosesWhenAsked) {
  SetText("a1a\r\nb\r\na\r\n");
  common().bAutoCloseDlgReplace = 0;
  HWND hwnd = OpenReplace();
  SetKeyText(hwnd, "a");
  platform::SetDlgItemText(hwnd, 1022, "X");
  {
    MessageBoxCapture boxes;
    ASSERT_TRUE(dt::Click(hwnd, 1134));
    ASSERT_EQ(boxes.requests.size(), 1u);
    EXPECT_EQ(boxes.requests[0].text, "3箇所を置換しました。"_sj);
    EXPECT_TRUE(boxes.requests[0].flags & MB_TOPMOST);
  }
  EXPECT_EQ(DocBytes(), "X1X\r\nb\r\nX\r\n");
  EXPECT_STREQ(record->szReplaceKeys[0], "X");
  EXPECT_TRUE(dialogs->Replace().IsOpen());

  SetKeyText(hwnd, "X");
  platform::SetDlgItemText(hwnd, 1022, "Y");
  ASSERT_TRUE(dt::Click(hwnd, 1010));
  ASSERT_TRUE(dt::Click(hwnd, 1307));  // close after replace-all
  {
    MessageBoxCapture boxes;
    ASSERT_TRUE(dt::Click(hwnd, 1136));
    ASSERT_EQ(boxes.requests.size(), 1u);
    EXPECT_EQ(boxes.requests[0].text, "2行を置換しました。"_sj);
  }
  EXPECT_EQ(DocBytes(), "Y1Y\r\nb\r\nY\r\n");
  EXPECT_FALSE(dialogs->Replace().IsOpen());
  EXPECT_EQ(StepCount(), 2);
}

// The timer of the test: once the replace-all has made progress, the user presses Cancel.
int g_cancelClicks = 0;
void CancelOnceUnderWay(HWND, UINT, UINT_PTR, DWORD) {
  for (HWND dialog : dt::OpenDialogs()) {
    if (dt::TemplateOf(dialog) != "160" || g_cancelClicks > 0) continue;
    const auto count = dt::Query(dialog, 1197);
    if (count && count->text != "0" && dt::Click(dialog, IDCANCEL)) ++g_cancelClicks;
  }
}

TEST_F(SearchDialogTest, ACancelledReplaceAllKeepsWhatItDidAsOneStepAndTheDialogOpen) {
  constexpr int kLines = 20000;
  std::string text;
  for (int i = 0; i < kLines; ++i) text += "a\r\n";
  SetText(text);
  HWND hwnd = OpenReplace();
  SetKeyText(hwnd, "a");
  platform::SetDlgItemText(hwnd, 1022, "bc");
  common().bAutoCloseDlgReplace = 1;
  g_cancelClicks = 0;
  ASSERT_NE(platform::SetTimer(hwnd, 77, 10, &CancelOnceUnderWay), 0u);
  MessageBoxCapture boxes;
  ASSERT_TRUE(dt::Click(hwnd, 1134));
  platform::KillTimer(hwnd, 77);

  ASSERT_EQ(g_cancelClicks, 1);
  const CReplaceDialog& dialog = dialogs->Replace();
  EXPECT_EQ(dialog.m_bCanceled, 1);
  const int count = dialog.m_nReplaceCnt;
  EXPECT_GT(count, 0);
  EXPECT_LT(count, kLines);
  std::string expected;
  for (int i = 0; i < kLines; ++i) expected += i < count ? "bc\r\n" : "a\r\n";
  EXPECT_EQ(DocBytes(), expected) << "the replacements made so far stay";
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].text, std::to_string(count) + "箇所を置換しました。"_sj);
  EXPECT_TRUE(dialogs->Replace().IsOpen()) << "a cancelled run leaves the dialog open";
  for (HWND d : dt::OpenDialogs()) EXPECT_NE(dt::TemplateOf(d), "160") << "the cancel dialog is gone";
  EXPECT_EQ(StepCount(), 1);
  Undo();
  EXPECT_EQ(DocBytes(), text);
}

}  // namespace
