// AVI films as the movie player opens them: by name, so the bytes go through a temporary file.
// The film is played on a simulated clock and sound card: frames at a few positions, a little
// sound, a seek, a stop.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/audio_mixer.h"
#include "platform/clock.h"
#include "sdk/sound/movie_avi.h"
#include "sdk/sound/movie_avi_audio.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = [] {
    platform::SetAudioManualRender(true);
    CMovieAVIAUDIO::SetIdleWaitMs(1);
    return true;
  }();
  (void)ready;
  static platform::ManualClock clock;

  char path[] = "/tmp/avi_movie_fuzz_XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return 0;
  const bool written = write(fd, data, size) == static_cast<ssize_t>(size);
  close(fd);
  if (written) {
    CMovieAVI movie;
    movie.Open(path);
    movie.Play();
    std::vector<int16_t> out(2 * 2048);
    for (int step = 0; step < 4; ++step) {
      clock.Advance(333);
      movie.GetDib();
      platform::RenderAudio(out);
    }
    movie.SetCurrentPos(100);
    movie.GetDib();
    movie.Stop();
    movie.Replay();
    movie.Close();
  }
  std::remove(path);
  return 0;
}
