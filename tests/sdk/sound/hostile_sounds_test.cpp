// Small sound files kept in the fuzzing corpus because they once hung the loader or cost gigabytes.
// Each is loaded in a child process, which must give the refusal within a few seconds and without
// its peak memory growing by more than a small bound.
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "bounded_run.h"
#include "fuzz_corpus.h"
#include "platform/audio_mixer.h"
#include "scoped_temp_dir.h"
#include "sdk/sound/mmio_file.h"
#include "sdk/sound/sound.h"
#include "tools/make_sounds/sound_writer.h"

namespace {

// Far below what any of these files asked for (gigabytes), far above what loading them takes.
constexpr int64_t kPeakBound = int64_t{32} << 20;

int SoundLoad(const std::string& path) {
  platform::SetAudioManualRender(true);
  CSound sound;
  return sound.Load(path);
}

struct Case {
  const char* target;
  const char* file;
  std::function<int(const std::string& path)> load;
  int refused;
};

const Case kCases[] = {
    // A RIFF size of 0xFFFFFFF8: the chunk walk wrapped back to its own start, for ever.
    {"wav_riff", "riff-size-wraps-the-chunk-walk",
     [](const std::string& p) { return int{kmMmioFile().Open(p.c_str())}; }, 0},
    {"wav_riff", "riff-size-wraps-the-chunk-walk", SoundLoad, 1},
};

TEST(HostileSounds, AreRefusedQuicklyWithoutAllocatingWhatTheyClaim) {
  ScopedTempDir dir;
  for (const Case& c : kCases) {
    const std::string what = std::string(c.target) + "/" + c.file;
    SCOPED_TRACE(what);
    const std::vector<uint8_t> bytes = FuzzCorpusBytes(c.target, c.file);
    ASSERT_FALSE(bytes.empty());
    const std::string path = dir.File("hostile.dat");
    ASSERT_TRUE(sound_writer::WriteFile(path, bytes));
    const BoundedRun run = RunBounded([&] {
      alarm(10);  // a hang ends the child, which then reports nothing
      return c.load(path);
    });
    ASSERT_TRUE(run.finished) << "hung or crashed";
    EXPECT_EQ(run.result, c.refused);
    EXPECT_LT(run.peakGrowthBytes, kPeakBound);
  }
}

}  // namespace
