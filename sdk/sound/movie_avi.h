// An AVI film played as a sound with pictures: the video part decodes the frame of the movie
// position into a 32-bit memory surface, the audio part streams the sound track into a buffer
// of the shared device from a worker thread. Both follow one stopwatch; the movie position is
// that stopwatch plus an offset. A movie never ends by itself: it plays until stopped or closed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/avi_file.h"
#include "sdk/framework/ring_ptr.h"
#include "sdk/framework/timer.h"
#include "sdk/sound/sound_base.h"

class CPlane;
class CMemPlane;
class CPlaneAVI;
class CMovieAVIAUDIO;

// The nesting of stops and resumes that a movie and both of its parts share: the first stop of
// a playing object counts 1, later stops nest, and only the resume that brings the count back
// to 0 restarts it.
struct NestedPause {
  // True when the object must stop now.
  static bool Stop(int32_t& count, bool playing) {
    if (count > 0) {
      ++count;
    } else if (count < 0) {
      --count;
    }
    if (!playing) return false;
    count = 1;
    return true;
  }
  // True when the object must restart now.
  static bool Replay(int32_t& count, bool playing) {
    if (count == 0) return false;
    count += count > 0 ? -1 : 1;
    return count == 0 && !playing;
  }
};

class CMovieAVI : public CSoundBase {
 public:
  CMovieAVI();
  ~CMovieAVI() override;

  int32_t Open(const char* name) override;
  int32_t Close() override;
  int32_t Play() override;
  int32_t Replay() override;
  int32_t Stop() override;
  int32_t Pause() override;
  uint8_t IsPlay() override { return m_playing; }
  uint8_t IsLoop() override { return m_loop; }
  int32_t SetLoop(uint8_t loop) override;
  int32_t GetCurrentPos() override;
  int32_t SetCurrentPos(int32_t ms) override;
  int32_t GetLength() override { return m_length; }
  int32_t SetVolume(int32_t volume) override;
  int32_t GetVolume() override;

  virtual void SetDrawPosition(int x, int y);
  virtual uint8_t& DrawEnableFlag() { return m_drawEnabled; }
  // The display-format plane with the current frame; null without pictures.
  virtual CPlane* GetPlane();
  // The frame surface showing the frame of the movie position; null without pictures.
  virtual CMemPlane* GetDib();
  // A size of 0 or less keeps the stored one.
  virtual void SetDrawSize(int width, int height, uint8_t stretch);
  virtual uint8_t& KeepAspectFlag() { return m_keepAspect; }
  virtual uint8_t& CenterFlag() { return m_center; }
  virtual uint8_t HasAudio() { return m_hasAudio; }
  virtual uint8_t HasVideo() { return m_hasVideo; }

  const std::string& FileName() const { return m_fileName; }
  // The two parts, for tests that watch the sound worker or the frame decoding.
  CPlaneAVI* VideoPart() const { return m_video.get(); }
  CMovieAVIAUDIO* AudioPart() const { return m_audio.get(); }

 private:
  void StopNow();
  void RestartNow();

  std::unique_ptr<CPlaneAVI> m_video;
  std::unique_ptr<CMovieAVIAUDIO> m_audio;
  std::string m_fileName;
  CRingPtr<CTimer> m_clock;
  std::unique_ptr<platform::AviFile> m_file;
  platform::AviStreamHeader m_streamInfo;
  int32_t m_length = 0;
  int32_t m_savedPosition = 0;
  int32_t m_timeOffset = 0;
  int32_t m_pauseCount = 0;
  uint8_t m_keepAspect = 0;
  uint8_t m_center = 0;
  uint8_t m_hasVideo = 0;
  uint8_t m_hasAudio = 0;
  uint8_t m_loop = 0;
  uint8_t m_playing = 0;
  uint8_t m_drawEnabled = 1;
  int m_drawX = 0, m_drawY = 0;
  int m_drawWidth = 0, m_drawHeight = 0;
  uint8_t m_stretch = 0;
  int32_t m_volume = 0;
};
