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
#include "sdk/sound/movie_avi.h"
#include "sdk/sound/movie_avi_audio.h"
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

// 0 when the film's sound was refused; the film plays and is heard for a while either way.
int FilmPlay(const std::string& path) {
  platform::SetAudioManualRender(true);
  CMovieAVIAUDIO::SetIdleWaitMs(1);
  CMovieAVI movie;
  movie.Open(path.c_str());
  movie.Play();
  std::vector<int16_t> out(2 * 4096);
  for (int i = 0; i < 4; ++i) platform::RenderAudio(out);
  const bool buffer = movie.AudioPart() && movie.AudioPart()->HasBuffer();
  movie.Close();
  return buffer ? 1 : 0;
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
    // MPEG at a byte rate of 1 and blocks of 16384 bytes, with no frame: a 2.9 GB block.
    {"wav_riff", "mpeg-byte-rate-1-asks-for-gigabytes", SoundLoad, 1},
    {"avi_movie", "mpeg-byte-rate-1-asks-for-gigabytes", FilmPlay, 0},
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
