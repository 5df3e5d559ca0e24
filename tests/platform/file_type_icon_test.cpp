// The icon of a file's type, from an icon theme the test makes.
#include "platform/file_type_icon.h"

#include <QColor>
#include <QIcon>
#include <QImage>
#include <gtest/gtest.h>
#include <string>

#include "platform/gui_app.h"
#include "platform/icon_file.h"
#include "platform/window_qt.h"
#include "scoped_temp_dir.h"

namespace {

// A theme of its own with one icon: text/x-csrc ("text-x-csrc") in red, 16 and 32 pixels.
class ThemeScope {
 public:
  explicit ThemeScope(const ScopedTempDir& folder)
      : m_paths(QIcon::themeSearchPaths()), m_fallback(QIcon::fallbackSearchPaths()), m_name(QIcon::themeName()) {
    folder.Write("vreltheme/index.theme",
                 "[Icon Theme]\nName=vreltheme\nDirectories=16x16/mimetypes,32x32/mimetypes\n\n"
                 "[16x16/mimetypes]\nSize=16\nContext=MimeTypes\nType=Fixed\n\n"
                 "[32x32/mimetypes]\nSize=32\nContext=MimeTypes\nType=Fixed\n");
    for (int size : {16, 32}) {
      QImage image(size, size, QImage::Format_ARGB32);
      image.fill(QColor(255, 0, 0));
      const std::string dir = folder.File("vreltheme/" + std::to_string(size) + "x" + std::to_string(size) + "/mimetypes");
      std::filesystem::create_directories(dir);
      image.save(QString::fromStdString(dir + "/text-x-csrc.png"));
    }
    QIcon::setThemeSearchPaths({QString::fromStdString(folder.path().string())});
    QIcon::setFallbackSearchPaths({});
    QIcon::setThemeName("vreltheme");
  }
  ~ThemeScope() {
    QIcon::setThemeSearchPaths(m_paths);
    QIcon::setFallbackSearchPaths(m_fallback);
    QIcon::setThemeName(m_name);
  }

 private:
  QStringList m_paths;
  QStringList m_fallback;
  QString m_name;
};

TEST(FileTypeIcon, TheThemesPictureOfTheTypeAtEachSize) {
  platform::EnsureGuiApp();
  ScopedTempDir folder;
  ThemeScope theme(folder);
  for (int size : {16, 32}) {
    SCOPED_TRACE(size);
    // The file need not exist: the name tells the type.
    const HICON icon = platform::FileTypeIcon("/nowhere/main.c", size);
    ASSERT_NE(icon, nullptr);
    SIZE got{};
    ASSERT_TRUE(platform::GetIconSize(icon, &got));
    EXPECT_EQ(got.cx, size);
    EXPECT_EQ(got.cy, size);
    EXPECT_EQ(platform::IconImage(icon).pixelColor(size / 2, size / 2), QColor(255, 0, 0));
    EXPECT_EQ(platform::FileTypeIcon("/elsewhere/other.c", size), icon);
  }
}

TEST(FileTypeIcon, NoIconWithoutATypeOrWithoutAPicture) {
  platform::EnsureGuiApp();
  ScopedTempDir folder;
  ThemeScope theme(folder);
  const struct {
    const char* name;
    std::string path;
  } cases[] = {
      {"no extension", "/p/notes"},
      {"unknown extension", "/p/data.zzqqx"},
      {"a type the theme has no picture of", "/p/image.png"},
      {"a path that does not decode", "/p/a\x81.c"},
      {"empty", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(platform::FileTypeIcon(c.path, 16), nullptr);
  }
  EXPECT_EQ(platform::FileTypeIcon("/p/main.c", 0), nullptr);
}

}  // namespace
