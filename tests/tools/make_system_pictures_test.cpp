// Runs the built picture tools on the demo's configuration: every picture the game loads by a fixed
// name or through the configuration is drawn, at the size its place needs, and the configured
// buttons fit their window or screen without covering each other or the screens' fixed controls.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "scoped_temp_dir.h"

namespace {

const std::string kDemoConfig = std::string(VREL_TEST_DATA) + "/../../demo/game/vrel.xml";

int RunTool(const std::string& tool, const std::string& arguments) {
  const std::string path = std::string(VREL_BINARY_DIR) + "/tools/" + tool;
  EXPECT_TRUE(std::filesystem::exists(path)) << "build the " << tool << " tool first";
  const int status = std::system((path + " " + arguments + " >/dev/null 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Size {
  int width, height;
  bool operator==(const Size&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Size& s) { return out << s.width << " x " << s.height; }

// The size in a PNG file's header; none when the file is missing or is no PNG.
std::optional<Size> PngSize(const ScopedTempDir& dir, const std::string& name) {
  if (!dir.Exists(name)) return std::nullopt;
  const std::string bytes = dir.Read(name);
  if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || bytes.compare(12, 4, "IHDR") != 0)
    return std::nullopt;
  const auto be32 = [&](size_t at) {
    return static_cast<int>(static_cast<uint8_t>(bytes[at]) << 24 | static_cast<uint8_t>(bytes[at + 1]) << 16 |
                            static_cast<uint8_t>(bytes[at + 2]) << 8 | static_cast<uint8_t>(bytes[at + 3]));
  };
  return Size{be32(16), be32(20)};
}

struct Rect {
  int x, y, width, height;
  bool Overlaps(const Rect& o) const {
    return x < o.x + o.width && o.x < x + width && y < o.y + o.height && o.y < y + height;
  }
  bool Inside(int w, int h) const { return x >= 0 && y >= 0 && x + width <= w && y + height <= h; }
};

// A configured picture: its element, the file it names, and its place when it has one.
struct Named {
  std::string element, file;
  std::optional<Rect> place;  // size still 0 x 0
};

std::vector<Named> ConfiguredPictures(const std::string& config) {
  std::vector<Named> out;
  const std::regex element(R"re(<(\w+) file="cg\\([^"]+)"(?: x="(-?\d+)" y="(-?\d+)")?)re");
  for (std::sregex_iterator it(config.begin(), config.end(), element), end; it != end; ++it) {
    Named n{(*it)[1], (*it)[2], std::nullopt};
    if ((*it)[3].matched) n.place = Rect{std::stoi((*it)[3]), std::stoi((*it)[4]), 0, 0};
    out.push_back(n);
  }
  std::smatch prompt;
  if (std::regex_search(config, prompt, std::regex(R"re(<nextprompt>cg\\([^<]+)</nextprompt>)re")))
    out.push_back({"nextprompt", prompt[1], std::nullopt});
  return out;
}

class DemoPictures : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ifstream in(kDemoConfig, std::ios::binary);
    config.assign(std::istreambuf_iterator<char>(in), {});
    ASSERT_FALSE(config.empty()) << kDemoConfig;
    ASSERT_EQ(RunTool("make_pictures", dir.path().string()), 0);
    ASSERT_EQ(RunTool("make_system_pictures", kDemoConfig + " " + dir.path().string()), 0);
  }

  const Named& Find(const std::string& element) {
    for (const Named& n : pictures)
      if (n.element == element) return n;
    ADD_FAILURE() << "the configuration names no picture for " << element;
    static const Named none{};
    return none;
  }

  ScopedTempDir dir;
  std::string config;
  std::vector<Named> pictures;
};

TEST_F(DemoPictures, FixedNamesAreDrawnWithTheirCaseAndSize) {
  const struct {
    const char* name;
    Size size;
  } cases[] = {
      {"system_save.png", {160, 40}},      {"system_load.png", {160, 40}},     {"system_bar.png", {200, 16}},
      {"system_onover.png", {48, 24}},     {"system_onSelect.png", {48, 24}},  {"system_offOVer.png", {48, 24}},
      {"system_offSelect.png", {48, 24}},  {"system_right.png", {32, 32}},     {"system_left.png", {32, 32}},
      {"system_right_over.png", {32, 32}}, {"system_left_over.png", {32, 32}}, {"system_empty.png", {120, 90}}};
  for (const auto& c : cases) EXPECT_EQ(PngSize(dir, c.name), c.size) << c.name;
}

TEST_F(DemoPictures, EveryPictureTheConfigurationNamesIsDrawn) {
  pictures = ConfiguredPictures(config);
  ASSERT_GE(pictures.size(), 20u);
  for (const Named& n : pictures) EXPECT_TRUE(PngSize(dir, n.file)) << n.element << " names " << n.file;
  // The screens' backgrounds are files of their own, not the tabs' or the bar's fixed pictures.
  for (const char* element : {"save", "load", "background"}) {
    const Named& n = Find(element);
    EXPECT_EQ(PngSize(dir, n.file), (Size{800, 600})) << element;
    EXPECT_NE(n.file, "system_save.png");
    EXPECT_NE(n.file, "system_load.png");
    EXPECT_NE(n.file, "system_bar.png");
  }
  // A slot's picture holds the thumbnail and reaches under the caption, which stands 124 to the right.
  const std::optional<Size> slot = PngSize(dir, Find("nodata").file);
  ASSERT_TRUE(slot);
  EXPECT_GE(slot->width, 124);
  EXPECT_GE(slot->height, 90);
}

TEST_F(DemoPictures, ButtonsFitTheirPlaceAndLeaveTheFixedControlsFree) {
  pictures = ConfiguredPictures(config);
  const auto placed = [&](const std::string& element) {
    const Named& n = Find(element);
    const std::optional<Size> size = PngSize(dir, n.file);
    EXPECT_TRUE(size && n.place) << element;
    return size && n.place ? Rect{n.place->x, n.place->y, size->width, size->height} : Rect{-1, -1, 0, 0};
  };
  // The window's buttons stand relative to the window.
  const std::optional<Size> window = PngSize(dir, Find("window").file);
  ASSERT_TRUE(window);
  std::vector<Rect> row;
  for (const char* element : {"skip", "auto", "quicksave", "quickload", "backlog", "system"}) {
    const Rect r = placed(element);
    EXPECT_TRUE(r.Inside(window->width, window->height)) << element;
    for (const Rect& other : row) EXPECT_FALSE(r.Overlaps(other)) << element;
    row.push_back(r);
  }
  // The screens' buttons, against each other and the fixed places of the tabs, page arrows and
  // number, slots, switches and sliders.
  const std::optional<Size> slot = PngSize(dir, Find("nodata").file);
  ASSERT_TRUE(slot);
  std::vector<Rect> fixed = {
      {0, 0, 160, 40}, {640, 0, 160, 40}, {200, 36, 32, 32}, {570, 36, 32, 32}, {380, 40, 160, 16}};
  for (int i = 0; i < 6; ++i) fixed.push_back({106 + 334 * (i % 2), 91 + 119 * (i / 2), slot->width, slot->height});
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{267, 348},
                                                             {319, 348},
                                                             {267, 213},
                                                             {319, 213},
                                                             {267, 120},
                                                             {319, 120},
                                                             {597, 236},
                                                             {650, 236},
                                                             {597, 369},
                                                             {649, 369},
                                                             {595, 120},
                                                             {647, 120}})
    fixed.push_back({x, y, 48, 24});
  for (const auto& [x, y] :
       std::vector<std::pair<int, int>>{{165, 241}, {165, 148}, {496, 148}, {496, 264}, {496, 397}})
    fixed.push_back({x, y, 200, 16});
  std::vector<Rect> buttons;
  for (const char* element : {"backtogame", "backtotitle", "windowmode", "fullscreenmode", "quit"}) {
    const Rect r = placed(element);
    EXPECT_TRUE(r.Inside(800, 600)) << element;
    for (const Rect& other : buttons) EXPECT_FALSE(r.Overlaps(other)) << element;
    for (const Rect& f : fixed) EXPECT_FALSE(r.Overlaps(f)) << element << " covers a control at " << f.x << ", " << f.y;
    buttons.push_back(r);
  }
}

TEST(MakeSystemPictures, AConfigurationThatNamesTooLittleWritesNothing) {
  ScopedTempDir dir;
  dir.Write("vrel.xml", R"(<advsystem><save file="cg\s.png"/><load file="cg\l.png"/></advsystem>)");
  dir.Write("cg/keep.txt", "");
  EXPECT_NE(RunTool("make_system_pictures", dir.File("vrel.xml") + " " + dir.File("cg")), 0);
  EXPECT_EQ(dir.List("cg"), std::vector<std::string>{"keep.txt"});
  EXPECT_NE(RunTool("make_system_pictures", dir.File("missing.xml") + " " + dir.File("cg")), 0);
  EXPECT_EQ(dir.List("cg"), std::vector<std::string>{"keep.txt"});
}

}  // namespace
