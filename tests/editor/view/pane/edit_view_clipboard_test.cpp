// The selection as text, the clipboard in the editor's formats (through the offscreen desktop
// clipboard) and conversions of the selection.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>
#include <string>
#include <string_view>

#include "editor/foundation/beep_capture.h"
#include "editor/foundation/text/line_end.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/ui/clipboard_formats.h"
#include "editor/view/commands/edit_fixture.h"
#include "platform/clipboard.h"
#include "platform/gui_app.h"
#include "platform/sjis_literal.h"

namespace {

using namespace std::string_literals;

constexpr int kSjisToUtf8 = 30862;
constexpr int kToHanEi = 30816;  // full-width letters to half width: none in ASCII text

class ClipboardViewTest : public EditFixture {
 protected:
  void SetUp() override {
    EditFixture::SetUp();
    platform::EnsureGuiApp();
    QGuiApplication::clipboard()->clear();
  }

  void Select(SelectRange range, bool box = false) {
    view->PlaceCursor(range.nColumnTo, range.nLineTo, false, 20);
    view->m_sSelectBgn = SelectRange{range.nLineFrom, range.nColumnFrom, range.nLineFrom, range.nColumnFrom};
    view->m_sSelect = range;
    view->m_bBeginBoxSelect = box;
  }

  // What the editor reads back from the clipboard.
  std::string Pasted(bool* box = nullptr) {
    CMemory text;
    EXPECT_TRUE(view->GetClipboardText(&text, box));
    return std::string(text.View());
  }

  // Another program's offer: MIME types and their bytes.
  static void Offer(std::initializer_list<std::pair<QString, QByteArray>> formats) {
    auto data = std::make_unique<QMimeData>();
    for (const auto& [type, bytes] : formats) data->setData(type, bytes);
    QGuiApplication::clipboard()->setMimeData(data.release());
  }
  static QString PrivateType() { return QString("application/x-tovara-%1").arg(PrivateClipFormat()); }
  static QByteArray Bytes(std::string_view s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }
};

// ---- The selection as text -----------------------------------------------------------------------

TEST_F(ClipboardViewTest, SelectedTextByShapeQuoteAndLineEnds) {
  // Lines end CR LF, LF, CR, and the last without one.
  SetText("alpha\r\nbeta\ngamma\rdelta"s);
  struct Case {
    const char* name;
    SelectRange range;
    bool box;
    bool firstLineOnly;
    const char* quote;
    bool addLineEnd;
    int eol;
    std::string expected;
  };
  const Case cases[] = {
      {"inside one line", {0, 1, 0, 4}, false, false, nullptr, false, -1, "lph"},
      {"each line's own line end", {0, 2, 3, 2}, false, false, nullptr, false, -1, "pha\r\nbeta\ngamma\rde"},
      {"line ends by code", {0, 2, 3, 2}, false, false, nullptr, false, CLineEnd::CRLF, "pha\r\nbeta\r\ngamma\r\nde"},
      {"LF by code", {0, 0, 2, 0}, false, false, nullptr, false, CLineEnd::LF, "alpha\nbeta\n"},
      {"selection given backwards", {1, 2, 0, 3}, false, false, nullptr, false, -1, "ha\r\nbe"},
      {"first line only", {0, 2, 3, 2}, false, true, nullptr, false, -1, "pha\r\n"},
      {"an empty last piece adds no prefix", {0, 0, 2, 0}, false, false, "> ", false, -1, "> alpha\r\n> beta\n"},
      {"the end of the text with a line end asked", {3, 1, 3, 5}, false, false, nullptr, true, -1, "elta\r\n"},
      {"the end of the text with a quote", {3, 1, 3, 5}, false, false, "> ", false, CLineEnd::LF, "> elta\n"},
      {"an empty quote still asks for the line end", {3, 1, 3, 5}, false, false, "", false, CLineEnd::LF, "elta\n"},
      {"box rows each with CR LF", {0, 1, 2, 3}, true, false, nullptr, false, CLineEnd::LF, "lp\r\net\r\nam\r\n"},
      {"box first row only", {0, 1, 2, 3}, true, true, nullptr, false, -1, "lp\r\n"},
      {"box past short rows", {0, 4, 1, 6}, true, false, nullptr, false, -1, "a\r\n\r\n"},
      {"select all", {0, 0, 4, 0}, false, false, nullptr, false, -1, "alpha\r\nbeta\ngamma\rdelta"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Select(c.range, c.box);
    CMemory text;
    EXPECT_EQ(view->GetSelectedText(&text, c.firstLineOnly, c.quote, false, c.addLineEnd, c.eol), 1);
    EXPECT_EQ(text.View(), c.expected);
  }
  view->ClearSelection(false);
  CMemory text("stale", 5);
  EXPECT_EQ(view->GetSelectedText(&text, false, nullptr, false, true, -1), 0) << "no selection";
  EXPECT_EQ(text.View(), "");
}

TEST_F(ClipboardViewTest, ACopyEndingAtAWrapPointGetsALineEndOnlyWhenAsked) {
  type().nWrapColumn = 10;
  SetText("0123456789abcdef\r\nxyz\r\n");
  ASSERT_EQ(doc->m_cLayoutMgr.GetLineCount(), 3);  // "0123456789" | "abcdef" | "xyz"
  struct Case {
    const char* name;
    SelectRange range;
    bool addLineEnd;
    std::string expected;
  };
  const Case cases[] = {
      {"up to the wrap point, asked", {0, 2, 0, 10}, true, "23456789\r\n"},
      {"up to the wrap point, not asked", {0, 2, 0, 10}, false, "23456789"},
      {"over the wrap point, asked", {0, 8, 1, 2}, true, "89\r\nab"},
      {"over the wrap point, not asked", {0, 8, 1, 2}, false, "89ab"},
      {"a real line end stays one", {1, 4, 2, 1}, true, "ef\r\nx"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Select(c.range);
    CMemory text;
    view->GetSelectedText(&text, false, nullptr, false, c.addLineEnd, -1);
    EXPECT_EQ(text.View(), c.expected);
  }
}

TEST_F(ClipboardViewTest, CopiedLinesAreWholeLinesWithNumbersOrQuote) {
  std::string text;
  for (int i = 1; i <= 120; ++i) text += "line " + std::to_string(i) + "\r\n";
  SetText(text);
  struct Case {
    const char* name;
    SelectRange range;
    bool box;
    const char* quote;
    bool numbers;
    std::string expected;
  };
  const Case cases[] = {
      {"numbers of lines 8 to 12",
       {7, 3, 11, 2},
       false,
       nullptr,
       true,
       "   8:line 8\r\n   9:line 9\r\n  10:line 10\r\n  11:line 11\r\n  12:line 12\r\n"},
      {"a to-column 0 ends the lines above it", {7, 3, 9, 0}, false, "> ", false, "> line 8\r\n> line 9\r\n"},
      {"a box takes its rows whole", {98, 5, 99, 1}, true, nullptr, true, "  99:line 99\r\n 100:line 100\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Select(c.range, c.box);
    EXPECT_TRUE(view->CopySelectedLines(c.quote, c.numbers));
    EXPECT_EQ(Pasted(), c.expected);
    EXPECT_FALSE(view->m_bBeginBoxSelect);
    EXPECT_EQ(view->m_sSelect.nColumnFrom, 0);
    EXPECT_EQ(view->m_sSelect.nColumnTo, 0);
  }
}

TEST_F(ClipboardViewTest, CopiedLinesBeepWhenTheClipboardRefuses) {
  SetText("one\r\ntwo\r\n");
  QGuiApplication::clipboard()->setText("before");
  Select({0, 1, 0, 2});
  int otherOwner = 0;
  ASSERT_TRUE(platform::OpenClipboard(reinterpret_cast<HWND>(&otherOwner)));
  BeepCapture beeps;
  EXPECT_FALSE(view->CopySelectedLines(nullptr, false));
  platform::CloseClipboard();
  EXPECT_EQ(beeps.beeps, std::vector<UINT>{MB_ICONHAND});
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
}

TEST_F(ClipboardViewTest, SelectionOrWordSeedsADialog) {
  struct Case {
    const char* name;
    std::string text;
    int wrap;
    bool addLineEnd;  // bAddCRLFWhenCopy
    SelectRange range;  // unset: none
    int caretColumn;
    std::string expected;
  };
  const Case cases[] = {
      {"the selection up to its first line end", "alpha beta\r\ngamma\r\n", 0, false, {0, 6, 1, 3}, 0, "beta"},
      {"a wrap point without copied line ends", "0123456789abc\r\n", 10, false, {0, 5, 1, 2}, 0, "56789ab"},
      {"a wrap point with copied line ends", "0123456789abc\r\n", 10, true, {0, 5, 1, 2}, 0, "56789"},
      {"the word at the caret", "alpha beta\r\n", 0, true, {}, 8, "beta"},
      {"up to a NUL", "ab\0cd"s, 0, false, {0, 0, 0, 5}, 0, "ab"},
      {"at most 259 bytes", std::string(300, 'w'), 0, false, {}, 0, std::string(259, 'w')},
      {"cut on a whole character", std::string(258, 'k') + "漢字"_sj, 0, false, {0, 0, 0, 262}, 0,
       std::string(258, 'k')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    type().nWrapColumn = c.wrap > 0 ? c.wrap : 1000;
    common().bAddCRLFWhenCopy = c.addLineEnd ? 1 : 0;
    SetText(c.text);
    view->ClearSelection(false);
    view->PlaceCursor(c.caretColumn, 0, false, 20);
    if (c.range.IsSet()) Select(c.range);
    const SelectRange before = view->m_sSelect;
    CMemory text;
    view->GetSelectionOrWord(&text);
    EXPECT_EQ(text.View(), c.expected);
    EXPECT_EQ(view->m_sSelect, before) << "the selection stays";
    if (!c.addLineEnd) {
      CMemory port;
      view->GetSelectedTextOrWord(&port, 259);
      EXPECT_EQ(port.View(), c.expected) << "the document's caption asks the same";
    }
  }
}

TEST_F(ClipboardViewTest, WordBeforeTheCaret) {
  struct Case {
    const char* name;
    std::string text;
    int wrap;
    int column;
    int line;
    std::string expected;
  };
  const Case cases[] = {
      {"the part typed so far", "foo barbaz\r\n", 0, 8, 0, "barb"},
      {"after a blank", "foo barbaz\r\n", 0, 4, 0, ""},
      {"after a tab", "foo\tbar\r\n", 0, 4, 0, ""},
      {"after a double-byte space", "あ　い"_sj, 0, 4, 0, ""},
      {"a kana run after kanji", "漢字かな"_sj, 0, 6, 0, "か"_sj},
      {"the first column of the text", "foo\r\n", 0, 0, 0, ""},
      {"the first column after a line end", "foo\r\nbar\r\n", 0, 0, 1, ""},
      {"across a wrap point", "abcdefghijklmn\r\n", 10, 0, 1, "abcdefghij"},
      {"past the end of the text", "ab cd", 0, 9, 0, "cd"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    type().nWrapColumn = c.wrap > 0 ? c.wrap : 200;
    type().nTabWidth = 4;
    SetText(c.text);
    view->m_nCaretPosX = c.column;
    view->m_nCaretPosY = c.line;
    CMemory word("stale", 5);
    EXPECT_EQ(view->GetWordBeforeCaret(&word), static_cast<int>(c.expected.size()));
    EXPECT_EQ(word.View(), c.expected);
  }
}

// ---- The clipboard -------------------------------------------------------------------------------

TEST_F(ClipboardViewTest, ANulSurvivesInsideTheEditorAndCutsThePlainText) {
  SetText("ab\0cd\r\nef"s);
  Select({0, 0, 1, 1});
  CMemory text;
  view->GetSelectedText(&text, false, nullptr, false, false, -1);
  ASSERT_EQ(text.View(), "ab\0cd\r\ne"s);
  ASSERT_TRUE(view->SetClipboardText(text.GetPtr(), text.GetLength(), false));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "ab") << "other programs get the text up to the NUL";
  bool box = true;
  EXPECT_EQ(Pasted(&box), "ab\0cd\r\ne"s);
  EXPECT_FALSE(box);
  EXPECT_TRUE(doc->CanPaste());
}

TEST_F(ClipboardViewTest, TheBoxMarkerGoesWithABoxCopyUntilAnotherProgramCopies) {
  ASSERT_TRUE(view->SetClipboardText("ab\r\ncd\r\n", 8, true));
  bool box = false;
  EXPECT_EQ(Pasted(&box), "ab\r\ncd\r\n");
  EXPECT_TRUE(box);
  EXPECT_EQ(Pasted(nullptr), "ab\r\ncd\r\n") << "the flag is optional";

  ASSERT_TRUE(view->SetClipboardText("plain", 5, false));
  EXPECT_EQ(Pasted(&box), "plain");
  EXPECT_FALSE(box) << "a normal copy replaces the marker";

  ASSERT_TRUE(view->SetClipboardText("ab\r\n", 4, true));
  QGuiApplication::clipboard()->setText("from elsewhere");
  EXPECT_EQ(Pasted(&box), "from elsewhere");
  EXPECT_FALSE(box);
}

TEST_F(ClipboardViewTest, PrivateBlocksAreBelievedOnlyAsFarAsTheyGo) {
  struct Case {
    const char* name;
    std::string block;
    std::string expected;
  };
  const Case cases[] = {
      {"exact", MakePrivateClipBlock("x\0y"s), "x\0y"s},
      {"length past its data", "\x64\0\0\0abc"s, "plain"},
      {"length near 4 GiB",
       "\xff\xff\xff\xff"
       "abc"s,
       "plain"},
      {"shorter than its length field", "\x01\0"s, "plain"},
      {"bytes after its length are not text", "\x02\0\0\0abcd"s, "ab"},
      {"empty", "\0\0\0\0"s, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Offer({{"text/plain", "plain"}, {PrivateType(), Bytes(c.block)}});
    EXPECT_EQ(Pasted(), c.expected);
  }
  // Without plain text a refused block leaves nothing to paste.
  Offer({{PrivateType(), Bytes("\x09\0\0\0x"s)}});
  CMemory text;
  EXPECT_FALSE(view->GetClipboardText(&text, nullptr));
}

TEST_F(ClipboardViewTest, OtherProgramsTextArrivesAsShiftJis) {
  struct Case {
    const char* name;
    QString text;
    std::string expected;
  };
  const Case cases[] = {
      {"kana and kanji", QString::fromUtf8("\xef\xbd\xb6\xe8\xa1\xa8"), "ｶ表"_sj},
      {"a character without a code",
       QString::fromUtf8("a\xf0\x9f\x98\x80"
                         "b"),
       "a〓b"_sj},
      {"up to the first NUL", QString::fromUtf8("ab\0cd", 5), "ab"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QGuiApplication::clipboard()->setText(c.text);
    bool box = true;
    EXPECT_EQ(Pasted(&box), c.expected);
    EXPECT_FALSE(box);
  }
}

TEST_F(ClipboardViewTest, NothingToPasteOrAClipboardHeldElsewhere) {
  CMemory text;
  EXPECT_FALSE(view->GetClipboardText(&text, nullptr)) << "empty clipboard";
  EXPECT_FALSE(doc->CanPaste());
  Offer({{PrivateType(), Bytes(MakePrivateClipBlock("only mine"))}});
  EXPECT_TRUE(doc->CanPaste()) << "the private type alone can be pasted";
  EXPECT_EQ(Pasted(), "only mine");

  int otherOwner = 0;
  ASSERT_TRUE(platform::OpenClipboard(reinterpret_cast<HWND>(&otherOwner)));
  EXPECT_FALSE(view->GetClipboardText(&text, nullptr));
  EXPECT_FALSE(view->SetClipboardText("new", 3, false));
  platform::CloseClipboard();
  EXPECT_EQ(Pasted(), "only mine") << "a refused copy changes nothing";
}

// ---- Conversions ---------------------------------------------------------------------------------

TEST_F(ClipboardViewTest, ConvertingANormalSelectionReplacesItAndUndoes) {
  type().nWrapColumn = 10;
  const std::string original = "ab漢字漢字漢字\r\nnext\r\n"_sj;
  SetText(original);
  ASSERT_EQ(doc->m_cLayoutMgr.GetLineCount(), 3);  // "ab漢字漢字" | "漢字" | "next"
  Select({0, 2, 1, 4});
  view->PlaceCursor(4, 1, false, 20);
  RunEdit([](CEditView& v) { v.ConvertSelection(kSjisToUtf8); });
  const std::string converted =
      "ab\xe6\xbc\xa2\xe5\xad\x97\xe6\xbc\xa2\xe5\xad\x97\xe6\xbc\xa2\xe5\xad\x97\r\nnext\r\n";
  EXPECT_EQ(DocBytes(), converted) << "the wrap point put no line end into the line";
  EXPECT_TRUE(doc->m_bIsModified);
  // The selection is the inserted text, the caret at its end (it was not on the first line).
  int endColumn = 0;
  int endLine = 0;
  doc->m_cLayoutMgr.DocToWrapPos(20, 0, &endColumn, &endLine);
  EXPECT_EQ(view->m_sSelect, (SelectRange{0, 2, endLine, endColumn}));
  EXPECT_EQ(view->m_nCaretPosX_PHY, 20);
  EXPECT_EQ(view->m_nCaretPosY_PHY, 0);

  Undo();
  EXPECT_EQ(DocBytes(), original);
  EXPECT_FALSE(doc->m_bIsModified);
  Redo();
  EXPECT_EQ(DocBytes(), converted);

  // With the caret on the selection's first line it goes to the start.
  SetText(original);
  Select({0, 2, 0, 6});
  view->PlaceCursor(2, 0, false, 20);
  RunEdit([](CEditView& v) { v.ConvertSelection(kSjisToUtf8); });
  EXPECT_EQ(view->m_nCaretPosX_PHY, 2);
  EXPECT_EQ(view->m_nCaretPosY_PHY, 0);
}

TEST_F(ClipboardViewTest, ConvertingABoxWorksRowByRowAndUndoes) {
  // A blank after each converted piece: no byte of it pairs with the next as one character.
  const std::string original = "ab漢字 d\r\nx\r\nef字 h\r\n"_sj;
  SetText(original);
  Select({0, 2, 2, 6}, true);
  RunEdit([](CEditView& v) { v.ConvertSelection(kSjisToUtf8); });
  EXPECT_EQ(DocBytes(), "ab\xe6\xbc\xa2\xe5\xad\x97 d\r\nx\r\nef\xe5\xad\x97 h\r\n");
  EXPECT_FALSE(view->IsTextSelected());
  EXPECT_EQ(view->Caret().x, 2);
  EXPECT_EQ(view->Caret().y, 0);
  EXPECT_EQ(StepCount(), 1);

  Undo();
  EXPECT_EQ(DocBytes(), original);
  EXPECT_FALSE(doc->m_bIsModified);
  Redo();
  EXPECT_EQ(DocBytes(), "ab\xe6\xbc\xa2\xe5\xad\x97 d\r\nx\r\nef\xe5\xad\x97 h\r\n");
}

TEST_F(ClipboardViewTest, AConversionThatChangesNothingLeavesTheDocumentAlone) {
  const std::string original = "Abc\r\nDef\r\n";
  struct Case {
    const char* name;
    int id;
    bool box;
  };
  const Case cases[] = {
      {"no full-width letters, normal", kToHanEi, false},
      {"no full-width letters, box", kToHanEi, true},
      {"an unknown id", 12345, false},
      {"ASCII through a code conversion", kSjisToUtf8, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetText(original);
    doc->SetModified(false, false);
    const int steps = StepCount();
    Select({0, 0, 1, 2}, c.box);
    RunEdit([&c](CEditView& v) { v.ConvertSelection(c.id); });
    EXPECT_EQ(DocBytes(), original);
    EXPECT_FALSE(doc->m_bIsModified);
    EXPECT_EQ(StepCount(), steps);
  }
}

TEST_F(ClipboardViewTest, ConvertTextCodeRows) {
  struct Case {
    const char* name;
    int id;
    std::string in;
    std::string out;
  };
  const Case cases[] = {
      {"Shift-JIS to UTF-8", 30862, "漢"_sj, "\xe6\xbc\xa2"},
      {"UTF-8 to Shift-JIS", 30854, "\xe6\xbc\xa2", "漢"_sj},
      {"UTF-16 to Shift-JIS", 30853, "\x22\x6f"s, "漢"_sj},
      {"UTF-16 big-endian to Shift-JIS", 30856, "\x6f\x22"s, "漢"_sj},
      {"EUC to Shift-JIS", 30852, "\xb4\xc1", "漢"_sj},
      {"Shift-JIS to EUC", 30861, "漢"_sj, "\xb4\xc1"},
      {"ToUpper", 30801, "abc", "ABC"},
      {"an unknown id", 1, "abc", "abc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CMemory text(c.in.data(), static_cast<int>(c.in.size()));
    view->ConvertText(&text, c.id);
    EXPECT_EQ(text.View(), c.out);
  }
}

}  // namespace
