#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>
#include <gtest/gtest.h>
#include <thread>

#include "child_copy.h"
#include "platform/gui_app.h"
#include "platform/sjis_literal.h"

namespace {

using namespace platform;

const std::string kJapanese = "日本語ｶﾅ"_sj;

class ClipboardTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApp();
    QGuiApplication::clipboard()->clear();
  }
  void TearDown() override { CloseClipboard(); }

  // Puts the data on the clipboard as the editor does: open, empty, set, close.
  static void Put(UINT format, std::string_view data) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_TRUE(EmptyClipboard());
    ASSERT_TRUE(SetClipboardData(format, data));
    ASSERT_TRUE(CloseClipboard());
  }
  static std::optional<std::string> Get(UINT format) {
    EXPECT_TRUE(OpenClipboard(nullptr));
    auto data = GetClipboardData(format);
    EXPECT_TRUE(CloseClipboard());
    return data;
  }
};

TEST_F(ClipboardTest, JapaneseTextCrossesTheBoundaryBothWays) {
  Put(CF_OEMTEXT, kJapanese + std::string("\0after the end", 14));
  // The desktop sees the characters, not the Shift-JIS bytes; what followed the NUL is not text.
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8(u8"日本語ｶﾅ"));
  EXPECT_EQ(Get(CF_OEMTEXT), kJapanese + '\0');
  EXPECT_EQ(Get(CF_TEXT), kJapanese + '\0');
  const char16_t utf16[] = u"日本語ｶﾅ";
  std::string utf16le;
  for (char16_t c : utf16) {  // the final NUL included
    utf16le.push_back(static_cast<char>(c & 0xFF));
    utf16le.push_back(static_cast<char>(c >> 8));
  }
  EXPECT_EQ(Get(CF_UNICODETEXT), utf16le);

  // Text that another program copied arrives as Shift-JIS; a character Shift-JIS lacks becomes "?".
  QGuiApplication::clipboard()->setText(QString::fromUtf8(u8"ｶﾅ表\U0001F600"));
  EXPECT_EQ(Get(CF_OEMTEXT), "ｶﾅ表?"_sj + std::string(1, '\0'));

  // And UTF-16 set here reaches the desktop as the same text.
  Put(CF_UNICODETEXT, utf16le);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8(u8"日本語ｶﾅ"));
}

TEST_F(ClipboardTest, ARegisteredFormatIsItsNumbersMimeTypeByteForByte) {
  const UINT box = RegisterClipboardFormat("MSDEVColumnSelect");
  const UINT clip = RegisterClipboardFormat("TOVARAClip");
  EXPECT_GE(box, 0xC000u);
  EXPECT_GE(clip, 0xC000u);
  EXPECT_NE(box, clip);
  EXPECT_EQ(RegisterClipboardFormat("msdevcolumnselect"), box);
  EXPECT_EQ(GetClipboardFormatName(box), "MSDEVColumnSelect");
  EXPECT_EQ(GetClipboardFormatName(CF_OEMTEXT), "");
  EXPECT_EQ(RegisterClipboardFormat(""), 0u);

  const std::string record("\x03\x00\x00\x00" "a\0b", 7);
  ASSERT_TRUE(OpenClipboard(nullptr));
  ASSERT_TRUE(EmptyClipboard());
  ASSERT_TRUE(SetClipboardData(CF_OEMTEXT, "a b"));
  ASSERT_TRUE(SetClipboardData(clip, record));
  ASSERT_TRUE(SetClipboardData(box, std::string(1, '\0')));
  ASSERT_TRUE(CloseClipboard());

  const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
  const QByteArray stored = mime->data(QString("application/x-tovara-%1").arg(clip));
  EXPECT_EQ(std::string(stored.constData(), stored.size()), record);
  EXPECT_EQ(Get(clip), record);
  EXPECT_TRUE(IsClipboardFormatAvailable(box));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_OEMTEXT));

  // Every format present, one after the other, as the box check walks them.
  ASSERT_TRUE(OpenClipboard(nullptr));
  std::vector<UINT> formats;
  for (UINT f = EnumClipboardFormats(0); f != 0; f = EnumClipboardFormats(f)) formats.push_back(f);
  ASSERT_TRUE(CloseClipboard());
  std::sort(formats.begin(), formats.end());
  std::vector<UINT> expected{CF_TEXT, CF_OEMTEXT, CF_UNICODETEXT, box, clip};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(formats, expected);
}

// Registers names in another order than the test below and reports their numbers.
TEST(ClipboardCopy, DISABLED_RegisterInAnotherOrder) {
  RegisterClipboardFormat("some other name");
  const UINT clip = RegisterClipboardFormat("TOVARAClip");
  const UINT box = RegisterClipboardFormat("MSDEVColumnSelect");
  dprintf(3, "%u %u\n", box, clip);
}

TEST_F(ClipboardTest, EveryProcessGivesANameTheSameNumber) {
  const UINT box = RegisterClipboardFormat("MSDEVColumnSelect");
  const UINT clip = RegisterClipboardFormat("TOVARAClip");
  ChildCopy copy("ClipboardCopy.DISABLED_RegisterInAnotherOrder", {});
  ASSERT_TRUE(copy.started());
  EXPECT_EQ(copy.ReadLine(), std::to_string(box) + " " + std::to_string(clip));
  EXPECT_EQ(copy.Wait(), 0);
}

TEST_F(ClipboardTest, EmptyingStartsAfreshAndSettingAloneAdds) {
  Put(CF_OEMTEXT, "first");
  const UINT clip = RegisterClipboardFormat("TOVARAClip");
  ASSERT_TRUE(OpenClipboard(nullptr));
  ASSERT_TRUE(SetClipboardData(clip, "x"));
  ASSERT_TRUE(CloseClipboard());
  EXPECT_EQ(Get(CF_OEMTEXT), std::string("first", 6));
  EXPECT_EQ(Get(clip), "x");

  ASSERT_TRUE(OpenClipboard(nullptr));
  ASSERT_TRUE(EmptyClipboard());
  ASSERT_TRUE(CloseClipboard());
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_OEMTEXT));
  EXPECT_FALSE(IsClipboardFormatAvailable(clip));
  EXPECT_EQ(Get(CF_OEMTEXT), std::nullopt);
}

TEST_F(ClipboardTest, OneOwnerAtATimeAndDataOnlyWhileOpen) {
  Put(CF_OEMTEXT, "text");
  auto* first = reinterpret_cast<HWND>(uintptr_t{0x10});
  auto* second = reinterpret_cast<HWND>(uintptr_t{0x20});
  ASSERT_TRUE(OpenClipboard(first));
  EXPECT_TRUE(OpenClipboard(first));
  EXPECT_FALSE(OpenClipboard(second));
  ASSERT_TRUE(CloseClipboard());
  EXPECT_FALSE(CloseClipboard());
  EXPECT_EQ(GetClipboardData(CF_OEMTEXT), std::nullopt);
  EXPECT_FALSE(EmptyClipboard());
  EXPECT_FALSE(SetClipboardData(CF_OEMTEXT, "y"));
  EXPECT_EQ(EnumClipboardFormats(0), 0u);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_OEMTEXT));
  // A format that is neither text nor registered is refused.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_FALSE(SetClipboardData(2, "bitmap"));
  EXPECT_EQ(GetClipboardData(2), std::nullopt);
}

TEST_F(ClipboardTest, OffTheGuiThreadTheClipboardCannotBeOpened) {
  BOOL opened = 1;
  std::thread([&] { opened = OpenClipboard(nullptr); }).join();
  EXPECT_EQ(opened, 0);
}

TEST_F(ClipboardTest, OwnershipLastsUntilAnotherCopyReplacesIt) {
  // The fixture cleared the clipboard as another program would.
  EXPECT_FALSE(OwnsClipboard());
  Put(CF_OEMTEXT, "mine");
  EXPECT_TRUE(OwnsClipboard());
  // Opening and closing without a change keeps what this process handed over.
  ASSERT_TRUE(OpenClipboard(nullptr));
  ASSERT_TRUE(CloseClipboard());
  EXPECT_TRUE(OwnsClipboard());
  // Another program's copy ends it.
  QGuiApplication::clipboard()->setText(QStringLiteral("theirs"));
  EXPECT_FALSE(OwnsClipboard());
  // Off the GUI thread nothing is known.
  Put(CF_OEMTEXT, "mine again");
  bool owns = true;
  std::thread([&] { owns = OwnsClipboard(); }).join();
  EXPECT_FALSE(owns);
}

TEST_F(ClipboardTest, ASnapshotPutBackIsTheSameContentsAndOwned) {
  const UINT box = RegisterClipboardFormat("MSDEVColumnSelect");
  const UINT clip = RegisterClipboardFormat("TOVARAClip");
  const std::string block = std::string("\x04\x00\x00\x00", 4) + "表\r\n"_sj;
  ASSERT_TRUE(OpenClipboard(nullptr));
  ASSERT_TRUE(EmptyClipboard());
  ASSERT_TRUE(SetClipboardData(CF_OEMTEXT, "表\r\n"_sj));
  ASSERT_TRUE(SetClipboardData(clip, block));
  ASSERT_TRUE(SetClipboardData(box, std::string(1, '\0')));
  ASSERT_TRUE(CloseClipboard());

  const ClipboardSnapshot snapshot = SnapshotClipboard();
  auto sorted = [](ClipboardSnapshot s) {
    std::sort(s.begin(), s.end(), [](const auto& a, const auto& b) { return a.mimeType < b.mimeType; });
    return s;
  };
  const ClipboardSnapshot expected{{RegisteredFormatMimeType(clip), block},
                                   {RegisteredFormatMimeType(box), std::string(1, '\0')},
                                   {"text/plain", "\xE8\xA1\xA8\r\n"}};
  EXPECT_EQ(sorted(snapshot), sorted(expected));

  QGuiApplication::clipboard()->setText(QStringLiteral("theirs"));
  ASSERT_FALSE(OwnsClipboard());
  ASSERT_TRUE(PutClipboardSnapshot(snapshot));
  EXPECT_TRUE(OwnsClipboard());
  EXPECT_EQ(sorted(SnapshotClipboard()), sorted(expected));
  // What the editor reads back is what it copied.
  EXPECT_EQ(Get(CF_OEMTEXT), "表\r\n"_sj + std::string(1, '\0'));
  EXPECT_EQ(Get(clip), block);
  EXPECT_EQ(Get(box), std::string(1, '\0'));

  // Nothing to put, or the clipboard open: refused, and the contents stay.
  EXPECT_FALSE(PutClipboardSnapshot({}));
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_FALSE(PutClipboardSnapshot({{"text/plain", "x"}}));
  ASSERT_TRUE(CloseClipboard());
  EXPECT_EQ(sorted(SnapshotClipboard()), sorted(expected));
}

}  // namespace
