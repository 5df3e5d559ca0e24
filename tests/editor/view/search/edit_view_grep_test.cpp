#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/types.h>

#include <functional>
#include <optional>

#include "editor/foundation/document/edit_doc.h"
#include "grep_tree_fixture.h"
#include "platform/dialog_test.h"
#include "platform/window.h"

namespace {

std::string Count(int n) { return std::to_string(n) + " 個が検索されました。\r\n"_sj; }

class GrepRunTest : public GrepTreeFixture {
 protected:
  struct HitsCase {
    const char* name;
    Options o;
    const char* key;
    std::vector<std::string> hits;  // in a.txt
  };
  // Each case runs into a new result document, which holds its hits and their count.
  void ExpectHitsInA(const std::vector<HitsCase>& cases) {
    for (const HitsCase& c : cases) {
      MakeDocumentAndPane();
      EXPECT_EQ(Run(c.key, "*.txt", c.o), static_cast<int>(c.hits.size())) << c.name;
      std::string expected;
      for (const std::string& h : c.hits) expected += Folder() + "a.txt" + h + "\r\n";
      EXPECT_EQ(Body(), expected + Count(static_cast<int>(c.hits.size()))) << c.name;
    }
  }
};

TEST_F(GrepRunTest, Style1ByteForByteAndTheParentsLinesAfterItsSubfolders) {
  Write("a.txt", "hello key\r\nno\r\nkey again key\r\n");
  Write("c.dat", "key\r\n");
  Write("sub/b.txt", "key\r\n");
  EXPECT_EQ(Run("key", "*.txt", {}), 3);
  const std::string f = Folder();
  const std::string header = "\r\n□検索条件  \"key\"\r\n検索対象   *.txt\r\nフォルダ   "_sj + f +
                             "\r\n    (サブフォルダも検索)\r\n    (英大文字小文字を区別する)\r\n"
                             "    (文字コードセット：SJIS)\r\n    (一致した行を出力)\r\n\r\n\r\n"_sj;
  // Few hits stay in their folder's buffer until the folder is done: the subfolder's come first.
  EXPECT_EQ(DocBytes(), header + f + "sub/b.txt(1,1): key\r\n" + f + "a.txt(1,7): hello key\r\n" + f +
                            "a.txt(3,1): key again key\r\n" + Count(3));
}

TEST_F(GrepRunTest, Style2ByteForByteWithDetectedCodes) {
  Write("a.txt", "hello key\r\nkey\r\n");
  Write("b.txt", "\xEF\xBB\xBFutf key\r\n");
  Write("none.txt", "nothing\r\n");
  Options o;
  o.style = 2;
  o.code = 99;
  o.outputLine = false;
  EXPECT_EQ(Run("key", "*.txt", o), 3);
  const std::string f = Folder();
  EXPECT_EQ(Body(), "■\""_sj + f + "a.txt\"  [SJIS]\r\n" + "・(     1,7    ): key\r\n"_sj +
                        "・(     2,1    ): key\r\n"_sj + "■\""_sj + f + "b.txt\"  [UTF-8]\r\n" +
                        "・(     1,5    ): key\r\n"_sj + Count(3));
}

TEST_F(GrepRunTest, EmptyKeyListsFilesAndCountsThem) {
  Write("a.txt", "x");
  Write("b.txt", "\xEF\xBB\xBFy");
  for (const int style : {1, 2}) {
    MakeDocumentAndPane();
    Options o;
    o.style = style;
    o.code = 99;
    EXPECT_EQ(Run("", "*.txt", o), 2);
    const std::string f = Folder();
    const std::string expected = style == 1 ? f + "a.txt  [SJIS]\r\n" + f + "b.txt  [UTF-8]\r\n"
                                            : "■\""_sj + f + "a.txt\"  [SJIS]\r\n" + "■\""_sj + f + "b.txt\"  [UTF-8]\r\n";
    EXPECT_EQ(Body(), expected + Count(2)) << style;
  }
}

TEST_F(GrepRunTest, PatternTable) {
  Write("main.c", "");
  Write("main.h", "");
  Write("test_io.c", "");
  Write("Makefile", "");
  Write("a.txt", "");
  Write("\xE6\xBC\xA2.c", "");  // a kanji name
  Write("sub/test_x.c", "");
  Write("sub/util.c", "");
  struct Case {
    const char* name;
    const char* files;
    std::vector<std::string> listed;
  } cases[] = {
      // The subfolder's lines come first: a folder's own stay in its buffer until it is done.
      {"exclusion in every folder", "*.c;*.h !test*.c", {"sub/util.c", "main.c", "漢.c"_sj, "main.h"}},
      {"a twice-given pattern searches once", "*.c *.c", {"sub/test_x.c", "sub/util.c", "main.c", "test_io.c", "漢.c"_sj}},
      {"star-dot-star takes names without a dot", "*.*",
       {"sub/test_x.c", "sub/util.c", "Makefile", "a.txt", "main.c", "main.h", "test_io.c", "漢.c"_sj}},
      {"letters without case", "*.TXT", {"a.txt"}},
      {"one question mark is one kanji", "?.c", {"漢.c"_sj}},
  };
  for (const Case& c : cases) {
    MakeDocumentAndPane();
    Run("", c.files, {});
    std::string expected;
    for (const std::string& name : c.listed) expected += Folder() + name + "\r\n";
    EXPECT_EQ(Body(), expected + Count(static_cast<int>(c.listed.size()))) << c.name;
  }
}

TEST_F(GrepRunTest, LongKanjiLineCutOnWholeCharacters) {
  std::string line = "a";
  for (int i = 0; i < 1500; ++i) line += "漢"_sj;
  Write("k.txt", line + "\r\n");
  for (const int style : {1, 2}) {
    for (const int code : {0, 99}) {
      MakeDocumentAndPane();
      Options o;
      o.style = style;
      o.code = code;
      EXPECT_EQ(Run("漢"_sj, "*.txt", o), 1);
      const std::string body = Body();
      const size_t colon = body.find(": ");
      ASSERT_NE(colon, std::string::npos);
      const size_t end = body.find("\r\n", colon);
      // The limit falls inside a kanji: the text stops one byte short of it, on a whole character.
      EXPECT_EQ(end - colon - 2, style == 1 ? 1999u : 2499u) << style << " " << code;
      EXPECT_EQ(body.substr(end - 2, 2), "漢"_sj) << style << " " << code;
    }
  }
}

TEST_F(GrepRunTest, UnreadableFileFifoAndUnspellableNameDoNotStopTheWalk) {
  Write("a.txt", "key\r\n");
  Write("b.txt", "key\r\n");
  chmod(tree.File("b.txt").c_str(), 0);
  ASSERT_EQ(mkfifo(tree.File("c.txt").c_str(), 0644), 0);
  Write("d\xF0\x9F\x98\x80.txt", "key\r\n");  // a character Shift-JIS lacks
  Write("e.txt", "key\r\n");
  for (const int code : {0, 99}) {
    MakeDocumentAndPane();
    Options o;
    o.code = code;
    EXPECT_EQ(Run("key", "*.txt", o), 2);
    const std::string f = Folder();
    const std::string label = code == 99 ? "  [SJIS]" : "";
    // Error lines go out at once, ahead of the hits still in the folder's buffer.
    EXPECT_EQ(Body(), "file open error [" + f + "b.txt]\r\n" + "file open error [" + f + "c.txt]\r\n" +
                          "file open error [" + f + "d〓.txt]\r\n"_sj + f + "a.txt(1,1)" + label + ": key\r\n" + f +
                          "e.txt(1,1)" + label + ": key\r\n" + Count(2))
        << code;
  }
}

TEST_F(GrepRunTest, SymbolicLinkLoopSearchedOnce) {
  Write("a.txt", "key\r\n");
  Write("sub/b.txt", "key\r\n");
  Link("sub/up", "..");
  Link("same", "sub");
  EXPECT_EQ(Run("key", "*.txt", {}), 2);
  const std::string f = Folder();
  // "same" leads to sub, entered before it in name order; sub is then not searched again.
  EXPECT_EQ(Body(), f + "same/b.txt(1,1): key\r\n" + f + "a.txt(1,1): key\r\n" + Count(2));
}

TEST_F(GrepRunTest, ModesOverTheLineReader) {
  Write("a.txt", "Foo foo\r\nfoobar\r\n");
  ExpectHitsInA({
      {"without case", {true, false, false, 0, true, false, 1}, "FOO", {"(1,1): Foo foo", "(2,1): foobar"}},
      {"whole word writes the line per word", {true, false, false, 0, true, true, 1}, "foo",
       {"(1,1): Foo foo", "(1,5): Foo foo"}},
      {"regular expression, matched text", {true, true, true, 99, false, false, 1}, "o+b",
       {"(2,2)  [SJIS]: oob"}},
  });
}

// A file's last line without a line end is searched as any other line: a key anchored at the
// line's end finds it.
TEST_F(GrepRunTest, LineEndAnchorFindsTheLastLineWithoutALineEnd) {
  Write("a.txt", "ab\r\ncb\r\n\r\nxb");
  ExpectHitsInA({
      {"output lines", {true, true, true, 0, true, false, 1}, "b$", {"(1,2): ab", "(2,2): cb", "(4,2): xb"}},
      {"matched text", {true, true, true, 0, false, false, 1}, "b$", {"(1,2): b", "(2,2): b", "(4,2): b"}},
      {"empty lines", {true, true, true, 0, true, false, 1}, "^$", {"(3,1): "}},
  });
}

TEST_F(GrepRunTest, ResultIsAGrepDocumentNeverModifiedAndOneUndoStep) {
  Write("a.txt", "key\r\n");
  doc->SetModified(true, false);
  EXPECT_EQ(Run("key", "*.txt", {}), 1);
  EXPECT_FALSE(doc->m_bIsModified);
  EXPECT_TRUE(doc->m_bGrepWindow);
  EXPECT_EQ(doc->m_szGrepKey, "key");
  EXPECT_EQ(doc->m_nGrepRunning, 0);
  EXPECT_EQ(doc->m_cUndoBuffer.GetCount(), 1);
  // The caret stands at the header's first line, where the run began.
  EXPECT_EQ(view->Caret().y, 0);
  // A second run appends to the same result.
  const std::string first = DocBytes();
  const int lines = doc->m_cLayoutMgr.GetLineCount();
  EXPECT_EQ(Run("key", "*.txt", {}), 1);
  EXPECT_EQ(DocBytes().substr(0, first.size()), first);
  EXPECT_EQ(view->Caret().y, lines);
  EXPECT_EQ(doc->m_cUndoBuffer.GetCount(), 2);
}

}  // namespace

// The run's progress dialog, as a person at it sees it and cancels it.
namespace dialog_run {

using namespace platform;
namespace dt = platform::dialog_test;

std::function<void()> queued;

LRESULT HelperProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER && queued) {
    auto action = std::move(queued);
    queued = nullptr;
    action();
    return 0;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

HWND MakeHelper() {
  static const bool registered = [] {
    WNDCLASSEX wc;
    wc.lpfnWndProc = HelperProc;
    wc.lpszClassName = "GrepRunHelper";
    return RegisterClassEx(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  return CreateWindowEx(0, "GrepRunHelper", "helper", WS_CAPTION, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
}

HWND FindCancelDialog() {
  for (const HWND d : dt::OpenDialogs())
    if (dt::TemplateOf(d) == "134" && IsWindowVisible(d)) return d;
  return nullptr;
}

TEST_F(GrepRunTest, CancelButtonOfTheProgressDialogStopsTheRun) {
  Write("a.txt", "key\r\n");
  Write("b.txt", "key\r\n");
  common().bGrepRealTime = 1;
  const HWND helper = MakeHelper();
  std::optional<dt::ControlState> count, file, realTime;
  bool clicked = false;
  // Runs at the run's first pump, before the first file is searched.
  queued = [&] {
    const HWND dialog = FindCancelDialog();
    ASSERT_NE(dialog, nullptr);
    count = dt::Query(dialog, 1124);
    file = dt::Query(dialog, 1310);
    realTime = dt::Query(dialog, 1477);
    clicked = dt::Click(dialog, IDCANCEL);
  };
  PostMessage(helper, WM_USER, 0, 0);
  EXPECT_EQ(Run("key", "*.txt", {}), 0);
  EXPECT_TRUE(clicked);
  ASSERT_TRUE(count && file && realTime);
  EXPECT_EQ(count->text, "0");
  EXPECT_EQ(file->text, " ");
  EXPECT_EQ(realTime->check, static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(Body(), "中断しました。\r\n"_sj + Count(0));
  EXPECT_EQ(FindCancelDialog(), nullptr);
  EXPECT_FALSE(doc->m_bIsModified);
  DestroyWindow(helper);
}

// A grep started while another one runs in the same document (the window answers during a run)
// leaves the document running until the outer run ends, so it cannot be closed under that run.
TEST_F(GrepRunTest, RunStartedDuringARunKeepsTheDocumentRunning) {
  Write("a.txt", "key\r\n");
  const HWND helper = MakeHelper();
  int innerHits = -1;
  int runningAfterInner = -1;
  queued = [&] {
    innerHits = Run("key", "*.txt", {});
    runningAfterInner = doc->m_nGrepRunning;
  };
  PostMessage(helper, WM_USER, 0, 0);
  EXPECT_EQ(Run("key", "*.txt", {}), 1);
  EXPECT_EQ(innerHits, 1);
  EXPECT_NE(runningAfterInner, 0);
  EXPECT_EQ(doc->m_nGrepRunning, 0);
  EXPECT_FALSE(doc->m_bIsModified);
  DestroyWindow(helper);
}

}  // namespace dialog_run
