#include "editor/view/search/grep_engine.h"

#include <gtest/gtest.h>

#include "platform/path.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"

namespace {

// Records what the walk tells and cancels when the given file is about to be searched.
class RecordingSink : public IGrepSink {
 public:
  void Append(std::string_view text) override { appends.emplace_back(text); }
  bool Cancelled() override { return cancelled; }
  bool RealTime() override { return realTime; }
  void ShowFolder(std::string_view) override {}
  void ShowFile(std::string_view text) override {
    if (text == cancelAt) cancelled = true;
    shown.emplace_back(text);
  }
  void ShowCount(int count) override { counts.push_back(count); }

  std::vector<std::string> appends;
  std::vector<std::string> shown;
  std::vector<int> counts;
  std::string cancelAt;
  bool cancelled = false;
  bool realTime = false;
};

class GrepEngineTest : public ::testing::Test {
 protected:
  GrepConditions Conditions(std::string_view key) {
    GrepConditions c;
    c.key = key;
    c.files = "*.txt";
    EXPECT_TRUE(platform::ExactPathFromHost(tree.path().string() + "/", c.folder));
    c.bSubFolder = true;
    c.bLoHiCase = true;
    return c;
  }
  std::string All() const {
    std::string all;
    for (const std::string& a : sink.appends) all += a;
    return all;
  }
  ScopedTempDir tree;
  RecordingSink sink;
};

TEST_F(GrepEngineTest, CancelAfterSomeFilesKeepsWhatWasFound) {
  for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt", "sub/e.txt"}) tree.Write(name, "key\r\n");
  sink.cancelAt = "c.txt";
  const GrepConditions c = Conditions("key");
  CGrepEngine engine(c, nullptr, sink);
  EXPECT_EQ(engine.GrepFolder(c.folder, 0), -1);
  // c.txt was shown when the cancel came, and the next check stopped the walk before d.txt.
  EXPECT_EQ(engine.Total(), 3);
  EXPECT_EQ(All(), c.folder + "a.txt(1,1): key\r\n" + c.folder + "b.txt(1,1): key\r\n" + c.folder +
                       "c.txt(1,1): key\r\n");
  EXPECT_EQ(std::count(sink.shown.begin(), sink.shown.end(), "d.txt"), 0);
  EXPECT_EQ(std::count(sink.shown.begin(), sink.shown.end(), "e.txt"), 0);
}

TEST_F(GrepEngineTest, FlushRules) {
  // Twelve files of one hit each.
  for (int i = 0; i < 12; ++i) tree.Write("f" + std::to_string(10 + i) + ".txt", "key\r\n");
  struct Case {
    const char* name;
    bool realTime;
    std::vector<size_t> hitsPerAppend;
  } cases[] = {
      // Without real-time display the buffer goes once more than nine hits wait, then at the end.
      {"batched", false, {10, 2}},
      // With it, every new hit goes at once while the total is below twenty.
      {"real time", true, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
  };
  for (const Case& t : cases) {
    sink = RecordingSink();
    sink.realTime = t.realTime;
    const GrepConditions c = Conditions("key");
    CGrepEngine engine(c, nullptr, sink);
    EXPECT_EQ(engine.GrepFolder(c.folder, 0), 0);
    std::vector<size_t> sizes;
    for (const std::string& a : sink.appends) sizes.push_back(static_cast<size_t>(std::count(a.begin(), a.end(), '\n')));
    EXPECT_EQ(sizes, t.hitsPerAppend) << t.name;
  }
}

TEST_F(GrepEngineTest, CountShownForTheFirstSixteenThenEverySixteenth) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "key\r\n";
  tree.Write("a.txt", text);
  const GrepConditions c = Conditions("key");
  CGrepEngine engine(c, nullptr, sink);
  engine.GrepFolder(c.folder, 0);
  std::vector<int> expected;
  for (int i = 1; i <= 16; ++i) expected.push_back(i);
  expected.push_back(32);
  EXPECT_EQ(sink.counts, expected);
}

TEST_F(GrepEngineTest, LargeFileOverSeveralBlocksCountsLinesAcrossThem) {
  // More than one read piece of the block search, with a CR LF pair falling on every boundary
  // somewhere in the text; the hit's line number must come out the same.
  std::string text;
  const std::string line = std::string(58, 'x') + "\r\n";
  const size_t lines = (size_t{17} << 20) / line.size() + 3;
  text.reserve(lines * line.size() + 32);
  for (size_t i = 0; i < lines; ++i) text += line;
  text += "the key\r\n";
  tree.Write("big.txt", text);
  for (const int code : {0, 99}) {
    sink = RecordingSink();
    GrepConditions c = Conditions("key");
    c.nCharSet = code;
    CGrepEngine engine(c, nullptr, sink);
    EXPECT_EQ(engine.GrepFolder(c.folder, 0), 0);
    const std::string label = code == 99 ? "  [SJIS]" : "";
    EXPECT_EQ(All(), c.folder + "big.txt(" + std::to_string(lines + 1) + ",5)" + label + ": the key\r\n") << code;
  }
}

}  // namespace
