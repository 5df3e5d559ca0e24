#include "editor/view/outline/function_list_dialog.h"

#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "editor/foundation/clipboard_plain.h"
#include "editor/foundation/document/outline_parsers.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/view/commands/edit_fixture.h"
#include "platform/clipboard.h"
#include "platform/dialog_test.h"
#include "platform/key_map.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"

namespace {

namespace dt = platform::dialog_test;

constexpr int kOutline = 30930;
constexpr int kBookmarkView = 30974;
constexpr int kCopyCommand = 30602;
constexpr int kShow = 0;
constexpr int kToggle = 2;
constexpr int kRefresh = 1;
constexpr int kList = CFuncListDialog::kList;
constexpr int kTree = CFuncListDialog::kTree;
constexpr char kPath[] = "/src/demo.cpp";

// The edit window of the tests with key assignments of its own.
class KeyedEditWindow : public FakeEditWindow {
 public:
  int KeyCommand(int nAccelCmd) const override {
    const auto it = keys.find(nAccelCmd);
    return it == keys.end() ? 0 : it->second;
  }
  std::map<int, int> keys;
};

// The frame of the pane: takes a caret request as the edit window does, moving the pane's caret
// to the start of the document line the exchange area names.
CEditView* g_framePane = nullptr;

LRESULT FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == MYWM_SETCARETPOS && g_framePane) {
    int32_t column = 0, line = 0;
    ReadExchangePosition(*CShareData::GetInstance()->GetShareData(), &column, &line);
    int x = 0, y = 0;
    g_framePane->m_pcEditDoc->m_cLayoutMgr.DocToWrapPos(column, line, &x, &y);
    g_framePane->PlaceCursor(x, y, true, 6);
    return 0;
  }
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

struct Row {
  std::string line, name, kind;
  bool operator==(const Row&) const = default;
};
void PrintTo(const Row& r, std::ostream* os) { *os << "{" << r.line << ", " << r.name << ", " << r.kind << "}"; }

struct Node {
  int depth;
  std::string text;
  bool operator==(const Node&) const = default;
};
void PrintTo(const Node& n, std::ostream* os) { *os << "{" << n.depth << ", " << n.text << "}"; }

class FuncListTest : public EditFixture {
 protected:
  void SetUp() override {
    EditFixture::SetUp();
    WNDCLASSEX wc;
    wc.lpfnWndProc = &FrameProc;
    wc.lpszClassName = "FuncListTestFrame";
    platform::RegisterClassEx(&wc);
    frame = platform::CreateWindowEx(0, "FuncListTestFrame", "frame", 0, 100, 80, 400, 300, nullptr, nullptr, nullptr,
                                     nullptr);
    g_framePane = view.get();
    keyed.window = frame;
    view->SetEditWindow(&keyed);
    view->SetFuncListWindow(&funcList);
    snprintf(doc->m_szFilePath, sizeof doc->m_szFilePath, "%s", kPath);
    common().bAutoCloseDlgFuncList = 0;
    common().bFunclistSetFocusOnJump = 0;
    common().bRememberOutlineWindowPos = 0;
    SetClipboardPlain("before");
  }
  void TearDown() override {
    funcList.cDialog.Close(0);
    g_framePane = nullptr;
    platform::DestroyWindow(frame);
    EditFixture::TearDown();
  }

  // Runs the outline command of a type over the text with the caret on a document line (0-based).
  HWND Show(int outlineType, std::string_view text, int caretLine = 0) {
    type().nDefaultOutline = outlineType;
    SetText(text);
    view->PlaceCursor(0, caretLine, true, 6);
    EXPECT_EQ(view->RunCommand(kOutline, true, kRefresh, 0, 0, 0), 1);
    EXPECT_TRUE(funcList.cDialog.IsOpen());
    return funcList.cDialog.GetHwnd();
  }
  HWND Dialog() const { return funcList.cDialog.GetHwnd(); }
  dt::ControlState State(int id) const { return dt::Query(Dialog(), id).value(); }
  std::vector<Row> Rows() const {
    std::vector<Row> rows;
    for (const auto& r : State(kList).rows) rows.push_back({r.at(0), r.at(1), r.at(2)});
    return rows;
  }
  std::vector<Node> Tree() const {
    std::vector<Node> nodes;
    for (const auto& item : State(kTree).tree) nodes.push_back({item.depth, item.text});
    return nodes;
  }
  std::string SelectedNode() const {
    for (const auto& item : State(kTree).tree)
      if (item.selected) return item.text;
    return "";
  }
  int TreeIndexOf(const std::string& text) const {
    const auto tree = State(kTree).tree;
    for (size_t i = 0; i < tree.size(); ++i)
      if (tree[i].text == text) return static_cast<int>(i);
    ADD_FAILURE() << "no node " << text;
    return -1;
  }
  std::string Caption() const { return platform::GetWindowText(Dialog()); }
  int CaretLine() const { return view->m_nCaretPosY_PHY; }


  KeyedEditWindow keyed;
  FuncListWindow funcList;
  HWND frame = nullptr;
};

constexpr char kAsm[] =
    "start:  nop\r\n"
    "main    proc\r\n"
    "        ret\r\n"
    "main    endp\r\n";

TEST_F(FuncListTest, PlainListShowsLinesNamesAndLabelsAndCopiesThem) {
  const HWND dialog = Show(outline_type::kAsm, kAsm, 2);
  EXPECT_EQ(dt::TemplateOf(dialog), "122");
  EXPECT_EQ(Caption(), "アセンブラ アウトライン"_sj);
  EXPECT_TRUE(State(kList).visible);
  EXPECT_FALSE(State(kTree).visible);
  EXPECT_FALSE(State(CFuncListDialog::kSortCombo).visible);
  EXPECT_FALSE(State(CFuncListDialog::kMarkUpBlank).visible) << "only the bookmark list has it";
  EXPECT_EQ(Rows(), (std::vector<Row>{{"1", "start", "ラベル"_sj}, {"2", "main", "PROC"}, {"4", "main", "ENDP"}}));
  EXPECT_EQ(State(kList).columns, (std::vector<std::string>{"行 *"_sj, "関数名"_sj, ""}));
  EXPECT_EQ(State(kList).selection, 1) << "the entry the caret is in";

  const std::string expected = std::string(kPath) + "(1): start(" + "ラベル"_sj + ")\r\n" + kPath +
                               "(2): main(PROC)\r\n" + kPath + "(4): main(ENDP)\r\n";
  EXPECT_EQ(std::string(funcList.cDialog.CopyText().GetPtr(), funcList.cDialog.CopyText().GetLength()), expected);
  ASSERT_TRUE(dt::Click(dialog, CFuncListDialog::kCopy));
  EXPECT_EQ(ClipboardPlain(), expected);
}

TEST_F(FuncListTest, ListColumnsFitTheirTextsWithSixteenPixelsToSpare) {
  const HWND dialog = Show(outline_type::kAsm, "a:\r\nquite_a_long_label_name_for_a_label:\r\n");
  const HWND list = platform::GetDlgItem(dialog, kList);
  const std::vector<int> filled = State(kList).columnWidths;
  ASSERT_EQ(filled.size(), 3u);
  for (int c = 0; c < 3; ++c) {
    SCOPED_TRACE(c);
    platform::SendMessage(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c), LVSCW_AUTOSIZE);
    EXPECT_EQ(filled[static_cast<size_t>(c)] - State(kList).columnWidths[static_cast<size_t>(c)], 16);
  }
}

TEST_F(FuncListTest, EntriesWithoutALabelAreCopiedWithoutParentheses) {
  Show(outline_type::kPerl, "sub first {\n}\nsub second {\n}\n");
  EXPECT_EQ(Caption(), "Perl 関数一覧"_sj);
  EXPECT_EQ(Rows(), (std::vector<Row>{{"1", "first", ""}, {"3", "second", ""}}));
  EXPECT_EQ(std::string(funcList.cDialog.CopyText().GetPtr(), funcList.cDialog.CopyText().GetLength()),
            std::string(kPath) + "(1): first\r\n" + kPath + "(3): second\r\n");
}

TEST_F(FuncListTest, VisualBasicListLabelsKindAndScope) {
  Show(outline_type::kVisualBasic,
       "Public Function Area(r)\r\nEnd Function\r\nPrivate Static Sub Reset()\r\nEnd Sub\r\n"
       "Friend Property Get Size()\r\nEnd Property\r\n");
  EXPECT_EQ(Caption(), "Visual Basic アウトライン"_sj);
  EXPECT_EQ(Rows(), (std::vector<Row>{{"1", "Area", "関数（パブリック）"_sj},
                                      {"3", "Reset", "ステータス（静的プライベート）"_sj},
                                      {"5", "Size", "プロパティ 取得（フレンド）"_sj}}));
}

TEST_F(FuncListTest, PreselectionFollowsTheCaret) {
  struct Case {
    const char* name;
    int caretLine;
    int selectedRow;
  };
  const Case cases[] = {
      {"before the first entry", 0, 0},
      {"on the first entry", 2, 0},
      {"between two entries", 4, 1},
      {"after the last entry", 9, 2},
  };
  const char* text = "\n\nsub a {\n}\nsub b {\n}\nsub c {\n}\n\n\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Show(outline_type::kPerl, text, c.caretLine);
    EXPECT_EQ(State(kList).selection, c.selectedRow);
    EXPECT_EQ(State(kList).focusedRow, c.selectedRow);
  }
}

TEST_F(FuncListTest, HeaderClicksSortByNameThenBackByLine) {
  const HWND dialog = Show(outline_type::kAsm, "beta:\r\ngamma:\r\nalpha:\r\nmain proc\r\n", 1);
  ASSERT_TRUE(dt::ClickHeader(dialog, kList, 1));
  const std::vector<Row> byName{
      {"3", "alpha", "ラベル"_sj}, {"1", "beta", "ラベル"_sj}, {"2", "gamma", "ラベル"_sj}, {"4", "main", "PROC"}};
  EXPECT_EQ(Rows(), byName);
  EXPECT_EQ(State(kList).columns, (std::vector<std::string>{"行"_sj, "関数名 *"_sj, ""}));
  EXPECT_EQ(State(kList).rows.at(static_cast<size_t>(State(kList).selection)).at(1), "gamma") << "selection moves";

  ASSERT_TRUE(dt::ClickHeader(dialog, kList, 1));
  EXPECT_EQ(Rows(), byName) << "a second click keeps the order";

  ASSERT_TRUE(dt::ClickHeader(dialog, kList, 2));
  EXPECT_EQ(State(kList).columns, (std::vector<std::string>{"行"_sj, "関数名"_sj, "*"}));
  EXPECT_EQ(
      Rows(),
      (std::vector<Row>{
          {"4", "main", "PROC"}, {"3", "alpha", "ラベル"_sj}, {"1", "beta", "ラベル"_sj}, {"2", "gamma", "ラベル"_sj}}))
      << "PROC (50) before the labels (51), which keep the name order";

  ASSERT_TRUE(dt::ClickHeader(dialog, kList, 0));
  EXPECT_EQ(State(kList).columns, (std::vector<std::string>{"行 *"_sj, "関数名"_sj, ""}));
  EXPECT_EQ(Rows(), (std::vector<Row>{{"1", "beta", "ラベル"_sj},
                                      {"2", "gamma", "ラベル"_sj},
                                      {"3", "alpha", "ラベル"_sj},
                                      {"4", "main", "PROC"}}));
}

constexpr char kCpp[] =
    "class Zed {\n"              // 1
    "};\n"                       // 2
    "class Alpha {\n"            // 3
    "};\n"                       // 4
    "void Alpha::Beta::f() {\n"  // 5
    "}\n"                        // 6
    "void second();\n"           // 7
    "void first() {\n"           // 8
    "}\n";                       // 9

TEST_F(FuncListTest, ScopeTreeHangsQualifiedNamesUnderTheirScopes) {
  const HWND dialog = Show(outline_type::kCpp, kCpp, 4);
  EXPECT_EQ(Caption(), "C++ メソッドツリー"_sj);
  EXPECT_TRUE(State(kTree).visible);
  EXPECT_FALSE(State(kList).visible);
  EXPECT_TRUE(State(CFuncListDialog::kSortCombo).visible);
  EXPECT_EQ(Tree(), (std::vector<Node>{{0, "Zed クラス"_sj},
                                       {0, "Alpha クラス"_sj},
                                       {1, "Beta クラス"_sj},
                                       {2, "f"},
                                       {0, "グローバル"_sj},
                                       {1, "second(宣言)"_sj},
                                       {1, "first"}}));
  for (const auto& item : State(kTree).tree)
    if (item.depth == 0) EXPECT_TRUE(item.expanded) << item.text;
  EXPECT_EQ(SelectedNode(), "f");
  EXPECT_EQ(std::string(funcList.cDialog.CopyText().GetPtr(), funcList.cDialog.CopyText().GetLength()),
            std::string(kPath) + "(1): Zed \r\n" + kPath + "(3): Alpha \r\n" + kPath + "(5): Alpha::Beta::f \r\n" +
                kPath + "(7): second " + "(宣言)"_sj + "\r\n" + kPath + "(8): first \r\n");

  // A scope node names no line: the jump does nothing.
  view->PlaceCursor(0, 0, true, 6);
  ASSERT_TRUE(dt::Select(dialog, kTree, TreeIndexOf("Beta クラス"_sj)));
  ASSERT_TRUE(dt::Click(dialog, IDOK));
  EXPECT_EQ(CaretLine(), 0);
  ASSERT_TRUE(dt::Select(dialog, kTree, TreeIndexOf("first")));
  ASSERT_TRUE(dt::Click(dialog, IDOK));
  EXPECT_EQ(CaretLine(), 7) << "document line 8";
  EXPECT_EQ(view->m_nCaretPosX, 0);
  EXPECT_TRUE(funcList.cDialog.IsOpen());
}

TEST_F(FuncListTest, NamespaceShowsItsDefinitionPlaceAsAPlainLeaf) {
  Show(outline_type::kCpp, "namespace N {\nvoid f() {\n}\n}\n");
  EXPECT_EQ(Tree(), (std::vector<Node>{{0, "N 名前空間"_sj}, {1, "定義位置"_sj}, {1, "f"}}));
}

TEST_F(FuncListTest, TreeSortsAlphabeticallyAndBackToDocumentOrder) {
  const HWND dialog = Show(outline_type::kCpp, kCpp, 4);
  const std::vector<Node> documentOrder = Tree();
  ASSERT_TRUE(dt::Select(dialog, CFuncListDialog::kSortCombo, 1));
  EXPECT_EQ(Tree(), (std::vector<Node>{{0, "Alpha クラス"_sj},
                                       {1, "Beta クラス"_sj},
                                       {2, "f"},
                                       {0, "Zed クラス"_sj},
                                       {0, "グローバル"_sj},
                                       {1, "first"},
                                       {1, "second(宣言)"_sj}}));
  EXPECT_EQ(SelectedNode(), "f");
  ASSERT_TRUE(dt::Select(dialog, CFuncListDialog::kSortCombo, 0));
  EXPECT_EQ(Tree(), documentOrder);

  // The order chosen stays for the next fill.
  ASSERT_TRUE(dt::Select(dialog, CFuncListDialog::kSortCombo, 1));
  view->RunCommand(kOutline, true, kRefresh, 0, 0, 0);
  EXPECT_EQ(Tree().front().text, "Alpha クラス"_sj);
  EXPECT_EQ(State(CFuncListDialog::kSortCombo).selection, 1);
}

TEST_F(FuncListTest, CppOutlineOfACFileIsTheFlatCList) {
  snprintf(doc->m_szFilePath, sizeof doc->m_szFilePath, "%s", "/src/plain.C");
  Show(outline_type::kCpp, "int g(void);\nint main(void) {\n}\n");
  EXPECT_EQ(Caption(), "C 関数一覧"_sj);
  EXPECT_EQ(funcList.cDialog.OutlineType(), 0);
  EXPECT_TRUE(State(kList).visible);
  EXPECT_EQ(Rows(), (std::vector<Row>{{"1", "g", "宣言"_sj}, {"2", "main", ""}}));
}

TEST_F(FuncListTest, DepthTreeHangsAGapUnderTheNearestShallowerNodeOfItsSection) {
  const char* text =
      "\\section{A}\n"
      "\\subsubsection{B}\n"
      "\\section{C}\n"
      "\\subsection{D}\n"
      "\\section{E}\n"
      "\\subsubsection{F}\n";
  Show(outline_type::kTex, text, 4);
  EXPECT_EQ(Caption(), "TeX");
  const std::vector<Node> tree = Tree();
  ASSERT_EQ(tree.size(), 6u);
  const std::vector<int> depths{tree[0].depth, tree[1].depth, tree[2].depth,
                                tree[3].depth, tree[4].depth, tree[5].depth};
  EXPECT_EQ(depths, (std::vector<int>{0, 1, 0, 1, 0, 1})) << "F under E, not under D of the section before";
  EXPECT_NE(tree[5].text.find('F'), std::string::npos);
  EXPECT_NE(tree[4].text.find('E'), std::string::npos);
  EXPECT_NE(SelectedNode().find('E'), std::string::npos);

  // The copied text indents by the entries' own depths.
  COutlineItemList list;
  ParseOutlineTex(*doc, list);
  std::string expected;
  for (int i = 0; i < list.GetCount(); ++i) {
    expected += std::string(static_cast<size_t>(list.GetAt(i)->m_nDepth) * 2, ' ');
    expected += list.GetAt(i)->m_cName.View();
    expected += "\r\n";
  }
  EXPECT_EQ(list.GetAt(1)->m_nDepth, 2) << "the parser leaves the gap";
  EXPECT_EQ(std::string(funcList.cDialog.CopyText().GetPtr(), funcList.cDialog.CopyText().GetLength()), expected);
}

TEST_F(FuncListTest, JumpFromTheListMovesTheCaretAndAutoCloseClosesTheDialog) {
  const HWND dialog = Show(outline_type::kPerl, "sub a {\n}\nsub b {\n}\n");
  EXPECT_TRUE(State(CFuncListDialog::kFocusOnJump).enabled);
  ASSERT_TRUE(dt::DoubleClick(dialog, kList, 1));
  EXPECT_EQ(CaretLine(), 2);
  EXPECT_TRUE(funcList.cDialog.IsOpen()) << "auto-close is off";

  ASSERT_TRUE(dt::Click(dialog, CFuncListDialog::kAutoClose));
  EXPECT_EQ(common().bAutoCloseDlgFuncList, 1);
  EXPECT_FALSE(State(CFuncListDialog::kFocusOnJump).enabled);
  ASSERT_TRUE(dt::Select(dialog, kList, 0));
  ASSERT_TRUE(dt::Click(dialog, IDOK));
  EXPECT_EQ(CaretLine(), 0);
  EXPECT_FALSE(funcList.cDialog.IsOpen());

  // Opened again with auto-close on: the focus box starts disabled.
  Show(outline_type::kPerl, "sub a {\n}\n");
  EXPECT_EQ(State(CFuncListDialog::kAutoClose).check, BST_CHECKED);
  EXPECT_FALSE(State(CFuncListDialog::kFocusOnJump).enabled);
}

TEST_F(FuncListTest, EmptyOutlineShowsNothingAndJumpsNowhere) {
  const HWND dialog = Show(outline_type::kPerl, "no subs here\n", 0);
  EXPECT_TRUE(Rows().empty());
  EXPECT_EQ(funcList.cDialog.CopyText().GetLength(), 0);
  view->PlaceCursor(3, 0, true, 6);
  ASSERT_TRUE(dt::Click(dialog, IDOK));
  EXPECT_EQ(view->m_nCaretPosX, 3);
}

TEST_F(FuncListTest, OutlineShowActivatesAndToggleCloses) {
  type().nDefaultOutline = outline_type::kPerl;
  SetText("sub a {\n}\n");
  EXPECT_EQ(view->RunCommand(kOutline, true, kToggle, 0, 0, 0), 1);
  ASSERT_TRUE(funcList.cDialog.IsOpen());
  EXPECT_EQ(view->RunCommand(kOutline, true, kToggle, 0, 0, 0), 1);
  EXPECT_FALSE(funcList.cDialog.IsOpen());

  EXPECT_EQ(view->RunCommand(kOutline, true, kShow, 0, 0, 0), 1);
  const HWND first = Dialog();
  ASSERT_TRUE(first);
  SetText("sub a {\n}\nsub b {\n}\n");
  EXPECT_EQ(view->RunCommand(kOutline, true, kShow, 0, 0, 0), 1);
  EXPECT_EQ(Dialog(), first);
  EXPECT_EQ(Rows().size(), 1u) << "showing the same outline again only activates it";
  EXPECT_EQ(view->RunCommand(kOutline, true, kRefresh, 0, 0, 0), 1);
  EXPECT_EQ(Dialog(), first);
  EXPECT_EQ(Rows().size(), 2u);

  // Another outline in the open dialog is parsed and shown, even by a toggle.
  doc->m_cDocLineMgr.GetLine(2)->SetBookmark(true);
  EXPECT_EQ(view->RunCommand(kBookmarkView, true, 0, 0, 0, 0), 1);
  EXPECT_EQ(Dialog(), first);
  EXPECT_EQ(Caption(), "ブックマーク"_sj);
  EXPECT_EQ(State(kList).columns.at(1), "テキスト"_sj);
  EXPECT_TRUE(State(CFuncListDialog::kMarkUpBlank).visible);
  EXPECT_EQ(view->RunCommand(kOutline, true, kToggle, 0, 0, 0), 1);
  EXPECT_TRUE(funcList.cDialog.IsOpen());
  EXPECT_EQ(funcList.cDialog.OutlineType(), outline_type::kPerl);
}

TEST_F(FuncListTest, BlankLineBoxOfTheBookmarkListParsesItAgain) {
  common().bMarkUpBlankLineEnable = 0;
  SetText("first\n\nthird\n");
  for (const int line : {0, 1, 2}) doc->m_cDocLineMgr.GetLine(line)->SetBookmark(true);
  EXPECT_EQ(view->RunCommand(kBookmarkView, true, 0, 0, 0, 0), 1);
  const HWND dialog = Dialog();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(Rows().size(), 3u);
  ASSERT_TRUE(dt::Click(dialog, CFuncListDialog::kMarkUpBlank));
  EXPECT_EQ(common().bMarkUpBlankLineEnable, 1);
  EXPECT_EQ(Dialog(), dialog);
  EXPECT_EQ(Rows(), (std::vector<Row>{{"1", "first", ""}, {"3", "third", ""}}));
}

TEST_F(FuncListTest, TheKeyBoundToCopyCopiesTheOutline) {
  keyed.keys[2 * 256 + 'C'] = kCopyCommand;
  const HWND dialog = Show(outline_type::kPerl, "sub a {\n}\n");
  const std::string expected = std::string(kPath) + "(1): a\r\n";

  ASSERT_TRUE(dt::KeyDown(dialog, kList, 'C'));
  EXPECT_EQ(ClipboardPlain(), "before") << "C alone is bound to nothing";
  ASSERT_TRUE(dt::KeyDown(dialog, kList, 'C', dt::kControl));
  EXPECT_EQ(ClipboardPlain(), expected);

  SetClipboardPlain("before");
  Show(outline_type::kCpp, "void f() {\n}\n");
  ASSERT_TRUE(dt::KeyDown(dialog, kTree, 'C', dt::kControl));
  EXPECT_EQ(ClipboardPlain(), std::string(kPath) + "(1): f \r\n");
}

TEST_F(FuncListTest, KeysRunTheOutlineCommandsOnThePane) {
  keyed.keys[VK_F1 + 4] = 31360;  // ReDraw parses again
  const HWND dialog = Show(outline_type::kPerl, "sub a {\n}\n");
  SetText("sub a {\n}\nsub b {\n}\n");
  ASSERT_TRUE(dt::KeyDown(dialog, kList, VK_F1 + 4));
  EXPECT_EQ(Rows().size(), 2u);
}

TEST_F(FuncListTest, PositionIsRememberedAsAnOffsetFromTheFrame) {
  common().bRememberOutlineWindowPos = 1;
  common().widthOutlineWindow = 0;
  const HWND dialog = Show(outline_type::kPerl, "sub a {\n}\n");
  EXPECT_EQ(State(CFuncListDialog::kRememberPos).check, BST_CHECKED);
  RECT frameRect{};
  WINDOWPLACEMENT framePlacement;
  framePlacement.length = sizeof framePlacement;
  ASSERT_TRUE(platform::GetWindowPlacement(frame, &framePlacement));
  frameRect = framePlacement.rcNormalPosition;
  ASSERT_TRUE(dt::ResizeTo(dialog, 640, 600));
  ASSERT_TRUE(dt::MoveTo(dialog, frameRect.left + 30, frameRect.top + 40));
  ASSERT_TRUE(dt::Click(dialog, IDCANCEL));
  EXPECT_FALSE(funcList.cDialog.IsOpen());
  EXPECT_EQ(common().widthOutlineWindow, 640);
  EXPECT_EQ(common().heightOutlineWindow, 600);
  EXPECT_EQ(common().xOutlineWindowPos, 30);
  EXPECT_EQ(common().yOutlineWindowPos, 40);

  // The frame moves; the dialog opens at the same offset from it.
  platform::MoveWindow(frame, frameRect.left + 50, frameRect.top + 20, 400, 300, 1);
  ASSERT_TRUE(platform::GetWindowPlacement(frame, &framePlacement));
  const RECT moved = framePlacement.rcNormalPosition;
  const HWND again = Show(outline_type::kPerl, "sub a {\n}\n");
  RECT rc{};
  ASSERT_TRUE(platform::GetWindowRect(again, &rc));
  EXPECT_EQ(rc.left - moved.left, 30);
  EXPECT_EQ(rc.top - moved.top, 40);
  EXPECT_EQ(rc.right - rc.left, 640);
  EXPECT_EQ(rc.bottom - rc.top, 600);
}

}  // namespace
