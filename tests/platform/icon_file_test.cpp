#include "platform/icon_file.h"

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>
#include <string>

#include "platform/gui_app.h"
#include "platform/window_qt.h"
#include "png_fixture.h"
#include "scoped_temp_dir.h"

namespace {

using namespace platform;

using platform_test::Png;

void Put16(std::string& s, unsigned v) { s += static_cast<char>(v & 0xFF), s += static_cast<char>(v >> 8); }
void Put32(std::string& s, unsigned v) { Put16(s, v & 0xFFFF), Put16(s, v >> 16); }

// An icon file holding a picture of each size, stored as PNG.
std::string IconFile(const std::vector<std::pair<int, QColor>>& pictures) {
  std::string head, data;
  Put16(head, 0);
  Put16(head, 1);
  Put16(head, static_cast<unsigned>(pictures.size()));
  unsigned offset = 6 + 16 * static_cast<unsigned>(pictures.size());
  for (const auto& [size, colour] : pictures) {
    const std::string png = Png(size, colour);
    head += static_cast<char>(size & 0xFF);
    head += static_cast<char>(size & 0xFF);
    head += std::string(2, '\0');
    Put16(head, 1);
    Put16(head, 32);
    Put32(head, static_cast<unsigned>(png.size()));
    Put32(head, offset);
    offset += static_cast<unsigned>(png.size());
    data += png;
  }
  return head + data;
}

QRgb Centre(HICON icon) {
  const QImage image = IconImage(icon);
  return image.pixel(image.width() / 2, image.height() / 2) & 0xFFFFFF;
}

class IconFileTest : public testing::Test {
 protected:
  void SetUp() override { EnsureGuiApp(); }
  ScopedTempDir dir;
};

TEST_F(IconFileTest, ThePictureOfTheAskedSizeElseTheLargestScaled) {
  dir.Write("app.ico", IconFile({{16, Qt::red}, {48, Qt::blue}}));
  const std::string path = dir.File("app.ico");
  HICON small = LoadImage(nullptr, path.c_str(), IMAGE_ICON, 16, 16, LR_LOADFROMFILE | LR_SHARED);
  HICON big = LoadImage(nullptr, path.c_str(), IMAGE_ICON, 32, 32, LR_LOADFROMFILE | LR_SHARED);
  ASSERT_NE(small, nullptr);
  ASSERT_NE(big, nullptr);
  SIZE size;
  ASSERT_TRUE(GetIconSize(small, &size));
  EXPECT_EQ(size.cx, 16);
  EXPECT_EQ(size.cy, 16);
  EXPECT_EQ(Centre(small), 0xFF0000u);
  ASSERT_TRUE(GetIconSize(big, &size));
  EXPECT_EQ(size.cx, 32);
  EXPECT_EQ(Centre(big), 0x0000FFu);

  // Loaded once: the file may go, the handle stays.
  std::filesystem::remove(path);
  EXPECT_EQ(LoadImage(nullptr, path.c_str(), IMAGE_ICON, 16, 16, LR_LOADFROMFILE | LR_SHARED), small);
}

TEST_F(IconFileTest, AnyPictureFileServesAndMissingOrBrokenGivesNull) {
  dir.Write("plain.png", Png(20, Qt::green));
  dir.Write("broken.ico", "not an icon");
  EXPECT_NE(LoadImage(nullptr, dir.File("plain.png").c_str(), IMAGE_ICON, 16, 16, LR_LOADFROMFILE), nullptr);
  EXPECT_EQ(LoadImage(nullptr, dir.File("missing.ico").c_str(), IMAGE_ICON, 16, 16, LR_LOADFROMFILE), nullptr);
  EXPECT_EQ(LoadImage(nullptr, dir.File("broken.ico").c_str(), IMAGE_ICON, 16, 16, LR_LOADFROMFILE), nullptr);
  EXPECT_EQ(LoadImage(nullptr, dir.File("plain.png").c_str(), IMAGE_ICON + 1, 16, 16, LR_LOADFROMFILE), nullptr);
  EXPECT_EQ(LoadImage(nullptr, dir.File("plain.png").c_str(), IMAGE_ICON, 0, 16, LR_LOADFROMFILE), nullptr);
}

TEST_F(IconFileTest, WithoutTheFileFlagTheNameIsAResource) {
  const std::string png = Png(32, Qt::yellow);
  ASSERT_TRUE(RegisterIconResource("IconFileTestResource",
                                   std::span(reinterpret_cast<const uint8_t*>(png.data()), png.size())));
  EXPECT_EQ(LoadImage(nullptr, "IconFileTestResource", IMAGE_ICON, 32, 32, 0), LoadIcon(nullptr, "IconFileTestResource"));
  EXPECT_NE(LoadIcon(nullptr, "IconFileTestResource"), nullptr);
}

}  // namespace
