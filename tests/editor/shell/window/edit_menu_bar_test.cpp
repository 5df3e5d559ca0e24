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
#include <utility>
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

// Every item of the popups whose contents do not depend on the state, submenus included, in order:
// (id, text), a submenu by its title, a separator as itself.
TEST_F(EditMenuBarTest, FixedPopupsItemByItem) {
  using Item = std::pair<int, std::string>;
  struct Case {
    const char* name;
    int position;
    int submenu;  // the submenu's place in the popup; -1 for the popup itself
    std::vector<Item> items;
  };
  const Case cases[] = {
      {"edit",
       1,
       -1,
       {{30210, "元に戻す(&U)"_sj},
        {30211, "やり直し(&R)"_sj},
        {kSep, ""},
        {30601, "切り取り(&T)"_sj},
        {30602, "コピー(&C)"_sj},
        {30604, "貼り付け(&P)"_sj},
        {30221, "削除(&D)"_sj},
        {30401, "すべて選択(&A)"_sj},
        {kSep, ""},
        {30285, "再変換(&R)"_sj},
        {kSep, ""},
        {30603, "CRLF改行でコピー(&L)"_sj},
        {30608, "折り返し位置に改行をつけてコピー(&H)"_sj},
        {30605, "矩形貼り付け(&X)"_sj},
        {30222, "カーソル前を削除(&B)"_sj},
        {kSep, ""},
        {kSub, "挿入(&I)"_sj},
        {kSub, "高度な操作(&V)"_sj},
        {kSub, "移動(&O)"_sj},
        {kSub, "選択(&S)"_sj},
        {kSub, "整形(&K)"_sj}}},
      {"edit / insert",
       1,
       16,
       {{30790, "日付(&D)"_sj}, {30791, "時刻(&T)"_sj}, {30792, "コントロールコード(&C)..."_sj}}},
      {"edit / advanced",
       1,
       17,
       {{30230, "単語の左端まで削除(&L)"_sj},
        {30231, "単語の右端まで削除(&R)"_sj},
        {kSep, ""},
        {30400, "現在位置の単語選択(&W)"_sj},
        {30232, "単語切り取り(&T)"_sj},
        {30233, "単語削除(&D)"_sj},
        {kSep, ""},
        {30240, "行頭まで切り取り(改行単位) (&U)"_sj},
        {30241, "行末まで切り取り(改行単位) (&K)"_sj},
        {kSep, ""},
        {30242, "行頭まで削除(改行単位) (&H)"_sj},
        {30243, "行末まで削除(改行単位) (&E)"_sj},
        {kSep, ""},
        {30244, "行切り取り(折り返し単位) (&X)"_sj},
        {30245, "行削除(折り返し単位) (&Y)"_sj},
        {kSep, ""},
        {30250, "行の二重化(折り返し単位) (&2)"_sj},
        {kSep, ""},
        {30260, "TABインデント(&A)"_sj},
        {30261, "逆TABインデント(&B)"_sj},
        {30262, "SPACEインデント(&S)"_sj},
        {30263, "逆SPACEインデント(&P)"_sj},
        {kSep, ""},
        {30610, "選択範囲内全行コピー(&@)"_sj},
        {30611, "選択範囲内全行引用符付きコピー(&.)"_sj},
        {30612, "選択範囲内全行行番号付きコピー(&:)"_sj},
        {kSep, ""},
        {30622, "このファイル名をコピー(&-)"_sj},
        {30620, "このファイルのパス名をコピー(&\\)"_sj},
        {30621, "このファイルのパス名とカーソル位置をコピー(&^)"_sj}}},
      {"edit / move",
       1,
       18,
       {{30315, "カーソル上移動(２行ごと) (&Q)"_sj},
        {30316, "カーソル下移動(２行ごと) (&K)"_sj},
        {30320, "単語の左端に移動(&L)"_sj},
        {30321, "単語の右端に移動(&R)"_sj},
        {30383, "前の段落に移動(&A)"_sj},
        {30382, "次の段落に移動(&Z)"_sj},
        {30332, "行頭に移動(折り返し単位) (&H)"_sj},
        {30333, "行末に移動(折り返し単位) (&E)"_sj},
        {kSep, ""},
        {30342, "１ページアップ(&U)"_sj},
        {30343, "１ページダウン(&D)"_sj},
        {30350, "ファイルの先頭に移動(&T)"_sj},
        {30351, "ファイルの最後に移動(&B)"_sj},
        {kSep, ""},
        {30360, "カーソル行をウィンドウ中央へ(&C)"_sj},
        {kSep, ""},
        {30920, "指定行へジャンプ(&J)..."_sj},
        {30909, "検索開始位置へ戻る(&I)"_sj},
        {kSep, ""},
        {30370, "移動履歴: 前へ(&P)"_sj},
        {30371, "移動履歴: 次へ(&N)"_sj},
        {30372, "現在位置を移動履歴に登録(&S)"_sj}}},
      {"edit / select",
       1,
       19,
       {{30400, "現在位置の単語選択(&W)"_sj},
        {30401, "すべて選択(&A)"_sj},
        {30410, "範囲選択開始(&S)"_sj},
        {kSep, ""},
        {30415, "(選択)カーソル上移動(２行ごと) (&Q)"_sj},
        {30416, "(選択)カーソル下移動(２行ごと) (&K)"_sj},
        {30420, "(選択)単語の左端に移動(&L)"_sj},
        {30421, "(選択)単語の右端に移動(&R)"_sj},
        {30483, "(選択)前の段落に移動(&2)"_sj},
        {30482, "(選択)次の段落に移動(&8)"_sj},
        {30432, "(選択)行頭に移動(折り返し単位) (&H)"_sj},
        {30433, "(選択)行末に移動(折り返し単位) (&T)"_sj},
        {kSep, ""},
        {30442, "(選択)１ページアップ(&U)"_sj},
        {30443, "(選択)１ページダウン(&D)"_sj},
        {30450, "(選択)ファイルの先頭に移動(&1)"_sj},
        {30451, "(選択)ファイルの最後に移動(&9)"_sj},
        {kSep, ""},
        {30510, "矩形範囲選択開始(&B)"_sj}}},
      {"edit / format",
       1,
       20,
       {{30280, "左(先頭)の空白を削除(&L)"_sj},
        {30281, "右(末尾)の空白を削除(&R)"_sj},
        {kSep, ""},
        {30282, "選択行の昇順ソート(&A)"_sj},
        {30283, "選択行の降順ソート(&D)"_sj},
        {kSep, ""},
        {30284, "連続した重複行の削除(uniq)(&U)"_sj}}},
      {"convert",
       2,
       -1,
       {{30800, "英大文字→英小文字(&L)"_sj},
        {30801, "英小文字→英大文字(&U)"_sj},
        {30810, "全角→半角(&F)"_sj},
        {30817, "全角カタカナ→半角カタカナ"_sj},
        {30816, "全角英数→半角英数"_sj},
        {30815, "半角英数→全角英数"_sj},
        {30811, "半角＋全ひら→全角・カタカナ(&Z)"_sj},
        {30812, "半角＋全カタ→全角・ひらがな(&N)"_sj},
        {30813, "半角カタカナ→全角カタカナ(&K)"_sj},
        {30814, "半角カタカナ→全角ひらがな(&H)"_sj},
        {kSep, ""},
        {30830, "TAB→空白(&S)"_sj},
        {30831, "空白→TAB(&T)"_sj},
        {kSep, ""},
        {kSub, "文字コード変換(&C)"_sj}}},
      {"convert / code conversion",
       2,
       14,
       {{30850, "自動判別→SJISコード変換(&A)"_sj},
        {30851, "E-Mail(JIS→SJIS)コード変換(&M)"_sj},
        {30852, "EUC→SJISコード変換(&W)"_sj},
        {30853, "Unicode→SJISコード変換(&U)"_sj},
        {30856, "UnicodeBE→SJISコード変換(&N)"_sj},
        {30854, "UTF-8→SJISコード変換(&T)"_sj},
        {30855, "UTF-7→SJISコード変換(&F)"_sj},
        {kSep, ""},
        {30860, "SJIS→JISコード変換(&J)"_sj},
        {30861, "SJIS→EUCコード変換(&E)"_sj},
        {30862, "SJIS→UTF-8コード変換(&8)"_sj},
        {30863, "SJIS→UTF-7コード変換(&7)"_sj},
        {kSep, ""},
        {30870, "Base64デコードして保存(&B)"_sj},
        {30880, "uudecodeして保存(&D)"_sj}}},
      {"search",
       3,
       -1,
       {{30901, "検索(&F)..."_sj},
        {30902, "次を検索(&N)"_sj},
        {30903, "前を検索(&P)"_sj},
        {30904, "置換(&R)..."_sj},
        {30905, "検索マークの切替え(&C)"_sj},
        {30909, "検索開始位置へ戻る(&I)"_sj},
        {kSub, "インクリメンタルサーチ(&S)"_sj},
        {kSep, ""},
        {kSub, "ブックマーク(&M)"_sj},
        {30910, "Grep(&G)..."_sj},
        {30920, "指定行へジャンプ(&J)..."_sj},
        {30930, "アウトライン解析(&L)..."_sj},
        {30940, "タグジャンプ(&T)"_sj},
        {30941, "タグジャンプバック(&B)"_sj},
        {30943, "タグファイルの作成..."_sj},
        {30944, "ダイレクトタグジャンプ"_sj},
        {30946, "キーワードを指定してタグジャンプ"_sj},
        {30162, "同名のC/C++ヘッダ(ソース)を開く(&C)"_sj},
        {kSep, ""},
        {30950, "ファイル内容比較(&@)..."_sj},
        {30976, "DIFF差分表示(&D)..."_sj},
        {30978, "次の差分へ"_sj},
        {30979, "前の差分へ"_sj},
        {30980, "差分表示の全解除"_sj},
        {kSep, ""}}},
      {"search / incremental search",
       3,
       6,
       {{30981, "前方インクリメンタルサーチ(&F)"_sj},
        {30982, "後方インクリメンタルサーチ(&B)"_sj},
        {30983, "正規表現前方インクリメンタルサーチ(&R)"_sj},
        {30984, "正規表現後方インクリメンタルサーチ(&X)"_sj},
        {30985, "MIGEMO前方インクリメンタルサーチ(&M)"_sj},
        {30986, "MIGEMO後方インクリメンタルサーチ(&N)"_sj}}},
      {"search / bookmarks",
       3,
       8,
       {{30970, "ブックマーク設定・解除(&S)"_sj},
        {30971, "次のブックマークへ(&A)"_sj},
        {30972, "前のブックマークへ(&Z)"_sj},
        {30973, "ブックマークの全解除(&X)"_sj},
        {30974, "ブックマークの一覧(&V)"_sj}}},
      {"help",
       7,
       -1,
       {{31440, "目次(&O)"_sj},
        {31441, "キーワード検索(&S)..."_sj},
        {kSep, ""},
        {31445, "コマンド一覧(&M)"_sj},
        {30630, "キー割り当て一覧をコピー(&Q)"_sj},
        {31450, "外部ヘルプ１(&E)"_sj},
        {31451, "外部HTMLヘルプ(&H)"_sj},
        {kSep, ""},
        {31455, "バージョン情報(&A)"_sj}}},
      {"file / reopen",
       0,
       10,
       {{30119, "開き直す(&W)"_sj},
        {kSep, ""},
        {30111, "SJISで開き直す(&S)"_sj},
        {30112, "JISで開き直す(&J)"_sj},
        {30113, "EUCで開き直す(&E)"_sj},
        {30114, "Unicodeで開き直す(&U)"_sj},
        {30117, "UnicodeBEで開き直す(&N)"_sj},
        {30115, "UTF-8で開き直す(&8)"_sj},
        {30116, "UTF-7で開き直す(&7)"_sj}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HMENU menu = Open(c.position);
    if (c.submenu >= 0) menu = SubmenuAt(menu, c.submenu);
    ASSERT_NE(menu, nullptr);
    std::vector<Item> shown;
    for (const Row& row : Rows(menu)) shown.emplace_back(row.id, row.text);
    EXPECT_EQ(shown, c.items);
  }
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
