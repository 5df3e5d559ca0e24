#include "editor/shell/window/edit_menu_bar.h"

#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/recent_menus.h"
#include "editor/shell/commands/menu_drawer.h"
#include "editor/shell/window/command_state.h"
#include "editor/view/commands/wrap_toggle.h"
#include "platform/popup_menu.h"
#include "platform/sjis_literal.h"

namespace {

using Entry = platform::MenuResourceEntry;
using Kind = Entry::Kind;

constexpr Entry kBar[] = {
    {Kind::kPopup, 0, "ファイル(&F)"_sj},   {Kind::kEnd, 0, nullptr}, {Kind::kPopup, 0, "編集(&E)"_sj},
    {Kind::kEnd, 0, nullptr},               {Kind::kPopup, 0, "変換(&C)"_sj}, {Kind::kEnd, 0, nullptr},
    {Kind::kPopup, 0, "検索(&S)"_sj},       {Kind::kEnd, 0, nullptr}, {Kind::kPopup, 0, "ツール(&T)"_sj},
    {Kind::kEnd, 0, nullptr},               {Kind::kPopup, 0, "設定(&O)"_sj}, {Kind::kEnd, 0, nullptr},
    {Kind::kPopup, 0, "ウィンドウ(&W)"_sj}, {Kind::kEnd, 0, nullptr}, {Kind::kPopup, 0, "ヘルプ(&H)"_sj},
    {Kind::kEnd, 0, nullptr},
};

// A run of plain items; id 0 is a separator.
struct Item {
  int id;
  const char* text;
};
constexpr Item kLine{0, nullptr};

constexpr int kFirstMacroCommand = 31600;
constexpr int kRightClickMenuCommand = 31580;
constexpr int kFirstCustomMenuCommand = 31501;

const IDocPane* ActivePane(const CEditDoc& doc) {
  const int index = doc.GetActivePane();
  if (index < 0 || index >= static_cast<int>(doc.Ports().panes.size())) return nullptr;
  return doc.Ports().panes[static_cast<size_t>(index)];
}

// A fixed-size text field of the record as a string, never read past its end.
template <size_t N>
std::string FieldText(const char (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

}  // namespace

bool RegisterEditMenuResource() { return platform::RegisterMenuResource(kEditMenuResourceName, kBar); }

// Appends the items of one popup through the menu drawer.
class CEditMenuBar::Filler {
 public:
  explicit Filler(CMenuDrawer& drawer) : m_drawer(drawer) {}

  void Add(HMENU menu, std::initializer_list<Item> items) const {
    for (const Item& item : items) Add(menu, item.id, item.text);
  }
  void Add(HMENU menu, int id, const char* text, UINT flags = MF_STRING) const {
    if (id == 0)
      m_drawer.MyAppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    else
      m_drawer.MyAppendMenu(menu, flags, static_cast<uintptr_t>(id), text);
  }
  void AddSub(HMENU menu, const char* text, HMENU sub, UINT flags = 0) const {
    m_drawer.MyAppendMenu(menu, MF_POPUP | flags, reinterpret_cast<uintptr_t>(sub), text);
  }
  void AddSub(HMENU menu, const char* text, std::initializer_list<Item> items) const {
    HMENU sub = CreatePopupMenu();
    Add(sub, items);
    AddSub(menu, text, sub);
  }

 private:
  CMenuDrawer& m_drawer;
};

CEditMenuBar::CEditMenuBar(CEditDoc& doc, CShareData& share, CMenuDrawer& drawer)
    : m_doc(doc), m_share(share), m_drawer(drawer), m_fileInfo([&share](EditWindowId window) {
        return share.AskWindowFileInfo(window);
      }) {}

void CEditMenuBar::OnInitMenuPopup(HMENU bar, HMENU popup, int position, bool systemMenu) {
  platform::MenuItemInfo top;
  if (!systemMenu && position >= 0 && position < kEditMenuPopupCount && GetMenuItemInfoAt(bar, position, top) &&
      top.submenu == popup)
    FillPopup(popup, position);
  if (!m_doc.Ports().preview) ApplyCommandStates(popup);
}

void CEditMenuBar::ApplyCommandStates(HMENU popup) const {
  const SharedSettings* record = m_share.GetShareData();
  if (!record) return;
  const int count = GetMenuItemCount(popup);
  for (int i = 0; i < count; ++i) {
    platform::MenuItemInfo item;
    if (!GetMenuItemInfoAt(popup, i, item) || (item.flags & MF_SEPARATOR)) continue;
    const int command = static_cast<int>(item.id);
    if (!IsCommandEnabled(m_doc, *record, command)) EnableMenuItem(popup, static_cast<UINT>(i), MF_BYPOSITION | MF_GRAYED);
    if (IsCommandChecked(m_doc, *record, command)) CheckMenuItem(popup, static_cast<UINT>(i), MF_BYPOSITION | MF_CHECKED);
  }
}

int CEditMenuBar::TrackWindowListMenu(HWND owner, POINT at) {
  HMENU popup = CreatePopupMenu();
  const IDocFrame* frame = m_doc.Ports().frame;
  m_windowList.Build(popup, m_share.GetEditWindowList(true), frame ? frame->WindowId() : 0, m_share, m_drawer,
                     m_fileInfo);
  const int chosen = platform::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD,
                                              at.x, at.y, 0, owner, nullptr);
  DestroyMenu(popup);
  return chosen;
}

bool CEditMenuBar::FillPopup(HMENU popup, int position) {
  if (position < 0 || position >= kEditMenuPopupCount) return false;
  const SharedSettings* record = m_share.GetShareData();
  if (!record) return false;
  m_drawer.ClearItems();
  while (GetMenuItemCount(popup) > 0)
    if (!DeleteMenu(popup, 0, MF_BYPOSITION)) return false;

  const Filler f(m_drawer);
  const IDocFrame* frame = m_doc.Ports().frame;
  switch (position) {
    case 0: {  // file
      f.Add(popup, {{30101, "新規作成(&N)"_sj},
                    {30102, "開く(&O)..."_sj},
                    {30103, "上書き保存(&S)"_sj},
                    {30104, "名前を付けて保存(&A)..."_sj},
                    {30120, "すべて上書き保存(&Z)"_sj},
                    kLine,
                    {30109, "保存して閉じる(&E)"_sj},
                    {31320, "閉じる(&C)"_sj},
                    {30105, "閉じて(無題) (&R)"_sj},
                    {30107, "閉じて開く(&L)..."_sj}});
      f.AddSub(popup, "開き直す(&W)"_sj,
               {{30119, "開き直す(&W)"_sj},
                kLine,
                {30111, "SJISで開き直す(&S)"_sj},
                {30112, "JISで開き直す(&J)"_sj},
                {30113, "EUCで開き直す(&E)"_sj},
                {30114, "Unicodeで開き直す(&U)"_sj},
                {30117, "UnicodeBEで開き直す(&N)"_sj},
                {30115, "UTF-8で開き直す(&8)"_sj},
                {30116, "UTF-7で開き直す(&7)"_sj}});
      f.Add(popup, {kLine,
                    {30150, "印刷(&P)..."_sj},
                    {30151, "印刷プレビュー(&V)..."_sj},
                    {30152, "ページ設定(&U)..."_sj},
                    kLine,
                    {30190, "ファイルのプロパティ(&T)"_sj},
                    {30180, "ブラウズ(&B)"_sj},
                    kLine});
      CRecentFileMenu files(&m_share);
      const UINT filesGrey = files.GetCount() == 0 ? MF_GRAYED : 0;
      f.AddSub(popup, "最近使ったファイル(&F)"_sj, files.CreatePopup(m_drawer), filesGrey);
      CRecentFolderMenu folders(&m_share);
      const UINT foldersGrey = folders.List().GetCount() == 0 ? MF_GRAYED : 0;
      f.AddSub(popup, "最近使ったフォルダ(&D)"_sj, folders.CreatePopup(m_drawer), foldersGrey);
      f.Add(popup, {kLine, {31321, "すべてのウィンドウを閉じる(&Q)"_sj}});
      break;
    }
    case 1: {  // edit
      f.Add(popup, {{30210, "元に戻す(&U)"_sj},
                    {30211, "やり直し(&R)"_sj},
                    kLine,
                    {30601, "切り取り(&T)"_sj},
                    {30602, "コピー(&C)"_sj},
                    {30604, "貼り付け(&P)"_sj},
                    {30221, "削除(&D)"_sj},
                    {30401, "すべて選択(&A)"_sj},
                    kLine,
                    {30285, "再変換(&R)"_sj},
                    kLine,
                    {30603, "CRLF改行でコピー(&L)"_sj},
                    {30608, "折り返し位置に改行をつけてコピー(&H)"_sj},
                    {30605, "矩形貼り付け(&X)"_sj},
                    {30222, "カーソル前を削除(&B)"_sj},
                    kLine});
      f.AddSub(popup, "挿入(&I)"_sj,
               {{30790, "日付(&D)"_sj}, {30791, "時刻(&T)"_sj}, {30792, "コントロールコード(&C)..."_sj}});
      f.AddSub(popup, "高度な操作(&V)"_sj,
               {{30230, "単語の左端まで削除(&L)"_sj},
                {30231, "単語の右端まで削除(&R)"_sj},
                kLine,
                {30400, "現在位置の単語選択(&W)"_sj},
                {30232, "単語切り取り(&T)"_sj},
                {30233, "単語削除(&D)"_sj},
                kLine,
                {30240, "行頭まで切り取り(改行単位) (&U)"_sj},
                {30241, "行末まで切り取り(改行単位) (&K)"_sj},
                kLine,
                {30242, "行頭まで削除(改行単位) (&H)"_sj},
                {30243, "行末まで削除(改行単位) (&E)"_sj},
                kLine,
                {30244, "行切り取り(折り返し単位) (&X)"_sj},
                {30245, "行削除(折り返し単位) (&Y)"_sj},
                kLine,
                {30250, "行の二重化(折り返し単位) (&2)"_sj},
                kLine,
                {30260, "TABインデント(&A)"_sj},
                {30261, "逆TABインデント(&B)"_sj},
                {30262, "SPACEインデント(&S)"_sj},
                {30263, "逆SPACEインデント(&P)"_sj},
                kLine,
                {30610, "選択範囲内全行コピー(&@)"_sj},
                {30611, "選択範囲内全行引用符付きコピー(&.)"_sj},
                {30612, "選択範囲内全行行番号付きコピー(&:)"_sj},
                kLine,
                {30622, "このファイル名をコピー(&-)"_sj},
                {30620, "このファイルのパス名をコピー(&\\)"_sj},
                {30621, "このファイルのパス名とカーソル位置をコピー(&^)"_sj}});
      f.AddSub(popup, "移動(&O)"_sj,
               {{30315, "カーソル上移動(２行ごと) (&Q)"_sj},
                {30316, "カーソル下移動(２行ごと) (&K)"_sj},
                {30320, "単語の左端に移動(&L)"_sj},
                {30321, "単語の右端に移動(&R)"_sj},
                {30383, "前の段落に移動(&A)"_sj},
                {30382, "次の段落に移動(&Z)"_sj},
                {30332, "行頭に移動(折り返し単位) (&H)"_sj},
                {30333, "行末に移動(折り返し単位) (&E)"_sj},
                kLine,
                {30342, "１ページアップ(&U)"_sj},
                {30343, "１ページダウン(&D)"_sj},
                {30350, "ファイルの先頭に移動(&T)"_sj},
                {30351, "ファイルの最後に移動(&B)"_sj},
                kLine,
                {30360, "カーソル行をウィンドウ中央へ(&C)"_sj},
                kLine,
                {30920, "指定行へジャンプ(&J)..."_sj},
                {30909, "検索開始位置へ戻る(&I)"_sj},
                kLine,
                {30370, "移動履歴: 前へ(&P)"_sj},
                {30371, "移動履歴: 次へ(&N)"_sj},
                {30372, "現在位置を移動履歴に登録(&S)"_sj}});
      f.AddSub(popup, "選択(&S)"_sj,
               {{30400, "現在位置の単語選択(&W)"_sj},
                {30401, "すべて選択(&A)"_sj},
                {30410, "範囲選択開始(&S)"_sj},
                kLine,
                {30415, "(選択)カーソル上移動(２行ごと) (&Q)"_sj},
                {30416, "(選択)カーソル下移動(２行ごと) (&K)"_sj},
                {30420, "(選択)単語の左端に移動(&L)"_sj},
                {30421, "(選択)単語の右端に移動(&R)"_sj},
                {30483, "(選択)前の段落に移動(&2)"_sj},
                {30482, "(選択)次の段落に移動(&8)"_sj},
                {30432, "(選択)行頭に移動(折り返し単位) (&H)"_sj},
                {30433, "(選択)行末に移動(折り返し単位) (&T)"_sj},
                kLine,
                {30442, "(選択)１ページアップ(&U)"_sj},
                {30443, "(選択)１ページダウン(&D)"_sj},
                {30450, "(選択)ファイルの先頭に移動(&1)"_sj},
                {30451, "(選択)ファイルの最後に移動(&9)"_sj},
                kLine,
                {30510, "矩形範囲選択開始(&B)"_sj}});
      f.AddSub(popup, "整形(&K)"_sj,
               {{30280, "左(先頭)の空白を削除(&L)"_sj},
                {30281, "右(末尾)の空白を削除(&R)"_sj},
                kLine,
                {30282, "選択行の昇順ソート(&A)"_sj},
                {30283, "選択行の降順ソート(&D)"_sj},
                kLine,
                {30284, "連続した重複行の削除(uniq)(&U)"_sj}});
      break;
    }
    case 2: {  // convert
      f.Add(popup, {{30800, "英大文字→英小文字(&L)"_sj},
                    {30801, "英小文字→英大文字(&U)"_sj},
                    {30810, "全角→半角(&F)"_sj},
                    {30817, "全角カタカナ→半角カタカナ"_sj},
                    {30816, "全角英数→半角英数"_sj},
                    {30815, "半角英数→全角英数"_sj},
                    {30811, "半角＋全ひら→全角・カタカナ(&Z)"_sj},
                    {30812, "半角＋全カタ→全角・ひらがな(&N)"_sj},
                    {30813, "半角カタカナ→全角カタカナ(&K)"_sj},
                    {30814, "半角カタカナ→全角ひらがな(&H)"_sj},
                    kLine,
                    {30830, "TAB→空白(&S)"_sj},
                    {30831, "空白→TAB(&T)"_sj},
                    kLine});
      f.AddSub(popup, "文字コード変換(&C)"_sj,
               {{30850, "自動判別→SJISコード変換(&A)"_sj},
                {30851, "E-Mail(JIS→SJIS)コード変換(&M)"_sj},
                {30852, "EUC→SJISコード変換(&W)"_sj},
                {30853, "Unicode→SJISコード変換(&U)"_sj},
                {30856, "UnicodeBE→SJISコード変換(&N)"_sj},
                {30854, "UTF-8→SJISコード変換(&T)"_sj},
                {30855, "UTF-7→SJISコード変換(&F)"_sj},
                kLine,
                {30860, "SJIS→JISコード変換(&J)"_sj},
                {30861, "SJIS→EUCコード変換(&E)"_sj},
                {30862, "SJIS→UTF-8コード変換(&8)"_sj},
                {30863, "SJIS→UTF-7コード変換(&7)"_sj},
                kLine,
                {30870, "Base64デコードして保存(&B)"_sj},
                {30880, "uudecodeして保存(&D)"_sj}});
      break;
    }
    case 3: {  // search
      f.Add(popup, {{30901, "検索(&F)..."_sj},
                    {30902, "次を検索(&N)"_sj},
                    {30903, "前を検索(&P)"_sj},
                    {30904, "置換(&R)..."_sj},
                    {30905, "検索マークの切替え(&C)"_sj},
                    {30909, "検索開始位置へ戻る(&I)"_sj}});
      f.AddSub(popup, "インクリメンタルサーチ(&S)"_sj,
               {{30981, "前方インクリメンタルサーチ(&F)"_sj},
                {30982, "後方インクリメンタルサーチ(&B)"_sj},
                {30983, "正規表現前方インクリメンタルサーチ(&R)"_sj},
                {30984, "正規表現後方インクリメンタルサーチ(&X)"_sj},
                {30985, "MIGEMO前方インクリメンタルサーチ(&M)"_sj},
                {30986, "MIGEMO後方インクリメンタルサーチ(&N)"_sj}});
      f.Add(popup, {kLine});
      f.AddSub(popup, "ブックマーク(&M)"_sj,
               {{30970, "ブックマーク設定・解除(&S)"_sj},
                {30971, "次のブックマークへ(&A)"_sj},
                {30972, "前のブックマークへ(&Z)"_sj},
                {30973, "ブックマークの全解除(&X)"_sj},
                {30974, "ブックマークの一覧(&V)"_sj}});
      f.Add(popup, {{30910, "Grep(&G)..."_sj},
                    {30920, "指定行へジャンプ(&J)..."_sj},
                    {30930, "アウトライン解析(&L)..."_sj},
                    {30940, "タグジャンプ(&T)"_sj},
                    {30941, "タグジャンプバック(&B)"_sj},
                    {30943, "タグファイルの作成..."_sj},
                    {30944, "ダイレクトタグジャンプ"_sj},
                    {30946, "キーワードを指定してタグジャンプ"_sj},
                    {30162, "同名のC/C++ヘッダ(ソース)を開く(&C)"_sj},
                    kLine,
                    {30950, "ファイル内容比較(&@)..."_sj},
                    {30976, "DIFF差分表示(&D)..."_sj},
                    {30978, "次の差分へ"_sj},
                    {30979, "前の差分へ"_sj},
                    {30980, "差分表示の全解除"_sj},
                    kLine});
      break;
    }
    case 4: {  // tools
      if (!record->bKeyMacroRecording) {
        f.Add(popup, {{31250, "キーマクロの記録開始(&R)"_sj},
                      {31251, "キーマクロの保存(&M)"_sj},
                      {31252, "キーマクロの読み込み(&A)"_sj},
                      {31253, "キーマクロの実行(&D)"_sj}});
      } else {
        f.Add(popup, 31250, "キーマクロの記録終了(&R)"_sj, MF_STRING | MF_CHECKED);
        f.Add(popup, {{31251, "キーマクロの記録終了&&保存(&M)"_sj},
                      {31252, "キーマクロの記録終了&&読み込み(&A)"_sj},
                      {31253, "キーマクロの記録終了&&実行(&D)"_sj}});
      }
      HMENU macros = CreatePopupMenu();
      for (int slot = 0; slot < kMacroSlots; ++slot) {
        const MacroSlotRecord& macro = record->MacroSlots[slot];
        const std::string file = FieldText(macro.File);
        if (file.empty()) continue;
        const std::string name = FieldText(macro.Name);
        f.Add(macros, kFirstMacroCommand + slot, name.empty() ? file.c_str() : name.c_str());
      }
      f.AddSub(popup, "登録済みマクロ(&B)"_sj, macros);
      f.Add(popup, {kLine,
                    {31270, "外部コマンド実行(&X)..."_sj},
                    {30170, "SQL*Plusをアクティブ表示(&P)"_sj},
                    {30171, "SQL*Plusで実行(&S)"_sj},
                    kLine,
                    {31430, "入力補完(&/)"_sj},
                    kLine});
      HMENU custom = CreatePopupMenu();
      for (int menu = 0; menu < kCustomMenuCount; ++menu) {
        if (record->Common.nCMIN[menu] <= 0) continue;
        const int command = menu == 0 ? kRightClickMenuCommand : kFirstCustomMenuCommand + menu - 1;
        f.Add(custom, command, FieldText(record->Common.szCMN[menu]).c_str());
      }
      f.AddSub(popup, "カスタムメニュー(&U)"_sj, custom);
      break;
    }
    case 5: {  // settings
      struct Bar {
        int id;
        bool shown;
        const char* show;
        const char* hide;
      };
      const Bar bars[] = {
          {31100, frame && frame->HasToolBar(), "ツールバーを表示(&T)"_sj, "表示中のツールバーを隠す(&T)"_sj},
          {31101, frame && frame->HasFuncKeyBar(), "ファンクションキーを表示(&K)"_sj,
           "表示中のファンクションキーを隠す(&K)"_sj},
          {31103, frame && frame->HasTabBar(), "タブを表示(&M)"_sj, "表示中のタブを隠す(&M)"_sj},
          {31102, frame && frame->HasStatusBar(), "ステータスバーを表示(&S)"_sj,
           "表示中のステータスバーを隠す(&S)"_sj},
      };
      const bool actionTexts = record->Common.bMenuIcon != 0;
      for (const Bar& bar : bars) {
        // Without icons the state shows as a check mark beside a fixed text (the tab item's has
        // no access key there).
        const char* text = actionTexts ? (bar.shown ? bar.hide : bar.show) : (bar.id == 31103 ? "タブを表示"_sj : bar.show);
        f.Add(popup, bar.id, text);
      }
      f.Add(popup, {kLine,
                    {31110, "タイプ別設定一覧(&L)..."_sj},
                    {31111, "タイプ別設定(&Y)..."_sj},
                    {31112, "共通設定(&C)..."_sj},
                    {31120, "フォント設定(&F)..."_sj},
                    {31113, "お気に入りの設定(&O)..."_sj},
                    kLine});
      const IDocPane* pane = ActivePane(m_doc);
      switch (pane ? pane->NextWrapToggle() : kWrapToggleNone) {
        case kWrapToggleNone:
          f.Add(popup, 31140, "幅の変更は出来ません(&W)"_sj, MF_STRING | MF_GRAYED);
          break;
        case kWrapToggleOff:
          f.Add(popup, 31140, "折り返さない(&W)"_sj);
          break;
        case kWrapToggleWindowWidth:
          f.Add(popup, 31140, "現在のウィンドウ幅で折り返し(&W)"_sj);
          break;
        default:
          f.Add(popup, 31140, "タイプ別設定の幅で折り返し(&W)"_sj);
          break;
      }
      f.Add(popup, {kLine, {31001, "挿入／上書きモード(&I)"_sj}, {30185, "読み取り専用(&R)"_sj}});
      f.AddSub(popup, "入力改行コード指定(&E)"_sj,
               {{31081, "入力改行コード指定(&CRLF)"_sj},
                {31082, "入力改行コード指定(&LF)"_sj},
                {31083, "入力改行コード指定(C&R)"_sj}});
      break;
    }
    case 6: {  // window
      const IDocSplitter* splitter = m_doc.Ports().splitter;
      const int rows = splitter ? splitter->Rows() : 1;
      const int columns = splitter ? splitter->Columns() : 1;
      f.Add(popup, 31310, rows == 1 ? "上下に分割(&-)"_sj : "上下分割の解除(&-)"_sj);
      f.Add(popup, 31311, columns == 1 ? "左右に分割(&I)"_sj : "左右分割の解除(&I)"_sj);
      f.Add(popup, 31312, rows > 1 && columns > 1 ? "縦横分割の解除(&S)"_sj : "縦横に分割(&S)"_sj);
      f.Add(popup, {kLine,
                    {31320, "閉じる(&C)"_sj},
                    {31321, "すべて閉じる(&Q)"_sj},
                    kLine,
                    {31340, "次のウィンドウ(&N)"_sj},
                    {31341, "前のウィンドウ(&P)"_sj},
                    {31336, "ウィンドウ一覧(&W)..."_sj},
                    kLine,
                    {31333, "結合して表示(&B)"_sj},
                    {31330, "重ねて表示(&E)"_sj},
                    {31331, "上下に並べて表示(&H)"_sj},
                    {31332, "左右に並べて表示(&T)"_sj},
                    {31334, "常に手前に表示"_sj},
                    kLine,
                    {31350, "縦方向に最大化(&X)"_sj},
                    {31352, "横方向に最大化(&Y)"_sj},
                    {31351, "すべて最小化(&M)"_sj},
                    kLine,
                    {31360, "再描画(&R)"_sj},
                    kLine,
                    {31370, "アウトプット(&U)"_sj},
                    kLine});
      const std::vector<EditWindowEntry> windows = m_share.GetEditWindowList(true);
      m_windowList.Build(popup, windows, frame ? frame->WindowId() : 0, m_share, m_drawer, m_fileInfo);
      break;
    }
    default: {  // help
      f.Add(popup, {{31440, "目次(&O)"_sj},
                    {31441, "キーワード検索(&S)..."_sj},
                    kLine,
                    {31445, "コマンド一覧(&M)"_sj},
                    {30630, "キー割り当て一覧をコピー(&Q)"_sj},
                    {31450, "外部ヘルプ１(&E)"_sj},
                    {31451, "外部HTMLヘルプ(&H)"_sj},
                    kLine,
                    {31455, "バージョン情報(&A)"_sj}});
      break;
    }
  }
  return true;
}
