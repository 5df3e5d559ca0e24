#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "platform/dialog.h"
#include "platform/dialog_test.h"
#include "platform/key_state.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"

namespace {

using namespace platform;
namespace dt = platform::dialog_test;

constexpr int kTemplate = 9101;
constexpr int kList = 200;

void ListTemplate(DialogBuilder& b) {
  b.Caption("list view");
  b.Resizable();
  b.ListView(kList).Width(60).Lines(5);
  b.Row([&] {
    b.Stretch();
    b.PushButton(IDOK, "OK").Default();
    b.PushButton(IDCANCEL, "Cancel");
  });
}

struct Notice {
  int id;
  UINT code;
  int item;
  int subItem;
  LPARAM param;
  WORD key = 0;
  bool control = false;
};
std::vector<Notice> notices;

INT_PTR ListProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return 1;
  if (message == WM_NOTIFY) {
    const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
    Notice n{static_cast<int>(wParam), hdr->code, -1, 0, 0};
    if (hdr->code == NM_DBLCLK) {
      const auto* nm = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
      n.item = nm->iItem;
      n.subItem = nm->iSubItem;
      n.param = nm->lParam;
    } else if (hdr->code == LVN_ITEMCHANGED || hdr->code == LVN_COLUMNCLICK) {
      const auto* nm = reinterpret_cast<const NMLISTVIEW*>(lParam);
      n.item = nm->iItem;
      n.subItem = nm->iSubItem;
      n.param = nm->lParam;
    } else if (hdr->code == LVN_KEYDOWN) {
      n.key = reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey;
      n.control = platform::GetKeyState(VK_CONTROL) < 0;
    }
    EXPECT_EQ(static_cast<int>(hdr->idFrom), kList);
    notices.push_back(n);
  }
  return 0;
}

void Pump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

class ListViewTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterDialogTemplate(kTemplate, ListTemplate); }
  void SetUp() override {
    notices.clear();
    dialog = CreateDialogParam(nullptr, MAKEINTRESOURCE(kTemplate), nullptr, ListProc, 0);
    ASSERT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOW);
    Pump();
  }
  void TearDown() override {
    if (IsWindow(dialog)) DestroyWindow(dialog);
    Pump();
  }

  LRESULT Send(UINT message, WPARAM wParam, const void* lParam) {
    return SendDlgItemMessage(dialog, kList, message, wParam, reinterpret_cast<LPARAM>(lParam));
  }
  void AddColumn(int at, const char* text, int cx, UINT extra) {
    LVCOLUMN col;
    col.mask = LVCF_TEXT | LVCF_WIDTH | extra;
    col.pszText = const_cast<char*>(text);
    col.cx = cx;
    EXPECT_EQ(Send(LVM_INSERTCOLUMN, static_cast<WPARAM>(at), &col), at) << text;
  }
  int AddRow(int at, const char* first, LPARAM param) {
    LVITEM item;
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = at;
    item.pszText = const_cast<char*>(first);
    item.lParam = param;
    return static_cast<int>(Send(LVM_INSERTITEM, 0, &item));
  }
  void SetCell(int row, int column, const char* text) {
    LVITEM item;
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    EXPECT_EQ(Send(LVM_SETITEMTEXT, static_cast<WPARAM>(row), &item), 1);
  }
  std::string Cell(int row, int column, int size = 260) {
    std::vector<char> buffer(static_cast<size_t>(size), 'x');
    LVITEM item;
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = size;
    Send(LVM_GETITEMTEXT, static_cast<WPARAM>(row), &item);
    return buffer.data();
  }

  HWND dialog = nullptr;
};

TEST_F(ListViewTest, ColumnsInPercentKeepTheirShareAsTheListIsResized) {
  AddColumn(0, "名前"_sj, 25, LVCF_PERCENT);
  AddColumn(1, "場所"_sj, 75, LVCF_PERCENT);
  AddColumn(2, "px", 40, 0);
  const int before = static_cast<int>(Send(LVM_GETCOLUMNWIDTH, 0, nullptr));
  const int wideBefore = static_cast<int>(Send(LVM_GETCOLUMNWIDTH, 1, nullptr));
  EXPECT_GT(before, 0);
  EXPECT_NEAR(wideBefore, before * 3, 3);
  EXPECT_EQ(Send(LVM_GETCOLUMNWIDTH, 2, nullptr), 40);

  ASSERT_TRUE(dt::ResizeTo(dialog, 900, 400));
  Pump();
  const int after = static_cast<int>(Send(LVM_GETCOLUMNWIDTH, 0, nullptr));
  EXPECT_GT(after, before);
  EXPECT_NEAR(Send(LVM_GETCOLUMNWIDTH, 1, nullptr), after * 3, 3);
  EXPECT_EQ(Send(LVM_GETCOLUMNWIDTH, 2, nullptr), 40) << "a width in pixels stays";

  const auto state = dt::Query(dialog, kList);
  ASSERT_TRUE(state);
  EXPECT_EQ(state->kind, ControlKind::kListView);
  EXPECT_EQ(state->columns, (std::vector<std::string>{"名前"_sj, "場所"_sj, "px"}));
  EXPECT_EQ(state->columnWidths[0], after);
}

TEST_F(ListViewTest, AutoSizeFitsAColumnToItsLongestTextAndLeavesTheHeaderOut) {
  const char* wide = "WWWWWWWWWWWWWWWWWWWWWWWW";
  AddColumn(0, wide, 25, LVCF_PERCENT);
  AddColumn(1, "i", 40, 0);
  ASSERT_EQ(AddRow(0, "i", 0), 0);
  SetCell(0, 1, "i");
  const auto autoSize = [&](int column) {
    EXPECT_EQ(SendDlgItemMessage(dialog, kList, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), LVSCW_AUTOSIZE), 1);
    return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), nullptr));
  };
  const int narrow = autoSize(0);
  EXPECT_GT(narrow, 0);
  EXPECT_EQ(autoSize(1), narrow) << "the same text, whatever the header says";

  ASSERT_EQ(AddRow(1, "i", 1), 1);
  SetCell(1, 1, wide);
  const int widened = autoSize(1);
  EXPECT_GT(widened, narrow * 4) << "the longest row decides";
  EXPECT_EQ(autoSize(0), narrow);

  // A width fitted to the text is a width in pixels: it stays as the list is resized.
  ASSERT_TRUE(dt::ResizeTo(dialog, 900, 400));
  Pump();
  EXPECT_EQ(Send(LVM_GETCOLUMNWIDTH, 0, nullptr), narrow);
}

TEST_F(ListViewTest, RowsHoldShiftJisTextsByColumnAndAColumnInsertedBetweenMovesThem) {
  AddColumn(0, "a", 50, 0);
  AddColumn(1, "c", 50, 0);
  EXPECT_EQ(AddRow(0, "二行目"_sj, 20), 0);
  EXPECT_EQ(AddRow(0, "一行目"_sj, 10), 0) << "inserted before";
  EXPECT_EQ(AddRow(99, "三"_sj, 30), 2) << "an index past the end appends";
  SetCell(0, 1, "右"_sj);
  AddColumn(1, "b", 50, 0);
  EXPECT_EQ(Send(LVM_GETITEMCOUNT, 0, nullptr), 3);
  EXPECT_EQ(Cell(0, 0), "一行目"_sj);
  EXPECT_EQ(Cell(0, 1), "");
  EXPECT_EQ(Cell(0, 2), "右"_sj);
  // A text cut to its buffer ends on a whole character.
  EXPECT_EQ(Cell(1, 0, 4), "二"_sj);

  LVITEM item;
  item.mask = LVIF_PARAM;
  item.iItem = 2;
  ASSERT_EQ(Send(LVM_GETITEM, 0, &item), 1);
  EXPECT_EQ(item.lParam, 30);
  item.iItem = 3;
  EXPECT_EQ(Send(LVM_GETITEM, 0, &item), 0) << "no such row";

  EXPECT_EQ(dt::Query(dialog, kList)->rows,
            (std::vector<std::vector<std::string>>{{"一行目"_sj, "", "右"_sj}, {"二行目"_sj, "", ""}, {"三"_sj, "", ""}}));
  EXPECT_EQ(Send(LVM_DELETEITEM, 1, nullptr), 1);
  EXPECT_EQ(dt::Query(dialog, kList)->items, (std::vector<std::string>{"一行目"_sj, "三"_sj}));
  Send(LVM_DELETEALLITEMS, 0, nullptr);
  EXPECT_EQ(Send(LVM_GETITEMCOUNT, 0, nullptr), 0);
}

TEST_F(ListViewTest, TheProgramsSelectionIsQuietAndTheUsersIsHeard) {
  AddColumn(0, "a", 80, 0);
  for (int i = 0; i < 40; ++i) AddRow(i, std::to_string(i).c_str(), 1000 + i);
  EXPECT_EQ(Send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, reinterpret_cast<const void*>(LVS_EX_FULLROWSELECT)), 0);
  EXPECT_EQ(Send(LVM_GETEXTENDEDLISTVIEWSTYLE, 0, nullptr), static_cast<LRESULT>(LVS_EX_FULLROWSELECT));

  LVITEM state;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  ASSERT_EQ(Send(LVM_SETITEMSTATE, 30, &state), 1);
  EXPECT_EQ(Send(LVM_ENSUREVISIBLE, 30, nullptr), 1);
  Pump();
  EXPECT_TRUE(notices.empty()) << "the program's changes send nothing";
  EXPECT_EQ(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), reinterpret_cast<const void*>(LVNI_SELECTED)), 30);
  EXPECT_EQ(Send(LVM_GETNEXTITEM, 30, reinterpret_cast<const void*>(LVNI_SELECTED)), -1);
  EXPECT_EQ(Send(LVM_GETITEMSTATE, 30, reinterpret_cast<const void*>(LVIS_SELECTED | LVIS_FOCUSED)),
            static_cast<LRESULT>(LVIS_SELECTED | LVIS_FOCUSED));
  const int top = static_cast<int>(Send(LVM_GETTOPINDEX, 0, nullptr));
  const int page = static_cast<int>(Send(LVM_GETCOUNTPERPAGE, 0, nullptr));
  EXPECT_GT(page, 0);
  EXPECT_LE(top, 30);
  EXPECT_GT(top + page, 30) << "the row was scrolled into view";
  EXPECT_EQ(dt::Query(dialog, kList)->selection, 30);
  EXPECT_EQ(dt::Query(dialog, kList)->focusedRow, 30);

  ASSERT_TRUE(dt::Select(dialog, kList, 2));
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].code, LVN_ITEMCHANGED);
  EXPECT_EQ(notices[0].item, 2);
  EXPECT_EQ(notices[0].param, 1002);
  notices.clear();
  ASSERT_TRUE(dt::DoubleClick(dialog, kList, 5));
  ASSERT_FALSE(notices.empty());
  EXPECT_EQ(notices.back().code, NM_DBLCLK);
  EXPECT_EQ(notices.back().item, 5);
  EXPECT_EQ(notices.back().param, 1005);
  EXPECT_EQ(dt::Query(dialog, kList)->selection, 5);
  EXPECT_FALSE(dt::Select(dialog, kList, 40)) << "no such row";
}

// The sort callback compares the rows' parameters; by the caller's value descending or ascending.
int ByParam(LPARAM a, LPARAM b, LPARAM descending) {
  const int order = a < b ? -1 : a > b ? 1 : 0;
  return descending ? -order : order;
}
// Calls every row equal: the order must stay as it is.
int AllEqual(LPARAM, LPARAM, LPARAM) { return 0; }

TEST_F(ListViewTest, HeadersAreClickedRetitledAndRowsSortedByTheCallback) {
  AddColumn(0, "行"_sj, 60, 0);
  AddColumn(1, "名前"_sj, 80, 0);
  const struct {
    const char* name;
    LPARAM line;
  } rows[] = {{"b", 30}, {"a", 10}, {"c", 20}, {"a2", 10}};
  for (int i = 0; i < 4; ++i) {
    AddRow(i, std::to_string(rows[i].line).c_str(), rows[i].line * 10 + i);
    SetCell(i, 1, rows[i].name);
  }
  ASSERT_TRUE(dt::Select(dialog, kList, 2));  // "c"
  notices.clear();

  ASSERT_TRUE(dt::ClickHeader(dialog, kList, 1));
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].code, LVN_COLUMNCLICK);
  EXPECT_EQ(notices[0].item, -1);
  EXPECT_EQ(notices[0].subItem, 1);
  EXPECT_FALSE(dt::ClickHeader(dialog, kList, 2)) << "no such column";

  LVCOLUMN title;
  title.mask = LVCF_TEXT;
  title.pszText = const_cast<char*>("名前 *"_sj);
  ASSERT_EQ(Send(LVM_SETCOLUMN, 1, &title), 1);
  char buffer[16] = {};
  LVCOLUMN read;
  read.mask = LVCF_TEXT | LVCF_WIDTH;
  read.pszText = buffer;
  read.cchTextMax = sizeof buffer;
  ASSERT_EQ(Send(LVM_GETCOLUMN, 1, &read), 1);
  EXPECT_STREQ(buffer, "名前 *"_sj);
  EXPECT_EQ(read.cx, 80);
  EXPECT_EQ(dt::Query(dialog, kList)->columns, (std::vector<std::string>{"行"_sj, "名前 *"_sj}));
  EXPECT_EQ(Send(LVM_SETCOLUMN, 2, &title), 0) << "no such column";

  notices.clear();
  const struct {
    const char* name;
    PFNLVCOMPARE compare;
    LPARAM descending;
    std::vector<std::string> names;
  } sorts[] = {
      // Parameters are line * 10 + the row's first place: equal lines keep their first order.
      {"ascending", ByParam, 0, {"a", "a2", "c", "b"}},
      {"descending", ByParam, 1, {"b", "c", "a2", "a"}},
      {"all equal keeps the order", AllEqual, 0, {"b", "c", "a2", "a"}},
  };
  for (const auto& sort : sorts) {
    ASSERT_EQ(Send(LVM_SORTITEMS, static_cast<WPARAM>(sort.descending), reinterpret_cast<const void*>(sort.compare)), 1) << sort.name;
    const auto state = dt::Query(dialog, kList);
    std::vector<std::string> names;
    for (const auto& row : state->rows) names.push_back(row[1]);
    EXPECT_EQ(names, sort.names) << sort.name;
    EXPECT_EQ(state->rows[static_cast<size_t>(state->selection)][1], "c") << sort.name << ": the selection moves with its row";
    EXPECT_EQ(state->focusedRow, state->selection) << sort.name;
  }
  EXPECT_EQ(Send(LVM_SORTITEMS, 0, nullptr), 0) << "no function";
  EXPECT_TRUE(notices.empty()) << "sorting is the program's change";
}

TEST_F(ListViewTest, KeysPressedInTheListAreToldWithTheirModifiersAndCopyLeavesTheClipboardToTheProcedure) {
  AddColumn(0, "a", 80, 0);
  AddRow(0, "cell", 1);
  AddRow(1, "next", 2);
  ASSERT_TRUE(dt::Select(dialog, kList, 0));
  ASSERT_TRUE(platform::OpenClipboard(nullptr));
  platform::EmptyClipboard();
  platform::SetClipboardData(CF_TEXT, std::string_view("before", 7));
  platform::CloseClipboard();
  notices.clear();

  ASSERT_TRUE(dt::KeyDown(dialog, kList, 'C', dt::kControl));
  ASSERT_EQ(notices.size(), 2u) << "Ctrl, then C";
  EXPECT_EQ(notices[0].code, LVN_KEYDOWN);
  EXPECT_EQ(notices[0].key, VK_CONTROL);
  EXPECT_EQ(notices[1].code, LVN_KEYDOWN);
  EXPECT_EQ(notices[1].key, 'C');
  EXPECT_TRUE(notices[1].control) << "the procedure sees Ctrl held";
  ASSERT_TRUE(platform::OpenClipboard(nullptr));
  const std::optional<std::string> text = platform::GetClipboardData(CF_TEXT);
  platform::CloseClipboard();
  EXPECT_EQ(text, std::string("before", 7)) << "the toolkit did not copy the cell behind the procedure's back";
  EXPECT_GE(platform::GetKeyState(VK_CONTROL), 0) << "released after";

  notices.clear();
  ASSERT_TRUE(dt::KeyDown(dialog, kList, VK_DOWN));
  ASSERT_FALSE(notices.empty());
  EXPECT_EQ(notices[0].code, LVN_KEYDOWN);
  EXPECT_EQ(notices[0].key, VK_DOWN);
  EXPECT_FALSE(notices[0].control);
  EXPECT_EQ(notices.back().code, LVN_ITEMCHANGED) << "the key's own handling follows";
  EXPECT_EQ(notices.back().item, 1);
}

}  // namespace
