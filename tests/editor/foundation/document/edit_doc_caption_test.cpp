#include <cstring>
#include <ctime>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "caption_fakes.h"
#include "doc_fixture.h"
#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/sjis_char.h"
#include "platform/path.h"
#include "platform/sjis_literal.h"

namespace {

std::string Version() {
  const auto high = static_cast<uint32_t>(ProductVersionHigh());
  const auto low = static_cast<uint32_t>(ProductVersionLow());
  return std::to_string(high >> 16) + "." + std::to_string(high & 0xFFFF) + "." + std::to_string(low >> 16) + "." +
         std::to_string(low & 0xFFFF);
}

SYSTEMTIME LocalOf(std::time_t seconds) {
  std::tm t{};
  localtime_r(&seconds, &t);
  SYSTEMTIME s;
  s.wYear = static_cast<WORD>(t.tm_year + 1900);
  s.wMonth = static_cast<WORD>(t.tm_mon + 1);
  s.wDayOfWeek = static_cast<WORD>(t.tm_wday);
  s.wDay = static_cast<WORD>(t.tm_mday);
  s.wHour = static_cast<WORD>(t.tm_hour);
  s.wMinute = static_cast<WORD>(t.tm_min);
  s.wSecond = static_cast<WORD>(t.tm_sec);
  return s;
}

// Public: the cases of a table set the fixture up through lambdas.
// Public: the cases of a table set the fixture up through lambdas.
class CaptionTest : public DocFixture {
 public:
  CaptionTest() : DocFixture("CShareData-test-caption") {}
  void SetUp() override {
    DocFixture::SetUp();
    record->nNicknameCount = 1;
    std::strcpy(record->szNicknameFrom[0], "/p/src/");
    std::strcpy(record->szNicknameTo[0], "[src]/");
    std::strcpy(record->MacroSlots[2].File, "slot2.mac");
    std::strcpy(record->szMACROFOLDER, "/macros/");
    Connect();
  }
  using DocFixture::doc;
  using DocFixture::ports;
  using DocFixture::share;

  // A new document in a window with a frame and a pane, no macro and no preview.
  void Reset() {
    NewDocument();
    macros = FakeMacros();
    preview = FakePreview();
    withPreview = false;
    Connect();
  }
  void Connect() {
    ports.frame.window = SomeWindow();
    ports.panes[0].window = SomeWindow();
    DocPorts bound = ports.Ports();
    bound.macros = &macros;
    bound.preview = withPreview ? &preview : nullptr;
    doc->SetPorts(bound);
  }

  void SetPath(const char* path) { std::strcpy(doc->m_szFilePath, path); }
  FakeFrame& frame() { return ports.frame; }
  FakePane& pane() { return ports.panes[0]; }

  std::string Expand(const std::string& format, int size = 1024) {
    std::vector<char> out(static_cast<size_t>(size) + 1, '\x7F');
    doc->ExpandCaptionFormat(format.c_str(), out.data(), size);
    EXPECT_EQ(out[static_cast<size_t>(size)], '\x7F') << "written past its size";
    return out.data();
  }

  FakeMacros macros;
  FakePreview preview;
  bool withPreview = false;
};

TEST_F(CaptionTest, Codes) {
  const std::string untitled = "(無題)"_sj;
  const std::string neverSaved = "(保存されていません)"_sj;
  const std::string previewOnly = "(印刷プレビューでのみ使用できます)"_sj;
  std::string executable;
  ASSERT_TRUE(platform::ExactModuleFileName(executable));
  const int64_t lowBitsZero = int64_t{1} << 32;  // 4.29 s after 1970: a time, though its low word is 0
  char date[100], time[100];
  share.FormatDate(LocalOf(4), date, sizeof date);
  share.FormatTime(LocalOf(4), time, sizeof time);
  std::string fortyKeys(40, 'k');

  const struct {
    const char* name;
    std::string format;
    std::function<void(CaptionTest&)> setup;
    std::string expected;
  } cases[] = {
      {"a dollar", "a$$b", nullptr, "a$b"},
      {"an unknown code", "$q$Z", nullptr, "$q$Z"},
      {"a dollar before a kanji", "$表"_sj, nullptr, "$表"_sj},
      {"a dollar at the end", "ab$", nullptr, "ab$"},
      {"full path", "$F", [](CaptionTest& t) { t.SetPath("/p/src/main.c"); }, "/p/src/main.c"},
      {"slash form", "$/", [](CaptionTest& t) { t.SetPath("/p/a\\b.c"); }, "/p/a\\b.c"},
      {"name after the last slash", "$f", [](CaptionTest& t) { t.SetPath("/p/a\\b.c"); }, "a\\b.c"},
      {"name without extension", "$g", [](CaptionTest& t) { t.SetPath("/p/archive.tar.gz"); }, "archive.tar"},
      {"a dot file", "$g", [](CaptionTest& t) { t.SetPath("/home/.profile"); }, ".profile"},
      {"no extension", "$g", [](CaptionTest& t) { t.SetPath("/src/README"); }, "README"},
      {"dot in a folder", "$g", [](CaptionTest& t) { t.SetPath("/a.d/README"); }, "README"},
      {"nicknamed path", "$N", [](CaptionTest& t) { t.SetPath("/p/src/main.c"); }, "[src]/main.c"},
      {"untitled", "$F|$/|$f|$g|$N", nullptr,
       untitled + "|" + untitled + "|" + untitled + "|" + untitled + "|" + untitled},
      {"caret", "$x,$y", [](CaptionTest& t) { t.pane().caret = {4, 9}; }, "5,10"},
      {"word at the caret", "[$C]", [](CaptionTest& t) { t.pane().word = "word"; }, "[word]"},
      {"no pane", "[$C$x$y]", [](CaptionTest& t) { t.doc->SetPorts({}); }, "[]"},
      {"no file time", "$D $T", nullptr, neverSaved + " " + neverSaved},
      {"a file time whose low word is 0", "$D $T", [=](CaptionTest& t) { t.doc->m_nFileTime = lowBitsZero; },
       std::string(date) + " " + time},
      {"pages outside the preview", "$p/$P", nullptr, previewOnly + "/" + previewOnly},
      {"pages in the preview", "$p/$P",
       [](CaptionTest& t) {
         t.withPreview = true;
         t.preview.page = 3;
         t.preview.pages = 10;
         t.Connect();
       },
       "3/10"},
      {"version", "$V", nullptr, Version()},
      {"executable", "$S", nullptr, executable},
      {"grep key", "$h", [](CaptionTest& t) { t.doc->m_szGrepKey = "key"; }, "key"},
      {"long grep key", "$h", [=](CaptionTest& t) { t.doc->m_szGrepKey = fortyKeys; }, std::string(32, 'k') + "..."},
      {"no macro", "[$M]", nullptr, "[]"},
      {"temporary macro", "$M", [](CaptionTest& t) { t.macros.running = IDocMacros::kTemporary; }, "/macros/RecKey.mac"},
      {"macro slot", "$M", [](CaptionTest& t) { t.macros.running = 2; }, "/macros/slot2.mac"},
      {"macro slot without a file", "[$M]", [](CaptionTest& t) { t.macros.running = 3; }, "[]"},
      {"modified", "${U?(更新)$}"_sj, [](CaptionTest& t) { t.doc->m_bIsModified = true; }, "(更新)"_sj},
      {"unmodified", "${U?(更新)$}"_sj, nullptr, ""},
      {"read-only", "${R?A$:B$}", [](CaptionTest& t) { t.doc->m_bReadOnly = true; }, "A"},
      {"lock failed", "${R?A$:B$}", [](CaptionTest& t) { t.doc->m_nLockMode = CEditDoc::kLockExclusive; }, "B"},
      {"writable", "${R?A$:B$}z", nullptr, "z"},
      {"ordinary window", "${w?G$:O$:${I?$f$:$N$}$}", [](CaptionTest& t) { t.SetPath("/p/src/m.c"); }, "[src]/m.c"},
      {"minimised window", "${w?G$:O$:${I?$f$:$N$}$}",
       [](CaptionTest& t) {
         t.SetPath("/p/src/m.c");
         t.frame().minimized = true;
       },
       "m.c"},
      {"grep window", "${w?G$:O$:x$}", [](CaptionTest& t) { t.doc->m_bGrepWindow = true; }, "G"},
      {"output window", "${w?G$:O$:x$}", [](CaptionTest& t) { t.doc->m_bOutputWindow = true; }, "O"},
      {"recording here", "${M?rec$}", [](CaptionTest& t) { t.macros.recordingHere = true; }, "rec"},
      {"an unknown condition", "${Q?a$:b$}", nullptr, "a"},
      {"nested conditions", "${U?x${R?r$:l$}y$:n$}",
       [](CaptionTest& t) {
         t.doc->m_bIsModified = true;
         t.doc->m_bReadOnly = true;
       },
       "xry"},
      {"skipping a nested condition", "${U?x${R?r$:l$}y$:n$}.", nullptr, "n."},
      {"a condition without its end", "a${U?b", nullptr, "a"},
      {"a condition cut after its letter", "a${U", nullptr, "a"},
  };
  for (const auto& c : cases) {
    Reset();
    if (c.setup) c.setup(*this);
    EXPECT_EQ(Expand(c.format), c.expected) << c.name;
  }
}

TEST_F(CaptionTest, TheCurrentDateAndTime) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    char before[100], after[100];
    const std::time_t start = std::time(nullptr);
    share.FormatDate(LocalOf(start), before, sizeof before);
    const std::string date = Expand("$d");
    const std::string clock = Expand("$t");
    const std::time_t end = std::time(nullptr);
    share.FormatDate(LocalOf(end), after, sizeof after);
    if (start != end) continue;  // the second turned over: ask again
    char time[100];
    share.FormatTime(LocalOf(end), time, sizeof time);
    EXPECT_EQ(date, before);
    EXPECT_EQ(clock, time);
    return;
  }
  FAIL() << "the clock kept turning over";
}

// The grep key leaves room for its "..." when the output is nearly full.
TEST_F(CaptionTest, GrepKeyNearTheEnd) {
  doc->m_szGrepKey = "abcdefgh";
  EXPECT_EQ(Expand("$h", 7), "abc...");
  doc->m_szGrepKey = "表示表示"_sj;
  EXPECT_EQ(Expand("$h", 7), "表..."_sj);
  EXPECT_EQ(Expand("$h", 3), "..");
}

// Cut at every size, the output is the longest start of the whole expansion that ends on a whole
// character and fits.
TEST_F(CaptionTest, CutOnWholeCharactersAtEverySize) {
  SetPath("/p/日本語/ファイル名.txt"_sj);
  doc->m_bIsModified = true;
  const struct {
    const char* name;
    std::string format;
  } cases[] = {
      {"Japanese text and codes", "${U?(更新)$}表示$f - ${R?読取$:書込$}テスト$$$表"_sj},
      {"a lone lead byte before an insert", "a\x81$f\x81"},
  };
  for (const auto& c : cases) {
    const std::string whole = Expand(c.format, 4096);
    ASSERT_GT(whole.size(), 10u) << c.name;
    for (int size = 1; size <= static_cast<int>(whole.size()) + 2; ++size) {
      const std::string cut = Expand(c.format, size);
      const int expected = WholeCharsPrefixLength(whole.data(), static_cast<int>(whole.size()), size - 1);
      EXPECT_EQ(cut, whole.substr(0, static_cast<size_t>(expected))) << c.name << ", size " << size;
    }
  }
  char out[1] = {'x'};
  doc->ExpandCaptionFormat("abc", out, 1);
  EXPECT_EQ(out[0], '\0');
  doc->ExpandCaptionFormat(nullptr, out, 1);
  EXPECT_EQ(out[0], '\0');
}

TEST_F(CaptionTest, SkippingBranches) {
  const char* format = "a$:b${x?c$:d$}e$:f$}g";
  EXPECT_EQ(doc->SkipCaptionBranch(format, 0), format);
  EXPECT_STREQ(doc->SkipCaptionBranch(format, 1), "b${x?c$:d$}e$:f$}g");
  EXPECT_STREQ(doc->SkipCaptionBranch(format, 2), "f$}g");
  EXPECT_STREQ(doc->SkipCaptionBranch(format, 3), "g");
  EXPECT_STREQ(doc->SkipCaptionBranch("a$", 1), "");
  EXPECT_STREQ(doc->SkipCaptionBranch("\x81$:b", 1), "b");  // "$" is never a trail byte
}

// The captions of the default templates for the states a user sees most.
TEST_F(CaptionTest, DefaultCaptions) {
  const std::string v = Version();
  const struct {
    const char* name;
    std::function<void(CEditDoc&)> setup;
    bool inactive;
    std::string caption;
    std::string tab;
  } cases[] = {
      {"modified", [](CEditDoc& d) { d.m_bIsModified = true; }, false,
       "[src]/main.c(更新) - tovara "_sj + v + " ", "main.c(更新)"_sj},
      {"read-only", [](CEditDoc& d) { d.m_bReadOnly = true; }, false,
       "[src]/main.c - tovara "_sj + v + " (読みとり専用)"_sj, "main.c(読みとり専用)"_sj},
      {"lock failed", [](CEditDoc& d) { d.m_nLockMode = CEditDoc::kLockDenyWrite; }, false,
       "[src]/main.c - tovara "_sj + v + " （上書き禁止）"_sj, "main.c(上書き禁止)"_sj},
      {"inactive", [](CEditDoc& d) { d.m_bIsModified = true; }, true,
       "main.c(更新) - tovara "_sj + v + " ", "main.c(更新)"_sj},
      {"grep", [](CEditDoc& d) { d.m_bGrepWindow = true; d.m_szGrepKey = "needle"; }, false,
       "needle - tovara "_sj + v + " ", "【Grep】needle"_sj},
  };
  for (const auto& c : cases) {
    Reset();
    SetPath("/p/src/main.c");
    c.setup(*doc);
    doc->UpdateCaption(c.inactive);
    ASSERT_EQ(frame().captions.size(), 1u) << c.name;
    EXPECT_EQ(frame().captions[0], c.caption) << c.name;
    ASSERT_EQ(frame().listEntries.size(), 1u) << c.name;
    EXPECT_EQ(frame().listEntries[0].tabCaption, c.tab) << c.name;
    EXPECT_EQ(frame().listEntries[0].path, "/p/src/main.c") << c.name;
    EXPECT_EQ(frame().listEntries[0].grepWindow, doc->m_bGrepWindow) << c.name;
  }

  Reset();
  ports.panes[0].window = nullptr;  // no pane window yet: nothing changes
  doc->UpdateCaption(false);
  EXPECT_TRUE(frame().captions.empty());
  EXPECT_TRUE(frame().listEntries.empty());
}

// A template filling its whole field in the shared record is read within the field.
TEST_F(CaptionTest, TemplateFillsItsField) {
  std::memset(record->Common.szWinCaptionActive, 'a', sizeof record->Common.szWinCaptionActive);
  std::memset(record->Common.szWinCaptionInactive, 'i', sizeof record->Common.szWinCaptionInactive);
  doc->UpdateCaption(false);
  ASSERT_EQ(frame().captions.size(), 1u);
  EXPECT_EQ(frame().captions[0], std::string(256, 'a'));
}

}  // namespace
