#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/dialog_test.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"

namespace {

using namespace platform;
namespace dt = platform::dialog_test;

constexpr int kTemplate = 9102;
constexpr int kTree = 300;
constexpr int kNumber = 301;
constexpr int kSpin = 302;

void TreeTemplate(DialogBuilder& b) {
  b.Caption("tree view");
  b.Resizable();
  b.TreeView(kTree).Width(40).Lines(8);
  b.Row([&] {
    b.Edit(kNumber, "5").Width(6);
    b.UpDown(kSpin);
    b.Stretch();
    b.PushButton(IDOK, "OK").Default();
    b.PushButton(IDCANCEL, "Cancel");
  });
}

struct Notice {
  UINT code;
  UINT action = 0;
  HTREEITEM before = nullptr;
  HTREEITEM after = nullptr;
  LPARAM param = 0;
  WORD key = 0;
  int delta = 0;
};
std::vector<Notice> notices;

INT_PTR TreeProc(HWND, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) return 1;
  if (message == WM_NOTIFY) {
    const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
    Notice n{hdr->code};
    if (hdr->code == TVN_SELCHANGED) {
      const auto* nm = reinterpret_cast<const NMTREEVIEW*>(lParam);
      n.action = nm->action;
      n.before = nm->itemOld.hItem;
      n.after = nm->itemNew.hItem;
      n.param = nm->itemNew.lParam;
    } else if (hdr->code == TVN_KEYDOWN) {
      n.key = reinterpret_cast<const NMTVKEYDOWN*>(lParam)->wVKey;
    } else if (hdr->code == UDN_DELTAPOS) {
      n.delta = reinterpret_cast<const NMUPDOWN*>(lParam)->iDelta;
    }
    notices.push_back(n);
  }
  return 0;
}

void Pump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

int ByParam(LPARAM a, LPARAM b, LPARAM) { return a < b ? -1 : a > b ? 1 : 0; }

class TreeViewTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterDialogTemplate(kTemplate, TreeTemplate); }
  void SetUp() override {
    notices.clear();
    dialog = CreateDialogParam(nullptr, MAKEINTRESOURCE(kTemplate), nullptr, TreeProc, 0);
    ASSERT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOW);
    Pump();
  }
  void TearDown() override {
    if (IsWindow(dialog)) DestroyWindow(dialog);
    Pump();
  }

  LRESULT Send(UINT message, WPARAM wParam, const void* lParam) {
    return SendDlgItemMessage(dialog, kTree, message, wParam, reinterpret_cast<LPARAM>(lParam));
  }
  HTREEITEM Insert(HTREEITEM parent, const char* text, LPARAM param, HTREEITEM after = TVI_LAST) {
    TVINSERTSTRUCT in;
    in.hParent = parent;
    in.hInsertAfter = after;
    in.item.mask = TVIF_TEXT | TVIF_PARAM;
    in.item.pszText = const_cast<char*>(text);
    in.item.lParam = param;
    return reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEM, 0, &in));
  }
  HTREEITEM Next(WPARAM relation, HTREEITEM from) {
    return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, relation, from));
  }
  std::string Text(HTREEITEM item) {
    char buffer[64] = {};
    TVITEM tv;
    tv.mask = TVIF_HANDLE | TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = buffer;
    tv.cchTextMax = sizeof buffer;
    return Send(TVM_GETITEM, 0, &tv) ? buffer : "(none)";
  }
  // The tree as "depth:text" in order.
  std::vector<std::string> Shape() {
    std::vector<std::string> out;
    const auto state = dt::Query(dialog, kTree);
    for (const auto& item : state->tree) out.push_back(std::to_string(item.depth) + ":" + item.text);
    return out;
  }

  HWND dialog = nullptr;
};

TEST_F(TreeViewTest, ItemsNestUnderTheirParentsAtTheAskedPlacesAndAreWalkedByRelation) {
  HTREEITEM a = Insert(TVI_ROOT, "A クラス"_sj, -63999);
  HTREEITEM global = Insert(TVI_ROOT, "グローバル"_sj, -64000);
  HTREEITEM f = Insert(a, "f", 2);
  HTREEITEM g = Insert(a, "g", 3, TVI_FIRST);
  HTREEITEM e = Insert(a, "e", 4, g);
  HTREEITEM main = Insert(global, "main", 1);
  HTREEITEM zeta = Insert(TVI_ROOT, "zeta", 9, TVI_SORT);
  HTREEITEM beta = Insert(TVI_ROOT, "beta", 8, TVI_SORT);
  for (HTREEITEM item : {global, a, f, g, e, main, zeta, beta}) ASSERT_NE(item, nullptr);
  EXPECT_EQ(Shape(), (std::vector<std::string>{"0:A クラス"_sj, "1:g", "1:e", "1:f", "0:beta", "0:zeta", "0:グローバル"_sj,
                                               "1:main"}))
      << "TVI_SORT places by text (ASCII before the kana), TVI_FIRST first, a sibling after it";
  EXPECT_EQ(Send(TVM_GETCOUNT, 0, nullptr), 8);

  const struct {
    const char* name;
    WPARAM relation;
    HTREEITEM from;
    HTREEITEM expected;
  } walks[] = {
      {"root", TVGN_ROOT, nullptr, a},          {"first child", TVGN_CHILD, a, g},
      {"next sibling", TVGN_NEXT, g, e},        {"previous sibling", TVGN_PREVIOUS, e, g},
      {"no previous", TVGN_PREVIOUS, g, nullptr}, {"parent", TVGN_PARENT, main, global},
      {"top has no parent", TVGN_PARENT, a, nullptr}, {"top level from the root", TVGN_CHILD, TVI_ROOT, a},
      {"no child", TVGN_CHILD, main, nullptr},  {"nothing selected", TVGN_CARET, nullptr, nullptr},
  };
  for (const auto& w : walks) EXPECT_EQ(Next(w.relation, w.from), w.expected) << w.name;

  TVITEM tv;
  tv.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_CHILDREN;
  tv.hItem = a;
  ASSERT_EQ(Send(TVM_GETITEM, 0, &tv), 1);
  EXPECT_EQ(tv.lParam, -63999);
  EXPECT_EQ(tv.cChildren, 1);

  // Deleting takes the children along (the selected one among them); their handles find nothing
  // after.
  ASSERT_EQ(Send(TVM_SELECTITEM, TVGN_CARET, f), 1);
  ASSERT_EQ(Send(TVM_DELETEITEM, 0, a), 1);
  EXPECT_NE(Next(TVGN_CARET, nullptr), f);
  EXPECT_EQ(Send(TVM_GETCOUNT, 0, nullptr), 4);
  EXPECT_EQ(Text(f), "(none)");
  EXPECT_EQ(Send(TVM_EXPAND, TVE_EXPAND, f), 0) << "a deleted handle is refused";
  EXPECT_EQ(Insert(f, "orphan", 0), nullptr) << "nothing is inserted under a deleted item";
  EXPECT_EQ(Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<const void*>(intptr_t{12345})), 0) << "a made-up handle";
  ASSERT_EQ(Send(TVM_DELETEITEM, 0, TVI_ROOT), 1);
  EXPECT_EQ(Send(TVM_GETCOUNT, 0, nullptr), 0);
  EXPECT_TRUE(notices.empty()) << "the program's changes send nothing";
}

TEST_F(TreeViewTest, ExpandSelectAndTheUsersSelectionDoubleClickAndKeysAreHeard) {
  HTREEITEM ns = Insert(TVI_ROOT, "N 名前空間"_sj, -64000);
  HTREEITEM leaf = Insert(ns, "f", 7);
  HTREEITEM other = Insert(TVI_ROOT, "g", 8);

  ASSERT_EQ(Send(TVM_EXPAND, TVE_EXPAND, ns), 1);
  EXPECT_TRUE(dt::Query(dialog, kTree)->tree[0].expanded);
  ASSERT_EQ(Send(TVM_EXPAND, TVE_TOGGLE, ns), 1);
  EXPECT_FALSE(dt::Query(dialog, kTree)->tree[0].expanded);

  // The program selects a hidden leaf: the levels above open, nothing is told.
  ASSERT_EQ(Send(TVM_SELECTITEM, TVGN_CARET, leaf), 1);
  Pump();
  EXPECT_TRUE(notices.empty());
  EXPECT_EQ(Next(TVGN_CARET, nullptr), leaf);
  auto state = dt::Query(dialog, kTree);
  EXPECT_EQ(state->selection, 1);
  EXPECT_TRUE(state->tree[0].expanded);
  TVITEM tv;
  tv.mask = TVIF_HANDLE | TVIF_STATE;
  tv.hItem = leaf;
  tv.stateMask = TVIS_SELECTED;
  ASSERT_EQ(Send(TVM_GETITEM, 0, &tv), 1);
  EXPECT_EQ(tv.state, TVIS_SELECTED);

  ASSERT_TRUE(dt::Select(dialog, kTree, 2));  // "g"
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].code, TVN_SELCHANGED);
  EXPECT_EQ(notices[0].before, leaf);
  EXPECT_EQ(notices[0].after, other);
  EXPECT_EQ(notices[0].param, 8);
  EXPECT_EQ(notices[0].action, TVC_BYMOUSE);

  notices.clear();
  ASSERT_TRUE(dt::DoubleClick(dialog, kTree, 1));  // "f"
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[0].code, TVN_SELCHANGED);
  EXPECT_EQ(notices[0].after, leaf);
  EXPECT_EQ(notices[1].code, NM_DBLCLK);

  notices.clear();
  ASSERT_TRUE(dt::KeyDown(dialog, kTree, VK_UP));
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[0].code, TVN_KEYDOWN);
  EXPECT_EQ(notices[0].key, VK_UP);
  EXPECT_EQ(notices[1].code, TVN_SELCHANGED) << "the key's own handling follows";
  EXPECT_EQ(notices[1].after, ns);
  EXPECT_EQ(notices[1].action, TVC_BYKEYBOARD);
  EXPECT_FALSE(dt::Select(dialog, kTree, 3)) << "no such item";

  // Losing the focus is told.
  notices.clear();
  ASSERT_TRUE(dt::Type(dialog, kNumber, "1"));
  ASSERT_FALSE(notices.empty());
  EXPECT_EQ(notices[0].code, NM_KILLFOCUS);
}

TEST_F(TreeViewTest, LevelsSortByTextOrByTheCallbackAndBackKeepingExpansionAndSelection) {
  // Document order is the parameters' order.
  HTREEITEM b = Insert(TVI_ROOT, "b クラス"_sj, -64000);
  Insert(b, "zz", 1);
  Insert(b, "Aa", 2);
  HTREEITEM c = Insert(b, "c", 3);
  Insert(TVI_ROOT, "B2", 4);
  Insert(TVI_ROOT, "a", 5);
  Send(TVM_EXPAND, TVE_EXPAND, b);
  Send(TVM_SELECTITEM, TVGN_CARET, c);
  const std::vector<std::string> document = {"0:b クラス"_sj, "1:zz", "1:Aa", "1:c", "0:B2", "0:a"};
  ASSERT_EQ(Shape(), document);

  ASSERT_EQ(Send(TVM_SORTCHILDREN, 0, TVI_ROOT), 1);
  EXPECT_EQ(Shape(), (std::vector<std::string>{"0:a", "0:b クラス"_sj, "1:zz", "1:Aa", "1:c", "0:B2"}))
      << "one level only, letters without case";
  ASSERT_EQ(Send(TVM_SORTCHILDREN, 1, TVI_ROOT), 1);
  EXPECT_EQ(Shape(), (std::vector<std::string>{"0:a", "0:b クラス"_sj, "1:Aa", "1:c", "1:zz", "0:B2"})) << "every level";
  auto state = dt::Query(dialog, kTree);
  EXPECT_TRUE(state->tree[1].expanded) << "expansion kept";
  EXPECT_EQ(state->tree[static_cast<size_t>(state->selection)].text, "c") << "selection kept";

  TVSORTCB by;
  by.hParent = TVI_ROOT;
  by.lpfnCompare = ByParam;
  ASSERT_EQ(Send(TVM_SORTCHILDRENCB, 1, &by), 1);
  EXPECT_EQ(Shape(), document) << "the parameters give document order back";
  EXPECT_EQ(Next(TVGN_CARET, nullptr), c);
  by.lpfnCompare = nullptr;
  EXPECT_EQ(Send(TVM_SORTCHILDRENCB, 1, &by), 0) << "no function";
  EXPECT_TRUE(notices.empty()) << "sorting is the program's change";
}

TEST_F(TreeViewTest, TheUpDownArrowsTellTheirDeltaUpBeingNegativeAndChangeNothingThemselves) {
  const struct {
    const char* name;
    bool up;
    int delta;
  } cases[] = {{"up", true, -1}, {"down", false, 1}};
  for (const auto& c : cases) {
    notices.clear();
    ASSERT_TRUE(dt::Spin(dialog, kSpin, c.up)) << c.name;
    ASSERT_EQ(notices.size(), 1u) << c.name;
    EXPECT_EQ(notices[0].code, UDN_DELTAPOS) << c.name;
    EXPECT_EQ(notices[0].delta, c.delta) << c.name;
    EXPECT_EQ(dt::Query(dialog, kNumber)->text, "5") << c.name << ": the edit is the procedure's to write";
  }
  EXPECT_FALSE(dt::Spin(dialog, kNumber, true)) << "an edit has no arrows";
  EnableWindow(GetDlgItem(dialog, kSpin), 0);
  notices.clear();
  EXPECT_FALSE(dt::Spin(dialog, kSpin, true)) << "a disabled control refuses";
  EXPECT_TRUE(notices.empty());
}

}  // namespace

// A list and a tree of the same items share one place: the one the program hides leaves no gap,
// and the one it shows grows with the dialog.
TEST(DialogOverlay, OverlaidControlsShareOnePlaceAndGrowWithTheDialog) {
  constexpr int kOverlayTemplate = 9103;
  constexpr int kList = 310;
  RegisterDialogTemplate(kOverlayTemplate, [](DialogBuilder& b) {
    b.Caption("overlay");
    b.Resizable();
    b.Overlay([&] {
      b.ListView(kList).Width(30).Lines(6);
      b.TreeView(kTree).Width(30).Lines(6);
    });
    b.Row([&] {
      b.Stretch();
      b.PushButton(IDOK, "OK").Default();
    });
  });
  HWND dialog = CreateDialogParam(nullptr, MAKEINTRESOURCE(kOverlayTemplate), nullptr, TreeProc, 0);
  ASSERT_NE(dialog, nullptr);
  ShowWindow(GetDlgItem(dialog, kTree), SW_HIDE);
  ShowWindow(dialog, SW_SHOW);
  Pump();
  RECT list, tree, ok;
  GetWindowRect(GetDlgItem(dialog, kList), &list);
  GetWindowRect(GetDlgItem(dialog, kTree), &tree);
  GetWindowRect(GetDlgItem(dialog, IDOK), &ok);
  EXPECT_EQ(std::vector<LONG>({list.left, list.top, list.right, list.bottom}),
            std::vector<LONG>({tree.left, tree.top, tree.right, tree.bottom}));
  EXPECT_LT(ok.top - list.bottom, 20) << "no room is kept below the list for the hidden tree";

  RECT frame;
  GetWindowRect(dialog, &frame);
  MoveWindow(dialog, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top + 100, 1);
  Pump();
  RECT grown;
  GetWindowRect(GetDlgItem(dialog, kList), &grown);
  EXPECT_GE(grown.bottom - grown.top, list.bottom - list.top + 90);
  DestroyWindow(dialog);
  Pump();
}
