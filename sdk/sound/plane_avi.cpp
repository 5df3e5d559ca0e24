#include "sdk/sound/plane_avi.h"

#include <algorithm>

#include "platform/sjis_literal.h"
#include "sdk/framework/error_log.h"
#include "sdk/graphics/dib_draw.h"
#include "sdk/sound/movie_avi.h"

using namespace platform;

FrameGeometry FrameDrawGeometry(int x, int y, int boxWidth, int boxHeight, int fw, int fh, bool stretch,
                                bool keepAspect, bool center) {
  FrameGeometry g;
  g.source = {0, 0, fw, fh};
  if (stretch) {
    int w = boxWidth, h = boxHeight;
    if (keepAspect && fh > 0 && fw > 0) {
      const double s = static_cast<double>(fw) / fh * boxHeight;
      if (s > boxWidth) {
        h = static_cast<int>(static_cast<int64_t>(fh) * boxWidth / fw);
      } else {
        w = static_cast<int>(s);
      }
    }
    const int dx = center ? (boxWidth - w) / 2 : 0, dy = center ? (boxHeight - h) / 2 : 0;
    g.x = x + dx;
    g.y = y + dy;
    g.stretched = true;
    g.width = w;
    g.height = h;
  } else if (fw <= boxWidth && fh <= boxHeight) {
    g.x = x + (center ? (boxWidth - fw) / 2 : 0);
    g.y = y + (center ? (boxHeight - fh) / 2 : 0);
  } else {
    g.x = x;
    g.y = y;
    g.source = {0, 0, std::min(fw, boxWidth), std::min(fh, boxHeight)};
  }
  return g;
}

CPlaneAVI::CPlaneAVI(CMovieAVI* owner) : m_clock(nullptr, false), m_owner(owner) {}

CPlaneAVI::~CPlaneAVI() { Close(); }

int CPlaneAVI::Open(AviFile* file) {
  if (file == nullptr) return -1;
  if (file->GetStream(streamtypeVIDEO, 0, m_stream) != AVIERR_OK) return -1;
  const int32_t start = m_stream->Start();
  m_frames = AviGetFrame::Open(*m_stream);
  const BITMAPINFOHEADER* first = m_frames ? m_frames->GetFrame(start) : nullptr;
  if (first == nullptr) return -1;
  m_frameWidth = first->biWidth;
  m_frameHeight = static_cast<int>(DibRows(first->biHeight));
  // The display-format plane fails where no surface object is registered (always, in the
  // game); the frame surface alone carries the pictures then.
  m_displayPlane.SetSystemMemory(true);
  m_displayPlane.Create(m_frameWidth, m_frameHeight, 0);
  m_frameSurface.GetImpl()->SetUseDIBSection(true);
  if (m_frameSurface.Create(m_frameWidth, m_frameHeight, 0) != 0) return -1;
  m_updateOn = 1;
  // Nothing is drawn yet, so the first frame is drawn at the first update.
  m_lastSample = -1;
  return 0;
}

int CPlaneAVI::Close() {
  Stop();
  if (m_owner) m_owner->DrawEnableFlag() = 0;
  m_playing = 0;
  m_frames.reset();
  m_stream.reset();
  return 0;
}

int CPlaneAVI::Play() {
  Stop();
  m_playing = 1;
  m_pauseCount = 0;
  return 0;
}

int CPlaneAVI::Stop() {
  if (!m_stream) return -1;
  if (NestedPause::Stop(m_pauseCount, m_playing)) m_playing = 0;
  return 0;
}

int CPlaneAVI::Replay() {
  if (!m_stream) return -1;
  if (NestedPause::Replay(m_pauseCount, m_playing)) RestartNow();
  return 0;
}

void CPlaneAVI::RestartNow() {
  Stop();
  m_pauseCount = 0;
  m_playing = 1;
}

int CPlaneAVI::UpdateFrame() {
  if (!m_updateOn || !m_stream || !m_frames) return 0;
  const int32_t sample = m_stream->TimeToSample(m_owner->GetCurrentPos());
  if (sample == m_lastSample) return 0;
  m_lastSample = sample;
  HDC dc = m_frameSurface.GetImpl()->GetDC();
  if (dc == nullptr) {
    ErrorLog::Out("CPlaneAVI: GetDC error");
    return 1;
  }
  DrawDibDraw(dc, 0, 0, m_frames->GetFrame(sample));
  return 0;
}

CMemPlane* CPlaneAVI::GetDib() {
  UpdateFrame();
  return &m_frameSurface;
}

CPlane* CPlaneAVI::GetPlane() {
  UpdateFrame();
  m_frameSurface.GetImpl()->BltToPlane(&m_displayPlane, 0, 0, nullptr, nullptr);
  return &m_displayPlane;
}

void CPlaneAVI::OnDrawDIB(CDIBDraw* display) {
  if (display == nullptr || !m_owner || !m_owner->DrawEnableFlag()) return;
  UpdateFrame();
  const FrameGeometry g = FrameDrawGeometry(GetX(), GetY(), m_drawWidth, m_drawHeight, m_frameWidth, m_frameHeight,
                                            m_stretch != 0, m_owner->KeepAspectFlag() != 0, m_owner->CenterFlag() != 0);
  const int size[2] = {g.width, g.height};
  display->BltFast(&m_frameSurface, g.x, g.y, &g.source, g.stretched ? size : nullptr, nullptr);
}
