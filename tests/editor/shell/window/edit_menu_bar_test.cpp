// The edit window's popups made afresh as they open, against tables of (id, text, grey, check):
// the file popup with its recent lists, the tools popup while this or another window records, the
// settings popup's bar and wrap texts, the window popup's split texts, the help popup; the rules
// applied to submenus and skipped in print preview; and the bar's resource.
#include "editor/shell/window/edit_menu_bar.h"

#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "editor/foundation/settings/recent_menus.h"
#include "editor/shell/commands/menu_drawer.h"
#include "editor/view/commands/wrap_toggle.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/popup_menu.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"
#include "window_fixture.h"

namespace {

using namespace std::string_literals;

constexpr int kSub = -1;  // a submenu's row
constexpr int kSep = 0;   // a separator's row

struct Row {
  int id;
  std::string text;
  bool grey = false;
  bool check = false;
  bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Row& row) {
  return out << "{" << row.id << ", \"" << row.text << "\"" << (row.grey ? ", grey" : "") << (row.check ? ", check" : "")
             << "}";
}

// The items of a menu as rows; the key after a tab is left out (the tests assign no keys).
std::vector<Row> Rows(HMENU menu) {
  std::vector<Row> rows;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    platform::MenuItemInfo info;
    EXPECT_TRUE(GetMenuItemInfoAt(menu, i, info));
    if (info.flags & MF_SEPARATOR) {
      rows.push_back({kSep, ""});
      continue;
    }
    rows.push_back({info.submenu ? kSub : static_cast<int>(info.id), info.text.substr(0, info.text.find('\t')),
                    (info.flags & MF_GRAYED) != 0, (info.flags & MF_CHECKED) != 0});
  }
  return rows;
}

HMENU SubmenuAt(HMENU menu, int position) {
  platform::MenuItemInfo info;
  return GetMenuItemInfoAt(menu, position, info) ? info.submenu : nullptr;
}

class EditMenuBarTest : public WindowFixture {
 protected:
  EditMenuBarTest() : WindowFixture("edit-menu-bar-test") {}
  void SetUp() override {
    WindowFixture::SetUp();
    record->nKeyAssignCount = 0;
    record->Common.bEnableUnmodifiedOverwrite = 0;
    ASSERT_TRUE(RegisterEditMenuResource());
    menuBar = platform::LoadMenuResourceByName(kEditMenuResourceName);
    ASSERT_NE(menuBar, nullptr);
    drawer.Bind(nullptr, nullptr, nullptr);
    bar = std::make_unique<CEditMenuBar>(*doc, share, drawer);
    bar->SetFileInfoSource([this](EditWindowId window) {
      auto it = infos.find(window);
      return it == infos.end() ? kEmptyRecentFileRecord : it->second;
    });
  }
  void TearDown() override {
    DestroyMenu(menuBar);
    WindowFixture::TearDown();
  }
  // Opens the bar's popup at that position, as WM_INITMENUPOPUP does.
  HMENU Open(int position) {
    HMENU popup = SubmenuAt(menuBar, position);
    bar->OnInitMenuPopup(menuBar, popup, position, false);
    return popup;
  }

  HMENU menuBar = nullptr;
  CMenuDrawer drawer{record.get()};
  std::unique_ptr<CEditMenuBar> bar;
  std::map<EditWindowId, RecentFileRecord> infos;
};

TEST_F(EditMenuBarTest, TheBarHasEightTitledPopups) {
  const std::vector<Row> expected = {
      {kSub, "ファイル(&F)"_sj}, {kSub, "編集(&E)"_sj},   {kSub, "変換(&C)"_sj},       {kSub, "検索(&S)"_sj},
      {kSub, "ツール(&T)"_sj},   {kSub, "設定(&O)"_sj},   {kSub, "ウィンドウ(&W)"_sj}, {kSub, "ヘルプ(&H)"_sj},
  };
  EXPECT_EQ(Rows(menuBar), expected);
}

TEST_F(EditMenuBarTest, FilePopupWithoutRecentFilesAndUnmodified) {
  const std::vector<Row> expected = {
      {30101, "新規作成(&N)"_sj},
      {30102, "開く(&O)..."_sj},
      {30103, "上書き保存(&S)"_sj, true},
      {30104, "名前を付けて保存(&A)..."_sj},
      {30120, "すべて上書き保存(&Z)"_sj},
      {kSep, ""},
      {30109, "保存して閉じる(&E)"_sj},
      {31320, "閉じる(&C)"_sj},
      {30105, "閉じて(無題) (&R)"_sj},
      {30107, "閉じて開く(&L)..."_sj},
      {kSub, "開き直す(&W)"_sj},
      {kSep, ""},
      {30150, "印刷(&P)..."_sj},
      {30151, "印刷プレビュー(&V)..."_sj},
      {30152, "ページ設定(&U)..."_sj},
      {kSep, ""},
      {30190, "ファイルのプロパティ(&T)"_sj, true},
      {30180, "ブラウズ(&B)"_sj, true},
      {kSep, ""},
      {kSub, "最近使ったファイル(&F)"_sj, true},
      {kSub, "最近使ったフォルダ(&D)"_sj, true},
      {kSep, ""},
      {31321, "すべてのウィンドウを閉じる(&Q)"_sj},
  };
  EXPECT_EQ(Rows(Open(0)), expected);
}

TEST_F(EditMenuBarTest, FilePopupWithARecentFileAndASavedDocument) {
  RecentFileRecord recent = kEmptyRecentFileRecord;
  std::strcpy(recent.szPath, "/home/u/a&b.txt");
  recent.nCharCode = 4;
  ASSERT_TRUE(CRecentFileMenu(&share).AddRecord(&recent));
  std::strcpy(doc->m_szFilePath, "/home/u/c.txt");
  doc->m_bIsModified = true;
  HMENU popup = Open(0);
  const std::vector<Row> rows = Rows(popup);
  ASSERT_EQ(rows.size(), 23u);
  EXPECT_EQ(rows[2], (Row{30103, "上書き保存(&S)"_sj}));
  EXPECT_EQ(rows[16], (Row{30190, "ファイルのプロパティ(&T)"_sj}));
  EXPECT_EQ(rows[19], (Row{kSub, "最近使ったファイル(&F)"_sj}));
  EXPECT_EQ(rows[20], (Row{kSub, "最近使ったフォルダ(&D)"_sj})) << "adding a file adds its folder";
  EXPECT_EQ(Rows(SubmenuAt(popup, 19)), (std::vector<Row>{{11000, "&0 /home/u/a&&b.txt  [UTF-8]"}}));
  EXPECT_EQ(Rows(SubmenuAt(popup, 20)), (std::vector<Row>{{12000, "&0 /home/u/"}}));
}

// A submenu opening is not made afresh; its items take the rules' states.
TEST_F(EditMenuBarTest, ASubmenuTakesTheStatesWithoutBeingRebuilt) {
  doc->m_nCharCode = 2;
  HMENU file = Open(0);
  HMENU reopen = SubmenuAt(file, 10);
  const std::vector<Row> before = Rows(reopen);
  ASSERT_EQ(before.size(), 9u);
  EXPECT_FALSE(before[4].check);
  bar->OnInitMenuPopup(menuBar, reopen, 10, false);
  std::vector<Row> after = before;
  after[4].check = true;  // 30113, EUC
  EXPECT_EQ(after[4].id, 30113);
  EXPECT_EQ(Rows(reopen), after);
  EXPECT_EQ(SubmenuAt(file, 10), reopen) << "the file popup was left as it was";

  // The system menu is never rebuilt, even at a bar position.
  HMENU edit = SubmenuAt(menuBar, 1);
  bar->OnInitMenuPopup(menuBar, edit, 1, true);
  EXPECT_EQ(GetMenuItemCount(edit), 0);
}

TEST_F(EditMenuBarTest, ToolsPopupByRecordingState) {
  std::strcpy(record->MacroSlots[0].Name, "first");
  std::strcpy(record->MacroSlots[0].File, "/m/first.mac");
  std::strcpy(record->MacroSlots[2].File, "/m/unnamed.mac");  // listed under its file
  std::strcpy(record->MacroSlots[3].Name, "no file");         // not listed
  const std::vector<Row> tail = {
      {kSub, "登録済みマクロ(&B)"_sj},
      {kSep, ""},
      {31270, "外部コマンド実行(&X)..."_sj},
      {30170, "SQL*Plusをアクティブ表示(&P)"_sj},
      {30171, "SQL*Plusで実行(&S)"_sj, true},  // no path
      {kSep, ""},
      {31430, "入力補完(&/)"_sj},
      {kSep, ""},
      {kSub, "カスタムメニュー(&U)"_sj},
  };
  struct Case {
    const char* name;
    int recording;  // 0 none, 1 here, 2 another window
    std::vector<Row> head;
  };
  const Case cases[] = {
      {"not recording",
       0,
       {{31250, "キーマクロの記録開始(&R)"_sj},
        {31251, "キーマクロの保存(&M)"_sj, true},
        {31252, "キーマクロの読み込み(&A)"_sj},
        {31253, "キーマクロの実行(&D)"_sj, true}}},
      {"recording here",
       1,
       {{31250, "キーマクロの記録終了(&R)"_sj, false, true},
        {31251, "キーマクロの記録終了&&保存(&M)"_sj},
        {31252, "キーマクロの記録終了&&読み込み(&A)"_sj},
        {31253, "キーマクロの記録終了&&実行(&D)"_sj}}},
      {"another window records",
       2,
       {{31250, "キーマクロの記録終了(&R)"_sj, true, true},
        {31251, "キーマクロの記録終了&&保存(&M)"_sj, true},
        {31252, "キーマクロの記録終了&&読み込み(&A)"_sj, true},
        {31253, "キーマクロの記録終了&&実行(&D)"_sj, true}}},
  };
  ports.frame.id = 5;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    record->bKeyMacroRecording = c.recording != 0;
    record->hwndKeyMacroRecorder = c.recording == 1 ? 5 : c.recording == 2 ? 6 : 0;
    HMENU popup = Open(4);
    std::vector<Row> expected = c.head;
    expected.insert(expected.end(), tail.begin(), tail.end());
    EXPECT_EQ(Rows(popup), expected);
    EXPECT_EQ(Rows(SubmenuAt(popup, 4)),
              (std::vector<Row>{{31600, "first"}, {31602, "/m/unnamed.mac"}}));
    EXPECT_EQ(Rows(SubmenuAt(popup, 12)), (std::vector<Row>{{31580, "右クリックメニュー"_sj},
                                                            {31501, "メニュー1"_sj},
                                                            {31524, "タブメニュー"_sj}}));
  }
}

TEST_F(EditMenuBarTest, SettingsPopupTextsFollowTheBarsAndTheWrapToggle) {
  const auto settingsRows = [this] { return Rows(Open(5)); };
  // With icons the texts say what the item will do; the check marks still show the state.
  record->Common.bMenuIcon = 1;
  ports.frame.statusBar = true;
  std::vector<Row> rows = settingsRows();
  ASSERT_GE(rows.size(), 4u);
  EXPECT_EQ(std::vector<Row>(rows.begin(), rows.begin() + 4),
            (std::vector<Row>{{31100, "ツールバーを表示(&T)"_sj},
                              {31101, "ファンクションキーを表示(&K)"_sj},
                              {31103, "タブを表示(&M)"_sj},
                              {31102, "表示中のステータスバーを隠す(&S)"_sj, false, true}}));
  // Without icons the texts stay and the check marks tell.
  record->Common.bMenuIcon = 0;
  ports.frame.toolBar = true;
  rows = settingsRows();
  EXPECT_EQ(std::vector<Row>(rows.begin(), rows.begin() + 4),
            (std::vector<Row>{{31100, "ツールバーを表示(&T)"_sj, false, true},
                              {31101, "ファンクションキーを表示(&K)"_sj},
                              {31103, "タブを表示"_sj},
                              {31102, "ステータスバーを表示(&S)"_sj, false, true}}));
  const std::vector<Row> rest = {
      {kSep, ""},
      {31110, "タイプ別設定一覧(&L)..."_sj},
      {31111, "タイプ別設定(&Y)..."_sj},
      {31112, "共通設定(&C)..."_sj},
      {31120, "フォント設定(&F)..."_sj},
      {31113, "お気に入りの設定(&O)..."_sj},
      {kSep, ""},
  };
  EXPECT_EQ(std::vector<Row>(rows.begin() + 4, rows.begin() + 11), rest);

  struct WrapCase {
    int toggle;
    Row item;
  };
  const WrapCase wraps[] = {
      {kWrapToggleNone, {31140, "幅の変更は出来ません(&W)"_sj, true}},
      {kWrapToggleOff, {31140, "折り返さない(&W)"_sj}},
      {kWrapToggleWindowWidth, {31140, "現在のウィンドウ幅で折り返し(&W)"_sj}},
      {kWrapToggleTypeWidth, {31140, "タイプ別設定の幅で折り返し(&W)"_sj}},
  };
  doc->m_bReadOnly = true;
  doc->m_bInsMode = false;
  doc->m_nNewLineType = CLineEnd::LF;
  for (const WrapCase& w : wraps) {
    SCOPED_TRACE(w.toggle);
    pane().wrapToggle = w.toggle;
    rows = settingsRows();
    ASSERT_EQ(rows.size(), 16u);
    EXPECT_EQ(rows[11], w.item);
    EXPECT_EQ(std::vector<Row>(rows.begin() + 12, rows.end()),
              (std::vector<Row>{{kSep, ""},
                                {31001, "挿入／上書きモード(&I)"_sj, true},  // refused when read-only
                                {30185, "読み取り専用(&R)"_sj, false, true},
                                {kSub, "入力改行コード指定(&E)"_sj}}));
  }
  HMENU popup = Open(5);
  HMENU lineEnds = SubmenuAt(popup, 15);
  bar->OnInitMenuPopup(menuBar, lineEnds, 15, false);
  EXPECT_EQ(Rows(lineEnds), (std::vector<Row>{{31081, "入力改行コード指定(&CRLF)"_sj},
                                               {31082, "入力改行コード指定(&LF)"_sj, false, true},
                                               {31083, "入力改行コード指定(C&R)"_sj}}));
}

TEST_F(EditMenuBarTest, WindowPopupSplitTexts) {
  struct Case {
    int rows, columns;
    const char* vertical;
    const char* horizontal;
    const char* both;
  };
  const Case cases[] = {
      {1, 1, "上下に分割(&-)"_sj, "左右に分割(&I)"_sj, "縦横に分割(&S)"_sj},
      {2, 1, "上下分割の解除(&-)"_sj, "左右に分割(&I)"_sj, "縦横に分割(&S)"_sj},
      {1, 2, "上下に分割(&-)"_sj, "左右分割の解除(&I)"_sj, "縦横に分割(&S)"_sj},
      {2, 2, "上下分割の解除(&-)"_sj, "左右分割の解除(&I)"_sj, "縦横分割の解除(&S)"_sj},
  };
  ports.frame.topMost = true;
  record->Common.bDispTabWnd = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.rows) + "x" + std::to_string(c.columns));
    ports.splitter.rows = c.rows;
    ports.splitter.columns = c.columns;
    const std::vector<Row> rows = Rows(Open(6));
    const std::vector<Row> expected = {
        {31310, c.vertical},
        {31311, c.horizontal},
        {31312, c.both},
        {kSep, ""},
        {31320, "閉じる(&C)"_sj},
        {31321, "すべて閉じる(&Q)"_sj},
        {kSep, ""},
        {31340, "次のウィンドウ(&N)"_sj},
        {31341, "前のウィンドウ(&P)"_sj},
        {31336, "ウィンドウ一覧(&W)..."_sj},
        {kSep, ""},
        {31333, "結合して表示(&B)"_sj, true},
        {31330, "重ねて表示(&E)"_sj},
        {31331, "上下に並べて表示(&H)"_sj},
        {31332, "左右に並べて表示(&T)"_sj},
        {31334, "常に手前に表示"_sj, false, true},
        {kSep, ""},
        {31350, "縦方向に最大化(&X)"_sj},
        {31352, "横方向に最大化(&Y)"_sj},
        {31351, "すべて最小化(&M)"_sj},
        {kSep, ""},
        {31360, "再描画(&R)"_sj},
        {kSep, ""},
        {31370, "アウトプット(&U)"_sj},
        {kSep, ""},
    };
    EXPECT_EQ(rows, expected);
  }
}

TEST_F(EditMenuBarTest, HelpPopup) {
  const std::vector<Row> expected = {
      {31440, "目次(&O)"_sj},
      {31441, "キーワード検索(&S)..."_sj},
      {kSep, ""},
      {31445, "コマンド一覧(&M)"_sj},
      {30630, "キー割り当て一覧をコピー(&Q)"_sj},
      {31450, "外部ヘルプ１(&E)"_sj},
      {31451, "外部HTMLヘルプ(&H)"_sj},
      {kSep, ""},
      {31455, "バージョン情報(&A)"_sj},
  };
  EXPECT_EQ(Rows(Open(7)), expected);
}

// The edit, convert and search popups: their shape, and the rules on a few of their items.
TEST_F(EditMenuBarTest, EditConvertAndSearchPopups) {
  struct Case {
    int position;
    size_t count;
    size_t at;
    Row row;
  };
  pane().searchStart = false;
  const Case cases[] = {
      {1, 21, 0, {30210, "元に戻す(&U)"_sj, true}},
      {1, 21, 5, {30604, "貼り付け(&P)"_sj, !doc->CanPaste()}},
      {1, 21, 17, {kSub, "高度な操作(&V)"_sj}},
      {1, 21, 20, {kSub, "整形(&K)"_sj}},
      {2, 15, 0, {30800, "英大文字→英小文字(&L)"_sj, true}},
      {2, 15, 3, {30817, "全角カタカナ→半角カタカナ"_sj, true}},
      {2, 15, 14, {kSub, "文字コード変換(&C)"_sj}},
      {3, 25, 5, {30909, "検索開始位置へ戻る(&I)"_sj, true}},
      {3, 25, 6, {kSub, "インクリメンタルサーチ(&S)"_sj}},
      {3, 25, 8, {kSub, "ブックマーク(&M)"_sj}},
      {3, 25, 17, {30162, "同名のC/C++ヘッダ(ソース)を開く(&C)"_sj, true}},
      {3, 25, 23, {30980, "差分表示の全解除"_sj, true}},
      {3, 25, 24, {kSep, ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    const std::vector<Row> rows = Rows(Open(c.position));
    ASSERT_EQ(rows.size(), c.count);
    EXPECT_EQ(rows[c.at], c.row) << c.at;
  }
  // The last item of the advanced submenu, whose text holds a backslash.
  const std::vector<Row> advanced = Rows(SubmenuAt(Open(1), 17));
  ASSERT_EQ(advanced.size(), 30u);
  EXPECT_EQ(advanced[28], (Row{30620, "このファイルのパス名をコピー(&\\)"_sj}));
}

// In print preview the popups are made afresh but no rule greys or checks an item.
TEST_F(EditMenuBarTest, PrintPreviewAppliesNoRule) {
  FakePreview preview;
  DocPorts previewing = ports.Ports();
  previewing.macros = &macros;
  previewing.preview = &preview;
  doc->SetPorts(previewing);
  doc->m_bReadOnly = true;
  HMENU popup = Open(5);
  for (const Row& row : Rows(popup)) {
    if (row.id == 31140) continue;  // greyed by its own text: the toggle can do nothing
    EXPECT_FALSE(row.grey) << row;
    EXPECT_FALSE(row.check) << row;
  }
  EXPECT_GT(GetMenuItemCount(popup), 0);
}

// The open windows close the window popup, this one checked, and show as a popup of their own.
TEST_F(EditMenuBarTest, WindowListInTheWindowPopupAndAsAPopup) {
  ListedWindows listed(share, 2);
  const EditWindowId ids[2] = {listed.id(0), listed.id(1)};
  infos[ids[0]] = kEmptyRecentFileRecord;
  std::strcpy(infos[ids[0]].szPath, "/w/first.txt");
  infos[ids[1]] = kEmptyRecentFileRecord;
  infos[ids[1]].bModified = 1;
  ports.frame.id = ids[1];

  // Ordered by the order they opened in; ids by their place in the list, the newest first.
  const std::vector<Row> items = {{10001, "&1 /w/first.txt  "}, {10000, "&2 "s + "(無題)"_sj + " *", false, true}};
  const std::vector<Row> rows = Rows(Open(6));
  ASSERT_EQ(rows.size(), 27u);
  EXPECT_EQ(rows[24], (Row{kSep, ""}));
  EXPECT_EQ(std::vector<Row>(rows.begin() + 25, rows.end()), items);

  std::vector<Row> shown;
  POINT shownAt{};
  const platform::PopupMenuHook previous = platform::SetPopupMenuHook([&](HMENU menu, POINT at) -> UINT {
    shown = Rows(menu);
    shownAt = at;
    return 10001;
  });
  EXPECT_EQ(bar->TrackWindowListMenu(listed.window(1), POINT{30, 40}), 10001);
  platform::SetPopupMenuHook(previous);
  EXPECT_EQ(shown, items);
  EXPECT_EQ(shownAt.x, 30);
  EXPECT_EQ(shownAt.y, 40);
  EXPECT_EQ(bar->WindowList().WindowOf(10001), ids[0]);
}

}  // namespace
