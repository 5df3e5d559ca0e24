// The video part of a movie: decodes the frame of the movie position into a 32-bit memory
// surface, and as a screen listener draws it onto the display before each presentation. The
// frame surface is made even when the display-format plane cannot be (the game registers no
// surface object), so films show their pictures.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/avi_file.h"
#include "platform/avi_frame.h"
#include "sdk/framework/ring_ptr.h"
#include "sdk/framework/timer.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/plane.h"
#include "sdk/graphics/screen_listener.h"

class CMovieAVI;

// Where a frame of fw x fh goes in a box of w x h at (x, y): the destination position, the
// source rectangle, and the destination size when it is stretched.
struct FrameGeometry {
  int x = 0, y = 0;
  RECT source{};
  bool stretched = false;
  int width = 0, height = 0;
};
FrameGeometry FrameDrawGeometry(int x, int y, int boxWidth, int boxHeight, int frameWidth, int frameHeight,
                                bool stretch, bool keepAspect, bool center);

class CPlaneAVI : public CScreenListener {
 public:
  explicit CPlaneAVI(CMovieAVI* owner);
  ~CPlaneAVI() override;

  void OnDrawDIB(CDIBDraw* display) override;

  // 0, or -1 (no file, no video stream, no decoder or first frame, no frame surface).
  int Open(platform::AviFile* file);
  virtual int Close();
  virtual int Play();
  virtual int Replay();
  virtual int Stop();
  virtual int Pause() { return Stop(); }
  virtual uint8_t IsPlay() { return m_playing; }
  virtual void SetDrawPosition(int x, int y) { SetPosition(x, y); }

  // 0 drawn or nothing to do; 1 the frame surface has no device context.
  int UpdateFrame();
  CMemPlane* GetDib();
  CPlane* GetPlane();

  void SetClock(const CRingPtr<CTimer>& clock) { m_clock = clock; }
  void SetDrawBox(int width, int height, uint8_t stretch) {
    m_drawWidth = width;
    m_drawHeight = height;
    m_stretch = stretch;
  }
  bool HasStream() const { return m_stream != nullptr; }
  const platform::AviStream* Stream() const { return m_stream.get(); }
  int FrameWidth() const { return m_frameWidth; }
  int FrameHeight() const { return m_frameHeight; }

 private:
  void RestartNow();

  CPlane m_displayPlane;
  CMemPlane m_frameSurface;
  CRingPtr<CTimer> m_clock;
  CMovieAVI* m_owner;
  std::unique_ptr<platform::AviStream> m_stream;
  std::unique_ptr<platform::AviGetFrame> m_frames;
  int32_t m_lastSample = -1;
  int32_t m_pauseCount = 0;
  uint8_t m_updateOn = 1;
  uint8_t m_playing = 0;
  int m_frameWidth = 0, m_frameHeight = 0;
  int m_drawWidth = 0, m_drawHeight = 0;
  uint8_t m_stretch = 0;
};
